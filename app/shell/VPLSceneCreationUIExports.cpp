// The creation screen's exports into the Exports folder and its printing:
// every picture is drawn with the stage's offscreen rendering, and one that
// was not drawn is never written or printed as if it were the child's work.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLMovieWriter.h"
#include "app/shell/VPLPictureFiles.h"
#include "app/shell/VPLPrintSession.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLShellPreferences.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MMStageWindow.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kNameCapacity = 260;
const UURect kStillRect(0, 0, 800, 600);
const UURect kMovieRect(0, 0, 320, 240);
constexpr int32_t kBitsPerPixel = 32;
constexpr int32_t kMovieFrameRate = 10;
constexpr int32_t kMovieFrames = 100;
constexpr int32_t kMovieFrameStep = 100;
// String-list entries: names and messages.
constexpr int16_t kPictureBase = 2;
constexpr int16_t kMovieBase = 3;
constexpr int16_t kStillExtension = 4;
constexpr int16_t kBmpExtension = 5;
constexpr int16_t kJpegExtension = 6;
constexpr int16_t kMovieExtension = 7;
constexpr int16_t kDocumentName = 13;
constexpr int16_t kNoMemoryEntry = 20;
constexpr int16_t kFailedEntry = 32;
constexpr int32_t kAnyPicture = 0;
constexpr int32_t kBmpPicture = 1;
constexpr int32_t kJpegPicture = 2;

struct FileName {
  char mText[kNameCapacity] = {};
};

void ShowEntry(int16_t entry) {
  HWND owner = nullptr;
  if (VPLCurrentApplication != nullptr && VPLCurrentApplication->GetMainWindow() != nullptr) {
    owner = VPLCurrentApplication->GetMainWindow()->GetHandle();
  }
  VPLShowStringListAlert(entry, owner);
}

// "<base> <n><extension>" with the first n from 1 that no file has; the
// file system compares names without case, as the platform's paths do.
FileName FirstFreeName(const UUDirectory& folder, int16_t baseEntry, int16_t extensionEntry) {
  const VPLStringList strings;
  FileName name;
  for (int32_t counter = 1;; ++counter) {
    char formatted[kNameCapacity] = {};
    std::snprintf(formatted, sizeof formatted, "%s %d%s", strings.GetText(baseEntry), counter,
                  strings.GetText(extensionEntry));
    UUCopyString(formatted, name.mText, kNameCapacity);
    if (!UUFileExists(folder, name.mText)) return name;
  }
}

std::unique_ptr<MMSurface> MakeSurface(const UURect& rect) {
  std::unique_ptr<MMSurface> surface(WinMMCreateOffscreenSurface(kBitsPerPixel, rect, AFPalette()));
  if (!surface) ShowEntry(kNoMemoryEntry);
  return surface;
}

VPLSurfaceRendering Render(MMSurface& surface, int32_t time, bool whiteBackground) {
  const VPLServices& services = VPLGetServices();
  if (!services.mRenderToSurface) return VPLSurfaceRendering{};
  return services.mRenderToSurface(surface, time, whiteBackground);
}

// Leaves the sky and the ground of the area out of the pictures drawn in
// its lifetime; each is shown again as it was.
class BackgroundLeftOut {
 public:
  explicit BackgroundLeftOut(VPLSceneCreationArea* area) {
    if (area == nullptr) return;
    for (MM3DModelMolecule* molecule : {area->GetBackdropMolecule(), area->GetGroundMolecule()}) {
      if (molecule != nullptr && molecule->GetVisibility() == kMMShown) {
        molecule->SetVisibility(kMMHidden);
        mHidden.push_back(molecule);
      }
    }
  }
  ~BackgroundLeftOut() {
    for (MM3DModelMolecule* molecule : mHidden) molecule->SetVisibility(kMMShown);
  }
  BackgroundLeftOut(const BackgroundLeftOut&) = delete;
  BackgroundLeftOut& operator=(const BackgroundLeftOut&) = delete;

 private:
  std::vector<MM3DModelMolecule*> mHidden;
};

// Frames of the creation's scene time, 100 ms apart, from the start.
bool WriteMovieFrames(VPLMovieWriter& writer, MMSurface& surface, int32_t start) {
  if (!writer.AddTrack()) return false;
  bool ok = true;
  for (int32_t frame = 0; ok && frame < kMovieFrames; ++frame) {
    ok = Render(surface, start + frame * kMovieFrameStep, false).mRendered && writer.AddFrame();
  }
  writer.FinishTrack();
  return ok;
}

}  // namespace

const UUDirectory& VPLSceneCreationUI::ExportsFolder() const {
  static const UUDirectory none;
  if (mExportsFolder) return *mExportsFolder;
  return VPLCurrentApplication != nullptr ? VPLCurrentApplication->GetExportsFolder() : none;
}

bool VPLSceneCreationUI::ExportBmp() { return ExportPicture(kBmpPicture, kBmpExtension); }

bool VPLSceneCreationUI::ExportJpeg() { return ExportPicture(kJpegPicture, kJpegExtension); }

bool VPLSceneCreationUI::ExportStill() { return ExportPicture(kAnyPicture, kStillExtension); }

bool VPLSceneCreationUI::ExportPicture(int32_t type, int16_t extensionEntry) {
  const FileName name = FirstFreeName(ExportsFolder(), kPictureBase, extensionEntry);
  const std::unique_ptr<MMSurface> surface = MakeSurface(kStillRect);
  if (!surface || !Render(*surface, kVPLNow, false).mRendered) return false;
  return VPLSavePicture(type, surface.get(), ExportsFolder(), name.mText);
}

bool VPLSceneCreationUI::ExportMovie() {
  const FileName name = FirstFreeName(ExportsFolder(), kMovieBase, kMovieExtension);
  const std::unique_ptr<MMSurface> surface = MakeSurface(kMovieRect);
  if (!surface) return false;
  const VPLSurfaceRendering first = Render(*surface, kVPLNow, false);
  if (!first.mRendered) return false;
  VPLMovieWriter writer;
  bool ok = writer.Begin(surface.get(), kMovieFrameRate, ExportsFolder(), name.mText);
  if (ok) {
    VPLGetServices().mMovieExportActive = true;
    ok = WriteMovieFrames(writer, *surface, first.mTime);
    VPLGetServices().mMovieExportActive = false;
  }
  return writer.Finish() && ok;
}

bool VPLSceneCreationUI::Print(int32_t option, bool whiteBackground) {
  if (!VPLPrintingAllowed()) return false;
  VPLCreationCharacter* character = nullptr;
  if (IsPombleToolCurrent() && mArea != nullptr && mArea->GetCreation() != nullptr) {
    character = dynamic_cast<VPLCreationCharacter*>(mArea->GetCreation()->FindCharacter());
  }
  if (character != nullptr) character->HidePartHighlight();
  bool printed = false;
  if (const std::unique_ptr<MMSurface> surface = MakeSurface(kStillRect)) {
    // Without the background the page shows the creation on white.
    const BackgroundLeftOut leftOut(whiteBackground ? mArea : nullptr);
    if (Render(*surface, kVPLNow, whiteBackground).mRendered) {
      VPLPrintSession session(surface.get(), static_cast<int16_t>(option), "");
      printed =
          session.Print(VPLStringList().GetText(kDocumentName)) == AFPrintSessionBase::kPrintDone;
    }
    if (!printed) ShowEntry(kFailedEntry);
  }
  if (character != nullptr) character->RefreshPartHighlight();
  return printed;
}
