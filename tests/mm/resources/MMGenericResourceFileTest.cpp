#include "mm/resources/MMGenericResourceFile.h"

#include "foundation/uu/UUCrc32.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;

class SoundFile : public MMResourceFileWithNamedSubfiles {
 public:
  SoundFile() : MMResourceFileWithNamedSubfiles(MME_SOUND_RESOURCE_FILE_NOT_FOUND) {}
  const char* GetKindCode() const override { return "MMA"; }
  const char* GetTag() const override { return "DAZE Sounds"; }
};

class PictureKind : public MMResourceFileWithNamedSubfiles {
 public:
  PictureKind() : MMResourceFileWithNamedSubfiles(MME_PICTURE_RESOURCE_FILE_NOT_FOUND) {}
  const char* GetKindCode() const override { return "MMP"; }
  const char* GetTag() const override { return "DAZE Pictures"; }
};

class MMGenericResourceFileTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    for (const std::string& name : mNames) Remove(name);
    AFClearError();
  }
  std::string Name(const char* what) {
    mNames.push_back(UniqueName(what));
    return mNames.back();
  }

  // Writes a sound file of three named subfiles with the system's writer.
  std::string WriteSounds() {
    const std::string name = Name("sounds");
    SoundFile file;
    EXPECT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), 3, 7));
    UURecoverableCDFile& stream = file.GetFile();
    const char* contents[] = {"alpha", "", "gamma!"};
    for (int32_t i = 0; i < 3; ++i) {
      int32_t position = 0;
      stream.Seek(0, kUUSeekFromEnd, &position);
      file.SetSubfileOffset(i, position);
      stream.Write(contents[i], static_cast<uint32_t>(std::strlen(contents[i])));
      file.SetSubfileName(i, (std::string("name") + std::to_string(i)).c_str());
      file.SetSubfileValue(i, 100u + static_cast<uint32_t>(i));
    }
    file.SetStamp1(0x11223344);
    EXPECT_TRUE(file.RecordEndOffset());
    EXPECT_TRUE(file.Close(true));
    return name;
  }

  std::vector<std::string> mNames;
};

// The header of a named file of N subfiles, built by hand: offsets follow
// the 42 + 40N header bytes, back to back.
Bytes NamedHeader(bool big, const char* tag, int16_t version,
                  const std::vector<std::string>& subfiles) {
  const uint16_t n = static_cast<uint16_t>(subfiles.size());
  Bytes bytes(big);
  bytes.Tag(tag).U16(static_cast<uint16_t>(version)).U32(0).U16(5).U32(1).U32(2).U16(n);
  uint32_t offset = 42 + 40u * n;
  for (const std::string& s : subfiles) {
    bytes.U32(offset);
    offset += static_cast<uint32_t>(s.size());
  }
  bytes.U32(offset).U16(0);
  for (uint16_t i = 0; i < n; ++i) bytes.Raw(std::string("n") + char('A' + i)).Zeros(30);
  for (uint16_t i = 0; i < n; ++i) bytes.U32(0x0100u + i);
  for (const std::string& s : subfiles) bytes.Raw(s);
  return bytes;
}

TEST_F(MMGenericResourceFileTest, WriterAndReaderAgreeAndTheChecksumVerifies) {
  const std::string name = WriteSounds();
  SoundFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), name.c_str(), true, true));
  EXPECT_EQ(file.GetCollectionNumber(), 7);
  EXPECT_EQ(file.GetStamp1(), 0x11223344u);
  ASSERT_EQ(file.GetSubfileCount(), 3);
  EXPECT_EQ(file.GetSubfileOffset(0), 42 + 40 * 3);
  EXPECT_EQ(file.GetSubfileSize(0), 5);
  EXPECT_EQ(file.GetSubfileSize(1), 0);
  EXPECT_EQ(file.GetSubfileSize(2), 6);
  EXPECT_STREQ(file.GetSubfileName(2), "name2");
  EXPECT_EQ(file.GetSubfileValue(1), 101u);
  const std::vector<uint8_t> bytes = ReadBytes(name);
  EXPECT_EQ(file.GetSubfileOffset(3), static_cast<int32_t>(bytes.size()));
  EXPECT_EQ(file.GetSubfileOffset(4), 0);  // outside the table
  UUCrc32 crc;
  EXPECT_EQ(file.GetChecksum(),
            crc.Update(bytes.data() + 24, static_cast<uint32_t>(bytes.size() - 24)));
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 18),
            std::string("DAZE Sounds\0\0\0\0\0II", 18));
  EXPECT_TRUE(file.Close(true));  // opened for reading: nothing written
  EXPECT_EQ(ReadBytes(name), bytes);
}

