#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <numeric>
#include <vector>

#include "foundation/af/AFBufferedInputFromAsyncFile.h"
#include "foundation/al/ALMilliseconds.h"
#include "foundation/uu/UUInputStream.h"
#include "foundation/uu/UUMemory.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A 1000-byte file image whose byte k is k mod 251; the region under test
// starts at 100. The manager's thread is not started: tests drive the
// pulse step themselves.
class AFBufferedInputFromAsyncFileTest : public testing::Test {
 protected:
  AFBufferedInputFromAsyncFileTest() : mFile(1000), mStream(nullptr, 0) {
    for (size_t k = 0; k < mFile.size(); ++k) mFile[k] = static_cast<uint8_t>(k % 251);
    mStream = UUMemory(mFile.data(), static_cast<int32_t>(mFile.size()));
  }
  uint8_t At(int32_t regionPosition) const {
    return mFile[static_cast<size_t>(100 + regionPosition)];
  }

  Bytes mFile;
  UUMemory mStream;
  ALCriticalSection mFileLock;
  AFPulseTaskManager mManager;
  Bytes mRing = Bytes(16);
};

TEST_F(AFBufferedInputFromAsyncFileTest, PrefilledShortRegionNeedsNoRead) {
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 8, mStream, 100, 10, mFileLock,
                                     true);
  EXPECT_EQ(input.Pulse(), INT_MAX);
  int32_t position = -1;
  mStream.Tell(&position);
  EXPECT_EQ(position, 0);
  const uint8_t* bytes = nullptr;
  EXPECT_EQ(input.Peek(&bytes), 10);
  input.Stop();
}

TEST_F(AFBufferedInputFromAsyncFileTest, EmptyRegionIsAtItsEnd) {
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 8, mStream, 100, 0, mFileLock,
                                     false);
  EXPECT_TRUE(input.AtEnd());
  EXPECT_EQ(input.Pulse(), INT_MAX);
  input.Stop();
}

TEST_F(AFBufferedInputFromAsyncFileTest, RingFillsInChunksWrapsAndWakesAfterConsume) {
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 6, mStream, 100, 40, mFileLock,
                                     false);
  EXPECT_EQ(input.Pulse(), 0);    // 6
  EXPECT_EQ(input.Pulse(), 0);    // 12
  EXPECT_EQ(input.Pulse(), 250);  // 16: the ring is full
  EXPECT_EQ(input.Pulse(), 250);  // nothing more fits

  const uint8_t* bytes = nullptr;
  ASSERT_EQ(input.Peek(&bytes), 16);
  EXPECT_EQ(bytes[0], At(0));
  input.Consume(10);
  EXPECT_LE(input.GetDueTime(), static_cast<int32_t>(ALMilliseconds()));  // woken at once
  EXPECT_EQ(input.Pulse(), 0);  // 6 more, up to the ring's end... then its start
  EXPECT_EQ(input.Pulse(), 250);
  ASSERT_EQ(input.Peek(&bytes), 6);  // only up to the end of the ring
  EXPECT_EQ(bytes[5], At(15));
  input.Consume(6);
  ASSERT_EQ(input.Peek(&bytes), 10);
  EXPECT_EQ(bytes, mRing.data());
  EXPECT_EQ(bytes[0], At(16));
  input.Stop();
}

// The task sleeps on a full ring until the reader has made room for a
// chunk, by consuming or by seeking forward inside the ring; a seek out of
// the ring wakes it at once.
TEST_F(AFBufferedInputFromAsyncFileTest, TheTaskIsWokenWhenThereIsRoomForAChunk) {
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 6, mStream, 100, 60, mFileLock,
                                     false);
  const auto woken = [&input] {
    return input.GetDueTime() <= static_cast<int32_t>(ALMilliseconds());
  };
  // As the pulse thread does, which is not running here.
  const auto pulse = [&input] {
    const int32_t delay = input.Pulse();
    input.CallAgainIn(delay);
    return delay;
  };
  while (pulse() == 0) {
  }
  EXPECT_FALSE(woken());
  input.Consume(5);
  EXPECT_FALSE(woken());  // room for less than a chunk
  input.Consume(1);
  EXPECT_TRUE(woken());
  EXPECT_EQ(pulse(), 250);  // one chunk fills the ring again
  input.Consume(3);
  EXPECT_FALSE(woken());
  EXPECT_EQ(input.Seek(12), 12);  // forward inside the ring
  EXPECT_TRUE(woken());
  EXPECT_EQ(pulse(), 250);
  EXPECT_EQ(input.Seek(40), 40);  // past the ring: emptied
  EXPECT_TRUE(woken());
  input.Stop();
}

