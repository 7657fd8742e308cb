// The dialogs' costs a child waits for. Opening the preference dialog (its
// toggles, buttons and three labels with their text textures) through to
// its first frame, in ms and as a share of a 60 Hz frame. One 256 x 256
// text texture against drawing the same text into a plain surface of that
// size.

#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPL3DPreferenceDialog.h"
#include "bench/RatioOverFloor.h"
#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"
#include "tests/app/support/DialogData.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr double kFrameMilliseconds = 1000.0 / 60.0;
constexpr int32_t kSide = 256;
const char kText[] = "Save my picture by itself";

void BM_PreferenceDialogToItsFirstFrame(benchmark::State& state) {
  const app_fixtures::AppFiles files{dialog_data::TaggedTables(), dialog_data::Tables()};
  InterfaceStage stage(dialog_data::MakeRecordingScene);
  const dialog_data::DialogServices services(stage.Stage()->GetTextureMap());
  std::chrono::steady_clock::duration open{};
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    stage.Scene().OpenPreferenceDialog();
    stage.RunFrame();
    open += std::chrono::steady_clock::now() - start;
    state.PauseTiming();
    stage.Scene().RemoveObject(stage.Scene().GetActiveControl());
    state.ResumeTiming();
  }
  const double ms = std::chrono::duration<double, std::milli>(open).count() /
                    static_cast<double>(state.iterations());
  state.counters["open_ms"] = ms;
  state.counters["frame_ratio"] = ms / kFrameMilliseconds;
}
BENCHMARK(BM_PreferenceDialogToItsFirstFrame)->Unit(benchmark::kMillisecond);

void BM_TextTextureOverPlainDrawing(benchmark::State& state) {
  const app_fixtures::AppFiles files{{}, dialog_data::Tables()};
  const UURect square(0, 0, kSide, kSide);
  const UUPoint centre{kSide / 2, kSide / 2};
  AFColor color;
  color.mRed = dialog_data::kTextRed;
  const RU3DTextStyle style{
      std::make_shared<MMSystemFont>("DejaVu Sans", dialog_data::kFontSize, 400, false, false),
      color, 1, 1};
  RU3DTextureCollectionFromString strings(2);
  const int16_t item = MMItemOf(strings.AddText(square, kText, centre, style));
  const MMTextStyle plain{style.mFont.get(), color, 1, 1};
  ReportRatioOverFloor(
      state,
      [&] {
        std::unique_ptr<WinMMOffscreenSurface> surface(
            WinMMCreateOffscreenSurface(32, square, AFPalette()));
        surface->FillRect(square, AFColor());
        surface->DrawText(kText, centre.mX, centre.mY, plain);
        surface->Detach();
      },
      [&] {
        MM3DDriverTextureImage image;
        benchmark::DoNotOptimize(strings.LoadImage(item, image));
      });
}
BENCHMARK(BM_TextTextureOverPlainDrawing);

}  // namespace
