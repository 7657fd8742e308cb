// The film loader over a film file: the table's answers through the film
// handle in either byte order, chunk and ring sizes, streams read ahead on
// the pulse thread through a ring that wraps, one stream per film, track
// sources of every kind, the act-switch preload pass, and the film ids and
// the functions that take them.

#include "media/films/MM2DFilm.h"
#include "media/films/MM2DFilmLoader.h"
#include "mm/drawing/MMImageDescription.h"
#include "tests/media/films/FilmTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace film_fixtures;
using resource_fixtures::TempDirectory;

constexpr int16_t kCollection = 33;
constexpr UURect kRect(-16, 16, 48, 64);

Bytes Counting(int32_t n) {
  Bytes bytes(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + i / 251);
  return bytes;
}

// Everything a stream delivers, read as the player reads: peeking,
// consuming, and filling on this thread when nothing has arrived yet.
Bytes ReadAll(UUBufferedInput& input) {
  Bytes read;
  for (;;) {
    const uint8_t* bytes = nullptr;
    int32_t n = input.Peek(&bytes);
    if (n == 0) {
      input.Fill();
      n = input.Peek(&bytes);
    }
    if (n == 0) return read;
    read.insert(read.end(), bytes, bytes + n);
    input.Consume(n);
  }
}

class MM2DFilmLoaderTest : public testing::Test {
 protected:
  ~MM2DFilmLoaderTest() override {
    delete mLoader;
    resource_fixtures::Remove(mName);
  }
  void Load(const std::vector<FilmEntry>& films, UUByteOrder order = kUUNativeByteOrder) {
    WriteFilms(mName, kCollection, films, order);
    mLoader = MM2DOpenFilmResourceFile(TempDirectory(), mName.c_str(), false);
    ASSERT_NE(mLoader, nullptr);
  }
  static FilmEntry Entry(const Bytes& data, int32_t preload = 0, int16_t rate = 0,
                         int16_t lead = 0) {
    FilmEntry film;
    film.rect = kRect;
    film.data = data;
    film.preloadSize = preload;
    film.dataRate = rate;
    film.leadTime = lead;
    return film;
  }

  StreamingPulseThread mPulse;
  std::string mName = FileName();
  MM2DFilmLoader* mLoader = nullptr;
};

class MM2DFilmLoaderByteOrderTest : public MM2DFilmLoaderTest,
                                    public testing::WithParamInterface<UUByteOrder> {};

TEST_P(MM2DFilmLoaderByteOrderTest, TheHandleAnswersFromTheTable) {
  FilmEntry palettized = Entry(Bytes(100, 1));
  palettized.picture.bytesPerPixel = 1;
  palettized.palette = true;
  palettized.workBufferSize = 7000;
  palettized.soundTracks = 2;
  palettized.leadTime = 250;
  FilmEntry plain = Entry(Bytes(50, 2));
  Load({palettized, plain}, GetParam());
  const MM2DFilm first(MM2DFilmIdFromCollection(mLoader, 0));
  EXPECT_EQ(first.GetPixelFormat(), kMMFormat8);
  EXPECT_TRUE(first.HasPalette());
  EXPECT_EQ(first.GetPalette().mEntries[kFirstIndex + 1].mRed, 0xFF);
  EXPECT_EQ(first.GetRectangle(), kRect);
  EXPECT_EQ(first.GetWorkBufferSize(), 7000);
  EXPECT_EQ(first.GetSoundTrackCount(), 2);
  EXPECT_EQ(first.GetSoundLeadTime(), 250);
  const MM2DFilm second(mLoader, 1);
  EXPECT_EQ(second.GetPixelFormat(), kMMFormat32);
  EXPECT_FALSE(second.HasPalette());
  EXPECT_EQ(second.GetSoundTrackCount(), 0);
  // A selector that names no palette of the file, or none at all, gives
  // the film no palette.
  for (const int32_t kind : {1, 2}) {
    mLoader->GetFile()->SetPaletteKind(1, kind, 5);
    EXPECT_FALSE(second.HasPalette()) << kind;
  }
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, MM2DFilmLoaderByteOrderTest,
                         testing::Values(kUUNativeByteOrder, kUUSwappedByteOrder));