// A memory stream that counts its reads.
class CountingMemory : public UUMemory {
 public:
  using UUMemory::UUMemory;
  bool Read(void* buffer, uint32_t n) override {
    ++mReads;
    return UUMemory::Read(buffer, n);
  }
  int mReads = 0;
};

TEST_F(AFBufferedInputFromAsyncFileTest, AWaitingReaderFillsAllTheRoomInOneReadNotInChunks) {
  CountingMemory stream(mFile.data(), static_cast<int32_t>(mFile.size()));
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 4, stream, 100, 40, mFileLock,
                                     false);
  input.Fill();
  const uint8_t* bytes = nullptr;
  ASSERT_EQ(input.Peek(&bytes), 16);
  EXPECT_EQ(stream.mReads, 1);
  input.Consume(10);
  input.Fill();  // the room runs from the ring's end round to its start
  ASSERT_EQ(input.Peek(&bytes), 6);
  input.Consume(6);
  ASSERT_EQ(input.Peek(&bytes), 10);
  EXPECT_EQ(bytes[9], At(25));
  EXPECT_EQ(stream.mReads, 2);
  input.Stop();
}

TEST_F(AFBufferedInputFromAsyncFileTest, SeekKeepsBufferedBytesAndEmptiesOtherwise) {
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 16, mStream, 100, 40, mFileLock,
                                     false);
  input.Fill();
  const uint8_t* bytes = nullptr;
  input.Consume(4);
  EXPECT_EQ(input.Seek(9), 9);
  ASSERT_EQ(input.Peek(&bytes), 7);
  EXPECT_EQ(bytes[0], At(9));

  EXPECT_EQ(input.Seek(2), 2);  // before the read position: emptied
  EXPECT_EQ(input.Peek(&bytes), 0);
  input.Fill();
  ASSERT_EQ(input.Peek(&bytes), 14);
  EXPECT_EQ(bytes[0], At(2));

  EXPECT_EQ(input.Seek(500), 40);  // clamped to the region
  EXPECT_TRUE(input.AtEnd());
  input.Stop();
}

// A read that fails ends the input at what was read and keeps its error,
// so a damaged file is told from its end; the shared stream is left clear
// for the other readers.
TEST_F(AFBufferedInputFromAsyncFileTest, FailedReadEndsTheInputAndKeepsItsError) {
  // The region claims 30 bytes past the end of the file.
  auto* input = new AFBufferedInputFromAsyncFile(mManager, mRing.data(), 16, 16, mStream, 980, 50,
                                                 mFileLock, false);
  UUInputFromBufferedInput reader(input);
  Bytes out(50);
  // Memory streams deliver nothing on a failed read: only 16 bytes arrive.
  EXPECT_EQ(reader.Read(out.data(), 50, true), 16u);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(input->GetError(), kUUErrorMemoryOverrun);
  EXPECT_EQ(mStream.GetError(), kUUNoError);
  EXPECT_EQ(out[15], mFile[995]);
}

// Another reader of the shared stream left it failed, further on: this
// input still reads its own bytes, never the ring's old contents, and
// leaves the other reader's error where it was.
TEST_F(AFBufferedInputFromAsyncFileTest, AnotherReadersErrorIsLeftToIt) {
  constexpr uint8_t kStale = 0xEE;
  std::fill(mRing.begin(), mRing.end(), kStale);
  ASSERT_TRUE(mStream.Seek(600, kUUSeekFromStart, nullptr));
  mStream.SetError(kUUErrorShortRead);
  AFBufferedInputFromAsyncFile input(mManager, mRing.data(), 16, 16, mStream, 100, 16, mFileLock,
                                     false);
  input.Fill();
  const uint8_t* bytes = nullptr;
  ASSERT_EQ(input.Peek(&bytes), 16);
  EXPECT_TRUE(std::equal(bytes, bytes + 16, mFile.begin() + 100));
  EXPECT_EQ(input.GetError(), kUUNoError);
  EXPECT_EQ(mStream.GetError(), kUUErrorShortRead);
  input.Stop();
}

TEST_F(AFBufferedInputFromAsyncFileTest, PulseThreadFeedsAWaitingReader) {
  Bytes ring(64);
  mManager.Start();
  auto* input = new AFBufferedInputFromAsyncFile(mManager, ring.data(), 64, 24, mStream, 100, 900,
                                                 mFileLock, false);
  {
    UUInputFromBufferedInput reader(input);  // owns, stops and deletes the input
    Bytes out(900);
    size_t got = 0;
    while (!reader.AtEnd()) got += reader.Read(out.data() + got, 7, true);
    ASSERT_EQ(got, 900u);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), mFile.begin() + 100));
  }
  mManager.Stop();
}

TEST(AFPlatformCheckTest, ThePlatformRunsPulseThreads) { EXPECT_EQ(AFPlatformCheck(), 0); }

}  // namespace
