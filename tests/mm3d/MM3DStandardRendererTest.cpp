#include "mm3d/MM3DStandardRenderer.h"

#include "mm3d/MM3DSortingRenderer.h"
#include "tests/mm3d/MM3DRendererSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Call = RecordingDriver::Call;

MM3DMatrix Translation(float x, float y, float z) {
  MM3DMatrix matrix;
  MM3DMatrixTranslation(matrix, x, y, z);
  return matrix;
}

std::vector<float> Tags(std::initializer_list<float> tags) { return tags; }

template <typename Renderer>
class RendererFixture : public ::testing::Test {
 protected:
  // Every triangle of the block under the block's stages.
  void Submit(const MM3DIndexedMeshVertexData& data, const MM3DRenderStateBlock& block) {
    mRenderer.SetTextureStages(block);
    const MM3DVertexArrays arrays(data);
    mRenderer.DrawTriangles(arrays, 0, arrays.mIndexCount / 3);
  }

  DrawRecordingDriver* mRecording = new DrawRecordingDriver;
  UURefCount<MM3DDriver> mDriver{mRecording};
  Renderer mRenderer{mDriver};
};

using MM3DStandardRendererTest = RendererFixture<MM3DStandardRenderer>;

TEST_F(MM3DStandardRendererTest, OpaqueTrianglesGoOutInBatchesOf128InSubmissionOrder) {
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(300)), OpaqueStages());
  EXPECT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{128, 128}));
  mRenderer.EndFrame();
  EXPECT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{128, 128, 44}));
  const std::vector<float> tags = mRecording->DrawnTags();
  for (size_t i = 0; i < tags.size(); ++i) ASSERT_EQ(tags[i], static_cast<float>(i));
}

TEST_F(MM3DStandardRendererTest, ANewBlockDrawsWhatWaitsWithTheOldOneAndAnEqualBlockDoesNot) {
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(10)), OpaqueStages());
  mRenderer.SetTextureStages(OpaqueStages());
  EXPECT_TRUE(mRecording->mRuns.empty());
  MM3DRenderStateBlock other = OpaqueStages();
  other.mStages[0].mDepthFunction = kMM3DDepthLessEqual;
  mRenderer.SetTextureStages(other);
  ASSERT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{10}));
  EXPECT_TRUE(mRecording->mRuns[0].mBlock == OpaqueStages());
}

TEST_F(MM3DStandardRendererTest, BlendedTrianglesFollowTheOpaqueOnesFarFirst) {
  mRenderer.BeginFrame();
  Submit(TaggedTriangles({2.0f}, 100), BlendedStages());
  Submit(TaggedTriangles(Depths(3)), OpaqueStages());
  Submit(TaggedTriangles({5.0f}, 200), BlendedStages());
  mRenderer.EndFrame();
  EXPECT_EQ(mRecording->DrawnTags(), Tags({0, 1, 2, 200, 100}));
  ASSERT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{3, 2}));
  EXPECT_TRUE(mRecording->mRuns[1].mBlock == BlendedStages());
}

TEST_F(MM3DStandardRendererTest, EachSortedRunIsDrawnUnderItsOwnStateAndTheRenderersReturns) {
  const MM3DMatrix first = Translation(10, 0, 0);
  const MM3DMatrix second = Translation(20, 0, 0);
  mRenderer.BeginFrame();
  mRenderer.SetViewMatrix(first);
  Submit(TaggedTriangles({5.0f}, 1), BlendedStages());
  mRenderer.SetViewMatrix(second);
  Submit(TaggedTriangles({4.0f}, 2), BlendedStages());
  mRenderer.SetViewMatrix(first);
  mRenderer.SetViewMatrix(second);
  mRenderer.EndFrame();
  ASSERT_EQ(mRecording->RunLengths(), (std::vector<int64_t>{1, 1}));
  EXPECT_TRUE(mRecording->mRuns[0].mViewMatrix == first);
  EXPECT_TRUE(mRecording->mRuns[1].mViewMatrix == second);
  EXPECT_TRUE(mRecording->mViewMatrix == second);
}

TEST_F(MM3DStandardRendererTest, StateReachesTheDriverOnlyWhenItChanges) {
  mRenderer.SetCullMode(kMM3DCullNone);
  mRenderer.SetViewport(mRecording->mViewport);
  EXPECT_EQ(mRenderer.GetViewport(), mRecording->mViewport);
  mRenderer.SetCullMode(kMM3DCullClockwise);
  mRenderer.SetCullMode(kMM3DCullClockwise);
  EXPECT_TRUE(mRenderer.SetProjection(MM3DProjectionVolume()));
  mRenderer.SetDepthRange(MM3DDepthRange(0.0f, 0.5f));
  mRenderer.SetDepthRange(MM3DDepthRange(0.0f, 0.5f));
  const std::vector<Call> expected = {{"Cull", kMM3DCullClockwise}, {"DepthRange", 0}};
  EXPECT_EQ(mRecording->mCalls, expected);
}

