// The geometry the program reads from models: the built models keep every
// rule, and fixtures that break one are named for it.

#include "mm3d/MM3DDriverTextureMap.h"
#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/check/GeometryChecks.h"
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

TEST(GeometryRulesTest, TheBuiltModelsKeepEveryRule) {
  content_fixtures::ExpectBuiltDataKeep(content_check::CheckGeometry);
}

struct BrokenModel {
  const char* symbol;
  const char* says;
};

// One broken model per rule.
UURefCount<MM3DModel> Broken(const std::string& symbol, MM3DDriverTextureMap& textures) {
  ModelBuilder builder(textures);
  if (symbol == "path.circle") {
    builder.AddPath({{0, 0, 0}, {5, 0, 0}, {5, 0, 5}}, false);
  } else if (symbol == "primitive.ball") {
    builder.AddMesh({MeshPart{databuilder::Sphere(1.0f, 8, 4), {}, false, true}});
  } else if (symbol == "profile.round.2") {
    // Upright as it should be, but too narrow.
    Mesh disc = databuilder::FillOutline(databuilder::CircleOutline(0.5f, 12), 0);
    disc.Rotate(kQuarterTurn, kQuarterTurn);
    builder.AddMesh({MeshPart{disc, {}, true, true}});
  } else if (symbol == "profile.round.3") {
    // The right width, lying in the xy plane.
    builder.AddMesh({MeshPart{
        databuilder::FillOutline(databuilder::CircleOutline(1.0f, 12), 0), {}, true, true}});
  } else if (symbol == "fill.wheel") {
    Mesh disc = databuilder::Disc(1.0f, 12, 2);
    databuilder::MaterialSpec colors;
    colors.vertexColor = true;
    builder.AddMesh({MeshPart{disc, colors}});
  } else if (symbol == "camera.area") {
    builder.AddCamera({0, 5, -70}, {0, 4, 0});
  }
  return builder.Finish();
}

class BrokenGeometryTest : public testing::TestWithParam<BrokenModel> {};

TEST_P(BrokenGeometryTest, TheCheckNamesTheRule) {
  MM3DDriverTextureMap textures;
  UURefCount<MM3DModel> model = Broken(GetParam().symbol, textures);
  content_fixtures::ExpectFirstFindingSays(
      content_check::CheckProgramGeometry(*model, GetParam().symbol), GetParam().says);
}

const BrokenModel kBroken[] = {
    {"path.circle", "does not end where it starts"},
    {"primitive.ball", "longer than 0.25"},
    {"profile.round.2", "wide"},
    {"profile.round.3", "yz plane"},
    {"fill.wheel", "at the origin"},
    {"camera.area", "rig's limits"},
};

INSTANTIATE_TEST_SUITE_P(EachRule, BrokenGeometryTest, testing::ValuesIn(kBroken),
                         [](const testing::TestParamInfo<BrokenModel>& test) {
                           std::string name = test.param.symbol;
                           for (char& c : name) c = c == '.' ? '_' : c;
                           return name;
                         });

}  // namespace
