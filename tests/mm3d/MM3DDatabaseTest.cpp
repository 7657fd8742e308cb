#include "mm3d/MM3DDatabase.h"

#include "mm3d/MM3DDelayedReference.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DModDatabase.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int16_t kFormatCode = 7;
constexpr int16_t kVersion = 3;
constexpr int32_t kEndTag = 99;
constexpr int32_t kNumberTag = 1;

// A database whose one record kind, kNumberTag, holds one int32.
class NumberDatabase : public MM3DDatabase {
 public:
  NumberDatabase(const char* signature = "test", int16_t formatCode = kFormatCode,
                 int16_t version = kVersion)
      : MM3DDatabase(signature, formatCode, version, kEndTag) {}

  bool ReadRecord(UUReader& reader, int32_t tag) override {
    int32_t number = 0;
    if (tag != kNumberTag || !ReadInt32(reader, number)) return false;
    mNumbers.push_back(number);
    return true;
  }

  std::vector<int32_t> mNumbers;
};

class MM3DDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override { MM3DDatabase::ResetReferenceTables(); }
  void TearDown() override { MM3DDatabase::FreeReferenceTables(); }
};

TEST_F(MM3DDatabaseTest, TheHeaderIsTheSignatureTheMarkTheCodeAndTheVersion) {
  ByteWriter writer;
  ASSERT_TRUE(NumberDatabase().WriteHeader(writer));
  const std::vector<uint8_t> expected = {'t', 'e', 's', 't', 'I', 'I', 7, 0, 3, 0};
  EXPECT_EQ(writer.mBytes, expected);
}

TEST_F(MM3DDatabaseTest, AHeaderReadsOnlyForItsKindAndAVersionNotAboveTheReaders) {
  struct Case {
    const char* mSignature;
    int16_t mFormatCode;
    int16_t mVersion;
    bool mReads;
  };
  const Case cases[] = {{"test", kFormatCode, kVersion, true},
                        {"test", kFormatCode, kVersion - 1, true},
                        {"tesT", kFormatCode, kVersion, false},
                        {"test", kFormatCode + 1, kVersion, false},
                        {"test", kFormatCode, kVersion + 1, false}};
  for (const Case& c : cases) {
    ByteWriter writer;
    NumberDatabase(c.mSignature, c.mFormatCode, c.mVersion).WriteHeader(writer);
    ByteReader reader(writer.mBytes);
    EXPECT_EQ(NumberDatabase().ReadHeader(reader), c.mReads) << c.mSignature << c.mVersion;
  }
}

TEST_F(MM3DDatabaseTest, ABigEndianHeaderSetsTheByteOrderForWhatFollows) {
  const std::vector<uint8_t> bytes = {'t', 'e', 's', 't', 'M', 'M', 0, 7, 0, 3};
  ByteReader reader(bytes);
  EXPECT_TRUE(NumberDatabase().ReadHeader(reader));
  EXPECT_EQ(reader.GetByteOrder(), kUUSwappedByteOrder);
}

TEST_F(MM3DDatabaseTest, RecordsAreReadUpToTheEndTag) {
  std::vector<uint8_t> bytes;
  for (int32_t value : {kNumberTag, 5, kNumberTag, 6, kEndTag, kNumberTag, 7}) {
    AppendInt32(bytes, value);
  }
  NumberDatabase database;
  ByteReader reader(bytes);
  ASSERT_TRUE(database.ReadRecords(reader));
  EXPECT_EQ(database.mNumbers, (std::vector<int32_t>{5, 6}));
  EXPECT_EQ(reader.Remaining(), 8u);
}

TEST_F(MM3DDatabaseTest, AnUnknownTagOrAMissingEndTagFails) {
  for (const std::vector<int32_t>& values :
       {std::vector<int32_t>{kNumberTag, 5, 42, kEndTag}, std::vector<int32_t>{kNumberTag, 5}}) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values) AppendInt32(bytes, value);
    NumberDatabase database;
    ByteReader reader(bytes);
    EXPECT_FALSE(database.ReadRecords(reader));
  }
}