TEST_F(MM3DStandardRendererTest,
       AFrameOpensWithDepthWritesAndAClearAndSendsNothingSortedWhenEmpty) {
  mRenderer.SetViewport(mRecording->mViewport);
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(2)), OpaqueStages());
  mRenderer.EndFrame();
  const std::vector<Call> expected = {{"BeginScene", 0}, {"DepthMode", kMM3DDepthTestAndWrite},
                                      {"Clear", 0},      {"DepthFunction", kMM3DDepthLess},
                                      {"Draw", 2},       {"Present", 0}};
  EXPECT_EQ(mRecording->mCalls, expected);
}

TEST_F(MM3DStandardRendererTest, StatisticsCountTheTrianglesOfEachEndedFrame) {
  Submit(TaggedTriangles(Depths(7)), OpaqueStages());
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(5)), OpaqueStages());
  mRenderer.EndFrame();
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(3)), BlendedStages());
  mRenderer.EndFrame();
  const MM3DRenderStatistics& statistics = mRenderer.GetStatistics();
  EXPECT_EQ(statistics.mFrames, 2);
  EXPECT_EQ(statistics.mLastPolygons, 3);
  EXPECT_EQ(statistics.mTotalPolygons, 8);
  EXPECT_EQ(statistics.mMaximumPolygons, 5);
  EXPECT_EQ(statistics.mMinimumPolygons, 3);
}

TEST_F(MM3DStandardRendererTest, AnEmptyFirstFrameSetsMinimumAndMaximumToZero) {
  EXPECT_EQ(mRenderer.GetStatistics().mMinimumPolygons, MM3DRenderStatistics::kNoFrameYet);
  mRenderer.BeginFrame();
  mRenderer.EndFrame();
  EXPECT_EQ(mRenderer.GetStatistics().mMinimumPolygons, 0);
  EXPECT_EQ(mRenderer.GetStatistics().mMaximumPolygons, 0);
  EXPECT_EQ(mRenderer.GetStatistics().mLastPolygons, 0);
}

TEST_F(MM3DStandardRendererTest, EndFrameForgetsTheFramesStatesAndTextures) {
  MM3DDriverTextureHandle texture = mRecording->mTextures.Load(
      {}, MM3DDriverTextureImage(8, 8, std::make_unique<uint8_t[]>(8 * 8 * 4), 1));
  MM3DRenderStateBlock textured = BlendedStages();
  textured.mStages[0].mTexture = texture;
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(2)), textured);
  mRenderer.EndFrame();
  EXPECT_TRUE(mRecording->mTexture.IsEmpty());
  EXPECT_EQ(mRecording->mTextures.mSelections.back(), RecordingTextureCollection::kNone);
  EXPECT_EQ(mRenderer.GetTextureStages().mStageCount, 0);
  EXPECT_EQ(mRenderer.GetSorted().GetBlocks().Count(), 0);
  EXPECT_EQ(mRenderer.GetSorted().GetCurrent(), MM3DSortedStateIndexes());
  texture.Release();
  textured.Reset();
  mRecording->mRuns.clear();
  EXPECT_EQ(mRecording->mTextures.mFreed, std::vector<int32_t>{0});
}

// After a frame of blended triangles the stored block is empty but keeps
// the blended first stage; a next frame that opens with a material without
// layers must neither sort its triangles nor read a state that was never
// registered.
TEST_F(MM3DStandardRendererTest, ABlockWithoutStagesSubmitsNothingInTheNextFrame) {
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(2)), BlendedStages());
  mRenderer.EndFrame();
  mRecording->mRuns.clear();
  mRenderer.BeginFrame();
  Submit(TaggedTriangles(Depths(4)), MM3DRenderStateBlock());
  EXPECT_EQ(mRenderer.GetSorted().GetCount(), 0);
  EXPECT_EQ(mRenderer.GetBatch().GetWaiting(), 0);
  mRenderer.EndFrame();
  EXPECT_TRUE(mRecording->mRuns.empty());
}

using MM3DPlaystationEmulationRendererTest = RendererFixture<MM3DPlaystationEmulationRenderer>;

TEST_F(MM3DPlaystationEmulationRendererTest, SortsOpaqueTrianglesToo) {
  mRenderer.BeginFrame();
  Submit(TaggedTriangles({1.0f, 3.0f, 2.0f}), OpaqueStages());
  EXPECT_TRUE(mRecording->mRuns.empty());
  mRenderer.EndFrame();
  EXPECT_EQ(mRecording->DrawnTags(), Tags({1, 2, 0}));
}

}  // namespace
