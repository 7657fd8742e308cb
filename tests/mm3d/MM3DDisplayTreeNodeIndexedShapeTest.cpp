#include "mm3d/MM3DDisplayTreeNodeIndexedShape.h"

#include "mm3d/MM3DDisplayTreeNodeFactory.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "tests/mm3d/MM3DMeshSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;
using Vectors = std::vector<MM3DVector>;

const Vectors kStored = {{9, 9, 9, 1}, {9, 9, 9, 1}};
const Vectors kNormals = {{0, 0, 5, 0}, {0, 3, 0, 0}};

bool Same(const Vectors& a, const Vectors& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const MM3DVector& u, const MM3DVector& v) { return u.Equals(v); });
}

// Shape s puts both vertices at (s, 10 s, 0) with w 2, so a drawn shape is
// told apart from a blend (w 1).
Vectors Shape(float s) { return {{s, 10 * s, 0, 2}, {s, 10 * s, 0, 2}}; }

std::vector<Vectors> Shapes(int32_t count) {
  std::vector<Vectors> shapes;
  for (int32_t s = 0; s < count; ++s) shapes.push_back(Shape(static_cast<float>(s)));
  return shapes;
}

// Draws a lit mesh of the stored block below a node with these shapes.
DrawnBlock DrawAt(const std::vector<Vectors>& shapes, float index,
                  const Vectors& stored = kStored) {
  MeshBench bench;
  MM3DDisplayTreeNodeIndexedShape node(index, OneBlockTargets(shapes));
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = MakeMaterial(true);
  part.mBlocks.Append(MakeBlock(stored, kNormals));
  mesh->AddPart(part);
  node.AddChild(Owned(mesh));
  bench.Render(node);
  EXPECT_EQ(bench.mPipeline.mDrawn.size(), 1u);
  DrawnBlock drawn = bench.mPipeline.mDrawn.back();
  // Only positions are ever replaced.
  EXPECT_TRUE(Same(drawn.mNormals, kNormals));
  // A shape drawn as stored is drawn from the node's own array.
  const Vectors* pointedAt = nullptr;
  for (int32_t s = 0; s < node.GetShapeCount(); ++s) {
    if (drawn.mPositionPointer == node.GetShapes()[0][0][s].Begin())
      pointedAt = &shapes[static_cast<size_t>(s)];
  }
  if (pointedAt != nullptr) {
    EXPECT_TRUE(Same(drawn.mPositions, *pointedAt));
  }
  return drawn;
}

void ExpectAt(const DrawnBlock& drawn, float x, float y) {
  ASSERT_EQ(drawn.mPositions.size(), 2u);
  for (const MM3DVector& position : drawn.mPositions) {
    EXPECT_FLOAT_EQ(position.mX, x);
    EXPECT_FLOAT_EQ(position.mY, y);
    EXPECT_EQ(position.mZ, 0.0f);
  }
}

struct IndexCase {
  int32_t mShapeCount;
  float mIndex;
  float mX;
  // 2 when a stored shape is drawn itself, 1 for a blend.
  float mW;
};

}  // namespace

TEST(MM3DDisplayTreeNodeIndexedShapeTest, TheIndexSelectsOrBlendsShapes) {
  const float kNotANumber = std::numeric_limits<float>::quiet_NaN();
  const IndexCase cases[] = {
      {2, 0.5f, 0.5f, 1}, {2, 1.0f, 1, 2},        {2, 7.0f, 1, 2},
      {2, -0.25f, 0, 2},  {2, kNotANumber, 0, 2}, {4, 2.7f, 2.7f, 1},
      {2, 0.0f, 0, 1},    {1, 0.5f, 0, 2},        {1, -3.0f, 0, 2},
  };
  for (const IndexCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mShapeCount << " shapes at " << c.mIndex);
    const DrawnBlock drawn = DrawAt(Shapes(c.mShapeCount), c.mIndex);
    ExpectAt(drawn, c.mX, 10 * c.mX);
    EXPECT_EQ(drawn.mPositions[0].mW, c.mW);
  }
}

// Shapes shorter than the block, and a node without shapes, keep the
// stored positions.
TEST(MM3DDisplayTreeNodeIndexedShapeTest, ShapesThatDoNotCoverTheBlockKeepItsPositions) {
  const std::vector<Vectors> shortShapes = {{{1, 1, 1, 1}}, {{2, 2, 2, 1}}};
  for (float index : {-1.0f, 0.5f, 1.0f}) {
    EXPECT_TRUE(Same(DrawAt(shortShapes, index).mPositions, kStored)) << index;
  }
  EXPECT_TRUE(Same(DrawAt({}, 0.0f).mPositions, kStored));
}

TEST(MM3DDisplayTreeNodeIndexedShapeTest, ShapesReadBackInBothByteOrders) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeIndexedShape node(0.5f, OneBlockTargets(Shapes(3)));
  node.AddChild(Owned(new MM3DDisplayTreeNodeIndexedShape));
  Owned read = RoundTripInBothByteOrders(node, database);
  ASSERT_FALSE(read.IsEmpty());
  auto& copy = static_cast<MM3DDisplayTreeNodeIndexedShape&>(*read);
  EXPECT_EQ(copy.GetShapeCount(), 3);
  EXPECT_EQ(copy.GetShapeIndex(), 0.0f);
  EXPECT_EQ(copy.GetShapes()[0][0][2][1].mY, 20.0f);
  auto& empty = static_cast<MM3DDisplayTreeNodeIndexedShape&>(*copy.GetChild(0));
  EXPECT_EQ(empty.GetShapeCount(), 0);
  // Kind, reference index, S = 0, P = 0, no children, an empty table.
  EXPECT_EQ(WriteTree(empty, database).size(), 6u * 4u);
}

// Shapes whose first part has no block are written with S = 0, which
// keeps no block: the record holds no part then, so that what is read back
// writes the same bytes again.
TEST(MM3DDisplayTreeNodeIndexedShapeTest, ARecordWithoutAFirstBlockWritesTheSameBytesAgain) {
  MM3DModDatabase database;
  MM3DMeshTargets<MM3DVector> shapes;
  shapes.Append(UUGrowableArray<MM3DTargetArrays<MM3DVector>>());
  shapes.Append(std::move(OneBlockTargets(Shapes(2))[0]));
  MM3DDisplayTreeNodeIndexedShape node(0.0f, std::move(shapes));
  const std::vector<uint8_t> first = WriteTree(node, database);
  Owned read = ReadTree(first, database);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(WriteTree(*read, database), first);
}

TEST(MM3DDisplayTreeNodeIndexedShapeTest, DamagedRecordsFail) {
  MM3DModDatabase database;
  MM3DDisplayTreeNodeIndexedShape node(0.0f, OneBlockTargets(Shapes(2)));
  ExpectEveryTruncationFails(node, database);
  // After kind and reference index: shape, part and block counts, then the
  // first shape's position count.
  for (size_t offset : {8u, 12u, 16u, 20u}) {
    std::vector<uint8_t> bytes = WriteTree(node, database);
    bytes[offset + 3] = 0x80;
    EXPECT_TRUE(ReadTree(bytes, database).IsEmpty()) << offset;
  }
}
