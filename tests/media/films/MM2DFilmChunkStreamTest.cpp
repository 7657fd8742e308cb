#include "media/films/MM2DFilmChunkReader.h"
#include "media/films/MM2DFilmChunkWriter.h"
#include "media/films/MM2DFilmFrameDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kWidth = 13;
constexpr int32_t kHeight = 7;

// A frame of kWidth x kHeight pixels with its rows padded to 4 bytes.
struct Frame {
  explicit Frame(int32_t bytesPerPixel)
      : mBytesPerPixel(bytesPerPixel),
        mPitch((kWidth * bytesPerPixel + 3) / 4 * 4),
        mPixels(static_cast<size_t>(mPitch * kHeight)) {}
  int32_t Size() const { return static_cast<int32_t>(mPixels.size()); }
  MM2DFilmFrameDecoder Decoder(Bytes* work = nullptr) {
    return MM2DFilmFrameDecoder(mPixels.data(), kHeight, mPitch, mBytesPerPixel,
                                work != nullptr ? work->data() : nullptr,
                                work != nullptr ? static_cast<int32_t>(work->size()) : 0);
  }

  int32_t mBytesPerPixel;
  int32_t mPitch;
  Bytes mPixels;
};

Bytes Pattern(int32_t n, int seed) {
  Bytes bytes(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i * seed + 1);
  return bytes;
}

// Decodes every picture chunk of the stream into frame; false when one
// fails or the stream is damaged.
bool DecodeAll(const Bytes& stream, Frame& frame, Bytes* work = nullptr) {
  MM2DFilmChunkReader reader(stream.data(), static_cast<int32_t>(stream.size()));
  MM2DFilmFrameDecoder decoder = frame.Decoder(work);
  MM2DFilmChunk chunk;
  while (reader.Next(chunk)) {
    const bool picture = chunk.mType == kMM2DFilmRawFrame || chunk.mType == kMM2DFilmDeltaFrame ||
                         chunk.mType == kMM2DFilmCompressedFrame ||
                         chunk.mType == kMM2DFilmCompressedDeltaFrame;
    MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount];
    if (picture && !decoder.Apply(chunk, dirty)) return false;
  }
  return !reader.IsDamaged();
}

class MM2DFilmChunkStreamTest : public testing::TestWithParam<int32_t> {
 protected:
  int32_t Bpp() const { return GetParam(); }
};

// Every kind of picture chunk gives back the frame it was made from.
TEST_P(MM2DFilmChunkStreamTest, EveryPictureChunkRestoresItsFrame) {
  Frame frame(Bpp());
  const Bytes first = Pattern(frame.Size(), 3);
  Bytes second = first;
  for (int32_t i = 5; i < 40; ++i) second[static_cast<size_t>(i)] ^= 0x5A;
  second.back() ^= 0xFF;  // a change in the frame's last byte
  Bytes third = second;
  third.front() ^= 0x11;
  const MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount] = {{0, 0, 7, 13}};

  struct Step {
    const char* what;
    void (*write)(MM2DFilmChunkWriter&, const Bytes& from, const Bytes& to, int32_t bpp,
                  const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount]);
  };
  const Step steps[] = {
      {"raw",
       [](MM2DFilmChunkWriter& w, const Bytes&, const Bytes& to, int32_t,
          const MM2DFilmDirtyRect(&)[kMM2DFilmDirtyRectCount]) {
         w.RawFrame(to.data(), static_cast<int32_t>(to.size()));
       }},
      {"compressed",
       [](MM2DFilmChunkWriter& w, const Bytes&, const Bytes& to, int32_t,
          const MM2DFilmDirtyRect(&)[kMM2DFilmDirtyRectCount]) {
         w.CompressedFrame(to.data(), static_cast<int32_t>(to.size()));
       }},
      {"delta",
       [](MM2DFilmChunkWriter& w, const Bytes& from, const Bytes& to, int32_t bpp,
          const MM2DFilmDirtyRect(&d)[kMM2DFilmDirtyRectCount]) {
         w.DeltaFrame(d, MM2DFilmDeltaOps::Encode(from.data(), to.data(),
                                                  static_cast<int32_t>(to.size()), bpp));
       }},
      {"compressed delta",
       [](MM2DFilmChunkWriter& w, const Bytes& from, const Bytes& to, int32_t bpp,
          const MM2DFilmDirtyRect(&d)[kMM2DFilmDirtyRectCount]) {
         w.CompressedDeltaFrame(d, MM2DFilmDeltaOps::Encode(from.data(), to.data(),
                                                            static_cast<int32_t>(to.size()), bpp));
       }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    Frame decoded(Bpp());
    decoded.mPixels = first;
    MM2DFilmChunkWriter writer(Bpp());
    step.write(writer, first, second, Bpp(), dirty);
    writer.FrameTime(66);
    step.write(writer, second, third, Bpp(), dirty);
    writer.End();
    Bytes work(4096);
    ASSERT_TRUE(DecodeAll(writer.GetBytes(), decoded, &work));
    EXPECT_EQ(decoded.mPixels, third);
  }
}

