// Saving the creation into the current sketch with a thumbnail of the
// scene, and starting a new sketch.
#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLSketchTarget.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"

namespace {

// The stage time that means the stage's current one.
constexpr int32_t kCurrentTime = -1;

// Hides the character's part highlight for the guard's life.
class WithoutPartHighlight {
 public:
  explicit WithoutPartHighlight(VPLCreationCharacter* character) : mCharacter(character) {
    if (mCharacter != nullptr) mCharacter->HidePartHighlight();
  }
  ~WithoutPartHighlight() {
    if (mCharacter != nullptr) mCharacter->RefreshPartHighlight();
  }
  WithoutPartHighlight(const WithoutPartHighlight&) = delete;
  WithoutPartHighlight& operator=(const WithoutPartHighlight&) = delete;

 private:
  VPLCreationCharacter* mCharacter;
};

// Drawing on the surface for the time of a read of its pixels.
class Drawing {
 public:
  explicit Drawing(MMSurface& surface) : mSurface(surface) { mSurface.BeginDraw(); }
  ~Drawing() { mSurface.EndDraw(); }
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

 private:
  MMSurface& mSurface;
};

}  // namespace

bool VPLSceneCreationArea::SaveSketch() {
  if (!mCreation->IsModified()) return true;
  // Without a store there is no sketch to write into (an area run on its
  // own, outside the program): nothing is saved and nothing is lost.
  VPLSketchTarget* sketches = VPLGetCreationServices().mSketches;
  if (sketches == nullptr) return true;
  const auto& render = VPLGetCreationServices().mRenderToSurface;
  if (!render) return false;
  std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kThumbnailSize, kThumbnailSize), AFPalette()));
  if (!surface) return false;
  bool written = false;
  {
    // The ghost parts the character tool shows are neither pictured nor
    // stored: hidden before the thumbnail is rendered, shown after writing.
    const bool pombleTool = mUI != nullptr && mUI->IsPombleToolCurrent();
    const WithoutPartHighlight plain(pombleTool ? Character() : nullptr);
    if (render(*surface, kCurrentTime, false)) {
      const Drawing drawing(*surface);
      MMBitmap thumbnail;
      written = surface->GetImageDescription(thumbnail) &&
                sketches->WriteCurrentSketch(*mCreation, thumbnail);
    }
  }
  surface->Detach();
  return written;
}

void VPLSceneCreationArea::NewSketch() {
  VPLSketchTarget* sketches = VPLGetCreationServices().mSketches;
  if (mCreation->IsEmpty() || sketches == nullptr) return;
  if (sketches->GetSketchCount() >= kSketchbookCapacity) {
    Ask(VPLCreationUIHooks::kSketchbookFull);
    return;
  }
  // The creation is saved before the new sketch is made, so a save that
  // fails leaves the book and the current sketch as they were.
  if (mCreation->IsModified() && !SaveSketch()) {
    Ask(VPLCreationUIHooks::kNoNewSketch);
    return;
  }
  const int32_t index = sketches->NewSketch();
  if (index < 0 || !sketches->SelectSketch(index)) {
    Ask(VPLCreationUIHooks::kNoNewSketch);
    return;
  }
  mUnsavedSketch.clear();
  StoreSketchbookNumber();
  mCreation->ClearAsModified();
  TakeSnapshot();
  ApplyGround(mCreation->GetGround());
  SaveSketch();
}

void VPLSceneCreationArea::StoreSketchbookNumber() {
  VPLSketchTarget* sketches = VPLGetCreationServices().mSketches;
  VPLPreferences* preferences = VPLGetServices().mPreferences;
  if (sketches == nullptr || preferences == nullptr) return;
  const int32_t index = sketches->GetCurrentSketchbookIndex();
  if (index >= 0) preferences->SetSketchbookNumber(index);
}

void VPLSceneCreationArea::ReadCurrentSketch() {
  VPLSketchTarget* sketches = VPLGetCreationServices().mSketches;
  if (sketches != nullptr) sketches->ReadCurrentSketch(*mCreation);
}

bool VPLSceneCreationArea::KeepsUnsavedCreation() const {
  VPLSketchTarget* sketches = VPLGetCreationServices().mSketches;
  return !mUnsavedSketch.empty() && sketches != nullptr &&
         sketches->GetCurrentSketchName() == mUnsavedSketch;
}

void VPLSceneCreationArea::KeepUnsavedCreation() {
  VPLSketchTarget* sketches = VPLGetCreationServices().mSketches;
  mUnsavedSketch = sketches != nullptr ? sketches->GetCurrentSketchName() : std::string();
  VPLAlertStringListText(kSaveFailedText);
}

void VPLSceneCreationArea::Ask(int32_t kind) {
  if (mUI != nullptr) mUI->AskUser(kind);
}
