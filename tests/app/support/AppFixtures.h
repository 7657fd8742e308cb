#pragma once
// The application's test data, made with the system's writers: a script
// file of collection 0 (the application's tables) and a model file, opened
// for the life of an AppFiles. The models: a quad control facing the
// camera, an object of two meshes (a lit one and a plain coloured one
// under a switch), the interface camera that row 0 of the camera script
// names, and a straight path. The tables: a button definition with position, scale and
// rotation, one without them, a tagged layout, a sound list, vector tables
// and the camera script.

#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class MM3DDisplayTreeNode;
class MM3DDisplayTreeNodeIndexedMesh;
struct MM3DIndexedMeshVertexData;
class MM3DModelLoader;
class MMScriptLoader;

namespace app_fixtures {

constexpr uint16_t kModelCollection = 9;
// Items of the model file.
constexpr int16_t kQuadItem = 0;
constexpr int16_t kTwoMeshItem = 1;
constexpr int16_t kCameraItem = 2;
// The quad with texture coordinates: a texture covers it once.
constexpr int16_t kTexturedQuadItem = 3;
constexpr int16_t kPathItem = 4;
constexpr int16_t kModelCount = 5;
constexpr MMResourceId ModelId(int16_t item) {
  return MMMakeResourceId(kModelCollection, static_cast<uint16_t>(item));
}

// The quad: a square of this half side around its origin in the x-y
// plane, its Lambert material white.
constexpr float kQuadHalfSide = 1.0f;
// The two meshes: the lit square at the origin and the plain one whose
// centre lies this far along x, under a visibility switch.
constexpr float kSecondMeshX = 3.0f;
// The interface camera: its eye at the origin, looking along +z.
const MM3DVector kCameraEye(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kCameraInterest(0.0f, 0.0f, 1.0f, 1.0f);
// The path: one straight spline from its start to its end.
const MM3DVector kPathStart(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kPathEnd(10.0f, 0.0f, 0.0f, 1.0f);

// Entries of the script file (collection 0).
constexpr MMResourceId kPlacedButton = 0;       // tags 0 (quad), 2, 3, 4
constexpr MMResourceId kPlacementVector = 1;    // (3, 6, 9, 1, 3)
constexpr MMResourceId kCursorTable = 2;        // rows: quad, two meshes, no model
constexpr MMResourceId kScaleVector = 8;        // (4, 4, 4, 0, 2)
constexpr MMResourceId kRotationVector = 3;     // (0, 0, 1, 0, 2)
constexpr MMResourceId kTaggedLayout = 4;       // see kLayout* below
constexpr MMResourceId kPlainButton = 5;        // tag 0 only
constexpr MMResourceId kSoundList = 6;          // rows: -1, kListSound
constexpr MMResourceId kZeroDivisorVector = 7;  // d = 0
constexpr MMResourceId kCameraScript = 23;      // rows: camera model, quad model
constexpr MMResourceId kBackdropTable = 56;     // tag 0: the quad model
constexpr int16_t kScriptCount = 57;
// Entries from here to the camera script are free for a test's own tables.
constexpr MMResourceId kFirstFreeEntry = 9;
// The camera script's rows: the interface camera, a model without one.
constexpr int32_t kInterfaceCameraRow = 0;
constexpr int32_t kCameraLessRow = 1;
// The layout: tags 9, 5, 9 in this order; tag 5 holds the uint32
// kLayoutNumber; tag 6 a reference of 1, tag 7 of -1, tag 8 of 0.
constexpr uint32_t kLayoutNumber = 0x12345678;
constexpr MMResourceId kListSound = MMMakeResourceId(5, 3);

// A row of a test's own tagged table: the tag, and the value at byte 2.
struct TaggedRow {
  int16_t mTag;
  uint32_t mValue;
};
// A test's own tables, by entry (kFirstFreeEntry and on); entries past the
// last grow the file.
using ExtraTables = std::map<MMResourceId, std::vector<TaggedRow>>;

// A test's own table of any rows (each at most 12 bytes) and the texts
// their string fields point into; entries may lie past the fixed ones.
struct RawTable {
  std::vector<std::vector<uint8_t>> mRows;
  std::string mTexts;
};
using RawTables = std::map<MMResourceId, RawTable>;
// A table of rows holding an int16 tag and, at byte 2, a text.
RawTable TaggedTexts(const std::vector<std::pair<int16_t, std::string>>& rows);
// A table of one row of int16 values from byte 0.
RawTable Int16Row(const std::vector<int16_t>& values);

// Writes and opens the files; closes and removes them at the end.
class AppFiles {
 public:
  explicit AppFiles(const ExtraTables& extra = {}, const RawTables& raw = {});
  ~AppFiles();
  AppFiles(const AppFiles&) = delete;
  AppFiles& operator=(const AppFiles&) = delete;

  bool Ready() const { return mScripts != nullptr && mModels != nullptr; }

 private:
  std::string mScriptName;
  std::string mModelName;
  std::unique_ptr<MMScriptLoader> mScripts;
  std::unique_ptr<MM3DModelLoader> mModels;
};

UURefCount<MM3DModel> MakeQuad();
UURefCount<MM3DModel> MakeTexturedQuad();
UURefCount<MM3DModel> MakeTwoMeshes();
// A model of one mesh per list, each one block drawing its positions as
// whole triangles facing the camera, with the vertex colours given.
UURefCount<MM3DModel> MakeMeshesModel(
    const std::vector<std::vector<MM3DVector>>& meshes,
    const std::vector<std::vector<MM3DPackedColor>>& colours = {});
UURefCount<MM3DModel> MakeInterfaceCamera();
UURefCount<MM3DModel> MakePath();
// The quad's mesh alone (a Lambert square around the centre), for a test's
// own model tree.
MM3DDisplayTreeNodeIndexedMesh* MakeSquareMesh(float centreX);
// A model of one Lambert mesh of one block: the positions, each with the
// normal given, drawn as the indexed triangles.
UURefCount<MM3DModel> MakeIndexedModel(const std::vector<MM3DVector>& positions,
                                       const std::vector<uint16_t>& indices,
                                       const MM3DVector& normal);
// The first block of the first indexed mesh under the root: the vertices a
// deforming tool works on.
MM3DIndexedMeshVertexData& FirstMeshBlock(MM3DDisplayTreeNode* root);

}  // namespace app_fixtures
