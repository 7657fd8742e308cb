// Whole solids: the built primitives are closed and face outward, the
// tube profiles face the way that makes their tubes whole, and shapes
// with a gap, a face turned inward or a profile facing +x are named.

#include "mm3d/MM3DDriverTextureMap.h"
#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/check/SolidChecks.h"
#include "tools/databuilder/mesh/Lathe.h"
#include "tools/databuilder/mesh/ModelBuilder.h"
#include "tools/databuilder/mesh/Outline.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using content_fixtures::kQuarterTurn;
using databuilder::Mesh;
using databuilder::MeshPart;
using databuilder::ModelBuilder;

TEST(SolidRulesTest, TheBuiltPrimitivesAreWholeAndTheProfilesMakeWholeTubes) {
  content_fixtures::ExpectBuiltDataKeep(content_check::CheckSolids);
}

struct BrokenSolid {
  const char* name;
  const char* symbol;
  const char* says;
};

Mesh Ball() { return databuilder::Sphere(1.0f, 12, 6, true); }

UURefCount<MM3DModel> Broken(const std::string& name, MM3DDriverTextureMap& textures) {
  ModelBuilder builder(textures);
  Mesh mesh = Ball();
  if (name == "gap") {
    mesh.mIndices.resize(mesh.mIndices.size() - 3);
  } else if (name == "inward") {
    mesh.Flip();
  } else if (name == "unlike_normals") {
    for (databuilder::Vertex& v : mesh.mVertices) v.normal = v.normal * -1.0f;
  } else if (name == "second_piece_inward") {
    Mesh inward = Ball();
    inward.Flip();
    inward.Transform({1, 1, 1}, {5, 0, 0});
    mesh.Append(inward);
  } else if (name == "profile_facing_x") {
    // The rim wound so that the tube's walls face inward.
    mesh = databuilder::FillOutline(databuilder::CircleOutline(0.7f, 12), 0);
    mesh.Rotate(kQuarterTurn, kQuarterTurn);
  }
  builder.AddMesh({MeshPart{mesh, {}, true, true}});
  return builder.Finish();
}

class BrokenSolidTest : public testing::TestWithParam<BrokenSolid> {};

TEST_P(BrokenSolidTest, TheCheckNamesTheFault) {
  MM3DDriverTextureMap textures;
  UURefCount<MM3DModel> model = Broken(GetParam().name, textures);
  content_fixtures::ExpectFirstFindingSays(
      content_check::CheckSolidRules(*model, GetParam().symbol), GetParam().says);
}

const BrokenSolid kBroken[] = {
    {"gap", "primitive.ball", "open edges"},
    {"inward", "primitive.ball", "face inward"},
    {"unlike_normals", "primitive.ball", "against their normals"},
    {"second_piece_inward", "primitive.cloud", "1 pieces face inward"},
    {"profile_facing_x", "profile.round.2", "inside out"},
};

INSTANTIATE_TEST_SUITE_P(EachFault, BrokenSolidTest, testing::ValuesIn(kBroken),
                         [](const testing::TestParamInfo<BrokenSolid>& test) {
                           return std::string(test.param.name);
                         });

TEST(SolidRulesTest, AWholeBallHasNoFault) {
  MM3DDriverTextureMap textures;
  ModelBuilder builder(textures);
  builder.AddMesh({MeshPart{Ball(), {}, true, true}});
  UURefCount<MM3DModel> model = builder.Finish();
  EXPECT_TRUE(content_check::CheckSolidRules(*model, "primitive.ball").empty());
}

}  // namespace
