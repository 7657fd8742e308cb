#include "app/objects/VPLMaterializer.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLObj.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace app_fixtures;

constexpr MM3DBlendFactors kReplace{kMM3DBlendOne, kMM3DBlendZero};
constexpr MM3DBlendFactors kBlend{kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};

// Material tables of the test's script file.
constexpr MMResourceId kZeroDivisor = kFirstFreeEntry;
constexpr MMResourceId kByteDivisor = kFirstFreeEntry + 1;
constexpr MMResourceId kIdAndName = kFirstFreeEntry + 2;
constexpr MMResourceId kSparse = kFirstFreeEntry + 3;
constexpr uint16_t kTextureCollection = 12;
constexpr float kPower = 20.0f;

const ExtraTables kPresets = {
    {kZeroDivisor, {{0, 3}, {1, 0}, {2, 99}, {23, 7}}},
    {kByteDivisor, {{0, 3}, {1, 255}, {2, 255}, {3, 51}, {10, 255}, {23, 20}}},
    {kIdAndName, {{1, 1}, {25, MMMakeResourceId(kTextureCollection, 1)}, {24, 0}}},
    {kSparse, {{1, 2}, {0, 2}, {4, 1}}},
};

class VPLMaterializerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  std::vector<uint8_t> Record(const VPLMaterializer& materializer) {
    ByteWriter writer;
    EXPECT_TRUE(materializer.Write(writer));
    return writer.mBytes;
  }
  // The first part's material of the n-th mesh of the object.
  static MM3DMaterial& MaterialOf(const VPLObj& object, int32_t n = 0) {
    const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(object.GetDisplayTreeRoot());
    return *static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[n])->GetPart(0).mMaterial;
  }

  AppFiles mFiles{kPresets};
  InterfaceStage mStage;
  // An opaque red texture and a see-through blue one.
  FakeTextureCollection mTextures{kTextureCollection};
  MMResourceId mRed = mTextures.Add({.mRed = 255, .mGreen = 0, .mBlue = 0});
  MMResourceId mBlue = mTextures.Add({.mRed = 0, .mGreen = 0, .mBlue = 255, .mOpaque = false});
  MM3DDriverTextureMap mMap;
  VPLMaterializer mMaterializer{&mMap};
};

TEST_F(VPLMaterializerTest, ANewMaterializerIsAnOpaqueWhiteConstantWithoutTexture) {
  EXPECT_EQ(mMaterializer.GetKind(), kVPLConstantMaterial);
  EXPECT_EQ(mMaterializer.GetColor(), (MM3DColor{1, 1, 1, 0}));
  EXPECT_EQ(mMaterializer.GetDiffuseCoefficient(), 1.0f);
  EXPECT_EQ(mMaterializer.GetSpecularPower(), 0.0f);
  EXPECT_EQ(mMaterializer.GetTextureId(), kMMNoResource);
  EXPECT_STREQ(mMaterializer.GetTextureName(), "");
}

TEST_F(VPLMaterializerTest, PresetsDivideByTheirDivisorButNotThePower) {
  mMaterializer.LoadPreset(kByteDivisor);
  EXPECT_EQ(mMaterializer.GetKind(), kVPLPhongMaterial);
  EXPECT_EQ(mMaterializer.GetColor(), (MM3DColor{1.0f, 0.2f, 0, 0}));
  EXPECT_EQ(mMaterializer.GetDiffuseCoefficient(), 1.0f);
  EXPECT_EQ(mMaterializer.GetSpecularPower(), kPower);
  ASSERT_EQ(mMaterializer.GetLayerCount(), 1);
  EXPECT_TRUE(mMaterializer.GetLayer(0).GetTexture().IsEmpty());
}

TEST_F(VPLMaterializerTest, AZeroDivisorKeepsTheValuesButResetsTheTexture) {
  mMaterializer.SetTexture(mRed);
  mMaterializer.LoadPreset(kZeroDivisor);
  EXPECT_EQ(mMaterializer.GetKind(), kVPLConstantMaterial);
  EXPECT_EQ(mMaterializer.GetColor(), (MM3DColor{1, 1, 1, 0}));
  EXPECT_EQ(mMaterializer.GetTextureId(), kMMNoResource);
  ASSERT_EQ(mMaterializer.GetLayerCount(), 1);
  EXPECT_TRUE(mMaterializer.GetLayer(0).GetTexture().IsEmpty());
}

