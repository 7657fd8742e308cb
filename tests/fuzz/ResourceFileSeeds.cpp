// Writes the fuzzer's seed corpus with the system's own writers: a picture
// file holding a plain, a packed and an encoded picture, and a script file
// of two scripts with Macintosh texts; then adds the program's six data
// files as the build made them (VPL_DATA_DIR, else the build's own).

#include "foundation/uu/UUDirectory.h"
#include "mm/resources/MMEncodedImage.h"
#include "mm/resources/MMPictureResourceFile.h"
#include "mm/resources/MMScriptFile.h"
#include "platform/win32/PathMapping.h"

#include <lzo/lzo1x.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Pack(const std::vector<uint8_t>& data) {
  std::vector<uint8_t> out(data.size() + data.size() / 16 + 67);
  std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
  lzo_uint size = 0;
  lzo1x_1_compress(data.data(), data.size(), out.data(), &size, work.data());
  out.resize(size);
  return out;
}

std::vector<uint8_t> Encoded() {
  std::vector<uint8_t> pixels = {0, 0, 0, 255, 1, 2, 3, 0, 9, 9, 9, 0, 0, 0, 0, 255};
  MMBitmap bitmap;
  bitmap.mBitsPerPixel = 32;
  bitmap.mBytesPerPixel = 4;
  bitmap.mFormat = kMMFormat32;
  bitmap.mSubFormat = kMMSubFormatKeyed;
  bitmap.mRect = UURect(0, 0, 2, 2);
  bitmap.mPitch = 8;
  bitmap.mPixels = pixels.data();
  std::vector<uint8_t> block(256);
  MMEncodedImage image;
  block.resize(static_cast<size_t>(image.Encode(bitmap, block.data(), 256)));
  return block;
}

bool WritePictures(const UUDirectory& directory) {
  std::vector<uint8_t> plain(1024 + 4 * 3, 0);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 13);
  const std::vector<std::vector<uint8_t>> stored = {plain, Pack(plain), Encoded()};
  MMPictureResourceFile file;
  if (!file.Create(directory, "pictures.mmp", UUFileOptions(), 3, 1)) return false;
  file.SetSharedPaletteCount(1);
  for (int16_t i = 0; i < 3; ++i) {
    file.SetEightBit(i, i < 2);
    file.SetEncoded(i, i == 2);
    file.SetSubFormat(i, 1);
    file.SetSize(i, i < 2 ? 3 : 2, i < 2 ? 4 : 2);
    file.SetPaletteSelector(i, i == 0 ? 1 : (i == 1 ? 2 : 0), 0);
    file.SetUnpackedSize(i, i == 1 ? static_cast<int32_t>(plain.size()) : 0);
    file.SetSubfileName(i, ("picture" + std::to_string(i)).c_str());
  }
  file.RewriteHeader();
  for (int16_t i = 0; i < 3; ++i) {
    int32_t position = 0;
    file.GetFile().Seek(0, kUUSeekFromEnd, &position);
    file.SetSubfileOffset(i, position);
    file.GetFile().Write(stored[static_cast<size_t>(i)].data(),
                         static_cast<uint32_t>(stored[static_cast<size_t>(i)].size()));
  }
  file.RecordEndOffset();
  return file.Close(true);
}

// Rows of 8 bytes: int16 kind, int16 relative script id, int32 text
// offset; the texts follow.
bool WriteScripts(const UUDirectory& directory) {
  const uint8_t rows[] = {1, 0, 2, 0, 0, 0, 0, 0, 2, 0, 0xFF, 0xFF, 6, 0, 0, 0};
  const char texts[] = "Hello\0Caf\x8E";
  MMScriptFile file;
  if (!file.Create(directory, "scripts.mms", UUFileOptions(), 2, 2)) return false;
  file.SetLanguage(0);
  file.SetCodePage(1252);
  file.SetLayoutCount(1);
  file.SetLayoutRowSize(0, 8);
  file.InitLayoutNames(8);
  file.SetLayoutName(0, "rows");
  file.InitEntryNames(16);
  for (int16_t i = 0; i < 2; ++i) {
    file.SetEntryName(i, i == 0 ? "first" : "second");
    file.SetEntryRowCount(i, 2);
    file.SetEntryLayout(i, 0);
    int32_t position = 0;
    file.GetFile().Seek(0, kUUSeekFromEnd, &position);
    file.SetSubfileOffset(i, position);
    file.GetFile().Write(rows, sizeof rows);
    file.GetFile().Write(texts, sizeof texts);
  }
  file.RecordEndOffset();
  return file.Close(true);
}

constexpr const char* kDataFiles[] = {"Hd.mms",    "vpl3d.MMP", "vpl3d.MMA",
                                      "vpl3d.MMF", "vpl3d.MMX", "vpl3d.MMM"};

bool CopyDataFiles(const char* corpus) {
  const char* fromEnvironment = std::getenv("VPL_DATA_DIR");
  const std::filesystem::path data = fromEnvironment != nullptr && *fromEnvironment != '\0'
                                         ? fromEnvironment
                                         : VPL_DEFAULT_DATA_DIR;
  const std::filesystem::path to = vpl::platform::ToHostPath(corpus);
  std::error_code error;
  for (const char* name : kDataFiles) {
    std::filesystem::copy_file(data / name, to / name,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
      std::fprintf(stderr, "%s: %s\n", (data / name).c_str(), error.message().c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  lzo_init();
  const UUDirectory directory(arguments[1]);
  return WritePictures(directory) && WriteScripts(directory) && CopyDataFiles(arguments[1]) ? 0 : 1;
}
