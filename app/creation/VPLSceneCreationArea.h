#pragma once
// The 3D scene in which the child builds. It owns the creation, the current
// material, the current tool and the colour sucker, the two background
// molecules and the single-step undo checkpoint. The act hands it mouse and
// key input and the clock; the creation-screen interface calls its
// operations from buttons and the tools reach back to it for checkpoints,
// cursors and the child's current choices (material, path, sizes, option,
// freehand mode). A press goes to the current tool (the group tool and an
// engaged tool keep every event), Ctrl to the colour sucker. Leaving the
// scene writes a changed creation into the current sketch. Stage thread
// only.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLTool.h"
#include "app/objects/VPLSceneBase.h"
#include "foundation/uu/UUCallback.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>
#include <string>

class MM3DDriverTextureMap;
class MM3DModelMolecule;
class UUMemory;
class VPLCreationCharacter;
class VPLCreationUIHooks;
class VPLMaterializer;
class WinHUD;

class VPLSceneCreationArea : public VPLSceneBase {
 public:
  // The settings script and its tags (the ground and background defaults,
  // tags 7 and 8, are the creation's).
  static constexpr MMResourceId kSettingsScript = 503;
  enum SettingTag : int16_t {
    kDropPositionTag = 0,
    kSelectedModelTag = 1,
    kToolOptionTag = 2,
    kDrawSizeTag = 3,
    kFreehandModeTag = 4,
    kInitialPathTag = 5,
    kMagnetSizeTag = 6
  };
  static constexpr MMResourceId kGroundList = 55;
  static constexpr MMResourceId kBackdropList = 56;
  static constexpr MMResourceId kPathList = 164;
  static constexpr MMResourceId kAlternatePathList = 165;
  static constexpr MMResourceId kCharacterList = 174;
  static constexpr MMResourceId kModelLibrary = 225;
  static constexpr MMResourceId kMaterialPreset = 4;
  static constexpr MMResourceId kNoPath = -1;
  static constexpr int32_t kNoPathValue = 5000;
  // The undo block starts at 5,000,000 bytes and grows by a million while
  // it is at most 10 MiB.
  static constexpr int32_t kUndoBlockSize = 5000000;
  static constexpr int32_t kUndoBlockGrowth = 1000000;
  static constexpr int32_t kUndoBlockLimit = 10485760;
  // The sketch thumbnail.
  static constexpr int32_t kThumbnailSize = 256;
  // A sketchbook holds at most this many sketches.
  static constexpr int32_t kSketchbookCapacity = 50;
  // The string-list text that tells the child a sketch could not be saved.
  static constexpr int32_t kSaveFailedText = 32;
  // The Enter key's code; space comes as a character with code 0.
  static constexpr int16_t kEnterKey = 6;

  // Reads the current sketch, shows its background, takes the first
  // checkpoint and starts with the move tool.
  VPLSceneCreationArea(MMSceneServices* host, MMEnclosure* enclosure, MMView* view,
                       int32_t cameraIndex);
  // Deletes the materializer, the tools, the creation, the undo block, the
  // stage callbacks and the background molecules.
  ~VPLSceneCreationArea() override;

  bool OnMouse(const MMMouseEvent& event) override;
  void OnSecondaryInput() override;
  // Space puts the camera back (unless the last mouse event was taken);
  // Enter shows the next background.
  bool OnKey(const MMKeyEvent& event) override;
  // Reads the current sketch again, unless the creation could not be saved
  // into it and it is still the current sketch.
  void Activate() override;
  // Saves the sketch; empties the creation only when it was saved.
  void Deactivate() override;
  bool OnQuitRequest(bool flag) override;
  void Tick(int32_t clock) override;

  // The tools: the current one by number, and the cursor they show in the
  // interface scene.
  void SetTool(int32_t value);
  void SetCursor(int32_t number);
  // The camera, the backgrounds and the ground.
  void ResetCamera();
  void SetBackground(int16_t index);
  void NextBackground();
  void ToggleGround();
  void SetGroundOn();
  void SetGroundOff();
  bool IsGroundHidden() const;
  void ClearCreation();
  // Library models. An index outside the library list adds nothing.
  void AddLibraryModel(int16_t index);
  void AddSelectedModel();
  void SetSelectedModel(int16_t index) { mSelectedModel = index; }
  int16_t GetSelectedModel() const { return mSelectedModel; }
  // The model library list (225 at start; the primitive palette switches
  // catalogues).
  MMResourceId GetLibraryList() const { return mLibraryList; }
  void SetLibraryList(MMResourceId list) { mLibraryList = list; }
  // The character.
  void AddCharacter();
  void RemoveCharacter();
  void TogglePerformance();
  void StartPerformance();
  void StopPerformance();
  bool IsCharacterPerforming() const;
  // Paths. An index outside the path list changes nothing.
  void SelectPath(int16_t index);
  int16_t GetPathIndex() const { return mPathIndex; }
  MMResourceId GetPath() const { return mPathModel; }
  MMResourceId GetAlternatePath() const { return mAlternatePathModel; }
  int32_t GetPathValue() const { return mPathValue; }
  // The child's other choices, read by the tools.
  void SetDrawSize(int16_t size) { mDrawSize = size; }
  int16_t GetDrawSize() const { return mDrawSize; }
  void SetToolOption(int16_t option) { mToolOption = option; }
  int16_t GetToolOption() const { return mToolOption; }
  void SetMagnetSize(int16_t size) { mMagnetSize = size; }
  int16_t GetMagnetSize() const { return mMagnetSize; }
  void SetFreehandMode(uint32_t mode) { mFreehandMode = mode; }
  uint32_t GetFreehandMode() const { return mFreehandMode; }
  // The frame-statistics window; nothing calls it in the running program.
  void CreateHUD();

