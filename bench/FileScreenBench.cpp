// One scroll of the file screen's sketch grid to cells with other sketches
// (their looks moved, their thumbnails read and uploaded, the frame drawn)
// against the plainest way of the same work: reading the shown sketches'
// files with pread and drawing the unchanged screen. The builder's data
// files give the screen.

#include "app/objects/VPLServices.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketch.h"
#include "app/shell/VPLSketchGrp.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "app/shell/VPLTextureCollectionFromSketchHandle.h"
#include "bench/BenchScratch.h"
#include "bench/RatioOverFloor.h"
#include "media/startup/MMResourceFiles.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "platform/win32/PathMapping.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kSketches = 12;
constexpr int32_t kFileScreenScene = 2;
// A sketch file's thumbnail: 256 x 256 pixels of 4 bytes after its header.
constexpr size_t kThumbnailBytes = 256 * 256 * 4;

void ReadPlainly(const std::string& path, std::vector<uint8_t>& bytes) {
  const int descriptor = open(path.c_str(), O_RDONLY);
  benchmark::DoNotOptimize(pread(descriptor, bytes.data(), bytes.size(), 0));
  close(descriptor);
}

void BM_SketchScrollOverPlainReads(benchmark::State& state) {
  BenchScratch scratch("files");
  UUDirectory data(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(VPL_DEFAULT_DATA_DIR)).c_str());
  MMClearSearchDirectories();
  MMResourceSearchDirectories.PushBack(&data);
  if (!MMOpenScriptFiles() || !MMOpenTextureFiles() || !MMOpenModelFiles()) {
    state.SkipWithError("no data files");
    return;
  }
  VPLSketchbookLibrary library(scratch.Directory());
  library.Load(true);
  VPLSketchbook& book = *library.GetCurrentSketchbook();
  while (book.GetSketchCount() < kSketches) {
    VPLSketch* sketch = nullptr;
    book.NewSketch(sketch);
  }
  book.SelectSketchAt(0);
  VPLSceneFileIO* screen = nullptr;
  {
    // Made after the data files' textures and gone before them.
    VPLTextureCollectionFromSketchHandle thumbnails;
    InterfaceStage stage([&](MMSceneServices* host, MMEnclosure* enclosure, MMView* view) {
      screen =
          new VPLSceneFileIO(host, enclosure, view, kFileScreenScene,
                             VPLFileScreenParts{.mLibrary = &library, .mThumbnails = &thumbnails});
      return screen;
    });
    VPLGetServices().mTextureMap = stage.Stage()->GetTextureMap();
    screen->Activate();
    stage.RunFrame();
    VPLSketchGrp& grid = *screen->GetSketchGrid();
    const int16_t page = grid.GetPage();
    std::vector<std::string> files;
    for (int i = 0; i < page; ++i) {
      files.push_back(scratch.Host("Sketchbook 1/Sketch " + std::to_string(page + i + 1)));
    }
    std::vector<uint8_t> bytes(kThumbnailBytes);
    ReportRatioOverFloor(
        state,
        [&] {
          for (const std::string& file : files) ReadPlainly(file, bytes);
          stage.RunFrame();
        },
        [&] {
          grid.OnScroll(grid.CanScrollForward() ? kScrollForward : kScrollBack);
          stage.RunFrame();
        });
    VPLGetServices().mTextureMap = nullptr;
  }
  MMCloseModelFiles();
  MMCloseTextureFiles();
  MMCloseScriptFiles();
  MMClearSearchDirectories();
}
BENCHMARK(BM_SketchScrollOverPlainReads)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
