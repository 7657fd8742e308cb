// Draws the credits pages and a text texture from hostile tables: the
// input fills the string list (script 8), the credits script (646) and the
// scripts its rows may name (647 to 650), each a slice of the input led by
// its 16-bit length, cut into rows of 12 bytes with the rest as its texts;
// two more bytes give the text texture's width. The script file itself is
// written with the system's writer (the file reader has its own fuzzer).

#include "app/objects/RU3DTextureCollectionFromCreditsScript.h"
#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPLScript.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm/resources/MMScriptFile.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kFileName[] = "vplres-fuzz-credits.mms";
constexpr int16_t kRowSize = 12;
constexpr int16_t kEntryCount = 651;
constexpr int16_t kFilledEntries[] = {8, 646, 647, 648, 649, 650};
constexpr int32_t kSide = 256;

class Input {
 public:
  Input(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  std::vector<uint8_t> Slice() {
    const size_t length = std::min<size_t>(Take16(), mSize - mAt);
    std::vector<uint8_t> slice(mData + mAt, mData + mAt + length);
    mAt += length;
    return slice;
  }
  uint16_t Take16() {
    if (mSize - mAt < 2) return 0;
    const auto value = static_cast<uint16_t>(mData[mAt] | mData[mAt + 1] << 8);
    mAt += 2;
    return value;
  }

 private:
  const uint8_t* mData;
  size_t mSize;
  size_t mAt = 0;
};

bool WriteEntry(MMScriptFile& file, int16_t i, const std::vector<uint8_t>& bytes) {
  const auto rows = static_cast<int16_t>(bytes.size() / kRowSize);
  int32_t position = 0;
  file.GetFile().Seek(0, kUUSeekFromEnd, &position);
  return file.SetEntryRowCount(i, rows) && file.SetEntryLayout(i, 0) &&
         file.SetSubfileOffset(i, position) &&
         file.GetFile().Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

bool WriteScripts(const UUDirectory& directory, Input& input) {
  MMScriptFile file;
  if (!file.Create(directory, kFileName, UUFileOptions(), kEntryCount, 0)) return false;
  file.SetLanguage(-1);
  file.SetCodePage(1252);
  file.SetLayoutCount(1);
  file.SetLayoutRowSize(0, kRowSize);
  file.InitLayoutNames(8);
  file.SetLayoutName(0, "rows");
  file.InitEntryNames(0);
  for (int16_t i = 0; i < kEntryCount; ++i) {
    std::vector<uint8_t> bytes;
    for (int16_t filled : kFilledEntries) {
      if (filled == i) bytes = input.Slice();
    }
    if (!WriteEntry(file, i, bytes)) return false;
  }
  file.RecordEndOffset();
  return file.Close(true);
}

void DrawEverything(Input& input) {
  RU3DTextureCollectionFromCreditsScript pages(3);
  for (int16_t page = 0; page < 3; ++page) {
    MM3DDriverTextureImage image;
    pages.LoadImage(MMItemOf(pages.AddEntry(UURect(0, 0, kSide, kSide), page)), image);
  }
  const VPLScript strings(8, kVPLStringList);
  RU3DTextureCollectionFromString texts(2);
  const int32_t width = input.Take16() % (2 * kSide) + 1;
  const RU3DTextStyle style{
      std::make_shared<MMSystemFont>(strings.GetTagString(45), 24, 400, false, false), AFColor(), 1,
      1};
  const MMResourceId id = texts.AddText(UURect(0, 0, width, kSide), strings.GetTagString(24),
                                        UUPoint{width / 2, kSide / 2}, style);
  MM3DDriverTextureImage image;
  texts.LoadImage(MMItemOf(id), image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  UUDirectory directory;
  UUGetTempDirectory(directory);
  if (!WriteScripts(directory, input)) return 0;
  std::unique_ptr<MMScriptLoader> loader(MMOpenScriptFile(directory, kFileName));
  if (loader) DrawEverything(input);
  return 0;
}
