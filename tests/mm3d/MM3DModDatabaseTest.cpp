#include "mm3d/MM3DModDatabase.h"

#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DTexturePlacement.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using model_fixtures::ReadModelBytes;
using model_fixtures::WriteModelBytes;

constexpr MMResourceId kTexture = MMMakeResourceId(6, 2);
constexpr MM3DColor kGrey{0.5f, 0.5f, 0.5f, 1.0f};
constexpr MM3DVector kEye{1.0f, 2.0f, 3.0f, 1.0f};
constexpr MM3DVector kInterest{0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kRoll = 0.5f;

using Cameras = UUGrowableArray<UURefCount<MM3DCamera>>;

std::vector<uint8_t> Words(std::initializer_list<int32_t> words) {
  std::vector<uint8_t> bytes;
  for (int32_t word : words) AppendInt32(bytes, word);
  return bytes;
}

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A camera looking at the interest point, then one without an interest.
void AddCameras(Cameras& cameras) {
  cameras.Append(UURefCount<MM3DCamera>(
      new MM3DCamera(kEye, UUOwned<MM3DVector>(new MM3DVector(kInterest)), kRoll)));
  cameras.Append(UURefCount<MM3DCamera>(new MM3DCamera));
}

// The cameras' list, written with fresh reference tables.
std::vector<uint8_t> CameraListBytes(Cameras& cameras) {
  MM3DDatabase::EmptyReferenceTables();
  ByteWriter writer;
  EXPECT_TRUE(MM3DWriteCameraList(writer, kMM3DCameraSection, cameras));
  return writer.mBytes;
}

class MM3DModDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { MM3DDatabase::EmptyReferenceTables(); }
  void TearDown() override { MM3DDatabase::EmptyReferenceTables(); }

  // The texture table, then the sections, of the database.
  std::vector<uint8_t> WriteTableAndSections(MM3DModDatabase& database) {
    ByteWriter sections;
    EXPECT_TRUE(database.WriteSections(sections));
    ByteWriter table;
    EXPECT_TRUE(database.WriteTextureTable(table));
    return Join(table.mBytes, sections.mBytes);
  }
  bool ReadTableAndSections(const std::vector<uint8_t>& bytes, MM3DModDatabase& database) {
    database.SetTextureMap(&mMap);
    ByteReader reader(bytes);
    return database.ReadTextureTable(reader) && database.ReadRecords(reader);
  }

  MM3DDriverTextureMap mMap;
};

TEST_F(MM3DModDatabaseTest, AModelWithoutSharedObjectsWritesTheFrameAndItsRecordOnly) {
  const std::vector<uint8_t> expected =
      Join({'m', 'o', 'd', ' ', 'I', 'I', 16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0},
           Words({0, 0, 0, 0}));
  EXPECT_EQ(WriteModelBytes(UURefCount<MM3DModel>(new MM3DModel)), expected);
}

TEST_F(MM3DModDatabaseTest, TheTextureTableKeepsOneReferencePerIdAndChecksItsHeader) {
  MM3DCompiledTextureModDatabase database;
  EXPECT_EQ(database.GetTextureReference(kTexture), 0);
  EXPECT_EQ(database.GetTextureReference(kTexture + 1), 1);
  EXPECT_EQ(database.GetTextureReference(kTexture), 0);
  EXPECT_EQ(database.GetTextureCount(), 2);
  EXPECT_EQ(database.GetTextureId(2), kMMNoResource);

  const std::vector<std::vector<uint8_t>> kDamaged = {
      {0, 0, 0, 0}, {2, 0, 0, 0}, {1, 0, 0xFF, 0xFF}, {1, 0, 2, 0, 1, 0, 0, 0}};
  for (const std::vector<uint8_t>& bytes : kDamaged) {
    MM3DCompiledTextureModDatabase reading;
    ByteReader reader(bytes);
    EXPECT_FALSE(reading.ReadTextureTable(reader)) << int{bytes[0]} << " " << int{bytes[2]};
  }
}

TEST_F(MM3DModDatabaseTest, MaterialsReadBackWithTheirLayersThroughTheTextureTable) {
  MM3DCompiledTextureModDatabase written;
  UURefCount<MM3DMaterial> phong(
      new MM3DMaterialPhong(0.25f, kGrey, 0.75f, kGrey, kGrey, kGrey, 8.0f));
  const MM3DTextureKey key{.mClamp = 1, .mLinear = 0, .mMipmaps = 1};
  MM3DMaterialTextureLayer layer(MM3DBlendFactors{}, mMap.GetHandle(kTexture, key));
  auto placement = std::make_unique<MM3DTexturePlacement>();
  placement->SetRotation(1.5f);
  layer.SetPlacement(std::move(placement));
  phong->AddTextureLayer(std::move(layer));
  written.GetMaterials().Append(phong);
  written.GetMaterials().Append(UURefCount<MM3DMaterial>(new MM3DMaterialVertexColor));

  MM3DCompiledTextureModDatabase read;
  ASSERT_TRUE(ReadTableAndSections(WriteTableAndSections(written), read));
  ASSERT_EQ(read.GetMaterials().Count(), 2);
  auto& copy = dynamic_cast<MM3DMaterialPhong&>(*read.GetMaterials()[0]);
  EXPECT_EQ(copy.GetTransparency(), 0.25f);
  EXPECT_EQ(copy.GetDiffuseCoefficient(), 0.75f);
  EXPECT_EQ(copy.GetSpecularPower(), 8.0f);
  EXPECT_EQ(copy.GetAmbient(), kGrey);
  ASSERT_EQ(copy.GetLayerCount(), 1);
  EXPECT_EQ(copy.GetLayer(0).GetTexture().GetTextureId(), kTexture);
  EXPECT_EQ(copy.GetLayer(0).GetTexture().GetKey().mMipmaps, key.mMipmaps);
  ASSERT_NE(copy.GetLayer(0).GetPlacement(), nullptr);
  EXPECT_EQ(copy.GetLayer(0).GetPlacement()->GetRotation(), 1.5f);
  EXPECT_EQ(read.GetMaterials()[1]->GetKind(), kMM3DMaterialVertexColor);
}

