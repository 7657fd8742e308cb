#include "mm3d/MM3DSortedTriangleBuffer.h"

#include "foundation/al/ALAllocator.h"
#include "tests/mm3d/MM3DRendererSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Call = RecordingDriver::Call;

class MM3DSortedTriangleBufferTest : public ::testing::Test {
 protected:
  void RegisterAll(const MM3DRenderStateBlock& block = BlendedStages()) {
    mSorted.RegisterCullMode(kMM3DCullNone);
    mSorted.RegisterViewport(UURect(0, 0, 32, 32));
    mSorted.RegisterDepthRange(MM3DDepthRange());
    mSorted.RegisterProjection(MM3DProjectionVolume());
    MM3DMatrix identity;
    identity.SetIdentity();
    mSorted.RegisterViewMatrix(identity);
    mSorted.RegisterBlock(block);
  }

  void Add(const MM3DIndexedMeshVertexData& data) {
    const MM3DVertexArrays arrays(data);
    mSorted.Add(arrays, 0, arrays.mIndexCount / 3);
  }

  DrawRecordingDriver* mRecording = new DrawRecordingDriver;
  UURefCount<MM3DDriver> mDriver{mRecording};
  MM3DSortedTriangleBuffer mSorted{mDriver, 2};
};

TEST_F(MM3DSortedTriangleBufferTest, TheKeyIsTheDepthOfTheLongestEdgesMidpoint) {
  struct Case {
    const char* name;
    MM3DVector corners[3];
    float viewZ;
    float expected;
  };
  // Corner z 0, 4 and 8: the midpoints of edges 0-1, 1-2 and 2-0 lie at
  // z 2, 6 and 4. Key = 0.25 + (0.75 - 0.25) / (3 - 1) x z.
  const Case cases[] = {
      {"edge 0-1", {{0, 0, 0, 1}, {20, 0, 4, 1}, {10, 0, 8, 1}}, 0, 0.75f},
      {"edge 1-2", {{10, 0, 0, 1}, {0, 0, 4, 1}, {20, 0, 8, 1}}, 0, 1.75f},
      {"edge 2-0", {{0, 0, 0, 1}, {1, 0, 4, 1}, {0, 0, 8, 1}}, 0, 1.25f},
      {"0-1 as long as 1-2", {{0, 0, 0, 1}, {0, 10, 4, 1}, {0, 0, 8, 1}}, 0, 1.75f},
      {"0-1 as long as 2-0", {{0, 0, 0, 1}, {0, 8, 4, 1}, {0, 4, 8, 1}}, 0, 1.25f},
      {"one point", {{2, 2, 2, 1}, {2, 2, 2, 1}, {2, 2, 2, 1}}, 0, 0.75f},
      {"moved by the view", {{0, 0, 0, 1}, {20, 0, 4, 1}, {10, 0, 8, 1}}, 2, 1.25f},
  };
  MM3DProjectionVolume projection;
  projection.SetOrthographic(-1, 1, -1, 1, 1, 3);
  const MM3DDepthRange range(0.25f, 0.75f);
  for (const Case& c : cases) {
    MM3DSortedTriangle triangle{};
    std::copy(std::begin(c.corners), std::end(c.corners), triangle.mPositions);
    MM3DMatrix view;
    MM3DMatrixTranslation(view, 0, 0, c.viewZ);
    EXPECT_EQ(MM3DSortedTriangleKey(triangle, view, projection, range), c.expected) << c.name;
  }
}

TEST_F(MM3DSortedTriangleBufferTest, FartherTrianglesAreDrawnFirstWhateverTheOrderOfSubmission) {
  const std::vector<float> orders[] = {{5.0f, 2.0f}, {2.0f, 5.0f}};
  for (const std::vector<float>& depths : orders) {
    RegisterAll();
    Add(TaggedTriangles(depths));
    mSorted.Draw();
    const float farther = depths[0] > depths[1] ? 0.0f : 1.0f;
    EXPECT_EQ(mRecording->DrawnTags(), (std::vector<float>{farther, 1.0f - farther}));
    EXPECT_EQ(mSorted.GetCount(), 0);
    mRecording->mRuns.clear();
  }
}

TEST_F(MM3DSortedTriangleBufferTest, RunsOfOneStateHoldAtMost128Triangles) {
  RegisterAll();
  Add(TaggedTriangles(Depths(129)));
  mSorted.Draw();
  EXPECT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{128, 1}));
}

TEST_F(MM3DSortedTriangleBufferTest, AnEmptyBufferDrawsNothingAndSendsNoState) {
  RegisterAll();
  mSorted.Draw();
  EXPECT_TRUE(mRecording->mCalls.empty());
}

