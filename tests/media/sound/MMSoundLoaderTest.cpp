#include "media/sound/MMSoundLoader.h"

#include "foundation/uu/UUSoundBytes.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "tests/media/sound/SoundTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace sound_fixtures;

using Source = std::unique_ptr<MMSoundSource>;

// The PCM a source delivers, read in pieces until its end.
Pcm ReadAll(MMSoundSource& source, uint32_t piece = 1000) {
  Pcm all;
  std::vector<uint8_t> buffer(piece);
  while (!source.AtEnd()) {
    const uint32_t n = source.Read(buffer.data(), piece, true);
    if (n == 0) break;
    all.insert(all.end(), buffer.begin(), buffer.begin() + n);
  }
  return all;
}

// What the sound-byte code makes of mono 16-bit PCM.
Pcm CodedMono(const Pcm& pcm) {
  const size_t samples = pcm.size() / 2;
  std::vector<uint8_t> codes(samples);
  UUSoundBytesEncoder(1).EncodeFrom(pcm.data(), static_cast<uint32_t>(samples), codes.data());
  Pcm decoded(2 * samples);
  UUSoundBytesDecoder(1).DecodeInto(codes.data(), static_cast<uint32_t>(samples), decoded.data());
  return decoded;
}

// 20000 16-bit samples at 11025 Hz behind a head of a quarter of the
// 32768-byte device buffer.
MMSoundFileEntry Streamed(const Pcm& pcm) {
  MMSoundFileEntry entry = Entry(pcm, 0, true, false);
  entry.mStreamMode = 1;
  entry.mHeadDivisor = 4;
  return entry;
}

class MMSoundLoaderTest : public SoundFileTest {
 protected:
  void SetUp() override {
    SoundFileTest::SetUp();
    MMStreamingPulseTaskManager = &mManager;
  }
  void TearDown() override {
    mLoader.reset();
    mManager.Stop();
    MMStreamingPulseTaskManager = nullptr;
    SoundFileTest::TearDown();
  }
  MMSoundLoader& Load(const std::vector<MMSoundFileEntry>& sounds,
                      UUByteOrder order = kUUNativeByteOrder) {
    WriteSounds(mName, sounds, order, 5);
    mLoader.reset(MMOpenSoundResourceFile(TempDirectory(), mName.c_str(), false));
    EXPECT_NE(mLoader, nullptr);
    return *mLoader;
  }
  Source Create(int16_t item) { return Source(mLoader->CreateSoundSource(item)); }

  AFPulseTaskManager mManager;
  std::unique_ptr<MMSoundLoader> mLoader;
  const Pcm mLong = Ramp16(20000);
};

class MMSoundLoaderByteOrderTest : public MMSoundLoaderTest,
                                   public testing::WithParamInterface<UUByteOrder> {};

// Every kind of stored sound comes out as the PCM that went in, in the
// machine's order: 16-bit samples of a big-endian file are swapped back,
// code bytes are decoded.
TEST_P(MMSoundLoaderByteOrderTest, WholeSoundsDeliverTheirPcm) {
  const Pcm eightBit = Ramp8(3000);
  const Pcm stereo = Ramp16(2000);
  const Pcm coded = Ramp16(1000);
  MMSoundFileEntry codedEntry = Entry(coded, 1, true, false);
  codedEntry.mCodec = 1;
  MMSoundLoader& loader = Load(
      {Entry(eightBit, 0, false, false), Entry(stereo, 2, true, true), codedEntry}, GetParam());
  const Pcm expected[] = {eightBit, stereo, CodedMono(coded)};
  const uint32_t formats[] = {0x01, 0x1C, 0x0A};
  for (int16_t item = 0; item < 3; ++item) {
    SCOPED_TRACE(item);
    Source source = Create(item);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetFormat().mBits, formats[item]);
    EXPECT_FALSE(source->IsByteSwapped());
    EXPECT_EQ(ReadAll(*source, 1 << 16), expected[item]);
    EXPECT_EQ(loader.GetSize(item), static_cast<int32_t>(expected[item].size()));
  }
}

// A streamed sound plays its head from memory at once and the rest from
// the file on the running pulse thread.
TEST_P(MMSoundLoaderByteOrderTest, StreamedSoundIsReadToItsEnd) {
  MMSoundLoader& loader = Load({Streamed(mLong)}, GetParam());
  EXPECT_EQ(loader.GetItemLayout(0).mHeadBytes, 8192);
  mManager.Start();
  Source source = Create(0);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(loader.GetSourceCount(0), -1);
  EXPECT_EQ(ReadAll(*source, 777), mLong);
  EXPECT_EQ(source->GetPosition(), static_cast<int32_t>(mLong.size()));
}

