#include "app/objects/VPLBoundingVolume.h"

#include <gtest/gtest.h>

namespace {

MM3DVector P(float x, float y, float z) { return MM3DVector(x, y, z, 1.0f); }

TEST(VPLBoundingVolumeTest, ASegmentMeetsAUnitBoxOnlyWhereItCrossesAFace) {
  const VPLBoundingBox box(0, 0, 0, 1, 1, 1);
  struct Case {
    const char* what;
    MM3DVector start;
    MM3DVector end;
    bool hits;
  };
  const Case cases[] = {
      {"through", P(0.5f, 0.5f, -1), P(0.5f, 0.5f, 2), true},
      {"beside", P(2, 2, -1), P(2, 2, 2), false},
      {"ends before the box", P(0.5f, 0.5f, -3), P(0.5f, 0.5f, -1), false},
      {"leaves from inside", P(0.5f, 0.5f, 0.5f), P(0.5f, 2, 0.5f), true},
      {"along x", P(-1, 0.5f, 0.5f), P(2, 0.5f, 0.5f), true},
  };
  for (const Case& c : cases) EXPECT_EQ(box.IntersectsSegment(c.start, c.end), c.hits) << c.what;
}

TEST(VPLBoundingVolumeTest, AFlatBoxIsNeverHitButAFlatPlaneIs) {
  const VPLBoundingBox flatBox(0, 0, 0, 1, 0, 1);
  EXPECT_FALSE(flatBox.IntersectsSegment(P(0.5f, -1, 0.5f), P(0.5f, 1, 0.5f)));
  const VPLBoundingXYPlane plane(0, 0, 2, 1, 1, 2);
  EXPECT_TRUE(plane.IntersectsSegment(P(0.5f, 0.5f, 0), P(0.5f, 0.5f, 5)));
  EXPECT_FALSE(plane.IntersectsSegment(P(1.5f, 0.5f, 0), P(1.5f, 0.5f, 5)));
  EXPECT_FALSE(plane.IntersectsSegment(P(0.5f, 0.5f, 0), P(0.5f, 0.5f, 1)));
}

TEST(VPLBoundingVolumeTest, CornersAreTheMinimumAndMaximumAsPoints) {
  const VPLBoundingBox box(1, 2, 3, 4, 6, 8);
  EXPECT_TRUE(box.GetMin().Equals(P(1, 2, 3)));
  EXPECT_TRUE(box.GetMax().Equals(P(4, 6, 8)));
}

TEST(VPLBoundingVolumeTest, RangesTakeTheirBoundsInEitherOrder) {
  struct Case {
    float a1, b1, a2, b2, pa, pb;
    bool in;
  };
  const Case cases[] = {
      {0, 0, 1, 1, 0.5f, 0.5f, true},  {1, 1, 0, 0, 0.5f, 0.5f, true},
      {0, 0, 1, 1, 1.5f, 0.5f, false}, {0, 0, 1, 1, 0, 0, true},
      {1, 0, 0, 1, 1, 0.5f, false},  // on a1 only when a1 <= a2
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VPLBoundingVolume::InRange2D(c.a1, c.b1, c.a2, c.b2, c.pa, c.pb), c.in)
        << c.pa << " " << c.pb;
  }
}

TEST(VPLBoundingVolumeTest, AFaceIsMetBetweenTheSegmentsEndsOnly) {
  MM3DVector hit(0, 0, 0, 0);
  EXPECT_TRUE(VPLBoundingVolume::IntersectsFace(P(0, 0, 1), P(0, 1, 1), P(1, 0, 1), P(0, 0, 0),
                                                P(0, 0, 1), hit));
  EXPECT_TRUE(hit.Equals(P(0, 0, 1)));
  EXPECT_FALSE(VPLBoundingVolume::IntersectsFace(P(0, 0, 1), P(0, 1, 1), P(1, 0, 1), P(0, 0, 0),
                                                 P(0, 0, 0.5f), hit));
  // Lying in the face's plane.
  EXPECT_FALSE(VPLBoundingVolume::IntersectsFace(P(0, 0, 1), P(0, 1, 1), P(1, 0, 1), P(-1, 0, 1),
                                                 P(2, 0, 1), hit));
}

}  // namespace
