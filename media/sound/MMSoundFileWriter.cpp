#include "media/sound/MMSoundFileWriter.h"

#include "foundation/af/AFError.h"
#include "foundation/al/ALBytes.h"
#include "foundation/uu/UUCrc32.h"
#include "foundation/uu/UUFile.h"
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
constexpr int32_t kNameBytes = MMResourceFileWithNamedSubfiles::kNameSize;

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

// Copies the fields of a little-endian header, each in its own width,
// turning every number big-endian.
class HeaderSwapper {
 public:
  HeaderSwapper(UUReader& in, UUWriter& out) : mIn(in), mOut(out) {}

  void Raw(int32_t n) {
    mScratch.resize(static_cast<size_t>(n));
    mIn.Read(mScratch.data(), static_cast<uint32_t>(n));
    mOut.Write(mScratch.data(), static_cast<uint32_t>(n));
  }
  void Int16s(int32_t n) {
    std::vector<int16_t> values(static_cast<size_t>(n));
    mIn.ReadInt16s(values.data(), static_cast<uint32_t>(n));
    ALSwapBytes16(values.data(), static_cast<uint32_t>(n));
    mOut.Write(values.data(), static_cast<uint32_t>(2 * n));
  }
  void Int32s(int32_t n) {
    std::vector<int32_t> values(static_cast<size_t>(n));
    mIn.ReadInt32s(values.data(), static_cast<uint32_t>(n));
    ALSwapBytes32(values.data(), static_cast<uint32_t>(n));
    mOut.Write(values.data(), static_cast<uint32_t>(4 * n));
  }
  void ByteOrderMark() {
    mIn.Skip(2);
    mOut.Write("MM", 2);
  }

 private:
  UUReader& mIn;
  UUWriter& mOut;
  Bytes mScratch;
};

// The container header, the named header and the sound table.
void SwapHeader(HeaderSwapper& swap, int32_t n) {
  swap.Raw(MMGenericResourceFile::kTagSize);
  swap.ByteOrderMark();
  swap.Int16s(1);  // container version
  swap.Int32s(1);  // checksum, replaced afterwards
  swap.Int16s(1);  // collection number
  swap.Int32s(2);  // stamp words
  swap.Int16s(1);  // subfile count
  swap.Int32s(n + 1);
  swap.Int16s(1);  // named-table version
  swap.Raw(kNameBytes * n);
  swap.Int32s(n);  // subfile values
  swap.Int16s(1);  // sound table version
  swap.Raw(2 * n);
  swap.Int32s(2 * n);
}

bool SwapStream(UUFile& file, int32_t n) {
  const int32_t headerBytes = MMGenericResourceFile::kOffsetTableStart + 4 * (n + 1) + 2 +
                              (kNameBytes + 4) * n + 2 + 10 * n;
  Bytes little(static_cast<size_t>(headerBytes));
  Bytes big(little.size());
  file.Seek(0, kUUSeekFromStart, nullptr);
  file.Read(little.data(), static_cast<uint32_t>(headerBytes));
  UUMemory in(little.data(), headerBytes);
  UUMemory out(big.data(), headerBytes);
  HeaderSwapper swap(in, out);
  SwapHeader(swap, n);
  if (in.GetError() != kUUNoError || out.GetError() != kUUNoError) return false;
  file.Seek(0, kUUSeekFromStart, nullptr);
  file.Write(big.data(), static_cast<uint32_t>(headerBytes));
  int32_t length = 0;
  file.GetLength(&length);
  file.Seek(MMGenericResourceFile::kChecksummedStart, kUUSeekFromStart, nullptr);
  UUCrc32 crc;
  uint32_t checksum = crc.UpdateFromReader(
      file, static_cast<uint32_t>(length - MMGenericResourceFile::kChecksummedStart));
  ALSwapBytes32(&checksum, 1);
  file.Seek(MMGenericResourceFile::kChecksumOffset, kUUSeekFromStart, nullptr);
  file.Write(&checksum, sizeof checksum);
  return file.GetError() == kUUNoError;
}

// Rewrites a finished little-endian file in the big-endian order.
bool SwapFileByteOrder(const UUDirectory& directory, const char* name, int32_t n) {
  UUFile file(directory, name, kUUFileOpenOrCreate, UUFileOptions());
  const bool swapped = SwapStream(file, n);
  const UUStreamError error = file.GetError();
  if (file.Close() && swapped) return true;
  return AFSetError(MME_SOUND_RESOURCE_FILE_BAD_WRITE, directory, name,
                    static_cast<DWORD>(error != kUUNoError ? error : file.GetError()));
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
  if (!file.Create(directory, name, UUFileOptions(), count, collectionNumber)) return false;
  if (!WriteSounds(file, sounds, count, order)) {
    // Nothing half-written stays behind.
    AFSetFailureWithoutError();
    file.Close(false);
    UUDeleteFile(directory, name);
    return false;
  }
  if (!file.Close(true)) return false;
  return order == kUUNativeByteOrder || SwapFileByteOrder(directory, name, count);
}
