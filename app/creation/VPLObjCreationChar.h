#pragma once
// Pomble as a created object: the character model posed part by part, its
// ghost following it to show the parts still missing, moved and turned by
// its skeleton (never scaled, mirrored or pulled by the magnet, and never
// moved while it performs), put back to rest instead of deleted, and its
// record in the creation stream. With all six parts on it performs: the
// camera's gaze glides to it, it plays an opening, an interlude and a
// dance with their sounds (interlude and dance again while the repeat flag
// is on), and the gaze glides back. While a movie is written it plays its
// dance on the export's clock instead. Stage thread only.

#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLObjCreation.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>
#include <memory>

class MM3DAnimationClip;
class MM3DDisplayTreeNodeLocator;
class VPLBasePombleVisual;
class VPLCameraThread;
class VPLPomblePlayer;
class VPLPombleVisual;
class VPLSceneBase;

class VPLObjCreationChar : public VPLObjCreation, public VPLCreationCharacter {
 public:
  // The skeleton's holder: moving and turning act on it.
  static constexpr const char* kAnchorName = "ALL_SKELETONS";
  // The node under which the camera's target locator hangs.
  static constexpr const char* kInterestName = "_pombleInterest";
  // The default body: this preset with red as both colours, no texture.
  static constexpr MMResourceId kBodyPreset = 4;
  static constexpr MM3DColor kBodyColor{1.0f, 0.0f, 0.0f, 0.0f};
  // Rows tagged 0, 1 and 2 refer to the opening, interlude and dance lists.
  static constexpr MMResourceId kPerformanceTable = 193;
  // Row 0: not 0 when every dance is drawn at random.
  static constexpr MMResourceId kRandomSetting = 190;
  enum AnimationList : int16_t { kOpening = 0, kInterlude = 1, kDances = 2 };
  // Offsets in a row of an animation list.
  static constexpr int16_t kStartFrameOffset = 0;
  static constexpr int16_t kEndFrameOffset = 2;
  static constexpr int16_t kSoundListOffset = 4;
  // The record before the created-object record: two matrices, the
  // animation choice, the repeat flag and the pose record.
  static constexpr int32_t kRepeatFlagOffset = 130;

  VPLObjCreationChar(VPLSceneBase* scene, const UURefCount<MM3DModel>& model,
                     VPLCreation* creation);
  // Stops and deletes the camera thread (the saved gaze comes back).
  ~VPLObjCreationChar() override;

  VPLObjCreationType GetType() const override { return kVPLObjCreationChar; }

  // The red body on part 0 of every head mesh and of the first mesh of
  // each other part.
  void ApplyDefaultMaterial();
  // The ghost and its three transform nodes, each made when absent.
  void CreatePartHighlight();
  void SetUpPartHighlight() override { CreatePartHighlight(); }
  // All six parts off, the ghost showing them.
  void AllPartsOff() override;
  // The ghost shows again every part that is off.
  void RefreshPartHighlight() override;
  // The ghost shows none of its parts (for a thumbnail or a print).
  void HidePartHighlight() override;
  bool IsPerforming() const override;
  bool HasAllParts() const;
  // Back to the origin, unturned, all parts off and posed 0, no spin, no
  // path, the red body, and no show.
  void Reset() override;

  // The show. Start glides the gaze in (the opening follows on arrival);
  // Stop ends the running animation and glides back; Abort ends everything
  // at once.
  void StartPerformance() override;
  void StopPerformance() override;
  void AbortPerformance();
  void OnCameraArrived();
  void OnPerformanceStepDone(bool first);
  void PlayChosenAnimation();
  void PickRandomAnimation();
  void CreateCameraThread();

  // Steps spin, colour pulse and path; during a movie export, the dance
  // on the export's clock.
  void Tick(int32_t now) override;
  // Times are frames of the character's player.
  void PlayAnimation(int32_t start, int32_t end, bool loop) override;
  // Hits the skinned, posed meshes.
  bool PickRay(const MM3DVector& a, const MM3DVector& b, MM3DVector& hit,
               VPLVertexHolder* record) const override;

