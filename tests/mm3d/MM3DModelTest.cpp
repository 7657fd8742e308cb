#include "mm3d/MM3DModel.h"

#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DNodeOrdinalVisitors.h"
#include "tests/mm3d/MM3DMeshSupport.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/mm3d/MM3DStreams.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace model_fixtures;

// The kind of every node in ordinal order.
std::vector<int32_t> Kinds(MM3DDisplayTreeNode* top) {
  std::vector<int32_t> kinds;
  for (int32_t ordinal = 1;; ++ordinal) {
    MM3DDisplayTreeNode* node = MM3DFindNodeByOrdinal(top, ordinal);
    if (node == nullptr) return kinds;
    kinds.push_back(node->GetKind());
  }
}

MM3DDisplayTreeNodeSRTTransform* Part(const MM3DModel& model, const char* name) {
  return dynamic_cast<MM3DDisplayTreeNodeSRTTransform*>(model.FindNamedNode(name));
}

class MM3DModelTest : public ::testing::TestWithParam<UUByteOrder> {};

INSTANTIATE_TEST_SUITE_P(ByteOrders, MM3DModelTest,
                         ::testing::Values(kUUNativeByteOrder, kUUSwappedByteOrder));

TEST_P(MM3DModelTest, TheCharacterReadsBackNodeForNode) {
  const UURefCount<MM3DModel> written = MakeCharacter();
  const std::vector<uint8_t> bytes = WriteModelBytes(written, GetParam());
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes[4], GetParam() == kUUNativeByteOrder ? 'I' : 'M');

  const UURefCount<MM3DModel> read = ReadModelBytes(bytes);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(Kinds(read->GetDisplayTree()), Kinds(written->GetDisplayTree()));
  ASSERT_EQ(read->GetNamedNodeCount(), written->GetNamedNodeCount());
  for (int32_t i = 0; i < written->GetNamedNodeCount(); ++i) {
    const MM3DNamedNode& entry = written->GetNamedNode(i);
    SCOPED_TRACE(entry.mName.get());
    MM3DDisplayTreeNodeSRTTransform* part = Part(*read, entry.mName.get());
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(MM3DGetNodeOrdinal(read->GetDisplayTree(), part),
              MM3DGetNodeOrdinal(written->GetDisplayTree(), entry.mNode));
    EXPECT_EQ(part->GetTranslation().mX, Part(*written, entry.mName.get())->GetTranslation().mX);
  }
  ASSERT_EQ(read->GetLights().Count(), 1);
  EXPECT_EQ(read->GetLights().Front()->GetColor(), written->GetLights().Front()->GetColor());
  EXPECT_EQ(read->GetCameras().Count(), 1);
  ASSERT_TRUE(read->HasAnimationClip());
  EXPECT_EQ(read->GetAnimationClip()->GetCount(), written->GetAnimationClip()->GetCount());
  EXPECT_EQ(read->GetAnimationClip()->GetEndTime(), kClipEnd);
}

TEST_P(MM3DModelTest, TheClipReadWithTheModelDrivesItsParts) {
  const UURefCount<MM3DModel> model = ReadModelBytes(WriteModelBytes(MakeCharacter(), GetParam()));
  ASSERT_FALSE(model.IsEmpty());
  MM3DAnimationClip* clip = model->GetAnimationClip();
  MM3DDisplayTreeNodeSRTTransform* torso = Part(*model, "_torso");
  const struct {
    float mTime;
    float mHeight;
    float mHeadTurn;
    float mLightRed;
  } kCases[] = {{0.0f, kTorsoHeights[0], 0.0f, 1.0f},
                {1.0f, kTorsoHeights[1], 0.5f, 0.5f},
                {2.0f, kTorsoHeights[2], 1.0f, 0.0f},
                {0.5f, 1.0f, 0.25f, 0.75f},
                {1.5f, 1.5f, 0.75f, 0.25f}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.mTime);
    clip->Apply(c.mTime);
    EXPECT_FLOAT_EQ(torso->GetTranslation().mY, c.mHeight);
    EXPECT_FLOAT_EQ(Part(*model, "_head")->GetRotation().mY, c.mHeadTurn);
    EXPECT_FLOAT_EQ(model->GetLights().Front()->GetColor().mR, c.mLightRed);
  }
}

// Every field of a light, as its record holds it.
std::vector<uint8_t> LightRecord(const MM3DLight& light) {
  MM3DDatabase::ResetReferenceTables();
  ByteWriter writer;
  EXPECT_TRUE(light.WriteRecord(writer));
  MM3DDatabase::ResetReferenceTables();
  return writer.mBytes;
}

