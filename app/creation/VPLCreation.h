#pragma once
// The child's creation: the shapes, the groups and the one character it
// holds, the ground and background choice and the camera rig. It picks the
// object under a world segment (the nearest hit wins, ties keep the earlier
// object), keeps a box around all objects, hands every object the clock
// each frame and removes at the next frame the objects that left the
// world. Stage thread only.

#include "app/creation/VPLCreationCamera.h"
#include "app/objects/VPLBoundingVolume.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM3DCompiledTextureModDatabase;
class MM3DModDatabase;
class MM3DModel;
class UUMemory;
class UURandomAccessStream;
class UUReader;
class UUWriter;
class VPLObjCreation;
class VPLSceneBase;
class VPLVertexHolder;

class VPLCreation {
  // A group writes and reads its members as the creation writes and reads
  // its objects: the same picture names and makers.
  friend class VPLObjCreationGroup;

 public:
  // Row 7 holds the default ground flag, row 8 the default background.
  static constexpr MMResourceId kSettingsScript = 503;
  static constexpr int16_t kGroundTag = 7;
  static constexpr int16_t kBackgroundTag = 8;
  static constexpr MM3DColor kGroupTint{1.2f, 1.2f, 1.2f, 0.0f};
  // Models are staged in the work buffer before they are written; it grows
  // while one does not fit, up to a million bytes.
  static constexpr int32_t kWorkBufferSize = 240000;
  static constexpr int32_t kWorkBufferGrowth = 30000;
  static constexpr int32_t kWorkBufferLimit = 1000000;
  // The list whose row tagged 0 names the character's model.
  static constexpr MMResourceId kCharacterList = 174;
  // The material a user picture that is gone falls back to.
  static constexpr MMResourceId kMissingPicturePreset = 4;
  // The longest picture name a record holds.
  static constexpr int32_t kMaxPictureName = 259;

  VPLCreation(VPLSceneBase* scene, const UURefCount<MM3DCamera>& camera);
  // Deletes every object it holds, each once.
  virtual ~VPLCreation();
  VPLCreation(const VPLCreation&) = delete;
  VPLCreation& operator=(const VPLCreation&) = delete;

  bool IsEmpty() const;
  // Files the object by its type and shows it; a second character is not
  // filed. The creation owns what it files.
  bool AddObject(VPLObjCreation* object);
  bool AddObjectAt(VPLObjCreation* object, const MM3DVector& position);
  // Deletes a user object or group; the character is only put back at
  // rest. False, changing nothing, for an object the creation does not hold.
  bool RemoveObject(VPLObjCreation* object);
  // Removed at the next Tick; queuing twice queues once.
  void QueueRemoval(VPLObjCreation* object);
  // Takes the object out of its list without deleting it.
  void DetachObject(VPLObjCreation* object);
  // Highlights the group as the current one.
  void SelectGroup(VPLObjCreation* group);
  // The character, or else the first one inside a group (members in order,
  // nested groups where they stand): a record may hold it there.
  VPLObjCreation* FindCharacter() const;
  VPLObjCreation* GetCurrentGroup() const { return mCurrentGroup; }
  // The nearest object the segment hits, with its hit point and vertex.
  VPLObjCreation* PickObject(const MM3DVector& start, const MM3DVector& end, MM3DVector* hit,
                             VPLVertexHolder* vertex) const;
  void UpdateBounds();
  // Removes the queued objects, then hands every object the clock.
  virtual void Tick(int32_t clock);

  // Empties the creation back to its defaults and the camera's home.
  void Clear();
  void ClearModified();
  void ClearAsModified();
  void SetGround(bool on);

  // The creation record: the camera, ground and background, the user
  // objects and groups with their models, records and picture names, the
  // current group and the character. A failed write leaves every object
  // where it was; a failed read keeps the objects read completely before.
  virtual bool Write(UURandomAccessStream& stream);
  virtual bool Read(UUReader& reader);
  void GrowWorkBuffer();
  int32_t GetWorkBufferSize() const { return mWorkBufferSize; }

