#pragma once
// The bytes of a film's chunk stream as the decoders read them: windows of
// contiguous bytes, which may end anywhere, so that a value or a run may
// straddle two of them. The player reads its ring buffer through one; a
// chunk already in memory is one window.

#include <cstdint>

class MM2DFilmByteSource {
 public:
  virtual ~MM2DFilmByteSource() = default;

  // The contiguous bytes at the read position, at least one; 0 when the
  // source has no more.
  virtual int32_t Window(const uint8_t** bytes) = 0;
  // Moves past n bytes of the current window.
  virtual void Advance(int32_t n) = 0;

  // n bytes across windows; false when the source ends first.
  bool Read(uint8_t* destination, int32_t n);
  bool ReadBE16(int16_t* value);
  bool ReadBE32(uint32_t* value);
  bool Skip(int64_t n);
  // The address of the next n bytes when one window holds them all, the
  // source moved past them; null (nothing moved) otherwise.
  const uint8_t* Contiguous(int32_t n);
};

// Bytes in memory: one window.
class MM2DFilmMemorySource : public MM2DFilmByteSource {
 public:
  MM2DFilmMemorySource(const uint8_t* data, int32_t size) : mData(data), mSize(size) {}

  int32_t Window(const uint8_t** bytes) override;
  void Advance(int32_t n) override { mPosition += n; }

 private:
  const uint8_t* mData;
  int32_t mSize;
  int32_t mPosition = 0;
};

// The next length bytes of another source: one chunk's payload, so that
// nothing read through it runs into the next chunk.
class MM2DFilmLimitedSource : public MM2DFilmByteSource {
 public:
  MM2DFilmLimitedSource(MM2DFilmByteSource& source, int64_t length)
      : mSource(source), mRemaining(length < 0 ? 0 : length) {}

  int32_t Window(const uint8_t** bytes) override;
  void Advance(int32_t n) override;
  int64_t GetRemaining() const { return mRemaining; }

 private:
  MM2DFilmByteSource& mSource;
  int64_t mRemaining;
};
