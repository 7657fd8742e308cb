#include "mm3d/MM3DMaterialAnimations.h"

#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModDatabase.h"
#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using model_fixtures::Curve;

constexpr MM3DColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kValue = 0.5f;

UURefCount<MM3DMaterial> WhitePhong() {
  return UURefCount<MM3DMaterial>(
      new MM3DMaterialPhong(0.0f, kWhite, 1.0f, kWhite, kWhite, kWhite, 1.0f));
}

// The animation a record of the kind makes, on the first curve and
// material of the database.
UUOwned<MM3DAnimation> ReadKind(int32_t kind, MM3DModDatabase& database) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, kind);
  AppendInt32(bytes, 0);
  AppendInt32(bytes, 0);
  ByteReader reader(bytes);
  UUOwned<MM3DAnimation> animation;
  EXPECT_TRUE(MM3DReadAnimation(reader, database, animation)) << kind;
  return animation;
}

// A texture collection whose textures have names.
class NamedTextures : public FakeTextureCollection {
 public:
  static constexpr uint16_t kNumber = 5;
  NamedTextures() : FakeTextureCollection(kNumber) {}
  MMResourceId AddNamed(const std::string& name) {
    mNames.push_back(name);
    return Add({1, 2, 3});
  }
  uint16_t FindByName(const char* name) override {
    for (size_t i = 0; i < mNames.size(); ++i) {
      if (mNames[i] == name) return static_cast<uint16_t>(i);
    }
    return kMM3DTextureNotFound;
  }
  char* GetName(char* buffer, int16_t i) override {
    std::snprintf(buffer, kMM3DTextureNameCapacity, "%s", mNames[static_cast<size_t>(i)].c_str());
    return buffer;
  }
  std::vector<std::string> mNames;
};

class MM3DMaterialAnimationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mDatabase.GetCurves().Append(Curve({{0.0f, kValue}}));
    mDatabase.GetMaterials().Append(mMaterial);
  }
  MM3DMaterialPhong& Phong() { return static_cast<MM3DMaterialPhong&>(*mMaterial); }

  UURefCount<MM3DMaterial> mMaterial = WhitePhong();
  MM3DModDatabase mDatabase;
};

TEST_F(MM3DMaterialAnimationsTest, EachColourKindSetsOneComponentOfItsColour) {
  using Family = std::function<MM3DColor(MM3DMaterialPhong&)>;
  const Family diffuse = [](MM3DMaterialPhong& m) { return m.GetColor(); };
  const Family ambient = [](MM3DMaterialPhong& m) { return m.GetAmbient(); };
  const Family incandescence = [](MM3DMaterialPhong& m) { return m.GetIncandescence(); };
  const Family specular = [](MM3DMaterialPhong& m) { return m.GetSpecularColor(); };
  const Family families[] = {diffuse, ambient, incandescence, specular};
  for (int32_t kind = kMM3DMaterialDiffuseRedAnimation; kind <= kMM3DMaterialSpecularBlueAnimation;
       ++kind) {
    SCOPED_TRACE(kind);
    mMaterial = WhitePhong();
    mDatabase.GetMaterials()[0] = mMaterial;
    UUOwned<MM3DAnimation> animation = ReadKind(kind, mDatabase);
    ASSERT_TRUE(animation);
    animation->Apply(0.0f);
    const int32_t family = (kind - kMM3DMaterialDiffuseRedAnimation) / 3;
    const int32_t component = (kind - kMM3DMaterialDiffuseRedAnimation) % 3;
    for (int32_t f = 0; f < 4; ++f) {
      MM3DColor expected = kWhite;
      if (f == family)
        (component == 0 ? expected.mR : component == 1 ? expected.mG : expected.mB) = kValue;
      EXPECT_EQ(families[f](Phong()), expected) << "family " << f;
    }
  }
}

TEST_F(MM3DMaterialAnimationsTest, ScalarKindsSetTheirCoefficient) {
  ReadKind(kMM3DMaterialTransparencyAnimation, mDatabase)->Apply(0.0f);
  EXPECT_EQ(Phong().GetTransparency(), kValue);
  ReadKind(kMM3DMaterialDiffuseCoefficientAnimation, mDatabase)->Apply(0.0f);
  EXPECT_EQ(Phong().GetDiffuseCoefficient(), kValue);
  ReadKind(kMM3DMaterialSpecularPowerAnimation, mDatabase)->Apply(0.0f);
  EXPECT_EQ(Phong().GetSpecularPower(), kValue);
}

