#pragma once
// Support for the pipeline and renderer tests: a recording driver whose
// triangle buffers keep their corners and whose draws are logged with the
// triangles, block and device state they were drawn with; render-state
// blocks of the two kinds the pipeline makes; and vertex blocks of
// triangles told apart by a tag in their first corner's x.

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "tests/mm3d/drivers/RecordingDriver.h"

#include <cstdint>
#include <vector>

class RecordingTriangleBuffer : public MM3DTriangleBuffer {
 public:
  RecordingTriangleBuffer(int32_t capacity, int32_t sets)
      : MM3DTriangleBuffer(capacity, sets),
        mPositions(Corner(3 * capacity)),
        mColors(Corner(3 * capacity)),
        mTexCoords{std::vector<MM3DTexCoord>(Corner(3 * capacity)),
                   std::vector<MM3DTexCoord>(Corner(3 * capacity))} {}

  void SetTrianglePositions(int32_t t, const MM3DVector& a, const MM3DVector& b,
                            const MM3DVector& c) override {
    Put(mPositions, t, a, b, c);
  }
  void SetTriangleColors(int32_t t, MM3DCornerColor a, MM3DCornerColor b,
                         MM3DCornerColor c) override {
    Put(mColors, t, a, b, c);
  }
  void SetTriangleTexCoords(int32_t t, int32_t set, MM3DTexCoord a, MM3DTexCoord b,
                            MM3DTexCoord c) override {
    Put(mTexCoords[Corner(set)], t, a, b, c);
  }
  void SetPositions(int32_t first, int32_t count, const MM3DVector* p) override {
    Copy(mPositions, first, count, p);
  }
  void SetColors(int32_t first, int32_t count, const MM3DCornerColor* c) override {
    Copy(mColors, first, count, c);
  }
  void SetTexCoords(int32_t first, int32_t count, int32_t set, const MM3DTexCoord* c) override {
    Copy(mTexCoords[Corner(set)], first, count, c);
  }
  void SetIndexedPositions(int32_t first, int32_t count, const MM3DVector* p,
                           const uint16_t* indexes) override {
    for (int32_t k = 0; k < 3 * count; ++k) mPositions[Corner(3 * first + k)] = p[indexes[k]];
  }
  void SetIndexedColors(int32_t first, int32_t count, const MM3DCornerColor* c,
                        const uint16_t* indexes) override {
    for (int32_t k = 0; k < 3 * count; ++k) mColors[Corner(3 * first + k)] = c[indexes[k]];
  }
  void SetIndexedTexCoords(int32_t first, int32_t count, int32_t set, const MM3DTexCoord* c,
                           const uint16_t* indexes) override {
    for (int32_t k = 0; k < 3 * count; ++k)
      mTexCoords[Corner(set)][Corner(3 * first + k)] = c[indexes[k]];
  }

  std::vector<MM3DVector> mPositions;
  std::vector<MM3DCornerColor> mColors;
  std::vector<MM3DTexCoord> mTexCoords[kMM3DMaxTexCoordSets];

  // The slot of a corner (or a set) the buffer was asked for.
  static size_t Corner(int32_t k) { return static_cast<size_t>(k); }

 private:
  template <typename T>
  static void Put(std::vector<T>& corners, int32_t t, const T& a, const T& b, const T& c) {
    corners[Corner(3 * t)] = a;
    corners[Corner(3 * t + 1)] = b;
    corners[Corner(3 * t + 2)] = c;
  }
  template <typename T>
  static void Copy(std::vector<T>& corners, int32_t first, int32_t count, const T* from) {
    for (int32_t k = 0; k < 3 * count; ++k) corners[Corner(3 * first + k)] = from[k];
  }
};

// One DrawTriangleBuffer call.
struct DrawnRun {
  MM3DRenderStateBlock mBlock;
  std::vector<float> mTags;              // the first corner's x of each triangle
  std::vector<MM3DCornerColor> mColors;  // every corner
  std::vector<MM3DTexCoord> mStage0;     // every corner's set 0
  int32_t mCullMode;
  MM3DMatrix mViewMatrix;
};

class DrawRecordingDriver : public RecordingDriver {
 public:
  static constexpr int32_t kSize = 32;