MM3DLight& LightOfChild(const MM3DModel& model, int32_t index) {
  auto* root = static_cast<MM3DDisplayTreeNodeWithChildren*>(model.GetDisplayTree());
  return *static_cast<MM3DDisplayTreeNodeLight*>(root->GetChild(index))->GetLight();
}

TEST_P(MM3DModelTest, LightsOfEveryKindAndMaterialAnimationsReadBack) {
  const UURefCount<MM3DModel> written = MakeShowcase();
  const UURefCount<MM3DModel> model = ReadModelBytes(WriteModelBytes(written, GetParam()));
  ASSERT_FALSE(model.IsEmpty());
  auto* root = static_cast<MM3DDisplayTreeNodeWithChildren*>(model->GetDisplayTree());
  ASSERT_EQ(root->GetChildCount(), 4);
  for (int32_t kind = kMM3DPointLight; kind <= kMM3DAmbientLight; ++kind) {
    auto* node = static_cast<MM3DDisplayTreeNodeLight*>(root->GetChild(kind));
    ASSERT_FALSE(node->GetLight().IsEmpty());
    EXPECT_EQ(node->GetLight()->GetKind(), kind);
    EXPECT_EQ(LightRecord(LightOfChild(*model, kind)), LightRecord(LightOfChild(*written, kind)))
        << "kind " << kind;
  }
  auto* spot = static_cast<MM3DDisplayTreeNodeLight*>(model->FindNamedNode("_spot"));
  ASSERT_NE(spot, nullptr);
  EXPECT_NE(static_cast<MM3DSpotLightSource&>(*spot->GetLight()).GetInterest(), nullptr);

  MM3DAnimationClip* clip = model->GetAnimationClip();
  ASSERT_EQ(clip->GetCount(), MakeShowcase()->GetAnimationClip()->GetCount());
  const auto& first = static_cast<MM3DMaterialAnimationBase&>(*clip->GetAnimation(0));
  auto& phong = dynamic_cast<MM3DMaterialPhong&>(*first.GetMaterial());
  ASSERT_EQ(phong.GetLayerCount(), 1);
  EXPECT_NE(phong.GetLayer(0).GetPlacement(), nullptr);
  clip->Apply(1.0f);
  EXPECT_EQ(phong.GetColor().mR, 1.0f);
  EXPECT_EQ(phong.GetSpecularPower(), 1.0f);
  clip->Apply(0.25f);
  EXPECT_EQ(phong.GetAmbient().mG, 0.25f);
  EXPECT_EQ(spot->GetLight()->GetColor().mB, 0.25f);
  EXPECT_EQ(phong.GetLayer(0).GetPlacement()->GetRotation(), 0.25f);
}

// The positions, then the normals, of every block the model draws after
// its clip ran to the time.
std::vector<MM3DVector> DrawnAt(MM3DModel& model, float time) {
  MeshBench bench;
  model.GetAnimationClip()->Apply(time);
  bench.Render(*model.GetDisplayTree());
  std::vector<MM3DVector> drawn;
  for (const DrawnBlock& block : bench.mPipeline.mDrawn) {
    drawn.insert(drawn.end(), block.mPositions.begin(), block.mPositions.end());
    drawn.insert(drawn.end(), block.mNormals.begin(), block.mNormals.end());
  }
  return drawn;
}

// The mesh, its skin's joints and its blend shape come back, and the clip
// read with them drives them: the arm read deforms as the arm written.
TEST_P(MM3DModelTest, ASkinnedBlendedMeshReadsBackAndFollowsItsClip) {
  const UURefCount<MM3DModel> written = MakeSkinnedArm();
  const UURefCount<MM3DModel> read = ReadModelBytes(WriteModelBytes(written, GetParam()));
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(Kinds(read->GetDisplayTree()), Kinds(written->GetDisplayTree()));
  ASSERT_NE(read->FindNamedNode("_elbow"), nullptr);
  EXPECT_EQ(read->FindNamedNode("_elbow")->GetKind(), kMM3DNodeJoint);
  for (float time : {0.0f, 0.5f, 1.0f}) {
    SCOPED_TRACE(time);
    const std::vector<MM3DVector> expected = DrawnAt(*written, time);
    const std::vector<MM3DVector> actual = DrawnAt(*read, time);
    ASSERT_EQ(actual.size(), 6u);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
      EXPECT_TRUE(actual[i].Equals(expected[i])) << i;
    }
  }
  // Bent and lifted: the first corner rises, the elbow's corner swings.
  const std::vector<MM3DVector> bent = DrawnAt(*read, 1.0f);
  EXPECT_NEAR(bent[0].mZ, 1.0f, 1e-5f);
  EXPECT_NEAR(bent[1].mX, 2.0f, 1e-5f);
  EXPECT_NEAR(bent[1].mY, 1.0f, 1e-5f);
}

