#include "app/shell/VPLSceneIntro.h"

#include "app/shell/VPLIntroThread.h"
#include "app/shell/VPLStage.h"
#include "foundation/uu/UUCallback.h"
#include "media/films/MM2DFilmPlayerMolecule.h"
#include "media/films/MM2DFilmPlayerVisual.h"
#include "mm/resources/MMScript.h"
#include "mm/stage/MM2DMolecule.h"
#include "mm/stage/MM2DPictureVisual.h"
#include "mm/tasks/MMTaskCallback.h"

namespace {

constexpr int32_t kPictureRow = 1;
constexpr int16_t kPictureOffset = 0;
constexpr int16_t kPointOffset = 4;
constexpr int16_t kFilmOffset = 0;
constexpr int32_t kCreationAct = 1;
const UURect kClickBox(0, 0, 800, 600);

MMScript PageTable() { return MMScript(VPLSceneIntro::kPageScript); }

}  // namespace

VPLSceneIntro::VPLSceneIntro(MMSceneServices* host, MMEnclosure* enclosure)
    : MMScene(host, enclosure) {
  mClickArea = std::make_unique<MM2DMouseVisualMolecule>(this, Bind(&VPLSceneIntro::SkipIntro),
                                                         kClickBox, kClickAreaDepth, nullptr);
  mFilmPlayer = std::make_unique<MM2DFilmPlayerMolecule>(this);
  mFilmPlayer->SetEndCallback(Bind(&VPLSceneIntro::ShowNextPage));
  mFilmPlayer->GetVisual()->SetDepth(kFilmDepth);
  mEndButton = std::make_unique<MM2DPictureButtonMolecule>(this, UUPoint{0, 0}, kMMNoResource,
                                                           kMMNoResource, kEndButtonDepth,
                                                           Bind(&VPLSceneIntro::EndIntro), nullptr);
  mPageThread = std::make_unique<VPLIntroThread>(GetTaskClient(), this);
  GetStage()->AddEventNotification(MMStage::kAfterPresent, mPresented.get());
  ShowNextPage();
  HidePointer();
}

VPLSceneIntro::~VPLSceneIntro() {
  GetStage()->RemoveEventNotification(MMStage::kAfterPresent, mPresented.get());
  mFilmPlayer->CloseFilm();
  mFilmPlayer.reset();
  mClickArea.reset();
  mPageThread.reset();
  mEndButton.reset();
}

MMTaskCallback VPLSceneIntro::Bind(void (VPLSceneIntro::*action)()) {
  return MMTaskCallback(
      GetTaskClient(), new UUClassCallback<VPLSceneIntro, void (VPLSceneIntro::*)()>(this, action));
}

void VPLSceneIntro::ShowNextPage() {
  if (mPage >= PageTable().GetRowCount()) {
    EndIntroLater();
    return;
  }
  PlaceEndButton();
  if (!PlayPageFilm()) {
    EndIntroLater();
    return;
  }
  ++mPage;
  HidePointer();
}

void VPLSceneIntro::PlaceEndButton() {
  const MMScript pictures(kPictureScript);
  if (mPage >= pictures.GetRowCount()) return;
  // A table without the picture's row leaves the button without a picture.
  if (kPictureRow < pictures.GetRowCount()) {
    const MMPictureReference picture(
        static_cast<MMResourceId>(pictures.GetUInt32(kPictureRow, kPictureOffset)));
    mEndButton->GetVisual()->SetNormalPicture(picture);
    mEndButton->GetVisual()->SetHighlightPicture(picture);
  }
  mEndButton->GetVisual()->MoveTo(pictures.GetPoint(mPage, kPointOffset));
}

bool VPLSceneIntro::PlayPageFilm() {
  const uint32_t entry = PageTable().GetUInt32(mPage, kFilmOffset);
  if (entry == kNoFilm) return true;
  // The page's row names its film directly: the table's rows name
  // themselves, so reading it again through that row would give the same.
  mFilmPlayer->PlayFilm(MM2DFilm(static_cast<MMResourceId>(entry)));
  return mFilmPlayer->GetState() != MM2DFilmPlayerMolecule::kClosed;
}

void VPLSceneIntro::SkipIntro() {
  const int32_t pages = PageTable().GetRowCount();
  if (mPage < pages) {
    mPage = pages - 1;
    ShowNextPage();
  } else {
    EndIntro();
  }
  HidePointer();
}

bool VPLSceneIntro::HandleKey(const MMKeyEvent& /*event*/) {
  SkipIntro();
  return true;
}

void VPLSceneIntro::EndIntro() {
  if (mPageThread->GetState() == MMAbstractThread::kRunning) mPageThread->MakeStopCallback().Post();
  static_cast<VPLStage*>(GetStage())->RequestAct(kCreationAct);
}

// After the next present: the stage forgets a request for the next act
// made while it builds this one, and one made before its first frame was
// shown would keep it from ever seeing the window's first paint.
void VPLSceneIntro::EndIntroLater() { mEndAfterPresent = true; }

void VPLSceneIntro::OnPresented() {
  static_cast<VPLStage*>(GetStage())->LoadDisplayLibraryAhead();
  if (!mEndAfterPresent) return;
  mEndAfterPresent = false;
  EndIntro();
}

void VPLSceneIntro::HidePointer() { static_cast<VPLStage*>(GetStage())->HideCursor(); }
