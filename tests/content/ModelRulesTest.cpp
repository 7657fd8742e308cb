// The model rules of the content check: the built models keep them all,
// and a fixture model that breaks one rule at a time is named for it.

#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/check/ModelChecks.h"
#include "tools/databuilder/mesh/ModelBuilder.h"
#include "tools/databuilder/mesh/Outline.h"
#include "tools/databuilder/mesh/TextureMapping.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

using content_check::Findings;
using databuilder::MaterialSpec;
using databuilder::MeshPart;
using databuilder::ModelBuilder;

constexpr int32_t kTextureCount = 28;
constexpr int32_t kBudget = 100;

TEST(ModelRulesTest, TheBuiltModelsKeepEveryRule) {
  const Findings findings = content_check::CheckModels(content_fixtures::DataDirectory(),
                                                       content_fixtures::SourceManifest());
  for (const std::string& finding : findings) ADD_FAILURE() << finding;
}

struct BrokenRule {
  const char* name;
  // What the finding says.
  const char* says;
  std::function<void(MaterialSpec&)> material;
  std::function<void(MM3DIndexedMeshVertexData&)> block;
  int32_t budget = kBudget;
  // Gives the part a Phong material without layers.
  bool bareMaterial = false;
};

// A textured square of two triangles facing +z, then broken as the case
// says.
UURefCount<MM3DModel> Fixture(const BrokenRule& rule, MM3DDriverTextureMap& textures) {
  databuilder::Mesh square = databuilder::FillOutline({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 0.0f);
  databuilder::MapPlanar(square, {});
  MaterialSpec material;
  material.texture = 3;
  if (rule.material) rule.material(material);
  ModelBuilder builder(textures);
  MM3DDisplayTreeNodeIndexedMesh* mesh = builder.AddMesh({MeshPart{square, material}});
  if (rule.block) rule.block(*mesh->GetPart(0).mBlocks[0]);
  if (rule.bareMaterial) {
    mesh->SetPartShader(0, UURefCount<MM3DMaterial>(new MM3DMaterialPhong));
  }
  return builder.Finish();
}

class BrokenRuleTest : public testing::TestWithParam<BrokenRule> {};

TEST_P(BrokenRuleTest, TheCheckNamesTheRule) {
  MM3DDriverTextureMap textures;
  UURefCount<MM3DModel> model = Fixture(GetParam(), textures);
  const Findings findings =
      content_check::CheckModelRules(*model, "m 9", GetParam().budget, kTextureCount);
  ASSERT_EQ(findings.size(), 1u) << (findings.empty() ? "" : findings[0]);
  EXPECT_NE(findings[0].find(GetParam().says), std::string::npos) << findings[0];
  EXPECT_EQ(findings[0].rfind("m 9", 0), 0u) << findings[0];
}

const BrokenRule kRules[] = {
    {"NoLayers", "0 layers", {}, {}, kBudget, true},
    {"LongNormal",
     "unit length",
     {},
     [](MM3DIndexedMeshVertexData& b) { b.mNormals[1].mZ = 2.0f; }},
    {"NoCoordinates",
     "without texture coordinates",
     {},
     [](MM3DIndexedMeshVertexData& b) {
       b.mTextureCoordinates[0].EraseRange(0, b.mTextureCoordinates[0].Count());
     }},
    {"Backwards",
     "wound against",
     {},
     [](MM3DIndexedMeshVertexData& b) { std::swap(b.mIndices[1], b.mIndices[2]); }},
    {"IndexOutside",
     "outside its block",
     {},
     [](MM3DIndexedMeshVertexData& b) { b.mIndices[0] = 40; }},
    {"MissingTexture",
     "which the texture file lacks",
     [](MaterialSpec& m) { m.texture = kTextureCount; },
     {}},
    {"OverBudget", "over the budget", {}, {}, 1},
};

INSTANTIATE_TEST_SUITE_P(EachRule, BrokenRuleTest, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<BrokenRule>& test) {
                           return std::string(test.param.name);
                         });

}  // namespace
