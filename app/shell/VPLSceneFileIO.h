#pragma once
// The file screen: the current sketchbook's sketches as thumbnails, the
// other sketchbooks as covers, the current book's cover, a trash, and the
// new-sketchbook, copy, back and quit buttons. Everything is done by
// clicking and dragging; every command runs as a task after the input that
// asked for it, changes the library on disk and refreshes the grids from
// it. A question comes first where the preferences ask for one.

#include "app/objects/VPLSceneUIBase.h"
#include "app/shell/VPLSketchbook.h"
#include "foundation/uu/UUCallback.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>
#include <memory>

class MM3DAnimationPlayer;
class RU3DArcadeSoundChannel;
class VPL3DMessageDialog;
class VPLCurrentSketchbookIcon;
class VPLFileScreenHost;
class VPLObjButton;
class VPLSketchButton;
class VPLSketchGrp;
class VPLSketchbookButton;
class VPLSketchbookGrp;
class VPLSketchbookIconButton;
class VPLSketchbookIconGrp;
class VPLSketchbookLibrary;
class VPLTextureCollectionFromSketchHandle;
class VPLUpAlphaHiliteObject;

// The file screen's dialogs.
enum VPLFileDialogKind : int32_t {
  kVPLNoFileDialog = 0,
  kVPLDeleteSketchQuestion = 1,
  kVPLDeleteSketchbookQuestion = 2,
  kVPLAllCoversTaken = 3,
  kVPLSketchbookFull = 4,
  kVPLFileOperationFailed = 5,
  kVPLQuitQuestion = 6
};

// The open dialog and what it asks about.
struct ActiveDialogInfo {
  int32_t mKind = kVPLNoFileDialog;
  int32_t mValue = 0;
  VPL3DMessageDialog* mDialog = nullptr;
  VPLSketchButton* mSketchButton = nullptr;
  VPLSketchbookButton* mSketchbookButton = nullptr;
};

// What the screen works on: the act that holds it, the library and the
// thumbnails' texture collection (the application's unless a test gives
// its own).
struct VPLFileScreenParts {
  VPLFileScreenHost* mHost = nullptr;
  VPLSketchbookLibrary* mLibrary = nullptr;
  VPLTextureCollectionFromSketchHandle* mThumbnails = nullptr;

  // The application's library and thumbnails, with the act.
  static VPLFileScreenParts FromApplication(VPLFileScreenHost* host);
};

class VPLSceneFileIO : public VPLSceneUIBase {
 public:
  // The sketch count a sketchbook cannot go beyond.
  static constexpr int16_t kFullSketchbook = VPLSketchbook::kMaxSketches;

  VPLSceneFileIO(MMSceneServices* services, MMEnclosure* enclosure, MMView* view, int32_t sceneId,
                 const VPLFileScreenParts& parts);
  ~VPLSceneFileIO() override;

  bool OnKey(const MMKeyEvent& event) override;
  bool OnMouse(const MMMouseEvent& event) override;
  // Refreshes every grid and icon from the library, then the base's
  // activation and the file screen's pointer.
  void Activate() override;
  // Asks first unless forced or already agreed.
  bool OnQuitRequest(bool forced) override;
  void DialogResult(VPL3DCallbackDialog* dialog, int32_t answer) override;

  // While clear the screen takes neither keys nor mouse: the act clears it
  // while the screens change.
  void SetEntryFlag(bool entered) { mEntered = entered; }
  bool GetEntryFlag() const { return mEntered; }

  void OpenDialog(ActiveDialogInfo info);

  // The commands.
  void ToggleCoverPicker();
  void NewSketchbook(VPLSketchbookIconButton* cover);
  void SelectSketchbook(VPLSketchbookButton* book);
  // Null deletes the current sketchbook.
  void DeleteSketchbook(VPLSketchbookButton* book);
  void MoveSketch(VPLSketchButton* sketch, VPLSketchbookButton* book);
  void DeleteSketch(VPLSketchButton* sketch);
  void CopySketch();
  void ReturnToCreation();
  // The quit button: asks first.
  void AskToQuit();

  // A command bound to the screen's tasks, run after the input that asks
  // for it.
  template <typename... Params, typename... Args>
  MMTaskCallback MakeCommand(void (VPLSceneFileIO::*command)(Params...), Args... args);
  template <typename... Params, typename... Args>
  void PostCommand(void (VPLSceneFileIO::*command)(Params...), Args... args) {
    MakeCommand(command, args...).Post();
  }
  // Whether the child is asked before a sketch or a sketchbook goes.
  bool AsksBeforeDeleting() const;

