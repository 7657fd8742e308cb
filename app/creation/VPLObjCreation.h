#pragma once
// The base of every object the child places in a creation: a 3D object
// that may spin, jiggle and pulse between two colours on its own, glows
// with a tint while highlighted, keeps a texture per mesh part, plays its
// spin, jiggle and path sounds placed at its position for the creation's
// camera, counts the activities that move it by itself (its bounds are not
// kept up to date meanwhile, so picking then always tests its meshes), and
// writes and reads its editing state as a record of the creation stream.
// Stage thread only.

#include "app/objects/RU3DLogicalSoundChannel.h"
#include "app/objects/VPLObj.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>

class MM3DDisplayTreeNodeIndexedMesh;
class MM3DSpline;
class UUReader;
class UUWriter;
class VPLCreation;

enum VPLObjCreationType : int32_t {
  kVPLObjCreationBase = -1,
  kVPLObjCreationUser = 0,
  kVPLObjCreationGroup = 1,
  kVPLObjCreationChar = 2
};

class VPLObjCreation : public VPLObj {
 public:
  // Rows keyed 0, 1 and 2 give the spin, jiggle and path sounds.
  static constexpr MMResourceId kSoundScript = 481;
  static constexpr int32_t kSoundUpdateInterval = 300;
  static constexpr float kPulseStep = 0.05f;
  static constexpr float kPulsePeriodFactor = 50.0f;
  static constexpr float kJiggleStep = 0.07f;
  static constexpr int32_t kMinSpinRate = 350;
  // An object whose box lies wholly this far from the vertical axis, or
  // whose box diagonal shrank below the least size, has left the world.
  static constexpr float kWorldRadius = 235.0f;
  static constexpr float kLeastSize = 1.0f;
  // A scale drag step with a factor not above this is refused.
  static constexpr float kLeastScaleStep = 0.15f;

  VPLObjCreation(MMScene* scene, const UURefCount<MM3DModel>& model, VPLCreation* creation);
  // Stops and deletes the sound channels.
  ~VPLObjCreation() override;

  virtual VPLObjCreationType GetType() const { return kVPLObjCreationBase; }
  void SetCreation(VPLCreation* creation) { mCreation = creation; }
  VPLCreation* GetCreation() const { return mCreation; }

  // Also moves the sound sources.
  void SetLocation(const MM3DVector& point) override;
  // Always true while busy: the bounds lag behind an object that moves by
  // itself.
  bool IntersectsBounds(const MM3DVector& a, const MM3DVector& b) const override;
  // Also takes a coloured material's colour as the base colour; stops the
  // pulse.
  void ApplyMaterial(const UURefCount<MM3DMaterial>& shader, const VPLVertexHolder* hit) override;
  // The materializer's two colours: a pulse between them.
  void TakeMaterialColors(const MM3DColor& color, const MM3DColor& second) override;
  // The steps (unless held), then the sounds follow the camera.
  void Tick(int32_t now) override;

