#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "tests/app/creation/CreationFixture.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace app_fixtures;
using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kUp(0.0f, 1.0f, 0.0f, 0.0f);
// The vertex the magnet finds first starts just below the origin, so that
// one pull puts it exactly there and the edges from it have exact lengths.
const MM3DVector kBelow(0.0f, -0.2f, 0.0f, 1.0f);
constexpr float kReach = 0.5f;
constexpr float kPull = 0.2f;
constexpr float kPush = -0.1f;

// One block: the positions (normals all up) and the triangles' indices.
struct MeshSpec {
  std::vector<MM3DVector> mPositions;
  std::vector<uint16_t> mIndices;
};

UURefCount<MM3DModel> ModelOf(const MeshSpec& spec) {
  return MakeIndexedModel(spec.mPositions, spec.mIndices, kUp);
}

// A unit square of two triangles in the ground plane.
const MeshSpec kSquare{{{0, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 1, 1}, {0, 0, 1, 1}},
                       {0, 1, 2, 0, 2, 3}};
// Triangles at the vertex below the origin whose edges from it are 5 units
// long once pulled; the far edge B-C is 6 (split), and a second triangle
// shares it from the other side.
const MeshSpec kLongEdge{{kBelow, {0, 3, 4, 1}, {0, -3, 4, 1}, {0, 0, 8, 1}}, {0, 1, 2, 2, 1, 3}};
// Edges 5, 5 and the square root of 18: nothing longer than 5.
const MeshSpec kNoLongEdge{{kBelow, {3, 4, 0, 1}, {0, 4, 3, 1}}, {0, 1, 2}};
// A small triangle to pick, and a sliver whose 6-unit edge's midpoint is
// its third corner: the split would make a triangle without area.
const MeshSpec kSliver{{kBelow, {1, -0.2f, 0, 1}, {0, -0.2f, 1, 1}, {0, 0, 6, 1}, {0, 0, 3, 1}},
                       {0, 1, 2, 0, 3, 4}};
// Two triangles meeting at a seam: vertices 0 and 3 stand at one place.
const MeshSpec kSeam{{kBelow, {1, -0.2f, 0, 1}, {0, -0.2f, 1, 1}, kBelow, {-1, -0.2f, 0, 1}},
                     {0, 1, 2, 3, 2, 4}};

// A segment through the point along the direction, both ways.
struct Segment {
  MM3DVector mStart;
  MM3DVector mEnd;
};
Segment Through(const MM3DVector& p, const MM3DVector& d) {
  return {MM3DVector(p.mX - d.mX, p.mY - d.mY, p.mZ - d.mZ, 1),
          MM3DVector(p.mX + d.mX, p.mY + d.mY, p.mZ + d.mZ, 1)};
}
// Down onto the ground plane, and across the plane x = 0.
Segment Down(float x, float z) { return Through(MM3DVector(x, 0, z, 1), MM3DVector(0, 5, 0, 0)); }
Segment Across(float y, float z) { return Through(MM3DVector(0, y, z, 1), MM3DVector(5, 0, 0, 0)); }

class VPLObjCreationMagnetTest : public CreationFixture {
 protected:
  VPLObjCreation* Object(const MeshSpec& spec) {
    auto* object = new VPLObjCreationUser(&mStage.Scene(), ModelOf(spec), &mCreation);
    mCreation.AddObjectAt(object, kOrigin);
    return object;
  }
  static MM3DIndexedMeshVertexData& Block(const VPLObjCreation& object) {
    return FirstMeshBlock(object.GetDisplayTreeRoot());
  }
  static std::vector<uint16_t> Indices(const MM3DIndexedMeshVertexData& block) {
    return std::vector<uint16_t>(block.mIndices.begin(), block.mIndices.end());
  }
};

TEST_F(VPLObjCreationMagnetTest, PullRaisesAndPushLowersTheVerticesWithinReach) {
  using Step = std::function<void(VPLObjCreation&, const Segment&, float)>;
  struct Case {
    const char* mName;
    Step mStep;
    Segment mSegment;
    float mReach;
    float mRise;
  };
  const Case cases[] = {
      {"pull",
       [](VPLObjCreation& o, const Segment& s, float r) { o.BeginMagnetPull(s.mStart, s.mEnd, r); },
       Down(0.1f, 0.1f), kReach, kPull},
      {"push",
       [](VPLObjCreation& o, const Segment& s, float r) { o.DragMagnetPush(s.mStart, s.mEnd, r); },
       Down(0.1f, 0.1f), kReach, kPush},
      {"a reach short of the nearest vertex",
       [](VPLObjCreation& o, const Segment& s, float r) { o.EndMagnetPull(s.mStart, s.mEnd, r); },
       Down(0.1f, 0.1f), 0.01f, 0.0f},
      {"a miss",
       [](VPLObjCreation& o, const Segment& s, float r) { o.BeginMagnetPush(s.mStart, s.mEnd, r); },
       Down(3.0f, 3.0f), kReach, 0.0f},
  };
  for (const Case& c : cases) {
    VPLObjCreation* object = Object(kSquare);
    c.mStep(*object, c.mSegment, c.mReach);
    const MM3DIndexedMeshVertexData& block = Block(*object);
    EXPECT_FLOAT_EQ(block.mPositions[0].mY, c.mRise) << c.mName;
    for (int32_t i = 1; i < block.mPositions.Count(); ++i) {
      EXPECT_EQ(block.mPositions[i].mY, 0.0f) << c.mName << " vertex " << i;
    }
    EXPECT_EQ(block.mPositions.Count(), 4) << c.mName;
  }
}

