#include "media/codecs/MidiFileReader.h"

namespace {

constexpr int32_t kHeaderLength = 6;
constexpr int16_t kFormatMultipleSongs = 2;
// A chunk type ending in this byte closes the file.
constexpr uint32_t kClosingChunkByte = 0x2F;

}  // namespace

int MidiFileReader::Read(UURandomAccessStream& stream) {
  if (stream.GetError() != kUUNoError) return kStreamError;
  stream.SetByteOrder(kUUSwappedByteOrder);
  const int header = ReadHeader(stream);
  return header != kSuccess ? header : ReadChunks(stream);
}

int MidiFileReader::ReadHeader(UURandomAccessStream& stream) {
  uint32_t type = 0;
  if (!stream.ReadInt32s(&type, 1)) return kStreamError;
  if (type != kMidiHeaderChunk) return kBadHeader;
  int32_t length = 0;
  if (!stream.ReadInt32s(&length, 1) || length != kHeaderLength) return kBadHeader;
  int16_t format = 0;
  if (!stream.ReadInt16s(&format, 1)) return kStreamError;
  if (format > kFormatMultipleSongs || format < 0) return kBadHeader;
  if (format == kFormatMultipleSongs) return kFormat2;
  if (!stream.ReadInt16s(&mTrackCount, 1)) return kStreamError;
  int16_t division = 0;
  if (!stream.ReadInt16s(&division, 1)) return kStreamError;
  if (division == 0) return kBadHeader;
  mDivision = division;
  return kSuccess;
}

int MidiFileReader::ReadChunks(UURandomAccessStream& stream) {
  int32_t position = 0;
  int32_t end = 0;
  if (!stream.Tell(&position) || !stream.Seek(0, kUUSeekFromEnd, &end) ||
      !stream.Seek(position, kUUSeekFromStart, nullptr)) {
    return kStreamError;
  }
  while (position != end) {
    uint32_t type = 0;
    if (!stream.ReadInt32s(&type, 1)) return kStreamError;
    if ((type & 0xFF) == kClosingChunkByte) return kSuccess;
    int32_t length = 0;
    if (!stream.ReadInt32s(&length, 1)) return kStreamError;
    position += 8;
    // A chunk must lie inside the file.
    if (length < 0 || length > end - position) return kStreamError;
    if (!OnChunk(type, length, stream)) return kChunkRefused;
    position += length;
    if (!stream.Seek(position, kUUSeekFromStart, nullptr)) return kStreamError;
  }
  return kSuccess;
}