  // Reset as every back-end is at its construction; the calls start empty.
  DrawRecordingDriver() : RecordingDriver(MM3DDeviceMode(kSize, kSize, 2, 0, 1)) {
    ResetState();
    mCalls.clear();
  }

  MM3DTriangleBuffer* CreateTriangleBuffer(int32_t capacity, int32_t sets) override {
    return new RecordingTriangleBuffer(capacity, sets);
  }
  void DestroyTriangleBuffer(MM3DTriangleBuffer* buffer) override { delete buffer; }
  // Applies each stage as a device would, then logs one "Draw" with the
  // triangle count among the other calls.
  void DrawTriangleBuffer(const MM3DRenderStateBlock& block, MM3DTriangleBuffer& buffer,
                          int32_t first, int32_t count) override {
    for (int32_t s = 0; s < block.mStageCount; ++s) block.ApplyStage(*this, s);
    const auto& corners = static_cast<const RecordingTriangleBuffer&>(buffer);
    DrawnRun run{block, {}, {}, {}, mStateCache.mCullMode, mViewMatrix};
    for (int32_t t = first; t < first + count; ++t) {
      run.mTags.push_back(corners.mPositions[RecordingTriangleBuffer::Corner(3 * t)].mX);
      for (int32_t k = 3 * t; k < 3 * t + 3; ++k) {
        run.mColors.push_back(corners.mColors[RecordingTriangleBuffer::Corner(k)]);
        run.mStage0.push_back(corners.mTexCoords[0][RecordingTriangleBuffer::Corner(k)]);
      }
    }
    mRuns.push_back(run);
    mCalls.push_back(Call{"Draw", count});
  }

  // The tags of every run, in drawing order.
  std::vector<float> DrawnTags() const {
    std::vector<float> tags;
    for (const DrawnRun& run : mRuns) tags.insert(tags.end(), run.mTags.begin(), run.mTags.end());
    return tags;
  }
  std::vector<int64_t> RunLengths() const {
    std::vector<int64_t> lengths;
    for (const DrawnRun& run : mRuns) lengths.push_back(static_cast<int64_t>(run.mTags.size()));
    return lengths;
  }

  std::vector<DrawnRun> mRuns;
};

inline MM3DRenderStateBlock StageBlock(int32_t depthMode, int32_t depthFunction, int32_t opaque,
                                       MM3DBlendFactors factors) {
  MM3DRenderStateBlock block;
  block.mStageCount = 1;
  block.mStages[0] = MM3DRenderStage{.mDepthMode = depthMode,
                                     .mDepthFunction = depthFunction,
                                     .mOpaque = opaque,
                                     .mBlendFactors = factors};
  return block;
}

// The first stage of an opaque material, and of a blended one.
inline MM3DRenderStateBlock OpaqueStages() {
  return StageBlock(kMM3DDepthTestAndWrite, kMM3DDepthLess, kMM3DBlendingOff,
                    {kMM3DBlendOne, kMM3DBlendZero});
}
inline MM3DRenderStateBlock BlendedStages() {
  return StageBlock(kMM3DDepthTestOnly, kMM3DDepthLessEqual, kMM3DBlendingOn,
                    {kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha});
}

// One flat triangle per entry of depths, at that depth, tagged first + its
// position; every corner takes the colour.
struct TaggedTriangles : MM3DIndexedMeshVertexData {
  explicit TaggedTriangles(const std::vector<float>& depths, float firstTag = 0,
                           MM3DPackedColor color = {255, 255, 255, 255}) {
    for (size_t t = 0; t < depths.size(); ++t) {
      const float tag = firstTag + static_cast<float>(t);
      const float z = depths[t];
      const MM3DVector corners[3] = {{tag, 0, z, 1}, {tag + 0.5f, 0, z, 1}, {tag, 0.5f, z, 1}};
      for (const MM3DVector& corner : corners) {
        mIndices.Append(static_cast<uint16_t>(mPositions.Count()));
        mPositions.Append(corner);
        mColors.Append(color);
      }
    }
  }
};

// count triangles' depths, all 1.
inline std::vector<float> Depths(int32_t count) {
  return std::vector<float>(static_cast<size_t>(count), 1.0f);
}
