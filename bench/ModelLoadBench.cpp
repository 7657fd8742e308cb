// Loading every model of the built vpl3d.MMM through the model collection
// (MM3DGetModel with a driver-texture map, as the program loads them),
// against the floor of reading the same subfiles' bytes plainly, and
// Pomble (174, skinned and blended) alone the same way; the goal is a
// ratio of at most 2.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "platform/win32/PathMapping.h"

#include <benchmark/benchmark.h>

#include "bench/RatioOverFloor.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

std::filesystem::path DataDirectory() {
  const char* fromEnvironment = std::getenv("VPL_DATA_DIR");
  return fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment
                                                                : VPL_DEFAULT_DATA_DIR;
}

class ModelFile {
 public:
  ModelFile()
      : mDirectory(
            vpl::platform::ToWindowsPath(std::filesystem::absolute(DataDirectory())).c_str()),
        mLoader(MM3DOpenModelResourceFile(mDirectory, "vpl3d.MMM", false)) {}
  ~ModelFile() { MM3DDestroyModelCollections(); }

  bool IsOpen() const { return mLoader != nullptr; }
  int16_t GetCount() const { return mLoader->GetSubfileCount(); }

  // The subfiles' bytes from first to before end, read plainly.
  void ReadBytes(int16_t first, int16_t end) {
    MM3DModelResourceFile& file = mLoader->GetFile();
    for (int16_t i = first; i < end; ++i) {
      int32_t offset = 0, size = 0;
      if (!file.GetSubfileRange(i, &offset, &size)) continue;
      mBytes.resize(static_cast<size_t>(size));
      file.GetFile().Seek(offset, kUUSeekFromStart, nullptr);
      file.GetFile().Read(mBytes.data(), static_cast<uint32_t>(size));
      benchmark::DoNotOptimize(mBytes.data());
    }
  }

  // The models from first to before end, built as the program builds them.
  void LoadModels(int16_t first, int16_t end) {
    for (int16_t i = first; i < end; ++i) {
      UURefCount<MM3DModel> model =
          MM3DGetModel(MMMakeResourceId(0, static_cast<uint16_t>(i)), &mTextures);
      benchmark::DoNotOptimize(model.Get());
    }
  }

 private:
  UUDirectory mDirectory;
  MM3DModelLoader* mLoader;
  MM3DDriverTextureMap mTextures;
  std::vector<uint8_t> mBytes;
};

void BM_ModelsOverPlainReads(benchmark::State& state) {
  ModelFile file;
  if (!file.IsOpen()) {
    state.SkipWithError("vpl3d.MMM is not built");
    return;
  }
  const int16_t end = file.GetCount();
  ReportRatioOverFloor(
      state, [&file, end] { file.ReadBytes(0, end); }, [&file, end] { file.LoadModels(0, end); });
}
BENCHMARK(BM_ModelsOverPlainReads)->Unit(benchmark::kMillisecond);

void BM_PombleOverPlainRead(benchmark::State& state) {
  constexpr int16_t kPomble = 174;
  ModelFile file;
  if (!file.IsOpen() || file.GetCount() <= kPomble) {
    state.SkipWithError("vpl3d.MMM is not built");
    return;
  }
  ReportRatioOverFloor(
      state, [&file] { file.ReadBytes(kPomble, kPomble + 1); },
      [&file] { file.LoadModels(kPomble, kPomble + 1); });
}
BENCHMARK(BM_PombleOverPlainRead)->Unit(benchmark::kMillisecond);

}  // namespace
