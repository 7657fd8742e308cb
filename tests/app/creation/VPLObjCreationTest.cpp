#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLMaterializer.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>

namespace {

using namespace app_fixtures;

const MM3DColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const MM3DColor kGrey{0.5f, 0.5f, 0.5f, 1.0f};
const MM3DColor kBlack{0.0f, 0.0f, 0.0f, 1.0f};
const MM3DColor kTint{1.2f, 1.2f, 1.2f, 0.0f};

// Record sizes and offsets with and without the second colour.
constexpr size_t kPulsingSize = 175;
constexpr size_t kStillSize = 159;
constexpr size_t kPulsingFlag = 78;
constexpr size_t kPathIdPulsing = 100;
constexpr size_t kPathIdStill = 84;
constexpr size_t kPositionPulsing = 159;
constexpr size_t kPositionStill = 143;

int32_t Int32At(const std::vector<uint8_t>& bytes, size_t offset) {
  int32_t value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

float FloatAt(const std::vector<uint8_t>& bytes, size_t offset) {
  float value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

class VPLObjCreationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  std::unique_ptr<VPLObjCreationUser> Make(const UURefCount<MM3DModel>& model = MakeTwoMeshes()) {
    return std::make_unique<VPLObjCreationUser>(&mStage.Scene(), model, nullptr);
  }
  static std::vector<uint8_t> Record(VPLObjCreation& object) {
    ByteWriter writer;
    EXPECT_TRUE(object.WriteRecord(writer, nullptr));
    return writer.mBytes;
  }
  // The colours of part 0 of the coloured meshes, in walk order.
  static std::vector<MM3DColor> MeshColors(const VPLObj& object) {
    std::vector<MM3DColor> colors;
    const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(object.GetDisplayTreeRoot());
    for (int32_t i = 0; i < meshes.Count(); ++i) {
      auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[i]);
      auto* colored = dynamic_cast<MM3DMaterialWithColor*>(mesh->GetPart(0).mMaterial.Get());
      if (colored != nullptr) colors.push_back(colored->GetColor());
    }
    return colors;
  }

  AppFiles mFiles;
  InterfaceStage mStage;
};

struct PeriodCase {
  const char* mName;
  MM3DColor mBase;
  MM3DColor mSecond;
  bool mPulsing;
  int32_t mPeriod;
};

// A black colour on either side would divide by zero or give a period of
// 0: the pulse stops and the colours stay. A damaged record's colours give
// at most the longest period.
TEST_F(VPLObjCreationTest, ThePulsePeriodFollowsTheBrightnessOfTheTwoColours) {
  const PeriodCase cases[] = {
      {"bright over dark", kWhite, kGrey, true, 100},
      {"dark over bright", kGrey, kWhite, true, 25},
      {"black second", kWhite, kBlack, false, 0},
      {"black base", kBlack, kWhite, false, 0},
      {"far out of range", MM3DColor{3e38f, 3e38f, 3e38f, 1.0f}, kGrey, true, 1000000000},
  };
  for (const PeriodCase& c : cases) {
    SCOPED_TRACE(c.mName);
    const auto object = Make();
    object->SetColors(c.mBase, c.mSecond);
    EXPECT_EQ(object->IsPulsing(), c.mPulsing);
    EXPECT_EQ(object->GetPulsePeriod(), c.mPeriod);
    EXPECT_EQ(object->GetBaseColor(), c.mBase);
    EXPECT_EQ(object->GetSecondColor(), c.mSecond);
  }
}

TEST_F(VPLObjCreationTest, HalfPeriodFramesMoveTheMixByHalfAStep) {
  const auto object = Make();
  object->SetColors(kWhite, kGrey);
  object->Tick(1000);  // the mix is 1: the pulse turns
  EXPECT_FLOAT_EQ(object->GetPulseMix(), 1.0f);
  object->Tick(1050);
  EXPECT_FLOAT_EQ(object->GetPulseMix(), 0.975f);
  object->Tick(1100);
  EXPECT_FLOAT_EQ(object->GetPulseMix(), 0.95f);
  // The colour shown is the mix before the step.
  EXPECT_NEAR(object->GetStoredColor().mR, 0.5f + 0.5f * 0.025f, 1e-5f);
}

TEST_F(VPLObjCreationTest, TheBaseColourAsSecondStopsThePulseAndKeepsTheStoredSecond) {
  const auto object = Make();
  object->SetColors(kWhite, kGrey);
  object->SetSecondColor(kWhite);
  EXPECT_FALSE(object->IsPulsing());
  EXPECT_EQ(object->GetSecondColor(), kGrey);
}

TEST_F(VPLObjCreationTest, TheMaterializerSetsAPulseOnlyBetweenDifferentColours) {
  const auto object = Make();
  VPLMaterializer materializer(nullptr);
  materializer.SetColor(kWhite);
  materializer.SetSecondColor(kGrey);
  materializer.Apply(object.get());
  EXPECT_TRUE(object->IsPulsing());
  EXPECT_EQ(object->GetPulsePeriod(), 100);

  materializer.SetSecondColor(kWhite);
  materializer.Apply(object.get());
  EXPECT_FALSE(object->IsPulsing());
}

TEST_F(VPLObjCreationTest, AHighlightTintsUnclampedAndGivesEveryColourBack) {
  const auto object = Make();
  object->SetColors(kWhite, kGrey);
  const std::vector<MM3DColor> before = MeshColors(*object);
  ASSERT_FALSE(before.empty());

  object->SetHighlight(true, kTint);
  EXPECT_TRUE(object->IsHighlighted());
  EXPECT_FALSE(object->IsPulsing());
  for (const MM3DColor& color : MeshColors(*object)) EXPECT_EQ(color, kTint);

  object->SetHighlight(false, kBlack);
  EXPECT_EQ(MeshColors(*object), before);
  EXPECT_TRUE(object->IsPulsing());
}

TEST_F(VPLObjCreationTest, TheBusyCounterNeverFallsBelowZeroAndOpensTheBounds) {
  const auto object = Make();
  object->DecrementBusy();
  EXPECT_EQ(object->GetBusy(), 0);
  const MM3DVector farA(50, 50, -10, 1);
  const MM3DVector farB(50, 50, 10, 1);
  EXPECT_FALSE(object->IntersectsBounds(farA, farB));
  object->IncrementBusy();
  EXPECT_TRUE(object->IntersectsBounds(farA, farB));
}

TEST_F(VPLObjCreationTest, AModelWithoutMeshesHasNoPartTexture) {
  const auto object = Make(MakeInterfaceCamera());
  EXPECT_EQ(object->GetPartTexture(0), -1);
  object->SetPartTexture(0, 5);
  EXPECT_EQ(object->GetPartTexture(0), -1);
}

TEST_F(VPLObjCreationTest, TheRecordLaysOutItsFieldsWithAndWithoutTheSecondColour) {
  const auto still = Make();
  still->SetLocation(MM3DVector(1, 2, 3, 1));
  const std::vector<uint8_t> stillBytes = Record(*still);
  ASSERT_EQ(stillBytes.size(), kStillSize);
  EXPECT_EQ(stillBytes[kPulsingFlag], 0);
  EXPECT_EQ(Int32At(stillBytes, kPathIdStill), -1);
  EXPECT_EQ(FloatAt(stillBytes, kPositionStill + 8), 3.0f);

  const auto pulsing = Make();
  pulsing->SetColors(kWhite, kGrey);
  pulsing->SetLocation(MM3DVector(1, 2, 3, 1));
  const std::vector<uint8_t> pulsingBytes = Record(*pulsing);
  ASSERT_EQ(pulsingBytes.size(), kPulsingSize);
  EXPECT_EQ(pulsingBytes[kPulsingFlag], 1);
  EXPECT_EQ(Int32At(pulsingBytes, kPathIdPulsing), -1);
  EXPECT_EQ(FloatAt(pulsingBytes, kPositionPulsing + 8), 3.0f);
}

TEST_F(VPLObjCreationTest, ARecordReadBackWritesTheSameBytes) {
  const auto first = Make();
  first->SetColors(kWhite, kGrey);
  first->SetLocation(MM3DVector(4, 5, 6, 1));
  const std::vector<uint8_t> bytes = Record(*first);

  const auto second = Make();
  ByteReader reader(bytes);
  ASSERT_TRUE(second->ReadRecord(reader, nullptr));
  EXPECT_EQ(reader.Remaining(), 0u);
  EXPECT_EQ(Record(*second), bytes);
  EXPECT_TRUE(second->IsPulsing());
  EXPECT_EQ(second->GetPulsePeriod(), 100);
  EXPECT_TRUE(second->GetWorldPosition().Equals(MM3DVector(4, 5, 6, 1)));
}

TEST_F(VPLObjCreationTest, AHighlightedObjectWritesItsColoursFromBeforeAndStaysHighlighted) {
  const auto plain = Make();
  plain->SetColors(kWhite, kGrey);
  const std::vector<uint8_t> expected = Record(*plain);
  plain->SetHighlight(true, kTint);
  EXPECT_EQ(Record(*plain), expected);
  EXPECT_TRUE(plain->IsHighlighted());
  for (const MM3DColor& color : MeshColors(*plain)) EXPECT_EQ(color, kTint);
}

TEST_F(VPLObjCreationTest, AWriteThatFailsAnswersFalseAndKeepsTheHighlight) {
  const auto object = Make();
  object->SetColors(kWhite, kGrey);
  object->SetHighlight(true, kTint);
  for (size_t limit : {size_t{0}, size_t{1}, size_t{78}, size_t{100}, kPulsingSize - 1}) {
    SCOPED_TRACE(limit);
    ByteWriter writer(limit);
    EXPECT_FALSE(object->WriteRecord(writer, nullptr));
    EXPECT_TRUE(object->IsHighlighted());
  }
}

// A field patched into a good record that reads as a float.
struct BadField {
  const char* mName;
  size_t mOffset;
  float mValue;
};

// Values that would divide by zero, run a period backwards, set the path's
// clock outside its run or carry a NaN into the colours fail the record.
TEST_F(VPLObjCreationTest, ARecordWithSenselessValuesFails) {
  const auto source = Make();
  const std::vector<uint8_t> good = Record(*source);
  ASSERT_EQ(good.size(), kStillSize);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const BadField floats[] = {
      {"spin increment not a number", 1, nan},
      {"scale start zero", 18, 0.0f},
      {"scale current negative", 30, -1.0f},
      {"jiggle high infinite", 42, std::numeric_limits<float>::infinity()},
      {"base colour not a number", 62, nan},
      {"pulse mix not a number", 80, nan},
      {"world position not a number", kPositionStill, nan},
  };
  for (const BadField& bad : floats) {
    SCOPED_TRACE(bad.mName);
    std::vector<uint8_t> bytes = good;
    std::memcpy(bytes.data() + bad.mOffset, &bad.mValue, sizeof bad.mValue);
    ByteReader reader(bytes);
    EXPECT_FALSE(Make()->ReadRecord(reader, nullptr));
  }
  struct Patch {
    size_t mOffset;
    int32_t mValue;
    size_t mSize;
  };
  struct BadInt {
    const char* mName;
    std::vector<Patch> mPatches;
  };
  constexpr int32_t kLeast = std::numeric_limits<int32_t>::min();
  const BadInt ints[] = {
      {"negative spin period", {{14, -1, 4}}},
      {"jiggling without a period", {{57, 1, 1}, {58, 0, 4}}},
      {"negative busy counter", {{141, 0xFFFF, 2}}},
      {"path played for a negative time", {{92, 1, 1}, {93, kLeast, 4}}},
      {"path played longer than it lasts", {{88, 700, 4}, {92, 1, 1}, {93, 701, 4}}},
  };
  for (const BadInt& bad : ints) {
    SCOPED_TRACE(bad.mName);
    std::vector<uint8_t> bytes = good;
    for (const Patch& patch : bad.mPatches) {
      std::memcpy(bytes.data() + patch.mOffset, &patch.mValue, patch.mSize);
    }
    ByteReader reader(bytes);
    EXPECT_FALSE(Make()->ReadRecord(reader, nullptr));
  }
}

TEST_F(VPLObjCreationTest, ACutRecordFailsWherever) {
  const auto source = Make();
  source->SetColors(kWhite, kGrey);
  const std::vector<uint8_t> good = Record(*source);
  for (size_t length = 0; length < good.size(); ++length) {
    ByteReader reader(
        std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(length)));
    EXPECT_FALSE(Make()->ReadRecord(reader, nullptr)) << length;
  }
}

}  // namespace
