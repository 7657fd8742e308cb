#include "media/sound/MMSoundResourceFile.h"

#include "tests/media/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace sound_fixtures;

const Pcm kEightBit = Ramp8(1000);
const Pcm kStereo = Ramp16(4000);
const Pcm kCoded = Ramp16(500);

// An 8-bit sound with an envelope, a streamed 16-bit stereo sound and a
// coded sound with an envelope.
std::vector<MMSoundFileEntry> ThreeSounds() {
  MMSoundFileEntry eightBit = Entry(kEightBit, 0, false, false);
  eightBit.mEnvelope = true;
  MMSoundFileEntry stereo = Entry(kStereo, 1, true, true);
  stereo.mStreamMode = 2;
  stereo.mHeadDivisor = 4;
  MMSoundFileEntry coded = Entry(kCoded, 2, true, false);
  coded.mCodec = 1;
  coded.mEnvelope = true;
  return {eightBit, stereo, coded};
}

class MMSoundResourceFileTest : public SoundFileTest,
                                public testing::WithParamInterface<UUByteOrder> {
 protected:
  bool Open(MMSoundResourceFile& file, bool verifyChecksum = false) {
    return file.Open(TempDirectory(), mName.c_str(), true, verifyChecksum);
  }
  bool BigEndian() const { return GetParam() == kUUSwappedByteOrder; }
};

TEST_P(MMSoundResourceFileTest, TableReadsBackWhatTheWriterWrote) {
  WriteSounds(mName, ThreeSounds(), GetParam());
  MMSoundResourceFile file;
  ASSERT_TRUE(Open(file, true));
  EXPECT_EQ(file.IsSwapped(), BigEndian());
  ASSERT_EQ(file.GetSubfileCount(), 3);
  EXPECT_STREQ(file.GetSubfileName(1), "sound");

  struct Expected {
    int32_t rateCode, is16Bit, stereo, streamMode, envelopeMode, codec, divisor;
    int32_t envelopeSize, dataSize;
    uint32_t format;
  };
  const Expected expected[] = {
      {0, 0, 0, 0, 1, 0, 0, 3, 1000, 0x01},
      {1, 1, 1, 2, 0, 0, 4, 0, 8000, 0x1A},
      // 500 samples are one period of 1764 at 44100 Hz.
      {2, 1, 0, 0, 1, 1, 0, 1, 1000, 0x0C},
  };
  for (int32_t i = 0; i < 3; ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(file.GetRateCode(i), e.rateCode);
    EXPECT_EQ(file.Is16Bit(i), e.is16Bit);
    EXPECT_EQ(file.IsStereo(i), e.stereo);
    EXPECT_EQ(file.GetStreamMode(i), e.streamMode);
    EXPECT_EQ(file.GetEnvelopeMode(i), e.envelopeMode);
    EXPECT_EQ(file.GetCodec(i), e.codec);
    EXPECT_EQ(file.GetHeadDivisor(i), e.divisor);
    EXPECT_EQ(file.GetEnvelopeSize(i), e.envelopeSize);
    EXPECT_EQ(file.GetDataSize(i), e.dataSize);
    EXPECT_EQ(file.GetSoundFormat(i).mBits, e.format);
  }
  EXPECT_EQ(file.GetDuration(0), 90);  // 1000 frames at 11025 Hz
  EXPECT_EQ(file.GetDuration(1), 90);  // 2000 frames at 22050 Hz
  EXPECT_EQ(file.GetDuration(2), 11);  // 500 frames at 44100 Hz
  EXPECT_EQ(file.GetDataSize(3), 0);   // outside the table
  EXPECT_TRUE(file.Close(false));
}

TEST_P(MMSoundResourceFileTest, FileIsLaidOutFieldByFieldInItsByteOrder) {
  WriteSounds(mName, ThreeSounds(), GetParam());
  const std::vector<uint8_t> bytes = ReadBytes(mName);
  Bytes table(BigEndian());
  table.U16(8).U8(0x40).U8(0x2D).U8(0x46).U8(0x00).U8(0x10).U8(0x01);
  table.U32(3).U32(0).U32(1).U32(0).U32(0).U32(1000);
  const int32_t start = SoundTableStart(3);
  EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 18), BigEndian() ? "MM" : "II");
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + start, bytes.begin() + start + 32), table.Get());

  // The stereo sound's samples follow the file's order; the coded sound's
  // code bytes are bytes.
  MMSoundResourceFile file;
  ASSERT_TRUE(Open(file));
  const int32_t stereo = file.GetSubfileOffset(1);
  EXPECT_EQ(bytes[static_cast<size_t>(stereo)], BigEndian() ? kStereo[1] : kStereo[0]);
  EXPECT_EQ(bytes[static_cast<size_t>(stereo + 1)], BigEndian() ? kStereo[0] : kStereo[1]);
  EXPECT_EQ(file.GetSubfileSize(2), 1 + 500);
  EXPECT_TRUE(file.Close(false));
}

