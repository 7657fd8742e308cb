// Every shape of the modelling library, made as the recipes make them:
// closed where it should be, unit normals that agree with the winding,
// coordinates inside the texture and within the budgets.

#include "tools/databuilder/mesh/Lathe.h"
#include "tools/databuilder/mesh/Outline.h"
#include "tools/databuilder/mesh/RoundedBox.h"
#include "tools/databuilder/mesh/Sweep.h"
#include "tools/databuilder/mesh/TextureMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace databuilder {
namespace {

constexpr float kUnitTolerance = 1e-3f;
constexpr int32_t kInterfaceBudget = 2000;

struct ShapeCase {
  const char* name;
  std::function<Mesh()> make;
  // Whether every edge is shared by exactly two triangles.
  bool closed;
};

std::vector<ShapeCase> Shapes() {
  return {
      {"rounded box",
       [] {
         return RoundedBox({3.6f, 2.2f, 0.6f}, 0.3f, 4, 1.0f);
       },
       true},
      {"sphere", [] { return Sphere(1.0f, 24, 12); }, false},
      {"capsule", [] { return Capsule(0.5f, 2.0f, 16, 4); }, false},
      {"rounded cylinder", [] { return RoundedCylinder(1.0f, 2.0f, 0.2f, 24); }, false},
      {"rounded cone", [] { return RoundedCone(1.0f, 2.0f, 0.15f, 24); }, false},
      {"torus", [] { return Torus(1.0f, 0.3f, 24, 12); }, false},
      {"disc", [] { return Disc(2.0f, 24, 3); }, false},
      {"star slab",
       [] {
         return ExtrudeOutline(RoundCorners(StarOutline(5, 1.0f, 0.5f), 0.15f, 3), 0.6f, 0.1f, 3);
       },
       false},
      {"heart slab", [] { return ExtrudeOutline(HeartOutline(32), 0.5f, 0.1f, 3); }, false},
      {"tube",
       [] {
         return Sweep({{0, 0, 0}, {1, 1, 0}, {2, 1, 1}, {3, 0, 1}}, 0.2f, 12, false);
       },
       false},
      {"ring tube",
       [] {
         return Sweep({{1, 0, 0}, {0, 0, -1}, {-1, 0, 0}, {0, 0, 1}}, 0.2f, 12, true);
       },
       false},
  };
}

class ShapesTest : public testing::TestWithParam<ShapeCase> {};

TEST_P(ShapesTest, NormalsAreUnit) {
  const Mesh mesh = GetParam().make();
  ASSERT_GT(mesh.GetTriangleCount(), 0);
  for (const Vertex& v : mesh.mVertices) {
    EXPECT_NEAR(Length(v.normal), 1.0f, kUnitTolerance);
  }
}

// Each triangle's face normal leans the way its vertices' normals point:
// counter-clockwise seen from outside.
TEST_P(ShapesTest, WindingAgreesWithNormals) {
  const Mesh mesh = GetParam().make();
  for (int32_t t = 0; t < mesh.GetTriangleCount(); ++t) {
    Vec3 sum;
    for (size_t k = 0; k < 3; ++k) {
      sum = sum + mesh.mVertices[mesh.mIndices[static_cast<size_t>(t) * 3 + k]].normal;
    }
    EXPECT_GT(Dot(TriangleNormal(mesh, t), sum), 0.0f) << "triangle " << t;
  }
}

TEST_P(ShapesTest, IndicesInRangeAndBudgetKept) {
  const Mesh mesh = GetParam().make();
  for (uint32_t index : mesh.mIndices) EXPECT_LT(index, mesh.mVertices.size());
  EXPECT_TRUE(mesh.FitsBudget(kInterfaceBudget));
}

TEST_P(ShapesTest, ClosedShapesShareEveryEdgeTwice) {
  if (!GetParam().closed) GTEST_SKIP() << "open at a seam or pole";
  Mesh mesh = GetParam().make();
  std::map<std::pair<uint32_t, uint32_t>, int32_t> edges;
  for (size_t i = 0; i + 2 < mesh.mIndices.size(); i += 3) {
    for (size_t k = 0; k < 3; ++k) {
      ++edges[std::minmax(mesh.mIndices[i + k], mesh.mIndices[i + (k + 1) % 3])];
    }
  }
  for (const auto& [edge, count] : edges) EXPECT_EQ(count, 2);
}

TEST_P(ShapesTest, MappedCoordinatesStayInTheTexture) {
  for (int32_t mapping = 0; mapping < 3; ++mapping) {
    Mesh mesh = GetParam().make();
    if (mapping == 0) MapPlanar(mesh, AtlasCell(9, 8, 8));
    if (mapping == 1) MapBox(mesh);
    if (mapping == 2) MapCylindrical(mesh);
    for (const Vertex& v : mesh.mVertices) {
      EXPECT_TRUE(v.uv.x >= 0.0f && v.uv.x <= 1.0f && v.uv.y >= 0.0f && v.uv.y <= 1.0f)
          << "mapping " << mapping;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ShapesTest, testing::ValuesIn(Shapes()),
                         [](const testing::TestParamInfo<ShapeCase>& test) {
                           std::string name = test.param.name;
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(MeshTest, WeldMergesOnlyEqualVertices) {
  Mesh mesh;
  Vertex a;
  a.normal = {0, 0, 1};
  Vertex b = a;
  b.position = {1, 0, 0};
  Vertex c = a;
  c.position = {0, 1, 0};
  Vertex seam = a;
  seam.uv = {1, 0};  // same place, another coordinate: kept apart
  mesh.AddTriangle(mesh.AddVertex(a), mesh.AddVertex(b), mesh.AddVertex(c));
  mesh.AddTriangle(mesh.AddVertex(a), mesh.AddVertex(b), mesh.AddVertex(seam));
  mesh.Weld();
  EXPECT_EQ(mesh.mVertices.size(), 4u);
  EXPECT_EQ(mesh.mIndices[3], mesh.mIndices[0]);
  EXPECT_EQ(mesh.mIndices[4], mesh.mIndices[1]);
}

TEST(MeshTest, RefiningKeepsEveryEdgeShortAndTheSurfaceWhole) {
  Mesh mesh = RoundedBox({2, 2, 2}, 0.3f, 3, 2.0f);
  const int32_t before = mesh.GetTriangleCount();
  mesh.RefineEdges(0.25f);
  EXPECT_LE(mesh.GetLongestEdge(), 0.25f);
  EXPECT_GT(mesh.GetTriangleCount(), before);
  mesh.Weld();
  std::map<std::pair<uint32_t, uint32_t>, int32_t> edges;
  for (size_t i = 0; i + 2 < mesh.mIndices.size(); i += 3) {
    for (size_t k = 0; k < 3; ++k) {
      ++edges[std::minmax(mesh.mIndices[i + k], mesh.mIndices[i + (k + 1) % 3])];
    }
  }
  for (const auto& [edge, count] : edges) EXPECT_EQ(count, 2);
}

TEST(MeshTest, FlatAndSmoothNormalsFollowTheFaces) {
  Mesh mesh = RoundedBox({2, 2, 2}, 0.5f, 2, 1.0f);
  mesh.SetFlatNormals();
  for (int32_t t = 0; t < mesh.GetTriangleCount(); ++t) {
    const Vec3 face = Normalize(TriangleNormal(mesh, t));
    EXPECT_NEAR(Dot(face, mesh.mVertices[mesh.mIndices[static_cast<size_t>(t) * 3]].normal), 1.0f,
                kUnitTolerance);
  }
  mesh.Weld();
  mesh.SetSmoothNormals();
  for (const Vertex& v : mesh.mVertices) EXPECT_NEAR(Length(v.normal), 1.0f, kUnitTolerance);
}

TEST(MeshTest, MirroringKeepsFrontsOutside) {
  Mesh mesh = Sphere(1.0f, 12, 6);
  mesh.Transform({-1, 1, 1}, {0, 0, 0});
  for (int32_t t = 0; t < mesh.GetTriangleCount(); ++t) {
    const Vec3 centre = mesh.mVertices[mesh.mIndices[static_cast<size_t>(t) * 3]].position;
    EXPECT_GT(Dot(TriangleNormal(mesh, t), centre), 0.0f);
  }
}

TEST(OutlineTest, TriangulationCoversTheOutline) {
  const Outline outlines[] = {RoundedRectOutline(3, 2, 0.4f, 4), HeartOutline(40),
                              StarOutline(5, 1.0f, 0.4f)};
  for (const Outline& outline : outlines) {
    const Mesh fill = FillOutline(outline, 0.0f);
    float area = 0.0f;
    for (int32_t t = 0; t < fill.GetTriangleCount(); ++t) {
      const Vec3 n = TriangleNormal(fill, t);
      EXPECT_GE(n.z, 0.0f);
      area += n.z / 2;
    }
    EXPECT_NEAR(area, OutlineArea(outline), 1e-3f);
  }
}

}  // namespace
}  // namespace databuilder