  // Never scaled.
  void SetScale(const float&, const float&, const float&) override {}
  void ScaleBy(const float&, const float&, const float&) override {}
  void BeginScale(float, float, float) override {}
  void DragScale(float, float, float) override {}
  void EndScale() override {}
  void BakeScale() override {}
  // Never mirrored.
  void MirrorLeftRight(const MM3DVector&, const MM3DVector&) override {}
  void MirrorUpDown(const MM3DVector&, const MM3DVector&) override {}
  // Never pulled or pushed by the magnet: its skinned meshes are shared
  // with its animation.
  void BeginMagnetPull(const MM3DVector&, const MM3DVector&, float) override {}
  void DragMagnetPull(const MM3DVector&, const MM3DVector&, float) override {}
  void EndMagnetPull(const MM3DVector&, const MM3DVector&, float) override {}
  void BeginMagnetPush(const MM3DVector&, const MM3DVector&, float) override {}
  void DragMagnetPush(const MM3DVector&, const MM3DVector&, float) override {}
  void EndMagnetPush(const MM3DVector&, const MM3DVector&, float) override {}
  // The ghost follows; nothing at all during a show.
  void SetRotation(const float& x, const float& y, const float& z) override;
  void RotateBy(const float& x, const float& y, const float& z) override;
  void SetPosition(const float& x, const float& y, const float& z) override;
  void MoveBy(const float& x, const float& y, const float& z) override;

  // The character record; the context (the creation's model database)
  // only passes to the material records.
  bool WriteRecord(UUWriter& writer, void* context) override;
  bool ReadRecord(UUReader& reader, void* context) override;

  // The show's choices, which the character tool shows and changes.
  bool GetRepeat() const { return mRepeat; }
  void SetRepeat(bool repeat) { mRepeat = repeat; }
  int16_t GetAnimationChoice() const { return mAnimationChoice; }
  void SetAnimationChoice(int16_t choice) { mAnimationChoice = choice; }
  // The task posted when a show ends by itself, which refreshes the
  // character tool; the creation area sets it when it has an interface.
  void SetToolRefreshTask(const MMTaskCallback& task) { mToolRefreshTask = task; }

  VPLPombleVisual* GetPoseVisual() const { return mPoseVisual; }
  VPLBasePombleVisual* GetHighlightVisual() const { return mHighlight; }
  VPLPomblePlayer* GetPlayer() const;
  VPLCameraThread* GetCameraThread() const { return mCameraThread.get(); }
  // The camera's target: the locator under the interest node; null
  // without one.
  MM3DDisplayTreeNodeLocator* FindInterestLocator() const;

  // The export's playback, shared by the program (a creation has one
  // character): the scene time of the export's first tick (-1 when none
  // plays), the dance's start (ms), and whether a show ran before it.
  struct ExportPlayback {
    int32_t mStart = -1;
    int32_t mBase = 0;
    bool mPerformedBefore = false;
  };
  static ExportPlayback& GetExportPlayback();

 protected:
  // The sound list of a step of the show, played by the scene.
  virtual void PlayShowSound(MMResourceId soundList);

 private:
  // A row of an animation list: frames and sound list.
  struct AnimationRow {
    int32_t mStartFrame = 0;
    int32_t mEndFrame = 0;
    MMResourceId mSoundList = kMMNoResource;
  };

  void MakePoseVisual();
  void MakePlayer();
  // The highlight's scale, rotation and translation nodes under its root.
  void CreateHighlightNodes();
  bool WriteMaterials(UUWriter& writer, void* context, bool result);
  bool ReadMaterials(UUReader& reader, void* context, bool result);
  // The list's row; false when the table, the list or the row is missing.
  static bool FindAnimationRow(AnimationList list, int32_t row, AnimationRow& out);
  static int32_t CountDances();
  // The dance row to play: the choice, or row 0 when the choice lies
  // outside the list.
  int32_t DanceRow() const;
  void PlayStep(const AnimationRow& row, const MMTaskCallback& completion);
  MMTaskCallback Task(void (VPLObjCreationChar::*member)());
  MMTaskCallback StepDoneTask(bool first);
  // Stops the scene sound and takes back the pause the show added.
  void StopSceneSound();
  void EndShow();
  void TickExport(int32_t now);
  void EndExport();

  VPLSceneBase* mScene;
  bool mRepeat = false;
  // The show paused the scene sound for its glide back.
  bool mSoundPaused = false;
  int16_t mAnimationChoice = 0;
  MM3DAnimationClip* mClip = nullptr;
  std::unique_ptr<VPLCameraThread> mCameraThread;
  VPLPombleVisual* mPoseVisual = nullptr;
  VPLBasePombleVisual* mHighlight = nullptr;
  TransformNodes mHighlightNodes;
  MMTaskCallback mToolRefreshTask;
};