TEST(MM3DModelNamedNodeTest, NamesFindTheFirstEntryCaseSensitively) {
  UURefCount<MM3DModel> model = MakeCharacter();
  MM3DDisplayTreeNode* head = model->FindNamedNode("_head");
  ASSERT_NE(head, nullptr);
  model->AddNamedNode("_head", model->FindNamedNode("_torso"));
  EXPECT_EQ(model->FindNamedNode("_head"), head);
  EXPECT_EQ(model->FindNamedNode("_HEAD"), nullptr);
  EXPECT_EQ(model->FindNamedNode("_tail"), nullptr);
  for (const char* name : kLimbNames) EXPECT_NE(model->FindNamedNode(name), nullptr) << name;
}

TEST(MM3DModelNamedNodeTest, ANameOfANodeOutsideTheTreeReadsBackUnresolved) {
  UURefCount<MM3DModel> model = MakeCharacter();
  MM3DDisplayTreeNodeWithVisibility stray;
  model->AddNamedNode("_stray", &stray);
  const UURefCount<MM3DModel> read = ReadModelBytes(WriteModelBytes(model));
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(read->GetNamedNodeCount(), model->GetNamedNodeCount());
  EXPECT_EQ(read->FindNamedNode("_stray"), nullptr);
}

TEST(MM3DModelFileTest, AModelWithoutTreeOrClipReadsBackEmpty) {
  const UURefCount<MM3DModel> read =
      ReadModelBytes(WriteModelBytes(UURefCount<MM3DModel>(new MM3DModel)));
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_FALSE(read->HasDisplayTree());
  EXPECT_FALSE(read->HasAnimationClip());
  EXPECT_FALSE(read->HasLights());
  EXPECT_FALSE(read->HasCameras());
}

TEST(MM3DModelFileTest, ALightOfANodeAndOfTheModelIsWrittenOnceAndSharedAgain) {
  const std::vector<uint8_t> bytes = WriteModelBytes(MakeCharacter());
  const UURefCount<MM3DModel> read = ReadModelBytes(bytes);
  ASSERT_FALSE(read.IsEmpty());
  MM3DDisplayTreeNode* node =
      read->GetDisplayTree()->FindNodeOfKind(kMM3DNodeLight, kMM3DVisitDown);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(static_cast<MM3DDisplayTreeNodeLight*>(node)->GetLight(), read->GetLights().Front());
}

// An empty light or camera handle in the model's lists is left out of the
// file, whose reader refuses it; the others read back.
TEST(MM3DModelFileTest, EmptyLightAndCameraHandlesAreLeftOut) {
  UURefCount<MM3DModel> model = MakeCharacter();
  model->GetLights().PushBack(UURefCount<MM3DLight>());
  model->GetCameras().PushBack(UURefCount<MM3DCamera>());
  const UURefCount<MM3DModel> read = ReadModelBytes(WriteModelBytes(model));
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(read->GetLights().Count(), 1);
  EXPECT_EQ(read->GetCameras().Count(), 1);
}

TEST(MM3DModelFileTest, ATopNodeThatIsNoRootLeavesTheModelWithoutTree) {
  UURefCount<MM3DModel> model(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeWithVisibility), {}));
  const UURefCount<MM3DModel> read = ReadModelBytes(WriteModelBytes(model));
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_FALSE(read->HasDisplayTree());
}

// A record that fails after the tree, or inside it, leaves nothing of the
// old content that pointed into the old tree.
TEST(MM3DModelFileTest, AFailedReadKeepsNothingOfTheOldTree) {
  for (const uint8_t hasRoot : {uint8_t{0}, uint8_t{1}}) {
    SCOPED_TRACE(hasRoot);
    UURefCount<MM3DModel> model = MakeCharacter();
    ASSERT_TRUE(model->HasAnimationClip());
    MM3DModDatabase database;
    ByteReader reader({hasRoot});
    EXPECT_FALSE(model->Read(reader, database));
    EXPECT_FALSE(model->HasDisplayTree());
    EXPECT_FALSE(model->HasAnimationClip());
    EXPECT_FALSE(model->HasLights());
    EXPECT_FALSE(model->HasCameras());
    EXPECT_EQ(model->GetNamedNodeCount(), 0);
  }
}

