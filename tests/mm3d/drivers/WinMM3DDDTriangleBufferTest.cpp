#include "mm3d/drivers/win/WinMM3DDDTriangleBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using BufferPtr = std::unique_ptr<WinMM3DDDTriangleBuffer>;

float FloatAt(const WinMM3DDDTriangleBuffer& buffer, int32_t corner, size_t offset) {
  float value = 0;
  std::memcpy(&value,
              static_cast<const uint8_t*>(buffer.VerticesOf(0)) +
                  static_cast<size_t>(corner) * buffer.GetStride() + offset,
              sizeof value);
  return value;
}

uint32_t DiffuseAt(const WinMM3DDDTriangleBuffer& buffer, int32_t corner) {
  uint32_t word = 0;
  std::memcpy(&word,
              static_cast<const uint8_t*>(buffer.VerticesOf(0)) +
                  static_cast<size_t>(corner) * buffer.GetStride() + 12,
              sizeof word);
  return word;
}

TEST(WinMM3DDDTriangleBufferTest, LayoutFollowsTheCoordinateSets) {
  struct Case {
    int32_t sets;
    size_t stride;
    uint32_t format;
  };
  for (const Case& c : {Case{0, 16, 0x042}, Case{1, 24, 0x142}, Case{2, 32, 0x242}}) {
    BufferPtr buffer(WinMM3DDDTriangleBuffer::Create(4, c.sets));
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->GetStride(), c.stride) << c.sets;
    EXPECT_EQ(buffer->GetVertexFormat(), c.format) << c.sets;
  }
  EXPECT_EQ(WinMM3DDDTriangleBuffer::Create(-1, 1), nullptr);
}

TEST(WinMM3DDDTriangleBufferTest, CornersLandInTheirVertices) {
  BufferPtr buffer(WinMM3DDDTriangleBuffer::Create(2, 2));
  buffer->SetTrianglePositions(1, MM3DVector(1, 2, 3, 9), MM3DVector(4, 5, 6, 9),
                               MM3DVector(7, 8, 9, 9));
  buffer->SetTriangleColors(1, {0x11, 0x22, 0x33, 0x44}, {}, {0xFF, 0, 0, 0x80});
  buffer->SetTriangleTexCoords(1, 1, {0.25f, 0.5f}, {}, {});
  EXPECT_EQ(FloatAt(*buffer, 3, 0), 1);
  EXPECT_EQ(FloatAt(*buffer, 4, 4), 5);
  EXPECT_EQ(FloatAt(*buffer, 5, 8), 9);
  EXPECT_EQ(DiffuseAt(*buffer, 3), 0x44112233u);
  EXPECT_EQ(DiffuseAt(*buffer, 5), 0x80FF0000u);
  EXPECT_EQ(FloatAt(*buffer, 3, 24), 0.25f);
  EXPECT_EQ(FloatAt(*buffer, 3, 28), 0.5f);
  EXPECT_EQ(FloatAt(*buffer, 3, 16), 0);  // set 0 untouched
}

TEST(WinMM3DDDTriangleBufferTest, IndexedFormsFetchEachCornerFromTheArray) {
  BufferPtr buffer(WinMM3DDDTriangleBuffer::Create(1, 1));
  const MM3DVector positions[2] = {MM3DVector(1, 1, 1, 1), MM3DVector(2, 2, 2, 1)};
  const MM3DCornerColor colors[2] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  const MM3DTexCoord coords[2] = {{0.5f, 0.5f}, {1, 0}};
  const uint16_t indexes[3] = {1, 0, 1};
  buffer->SetIndexedPositions(0, 1, positions, indexes);
  buffer->SetIndexedColors(0, 1, colors, indexes);
  buffer->SetIndexedTexCoords(0, 1, 0, coords, indexes);
  EXPECT_EQ(FloatAt(*buffer, 0, 0), 2);
  EXPECT_EQ(FloatAt(*buffer, 1, 0), 1);
  EXPECT_EQ(DiffuseAt(*buffer, 2), 0x08050607u);
  EXPECT_EQ(FloatAt(*buffer, 1, 16), 0.5f);
  EXPECT_EQ(FloatAt(*buffer, 2, 16), 1);
}

TEST(WinMM3DDDTriangleBufferTest, WritesOutsideTheBufferOrItsSetsAreIgnored) {
  BufferPtr buffer(WinMM3DDDTriangleBuffer::Create(1, 1));
  const MM3DVector positions[6] = {};
  buffer->SetPositions(0, 2, positions);
  buffer->SetTriangleColors(1, {}, {}, {});
  buffer->SetTriangleTexCoords(0, 1, {9, 9}, {9, 9}, {9, 9});
  buffer->SetTriangleTexCoords(0, -1, {9, 9}, {9, 9}, {9, 9});
  EXPECT_EQ(FloatAt(*buffer, 0, 16), 0);
}

}  // namespace