TEST_F(MMGenericResourceFileTest, AnEmptyNamedFileIs42BytesInEitherOrder) {
  for (bool big : {false, true}) {
    const std::string name = Name(big ? "empty-big" : "empty");
    SoundFile file;
    ASSERT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), 0, 0,
                            big ? kUUSwappedByteOrder : kUUNativeByteOrder));
    ASSERT_TRUE(file.RecordEndOffset());
    ASSERT_TRUE(file.Close(true));
    const std::vector<uint8_t> bytes = ReadBytes(name);
    Bytes expected(big);
    expected.Tag("DAZE Sounds").U16(3).U32(0).U16(0).U32(0).U32(0).U16(0).U32(42).U16(0);
    ASSERT_EQ(bytes.size(), 42u);
    // Everything but the checksum is as built by hand.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 24, bytes.end()),
              std::vector<uint8_t>(expected.Get().begin() + 24, expected.Get().end()));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20),
              std::vector<uint8_t>(expected.Get().begin(), expected.Get().begin() + 20));
    SoundFile reread;
    ASSERT_TRUE(reread.Open(TempDirectory(), name.c_str(), true, true)) << big;
    EXPECT_EQ(reread.IsSwapped(), big);
    reread.Close(false);
  }
}

TEST_F(MMGenericResourceFileTest, BigEndianFileReadsLikeItsLittleEndianTwin) {
  const std::vector<std::string> subfiles = {"one", "three"};
  for (bool big : {false, true}) {
    const std::string name = Name(big ? "big" : "little");
    WriteBytes(name, NamedHeader(big, "DAZE Sounds", 3, subfiles).Get());
    SoundFile file;
    ASSERT_TRUE(file.Open(TempDirectory(), name.c_str(), true, false)) << big;
    EXPECT_EQ(file.IsSwapped(), big);
    EXPECT_EQ(file.GetCollectionNumber(), 5);
    EXPECT_EQ(file.GetStamp2(), 2u);
    EXPECT_EQ(file.GetSubfileOffset(0), 122);
    EXPECT_EQ(file.GetSubfileSize(1), 5);
    EXPECT_STREQ(file.GetSubfileName(1), "nB");
    EXPECT_EQ(file.GetSubfileValue(1), 0x101u);
    file.Close(false);
  }
}

TEST_F(MMGenericResourceFileTest, BadFilesRaiseTheirKindsErrors) {
  const std::vector<std::string> two = {"ab", "cd"};
  Bytes truncated = NamedHeader(false, "DAZE Pictures", 3, two);
  std::vector<uint8_t> cut(truncated.Get().begin(), truncated.Get().begin() + 40);
  Bytes badMark = NamedHeader(false, "DAZE Pictures", 3, two);
  std::vector<uint8_t> mark = badMark.Get();
  mark[16] = 'I';
  mark[17] = 'M';
  Bytes badNamedVersion = NamedHeader(false, "DAZE Pictures", 3, two);
  std::vector<uint8_t> named = badNamedVersion.Get();
  named[36 + 12] = 1;  // the named-table version after three offsets
  std::vector<uint8_t> negative = NamedHeader(false, "DAZE Pictures", 3, two).Get();
  negative[34] = 0xFF;
  negative[35] = 0xFF;
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    AFFileErrorOffset error;
  } cases[] = {
      {"sound tag", NamedHeader(false, "DAZE Sounds", 3, two).Get(), AFO_BAD_HEADER},
      {"version 2", NamedHeader(false, "DAZE Pictures", 2, two).Get(), AFO_BAD_HEADER},
      {"version 4", NamedHeader(false, "DAZE Pictures", 4, two).Get(), AFO_BAD_HEADER},
      {"bad mark", mark, AFO_BAD_HEADER},
      {"named version 1", named, AFO_BAD_VERSION_NUMBER},
      {"truncated table", cut, AFO_BAD_READ},
      {"negative count", negative, AFO_BAD_HEADER},
      {"tag only", std::vector<uint8_t>(truncated.Get().begin(), truncated.Get().begin() + 10),
       AFO_BAD_HEADER},
  };
  for (const auto& c : cases) {
    const std::string name = Name("bad");
    WriteBytes(name, c.bytes);
    AFClearError();
    PictureKind file;
    EXPECT_FALSE(file.Open(TempDirectory(), name.c_str(), true, false)) << c.what;
    EXPECT_EQ(AFGetErrorCode(), AFFileError(MME_PICTURE_RESOURCE_FILE_NOT_FOUND, c.error))
        << c.what;
    EXPECT_STREQ(AFGetErrorFileName(), name.c_str()) << c.what;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.GetSubfileCount() >= 0 ? file.GetSubfileSize(0) : 0, 0) << c.what;
    EXPECT_EQ(ReadBytes(name), c.bytes) << "a read failure never deletes the file";
    Remove(name);
  }
}