TEST_F(MM2DFilmLoaderTest, ChunkAndRingSizesFollowRateLeadTimeAndPreload) {
  Load({Entry(Bytes(1 << 20, 0), 50000, 1000, 500), Entry(Bytes(5000, 0), 50000, 1000, 500),
        Entry(Bytes(10000, 0))});
  EXPECT_EQ(mLoader->GetChunkSize(0), 8000);
  EXPECT_EQ(mLoader->GetPreloadBlockSize(0), 61440);
  mLoader->LoadItem(0);
  EXPECT_EQ(mLoader->GetCache().GetSize(0), 61444u);
  EXPECT_EQ(mLoader->GetPreloadBlockSize(1), 5000);
  // Without preload or chunk a film still gets a ring to read through.
  EXPECT_EQ(mLoader->GetPreloadBlockSize(2), 4096);
}

// The preload fills the ring's start; the read-ahead wraps it many times.
TEST_F(MM2DFilmLoaderTest, AStreamDeliversTheWholeFilmThroughItsRing) {
  const Bytes data = Counting(50000);
  Load({Entry(data, 4096, 64, 1000)});
  mLoader->LoadItem(0);
  std::unique_ptr<MM2DFilmStream> stream(MM2DFilm(mLoader, 0).OpenStream());
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(ReadAll(*stream), data);
  EXPECT_TRUE(stream->AtEnd());
  EXPECT_EQ(stream->Seek(0), 0);
  EXPECT_EQ(ReadAll(*stream), data);
}

TEST_F(MM2DFilmLoaderTest, AFilmHasOneStreamAtATime) {
  const Bytes data = Counting(20000);
  Load({Entry(data)});
  const MM2DFilm film(mLoader, 0);
  std::unique_ptr<MM2DFilmStream> first(film.OpenStream());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(mLoader->GetCache().GetLockCount(0), 1);
  EXPECT_EQ(film.OpenStream(), nullptr);
  EXPECT_EQ(mLoader->GetCache().GetLockCount(0), 1);
  first.reset();
  // The ring was overwritten: the block went with the stream.
  EXPECT_FALSE(mLoader->GetCache().HasMemory(0));
  std::unique_ptr<MM2DFilmStream> again(film.OpenStream());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(ReadAll(*again), data);
}

// Offsets that point outside the file give their films no data: nothing
// is read or allocated by their sizes, and their streams do not open.
TEST_F(MM2DFilmLoaderTest, FilmsOutsideTheFileHaveNoData) {
  WriteFilms(mName, kCollection, {Entry(Counting(100)), Entry(Counting(100))});
  std::vector<uint8_t> bytes = resource_fixtures::ReadBytes(mName);
  // Film 0 ends, and film 1 starts, far past the end of the file.
  const size_t end = MMGenericResourceFile::kOffsetTableStart + 4;
  for (size_t i = 0; i < 4; ++i) bytes[end + i] = i == 3 ? 0x7F : 0xF0;
  resource_fixtures::WriteBytes(mName, bytes);
  mLoader = MM2DOpenFilmResourceFile(TempDirectory(), mName.c_str(), false);
  ASSERT_NE(mLoader, nullptr);
  for (const int16_t film : {int16_t{0}, int16_t{1}}) {
    SCOPED_TRACE(film);
    EXPECT_EQ(mLoader->GetPreloadBlockSize(film), 0);
    mLoader->LoadItem(film);
    EXPECT_LE(mLoader->GetCache().GetSize(film), 4u);
    EXPECT_EQ(MM2DFilm(mLoader, film).OpenStream(), nullptr);
  }
}