  // The drop targets under a pick event, asked by the dragged buttons.
  bool IsOverTrash(const VPLPickEvent& event);
  bool IsOverSketchGrid(const VPLPickEvent& event) const;
  bool IsOverSketchbookButton(const VPLPickEvent& event) const;
  VPLSketchbookButton* FindSketchbookButton(const VPLPickEvent& event) const;
  void OpenTrash();
  void CloseTrash();
  void ShowSketchGridHighlight();
  void HideSketchGridHighlight();

  // The act's animated change between the screens.
  MM3DAnimationPlayer* GetTransitionPlayer();
  void BeginTransition();
  void EndTransition();
  void PlayEnterSound();
  void PlayLeaveSound();

  VPLSketchbookLibrary& GetLibrary() const { return *mParts.mLibrary; }
  VPLTextureCollectionFromSketchHandle* GetThumbnails() const { return mParts.mThumbnails; }
  VPLSketchGrp* GetSketchGrid() const { return mSketchGrid; }
  VPLSketchbookGrp* GetSketchbookGrid() const { return mSketchbookGrid; }
  VPLSketchbookIconGrp* GetCoverPicker() const { return mCoverPicker; }
  VPLObjButton* GetTrash() const { return mTrash; }
  VPLObj* GetTitle() const { return mTitle.get(); }
  VPLUpAlphaHiliteObject* GetCopyButton() const { return mCopyButton; }
  VPLUpAlphaHiliteObject* GetNewSketchbookButton() const { return mNewSketchbookButton; }
  const ActiveDialogInfo& GetActiveDialog() const { return mActiveDialog; }
  VPLCurrentSketchbookIcon* GetSketchbookIcon(int32_t n) const;

  // Whether the trash is open, shared by the screen and the dragged buttons.
  static bool sTrashOpen;

 private:
  void BuildObjects();
  template <typename Grid>
  Grid* AddGrid(MMResourceId layout);
  VPLUpAlphaHiliteObject* AddButton(MMResourceId definition, const MMTaskCallback& callback);
  void MakeSoundChannels();
  void RefreshAll();
  void RefreshIcons();
  void ScrollSketchesToCurrent();
  void AnswerQuestion(const ActiveDialogInfo& info, int32_t answer);
  void DeleteCurrentSketchByKey();
  static void PlayChannel(RU3DArcadeSoundChannel* channel);
  std::unique_ptr<RU3DArcadeSoundChannel> MakeChannel(int16_t tag);

  VPLFileScreenParts mParts;
  std::unique_ptr<VPLObj> mTitle;
  VPLSketchbookIconGrp* mCoverPicker = nullptr;
  VPLSketchbookGrp* mSketchbookGrid = nullptr;
  VPLSketchGrp* mSketchGrid = nullptr;
  VPLObjButton* mTrash = nullptr;
  VPLUpAlphaHiliteObject* mCopyButton = nullptr;
  VPLUpAlphaHiliteObject* mNewSketchbookButton = nullptr;
  std::unique_ptr<VPLCurrentSketchbookIcon> mIcons[2];
  ActiveDialogInfo mActiveDialog;
  std::unique_ptr<RU3DArcadeSoundChannel> mEnterChannel;
  std::unique_ptr<RU3DArcadeSoundChannel> mLeaveChannel;
  bool mEntered = true;
};

template <typename... Params, typename... Args>
MMTaskCallback VPLSceneFileIO::MakeCommand(void (VPLSceneFileIO::*command)(Params...),
                                           Args... args) {
  using Member = void (VPLSceneFileIO::*)(Params...);
  UUCallback* callback = nullptr;
  if constexpr (sizeof...(Args) == 0) {
    callback = new UUClassCallback<VPLSceneFileIO, Member>(this, command);
  } else if constexpr (sizeof...(Args) == 1) {
    callback =
        new UUClassCallback1Parameter<VPLSceneFileIO, Member, Params...>(this, command, args...);
  } else {
    callback =
        new UUClassCallback2Parameters<VPLSceneFileIO, Member, Params...>(this, command, args...);
  }
  return MMTaskCallback(GetTaskClient(), callback);
}