TEST_P(MMSoundResourceFileTest, BigEndianTwinReadsTheSameTable) {
  WriteSounds(mName, ThreeSounds(), GetParam());
  const std::string twin = FileName("twin.mma");
  WriteSounds(twin, ThreeSounds(), BigEndian() ? kUUNativeByteOrder : kUUSwappedByteOrder);
  MMSoundResourceFile file;
  MMSoundResourceFile other;
  ASSERT_TRUE(Open(file));
  ASSERT_TRUE(other.Open(TempDirectory(), twin.c_str(), true, true));
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(file.GetEnvelopeSize(i), other.GetEnvelopeSize(i));
    EXPECT_EQ(file.GetDataSize(i), other.GetDataSize(i));
    EXPECT_EQ(file.GetSubfileOffset(i), other.GetSubfileOffset(i));
    EXPECT_EQ(file.GetSoundFormat(i), other.GetSoundFormat(i));
  }
  other.Close(false);
  Remove(twin);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MMSoundResourceFileTest,
                         testing::Values(kUUNativeByteOrder, kUUSwappedByteOrder));

class MMSoundTableTest : public SoundFileTest {
 protected:
  bool Open(MMSoundResourceFile& file) {
    return file.Open(TempDirectory(), mName.c_str(), false, false);
  }
};

TEST_F(MMSoundTableTest, VersionOtherThanEightIsRefusedAndTheFileStaysClosed) {
  for (const uint32_t version : {7u, 9u}) {
    WriteSounds(mName, {Entry(kEightBit, 0, false, false)});
    Patch(mName, SoundTableStart(1), version, 2);
    AFClearError();
    MMSoundResourceFile file;
    EXPECT_FALSE(Open(file)) << version;
    EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_BAD_VERSION_NUMBER);
    EXPECT_FALSE(file.IsOpen());
  }
}

TEST_F(MMSoundTableTest, FileWithoutSoundsHoldsOnlyTheVersion) {
  WriteSounds(mName, {});
  EXPECT_EQ(ReadBytes(mName).size(), static_cast<size_t>(SoundTableStart(0) + 2));
  MMSoundResourceFile file;
  EXPECT_TRUE(Open(file));
  EXPECT_EQ(file.GetSubfileCount(), 0);
}

// Envelope sizes kept sparse (one of three sounds) and dense (two of
// three) answer the same lookups.
TEST_F(MMSoundTableTest, SparseAndDenseSizeTablesAnswerAlike) {
  const Pcm a = Ramp8(500);
  const Pcm b = Ramp8(1500);
  for (const bool both : {false, true}) {
    std::vector<MMSoundFileEntry> sounds = {Entry(a, 0, false, false), Entry(a, 0, false, false),
                                            Entry(b, 0, false, false)};
    sounds[0].mEnvelope = both;
    sounds[2].mEnvelope = true;
    WriteSounds(mName, sounds);
    MMSoundResourceFile file;
    ASSERT_TRUE(Open(file));
    EXPECT_EQ(file.GetEnvelopeSize(0), both ? 2 : 0);
    EXPECT_EQ(file.GetEnvelopeSize(1), 0);
    EXPECT_EQ(file.GetEnvelopeSize(2), 4);
    EXPECT_EQ(file.GetDataSize(2), 1500);
  }
}

TEST_F(MMSoundTableTest, RateCodeThreeIsFortyFourKilohertz) {
  WriteSounds(mName, {Entry(kEightBit, 3, false, false)});
  MMSoundResourceFile file;
  ASSERT_TRUE(Open(file));
  EXPECT_EQ(file.GetRateCode(0), 3);
  EXPECT_EQ(file.GetSoundFormat(0).GetSampleRate(), 44100);
  EXPECT_EQ(file.GetDuration(0), 1000 * 40 / 1764);
}

// Damaged tables: counts and sizes that do not fit the file fail the open
// with the kind's error instead of being used.
TEST_F(MMSoundTableTest, SizesThatDoNotFitTheFileAreRefused) {
  const int32_t table = SoundTableStart(2);
  const int32_t envelopeSizes = table + 2 + 2 * 2;
  const int32_t decodedSizes = envelopeSizes + 4 * 2;
  const int32_t offsets = MMGenericResourceFile::kOffsetTableStart;
  struct Case {
    const char* what;
    int32_t offset;
    uint32_t value;
    AFErrorCode error;
  };
  const Case cases[] = {
      {"negative envelope", envelopeSizes, 0xFFFFFFFF, MME_SOUND_RESOURCE_FILE_BAD_HEADER},
      {"envelope beyond the subfile", envelopeSizes, 0x7FFFFFFF,
       MME_SOUND_RESOURCE_FILE_BAD_HEADER},
      {"negative decoded size", decodedSizes + 4, 0x80000000, MME_SOUND_RESOURCE_FILE_BAD_HEADER},
      {"decoded size beyond its codes", decodedSizes + 4, 100000,
       MME_SOUND_RESOURCE_FILE_BAD_HEADER},
      {"subfile beyond the file", offsets + 8, 0x7FFFFFF0, MME_SOUND_RESOURCE_FILE_BAD_HEADER},
      {"negative subfile offset", offsets, 0xFFFFFF00, MME_SOUND_RESOURCE_FILE_BAD_HEADER},
  };
  MMSoundFileEntry enveloped = Entry(kEightBit, 0, false, false);
  enveloped.mEnvelope = true;
  MMSoundFileEntry coded = Entry(kCoded, 0, true, false);
  coded.mCodec = 1;
  for (const Case& c : cases) {
    WriteSounds(mName, {enveloped, coded});
    Patch(mName, c.offset, c.value, 4);
    AFClearError();
    MMSoundResourceFile file;
    EXPECT_FALSE(Open(file)) << c.what;
    EXPECT_EQ(AFGetErrorCode(), c.error) << c.what;
    EXPECT_FALSE(file.IsOpen()) << c.what;
  }
}

