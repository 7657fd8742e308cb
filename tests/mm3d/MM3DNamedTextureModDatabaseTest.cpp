#include "mm3d/MM3DNamedTextureModDatabase.h"

#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint16_t kCollection = 5;
constexpr int32_t kNameSize = MM3DNamedTextureModDatabase::kNameSize;
constexpr int32_t kKeptLength = kNameSize - 1;

const std::string kKept(kKeptLength, 'a');
const std::string kLong = kKept + "-long";
const std::string kLonger = kKept + "-longer";

// One entry of a table: the name, then zeros to fill its 32 bytes.
std::vector<uint8_t> Entry(const std::string& name) {
  std::vector<uint8_t> bytes(name.begin(), name.end());
  bytes.resize(kNameSize, 0);
  return bytes;
}

std::vector<uint8_t> Table(std::vector<uint8_t> header, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    const std::vector<uint8_t> entry = Entry(name);
    header.insert(header.end(), entry.begin(), entry.end());
  }
  return header;
}

std::vector<uint8_t> WriteTable(MM3DNamedTextureModDatabase& database,
                                UUByteOrder order = kUUNativeByteOrder) {
  ByteWriter writer;
  writer.SetWriteByteOrder(order);
  EXPECT_TRUE(database.WriteTextureTable(writer));
  return writer.mBytes;
}

class MM3DNamedTextureModDatabaseTest : public ::testing::Test {
 protected:
  FakeTextureCollection mCollection{kCollection};
  const MMResourceId mGrass =
      mCollection.Add({.mRed = 0, .mGreen = 255, .mBlue = 0, .mName = "Grass"});
  const MMResourceId mLowerGrass =
      mCollection.Add({.mRed = 0, .mGreen = 128, .mBlue = 0, .mName = "grass"});
  const MMResourceId mKept =
      mCollection.Add({.mRed = 1, .mGreen = 1, .mBlue = 1, .mName = kKept.c_str()});
  const MMResourceId mLong =
      mCollection.Add({.mRed = 2, .mGreen = 2, .mBlue = 2, .mName = kLong.c_str()});
  const MMResourceId mLonger =
      mCollection.Add({.mRed = 3, .mGreen = 3, .mBlue = 3, .mName = kLonger.c_str()});
  MM3DNamedTextureModDatabase mDatabase;
};

TEST_F(MM3DNamedTextureModDatabaseTest, ATextureReferredToTwiceHasOneEntry) {
  EXPECT_EQ(mDatabase.GetTextureReference(mGrass), 0);
  EXPECT_EQ(mDatabase.GetTextureReference(mGrass), 0);
  EXPECT_EQ(mDatabase.GetTextureCount(), 1);
}

TEST_F(MM3DNamedTextureModDatabaseTest, NamesDifferingInLetterCaseHaveTheirOwnEntries) {
  EXPECT_EQ(mDatabase.GetTextureReference(mGrass), 0);
  EXPECT_EQ(mDatabase.GetTextureReference(mLowerGrass), 1);
  EXPECT_EQ(mDatabase.GetTextureId(0), mGrass);
  EXPECT_EQ(mDatabase.GetTextureId(1), mLowerGrass);
}

TEST_F(MM3DNamedTextureModDatabaseTest, LongNamesKeepTheirFirstCharactersOnly) {
  EXPECT_EQ(mDatabase.GetTextureReference(mLong), 0);
  EXPECT_EQ(mDatabase.GetTextureReference(mLonger), 0);
  EXPECT_EQ(mDatabase.GetTextureId(0), mKept);
  EXPECT_EQ(WriteTable(mDatabase), Table({0, 0, 1, 0}, {kKept}));
}

TEST_F(MM3DNamedTextureModDatabaseTest, ReferencesOutsideTheTableOrNamingNoTextureGiveNoId) {
  mDatabase.GetTextureReference(MMMakeResourceId(kCollection + 1, 0));
  for (int32_t reference : {-1, 0, 1}) {
    EXPECT_EQ(mDatabase.GetTextureId(reference), kMMNoResource) << reference;
  }
}

TEST_F(MM3DNamedTextureModDatabaseTest, TheTableReadsBackInBothByteOrders) {
  mDatabase.GetTextureReference(mGrass);
  mDatabase.GetTextureReference(mLowerGrass);
  const std::vector<uint8_t> little = Table({0, 0, 2, 0}, {"Grass", "grass"});
  const std::vector<uint8_t> big = Table({0, 0, 0, 2}, {"Grass", "grass"});
  EXPECT_EQ(WriteTable(mDatabase), little);
  EXPECT_EQ(WriteTable(mDatabase, kUUSwappedByteOrder), big);
  for (UUByteOrder order : {kUUNativeByteOrder, kUUSwappedByteOrder}) {
    MM3DNamedTextureModDatabase read;
    ByteReader reader(order == kUUNativeByteOrder ? little : big);
    reader.SetByteOrder(order);
    ASSERT_TRUE(read.ReadTextureTable(reader)) << "byte order " << order;
    EXPECT_EQ(reader.Remaining(), 0u);
    EXPECT_EQ(read.GetTextureId(0), mGrass);
    EXPECT_EQ(read.GetTextureId(1), mLowerGrass);
    EXPECT_EQ(WriteTable(read), little) << "byte order " << order;
  }
}

TEST_F(MM3DNamedTextureModDatabaseTest, ANameFillingItsEntryEndsInsideIt) {
  const std::vector<uint8_t> full(kNameSize, 'a');
  std::vector<uint8_t> bytes = {0, 0, 1, 0};
  bytes.insert(bytes.end(), full.begin(), full.end());
  ByteReader reader(bytes);
  ASSERT_TRUE(mDatabase.ReadTextureTable(reader));
  EXPECT_EQ(mDatabase.GetTextureId(0), mKept);
  EXPECT_EQ(WriteTable(mDatabase), Table({0, 0, 1, 0}, {kKept}));
}

TEST_F(MM3DNamedTextureModDatabaseTest, DamagedTablesFailKeepingTheNamesReadWhole) {
  struct Case {
    const char* mWhat;
    std::vector<uint8_t> mBytes;
    int32_t mKept;
  };
  const std::vector<Case> kCases = {
      {"the compiled table's version", Table({1, 0, 1, 0}, {"Grass"}), 0},
      {"a negative count", {0, 0, 0xFF, 0xFF}, 0},
      {"a short header", {0, 0, 1}, 0},
      {"one name of two", Table({0, 0, 2, 0}, {"Grass"}), 1},
      {"a count far beyond the names", Table({0, 0, 0xFF, 0x7F}, {"Grass"}), 1},
  };
  for (const Case& c : kCases) {
    MM3DNamedTextureModDatabase read;
    ByteReader reader(c.mBytes);
    EXPECT_FALSE(read.ReadTextureTable(reader)) << c.mWhat;
    EXPECT_NE(reader.GetError(), kUUNoError) << c.mWhat;
    EXPECT_EQ(read.GetTextureCount(), c.mKept) << c.mWhat;
  }
}

}  // namespace