TEST_F(MM3DModDatabaseTest, ARepeatedSectionReplacesTheEarlierOne) {
  MM3DModDatabase written;
  written.GetLights().Append(UURefCount<MM3DLight>(new MM3DAmbientLightSource(kGrey, 1.0f)));
  ByteWriter first;
  ASSERT_TRUE(written.WriteSections(first));
  first.mBytes.resize(first.mBytes.size() - 4);  // the end tag
  written.GetLights()[0] = UURefCount<MM3DLight>(new MM3DPointLightSource);
  written.GetLights().Append(UURefCount<MM3DLight>(new MM3DPointLightSource));
  ByteWriter second;
  ASSERT_TRUE(written.WriteSections(second));

  MM3DModDatabase read;
  ByteReader reader(Join(first.mBytes, second.mBytes));
  ASSERT_TRUE(read.ReadRecords(reader));
  ASSERT_EQ(read.GetLights().Count(), 2);
  EXPECT_EQ(read.GetLights()[0]->GetKind(), kMM3DPointLight);
}

TEST_F(MM3DModDatabaseTest, AFailedRecordKeepsTheRecordsBeforeIt) {
  MM3DModDatabase written;
  written.GetLights().Append(UURefCount<MM3DLight>(new MM3DPointLightSource));
  ByteWriter writer;
  ASSERT_TRUE(written.WriteSections(writer));
  std::vector<uint8_t> bytes(writer.mBytes.begin(), writer.mBytes.end() - 4);
  bytes[4] = 2;  // two lights, the second of a kind that does not exist
  const std::vector<uint8_t> damaged = Join(bytes, Words({9}));
  MM3DModDatabase read;
  ByteReader reader(damaged);
  EXPECT_FALSE(read.ReadRecords(reader));
  EXPECT_EQ(read.GetLights().Count(), 1);
}

TEST_F(MM3DModDatabaseTest, UnknownTagsKindsAndLayerCountsFail) {
  const std::vector<std::vector<uint8_t>> kDamaged = {
      Words({6, 0}),            // no such section
      Words({1, 1, 4, 0, 0}),   // a material kind that does not exist
      Words({1, 1, 1, 0, 3}),   // more layers than a material can draw
      Words({1, 1, 1, 0, -1}),  // a negative layer count
      Words({1, -1}),           // a negative count
  };
  for (const std::vector<uint8_t>& bytes : kDamaged) {
    MM3DCompiledTextureModDatabase read;
    ByteReader reader(bytes);
    EXPECT_FALSE(read.ReadRecords(reader));
    EXPECT_EQ(read.GetMaterials().Count(), 0);
  }
}

TEST_F(MM3DModDatabaseTest, TheCameraSectionHoldsEachCameraRecord) {
  MM3DModDatabase database;
  database.GetCameras().Append(UURefCount<MM3DCamera>(new MM3DCamera(kEye, {}, kRoll)));
  std::vector<uint8_t> expected = Words({kMM3DCameraSection, 1, 0});
  for (float value : {kEye.mX, kEye.mY, kEye.mZ, kEye.mW, kRoll}) AppendFloat(expected, value);
  expected.push_back(0);  // no interest point
  ByteWriter writer;
  ASSERT_TRUE(database.WriteSections(writer));
  EXPECT_EQ(writer.mBytes, Join(expected, Words({0})));
}

TEST_F(MM3DModDatabaseTest, CameraListsReadBackCameraForCamera) {
  Cameras written;
  AddCameras(written);
  const std::vector<uint8_t> bytes = CameraListBytes(written);
  MM3DModDatabase read;
  read.GetCameras().Append(UURefCount<MM3DCamera>(new MM3DCamera));
  MM3DDatabase::EmptyReferenceTables();
  ByteReader reader(Join(bytes, Words({0})));
  ASSERT_TRUE(read.ReadRecords(reader));
  ASSERT_EQ(read.GetCameras().Count(), written.Count());
  EXPECT_NE(read.GetCameras()[0]->GetInterest(), nullptr);
  EXPECT_EQ(CameraListBytes(read.GetCameras()), bytes);
}

TEST_F(MM3DModDatabaseTest, AFailedCameraKeepsTheCamerasBeforeIt) {
  Cameras written;
  AddCameras(written);
  std::vector<uint8_t> bytes = CameraListBytes(written);
  bytes.pop_back();  // the second camera's has-interest flag
  Cameras read;
  ByteReader reader(bytes);
  int32_t code = 0;
  ASSERT_TRUE(MM3DDatabase::ReadInt32(reader, code));
  EXPECT_FALSE(MM3DReadCameraList(reader, read));
  EXPECT_EQ(read.Count(), 1);
}

}  // namespace