TEST_F(MM3DMaterialAnimationsTest, AValueTheMaterialLacksOrNoMaterialWritesNothing) {
  UURefCount<MM3DMaterial> constant(new MM3DMaterialConstant(kWhite));
  mDatabase.GetMaterials()[0] = constant;
  for (int32_t kind = kMM3DMaterialAmbientRedAnimation; kind <= kMM3DMaterialSpecularPowerAnimation;
       ++kind) {
    if (kind == kMM3DMaterialTransparencyAnimation) continue;
    ReadKind(kind, mDatabase)->Apply(0.0f);
  }
  EXPECT_EQ(static_cast<MM3DMaterialConstant&>(*constant).GetColor(), kWhite);
  MM3DMaterialDiffuseRedAnimation({}, Curve({{0.0f, 0.0f}})).Apply(0.0f);
}

TEST_F(MM3DMaterialAnimationsTest, ABlendWeighsTheValuesAtTwoTimes) {
  MM3DMaterialTransparencyAnimation animation(mMaterial, Curve({{0.0f, 0.0f}, {1.0f, 1.0f}}));
  animation.ApplyBlended(0.0f, 0.25f, 1.0f, 0.75f);
  EXPECT_FLOAT_EQ(Phong().GetTransparency(), 0.75f);
}

TEST_F(MM3DMaterialAnimationsTest, AnimationsOfOneMaterialWriteItsIndexOnce) {
  MM3DModDatabase database;
  MM3DMaterialTransparencyAnimation first(mMaterial, Curve({{0.0f, 1.0f}}));
  MM3DMaterialDiffuseBlueAnimation second(mMaterial, Curve({{0.0f, 1.0f}}));
  ByteWriter writer;
  ASSERT_TRUE(first.Write(writer, database));
  ASSERT_TRUE(second.Write(writer, database));
  EXPECT_EQ(database.GetMaterials().Count(), 1);
}

TEST_F(MM3DMaterialAnimationsTest, AMaterialIndexOutsideTheSectionFailsTheRead) {
  std::vector<uint8_t> bytes;
  for (int32_t word : {static_cast<int32_t>(kMM3DMaterialTransparencyAnimation), 0, 1}) {
    AppendInt32(bytes, word);
  }
  ByteReader reader(bytes);
  UUOwned<MM3DAnimation> animation;
  EXPECT_FALSE(MM3DReadAnimation(reader, mDatabase, animation));
}

class MM3DMaterialTextureAnimationTest : public ::testing::Test {
 protected:
  static constexpr int32_t kFirstFrame = 10;

  // The frames of a flip-book, textures of these names.
  const UUGrowableArray<MM3DTextureHandle>& Frames(const std::vector<std::string>& names) {
    mFrames.EraseRange(0, mFrames.Count());
    for (const std::string& name : names) {
      mFrames.Append(mMap.GetHandle(mTextures.AddNamed(name), MM3DTextureKey{}));
    }
    return mFrames;
  }
  // A material with one layer showing a texture of the key.
  UURefCount<MM3DMaterial> LayeredMaterial(const MM3DTextureKey& key) {
    UURefCount<MM3DMaterial> material(new MM3DMaterialConstant(kWhite));
    material->AddTextureLayer(MM3DMaterialTextureLayer(
        MM3DBlendFactors{}, mMap.GetHandle(mTextures.AddNamed("start"), key)));
    return material;
  }
  std::vector<uint8_t> Write(const MM3DMaterialTextureAnimation& animation, bool expected = true) {
    ByteWriter writer;
    EXPECT_EQ(animation.Write(writer, mDatabase), expected);
    return writer.mBytes;
  }
  UUOwned<MM3DMaterialTextureAnimation> Read(const std::vector<uint8_t>& bytes) {
    mDatabase.SetTextureMap(&mMap);
    ByteReader reader(bytes);
    UUOwned<MM3DMaterialTextureAnimation> animation(new MM3DMaterialTextureAnimation);
    if (!animation->Read(reader, mDatabase)) return {};
    return animation;
  }

  NamedTextures mTextures;
  MM3DDriverTextureMap mMap;
  MM3DModDatabase mDatabase;
  UUGrowableArray<MM3DTextureHandle> mFrames;
};

TEST_F(MM3DMaterialTextureAnimationTest, TheValueCountsFramesRoundingHalvesUpAndHoldsTheEnds) {
  UURefCount<MM3DMaterial> material = LayeredMaterial({});
  const UUGrowableArray<MM3DTextureHandle>& frames = Frames({"one", "two", "three"});
  MM3DMaterialTextureAnimation animation(material, Curve({{0.0f, 0.0f}, {100.0f, 100.0f}}), 0,
                                         kFirstFrame, frames);
  const struct {
    float mValue;
    int32_t mFrame;
  } kCases[] = {{9.5f, 0},  {10.0f, 0},  {10.49f, 0}, {10.5f, 1}, {11.49f, 1},
                {11.5f, 2}, {12.49f, 2}, {3.0f, 0},   {40.0f, 2}};
  for (const auto& c : kCases) {
    animation.Apply(c.mValue);
    EXPECT_EQ(material->GetLayer(0).GetTexture().GetTextureId(), frames[c.mFrame].GetTextureId())
        << c.mValue;
  }
}

