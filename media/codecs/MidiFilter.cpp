#include "media/codecs/MidiFilter.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int32_t kChannelMask = 0x0F;
constexpr int32_t kStatusClassMask = 0xF0;
constexpr int32_t kLastBaseChannel = 9;
constexpr int32_t kPercussionChannel = 9;
constexpr int32_t kLastCopiedChannel = 4;
constexpr int32_t kCopyOffset = 10;
constexpr int32_t kPercussionCopy = 15;

int32_t Channel(int32_t message) { return message & kChannelMask; }
int32_t StatusClass(int32_t message) { return message & kStatusClassMask; }
int32_t Data1(int32_t message) { return (message >> 8) & 0xFF; }

// The flag a controller number sets, 0 for controllers not recorded.
uint32_t ControllerFlag(int32_t controller) {
  switch (controller) {
    case 1:
      return MidiInspector::kModulation;
    case 6:
      return MidiInspector::kDataEntryMsb;
    case 7:
      return MidiInspector::kVolume;
    case 10:
      return MidiInspector::kPan;
    case 11:
      return MidiInspector::kExpression;
    case 38:
      return MidiInspector::kDataEntryLsb;
    case 91:
      return MidiInspector::kEffects1Depth;
    case 93:
      return MidiInspector::kEffects3Depth;
    case 100:
      return MidiInspector::kParameterLsb;
    case 101:
      return MidiInspector::kParameterMsb;
    default:
      return 0;
  }
}

uint32_t MessageFlag(int32_t message) {
  switch (StatusClass(message)) {
    case 0x80:
    case 0x90:
      return MidiInspector::kNotes;
    case 0xB0:
      return ControllerFlag(Data1(message));
    case 0xC0:
      return MidiInspector::kProgram;
    case 0xE0:
      return MidiInspector::kPitchBend;
    default:
      return 0;  // aftertouch and system messages
  }
}

}  // namespace

bool MidiFilter::Begin(int16_t division) {
  mDivision = division;
  return mNext == nullptr || mNext->Begin(division);
}

bool MidiFilter::Delta(int32_t ticks) { return mNext == nullptr || mNext->Delta(ticks); }

bool MidiFilter::ShortMessage(int32_t message) {
  return mNext == nullptr || mNext->ShortMessage(message);
}

bool MidiFilter::SysEx(bool continuation, int32_t length, const uint8_t* data) {
  return mNext == nullptr || mNext->SysEx(continuation, length, data);
}

bool MidiFilter::Meta(uint8_t type, int32_t length, const uint8_t* data) {
  return mNext == nullptr || mNext->Meta(type, length, data);
}

bool MidiFilter::End(bool aborted) { return mNext == nullptr || mNext->End(aborted); }

bool MidiSysExMsgFilter::SysEx(bool, int32_t, const uint8_t*) { return true; }

bool MidiMetaEventFilter::Meta(uint8_t type, int32_t length, const uint8_t* data) {
  if (type != kMidiMetaTempo || length != kMidiTempoLength) return true;
  return MidiFilter::Meta(type, length, data);
}

bool MidiBaseSynthFilter::ShortMessage(int32_t message) {
  const int32_t channel = Channel(message);
  if (mNext == nullptr || channel > kLastBaseChannel) return true;
  if (!mNext->ShortMessage(message)) return false;
  int32_t copy = -1;
  if (channel <= kLastCopiedChannel) copy = channel + kCopyOffset;
  if (channel == kPercussionChannel) copy = kPercussionCopy;
  if (copy < 0) return true;
  return mNext->ShortMessage((message & ~kChannelMask) | copy);
}

bool MidiTimer::Begin(int16_t division) {
  mTempo = kDefaultTempo;
  mTicks = 0;
  return MidiFilter::Begin(division);
}

bool MidiTimer::Delta(int32_t ticks) {
  mTicks += static_cast<uint32_t>(ticks);
  return MidiFilter::Delta(ticks);
}

bool MidiTimer::Meta(uint8_t type, int32_t length, const uint8_t* data) {
  // A shorter event carries no whole tempo and is passed on unread.
  if (type == kMidiMetaTempo && length >= kMidiTempoLength) {
    mTempo = static_cast<uint32_t>(data[0]) << 16 | static_cast<uint32_t>(data[1]) << 8 | data[2];
  }
  return MidiFilter::Meta(type, length, data);
}

int64_t MidiTimer::GetMilliseconds() const {
  if (mDivision == 0) return 0;
  return static_cast<int64_t>(static_cast<double>(mTicks) / mDivision * mTempo * 0.001);
}

bool MidiInspector::Begin(int16_t division) {
  std::fill(std::begin(mFlags), std::end(mFlags), 0u);
  return MidiFilter::Begin(division);
}

bool MidiInspector::ShortMessage(int32_t message) {
  const int32_t status = message & 0xFF;
  const int32_t channel = Channel(message);
  if (status >= 0x80 && status < 0xF0 && channel < kChannelCount) {
    mFlags[channel] |= MessageFlag(message);
  }
  return true;
}