// A head of an odd size is a ring that splits a 16-bit sample at its end:
// the sample arrives whole and the stream goes on.
TEST_P(MMSoundLoaderByteOrderTest, StreamedSoundWithAnOddHeadIsReadToItsEnd) {
  MMSoundFileEntry entry = Streamed(mLong);
  entry.mHeadDivisor = 5;
  MMSoundLoader& loader = Load({entry}, GetParam());
  EXPECT_EQ(loader.GetItemLayout(0).mHeadBytes % 2, 1);
  mManager.Start();
  Source source = Create(0);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(ReadAll(*source, 777), mLong);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MMSoundLoaderByteOrderTest,
                         testing::Values(kUUNativeByteOrder, kUUSwappedByteOrder));

TEST_F(MMSoundLoaderTest, CodedSoundSeeksToWholeCodes) {
  const Pcm pcm = Ramp16(1000);
  MMSoundFileEntry coded = Entry(pcm, 0, true, false);
  coded.mCodec = 1;
  Load({coded});
  Source source = Create(0);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(ReadAll(*source).size(), 2000u);
  EXPECT_EQ(source->Seek(999), 998);
  EXPECT_EQ(ReadAll(*source).size(), 2000u - 998u);
}

// A streamed-mode sound short enough for its head is shared by every
// source from memory, counted in its block.
TEST_F(MMSoundLoaderTest, SourcesOfAShortSoundShareItsBlock) {
  const Pcm shortSound = Ramp16(100);
  MMSoundLoader& loader = Load({Streamed(shortSound)});
  Source first = Create(0);
  EXPECT_EQ(loader.GetSourceCount(0), 1);
  Source second = Create(0);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(loader.GetSourceCount(0), 2);
  EXPECT_EQ(ReadAll(*second), shortSound);
  first.reset();
  EXPECT_EQ(loader.GetSourceCount(0), 1);
  second.reset();
  EXPECT_EQ(loader.GetSourceCount(0), 0);
  EXPECT_TRUE(loader.GetCache().HasMemory(0));
  EXPECT_EQ(loader.GetCache().GetLockCount(0), 0);
}

TEST_F(MMSoundLoaderTest, StreamedSoundHasOneSourceAtATime) {
  MMSoundLoader& loader = Load({Streamed(mLong)});
  Source first = Create(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Create(0), nullptr);
  EXPECT_EQ(loader.GetCache().GetLockCount(0), 1);
  first.reset();
  // The head was the stream's ring: it is read again for the next source.
  EXPECT_FALSE(loader.GetCache().HasMemory(0));
  Source next = Create(0);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(ReadAll(*next), mLong);
}

TEST_F(MMSoundLoaderTest, SourceTornDownMidStreamLeavesTheSoundWhole) {
  MMSoundLoader& loader = Load({Streamed(mLong)});
  mManager.Start();
  Source source = Create(0);
  std::vector<uint8_t> part(15000);
  EXPECT_EQ(source->Read(part.data(), 15000, true), 15000u);
  source.reset();
  EXPECT_FALSE(loader.GetCache().HasMemory(0));
  Source again = Create(0);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(ReadAll(*again), mLong);
}

// The file loses its end while a sound streams: the stream ends where the
// data ends, and the shared file stream still serves the other sounds.
TEST_F(MMSoundLoaderTest, ReadErrorMidStreamEndsTheStreamAndSparesTheFile) {
  const Pcm small = Ramp8(500);
  MMSoundLoader& loader = Load({Entry(small, 0, false, false), Streamed(mLong)});
  const int32_t kept = 30000;
  Source source = Create(1);
  ASSERT_NE(source, nullptr);
  std::filesystem::resize_file(
      HostPath(mName), static_cast<uintmax_t>(loader.GetFile()->GetSubfileOffset(1) + kept));
  EXPECT_EQ(ReadAll(*source), Pcm(mLong.begin(), mLong.begin() + kept));
  EXPECT_TRUE(source->AtEnd());
  EXPECT_EQ(loader.GetFile()->GetFile().GetError(), kUUNoError);
  Source other = Create(0);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(ReadAll(*other), small);
}

TEST_F(MMSoundLoaderTest, StreamedSourceNeedsTheStreamingManager) {
  MMSoundLoader& loader = Load({Streamed(mLong)});
  MMStreamingPulseTaskManager = nullptr;
  EXPECT_EQ(Create(0), nullptr);
  EXPECT_EQ(loader.GetCache().GetLockCount(0), 0);
  EXPECT_EQ(loader.GetSourceCount(0), 0);
}

TEST_F(MMSoundLoaderTest, HeadDivisorZeroStreamsBehindTheWholeBuffer) {
  MMSoundFileEntry entry = Streamed(mLong);
  entry.mHeadDivisor = 0;
  MMSoundLoader& loader = Load({entry});
  EXPECT_EQ(loader.GetItemLayout(0).mHeadBytes, 32768);
  Source source = Create(0);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(ReadAll(*source), mLong);
}

