#include "mm/resources/MMScript.h"

#include "foundation/af/AFError.h"
#include "mm/resources/MMScriptCollection.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;

// A row of 12 bytes: int16 kind, int16 value, int32 text offset, float.
std::vector<uint8_t> Row(int16_t kind, int16_t value, uint32_t text, float real) {
  Bytes bytes;
  uint32_t bits = 0;
  std::memcpy(&bits, &real, 4);
  bytes.U16(static_cast<uint16_t>(kind)).U16(static_cast<uint16_t>(value)).U32(text).U32(bits);
  return bytes.Get();
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> rows) {
  std::vector<uint8_t> all;
  for (const auto& row : rows) all.insert(all.end(), row.begin(), row.end());
  return all;
}

class MMScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    MMDeleteAllScriptCollections();
    for (const std::string& name : mNames) Remove(name);
    AFClearError();
  }
  std::string Name(const char* what) {
    mNames.push_back(UniqueName(what));
    return mNames.back();
  }
  MMScriptLoader* Open(const std::string& name) {
    return MMOpenScriptFile(TempDirectory(), name.c_str());
  }
  // One entry of three rows (layout 0, 12 bytes) and a second of one row.
  ScriptFileContents Standard() {
    ScriptFileContents contents;
    contents.rowSizes = {12, 4};
    contents.entries = {
        {0, 3, Join({Row(7, 10, 0, 1.5f), Row(8, 2, 6, -2.25f), Row(7, -1, 9, 0.0f)}),
         std::string("Hello\0Caf\0", 10)},
        {1, 1, Bytes().U16(1).U16(2).Get(), std::string()},
    };
    return contents;
  }

 private:
  std::vector<std::string> mNames;
};

TEST_F(MMScriptTest, WriterAndReaderAgreeOnTheHeaderAndTheNames) {
  const std::string name = Name("scripts");
  WriteScripts(name, 2, Standard());
  MMScriptFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), name.c_str(), true, true));
  EXPECT_EQ(file.GetLanguage(), -1);
  EXPECT_EQ(file.GetCodePage(), 1252);
  EXPECT_EQ(file.GetHeaderWord(), 0x55);
  ASSERT_EQ(file.GetLayoutCount(), 2);
  EXPECT_EQ(file.GetRowSize(0), 12);
  EXPECT_EQ(file.GetRowSize(1), 4);
  EXPECT_EQ(file.GetRowSize(2), -1);
  EXPECT_EQ(file.GetEntryRowCount(0), 3);
  EXPECT_EQ(file.GetEntryLayout(1), 1);
  EXPECT_STREQ(file.GetLayoutName(1), "layout1");
  EXPECT_STREQ(file.GetEntryName(0), "entry0");
  EXPECT_EQ(file.GetEntryName(2), nullptr);
  file.Close(false);

  MMScriptFile withoutNames;
  ASSERT_TRUE(withoutNames.Open(TempDirectory(), name.c_str(), false, false));
  EXPECT_EQ(withoutNames.GetEntryName(0), nullptr);
  EXPECT_EQ(withoutNames.GetEntryRowCount(1), 1);
}

// Hand-made bytes of a one-entry file: the layout the writer must agree on.
// Every row word goes through U16, so that the big-endian twin stores its
// 32-bit fields as two big-endian words, low word first.
std::vector<uint8_t> HandMadeScripts(bool bigEndian) {
  Bytes b(bigEndian);
  const uint32_t dataStart = 44 + 30;
  b.Tag("DAZE Scripts").U16(3).U32(0).U16(5).U32(0).U32(0).U16(1);
  b.U32(dataStart).U32(dataStart + 2 * 12 + 10);
  b.U16(11).U16(0xFFFF).U16(1252).U16(9).U16(1).U16(12);  // version .. one row size
  b.U16(0).U32(0).U32(2).U16(0).U16(0).U32(0);            // names, row count, layout
  float values[2] = {3.5f, -0.125f};
  for (int row = 0; row < 2; ++row) {
    uint32_t bits = 0;
    std::memcpy(&bits, &values[row], 4);
    b.U16(static_cast<uint16_t>(40 + row)).U16(0xFFFE).U16(row == 0 ? 0 : 4).U16(0);
    b.U32(bits);  // plain float in the file's byte order
  }
  b.Raw(std::string("Abc\0Defg\0", 9)).U8(0);
  return b.Get();
}

