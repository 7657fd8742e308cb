#pragma once
// One loaded model: its display tree, the lights and cameras that came with
// it, its animation clip and the named nodes by which the application finds
// the parts it animates or attaches to ("_head", "_torso", locators).
// Models are shared through UURefCount<MM3DModel>.
//
// A model file is a mod database file: the header, the texture table, the
// database's sections and end tag, the model record, then the
// delayed-reference table. The model record is
//   has root (bool), the root's node record when present,
//   has clip (bool), the clip record when present,
//   int32 light count, per light its index in the light section,
//   int32 camera count, per camera its index in the camera section,
//   int32 named-node count, per entry int32 name length n, n characters
//   (no terminator) and the node's ordinal (int32).

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUList.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DLight.h"

#include <cstdint>
#include <memory>

class MM3DDriverTextureMap;
class MM3DModDatabase;
class UURandomAccessStream;
class UUReader;
class UUWriter;

struct MM3DNamedNode {
  std::unique_ptr<char[]> mName;
  // A node of the model's tree; null when the name was not resolved.
  MM3DDisplayTreeNode* mNode = nullptr;
};

class MM3DModel {
 public:
  // The longest name a named-node entry of a file may carry.
  static constexpr int32_t kMaxNameLength = 1024;

  MM3DModel() = default;
  MM3DModel(UUOwned<MM3DDisplayTreeNode> root, UUOwned<MM3DAnimationClip> clip);
  ~MM3DModel();
  MM3DModel(const MM3DModel&) = delete;
  MM3DModel& operator=(const MM3DModel&) = delete;

  MM3DDisplayTreeNode* GetDisplayTree() const { return mRoot.Get(); }
  bool HasDisplayTree() const { return !mRoot.IsEmpty(); }
  UUList<UURefCount<MM3DLight>>& GetLights() { return mLights; }
  bool HasLights() const { return !mLights.IsEmpty(); }
  UUList<UURefCount<MM3DCamera>>& GetCameras() { return mCameras; }
  bool HasCameras() const { return !mCameras.IsEmpty(); }
  MM3DAnimationClip* GetAnimationClip() const { return mClip.Get(); }
  bool HasAnimationClip() const { return !mClip.IsEmpty(); }

  // Names a node of the tree; the node must stay in the tree while the
  // entry exists.
  void AddNamedNode(const char* name, MM3DDisplayTreeNode* node);
  int32_t GetNamedNodeCount() const { return mNamedNodes.Count(); }
  const MM3DNamedNode& GetNamedNode(int32_t index) const { return mNamedNodes[index]; }
  // The node of the first entry of that name (case-sensitive), or null.
  MM3DDisplayTreeNode* FindNamedNode(const char* name) const;

  // The model record; lights and cameras are found in, or added to, the
  // database's sections.
  bool Write(UUWriter& writer, MM3DModDatabase& database);
  // Replaces the model's content with the record's. A top node that is
  // not a Root leaves the model without a tree; light and camera indices
  // must name entries of the database's sections. After a failure the
  // model holds what was read before it, never the old content.
  bool Read(UUReader& reader, MM3DModDatabase& database);

 private:
  bool WriteNamedNodes(UUWriter& writer);
  bool ReadRoot(UUReader& reader, MM3DModDatabase& database);
  bool ReadNamedNodes(UUReader& reader);
  void Clear();
  void ClearNamedNodes();

  UUOwned<MM3DDisplayTreeNode> mRoot;
  UUList<UURefCount<MM3DLight>> mLights;
  UUList<UURefCount<MM3DCamera>> mCameras;
  UUOwned<MM3DAnimationClip> mClip;
  UUGrowableArray<MM3DNamedNode> mNamedNodes;
};

// Reads a whole model file; the map gives the materials their texture
// handles. An empty handle when any part fails, the model record or its
// delayed references included. The reader's byte order is restored.
UURefCount<MM3DModel> MM3DReadModel(UUReader& reader, MM3DModDatabase& database,
                                    MM3DDriverTextureMap* map);
// Writes a whole model file in the writer's byte order. The model and the
// sections are first written into memory, which must be large enough.
bool MM3DWriteModel(UUWriter& writer, const UURefCount<MM3DModel>& model, MM3DModDatabase& database,
                    UURandomAccessStream& memory);
// Reads the model record of the next length bytes of the source: the
// bytes in one read, then the record from memory. An empty handle when the
// bytes cannot be read or held.
UURefCount<MM3DModel> MM3DReadModelBlock(UUReader& source, int32_t length,
                                         MM3DModDatabase& database, MM3DDriverTextureMap* map);
// The same on a file; an empty handle or false when it does not open.
UURefCount<MM3DModel> MM3DReadModelFile(const UUDirectory& directory, const char* name,
                                        MM3DModDatabase& database, MM3DDriverTextureMap* map);
bool MM3DWriteModelFile(const UUDirectory& directory, const char* name,
                        const UURefCount<MM3DModel>& model, MM3DModDatabase& database,
                        UURandomAccessStream& memory);
