#include "mm3d/MM3DStandardPipeline.h"

#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DIndexedMeshTextureCoordinateMapper.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DPlaystationPipeline.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

constexpr MM3DBlendFactors kReplace(kMM3DBlendOne, kMM3DBlendZero);
constexpr MM3DBlendFactors kAlpha(kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha);

// A renderer without a driver that notes every state change that gets
// through its filters and what it is asked to draw.
class LoggingRenderer : public MM3DRenderer {
 public:
  explicit LoggingRenderer(Log& log) : mLog(log) {}

  MM3DVertexArrays mArrays;
  int32_t mFirst = -1;
  int32_t mCount = -1;

 protected:
  void ApplyCullMode(int32_t mode) override {
    mLog.push_back("Cull " + std::to_string(mode));
    MM3DRenderer::ApplyCullMode(mode);
  }
  void ApplyProjection(const MM3DProjectionVolume& volume) override {
    mLog.push_back("Projection");
    MM3DRenderer::ApplyProjection(volume);
  }
  void ApplyViewMatrix(const MM3DMatrix& matrix) override {
    mLog.push_back("ViewMatrix");
    MM3DRenderer::ApplyViewMatrix(matrix);
  }
  void ApplyTextureStages(const MM3DRenderStateBlock& block) override {
    mLog.push_back("Stages");
    MM3DRenderer::ApplyTextureStages(block);
  }
  void RegisterState() override {}
  void DrawSorted() override {}
  void SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count) override {
    mLog.push_back("Submit");
    mArrays = arrays;
    mFirst = first;
    mCount = count;
  }
  void Flush() override {}

 private:
  Log& mLog;
};

class LoggingDeformer : public MM3DIndexedMeshDeformer {
 public:
  explicit LoggingDeformer(Log& log) : mLog(log) {}
  void BeginFrame() override {}
  void SelectPart(int32_t, int32_t) override {}
  void DeformPositions(MM3DVertexArrays&) override { mLog.push_back("Positions"); }
  void DeformNormals(MM3DVertexArrays&) override { mLog.push_back("Normals"); }
  void EndFrame() override {}

 private:
  Log& mLog;
};

class LoggingMaterial : public MM3DMaterial {
 public:
  LoggingMaterial(Log& log, bool lit, float transparency)
      : MM3DMaterial(transparency), mLog(log), mLit(lit) {}
  MM3DMaterialKind GetKind() const override { return kMM3DMaterialVertexColor; }
  bool IsLit() const override { return mLit; }
  void Shade(MM3DVertexArrays&) override { mLog.push_back("Shade"); }

 private:
  Log& mLog;
  bool mLit;
};

class LoggingMapper : public MM3DIndexedMeshTextureCoordinateMapper {
 public:
  explicit LoggingMapper(Log& log) : mLog(log) {}
  void Generate(MM3DVertexArrays&) const override { mLog.push_back("Generate"); }

 private:
  Log& mLog;
};

MM3DMatrix Translation(float x, float y, float z) {
  MM3DMatrix matrix;
  MM3DMatrixTranslation(matrix, x, y, z);
  return matrix;
}

// Four positions and eight indices: two whole triangles and a stray pair.
struct EightIndices : MM3DIndexedMeshVertexData {
  EightIndices() {
    for (int32_t i = 0; i < 4; ++i) mPositions.Append(MM3DVector(static_cast<float>(i), 0, 1, 1));
    for (const int index : {0, 1, 2, 0, 2, 3, 0, 1}) mIndices.Append(static_cast<uint16_t>(index));
  }
};

class MM3DStandardPipelineTest : public ::testing::Test {
 protected:
  // A material of the given kind applied to the context, with one layer of
  // the given blend, a deformer and a mapper around it.
  void Prepare(bool lit, float transparency, MM3DBlendFactors blend) {
    mMaterial = std::make_unique<LoggingMaterial>(mLog, lit, transparency);
    mMaterial->AddTextureLayer(MM3DMaterialTextureLayer(blend, MM3DTextureHandle()));
    mMaterial->Apply(mContext);
    mContext.PushDeformer(&mDeformer);
    mContext.PushMapper(&mMapper);
  }

  Log mLog;
  LoggingRenderer mRenderer{mLog};
  LoggingDeformer mDeformer{mLog};
  LoggingMapper mMapper{mLog};
  std::unique_ptr<LoggingMaterial> mMaterial;
  MM3DRenderContext mContext{true};
  EightIndices mData;
};