TEST_F(MMScriptTest, HandMadeFilesReadTheSameInBothByteOrders) {
  for (bool bigEndian : {false, true}) {
    const std::string name = Name(bigEndian ? "big" : "little");
    WriteBytes(name, HandMadeScripts(bigEndian));
    MMScriptLoader* loader = Open(name);
    ASSERT_NE(loader, nullptr) << bigEndian;
    MMScript script(MMMakeScriptId(loader, 0));
    ASSERT_EQ(script.GetRowCount(), 2) << bigEndian;
    EXPECT_EQ(script.GetHeaderWord(), 9);
    EXPECT_EQ(script.GetInt16(1, 0), 41);
    EXPECT_EQ(script.GetInt16(0, 2), -2);
    EXPECT_EQ(script.GetInt32(1, 4), 4);
    EXPECT_STREQ(script.GetString(0, 4), "Abc");
    EXPECT_STREQ(script.GetString(1, 4), "Defg");
    EXPECT_FLOAT_EQ(script.GetFloat(0, 8), 3.5f);
    EXPECT_FLOAT_EQ(script.GetFloat(1, 8), -0.125f);
    delete loader;
  }
}

TEST_F(MMScriptTest, FieldsOfTheWrittenFile) {
  const std::string name = Name("scripts");
  WriteScripts(name, 3, Standard());
  MMScriptLoader* loader = Open(name);
  ASSERT_NE(loader, nullptr);
  MMScript script(MMMakeScriptId(loader, 0));
  EXPECT_EQ(script.GetId(), 0x00030000);
  EXPECT_EQ(script.GetRowSize(), 12);
  EXPECT_EQ(script.GetByte(0, 0), 7);
  EXPECT_TRUE(script.GetBool(0, 2));
  EXPECT_EQ(script.GetUInt32(1, 4), 6u);
  EXPECT_STREQ(script.GetString(1, 4), "Caf");
  EXPECT_EQ(script.GetPoint(1, 0), (UUPoint{8, 2}));
  EXPECT_EQ(script.GetRect(0, 0), UURect(7, 10, 0, 0));
  EXPECT_FLOAT_EQ(script.GetFloat(1, 8), -2.25f);
}

TEST_F(MMScriptTest, OffsetsOutsideTheDataReadAsZeroOrEmpty) {
  ScriptFileContents contents = Standard();
  // Row 2's text offset points past the end of the text area.
  contents.entries[0].rowBytes = Join({Row(7, 10, 0, 1.5f), Row(8, 2, 6, 0), Row(7, -1, 1000, 0)});
  const std::string name = Name("scripts");
  WriteScripts(name, 0, contents);
  ASSERT_NE(Open(name), nullptr);
  MMScript script(0);
  struct Case {
    int32_t row;
    int16_t offset;
  };
  for (const Case& c : {Case{3, 0}, Case{-1, 0}, Case{0, -2}, Case{0, 11}, Case{0, 12}}) {
    EXPECT_EQ(script.GetInt16(c.row, c.offset), 0) << c.row << " " << c.offset;
    EXPECT_EQ(script.GetInt32(c.row, c.offset), 0) << c.row << " " << c.offset;
    EXPECT_STREQ(script.GetString(c.row, c.offset), "") << c.row << " " << c.offset;
  }
  EXPECT_EQ(script.GetByte(0, 11), 0x3F);  // the last byte of 1.5f's bits exists
  EXPECT_STREQ(script.GetString(2, 4), "");
  EXPECT_EQ(script.GetDouble(0, 8), 0.0);  // eight bytes do not fit after 8
}

TEST_F(MMScriptTest, AnEntryWhoseRowsDoNotFitItsSubfileLoadsEmpty) {
  ScriptFileContents contents = Standard();
  contents.entries[1].rows = 3;  // 12 bytes of rows in a 4-byte subfile
  const std::string name = Name("scripts");
  WriteScripts(name, 0, contents);
  ASSERT_NE(Open(name), nullptr);
  MMScript script(1);
  EXPECT_EQ(script.GetRowCount(), 0);
  EXPECT_EQ(script.GetInt16(0, 0), 0);
  EXPECT_FALSE(AFErrorPending());
  EXPECT_EQ(MMScript(7).GetRowCount(), 0);           // no such entry
  EXPECT_EQ(MMScript(0x00050000).GetRowCount(), 0);  // no such collection
}