TEST_F(VPLObjCreationMagnetTest, VerticesAtOneSeamMoveTogether) {
  VPLObjCreation* object = Object(kSeam);
  const Segment pick = Down(0.1f, 0.1f);
  object->BeginMagnetPull(pick.mStart, pick.mEnd, kReach);
  const MM3DIndexedMeshVertexData& block = Block(*object);
  EXPECT_TRUE(block.mPositions[0].Equals(kOrigin));
  EXPECT_TRUE(block.mPositions[3].Equals(kOrigin));
  EXPECT_FLOAT_EQ(block.mPositions[4].mY, -0.2f);
}

// Both triangles at the long edge get their own vertex at its midpoint and
// keep their winding.
TEST_F(VPLObjCreationMagnetTest, AnEdgeLongerThanTheLimitIsSplitInEachTriangle) {
  VPLObjCreation* object = Object(kLongEdge);
  const Segment pick = Across(-0.1f, 0.3f);
  object->BeginMagnetPull(pick.mStart, pick.mEnd, kReach);
  const MM3DIndexedMeshVertexData& block = Block(*object);
  const MM3DVector midpoint(0, 0, 4, 1);
  ASSERT_EQ(block.mPositions.Count(), 6);
  EXPECT_TRUE(block.mPositions[4].Equals(midpoint));
  EXPECT_TRUE(block.mPositions[5].Equals(midpoint));
  EXPECT_EQ(block.mNormals.Count(), 6);
  EXPECT_EQ(Indices(block), (std::vector<uint16_t>{0, 1, 4, 2, 5, 3, 4, 2, 0, 5, 1, 3}));
}

TEST_F(VPLObjCreationMagnetTest, EdgesOfTheLimitAndSplitsWithoutAreaLeaveTheBlock) {
  struct Case {
    const char* mName;
    const MeshSpec& mSpec;
    Segment mSegment;
  };
  const Case cases[] = {
      {"edges of 5", kNoLongEdge,
       Through(MM3DVector(0.15f, 0.22f, 0.15f, 1), MM3DVector(1.26f, -0.9f, 1.26f, 0))},
      {"a sliver", kSliver, Down(0.2f, 0.2f)},
  };
  for (const Case& c : cases) {
    VPLObjCreation* object = Object(c.mSpec);
    object->BeginMagnetPull(c.mSegment.mStart, c.mSegment.mEnd, kReach);
    const MM3DIndexedMeshVertexData& block = Block(*object);
    EXPECT_TRUE(block.mPositions[0].Equals(kOrigin)) << c.mName;
    EXPECT_EQ(block.mPositions.Count(), static_cast<int32_t>(c.mSpec.mPositions.size())) << c.mName;
    EXPECT_EQ(Indices(block), c.mSpec.mIndices) << c.mName;
  }
}

// Indices are 16 bits: a split past the last one a block can name is not
// made, and the step still moves its vertices.
TEST_F(VPLObjCreationMagnetTest, AFullBlockMovesWithoutSplitting) {
  MeshSpec full = kLongEdge;
  full.mPositions.resize(65535, MM3DVector(100, 100, 100, 1));
  VPLObjCreation* object = Object(full);
  const Segment pick = Across(-0.1f, 0.3f);
  object->BeginMagnetPull(pick.mStart, pick.mEnd, kReach);
  const MM3DIndexedMeshVertexData& block = Block(*object);
  EXPECT_TRUE(block.mPositions[0].Equals(kOrigin));
  EXPECT_EQ(block.mPositions.Count(), 65535);
  EXPECT_EQ(Indices(block), kLongEdge.mIndices);
}

// A block that carries colours and two coordinate sets gets entries for
// the new vertices in each: halfway along the edge.
TEST_F(VPLObjCreationMagnetTest, ASplitExtendsEveryArrayTheBlockCarries) {
  VPLObjCreation* object = Object(kLongEdge);
  MM3DIndexedMeshVertexData& block = Block(*object);
  const MM3DPackedColor colours[] = {{0, 0, 0, 255}, {100, 0, 0, 255}, {0, 200, 0, 255}, {}};
  for (const MM3DPackedColor& colour : colours) block.mColors.Append(colour);
  for (auto& set : block.mTextureCoordinates) {
    for (float u : {0.0f, 1.0f, 0.0f, 1.0f}) set.Append(MM3DTextureCoordinate{u, u});
  }
  const Segment pick = Across(-0.1f, 0.3f);
  object->BeginMagnetPull(pick.mStart, pick.mEnd, kReach);
  ASSERT_EQ(block.mPositions.Count(), 6);
  ASSERT_EQ(block.mColors.Count(), 6);
  EXPECT_EQ(block.mColors[4].mR, 50);
  EXPECT_EQ(block.mColors[4].mG, 100);
  for (auto& set : block.mTextureCoordinates) {
    ASSERT_EQ(set.Count(), 6);
    EXPECT_FLOAT_EQ(set[4].mU, 0.5f);
  }
}

}  // namespace
