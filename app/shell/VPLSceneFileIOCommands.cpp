// The file screen's commands and questions. Each changes the library on
// disk through its own operations, which leave the lists as they were on
// failure, and then refreshes the grids from the library as it stands.

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLFileScreenHost.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketchButton.h"
#include "app/shell/VPLSketchGrp.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookButton.h"
#include "app/shell/VPLSketchbookGrp.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

constexpr MMResourceId kStringList = 8;
constexpr MMResourceId kSketchDeletedSound = 345;
constexpr MMResourceId kSketchMovedSound = 346;
constexpr MMResourceId kSketchbookDeletedSound = 347;
constexpr MMResourceId kSketchbookSelectedSound = 348;
constexpr MMResourceId kNoticeSound = 24;
constexpr int32_t kYes = 1;
constexpr int32_t kCredits = 6;

struct DialogLook {
  MMResourceId mLayout;
  int16_t mTextTag;
  bool mSounds;
};

// The layout, text and sound of each dialog kind, from 1 on.
constexpr DialogLook kDialogLooks[] = {
    {.mLayout = 439, .mTextTag = 36, .mSounds = false},
    {.mLayout = 439, .mTextTag = 37, .mSounds = false},
    {.mLayout = 438, .mTextTag = 34, .mSounds = true},
    {.mLayout = 438, .mTextTag = 33, .mSounds = true},
    {.mLayout = 438, .mTextTag = 32, .mSounds = true},
    {.mLayout = 440, .mTextTag = 35, .mSounds = false},
};

void ReleaseDriverTextures() {
  if (MM3DDriverTextureMap* map = VPLGetServices().mTextureMap) map->ReleaseAll();
}

bool PreferenceSet(bool (VPLPreferences::*getter)(int32_t&) const) {
  int32_t value = 1;
  if (VPLPreferences* preferences = VPLGetServices().mPreferences) (preferences->*getter)(value);
  return value != 0;
}

}  // namespace

void VPLSceneFileIO::OpenDialog(ActiveDialogInfo info) {
  if (info.mKind <= kVPLNoFileDialog || info.mKind > kVPLQuitQuestion) return;
  const DialogLook& look = kDialogLooks[info.mKind - 1];
  const VPLScript layout(look.mLayout, kVPLLayoutTable);
  const VPLScript strings(kStringList, kVPLStringList);
  if (layout.FindTag(kVPLModelTag) < 0) return;
  const UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(layout.GetTagUInt32(kVPLModelTag)), VPLGetServices().mTextureMap);
  auto* dialog =
      new VPL3DMessageDialog(this, model, look.mLayout, strings.GetTagString(look.mTextTag),
                             &VPLSceneUIBase::OnDialogResponse);
  if (mParts.mHost != nullptr) {
    mParts.mHost->OpenDialog(dialog);
  } else {
    AddDialog(dialog);
  }
  if (look.mSounds) PlayListSound(kNoticeSound, false);
  info.mDialog = dialog;
  mActiveDialog = info;
}

void VPLSceneFileIO::DialogResult(VPL3DCallbackDialog* dialog, int32_t answer) {
  if (mActiveDialog.mDialog == nullptr || dialog != mActiveDialog.mDialog) return;
  if (answer == kCredits) {
    if (mParts.mHost != nullptr) mParts.mHost->ShowCredits(dialog);
    return;
  }
  const ActiveDialogInfo info = mActiveDialog;
  VPLSceneUIBase::DialogResult(dialog, answer);
  mActiveDialog.mDialog = nullptr;
  mActiveDialog.mValue = 0;
  AnswerQuestion(info, answer);
  const int32_t value = mActiveDialog.mValue;
  mActiveDialog = ActiveDialogInfo{.mValue = value};
}

void VPLSceneFileIO::AnswerQuestion(const ActiveDialogInfo& info, int32_t answer) {
  if (info.mKind == kVPLDeleteSketchQuestion && info.mSketchButton != nullptr) {
    // The drag image holds the cell's thumbnail id; it goes first, so the
    // refreshes that follow load every id they switch to afresh.
    info.mSketchButton->DestroyDragImage();
    if (answer == kYes) {
      DeleteSketch(info.mSketchButton);
    } else {
      mSketchGrid->Update();
    }
    CloseTrash();
  } else if (info.mKind == kVPLDeleteSketchbookQuestion && info.mSketchbookButton != nullptr) {
    if (answer == kYes) {
      DeleteSketchbook(info.mSketchbookButton);
    } else {
      info.mSketchbookButton->SetVisibility(kMMShown);
    }
    info.mSketchbookButton->DestroyDragImage();
    CloseTrash();
  } else if (info.mKind == kVPLQuitQuestion && answer == kYes) {
    mActiveDialog.mValue = kVPLQuitQuestion;
    if (VPLGetServices().mPreferences != nullptr) {
      VPLGetServices().mPreferences->SetSketchbookNumber(GetLibrary().GetCurrentIndex());
    }
    if (VPLGetServices().mQuit) VPLGetServices().mQuit();
  }
}

