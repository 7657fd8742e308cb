// The resource system's costs: opening a container of a thousand named
// subfiles and finding names in it, drawing an 800 x 600 run-length
// encoded picture, and loading and reading all rows of a large script
// table.

#include "foundation/af/AFError.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/MMBlitRequest.h"
#include "mm/resources/MMEncodedImage.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"
#include "mm/resources/MMScriptCollection.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class SoundFile : public MMResourceFileWithNamedSubfiles {
 public:
  SoundFile() : MMResourceFileWithNamedSubfiles(MME_SOUND_RESOURCE_FILE_NOT_FOUND) {}
  const char* GetKindCode() const override { return "MMA"; }
  const char* GetTag() const override { return "DAZE Sounds"; }
};

constexpr int16_t kSubfiles = 1000;

UUDirectory TempDirectory() {
  UUDirectory directory;
  UUGetTempDirectory(directory);
  return directory;
}

void WriteContainer(const char* name) {
  SoundFile file;
  file.Create(TempDirectory(), name, UUFileOptions(), kSubfiles, 1);
  const uint8_t bytes[64] = {};
  for (int16_t i = 0; i < kSubfiles; ++i) {
    int32_t position = 0;
    file.GetFile().Seek(0, kUUSeekFromEnd, &position);
    file.SetSubfileOffset(i, position);
    file.GetFile().Write(bytes, sizeof bytes);
    file.SetSubfileName(i, ("subfile" + std::to_string(i)).c_str());
  }
  file.RecordEndOffset();
  file.Close(true);
}

void BM_OpenContainerAndFindNames(benchmark::State& state) {
  const char* name = "vplres-bench-container";
  WriteContainer(name);
  const bool verify = state.range(0) != 0;
  for (auto _ : state) {
    SoundFile file;
    file.Open(TempDirectory(), name, true, verify);
    int32_t found = 0;
    for (int i = 0; i < kSubfiles; i += 10) {
      const std::string wanted = "subfile" + std::to_string(i);
      for (int32_t j = 0; j < file.GetSubfileCount(); ++j) {
        if (std::strcmp(file.GetSubfileName(j), wanted.c_str()) == 0) {
          found += file.GetSubfileSize(j);
          break;
        }
      }
    }
    benchmark::DoNotOptimize(found);
    file.Close(false);
  }
  UUDeleteFile(TempDirectory(), name);
}
BENCHMARK(BM_OpenContainerAndFindNames)->Arg(0)->Arg(1)->ArgNames({"verify"});

class CopyRequest : public MMBlitRequest {
 public:
  bool Execute() override { return true; }
};

void CopySpan(const uint8_t* source, uint8_t* target, const MMBlitRequest& request) {
  std::memcpy(target, source, static_cast<size_t>(request.mWidth) * 4);
}

// An 800 x 600 drawing of a 32-bit picture whose rows alternate 40-pixel
// opaque and transparent runs. A whole 800 x 600 picture of that kind would
// not fit a 65535-byte block, so 20 rows are stretched down to 600.
void BM_DrawEncodedPicture800x600(benchmark::State& state) {
  constexpr int32_t kWidth = 800;
  constexpr int32_t kHeight = 600;
  constexpr int32_t kRows = 20;
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kRows);
  for (int32_t y = 0; y < kRows; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      pixels[static_cast<size_t>(y * kWidth + x)] =
          ((x + y) / 40) % 2 == 0 ? 0xFF000000u : 0x00336699u;
    }
  }
  MMBitmap source;
  source.mBitsPerPixel = 32;
  source.mBytesPerPixel = 4;
  source.mFormat = kMMFormat32;
  source.mSubFormat = kMMSubFormatKeyed;
  source.mRect = UURect(0, 0, kWidth, kRows);
  source.mPitch = kWidth * 4;
  source.mPixels = reinterpret_cast<uint8_t*>(pixels.data());
  std::vector<uint8_t> block(65535);
  MMEncodedImage image;
  image.Encode(source, block.data(), 65535);
  std::vector<uint32_t> target(static_cast<size_t>(kWidth) * kHeight);
  CopyRequest request;
  request.mSource = &image;
  request.mDestination = source;
  request.mDestination.mRect = UURect(0, 0, kWidth, kHeight);
  request.mDestination.mPixels = reinterpret_cast<uint8_t*>(target.data());
  request.mXStep = 0x10000;
  request.mYStep = 0x10000 * kRows / kHeight;  // the 20 rows stretched down to 600
  request.mWidth = kWidth;
  for (auto _ : state) {
    image.WalkRows(request, CopySpan);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_DrawEncodedPicture800x600);

constexpr int16_t kScriptRows = 30000;
constexpr int16_t kScriptRowSize = 12;

// One script of 30000 rows {int16 kind, int16 value, int32 text offset,
// float} whose texts are Macintosh texts of 20 characters, one per row.
void WriteLargeScript(const char* name) {
  std::vector<uint8_t> rows;
  std::string texts;
  for (int32_t r = 0; r < kScriptRows; ++r) {
    const auto offset = static_cast<uint32_t>(texts.size());
    const float real = static_cast<float>(r) / 4;
    uint8_t row[kScriptRowSize] = {static_cast<uint8_t>(r % 7), 0, static_cast<uint8_t>(r),
                                   static_cast<uint8_t>(r >> 8)};
    std::memcpy(row + 4, &offset, 4);
    std::memcpy(row + 8, &real, 4);
    rows.insert(rows.end(), row, row + kScriptRowSize);
    texts += "Caf\x8E number " + std::to_string(100000 + r);
    texts += '\0';
  }
  MMScriptFile file;
  file.Create(TempDirectory(), name, UUFileOptions(), 1, 6);
  file.SetLanguage(0);
  file.SetCodePage(1252);
  file.SetLayoutCount(1);
  file.SetLayoutRowSize(0, kScriptRowSize);
  file.SetEntryRowCount(0, kScriptRows);
  file.SetEntryLayout(0, 0);
  int32_t position = 0;
  file.GetFile().Seek(0, kUUSeekFromEnd, &position);
  file.SetSubfileOffset(0, position);
  file.GetFile().Write(rows.data(), static_cast<uint32_t>(rows.size()));
  file.GetFile().Write(texts.data(), static_cast<uint32_t>(texts.size()));
  file.RecordEndOffset();
  file.Close(true);
}

// Each iteration loads the table (its texts converted from Mac Roman) and
// reads every field of every row.
void BM_ReadAllRowsOfALargeScript(benchmark::State& state) {
  const char* name = "vplres-bench-scripts";
  WriteLargeScript(name);
  MMScriptLoader* loader = MMOpenScriptFile(TempDirectory(), name);
  const MMResourceId id = MMMakeScriptId(loader, 0);
  for (auto _ : state) {
    const MMScript script(id);
    int64_t sum = 0;
    for (int32_t r = 0; r < script.GetRowCount(); ++r) {
      sum += script.GetInt16(r, 0) + script.GetInt16(r, 2) + script.GetString(r, 4)[3];
      sum += static_cast<int64_t>(script.GetFloat(r, 8));
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kScriptRows);
  delete loader;
  UUDeleteFile(TempDirectory(), name);
}
BENCHMARK(BM_ReadAllRowsOfALargeScript);

}  // namespace