  // Each marks the creation modified, also when the rig refuses the move.
  void OrbitCameraNegative(float angle);
  void OrbitCameraPositive(float angle);
  void OrbitCameraQuarterNegative();
  void OrbitCameraQuarterPositive();
  void RaiseCamera(float amount);
  void LowerCamera(float amount);
  void ResetCamera();
  void ZoomCameraIn(float distance);
  void ZoomCameraOut(float distance);

  VPLCreationCamera& GetCamera() { return *mCamera; }
  const VPLCreationCamera& GetCamera() const { return *mCamera; }
  VPLSceneBase* GetScene() const { return mScene; }
  const std::vector<VPLObjCreation*>& GetUserObjects() const { return mUserObjects; }
  const std::vector<VPLObjCreation*>& GetGroups() const { return mGroups; }
  const VPLBoundingVolume* GetBounds() const { return mBounds.get(); }
  bool IsModified() const { return mModified; }
  void SetModified(bool modified) { mModified = modified; }
  bool GetGround() const { return mGround; }
  int16_t GetBackground() const { return mBackground; }
  // Another background is a change like any other.
  void SetBackground(int16_t index);
  bool IsQueued(const VPLObjCreation* object) const;

 protected:
  // Unlinks the object from its list (and the removal queue); true when it
  // was there.
  bool Unlink(VPLObjCreation* object);
  static void Delete(VPLObjCreation* object);
  void DeleteAll();
  // Every object: the user objects, the groups, then the character.
  std::vector<VPLObjCreation*> AllObjects() const;
  // Makers of the objects a record holds.
  virtual VPLObjCreation* MakeGroup(const UURefCount<MM3DModel>& model);
  // The character on the model, in this creation.
  virtual VPLObjCreation* MakeCharacter(const UURefCount<MM3DModel>& model);

 private:
  void ReadSettings();
  void NewWorkBuffer(int32_t size);
  bool WriteObjects(UURandomAccessStream& stream, MM3DModDatabase& database);
  bool WriteGroups(UURandomAccessStream& stream, MM3DModDatabase& database);
  // Position, model (unless the object has none to write), record and
  // picture name, with the object at the origin meanwhile.
  bool WriteEntry(UURandomAccessStream& stream, MM3DModDatabase& database, VPLObjCreation& object,
                  bool withModel, bool isGroup);
  bool WriteModel(UURandomAccessStream& stream, MM3DModDatabase& database,
                  const VPLObjCreation& object);
  static bool WritePictureName(UUWriter& writer, const VPLObjCreation& object);
  bool ReadEntries(UUReader& reader, MM3DModDatabase& database, bool groups);
  bool ReadEntry(UUReader& reader, MM3DModDatabase& database, bool group);
  bool ReadPictureName(UUReader& reader, VPLObjCreation& object) const;
  bool ReadCharacter(UUReader& reader, MM3DModDatabase& database);
  // The character's model, named by the list; empty when there is none.
  UURefCount<MM3DModel> LoadCharacterModel() const;
  template <typename Move>
  void MoveCamera(Move move);

  bool mDefaultGround = false;
  bool mGround = false;
  int16_t mDefaultBackground = 0;
  int16_t mBackground = 0;
  bool mModified = false;
  std::unique_ptr<VPLBoundingBox> mBounds;
  std::vector<VPLObjCreation*> mUserObjects;
  std::vector<VPLObjCreation*> mGroups;
  VPLObjCreation* mCharacter = nullptr;
  VPLObjCreation* mCurrentGroup = nullptr;
  VPLSceneBase* mScene;
  std::unique_ptr<VPLCreationCamera> mCamera;
  std::vector<VPLObjCreation*> mRemovalQueue;
  int32_t mWorkBufferSize = 0;
  // Scratch: never read before it is written.
  std::unique_ptr<uint8_t[]> mWorkBuffer;
  std::unique_ptr<UUMemory> mWorkStream;
  // The database every write uses, emptied around each, so that its
  // sections keep their blocks from one checkpoint to the next.
  std::unique_ptr<MM3DCompiledTextureModDatabase> mWriteDatabase;
};