void VPLSceneFileIO::RefreshIcons() {
  for (const std::unique_ptr<VPLCurrentSketchbookIcon>& icon : mIcons) {
    if (icon != nullptr) icon->Refresh(GetLibrary());
  }
}

void VPLSceneFileIO::ScrollSketchesToCurrent() { mSketchGrid->ScrollAndUpdate(); }

void VPLSceneFileIO::RefreshAll() {
  mSketchGrid->Update();
  mSketchbookGrid->Reset();
  mCoverPicker->Reset();
  RefreshIcons();
}

void VPLSceneFileIO::ToggleCoverPicker() {
  if (mCoverPicker->GetVisibility() == kMMShown) {
    mCoverPicker->SetVisibility(kMMHidden);
  } else if (VPLCoverCount() != GetLibrary().GetSketchbookCount()) {
    mCoverPicker->SetVisibility(kMMShown);
  } else {
    OpenDialog(ActiveDialogInfo{.mKind = kVPLAllCoversTaken});
  }
}

void VPLSceneFileIO::NewSketchbook(VPLSketchbookIconButton* cover) {
  if (cover->GetCover() == VPLSketchbookIconButton::kNoCover) return;
  VPLSketchbook* book = nullptr;
  if (GetLibrary().NewSketchbook(cover->GetCover(), book)) {
    GetLibrary().SelectSketchbook(book);
    ScrollSketchesToCurrent();
    mSketchbookGrid->Update();
    RefreshIcons();
  } else {
    OpenDialog(ActiveDialogInfo{.mKind = kVPLFileOperationFailed});
  }
  ToggleCoverPicker();
  mCoverPicker->Update();
}

void VPLSceneFileIO::SelectSketchbook(VPLSketchbookButton* book) {
  if (book->GetItem() != nullptr && GetLibrary().SelectSketchbook(book->GetItem())) {
    PlayListSound(kSketchbookSelectedSound, false);
  }
  ScrollSketchesToCurrent();
  mSketchbookGrid->Update();
  mCoverPicker->Reset();
  RefreshIcons();
}

// The library is never left empty: the last book's place is taken by a
// new one with a blank sketch, and no thumbnail of the old one survives.
void VPLSceneFileIO::DeleteSketchbook(VPLSketchbookButton* book) {
  VPLSketchbook* position = book != nullptr ? book->GetItem() : GetLibrary().GetCurrentSketchbook();
  if (position != nullptr && GetLibrary().RemoveSketchbook(position)) {
    if (GetLibrary().GetSketchbookCount() == 0) {
      GetLibrary().Unload();
      GetLibrary().Load(true);
      ReleaseDriverTextures();
    }
    PlayListSound(kSketchbookDeletedSound, false);
    CloseTrash();
  }
  ScrollSketchesToCurrent();
  mSketchbookGrid->Reset();
  mCoverPicker->Reset();
  RefreshIcons();
}

void VPLSceneFileIO::DeleteSketch(VPLSketchButton* sketch) {
  VPLSketchbook* book = GetLibrary().GetCurrentSketchbook();
  VPLSketch* position = sketch->GetItem();
  if (book != nullptr && position != nullptr && book->Holds(position) &&
      book->RemoveSketch(position)) {
    if (book->GetSketchCount() > 0) {
      PlayListSound(kSketchDeletedSound, false);
    } else {
      DeleteSketchbook(nullptr);
      ReleaseDriverTextures();
    }
    CloseTrash();
  }
  mSketchGrid->Update();
}

void VPLSceneFileIO::MoveSketch(VPLSketchButton* sketch, VPLSketchbookButton* book) {
  VPLSketchbook* destination = book->GetItem();
  if (destination != nullptr && destination->GetSketchCount() >= kFullSketchbook) {
    OpenDialog(ActiveDialogInfo{.mKind = kVPLSketchbookFull});
  } else if (destination != nullptr && destination != GetLibrary().GetCurrentSketchbook()) {
    VPLSketch* position = sketch->GetItem();
    if (position != nullptr && GetLibrary().MoveSketch(position, destination)) {
      if (GetLibrary().GetCurrentSketchbook()->GetSketchCount() == 0) DeleteSketchbook(nullptr);
      PlayListSound(kSketchMovedSound, false);
    }
  }
  ScrollSketchesToCurrent();
}

void VPLSceneFileIO::CopySketch() {
  if (!PreferenceSet(&VPLPreferences::GetDuplicate)) return;
  VPLSketchbook* book = GetLibrary().GetCurrentSketchbook();
  if (book == nullptr) return;
  if (book->GetSketchCount() >= kFullSketchbook) {
    OpenDialog(ActiveDialogInfo{.mKind = kVPLSketchbookFull});
    return;
  }
  VPLSketch* copy = nullptr;
  if (book->GetCurrentSketch() != nullptr && book->CopySketch(book->GetCurrentSketch(), copy)) {
    book->SelectSketch(copy);
    mSketchGrid->ScrollAndUpdate();
  } else {
    OpenDialog(ActiveDialogInfo{.mKind = kVPLFileOperationFailed});
  }
}