  // The drags of the move, scale and rotate tools (x, y, z the place, the
  // factors or the angles of the step). A move or scale that leaves the
  // world queues the object for removal; a scale drag whose last two steps
  // differed leaves the object jiggling, a rotate drag whose last step
  // turned it leaves it spinning.
  virtual void BeginMove();
  virtual void DragMove(float x, float y, float z);
  virtual void EndMove(float x, float y, float z);
  virtual void BeginScale(float sx, float sy, float sz);
  virtual void DragScale(float sx, float sy, float sz);
  virtual void EndScale();
  virtual void BeginRotate(float ax, float ay, float az);
  virtual void DragRotate(float ax, float ay, float az);
  virtual void EndRotate(float ax, float ay, float az);
  // Mirrors the meshes about the plane through their origin that holds the
  // camera's horizontal viewing direction, or turns them upside down.
  virtual void MirrorLeftRight(const MM3DVector& eye, const MM3DVector& interest);
  virtual void MirrorUpDown(const MM3DVector& eye, const MM3DVector& interest);
  // Moves the scale and rotation into the meshes' vertices.
  virtual void BakeScale();
  // For the time of a write, the shape a running jiggle scales, without the
  // jiggle's factors: a reader takes the meshes as written and its jiggle
  // scales them from there. Then the jiggle's shape again.
  virtual void ShowRestShape();
  virtual void ShowMotionShape();
  // The magnet tools: each event of a drag pulls (or pushes) the surface
  // under the segment; the vertices connected to the one nearest the hit
  // that lie within the reach (a squared world distance) move along that
  // vertex's normal, and a triangle whose longest edge grew beyond 5 units
  // is split. The bounds follow at the end of the drag.
  virtual void BeginMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach);
  virtual void DragMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach);
  virtual void EndMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach);
  virtual void BeginMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach);
  virtual void DragMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach);
  virtual void EndMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach);
  // The path waits during every drag.
  void PausePath();
  void ResumePath();

  // The base colour, shown at once; a running pulse goes on from it.
  void SetColor(const MM3DColor& color) override;
  // Pulses toward the colour, or stops (keeping the stored one) when it is
  // the base colour.
  virtual void SetSecondColor(const MM3DColor& color);
  // Both colours and a pulse between them, or no pulse when they are equal.
  virtual void SetColors(const MM3DColor& base, const MM3DColor& second);
  // The tint replaces the part-0 colours of the coloured materials until
  // switched off; the pulse waits meanwhile.
  virtual void SetHighlight(bool on, const MM3DColor& tint);
  bool IsHighlighted() const { return mHighlighted; }
  void UpdatePulsePeriod();

  // Never beyond the counter's range (a record may hold its top) nor below 0.
  void IncrementBusy();
  void DecrementBusy();
  int16_t GetBusy() const { return mBusy; }

  // The texture of a part of the first mesh; -1 for none.
  int32_t GetPartTexture(int16_t part) const;
  void SetPartTexture(int16_t part, int32_t textureId);
  // The whole transform from mesh space to world space.
  virtual void GetTransform(MM3DMatrix& out) const;
  void CollectMeshNodes();
  // A model read from a creation record still holds the transform nodes
  // of the object that wrote it, under this object's own: their rotation
  // and scale move into this object's nodes and the written ones go, so
  // that the model is the one written. The bounds wait for the record to
  // place the object.
  void TakeWrittenTransforms();

  // A group answers the type of its first child, which tells whether its
  // model is stored; other objects have no children.
  virtual VPLObjCreationType GetFirstChildType() const { return kVPLObjCreationBase; }
  // The character goes back to rest when the creation removes or clears
  // it; other objects are deleted instead and have nothing to do.
  virtual void Reset() {}

  // The path model the object follows, a run taking the duration (ms);
  // -1 stops and leaves the path. Playing keeps the object busy: each frame
  // moves it by the way the spline went since the frame before, and every
  // run starts again from the spline's first point.
  virtual void SetPath(int32_t pathId, int32_t duration);
  virtual bool IsPathPlaying() const { return mPathPlaying; }
  virtual void PlayPath();
  virtual void StopPath();

  // The record of the creation stream; the context is not used here.
  virtual bool WriteRecord(UUWriter& writer, void* context);
  // False at the first value that fails or makes no sense; the values read
  // before it are kept.
  virtual bool ReadRecord(UUReader& reader, void* context);

  const MM3DColor& GetBaseColor() const { return mBaseColor; }
  const MM3DColor& GetSecondColor() const { return mSecondColor; }
  bool IsPulsing() const { return mPulsing; }
  float GetPulseMix() const { return mPulseMix; }
  int32_t GetPulsePeriod() const { return mPulsePeriod; }
  bool IsSpinning() const { return mSpinning; }
  bool IsJiggling() const { return mJiggling; }
  MMResourceId GetSpinSound() const { return mSpinSound; }
  MMResourceId GetJiggleSound() const { return mJiggleSound; }
  MMResourceId GetPathSound() const { return mPathSound; }
  int32_t GetPathId() const { return mPathId; }
  RU3DGenericSoundChannel* GetSpinChannel() const { return mSpinChannel.get(); }
  RU3DGenericSoundChannel* GetJiggleChannel() const { return mJiggleChannel.get(); }
  RU3DGenericSoundChannel* GetPathChannel() const { return mPathChannel.get(); }

 protected:
  // Per frame: the rotation by the spin, the scale between the jiggle's
  // bounds, the colour between the pulse's two.
  virtual void StepSpin(int32_t now);
  virtual void StepScaleJiggle(int32_t now);
  virtual void StepColorPulse(int32_t now);
  virtual void StepPath(int32_t now);
  // The spin sound loops at the pitch that lasts one turn of the fastest
  // axis.
  void UpdateSpinSound();
  void MakeSpinSoundChannel() { MakeChannel(mSpinChannel); }
  void MakeJiggleSoundChannel() { MakeChannel(mJiggleChannel); }
  void MakePathSoundChannel() { MakeChannel(mPathChannel); }
  int32_t Now() const;
  // True when the box lies wholly beyond the world's radius.
  bool OutsideTheWorld() const;
  void QueueRemoval();
  // The highlight's flag and the pulse it holds back, meshes untouched.
  void HoldHighlight(bool on);
  // The sounds come from where the object stands, heard from the camera.
  void MoveSoundSources();
  void SoundsFollowCamera();
  void SetScaleNode(const MM3DMatrix& matrix);
  // Shows the factors the jiggle reached at its last step.
  virtual void ShowJiggleScale();
  // The turn about the vertical axis into the camera's view: the
  // horizontal viewing direction becomes +z (a camera straight above looks
  // along +z).
  static MM3DMatrix ViewTurn(const MM3DVector& eye, const MM3DVector& interest);
  // Turns the rotation node by the angles, about the parent's axes.
  void TurnBy(float ax, float ay, float az);
  // The colours and pulse as a record left them, to be put back after
  // something else (materials applied later) changed them.
  struct ColorState {
    MM3DColor mBase;
    MM3DColor mSecond;
    bool mPulsing;
  };
  ColorState GetColorState() const { return {mBaseColor, mSecondColor, mPulsing}; }
  void SetColorState(const ColorState& state) {
    mBaseColor = state.mBase;
    mSecondColor = state.mSecond;
    mPulsing = state.mPulsing;
  }

  bool mStepsHeld = false;
  int32_t mPathId = -1;
  bool mPathPlaying = false;
  bool mPathPaused = false;
  MM3DVector mPathLastPoint{0.0f, 0.0f, 0.0f, 0.0f};
  float mReserved[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  int32_t mPathDuration = 0;
  int32_t mPathElapsed = 0;
  int32_t mPathStart = 0;
  int16_t mBusy = 0;
  MM3DMatrix mScaleBase;
  int32_t mRotateStepTime = 0;
  int32_t mPreviousRotateStepTime = 0;
  int32_t mSpinStepTime = 0;
  int32_t mSpinPeriod = 0;
  float mSpinIncrement[3] = {0.0f, 0.0f, 0.0f};
  bool mSpinning = false;
  float mJiggleLow[3] = {1.0f, 1.0f, 1.0f};
  float mScaleCurrent[3] = {1.0f, 1.0f, 1.0f};
  float mJiggleHigh[3] = {1.0f, 1.0f, 1.0f};
  bool mJiggleGrowing[3] = {false, false, false};
  int32_t mScaleStepTime = 0;
  int32_t mPreviousScaleStepTime = 0;
  bool mJiggleInterrupted = false;
  int32_t mJiggleStepTime = 0;
  int32_t mJigglePeriod = 0;
  bool mJiggling = false;

 private:
  void MakeChannel(std::unique_ptr<RU3DGenericSoundChannel>& channel);
  // Starts the sound when the channel exists and is silent.
  void StartSound(RU3DGenericSoundChannel* channel, MMResourceId sound, bool loop);
  void FollowCamera(RU3DGenericSoundChannel* channel) const;
  void ReadSoundIds();
  // The coloured material of part 0 of the mesh, or null.
  static MM3DMaterialWithColor* ColoredPartZero(MM3DDisplayTreeNode* mesh);
  MM3DDisplayTreeNodeIndexedMesh* FirstMesh() const;
  // The three factors after a step of f toward the jiggle's bound on each
  // axis; true when an axis turned.
  bool StepJiggleFactors(float f);
  // One magnet event: the pick, then the step on the meshes (VPLMagnetStep).
  void MagnetStep(const MM3DVector& start, const MM3DVector& end, float reach, float strength);
  // Every position and normal of every mesh through the mirror: into the
  // camera's frame, one axis negated, and back; the windings turn.
  void Mirror(const MM3DVector& eye, const MM3DVector& interest, int32_t axis);
  bool WriteFields(UUWriter& writer) const;
  bool ReadMotion(UUReader& reader);
  bool ReadColors(UUReader& reader);
  bool ReadPathAndPlace(UUReader& reader);
  void RestartMotions();

  VPLCreation* mCreation;
  UUGrowableArray<MM3DDisplayTreeNodeIndexedMesh*> mMeshNodes;
  // The loaded path model, shown nowhere; only its spline is followed.
  std::unique_ptr<MM3DModelMolecule> mPathMolecule;
  const MM3DSpline* mPathSpline = nullptr;
  MMResourceId mPathSound = kMMNoResource;
  MMResourceId mSpinSound = kMMNoResource;
  MMResourceId mJiggleSound = kMMNoResource;
  std::unique_ptr<RU3DGenericSoundChannel> mPathChannel;
  std::unique_ptr<RU3DGenericSoundChannel> mSpinChannel;
  std::unique_ptr<RU3DGenericSoundChannel> mJiggleChannel;
  MM3DColor mBaseColor{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DColor mSecondColor{0.0f, 0.0f, 0.0f, 0.0f};
  bool mPulsing = false;
  bool mPulseRising = true;
  float mPulseMix = 0.0f;
  int32_t mPulsePeriod = 0;
  int32_t mPulseStepTime = 0;
  UUGrowableArray<MM3DColor> mSavedColors;
  bool mSavedPulsing = false;
  bool mHighlighted = false;
};
