#include "app/shell/VPLSceneFileIO.h"

#include "app/objects/RU3DLogicalSoundChannel.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPL3DCursorSet.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLUpAlphaHiliteObject.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLDragButton.h"
#include "app/shell/VPLFileScreenHost.h"
#include "app/shell/VPLSketchButton.h"
#include "app/shell/VPLSketchGrp.h"
#include "app/shell/VPLSketchbookButton.h"
#include "app/shell/VPLSketchbookGrp.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "media/sound/MMSoundGroup.h"
#include "mm3d/MM3DModelCollection.h"

bool VPLSceneFileIO::sTrashOpen = false;

namespace {

constexpr MMResourceId kTitleDefinition = 60;
constexpr MMResourceId kSketchLayout = 377;
constexpr MMResourceId kSketchbookLayout = 386;
constexpr MMResourceId kCoverLayout = 429;
constexpr MMResourceId kQuitDefinition = 36;
constexpr MMResourceId kBackDefinition = 359;
constexpr MMResourceId kTrashDefinition = 364;
constexpr MMResourceId kNewSketchbookDefinition = 360;
constexpr MMResourceId kCopyDefinition = 361;
constexpr MMResourceId kIconDefinitions[2] = {362, 363};
constexpr MMResourceId kChannelTable = 28;
constexpr MMResourceId kPickerClosedSound = 355;
constexpr int16_t kHighlightTag = 1;
constexpr int16_t kEnterTag = 0;
constexpr int16_t kLeaveTag = 1;
constexpr int32_t kFileScreenCursor = 1;
// The trash's clip: opening, closing, and its rest at the end of closing.
constexpr int32_t kTrashOpenStart = 33;
constexpr int32_t kTrashOpenEnd = 333;
constexpr int32_t kTrashCloseStart = 366;
constexpr int32_t kTrashRest = 733;
// Key codes of Delete and Backspace.
constexpr int16_t kDeleteKey = 1;
constexpr int16_t kBackspaceKey = 2;

UURefCount<MM3DModel> LayoutModel(MMResourceId layout, int16_t tag) {
  const VPLScript table(layout, kVPLLayoutTable);
  if (table.FindTag(tag) < 0) return UURefCount<MM3DModel>();
  return MM3DGetModel(static_cast<MMResourceId>(table.GetTagUInt32(tag)),
                      VPLGetServices().mTextureMap);
}

}  // namespace

VPLFileScreenParts VPLFileScreenParts::FromApplication(VPLFileScreenHost* host) {
  VPLFileScreenParts parts{.mHost = host};
  if (VPLCurrentApplication != nullptr) {
    parts.mLibrary = VPLCurrentApplication->GetSketchbookLibrary();
    parts.mThumbnails = VPLCurrentApplication->GetSketchTextures();
  }
  return parts;
}

VPLSceneFileIO::VPLSceneFileIO(MMSceneServices* services, MMEnclosure* enclosure, MMView* view,
                               int32_t sceneId, const VPLFileScreenParts& parts)
    : VPLSceneUIBase(services, enclosure, view, sceneId), mParts(parts) {
  sTrashOpen = false;
  BuildObjects();
  MakeSoundChannels();
}

VPLSceneFileIO::~VPLSceneFileIO() {
  for (RU3DArcadeSoundChannel* channel : {mEnterChannel.get(), mLeaveChannel.get()}) {
    if (channel != nullptr && channel->GetChannel().IsPlaying()) channel->GetChannel().Stop();
  }
}