TEST_F(MM3DSortedTriangleBufferTest, TrianglesAreRefusedWhileAStateIsUnregistered) {
  RegisterAll();
  mSorted.ClearTables();
  mSorted.RegisterCullMode(kMM3DCullNone);
  mSorted.RegisterViewport(UURect(0, 0, 32, 32));
  mSorted.RegisterDepthRange(MM3DDepthRange());
  mSorted.RegisterProjection(MM3DProjectionVolume());
  mSorted.RegisterViewMatrix(MM3DMatrixIdentity);
  Add(TaggedTriangles(Depths(3)));
  EXPECT_EQ(mSorted.GetCount(), 0);
  mSorted.RegisterBlock(BlendedStages());
  Add(TaggedTriangles(Depths(3)));
  EXPECT_EQ(mSorted.GetCount(), 3);
}

TEST_F(MM3DSortedTriangleBufferTest, RegisteringAnEqualValueReusesItsEntry) {
  RegisterAll();
  mSorted.RegisterBlock(OpaqueStages());
  EXPECT_EQ(mSorted.GetCurrent().mBlock, 1);
  mSorted.RegisterBlock(BlendedStages());
  EXPECT_EQ(mSorted.GetCurrent().mBlock, 0);
  EXPECT_EQ(mSorted.GetBlocks().Count(), 2);
}

TEST_F(MM3DSortedTriangleBufferTest, TheBufferGrowsToHoldEveryTriangle) {
  RegisterAll();
  Add(TaggedTriangles({1, 2, 3, 4, 5}));
  EXPECT_EQ(mSorted.GetCount(), 5);
  EXPECT_EQ(mSorted.GetCapacity(), 8);
  mSorted.Draw();
  EXPECT_EQ(mRecording->DrawnTags(), (std::vector<float>{4, 3, 2, 1, 0}));
}

// Refuses every block at least as large as the limit.
class LimitedAllocator : public ALAllocator {
 public:
  explicit LimitedAllocator(size_t limit) : mLimit(limit) {}
  void* Allocate(size_t size, ALMemToolsRecord* record) override {
    return size >= mLimit ? nullptr : ALAllocator::Allocate(size, record);
  }

 private:
  size_t mLimit;
};

TEST_F(MM3DSortedTriangleBufferTest, WhenGrowingFailsTheKeptTrianglesAreDrawnAtOnce) {
  RegisterAll();
  Add(TaggedTriangles({1, 2}));
  // Blocks made while it is installed go back to it after the test.
  static LimitedAllocator limited(4 * sizeof(MM3DSortedTriangle));
  ALAllocator* previous = ALDefaultAllocator;
  ALDefaultAllocator = &limited;
  Add(TaggedTriangles({3}, 2));
  ALDefaultAllocator = previous;
  EXPECT_EQ(mRecording->DrawnTags(), (std::vector<float>{1, 0}));
  EXPECT_EQ(mSorted.GetCapacity(), 2);
  EXPECT_EQ(mSorted.GetCount(), 1);
}

TEST_F(MM3DSortedTriangleBufferTest, OnlyTexturedStagesTakeTheirCoordinates) {
  TaggedTriangles data(Depths(1));
  for (int32_t i = 0; i < 3; ++i) data.mTextureCoordinates[0].Append({0.5f, 0.25f});
  MM3DRenderStateBlock textured = BlendedStages();
  textured.mStages[0].mTexture = mRecording->mTextures.Load(
      {}, MM3DDriverTextureImage(8, 8, std::make_unique<uint8_t[]>(8 * 8 * 4), 1));
  const struct {
    MM3DRenderStateBlock block;
    float u;
  } cases[] = {{BlendedStages(), 0.0f}, {textured, 0.5f}};
  for (const auto& c : cases) {
    RegisterAll(c.block);
    Add(data);
    mSorted.Draw();
    ASSERT_EQ(mRecording->mRuns.size(), 1u);
    EXPECT_EQ(mRecording->mRuns[0].mStage0[2].mU, c.u);
    mRecording->mRuns.clear();
    mSorted.ClearTables();
  }
}

TEST_F(MM3DSortedTriangleBufferTest, DrawOneDrawsARecordAloneWithTheGivenBlock) {
  MM3DSortedTriangle record{};
  record.mPositions[0] = MM3DVector(7, 0, 0, 1);
  mSorted.DrawOne(record, OpaqueStages());
  ASSERT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{1}));
  EXPECT_EQ(mRecording->DrawnTags(), (std::vector<float>{7}));
  EXPECT_TRUE(mRecording->mRuns[0].mBlock == OpaqueStages());
}

}  // namespace