TEST_F(VPLMaterializerTest, ATextureIdWinsOverATextureNameAndSeeThroughTexturesBlend) {
  mMaterializer.LoadPreset(kIdAndName);
  EXPECT_EQ(mMaterializer.GetTextureId(), mBlue);
  EXPECT_STREQ(mMaterializer.GetTextureName(), "");
  ASSERT_EQ(mMaterializer.GetLayerCount(), 1);
  EXPECT_EQ(mMaterializer.GetLayer(0).GetTexture().GetTextureId(), mBlue);
  EXPECT_TRUE(mMaterializer.GetLayer(0).GetBlend() == kBlend);
}

TEST_F(VPLMaterializerTest, MissingTagsReadAsZero) {
  mMaterializer.LoadPreset(kSparse);
  EXPECT_EQ(mMaterializer.GetKind(), kVPLLambertMaterial);
  EXPECT_EQ(mMaterializer.GetColor(), (MM3DColor{0, 0, 0.5f, 0}));
  EXPECT_EQ(mMaterializer.GetDiffuseCoefficient(), 0.0f);
}

TEST_F(VPLMaterializerTest, ATextureIdThatNamesNoTextureDrawsUntextured) {
  mMaterializer.SetTexture(MMMakeResourceId(kTextureCollection, 40));
  ASSERT_EQ(mMaterializer.GetLayerCount(), 1);
  EXPECT_TRUE(mMaterializer.GetLayer(0).GetTexture().IsEmpty());
  const std::unique_ptr<VPLObj> quad = std::make_unique<VPLObj>(&mStage.Scene(), MakeQuad());
  mMaterializer.Apply(quad.get());
  mStage.RunFrame();
  EXPECT_EQ(MaterialOf(*quad).GetLayerCount(), 1);
}

TEST_F(VPLMaterializerTest, TheRecordReadsBackWithOneLayerForItsTexture) {
  mMaterializer.LoadPreset(kByteDivisor);
  mMaterializer.SetTexture(mRed);
  const std::vector<uint8_t> bytes = Record(mMaterializer);
  VPLMaterializer copy(&mMap);
  ByteReader reader(bytes);
  ASSERT_TRUE(copy.Read(reader));
  EXPECT_EQ(reader.Remaining(), 0u);
  EXPECT_EQ(Record(copy), bytes);
  ASSERT_EQ(copy.GetLayerCount(), 1);
  EXPECT_EQ(copy.GetLayer(0).GetTexture().GetTextureId(), mRed);
}

// The record up to the name length, then the given tail.
std::vector<uint8_t> RecordWithName(int16_t length, const std::string& name, bool withId) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kVPLConstantMaterial);
  bytes.resize(bytes.size() + 4 * (4 * 5 + 2), 0);
  bytes.push_back(static_cast<uint8_t>(length & 0xff));
  bytes.push_back(static_cast<uint8_t>((length >> 8) & 0xff));
  bytes.insert(bytes.end(), name.begin(), name.end());
  if (withId) AppendInt32(bytes, -1);
  return bytes;
}

TEST_F(VPLMaterializerTest, DamagedRecordsFailLeavingOneLayer) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool good;
    size_t nameLength;
  };
  const std::string longName(300, 'x');
  const Case cases[] = {
      {"negative name length", RecordWithName(-1, "", true), false, 0},
      {"name cut short", RecordWithName(10, "abc", false), false, 0},
      {"id missing", RecordWithName(0, "", false), false, 0},
      {"long name kept to 259", RecordWithName(300, longName, true), true, 259},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    VPLMaterializer materializer(&mMap);
    ByteReader reader(c.bytes);
    EXPECT_EQ(materializer.Read(reader), c.good);
    EXPECT_EQ(materializer.GetLayerCount(), 1);
    EXPECT_EQ(std::strlen(materializer.GetTextureName()), c.nameLength);
    if (c.good) {
      EXPECT_EQ(reader.Remaining(), 0u);
    }
  }
}

TEST_F(VPLMaterializerTest, ApplyBuildsTheMaterialOfTheKind) {
  struct Case {
    int32_t kind;
    MM3DMaterialKind built;
  };
  for (const Case& c : {Case{0, kMM3DMaterialVertexColor}, Case{1, kMM3DMaterialConstant},
                        Case{2, kMM3DMaterialLambert}, Case{3, kMM3DMaterialPhong},
                        Case{7, kMM3DMaterialConstant}}) {
    SCOPED_TRACE(c.kind);
    const std::unique_ptr<VPLObj> object =
        std::make_unique<VPLObj>(&mStage.Scene(), MakeTwoMeshes());
    mMaterializer.SetKind(c.kind);
    mMaterializer.Apply(object.get());
    EXPECT_EQ(MaterialOf(*object, 0).GetKind(), c.built);
    EXPECT_EQ(MaterialOf(*object, 1).GetKind(), c.built);
  }
}