TEST_F(MM2DFilmLoaderTest, StreamsNeedTheStreamingThread) {
  Load({Entry(Counting(100))});
  MMStreamingPulseTaskManager = nullptr;
  EXPECT_EQ(MM2DFilm(mLoader, 0).OpenStream(), nullptr);
}

TEST_F(MM2DFilmLoaderTest, TrackSourcesTurnStoredBytesIntoSamples) {
  Load({Entry(Bytes(10, 0))});
  MM2DFilmResourceFile& file = *mLoader->GetFile();
  file.SetSoundTrackCount(0, 3);
  file.SetSoundRateCode(0, 1, 1);
  file.SetSound16Bit(0, 1, 1);
  file.SetSoundRateCode(0, 2, 3);
  file.SetSoundStereo(0, 2, 1);
  file.SetSoundCompressed(0, 2, 1);
  const uint8_t stored[4] = {0x12, 0x34, 0x56, 0x78};
  struct Case {
    int32_t track;
    uint32_t formatBits;
    uint32_t bytesOut;
    Bytes expected;
  };
  const Case cases[] = {
      {0, 1, 4, {0x12, 0x34, 0x56, 0x78}},
      {1, 2 | MMSoundFormat::k16Bit, 4, {0x34, 0x12, 0x78, 0x56}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.track);
    std::unique_ptr<MM2DFilmSoundSource> source(mLoader->CreateSoundSource(0, c.track));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetFormat().mBits, c.formatBits);
    Bytes out(8);
    EXPECT_EQ(source->Read(out.data(), 8, true), 0u);
    source->SetWindow(stored, 4);
    ASSERT_EQ(source->Read(out.data(), 8, true), c.bytesOut);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), c.expected);
    EXPECT_FALSE(source->AtEnd());
    source->SetAtEnd();
    EXPECT_TRUE(source->AtEnd());
  }
  std::unique_ptr<MM2DFilmSoundSource> packed(mLoader->CreateSoundSource(0, 2));
  ASSERT_NE(packed, nullptr);
  EXPECT_EQ(packed->GetFormat().mBits, 4 | MMSoundFormat::k16Bit | MMSoundFormat::kStereo);
  EXPECT_EQ(static_cast<MM2DFilmSoundSourceSoundBytesUncompress*>(packed.get())->GetChannelCount(),
            2);
  const Bytes codes(80, 0x30);
  packed->SetWindow(codes.data(), 80);
  Bytes out(100);
  EXPECT_EQ(packed->Read(out.data(), 100, false), 100u);
  EXPECT_EQ(packed->GetPosition(), 30);
  EXPECT_EQ(mLoader->CreateSoundSource(0, 3), nullptr);
}

// The act-switch pass gives every referenced film its preload block, the
// film's first R bytes not yet in use, and leaves it unlocked for the
// stream that takes it over; a failed pass and the purge give blocks back.
TEST_F(MM2DFilmLoaderTest, TheActSwitchPassPreloadsTheReferencedFilms) {
  const Bytes data = Counting(20000);
  Load({Entry(data, 5000), Entry(Counting(9000), 5000)});
  constexpr int32_t kRing = 8192;
  ASSERT_EQ(mLoader->GetPreloadBlockSize(0), kRing);
  const MMResourceId first = MM2DFilmIdFromCollection(mLoader, 0);
  const MMResourceId second = MM2DFilmIdFromCollection(mLoader, 1);
  MMResourceCache& cache = mLoader->GetCache();
  MM2DAddFilmReference(first);
  ASSERT_TRUE(mLoader->LoadReferenced());
  mLoader->EndLoadReferenced(true);
  ASSERT_TRUE(cache.HasMemory(0));
  EXPECT_EQ(cache.GetLockCount(0), 0);
  EXPECT_EQ(cache.GetSize(0), uint32_t{kRing + 4});
  EXPECT_FALSE(cache.HasMemory(1));
  ASSERT_TRUE(cache.Lock(0));
  const auto* block = static_cast<const uint8_t*>(cache.GetAddress(0));
  EXPECT_EQ(Bytes(block, block + 4), Bytes(4, 0));
  EXPECT_EQ(Bytes(block + 4, block + 4 + kRing), Bytes(data.begin(), data.begin() + kRing));
  cache.Unlock(0);
  {
    std::unique_ptr<MM2DFilmStream> stream(MM2DFilm(first).OpenStream());
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadAll(*stream), data);
  }

  MM2DAddFilmReference(second);
  ASSERT_TRUE(mLoader->LoadReferenced());
  mLoader->EndLoadReferenced(false);
  EXPECT_FALSE(cache.HasMemory(1));
  MM2DReleaseFilmReference(first);
  ASSERT_TRUE(mLoader->LoadReferenced());
  mLoader->EndLoadReferenced(true);
  mLoader->LoadItem(0);
  ASSERT_TRUE(cache.HasMemory(0));
  mLoader->PurgeUnreferenced();
  EXPECT_FALSE(cache.HasMemory(0));
  EXPECT_TRUE(cache.HasMemory(1));
  MM2DReleaseFilmReference(second);
}