// 32-bit pixels are stored with their bytes reversed, 8-bit ones as they are.
TEST_P(MM2DFilmChunkStreamTest, RawFramePixelsUseTheStreamsByteOrder) {
  Frame frame(Bpp());
  const Bytes pixels = Pattern(frame.Size(), 1);
  MM2DFilmChunkWriter writer(Bpp());
  writer.RawFrame(pixels.data(), frame.Size());
  const Bytes& stream = writer.GetBytes();
  const Bytes expected = Bpp() == 4 ? Bytes{4, 3, 2, 1} : Bytes{1, 2, 3, 4};
  EXPECT_EQ(Bytes(stream.begin() + 8, stream.begin() + 12), expected);
}

INSTANTIATE_TEST_SUITE_P(PixelSizes, MM2DFilmChunkStreamTest, testing::Values(1, 4));

TEST(MM2DFilmChunkWriterTest, ChunksAreBigEndianFieldByField) {
  MM2DFilmChunkWriter writer(1);
  const uint8_t sound[3] = {9, 8, 7};
  writer.SoundData(1, -2, sound, 3);
  writer.SoundEnd(1);
  writer.Cue(0x01020304);
  writer.Rectangle({1, -2, 3, 4});
  writer.FrameTime(1000);
  writer.Time(-1);
  writer.Hold();
  writer.End();
  const Bytes expected = {
      0xF7, 0x89, 0, 2, 0, 0,    0,    15, 0,    0,    0,    3,    0, 0, 0, 1, 0xFF, 0xFF,
      0xFF, 0xFE, 9, 8, 7, 0xF7, 0x89, 0,  3,    0,    0,    0,    4, 0, 0, 0, 1,  //
      0xF7, 0x89, 0, 4, 0, 0,    0,    4,  1,    2,    3,    4,                    //
      0xF7, 0x89, 0, 5, 0, 0,    0,    8,  0,    1,    0xFF, 0xFE, 0, 3, 0, 4,     //
      0xF7, 0x89, 0, 6, 0, 0,    0,    4,  0,    0,    3,    0xE8,                 //
      0xF7, 0x89, 0, 8, 0, 0,    0,    4,  0xFF, 0xFF, 0xFF, 0xFF,                 //
      0xF7, 0x89, 0, 9, 0, 0,    0,    0,                                          //
      0xF7, 0x89, 0, 7, 0, 0,    0,    0,
  };
  EXPECT_EQ(writer.GetBytes(), expected);

  MM2DFilmChunkReader reader(expected.data(), static_cast<int32_t>(expected.size()));
  MM2DFilmChunk chunk;
  std::vector<uint32_t> types;
  while (reader.Next(chunk)) types.push_back(chunk.mType - kMM2DFilmRawFrame);
  EXPECT_FALSE(reader.IsDamaged());
  EXPECT_EQ(types, (std::vector<uint32_t>{2, 3, 4, 5, 6, 8, 9, 7}));
}