TEST_F(MMGenericResourceFileTest, OffsetsFarApartGiveNoSizeRatherThanOneThatWraps) {
  SoundFile file;
  ASSERT_TRUE(file.Create(TempDirectory(), Name("far").c_str(), UUFileOptions(), 2, 7));
  ASSERT_TRUE(file.SetSubfileOffset(0, INT32_MIN));
  ASSERT_TRUE(file.SetSubfileOffset(1, INT32_MAX));
  EXPECT_EQ(file.GetSubfileSize(0), 0);
  EXPECT_TRUE(file.Close(false));
}

TEST_F(MMGenericResourceFileTest, WrongChecksumMattersOnlyWhenVerifying) {
  const std::string name = WriteSounds();
  std::vector<uint8_t> bytes = ReadBytes(name);
  bytes[21] ^= 0x40;
  WriteBytes(name, bytes);
  SoundFile lenient;
  EXPECT_TRUE(lenient.Open(TempDirectory(), name.c_str(), false, false));
  lenient.Close(false);
  SoundFile strict;
  EXPECT_FALSE(strict.Open(TempDirectory(), name.c_str(), false, true));
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_BAD_CHECKSUM);
}

TEST_F(MMGenericResourceFileTest, DummyAcceptsAnyTagAndSkippedNamesLeaveNoTable) {
  const std::string name = WriteSounds();
  MMDummyResourceFile dummy(MME_MODEL_RESOURCE_FILE_NOT_FOUND);
  ASSERT_TRUE(dummy.Open(TempDirectory(), name.c_str(), false, true));
  EXPECT_EQ(dummy.GetSubfileCount(), 3);
  dummy.Close(false);

  SoundFile unnamed;
  ASSERT_TRUE(unnamed.Open(TempDirectory(), name.c_str(), false, false));
  EXPECT_EQ(unnamed.GetSubfileName(0), nullptr);
  int32_t position = 0;
  unnamed.GetFile().Tell(&position);
  EXPECT_EQ(position, 42 + 40 * 3);
  unnamed.Close(false);
}

TEST_F(MMGenericResourceFileTest, MissingFileAndUnwritableCreate) {
  SoundFile file;
  EXPECT_FALSE(file.Open(TempDirectory(), "vplres-no-such-file", false, false));
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_READ);
  EXPECT_STREQ(AFGetErrorFileName(), "vplres-no-such-file");
  EXPECT_EQ(AFGetSystemErrorCode(), ERROR_FILE_NOT_FOUND);
  AFClearError();
  UUDirectory missing;
  missing.Set((std::string(TempDirectory().Text()) + "vplres-no-such-dir").c_str());
  EXPECT_FALSE(file.Create(missing, "x", UUFileOptions(), 1, 0));
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_WRITE);
}

TEST_F(MMGenericResourceFileTest, SubfileRangesAreCheckedAgainstTheFile) {
  std::vector<uint8_t> bytes = NamedHeader(false, "DAZE Sounds", 3, {"abc", "de"}).Get();
  bytes[40] = 0xF0;  // the second offset far past the end
  const std::string name = Name("ranges");
  WriteBytes(name, bytes);
  SoundFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), name.c_str(), false, false));
  int32_t offset = 0;
  int32_t size = 0;
  EXPECT_FALSE(file.GetSubfileRange(0, &offset, &size));  // ends past the file
  EXPECT_FALSE(file.GetSubfileRange(1, &offset, &size));
  EXPECT_FALSE(file.GetSubfileRange(2, &offset, &size));  // no such subfile
  file.Close(false);
}

}  // namespace