// The block of a streamed-mode sound: the counter, the head, the envelope.
TEST_F(MMSoundLoaderTest, BlockHoldsCounterHeadAndEnvelope) {
  MMSoundFileEntry entry = Streamed(mLong);
  entry.mEnvelope = true;
  MMSoundLoader& loader = Load({entry});
  const MMSoundItemLayout layout = loader.GetItemLayout(0);
  EXPECT_EQ(layout.mCounterBytes, 4);
  EXPECT_EQ(layout.mDataBytes, 40000);
  EXPECT_EQ(layout.mEnvelopeBytes, 46);  // 20000 samples in periods of 441
  ASSERT_TRUE(loader.LoadAndLockItem(0));
  const auto* block = static_cast<const uint8_t*>(loader.GetCache().GetAddress(0));
  EXPECT_EQ(loader.GetCache().GetSize(0), static_cast<uint32_t>(4 + 8192 + 46));
  EXPECT_EQ(Pcm(block, block + 4), Pcm(4, 0));
  EXPECT_EQ(Pcm(block + 4, block + 4 + 8192), Pcm(mLong.begin(), mLong.begin() + 8192));
  const MMSoundEnvelope envelope = loader.ReadEnvelope(0);
  ASSERT_EQ(envelope.GetCount(), 46);
  EXPECT_EQ(envelope.GetValue(0), static_cast<int8_t>(block[4 + 8192]));
  EXPECT_EQ(envelope.GetValue(45 * 40), static_cast<int8_t>(block[4 + 8192 + 45]));
  loader.UnlockItem(0);
}

TEST_F(MMSoundLoaderTest, EnvelopesAreReadWhereverTheSoundIs) {
  const Pcm loud = Samples16(1000, [](int32_t) { return 1000; });
  MMSoundFileEntry enveloped = Entry(loud, 0, true, false);
  enveloped.mEnvelope = true;
  MMSoundLoader& loader = Load({enveloped, Entry(loud, 0, true, false)});
  EXPECT_TRUE(loader.HasEnvelope(0));
  EXPECT_FALSE(loader.HasEnvelope(1));
  EXPECT_EQ(loader.ReadEnvelope(0).GetValue(80), 3);
  loader.PurgeItem(0);
  EXPECT_FALSE(loader.GetCache().HasMemory(0));
  EXPECT_EQ(loader.ReadEnvelope(0).GetCount(), 3);
  EXPECT_TRUE(loader.GetCache().HasMemory(0));
  EXPECT_TRUE(loader.ReadEnvelope(1).IsEmpty());
  EXPECT_FALSE(loader.GetCache().HasMemory(1));
}

// Load leaves a sound resident and unlocked, purge takes it away, and the
// act switch brings back exactly the referenced sounds.
TEST_F(MMSoundLoaderTest, LoadPurgeAndReloadFollowTheReferences) {
  const Pcm pcm = Ramp8(800);
  MMSoundLoader& loader = Load({Entry(pcm, 0, false, false), Entry(pcm, 0, false, false)});
  MMResourceCache& cache = loader.GetCache();
  loader.LoadItem(0);
  EXPECT_TRUE(cache.HasMemory(0));
  EXPECT_EQ(cache.GetLockCount(0), 0);
  loader.PurgeItem(0);
  EXPECT_FALSE(cache.HasMemory(0));

  loader.LoadItem(0);
  loader.GetReferenceManager()->AddReference(1);
  MMResourceCollection::PurgeAllUnreferenced();
  EXPECT_FALSE(cache.HasMemory(0));
  EXPECT_TRUE(MMResourceCollection::ReloadAllReferenced());
  EXPECT_TRUE(cache.HasMemory(1));
  EXPECT_EQ(cache.GetLockCount(1), 0);
  Source source = Create(1);
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(ReadAll(*source), pcm);
  loader.GetReferenceManager()->ReleaseReference(1);
}

TEST_F(MMSoundLoaderTest, ItemsOutsideTheFileAreIgnored) {
  MMSoundLoader& loader = Load({Entry(Ramp8(10), 0, false, false)});
  for (const int16_t item : {int16_t{-1}, int16_t{1}, int16_t{32767}}) {
    EXPECT_EQ(Create(item), nullptr);
    EXPECT_EQ(loader.GetSize(item), 0);
    EXPECT_EQ(loader.GetDuration(item), 0);
    EXPECT_EQ(loader.GetFormat(item).mBits, 0u);
    EXPECT_TRUE(loader.ReadEnvelope(item).IsEmpty());
    EXPECT_FALSE(loader.LoadAndLockItem(item));
    loader.LoadItem(item);
    loader.PurgeItem(item);
  }
}

TEST_F(MMSoundLoaderTest, FileThatCannotBeOpenedGivesNoLoader) {
  EXPECT_EQ(MMOpenSoundResourceFile(TempDirectory(), "vplsound-missing.mma", false), nullptr);
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_READ);
  MMSoundOpenInfo info;
  WriteSounds(mName, {Entry(Ramp8(10), 0, false, false)}, kUUNativeByteOrder, 9);
  ASSERT_TRUE(MMOpenSoundResourceFileInfo(TempDirectory(), mName.c_str(), true, &info));
  EXPECT_EQ(info.mItemCount, 1);
  EXPECT_EQ(info.mCollectionNumber, 9);
  EXPECT_STREQ(info.mFile->GetSubfileName(0), "sound");
  info.mFile->Close(false);
  delete info.mFile;
}

}  // namespace
