#include "mm3d/MM3DModDatabase.h"

#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DLinearSpline.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DNurbSpline.h"
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

// Every float of a kind's own data reads back into its own field.
TEST_F(MM3DModDatabaseTest, ConstantAndLambertMaterialsReadBackTheirOwnColours) {
  const MM3DColor colour{0.1f, 0.2f, 0.3f, 0.4f};
  const MM3DColor ambient{0.5f, 0.6f, 0.7f, 0.8f};
  const MM3DColor incandescence{0.9f, 0.15f, 0.25f, 0.35f};
  MM3DModDatabase written;
  written.GetMaterials().Append(UURefCount<MM3DMaterial>(new MM3DMaterialConstant(colour)));
  written.GetMaterials().Append(UURefCount<MM3DMaterial>(
      new MM3DMaterialLambert(0.0f, colour, 0.75f, ambient, incandescence)));
  written.GetMaterials().Append(UURefCount<MM3DMaterial>(
      new MM3DMaterialPhong(0.0f, kGrey, 1.0f, kGrey, kGrey, ambient, 8.0f)));
  ByteWriter writer;
  ASSERT_TRUE(written.WriteSections(writer));

  MM3DModDatabase read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.ReadRecords(reader));
  ASSERT_EQ(read.GetMaterials().Count(), 3);
  auto& constant = dynamic_cast<MM3DMaterialConstant&>(*read.GetMaterials()[0]);
  EXPECT_EQ(constant.GetColor(), colour);
  auto& lambert = dynamic_cast<MM3DMaterialLambert&>(*read.GetMaterials()[1]);
  EXPECT_EQ(lambert.GetKind(), kMM3DMaterialLambert);
  EXPECT_EQ(lambert.GetColor(), colour);
  EXPECT_EQ(lambert.GetDiffuseCoefficient(), 0.75f);
  EXPECT_EQ(lambert.GetAmbient(), ambient);
  EXPECT_EQ(lambert.GetIncandescence(), incandescence);
  auto& phong = dynamic_cast<MM3DMaterialPhong&>(*read.GetMaterials()[2]);
  EXPECT_EQ(phong.GetSpecularColor(), ambient);
}

// A record cut anywhere inside its layer (blend, texture reference and key,
// placement) fails and the handle keeps the material it held.
TEST_F(MM3DModDatabaseTest, ARecordWithAFailingLayerLeavesTheHandleAsItWas) {
  MM3DCompiledTextureModDatabase database;
  UURefCount<MM3DMaterial> lambert(new MM3DMaterialLambert);
  MM3DMaterialTextureLayer layer(MM3DBlendFactors{}, mMap.GetHandle(kTexture, {1, 0, 0}));
  layer.SetPlacement(std::make_unique<MM3DTexturePlacement>());
  lambert->AddTextureLayer(std::move(layer));
  ByteWriter writer;
  ASSERT_TRUE(lambert->WriteRecord(writer, database));
  // Kind, transparency and count, then blend 8, texture 4 + 16, placement 4 + 24.
  const size_t layerStart = 12;
  const size_t layerEnd = layerStart + 8 + 20 + 28;
  ASSERT_GT(writer.mBytes.size(), layerEnd);
  database.SetTextureMap(&mMap);
  const UURefCount<MM3DMaterial> held(new MM3DMaterialConstant(kGrey));
  for (size_t length = layerStart; length < layerEnd; ++length) {
    MM3DDatabase::EmptyReferenceTables();
    UURefCount<MM3DMaterial> out = held;
    ByteReader reader(std::vector<uint8_t>(writer.mBytes.begin(),
                                           writer.mBytes.begin() + static_cast<ptrdiff_t>(length)));
    EXPECT_FALSE(MM3DMaterial::ReadRecord(reader, database, out)) << length;
    EXPECT_EQ(out.Get(), held.Get()) << length;
  }
  MM3DDatabase::EmptyReferenceTables();
  UURefCount<MM3DMaterial> out = held;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(MM3DMaterial::ReadRecord(reader, database, out));
  EXPECT_EQ(out->GetKind(), kMM3DMaterialLambert);
  EXPECT_NE(out->GetLayer(0).GetPlacement(), nullptr);
}

// The spline section, code 4, carries each spline's record.
TEST_F(MM3DModDatabaseTest, TheSplineSectionReadsBackEverySpline) {
  // The segment from the origin to (3, 4, 0), as a polyline and as a
  // first-degree NURBS; each spline takes its arrays over.
  const auto segment = [] {
    UUGrowableArray<MM3DVector> points;
    points.Append(MM3DVector(0, 0, 0, 1));
    points.Append(MM3DVector(3, 4, 0, 1));
    return points;
  };
  UUGrowableArray<MM3DVector> linearPoints = segment();
  UUGrowableArray<MM3DVector> nurbsPoints = segment();
  UUGrowableArray<float> knots;
  for (float knot : {0.0f, 0.0f, 1.0f, 1.0f}) knots.Append(knot);
  MM3DModDatabase written;
  written.GetSplines().Append(UURefCount<MM3DSpline>(new MM3DLinearSpline(linearPoints, false)));
  written.GetSplines().Append(
      UURefCount<MM3DSpline>(new MM3DNurbSpline(1, nurbsPoints, knots, false)));
  ByteWriter writer;
  ASSERT_TRUE(written.WriteSections(writer));
  ASSERT_GE(writer.mBytes.size(), 8u);
  EXPECT_EQ(std::vector<uint8_t>(writer.mBytes.begin(), writer.mBytes.begin() + 8),
            Words({kMM3DSplineSection, 2}));

  MM3DModDatabase read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.ReadRecords(reader));
  ASSERT_EQ(read.GetSplines().Count(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const MM3DSpline& spline = *read.GetSplines()[i];
    EXPECT_EQ(spline.GetKind(), written.GetSplines()[i]->GetKind());
    EXPECT_EQ(spline.GetLength(), 5.0f);
    MM3DVector end;
    spline.Evaluate(end, spline.GetEndParameter());
    EXPECT_TRUE(end.Equals(MM3DVector(3, 4, 0, 1))) << i;
  }
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