// The functions by id reach the film's collection, and ids of no film do
// nothing.
TEST_F(MM2DFilmLoaderTest, LoadPurgeAndReferencesById) {
  const Bytes data = Counting(9000);
  Load({Entry(data, 4096)});
  const MMResourceId id = MM2DFilmIdFromCollection(mLoader, 0);
  MMResourceCache& cache = mLoader->GetCache();
  MM2DLoadFilm(id);
  ASSERT_TRUE(cache.HasMemory(0));
  EXPECT_EQ(cache.GetLockCount(0), 0);
  MM2DPurgeFilm(id);
  EXPECT_FALSE(cache.Lock(0));
  // A purged block is read again when the film streams.
  std::unique_ptr<MM2DFilmStream> stream(MM2DFilm(id).OpenStream());
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(ReadAll(*stream), data);
  stream.reset();

  MMReferenceManager& references = *mLoader->GetReferenceManager();
  MM2DAddFilmReference(id);
  MM2DAddFilmReference(id);
  EXPECT_EQ(references.ReferenceCount(0), 2);
  MM2DReleaseFilmReference(id);
  EXPECT_EQ(references.ReferenceCount(0), 1);
  for (const MMResourceId none : {MMResourceId{kCollection << 16 | 1}, MMResourceId{34 << 16}}) {
    MM2DAddFilmReference(none);
    MM2DReleaseFilmReference(none);
    MM2DLoadFilm(none);
    MM2DPurgeFilm(none);
  }
  EXPECT_EQ(references.ReferenceCount(0), 1);
  MM2DReleaseFilmReference(id);
  EXPECT_EQ(references.ReferenceCount(0), 0);
}

TEST_F(MM2DFilmLoaderTest, IdsNameRegisteredCollectionsOnly) {
  Load({Entry(Bytes(10, 0)), Entry(Bytes(10, 0))});
  const MMResourceId id = MM2DFilmIdFromCollection(mLoader, 1);
  EXPECT_EQ(id, kCollection << 16 | 1);
  EXPECT_EQ(MM2DGetFilmCollection(id), mLoader);
  EXPECT_EQ(MM2DFilm(id).GetId(), id);
  EXPECT_EQ(MM2DFilm().GetId(), kMMNoResource);
  EXPECT_TRUE(MM2DFilm(MMResourceId{kCollection << 16 | 2}).IsEmpty());
  {
    const MM2DFilm held(id);
    EXPECT_EQ(mLoader->GetReferenceManager()->ReferenceCount(1), 1);
  }
  EXPECT_EQ(mLoader->GetReferenceManager()->ReferenceCount(1), 0);
  MM2DDestroyFilmCollections();
  mLoader = nullptr;
  EXPECT_EQ(MM2DGetFilmCollection(id), nullptr);
  EXPECT_EQ(MM2DFilmIdFromCollection(nullptr, 0), kMMNoResource);
}

}  // namespace