TEST(MM2DFilmChunkReaderTest, DamagedChunksEndTheWalk) {
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const Case cases[] = {
      {"header cut short", {0xF7, 0x89, 0, 7, 0, 0}},
      {"payload past the end", {0xF7, 0x89, 0, 2, 0, 0, 0, 20, 0, 0}},
      {"huge length", {0xF7, 0x89, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF}},
      {"cue of the wrong size", {0xF7, 0x89, 0, 4, 0, 0, 0, 2, 0, 0}},
      {"end with a payload", {0xF7, 0x89, 0, 7, 0, 0, 0, 1, 0}},
      {"unknown type", {0xF7, 0x89, 0, 12, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MM2DFilmChunkReader reader(c.bytes.data(), static_cast<int32_t>(c.bytes.size()));
    MM2DFilmChunk chunk;
    EXPECT_FALSE(reader.Next(chunk));
    EXPECT_TRUE(reader.IsDamaged());
  }
}

// Delta operations reach every byte of the frame and none beyond it.
TEST(MM2DFilmDeltaTest, OperationsAtTheFrameEdges) {
  const uint8_t fill[4] = {0xA1, 0xB2, 0xC3, 0xD4};
  const uint8_t bytes[4] = {1, 2, 3, 4};
  struct Case {
    const char* what;
    void (*build)(MM2DFilmDeltaOps&, int32_t size, const uint8_t* bytes, const uint8_t* fill);
    bool applies;
  };
  const Case cases[] = {
      {"literal ending at the last byte",
       [](MM2DFilmDeltaOps& ops, int32_t size, const uint8_t* b, const uint8_t*) {
         ops.AddLiteral(static_cast<int16_t>(size - 4), b, 4);
       },
       true},
      {"fill at the first byte",
       [](MM2DFilmDeltaOps& ops, int32_t, const uint8_t*, const uint8_t* f) {
         ops.AddFill(0, -10, f);
       },
       true},
      {"literal one byte past the end",
       [](MM2DFilmDeltaOps& ops, int32_t size, const uint8_t* b, const uint8_t*) {
         ops.AddLiteral(static_cast<int16_t>(size - 3), b, 4);
       },
       false},
      {"skip before the first byte",
       [](MM2DFilmDeltaOps& ops, int32_t, const uint8_t* b, const uint8_t*) {
         ops.AddLiteral(-1, b, 1);
       },
       false},
      {"fill past the end",
       [](MM2DFilmDeltaOps& ops, int32_t size, const uint8_t*, const uint8_t* f) {
         ops.AddFill(static_cast<int16_t>(size - 4), -8, f);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Frame frame(1);
    // The frame sits inside guard bytes that must stay untouched.
    Bytes guarded(static_cast<size_t>(frame.Size() + 16), 0xEE);
    MM2DFilmDeltaOps ops(1);
    c.build(ops, frame.Size(), bytes, fill);
    MM2DFilmChunkWriter writer(1);
    writer.DeltaFrame({}, ops);
    MM2DFilmChunkReader reader(writer.GetBytes().data(),
                               static_cast<int32_t>(writer.GetBytes().size()));
    MM2DFilmChunk chunk;
    ASSERT_TRUE(reader.Next(chunk));
    MM2DFilmFrameDecoder decoder(guarded.data() + 8, kHeight, frame.mPitch, 1, nullptr, 0);
    EXPECT_EQ(decoder.Apply(chunk, nullptr), c.applies);
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(guarded[static_cast<size_t>(i)], 0xEE);
      EXPECT_EQ(guarded[guarded.size() - 1 - static_cast<size_t>(i)], 0xEE);
    }
  }
}

TEST(MM2DFilmDeltaTest, FillStoresWholeWordsAndAdvancesByItsCount) {
  Frame frame(4);
  const uint8_t fill[4] = {0x10, 0x20, 0x30, 0x40};
  const uint8_t next[4] = {0x55, 0x66, 0x77, 0x88};
  MM2DFilmDeltaOps ops(4);
  ops.AddFill(4, -10, fill);   // two words at 4, the destination on to 14
  ops.AddLiteral(2, next, 4);  // at 16
  MM2DFilmChunkWriter writer(4);
  writer.DeltaFrame({}, ops);
  ASSERT_TRUE(DecodeAll(writer.GetBytes(), frame));
  Bytes expected(frame.mPixels.size(), 0);
  for (int i = 0; i < 4; ++i) {
    expected[static_cast<size_t>(4 + i)] = fill[i];
    expected[static_cast<size_t>(8 + i)] = fill[i];
    expected[static_cast<size_t>(16 + i)] = next[i];
  }
  EXPECT_EQ(frame.mPixels, expected);
}

TEST(MM2DFilmFrameDecoderTest, DamagedCompressedChunksAreRefused) {
  Frame source(1);
  const Bytes pixels = Pattern(source.Size(), 7);
  MM2DFilmChunkWriter good(1);
  good.CompressedFrame(pixels.data(), source.Size());
  MM2DFilmDeltaOps ops(1);
  ops.AddLiteral(0, pixels.data(), 40);
  good.CompressedDeltaFrame({}, ops);
  const Bytes& bytes = good.GetBytes();
  const size_t frameChunk = static_cast<size_t>(8 + 8 + MMReadBigEndian32(bytes.data() + 8));
  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
    int32_t workSize;
  };
  const Case cases[] = {
      {"frame size other than the frame", 12 + 3, 0x01, 64},
      {"compressed size past the chunk", 8 + 2, 0x7F, 64},
      {"damaged compressed data", 16, 0xFF, 64},
      {"delta larger than the work buffer", frameChunk, 0xF7, 39},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes damaged = bytes;
    if (c.offset != frameChunk) damaged[c.offset] = c.value;
    Frame frame(1);
    Bytes work(static_cast<size_t>(c.workSize));
    EXPECT_FALSE(DecodeAll(damaged, frame, &work));
  }
}

// The bytes in windows of a fixed size, as a ring hands them out.
class WindowedSource : public MM2DFilmByteSource {
 public:
  WindowedSource(const Bytes& bytes, int32_t window) : mBytes(bytes), mWindow(window) {}
  int32_t Window(const uint8_t** bytes) override {
    *bytes = mBytes.data() + mPosition;
    const auto left = static_cast<int32_t>(mBytes.size()) - mPosition;
    return std::min(left, mWindow - mPosition % mWindow);
  }
  void Advance(int32_t n) override { mPosition += n; }
  int32_t GetPosition() const { return mPosition; }

 private:
  const Bytes& mBytes;
  int32_t mWindow;
  int32_t mPosition = 0;
};

// Compressed data that straddles two windows is gathered into the work
// buffer, behind the operations for a delta; when it does not fit there the
// chunk is refused, and the source is left after the chunk either way.
TEST(MM2DFilmFrameDecoderTest, CompressedDataAcrossWindowsNeedsRoomInTheWorkBuffer) {
  Frame source(4);
  const Bytes pixels = Pattern(source.Size(), 5);
  MM2DFilmDeltaOps ops(4);
  ops.AddLiteral(4, pixels.data(), 64);
  struct Case {
    const char* what;
    bool delta;
  };
  for (const Case& c : {Case{"frame", false}, Case{"delta", true}}) {
    SCOPED_TRACE(c.what);
    MM2DFilmChunkWriter writer(4);
    if (c.delta) {
      writer.CompressedDeltaFrame({}, ops);
    } else {
      writer.CompressedFrame(pixels.data(), source.Size());
    }
    const Bytes& stream = writer.GetBytes();
    const auto length = static_cast<int32_t>(stream.size()) - kMM2DFilmChunkHeaderBytes;
    const int32_t compressed = static_cast<int32_t>(MMReadBigEndian32(stream.data() + 8));
    const int32_t decompressed = static_cast<int32_t>(MMReadBigEndian32(stream.data() + 12));
    const int32_t needed = c.delta ? decompressed + compressed : compressed;
    for (const int32_t workSize : {needed, needed - 1}) {
      Frame frame(4);
      Bytes work(static_cast<size_t>(workSize));
      WindowedSource windows(stream, 37);
      ASSERT_TRUE(windows.Skip(kMM2DFilmChunkHeaderBytes));
      MM2DFilmFrameDecoder decoder = frame.Decoder(&work);
      const uint32_t type = c.delta ? kMM2DFilmCompressedDeltaFrame : kMM2DFilmCompressedFrame;
      EXPECT_EQ(decoder.Decode(type, length, windows, nullptr), workSize == needed) << workSize;
      EXPECT_EQ(windows.GetPosition(), static_cast<int32_t>(stream.size()));
    }
  }
}

}  // namespace