TEST_F(MM3DMaterialTextureAnimationTest, ANameMustFitItsFieldWithItsTerminator) {
  UURefCount<MM3DMaterial> material = LayeredMaterial({});
  const std::string fits(31, 'f');
  Write(MM3DMaterialTextureAnimation(material, Curve({{0.0f, 0.0f}}), 0, 0, Frames({fits})));
  Write(MM3DMaterialTextureAnimation(material, Curve({{0.0f, 0.0f}}), 0, 0, Frames({fits + "g"})),
        false);
}

TEST_F(MM3DMaterialTextureAnimationTest, ReadTexturesShareTheKeyOfTheLayersTexture) {
  const MM3DTextureKey key{.mClamp = 0, .mLinear = 1, .mMipmaps = 1};
  UURefCount<MM3DMaterial> material = LayeredMaterial(key);
  const MM3DMaterialTextureAnimation written(material, Curve({{0.0f, 0.0f}}), 0, kFirstFrame,
                                             Frames({"one", "two"}));
  UUOwned<MM3DMaterialTextureAnimation> read = Read(Write(written));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->GetFirstFrame(), kFirstFrame);
  ASSERT_EQ(read->GetTextures().Count(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    EXPECT_EQ(read->GetTextures()[i].GetTextureId(), written.GetTextures()[i].GetTextureId());
    EXPECT_EQ(read->GetTextures()[i].GetKey().mClamp, key.mClamp);
    EXPECT_EQ(read->GetTextures()[i].GetKey().mMipmaps, key.mMipmaps);
  }
}

TEST_F(MM3DMaterialTextureAnimationTest, WithoutALayerTextureTheKeyClampsAndFiltersLinearly) {
  // No layer at all, and a first layer that shows no texture.
  UURefCount<MM3DMaterial> bare(new MM3DMaterialConstant(kWhite));
  UURefCount<MM3DMaterial> untextured(new MM3DMaterialConstant(kWhite));
  untextured->AddTextureLayer(MM3DMaterialTextureLayer());
  for (const UURefCount<MM3DMaterial>& material : {bare, untextured}) {
    SCOPED_TRACE(material->GetLayerCount());
    const MM3DMaterialTextureAnimation written(material, Curve({{0.0f, 0.0f}}), 0, 0,
                                               Frames({"one"}));
    UUOwned<MM3DMaterialTextureAnimation> read = Read(Write(written));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->GetTextures().Count(), 1);
    EXPECT_EQ(read->GetTextures()[0].GetKey().mClamp, 1);
    EXPECT_EQ(read->GetTextures()[0].GetKey().mLinear, 1);
    EXPECT_EQ(read->GetTextures()[0].GetKey().mMipmaps, MM3DTextureKey{}.mMipmaps);
    read->Apply(0.0f);
  }
  EXPECT_FALSE(untextured->GetLayer(0).GetTexture().IsEmpty());
}

TEST_F(MM3DMaterialTextureAnimationTest, ANameFieldWithoutTerminatorEndsWithinIt) {
  const std::string name(31, 'n');
  mTextures.AddNamed(name);
  mDatabase.GetCurves().Append(Curve({{0.0f, 0.0f}}));
  std::vector<uint8_t> bytes;
  for (int32_t word : {0, -1, 0, 0, 1}) AppendInt32(bytes, word);
  bytes.insert(bytes.end(), 32, 'n');
  UUOwned<MM3DMaterialTextureAnimation> read = Read(bytes);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->GetTextures().Count(), 1);
  EXPECT_EQ(read->GetTextures()[0].GetTextureId(), MMMakeResourceId(NamedTextures::kNumber, 0));
}

TEST_F(MM3DMaterialTextureAnimationTest, ALayerOrCountOutOfRangeFailsTheRead) {
  mDatabase.GetCurves().Append(Curve({{0.0f, 0.0f}}));
  const std::vector<std::vector<int32_t>> kDamaged = {
      {0, -1, MM3DMaterial::kMaxLayers, 0, 0}, {0, -1, -1, 0, 0}, {0, -1, 0, 0, -1}};
  for (const std::vector<int32_t>& words : kDamaged) {
    std::vector<uint8_t> bytes;
    for (int32_t word : words) AppendInt32(bytes, word);
    EXPECT_FALSE(Read(bytes)) << words[2] << " " << words[4];
  }
}

}  // namespace
