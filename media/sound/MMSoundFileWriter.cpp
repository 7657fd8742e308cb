#include "media/sound/MMSoundFileWriter.h"

#include "foundation/af/AFError.h"
#include "foundation/al/ALBytes.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUSoundBytes.h"
#include "media/sound/MMSoundEnvelope.h"
#include "media/sound/MMSoundResourceFile.h"

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kEnvelopeBasePeriod = 441;

// What a sound's subfile holds.
struct StoredSound {
  Bytes mEnvelope;
  Bytes mData;
};

Bytes ComputeEnvelope(const MMSoundFileEntry& sound) {
  Bytes values(static_cast<size_t>(sound.mPcmBytes / kEnvelopeBasePeriod + 1));
  UUMemory pcm(const_cast<void*>(sound.mPcm), sound.mPcmBytes);
  UUMemory out(values.data(), static_cast<int32_t>(values.size()));
  int32_t count = 0;
  MMComputeSoundEnvelope(pcm, static_cast<uint32_t>(sound.mPcmBytes), std::min(sound.mRateCode, 2),
                         sound.m16Bit || sound.mCodec != 0, sound.mStereo ? 1 : 0, out, &count);
  values.resize(static_cast<size_t>(count));
  return values;
}

// The sound data as the file stores it.
Bytes StoredData(const MMSoundFileEntry& sound, UUByteOrder order) {
  const auto* pcm = static_cast<const uint8_t*>(sound.mPcm);
  Bytes data(pcm, pcm + sound.mPcmBytes);
  if (sound.mCodec != 0) {
    const uint32_t samples = static_cast<uint32_t>(sound.mPcmBytes) / 2;
    data.resize(samples);
    UUSoundBytesEncoder(sound.mStereo ? 2 : 1).EncodeFrom(pcm, samples, data.data());
  } else if (sound.m16Bit && order == kUUSwappedByteOrder) {
    ALSwapBytes16(data.data(), static_cast<uint32_t>(data.size() / 2));
  }
  return data;
}

bool DescribeSound(MMSoundResourceFile& file, int16_t item, const MMSoundFileEntry& sound,
                   const StoredSound& stored) {
  const bool coded = sound.mCodec != 0;
  return file.SetRateCode(item, sound.mRateCode) &&
         file.Set16Bit(item, sound.m16Bit || coded ? 1 : 0) &&
         file.SetStereo(item, sound.mStereo ? 1 : 0) &&
         file.SetStreamMode(item, sound.mStreamMode) &&
         file.SetEnvelopeMode(item, sound.mEnvelope ? 1 : 0) &&
         file.SetCodec(item, sound.mCodec, sound.mHeadDivisor) &&
         file.SetEnvelopeSize(item, static_cast<int32_t>(stored.mEnvelope.size())) &&
         file.SetDecodedSize(item, coded ? 2 * static_cast<int32_t>(stored.mData.size()) : 0) &&
         file.SetSubfileName(item, sound.mName);
}

bool AppendSubfile(MMSoundResourceFile& file, int16_t item, const StoredSound& stored) {
  UURecoverableCDFile& stream = file.GetFile();
  int32_t position = 0;
  stream.Seek(0, kUUSeekFromEnd, &position);
  if (!file.SetSubfileOffset(item, position)) return false;
  stream.Write(stored.mEnvelope.data(), static_cast<uint32_t>(stored.mEnvelope.size()));
  stream.Write(stored.mData.data(), static_cast<uint32_t>(stored.mData.size()));
  return stream.GetError() == kUUNoError || file.ReportError(AFO_BAD_WRITE);
}

bool WriteSounds(MMSoundResourceFile& file, const MMSoundFileEntry* sounds, int16_t count,
                 UUByteOrder order) {
  for (int16_t item = 0; item < count; ++item) {
    const MMSoundFileEntry& sound = sounds[item];
    StoredSound stored;
    if (sound.mEnvelope) stored.mEnvelope = ComputeEnvelope(sound);
    stored.mData = StoredData(sound, order);
    if (!DescribeSound(file, item, sound, stored) || !AppendSubfile(file, item, stored)) {
      return false;
    }
  }
  return file.RecordEndOffset();
}

}  // namespace

bool MMWriteSoundResourceFile(const UUDirectory& directory, const char* name,
                              int16_t collectionNumber, const MMSoundFileEntry* sounds,
                              int16_t count, UUByteOrder order) {
  MMSoundResourceFile file;
  if (!file.Create(directory, name, UUFileOptions(), count, collectionNumber, order)) return false;
  if (!WriteSounds(file, sounds, count, order)) {
    // Nothing half-written stays behind.
    AFSetFailureWithoutError();
    file.Close(false);
    UUDeleteFile(directory, name);
    return false;
  }
  return file.Close(true);
}