TEST_F(MM3DStandardPipelineTest, FillRenderStateMakesOneStagePerLayer) {
  struct Case {
    const char* name;
    float transparency;
    std::vector<MM3DBlendFactors> layers;
    int32_t depthMode[2];
    int32_t depthFunction[2];
    int32_t opaque[2];
  };
  const int32_t kTest = kMM3DDepthTestOnly, kWrite = kMM3DDepthTestAndWrite;
  const int32_t kLess = kMM3DDepthLess, kLessEqual = kMM3DDepthLessEqual;
  const int32_t kOn = kMM3DBlendingOn, kOff = kMM3DBlendingOff;
  const Case cases[] = {
      {"opaque", 0, {kReplace}, {kWrite}, {kLess}, {kOff}},
      {"transparent", 0.5f, {kAlpha}, {kTest}, {kLessEqual}, {kOn}},
      {"alpha-blended layer", 0, {kAlpha}, {kTest}, {kLessEqual}, {kOn}},
      {"second layer", 0, {kReplace, kReplace}, {kWrite, kTest}, {kLess, kLessEqual}, {kOff, kOn}},
  };
  for (const Case& c : cases) {
    LoggingMaterial material(mLog, false, c.transparency);
    for (const MM3DBlendFactors& blend : c.layers) {
      material.AddTextureLayer(MM3DMaterialTextureLayer(blend, MM3DTextureHandle()));
    }
    MM3DRenderStateBlock block;
    MM3DStandardPipeline::FillRenderState(material, block);
    ASSERT_EQ(block.mStageCount, static_cast<int32_t>(c.layers.size())) << c.name;
    for (int32_t i = 0; i < block.mStageCount; ++i) {
      const MM3DRenderStage& stage = block.mStages[i];
      EXPECT_EQ(stage.mDepthMode, c.depthMode[i]) << c.name << i;
      EXPECT_EQ(stage.mDepthFunction, c.depthFunction[i]) << c.name << i;
      EXPECT_EQ(stage.mOpaque, c.opaque[i]) << c.name << i;
      EXPECT_EQ(stage.mBlendFactors, c.layers[static_cast<size_t>(i)]) << c.name << i;
      EXPECT_TRUE(stage.mTexture.IsEmpty());
    }
  }
}

TEST_F(MM3DStandardPipelineTest, AMaterialWithoutLayersGivesAnEmptyBlock) {
  LoggingMaterial material(mLog, false, 0);
  MM3DRenderStateBlock block;
  block.mStageCount = 1;
  block.mStages[0].mOpaque = kMM3DBlendingOff;
  MM3DStandardPipeline::FillRenderState(material, block);
  EXPECT_EQ(block.mStageCount, 0);
  EXPECT_EQ(block.mStages[0].mOpaque, MM3DRenderStage().mOpaque);
}

TEST_F(MM3DStandardPipelineTest, APartSendsItsStateThenRunsEveryStageAndSubmitsWholeTriangles) {
  MM3DStandardPipeline pipeline;
  MM3DProjectionVolume volume;
  volume.SetOrthographic(-1, 1, -1, 1, 0, 2);
  pipeline.SetProjection(volume);
  pipeline.SetCameraMatrix(Translation(0, 0, 10));
  mContext.SetModelMatrix(Translation(1, 2, 3));
  Prepare(true, 0, kReplace);
  pipeline.RenderPart(mData, mContext, mRenderer);
  const Log expected = {"Stages",  "Projection", "ViewMatrix", "Cull 1", "Positions",
                        "Normals", "Shade",      "Generate",   "Submit"};
  EXPECT_EQ(mLog, expected);
  EXPECT_TRUE(mRenderer.GetViewMatrix() == Translation(1, 2, 13));
  EXPECT_EQ(mRenderer.mFirst, 0);
  EXPECT_EQ(mRenderer.mCount, 2);
  EXPECT_EQ(mRenderer.mArrays.mVertexCount, 4);
  EXPECT_EQ(mRenderer.mArrays.mNormals, nullptr);
  EXPECT_EQ(mRenderer.mArrays.mColors, nullptr);
  EXPECT_EQ(mRenderer.mArrays.mTextureCoordinates0, nullptr);
  EXPECT_EQ(mRenderer.mArrays.mTextureCoordinates1, nullptr);
}

TEST_F(MM3DStandardPipelineTest, AnUnlitBlendedPartShowsBothSidesAndKeepsItsNormals) {
  MM3DStandardPipeline pipeline;
  Prepare(false, 0.5f, kAlpha);
  pipeline.RenderPart(mData, mContext, mRenderer);
  const Log expected = {"Stages", "Positions", "Shade", "Generate", "Submit"};
  EXPECT_EQ(mLog, expected);
  EXPECT_EQ(mRenderer.GetCullMode(), kMM3DCullNone);
  EXPECT_EQ(mRenderer.GetTextureStages().mStages[0].mOpaque, kMM3DBlendingOn);
}

TEST_F(MM3DStandardPipelineTest, WithoutAMaterialNothingIsSent) {
  MM3DStandardPipeline pipeline;
  pipeline.RenderPart(mData, mContext, mRenderer);
  EXPECT_TRUE(mLog.empty());
}

TEST(MM3DPlaystationPipelineTest, SendsTheViewFirstDeformsPositionsOnlyAndEmptiesItsBlock) {
  Log log;
  LoggingRenderer renderer(log);
  LoggingDeformer deformer(log);
  LoggingMaterial material(log, true, 0);
  material.AddTextureLayer(MM3DMaterialTextureLayer(kReplace, MM3DTextureHandle()));
  MM3DRenderContext context(true);
  context.SetModelMatrix(Translation(1, 0, 0));
  material.Apply(context);
  context.PushDeformer(&deformer);
  MM3DPlaystationPipeline pipeline;
  MM3DProjectionVolume volume;
  volume.SetOrthographic(-1, 1, -1, 1, 0, 2);
  pipeline.SetProjection(volume);
  pipeline.RenderPart(EightIndices(), context, renderer);
  const Log expected = {"ViewMatrix", "Stages", "Projection", "Cull 1",
                        "Positions",  "Shade",  "Submit"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(pipeline.GetBlock().mStageCount, 0);
  EXPECT_EQ(renderer.mCount, 2);
}

}  // namespace