// Writes what a file would hold: each object's reference in order, then
// the delayed references, then the table.
class DelayedReferenceTest : public MM3DDatabaseTest {
 protected:
  std::vector<uint8_t> WriteTable() {
    ByteWriter writer;
    EXPECT_TRUE(MM3DDatabase::WriteDelayedReferenceTable(writer));
    return writer.mBytes;
  }

  static bool Resolve(const std::vector<uint8_t>& bytes) {
    ByteReader reader(bytes);
    return MM3DDatabase::ResolveDelayedReferences(reader);
  }
};

TEST_F(DelayedReferenceTest, AFileWithoutDelayedReferencesEndsWithOneZero) {
  EXPECT_EQ(WriteTable(), std::vector<uint8_t>(4, 0));
}

TEST_F(DelayedReferenceTest, AReferenceReadBeforeItsTargetResolvesToIt) {
  MM3DDisplayTreeNodeJoint target;
  MM3DDelayedReference<MM3DDisplayTreeNodeJoint> reference;
  reference.Set(&target);
  ByteWriter writer;
  ASSERT_TRUE(MM3DDatabase::SaveReference(writer, &writer));  // an unrelated object first
  ASSERT_TRUE(reference.Write(writer));
  ASSERT_TRUE(MM3DDatabase::SaveReference(writer, static_cast<MM3DDisplayTreeNode*>(&target)));
  const std::vector<uint8_t> table = WriteTable();
  EXPECT_EQ(table, (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 0, 0}));

  ByteReader reader(writer.mBytes);
  int32_t other = 0;
  MM3DDisplayTreeNodeJoint readTarget;
  MM3DDelayedReference<MM3DDisplayTreeNodeJoint> readReference;
  ASSERT_TRUE(MM3DDatabase::LoadReference(reader, &other));
  ASSERT_TRUE(readReference.Read(reader));
  EXPECT_EQ(readReference.Get(), nullptr);
  ASSERT_TRUE(MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &readTarget));
  ASSERT_TRUE(Resolve(table));
  EXPECT_EQ(readReference.Get(), &readTarget);
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(0), nullptr);  // the tables are emptied
}

TEST_F(DelayedReferenceTest, ANullReferenceWritesMinusOneAndStaysOutOfThePendingTable) {
  MM3DDelayedReference<MM3DDisplayTreeNode> reference;
  ByteWriter writer;
  ASSERT_TRUE(reference.Write(writer));
  EXPECT_EQ(writer.mBytes, std::vector<uint8_t>(4, 0xFF));
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(reference.Read(reader));
  // A table of no slots resolves: nothing is pending.
  EXPECT_TRUE(Resolve(std::vector<uint8_t>(4, 0)));
  EXPECT_EQ(reference.Get(), nullptr);
}

