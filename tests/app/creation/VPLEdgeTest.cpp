#include "app/creation/VPLEdge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(VPLEdgeTest, EdgesAreTheSameInEitherDirection) {
  const VPLEdge edge(3, 7);
  EXPECT_TRUE(edge.IsSameEdge(VPLEdge(3, 7)));
  EXPECT_TRUE(edge.IsSameEdge(VPLEdge(7, 3)));
  EXPECT_FALSE(edge.IsSameEdge(VPLEdge(3, 8)));
  EXPECT_TRUE(edge.IsOtherEdge(VPLEdge(3, 3)));
}

struct OutlineCase {
  const char* mName;
  std::vector<uint16_t> mIndices;
  std::vector<int32_t> mOutline;
};

class VPLEdgeOutlineTest : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(VPLEdgeOutlineTest, WalksTheOneLoopOrRefuses) {
  UUGrowableArray<uint16_t> indices;
  for (const uint16_t value : GetParam().mIndices) indices.Append(value);
  EXPECT_EQ(VPLEdgeOutline(indices), GetParam().mOutline);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, VPLEdgeOutlineTest,
    ::testing::Values(OutlineCase{"Triangle", {0, 1, 2}, {0, 1, 2}},
                      // Two triangles share the diagonal 0-2, which is inside.
                      OutlineCase{"Square", {0, 1, 2, 0, 2, 3}, {0, 1, 2, 3}},
                      // A fan round a centre vertex 0: only the rim is outline.
                      OutlineCase{"Fan", {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1}, {1, 2, 3, 4}},
                      OutlineCase{"NoTriangles", {}, {}},
                      // A stray index after the last whole triangle is no edge.
                      OutlineCase{"HalfTriangle", {0, 1}, {}},
                      // Both triangles use one edge twice over: nothing is outline.
                      OutlineCase{"Doubled", {0, 1, 2, 2, 1, 0}, {}},
                      // Two separate triangles: the walk would go round the first twice.
                      OutlineCase{"TwoIslands", {0, 1, 2, 3, 4, 5}, {}}),
    [](const ::testing::TestParamInfo<OutlineCase>& info) { return info.param.mName; });

}  // namespace