  // Undo: the checkpoint of the whole creation before every change, and
  // its restore.
  void TakeSnapshot();
  // The write loop at the stream's position, growing the block while the
  // record does not fit; the modified flag is not kept. False when the
  // record could not be written.
  bool WriteSnapshot();
  void GrowSnapshot();
  void Undo();

  // Saving. SaveSketch answers whether the creation is stored: true when
  // nothing needed writing or there is no sketch store; false when the
  // thumbnail could not be rendered or the sketch not written, and the
  // creation then stays modified.
  bool SaveSketch();
  void NewSketch();
  void StoreSketchbookNumber();

  // The creation-screen interface, set by the act; null before.
  void SetUIHooks(VPLCreationUIHooks* hooks) { mUI = hooks; }
  VPLCreationUIHooks* GetUIHooks() const { return mUI; }

  VPLCreation* GetCreation() const { return mCreation.get(); }
  VPLMaterializer* GetMaterializer() const { return mMaterializer.get(); }
  VPLTool* GetCurrentTool() const { return mTool.get(); }
  VPLTool* GetColorSucker() const { return mColorSucker.get(); }
  const MM3DVector& GetDropPosition() const { return mDropPosition; }
  bool IsUntouched() const { return mUntouched; }
  bool DidToolTakeInput() const { return mToolTookInput; }
  int32_t GetUndoBlockSize() const { return mUndoBlockSize; }
  // False while the last checkpoint could not be written.
  bool HasSnapshot() const { return mSnapshotValid; }
  MM3DModelMolecule* GetGroundMolecule() const { return mGround.get(); }
  MM3DModelMolecule* GetBackdropMolecule() const { return mBackdrop.get(); }
  WinHUD* GetHUD() const { return mHUD.get(); }

 protected:
  // The character object of the model, for AddCharacter and for records
  // read back, and the group object of a record; the creation's own makers
  // unless a subclass has others.
  virtual VPLObjCreation* MakeCharacter(const UURefCount<MM3DModel>& model);
  virtual VPLObjCreation* MakeGroup(const UURefCount<MM3DModel>& model);

 private:
  class AreaCreation;

  MM3DDriverTextureMap* TextureMap() const;
  // MakeCharacter's character, telling the interface when its show ends.
  VPLObjCreation* MakeShowingCharacter(const UURefCount<MM3DModel>& model);
  void RefreshCharacterTool();
  void ReadSettings();
  void ReadInitialPath(int32_t row);
  // The rows of the ground list tagged 0.
  static int32_t GetBackgroundCount();
  void NewUndoBlock(int32_t size);
  // Reads the current sketch into the creation; nothing without a store.
  void ReadCurrentSketch();
  // A creation that could not be saved stays while its sketch is current.
  bool KeepsUnsavedCreation() const;
  // Shows or hides the ground and tells the creation.
  void ApplyGround(bool on);
  // Highlights the creation's current group while the group tool is current.
  void LightCurrentGroup();
  VPLCreationCharacter* Character() const;
  // The save failed: the child is told, and the creation stays while its
  // sketch is the current one.
  void KeepUnsavedCreation();
  // Asks the interface's question; nothing without an interface.
  void Ask(int32_t kind);
  VPLTool* RouteTarget(const VPLPickEvent& event) const;
  void OnFrameBegin();
  void OnFrameEnd();

  MM3DVector mDropPosition{0.0f, 0.0f, 0.0f, 1.0f};
  std::unique_ptr<VPLTool> mTool;
  std::unique_ptr<VPLTool> mColorSucker;
  std::unique_ptr<VPLCreation> mCreation;
  bool mUntouched = true;
  int32_t mUndoBlockSize = kUndoBlockSize;
  std::unique_ptr<uint8_t[]> mUndoBlock;
  std::unique_ptr<UUMemory> mUndoStream;
  bool mSnapshotValid = false;
  std::unique_ptr<MM3DModelMolecule> mGround;
  std::unique_ptr<MM3DModelMolecule> mBackdrop;
  std::unique_ptr<VPLMaterializer> mMaterializer;
  int16_t mSelectedModel = 0;
  MMResourceId mLibraryList = kModelLibrary;
  int16_t mToolOption = 0;
  int16_t mDrawSize = 0;
  int16_t mMagnetSize = 0;
  int16_t mPathIndex = 0;
  MMResourceId mPathModel = kNoPath;
  MMResourceId mAlternatePathModel = kNoPath;
  int32_t mPathValue = kNoPathValue;
  uint32_t mFreehandMode = 0;
  bool mToolTookInput = false;
  std::unique_ptr<WinHUD> mHUD;
  std::unique_ptr<UUCallback> mFrameBegin;
  std::unique_ptr<UUCallback> mFrameEnd;
  VPLCreationUIHooks* mUI = nullptr;
  // The sketch a save failed for: while it is current the creation stays.
  std::string mUnsavedSketch;
};