TEST_F(MMSoundTableTest, TableCutShortIsABadRead) {
  WriteSounds(mName, {Entry(kEightBit, 0, false, false), Entry(kEightBit, 0, false, false)});
  std::vector<uint8_t> bytes = ReadBytes(mName);
  bytes.resize(static_cast<size_t>(SoundTableStart(2) + 6));
  WriteBytes(mName, bytes);
  MMSoundResourceFile file;
  EXPECT_FALSE(Open(file));
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_BAD_READ);
}

TEST_F(MMSoundTableTest, SettersChangeOnlyTheirBits) {
  MMSoundResourceFile file;
  ASSERT_TRUE(file.Create(TempDirectory(), mName.c_str(), UUFileOptions(), 1, 1));
  EXPECT_TRUE(file.SetStreamMode(0, 3));
  EXPECT_TRUE(file.SetRateCode(0, 2));
  EXPECT_TRUE(file.Set16Bit(0, 1));
  EXPECT_TRUE(file.SetEnvelopeMode(0, 2));
  EXPECT_TRUE(file.SetCodec(0, 3, 31));
  EXPECT_TRUE(file.SetCodec(0, 1, 5));
  EXPECT_TRUE(file.SetRateCode(0, 1));
  EXPECT_EQ(file.GetRateCode(0), 1);
  EXPECT_EQ(file.Is16Bit(0), 1);
  EXPECT_EQ(file.IsStereo(0), 0);
  EXPECT_EQ(file.GetStreamMode(0), 3);
  EXPECT_EQ(file.GetEnvelopeMode(0), 2);
  EXPECT_EQ(file.GetCodec(0), 1);
  EXPECT_EQ(file.GetHeadDivisor(0), 5);
  EXPECT_FALSE(file.SetRateCode(1, 0));
  EXPECT_FALSE(file.SetEnvelopeSize(-1, 0));
  file.Close(false);
}

// The conversions of bytes and milliseconds, and the durations they give.
TEST(MMSoundConversionTest, BytesAndMillisecondsConvertInWholeFrames) {
  struct Case {
    int32_t bytes, rateCode;
    bool is16Bit, stereo;
    int32_t milliseconds;
  };
  const Case toMilliseconds[] = {
      {44100, 1, true, false, 1000},
      {44100, 1, true, true, 500},
      {441, 0, false, false, 40},
      {440, 0, false, false, 39},
      {7, 0, true, true, 0},
      {INT32_MAX, 0, false, false, 194783097},
      {INT32_MAX, 3, true, true, 12173943},
  };
  for (const Case& c : toMilliseconds) {
    EXPECT_EQ(MMSoundBytesToMilliseconds(c.bytes, c.rateCode, c.is16Bit, c.stereo), c.milliseconds)
        << c.bytes;
  }
  const Case toBytes[] = {
      {488, 0, true, true, 11},
      {441, 0, false, false, 40},
      {176400, 2, true, true, 1000},
      {441, 2, false, false, 10},
      {2147483644, 2, true, true, INT32_MAX},  // saturated to whole frames
      {-484, 0, true, true, -11},
  };
  for (const Case& c : toBytes) {
    EXPECT_EQ(MMSoundMillisecondsToBytes(c.milliseconds, c.rateCode, c.is16Bit, c.stereo), c.bytes)
        << c.milliseconds;
  }
}

TEST(MMSoundFormatTest, BufferBytesAreWholePagesOfOnePointFiveSeconds) {
  EXPECT_EQ(MMSoundBufferBytes(MMSoundFormat{0x01}), 16384);
  EXPECT_EQ(MMSoundBufferBytes(MMSoundFormat{0x02 | MMSoundFormat::k16Bit}), 65536);
  EXPECT_EQ(
      MMSoundBufferBytes(MMSoundFormat{0x04 | MMSoundFormat::k16Bit | MMSoundFormat::kStereo}),
      262144);
}

}  // namespace