TEST_F(MMScriptTest, AFileForAnotherCodePageIsRefusedUnlessItsLanguageIsAny) {
  ScriptFileContents contents = Standard();
  contents.codePage = 932;
  contents.language = 0;
  const std::string refused = Name("refused");
  WriteScripts(refused, 0, contents);
  EXPECT_EQ(Open(refused), nullptr);
  EXPECT_EQ(AFGetErrorCode(), MME_SCRIPT_FILE_WRONG_LANGUAGE);
  EXPECT_EQ(MMGetScriptCollection(0), nullptr);
  AFClearError();

  contents.language = -1;
  contents.entries[0].texts = std::string("Hello\0Caf\x8E\0", 11);
  const std::string accepted = Name("accepted");
  WriteScripts(accepted, 0, contents);
  ASSERT_NE(Open(accepted), nullptr);
  EXPECT_STREQ(MMScript(0).GetString(1, 4), "Caf\x8E");  // used as stored
}

TEST_F(MMScriptTest, MacTextsAreConvertedToTheAnsiCodePage) {
  ScriptFileContents contents = Standard();
  contents.language = 0;
  const std::string longText(399, '\x8E');
  const std::string longer(400, '\x8A');
  contents.entries[0].texts = std::string("Hello\0Caf\x8E\0", 11) + longText + '\0' + longer + '\0';
  const std::string name = Name("mac");
  WriteScripts(name, 0, contents);
  ASSERT_NE(Open(name), nullptr);
  MMScript script(0);
  EXPECT_STREQ(script.GetString(0, 4), "Hello");
  EXPECT_STREQ(script.GetString(1, 4), "Caf\xE9");
  const char* converted = script.GetString(1, 4) + 5;  // the long texts follow "Caf"
  EXPECT_TRUE(std::string(converted) == std::string(399, '\xE9'));
  EXPECT_TRUE(std::string(converted + 400) == std::string(400, '\xE4'));
}

TEST_F(MMScriptTest, AConversionThatFailsKeepsTheText) {
  char text[] = "Caf\x8E";
  MMConvertScriptText(text, 4, 10006);  // a Macintosh code page this system lacks
  EXPECT_STREQ(text, "Caf\x8E");
  MMConvertScriptText(text, 4, 10000);
  EXPECT_STREQ(text, "Caf\xE9");
}

TEST_F(MMScriptTest, ScriptIdsAndRelativeIds) {
  ScriptFileContents contents = Standard();
  contents.entries.push_back(contents.entries[1]);
  contents.entries.push_back(contents.entries[1]);
  contents.entries.push_back(contents.entries[1]);  // N = 5
  // Row fields holding 2, -1 and 0 as relative ids.
  contents.entries[0].rowBytes = Join({Row(2, 0, 0, 0), Row(-1, 0, 0, 0), Row(0, 0, 0, 0)});
  const std::string name = Name("ids");
  WriteScripts(name, 0, contents);
  MMScriptLoader* loader = Open(name);
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(MMMakeScriptId(loader, 3), 0x00000003);
  EXPECT_EQ(MMMakeScriptId(nullptr, 3), kMMNoResource);
  EXPECT_EQ(MMGetScriptCollection(0x00000003), loader);
  MMScript script(0);
  EXPECT_EQ(script.GetScriptId(0, 0), 1);
  EXPECT_EQ(script.GetScriptId(1, 0), 4);
  EXPECT_EQ(script.GetScriptId(2, 0), kMMNoResource);
  delete loader;
  EXPECT_EQ(MMGetScriptCollection(0), nullptr);
}