void VPLSceneFileIO::BuildObjects() {
  if (const UURefCount<MM3DModel> title = VPLTableModel(kTitleDefinition, kVPLModelTag)) {
    mTitle = std::make_unique<VPLObj>(this, title);
  }
  mSketchGrid = new VPLSketchGrp(this, LayoutModel(kSketchLayout, kVPLModelTag), kSketchLayout,
                                 LayoutModel(kSketchLayout, kHighlightTag));
  AppendInterfaceObject(mSketchGrid);
  mSketchGrid->Update();
  mSketchbookGrid = AddGrid<VPLSketchbookGrp>(kSketchbookLayout);
  mCoverPicker = AddGrid<VPLSketchbookIconGrp>(kCoverLayout);
  mCoverPicker->SetVisibility(kMMHidden);
  AddButton(kQuitDefinition, MakeCommand(&VPLSceneFileIO::AskToQuit));
  AddButton(kBackDefinition, MakeCommand(&VPLSceneFileIO::ReturnToCreation));
  mNewSketchbookButton =
      AddButton(kNewSketchbookDefinition, MakeCommand(&VPLSceneFileIO::ToggleCoverPicker));
  mCopyButton = AddButton(kCopyDefinition, MakeCommand(&VPLSceneFileIO::CopySketch));
  if (const UURefCount<MM3DModel> trash = VPLTableModel(kTrashDefinition, kVPLModelTag)) {
    mTrash = new VPLObjButton(this, trash, MMTaskCallback(), kTrashDefinition);
    AppendInterfaceObject(mTrash);
    mTrash->PlayAnimation(kTrashRest, kTrashRest, false);
  }
  for (int32_t i = 0; i < 2; ++i) {
    if (const UURefCount<MM3DModel> icon = VPLTableModel(kIconDefinitions[i], kVPLModelTag)) {
      mIcons[i] = std::make_unique<VPLCurrentSketchbookIcon>(this, icon);
    }
  }
  RefreshIcons();
}

template <typename Grid>
Grid* VPLSceneFileIO::AddGrid(MMResourceId layout) {
  auto* grid = new Grid(this, LayoutModel(layout, kVPLModelTag), layout);
  AppendInterfaceObject(grid);
  grid->Update();
  return grid;
}

VPLUpAlphaHiliteObject* VPLSceneFileIO::AddButton(MMResourceId definition,
                                                  const MMTaskCallback& callback) {
  const UURefCount<MM3DModel> model = VPLTableModel(definition, kVPLModelTag);
  if (!model) return nullptr;
  auto* button = new VPLUpAlphaHiliteObject(this, model, callback, definition);
  AppendInterfaceObject(button);
  return button;
}

// Channel one greets the screen, channel two sees it go.
void VPLSceneFileIO::MakeSoundChannels() {
  mEnterChannel = MakeChannel(kEnterTag);
  mLeaveChannel = MakeChannel(kLeaveTag);
}

std::unique_ptr<RU3DArcadeSoundChannel> VPLSceneFileIO::MakeChannel(int16_t tag) {
  auto* group = dynamic_cast<MMSoundGroup*>(GetSoundGroup());
  const VPLScript table(kChannelTable, kVPLScriptList);
  const MMScript list(table.GetTagScriptId(tag));
  const int32_t row = VPLGetServices().GetSoundSetIndex();
  const MMResourceId sound = row >= 0 && row < list.GetRowCount()
                                 ? static_cast<MMResourceId>(list.GetUInt32(row, 0))
                                 : kMMNoResource;
  if (group == nullptr || sound == kMMNoResource) return nullptr;
  const MM3DVector listener = GetCamera()->GetPosition();
  const MM3DVector facing = GetCamera()->GetInterest() != nullptr
                                ? *GetCamera()->GetInterest()
                                : listener.Sum(GetCamera()->GetViewDirection());
  return std::make_unique<RU3DArcadeSoundChannel>(
      group, listener, facing, MM3DVector{0.0f, 0.0f, 0.0f, 1.0f}, kSoundUpdateInterval, sound);
}

void VPLSceneFileIO::PlayChannel(RU3DArcadeSoundChannel* channel) {
  if (channel != nullptr) {
    channel->PlayAt(MM3DVector{0.0f, 0.0f, 0.0f, 1.0f}, MMSoundReference(channel->GetSoundId()),
                    false);
  }
}

void VPLSceneFileIO::PlayEnterSound() { PlayChannel(mEnterChannel.get()); }

void VPLSceneFileIO::PlayLeaveSound() { PlayChannel(mLeaveChannel.get()); }

VPLCurrentSketchbookIcon* VPLSceneFileIO::GetSketchbookIcon(int32_t n) const {
  return n == 0 || n == 1 ? mIcons[n].get() : nullptr;
}

bool VPLSceneFileIO::AsksBeforeDeleting() const {
  int32_t prompt = 1;
  if (VPLPreferences* preferences = VPLGetServices().mPreferences) {
    preferences->GetPromptForDelete(prompt);
  }
  return prompt != 0;
}

void VPLSceneFileIO::Activate() {
  RefreshAll();
  VPLSceneUIBase::Activate();
  if (VPL3DCursorSet* cursors = VPL3DCursorSet::GetGlobal()) {
    cursors->Select(this, kFileScreenCursor);
  }
}