TEST_F(VPLMaterializerTest, ApplyTakesTheColourAndTurnsItsAlphaIntoTransparency) {
  const std::unique_ptr<VPLObj> quad = std::make_unique<VPLObj>(&mStage.Scene(), MakeQuad());
  mMaterializer.SetColor({0.2f, 0.4f, 0.6f, 0.0f});
  mMaterializer.Apply(quad.get());
  auto& opaque = static_cast<MM3DMaterialWithColor&>(MaterialOf(*quad));
  EXPECT_EQ(opaque.GetColor(), (MM3DColor{0.2f, 0.4f, 0.6f, 0.0f}));
  EXPECT_EQ(opaque.GetTransparency(), 0.0f);
  EXPECT_TRUE(opaque.GetLayer(0).GetBlend() == kReplace);

  mMaterializer.SetColor({0.2f, 0.4f, 0.6f, 0.5f});
  mMaterializer.Apply(quad.get());
  EXPECT_EQ(MaterialOf(*quad).GetTransparency(), 0.5f);
  EXPECT_TRUE(MaterialOf(*quad).GetLayer(0).GetBlend() == kBlend);
}

TEST_F(VPLMaterializerTest, AnOpaqueTextureDropsTheColoursAlphaButNotTheTransparency) {
  const std::unique_ptr<VPLObj> quad = std::make_unique<VPLObj>(&mStage.Scene(), MakeQuad());
  mMaterializer.SetTexture(mRed);
  mMaterializer.SetColor({1, 1, 1, 0.25f});
  mMaterializer.Apply(quad.get());
  auto& material = static_cast<MM3DMaterialWithColor&>(MaterialOf(*quad));
  EXPECT_EQ(material.GetColor().mA, 0.0f);
  EXPECT_EQ(material.GetTransparency(), 0.25f);
  EXPECT_EQ(material.GetLayer(0).GetTexture().GetTextureId(), mRed);
}

TEST_F(VPLMaterializerTest, TakingAMaterialDescribesItByItsClass) {
  const MM3DColor color{0.1f, 0.2f, 0.3f, 0.0f};
  const MM3DColor glow{0.0f, 0.5f, 0.0f, 0.0f};
  struct Case {
    UURefCount<MM3DMaterial> material;
    int32_t kind;
    float power;
  };
  const Case cases[] = {
      {UURefCount<MM3DMaterial>(new MM3DMaterialPhong(0.5f, color, 0.7f, {}, glow, {}, kPower)),
       kVPLPhongMaterial, kPower},
      {UURefCount<MM3DMaterial>(new MM3DMaterialLambert(0.5f, color, 0.7f, {}, glow)),
       kVPLLambertMaterial, 0.0f},
      {UURefCount<MM3DMaterial>(new MM3DMaterialConstant(color)), kVPLConstantMaterial, 0.0f},
      {UURefCount<MM3DMaterial>(new MM3DMaterialVertexColor(0.5f)), kVPLVertexColorMaterial, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    VPLMaterializer materializer(&mMap);
    c.material->AddTextureLayer({kReplace, mMap.GetHandle(mRed, VPLObj::kTextureKey)});
    materializer.TakeMaterial(c.material, true, true);
    EXPECT_EQ(materializer.GetKind(), c.kind);
    EXPECT_EQ(materializer.GetColor().mA, c.material->GetTransparency());
    EXPECT_EQ(materializer.GetSecondColor().mA, c.material->GetTransparency());
    EXPECT_EQ(materializer.GetSpecularPower(), c.power);
    EXPECT_EQ(materializer.GetTextureId(), mRed);
    EXPECT_EQ(materializer.GetLayerCount(), 1);
    if (c.kind != kVPLVertexColorMaterial) {
      EXPECT_EQ(materializer.GetColor().mG, color.mG);
    }
    if (c.kind >= kVPLLambertMaterial) {
      EXPECT_EQ(materializer.GetIncandescence(), glow);
    }
  }
}

}  // namespace