TEST_F(MMScriptTest, FindRowAndCountRows) {
  const std::string name = Name("rows");
  WriteScripts(name, 0, Standard());
  ASSERT_NE(Open(name), nullptr);
  MMScript script(0);  // kinds 7, 8, 7
  struct Case {
    int32_t start;
    int32_t n;
    int16_t key;
    int32_t row;
  };
  for (const Case& c : {Case{0, 0, 7, 0}, Case{0, 1, 7, 2}, Case{1, 0, 7, 2}, Case{0, 2, 7, -1},
                        Case{0, 0, 9, -1}, Case{2, -1, 9, 2}}) {
    EXPECT_EQ(script.FindRow(c.start, 0, c.n, c.key), c.row) << c.start << " " << c.n;
  }
  EXPECT_EQ(script.CountRows(0, 0, 7), 2);
  EXPECT_EQ(script.CountRows(1, 0, 8), 1);
  EXPECT_EQ(script.CountRows(3, 0, 7), 0);
  EXPECT_EQ(script.CountRows(9, 0, 7), 0);
}

TEST_F(MMScriptTest, CopiesShareTheDataAndSeparateHandlesDoNot) {
  const std::string name = Name("sharing");
  WriteScripts(name, 0, Standard());
  ASSERT_NE(Open(name), nullptr);
  auto first = std::make_unique<MMScript>(0);
  MMScript second(0);
  EXPECT_NE(first->GetString(0, 4), second.GetString(0, 4));
  MMScript copy(*first);
  MMScript assigned(1);
  assigned = *first;
  EXPECT_EQ(copy.GetString(0, 4), first->GetString(0, 4));
  EXPECT_EQ(assigned.GetString(0, 4), first->GetString(0, 4));
  first.reset();
  EXPECT_STREQ(copy.GetString(0, 4), "Hello");  // ASan would catch a freed block
  const MMScript& same = assigned;
  assigned = same;
  EXPECT_EQ(assigned.GetRowCount(), 3);
  EXPECT_STREQ(assigned.GetString(1, 4), "Caf");
}

TEST_F(MMScriptTest, BadFilesRaiseTheScriptErrors) {
  const std::vector<uint8_t> good = HandMadeScripts(false);
  std::vector<uint8_t> badVersion = good;
  badVersion[44] = 12;
  std::vector<uint8_t> hugeLayouts = good;
  hugeLayouts[52] = 0xFF;  // M = 0x00FF row sizes that the file does not hold
  hugeLayouts[53] = 0x7F;
  const std::vector<uint8_t> truncated(good.begin(), good.begin() + 62);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    AFErrorCode error;
  };
  for (const Case& c : {Case{"version", badVersion, MME_SCRIPT_FILE_BAD_VERSION_NUMBER},
                        Case{"layouts", hugeLayouts, MME_SCRIPT_FILE_BAD_READ},
                        Case{"truncated", truncated, MME_SCRIPT_FILE_BAD_READ}}) {
    const std::string name = Name(c.what);
    WriteBytes(name, c.bytes);
    AFClearError();
    EXPECT_EQ(Open(name), nullptr) << c.what;
    EXPECT_EQ(AFGetErrorCode(), c.error) << c.what;
  }
}

}  // namespace

TEST_F(MMScriptTest, TaggedRectanglesAndPointsAreReadAfterTheirTag) {
  ScriptFileContents contents;
  contents.rowSizes = {10};
  Bytes rows;
  rows.U16(1).U16(10).U16(20).U16(30).U16(40);
  rows.U16(4).U16(5).U16(6).U16(0).U16(0);
  rows.U16(1).U16(50).U16(60).U16(70).U16(80);
  contents.entries = {{0, 3, rows.Get(), std::string()}};
  const std::string name = Name("tagged");
  WriteScripts(name, 0, contents);
  ASSERT_NE(Open(name), nullptr);
  const MMScript script(MMMakeResourceId(0, 0));
  EXPECT_EQ(script.GetTagRect(1, 0, 0), UURect(10, 20, 30, 40));
  EXPECT_EQ(script.GetTagRect(1, 0, 1), UURect(50, 60, 70, 80));
  EXPECT_EQ(script.GetTagRect(1, 1, 0), UURect(50, 60, 70, 80));
  EXPECT_EQ(script.GetTagPoint(4, 0, 0), (UUPoint{5, 6}));
  EXPECT_EQ(script.GetTagPoint(4, 2, -1), (UUPoint{50, 60}));
  EXPECT_EQ(script.GetTagRect(7, 0, 0), UURect());
}