bool VPLSceneFileIO::OnKey(const MMKeyEvent& event) {
  if (!mEntered) return false;
  if (VPLSceneUIBase::OnKey(event)) return true;
  if (event.mKeyCode != kDeleteKey && event.mKeyCode != kBackspaceKey) return false;
  DeleteCurrentSketchByKey();
  return true;
}

void VPLSceneFileIO::DeleteCurrentSketchByKey() {
  VPLSketchButton* cell = mSketchGrid->FindCurrentCell();
  if (cell == nullptr) return;
  if (AsksBeforeDeleting()) {
    PostCommand(&VPLSceneFileIO::OpenDialog,
                ActiveDialogInfo{.mKind = kVPLDeleteSketchQuestion, .mSketchButton = cell});
  } else {
    DeleteSketch(cell);
  }
}

// Moving away from the open cover picker closes it.
bool VPLSceneFileIO::OnMouse(const MMMouseEvent& event) {
  if (!mEntered) return false;
  const bool moved = (event.mFlags & (kVPLPress | kVPLRelease)) == 0;
  if (mCoverPicker->GetVisibility() == kMMShown && moved && GetView() != nullptr) {
    VPLPickEvent pick(event.mTime, event.mX, event.mY, event.mFlags);
    pick.mRay = MakeViewRay(event.mX, event.mY);
    const VPLObjEvent* hit = FindControlUnder(pick);
    if (hit != mCoverPicker && (hit == nullptr || hit != mNewSketchbookButton)) {
      ToggleCoverPicker();
      PlayListSound(kPickerClosedSound, false);
    }
  }
  return VPLSceneUIBase::OnMouse(event);
}

bool VPLSceneFileIO::OnQuitRequest(bool forced) {
  if (!forced && mActiveDialog.mValue != kVPLQuitQuestion) {
    OpenDialog(ActiveDialogInfo{.mKind = kVPLQuitQuestion});
    return false;
  }
  if (VPLGetServices().mQuit) VPLGetServices().mQuit();
  return true;
}

void VPLSceneFileIO::AskToQuit() { OnQuitRequest(false); }

void VPLSceneFileIO::ReturnToCreation() {
  if (mParts.mHost != nullptr) mParts.mHost->ReturnToCreation();
}

bool VPLSceneFileIO::IsOverTrash(const VPLPickEvent& event) {
  if (mTrash == nullptr) return false;
  // The trash may be hidden under a dragged picture: it is tested as shown.
  const MMVisibility visibility = mTrash->GetVisibility();
  mTrash->SetVisibility(kMMShown);
  const bool over = mTrash->HitTest(event.mRay);
  mTrash->SetVisibility(visibility);
  return over;
}

bool VPLSceneFileIO::IsOverSketchGrid(const VPLPickEvent& event) const {
  return mSketchGrid->HitTest(event.mRay);
}

bool VPLSceneFileIO::IsOverSketchbookButton(const VPLPickEvent& event) const {
  return mSketchbookGrid->HitsAnyCell(event);
}

VPLSketchbookButton* VPLSceneFileIO::FindSketchbookButton(const VPLPickEvent& event) const {
  return mSketchbookGrid->FindCellAt(event);
}

void VPLSceneFileIO::OpenTrash() {
  if (mTrash == nullptr) return;
  mTrash->SetVisibility(kMMShown);
  if (!sTrashOpen) mTrash->PlayAnimation(kTrashOpenStart, kTrashOpenEnd, false);
  sTrashOpen = true;
}

void VPLSceneFileIO::CloseTrash() {
  if (mTrash == nullptr) return;
  mTrash->SetVisibility(kMMShown);
  if (sTrashOpen) mTrash->PlayAnimation(kTrashCloseStart, kTrashRest, false);
  sTrashOpen = false;
}

void VPLSceneFileIO::ShowSketchGridHighlight() { mSketchGrid->ShowDropHighlight(); }

void VPLSceneFileIO::HideSketchGridHighlight() { mSketchGrid->HideDropHighlight(); }

MM3DAnimationPlayer* VPLSceneFileIO::GetTransitionPlayer() {
  return mSketchGrid->GetTransitionPlayer();
}

void VPLSceneFileIO::BeginTransition() { mSketchGrid->BeginTransition(); }

void VPLSceneFileIO::EndTransition() { mSketchGrid->EndTransition(); }