TEST(MM3DModelFileTest, AModelFileOnDiskReadsBackAndAMissingOneGivesNoModel) {
  const std::string name = resource_fixtures::UniqueName("model");
  const UUDirectory directory = resource_fixtures::TempDirectory();
  std::vector<uint8_t> scratch(kScratchSize);
  UUMemory memory(scratch.data(), kScratchSize);
  MM3DCompiledTextureModDatabase database;
  ASSERT_TRUE(MM3DWriteModelFile(directory, name.c_str(), MakeCharacter(), database, memory));
  const UURefCount<MM3DModel> read = MM3DReadModelFile(directory, name.c_str(), database, nullptr);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_NE(read->FindNamedNode("_R_foot"), nullptr);
  resource_fixtures::Remove(name);
  EXPECT_TRUE(MM3DReadModelFile(directory, name.c_str(), database, nullptr).IsEmpty());
}

TEST(MM3DModelFileTest, EveryTruncatedFileGivesNoModel) {
  const std::vector<uint8_t> bytes = WriteModelBytes(MakeCharacter());
  for (size_t length = 0; length < bytes.size(); ++length) {
    const std::vector<uint8_t> prefix(bytes.begin(),
                                      bytes.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_TRUE(ReadModelBytes(prefix).IsEmpty()) << length;
  }
}

TEST(MM3DModelFileTest, AFailedReadRestoresTheByteOrderAndLeavesNoTableEntries) {
  std::vector<uint8_t> bytes = WriteModelBytes(MakeCharacter(), kUUSwappedByteOrder);
  bytes[7] ^= 1;  // the format code
  ByteReader reader(bytes);
  MM3DCompiledTextureModDatabase database;
  EXPECT_TRUE(MM3DReadModel(reader, database, nullptr).IsEmpty());
  EXPECT_EQ(reader.GetByteOrder(), kUUNativeByteOrder);
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(0), nullptr);
}

TEST(MM3DModelFileTest, AnUnresolvableDelayedReferenceGivesNoModel) {
  std::vector<uint8_t> bytes = WriteModelBytes(MakeCharacter());
  // The table's count is its first word: make it name fewer slots than the
  // clip's animations use.
  const size_t tableStart = bytes.size() - 4 * 3;
  int32_t count = 0;
  std::memcpy(&count, &bytes[tableStart], 4);
  ASSERT_EQ(count, 2);
  bytes.resize(tableStart);
  AppendInt32(bytes, 1);
  AppendInt32(bytes, 0);
  EXPECT_TRUE(ReadModelBytes(bytes).IsEmpty());
}

TEST(MM3DModelFileTest, DamagedCountsAndIndicesGiveNoModel) {
  // A model record holding only lights, cameras and names, after an empty
  // database.
  const auto file = [](std::vector<int32_t> words) {
    std::vector<uint8_t> bytes = {'m', 'o', 'd', ' ', 'I', 'I', 16, 0, 0, 0, 1, 0, 0, 0};
    AppendInt32(bytes, 0);  // end tag
    bytes.push_back(0);     // no root
    bytes.push_back(0);     // no clip
    for (int32_t word : words) AppendInt32(bytes, word);
    return bytes;
  };
  const std::vector<int32_t> kEmptyTail = {0, 0, 0, 0};
  EXPECT_FALSE(ReadModelBytes(file(kEmptyTail)).IsEmpty());
  const std::vector<std::vector<int32_t>> kDamaged = {
      {-1, 0, 0, 0},          // light count
      {1, 0, 0, 0, 0},        // a light index outside the empty section
      {1, -1, 0, 0, 0},       // no light
      {0, -1, 0, 0},          // camera count
      {0, 1 << 30, 0, 0},     // more cameras than the file holds
      {0, 1, 0, 0, 0},        // a camera index outside the empty section
      {0, 1, -1, 0, 0},       // no camera
      {0, 0, -2, 0},          // name count
      {0, 0, 1, -1, 0, 0},    // name length
      {0, 0, 1, 1 << 30, 0},  // name length beyond any name
  };
  for (const std::vector<int32_t>& words : kDamaged) {
    EXPECT_TRUE(ReadModelBytes(file(words)).IsEmpty())
        << words[0] << " " << words[1] << " " << words[2];
  }
}

}  // namespace
