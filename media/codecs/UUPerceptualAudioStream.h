#pragma once
// An input stream of the PCM of a sequence of perceptual audio frames read
// from a buffered input: one frame is decoded at a time, straight into the
// reader's buffer when a whole frame is wanted, else into a frame buffer
// that later reads take from.

#include "foundation/uu/UUInputStream.h"
#include "media/codecs/UUPerceptualAudio.h"

#include <cstdint>
#include <vector>

namespace UUPerceptualAudio {

class DecompressFromBufferedInput : public UUInputFromBufferedInput {
 public:
  // The input is owned. rateCode: 0 11025 Hz, 1 22050 Hz, else 44100 Hz.
  // decodedLength is a whole number of frames; frameSizes (not owned, one
  // compressed byte count per frame) must outlive the stream.
  DecompressFromBufferedInput(UUBufferedInput* input, int rateCode, bool stereo,
                              int32_t decodedLength, const uint16_t* frameSizes);
  ~DecompressFromBufferedInput() override;

  bool AtEnd() override { return mPosition + mPendingSkip >= mDecodedLength; }
  bool IsByteSwapped() override { return false; }
  int32_t Seek(int32_t position) override;
  uint32_t Read(void* buffer, uint32_t n, bool wait) override;

  // False when the decoder could not be created.
  bool IsGood() const { return mDecoder != nullptr; }

 private:
  // Takes what the frame buffer holds (after any pending skip).
  uint32_t TakeFromFrameBuffer(uint8_t* out, uint32_t wanted);
  // Brings the next frame's compressed bytes together and decodes them;
  // false when no input is available yet.
  bool DecodeNextFrame(uint8_t* out, uint32_t wanted, bool wait, uint32_t* delivered);
  void DecodeFrame(const uint8_t* bytes, int32_t size, uint8_t* direct, uint32_t* delivered);

  Decoder* mDecoder = nullptr;
  int32_t mFrameBytes;  // decoded bytes per frame
  int32_t mDecodedLength;
  int32_t mFrameCount;
  const uint16_t* mFrameSizes;
  int32_t mPosition = 0;
  int32_t mPendingSkip = 0;
  std::vector<uint8_t> mFrameBuffer;
  int32_t mFrameRead = 0;
  int32_t mFrameFill = 0;
  std::vector<uint8_t> mGather;
  int32_t mGathered = 0;
};

}  // namespace UUPerceptualAudio