TEST_F(DelayedReferenceTest, TwoReferencesToOneTargetWriteTwoSlotsWithOnePosition) {
  MM3DDisplayTreeNodeWithVisibility target;
  MM3DDelayedReference<MM3DDisplayTreeNode> first;
  MM3DDelayedReference<MM3DDisplayTreeNode> second;
  first.Set(&target);
  second.Set(&target);
  ByteWriter writer;
  MM3DDatabase::SaveReference(writer, &target);
  first.Write(writer);
  second.Write(writer);
  EXPECT_EQ(WriteTable(), (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(DelayedReferenceTest, ATargetNeverWrittenResolvesToNull) {
  MM3DDisplayTreeNodeWithVisibility absent;
  MM3DDelayedReference<MM3DDisplayTreeNode> reference;
  reference.Set(&absent);
  ByteWriter writer;
  reference.Write(writer);
  const std::vector<uint8_t> table = WriteTable();
  EXPECT_EQ(table, (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));  // the table's count, 0

  ByteReader reader(writer.mBytes);
  MM3DDelayedReference<MM3DDisplayTreeNode> read;
  read.Read(reader);
  EXPECT_TRUE(Resolve(table));
  EXPECT_EQ(read.Get(), nullptr);
}

TEST_F(DelayedReferenceTest, AReferenceResolvesOnlyToAnObjectOfItsType) {
  MM3DDisplayTreeNodeWithVisibility notAJoint;
  int32_t notANode = 0;
  std::vector<uint8_t> bytes;
  for (int32_t value : {0, 1, 0, 1}) AppendInt32(bytes, value);  // two objects, two slots
  ByteReader reader(bytes);
  MM3DDelayedReference<MM3DDisplayTreeNodeJoint> joint;
  MM3DDelayedReference<MM3DDisplayTreeNode> node;
  ASSERT_TRUE(MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &notAJoint));
  ASSERT_TRUE(MM3DDatabase::LoadReference(reader, &notANode));
  ASSERT_TRUE(joint.Read(reader));
  ASSERT_TRUE(node.Read(reader));
  std::vector<uint8_t> table;
  for (int32_t value : {2, 0, 1}) AppendInt32(table, value);
  ASSERT_TRUE(Resolve(table));
  EXPECT_EQ(joint.Get(), nullptr);  // slot 0 names a node that is no joint
  EXPECT_EQ(node.Get(), nullptr);   // slot 1 names an object that is no node
}

TEST_F(DelayedReferenceTest, SlotsAndCountsOutOfRangeFailTheRead) {
  MM3DDisplayTreeNodeWithVisibility target;
  struct Case {
    const char* mName;
    std::vector<int32_t> mReferenceSlots;
    std::vector<int32_t> mTable;
  };
  const Case cases[] = {
      {"slot past the table", {1}, {1, 0}},
      {"slot past the maximum", {MM3DDatabase::kMaxReferenceIndex + 1}, {1, 0}},
      {"negative table count", {0}, {-1}},
      {"table count past the maximum", {0}, {MM3DDatabase::kMaxReferenceIndex + 2}},
      {"table shorter than its count", {0}, {3, 0}},
  };
  for (const Case& c : cases) {
    MM3DDatabase::ResetReferenceTables();
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, 0);
    for (int32_t slot : c.mReferenceSlots) AppendInt32(bytes, slot);
    ByteReader reader(bytes);
    MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &target);
    MM3DDelayedReference<MM3DDisplayTreeNode> reference;
    const bool slotRead = reference.Read(reader);
    std::vector<uint8_t> table;
    for (int32_t value : c.mTable) AppendInt32(table, value);
    EXPECT_FALSE(slotRead && Resolve(table)) << c.mName;
    EXPECT_EQ(reference.Get(), nullptr) << c.mName;
  }
}

TEST_F(DelayedReferenceTest, AReferenceThatDiesBeforeTheTableIsNotSet) {
  MM3DDisplayTreeNodeWithVisibility target;
  std::vector<uint8_t> bytes;
  for (int32_t value : {0, 0}) AppendInt32(bytes, value);
  ByteReader reader(bytes);
  MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &target);
  auto reference = std::make_unique<MM3DDelayedReference<MM3DDisplayTreeNode>>();
  ASSERT_TRUE(reference->Read(reader));
  reference.reset();
  std::vector<uint8_t> table;
  for (int32_t value : {1, 0}) AppendInt32(table, value);
  EXPECT_TRUE(Resolve(table));  // under the sanitizers, a write to the dead reference shows
}

TEST_F(DelayedReferenceTest, ANodeThatDiesWhileItsFileIsReadLeavesNoEntry) {
  std::vector<uint8_t> record;
  AppendInt32(record, kMM3DNodeWithVisibility);
  AppendInt32(record, 4);  // its reference index
  AppendInt32(record, 1);  // visible
  // the child count is missing
  MM3DModDatabase database;
  ByteReader recordReader(record);
  UUOwned<MM3DDisplayTreeNode> holder;
  EXPECT_FALSE(MM3DReadDisplayTreeNode(recordReader, database, holder));
  ASSERT_FALSE(holder.IsEmpty());
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(4), holder.Get());
  holder.Reset();
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(4), nullptr);
}

}  // namespace
