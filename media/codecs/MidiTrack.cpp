#include "media/codecs/MidiTrack.h"

namespace {

constexpr int kMaxVarLenBytes = 4;
// Meta and system-exclusive events longer than this are taken as damage.
constexpr int32_t kMaxBlockLength = 32766;
constexpr uint8_t kMetaStatus = 0xFF;
constexpr uint8_t kSysExStart = 0xF0;
constexpr uint8_t kStatusBit = 0x80;

bool HasOneDataByte(uint8_t status) { return status >= 0xC0 && status <= 0xDF; }

}  // namespace

MidiTrack::MidiTrack(const uint8_t* data, int32_t length, int16_t division) {
  Reset(data, length, division);
}

void MidiTrack::Reset(const uint8_t* data, int32_t length, int16_t division) {
  mData = data;
  mLength = length;
  mDivision = division;
  Reset();
}

void MidiTrack::Reset() {
  if (mData == nullptr) {
    EndTrack();  // a track without data has no events
    return;
  }
  mCursor = mData;
  mBytesLeft = mLength > 0 ? mLength : 0;
  mRunningStatus = 0;
  mNextEventTick = 0;
  AdvanceToNextEvent();
}

void MidiTrack::EndTrack() {
  mBytesLeft = 0;
  mNextEventTick = kNoMoreEvents;
}

void MidiTrack::AdvanceToNextEvent() {
  int32_t delta = 0;
  // A delta with no event after it, or one that takes the time past what a
  // tick can count, leaves no event to play.
  if (!ReadVarLen(&delta) || mBytesLeft == 0 || delta >= kNoMoreEvents - mNextEventTick) {
    EndTrack();
    return;
  }
  mNextEventTick += delta;
}

bool MidiTrack::ReadByte(uint8_t* byte) {
  if (mBytesLeft <= 0) return false;
  *byte = *mCursor++;
  --mBytesLeft;
  return true;
}

bool MidiTrack::ReadVarLen(int32_t* value) {
  int32_t result = 0;
  for (int i = 0; i < kMaxVarLenBytes; ++i) {
    uint8_t byte = 0;
    if (!ReadByte(&byte)) return false;
    result = result << 7 | (byte & 0x7F);
    if ((byte & 0x80) == 0) break;
  }
  *value = result;
  return true;
}

bool MidiTrack::ReadBlock(int32_t* length, const uint8_t** data) {
  if (!ReadVarLen(length) || *length > kMaxBlockLength || *length > mBytesLeft) return false;
  *data = mCursor;
  mCursor += *length;
  mBytesLeft -= *length;
  return true;
}

bool MidiTrack::ReadChannelMessage(uint8_t first, int32_t* message) {
  uint8_t data1 = first;
  if ((first & kStatusBit) != 0) {
    mRunningStatus = first;
    if (!ReadByte(&data1)) return false;
  } else if (mRunningStatus == 0) {
    return false;  // a data byte with no status to run on
  }
  uint8_t data2 = 0;
  if (!HasOneDataByte(mRunningStatus) && !ReadByte(&data2)) return false;
  *message = mRunningStatus | data1 << 8 | data2 << 16;
  return true;
}

bool MidiTrack::ReadEvent(MidiSink& sink) {
  uint8_t first = 0;
  int32_t length = 0;
  const uint8_t* data = nullptr;
  bool answer = false;
  if (!ReadByte(&first)) {
    EndTrack();
    return false;
  }
  if (first == kMetaStatus) {
    uint8_t type = 0;
    if (!ReadByte(&type) || !ReadBlock(&length, &data)) {
      EndTrack();
      return false;
    }
    answer = sink.Meta(type, length, data);
  } else if (first < kSysExStart) {
    int32_t message = 0;
    if (!ReadChannelMessage(first, &message)) {
      EndTrack();
      return false;
    }
    answer = sink.ShortMessage(message);
  } else {
    if (!ReadBlock(&length, &data)) {
      EndTrack();
      return false;
    }
    answer = sink.SysEx(first != kSysExStart, length, data);
  }
  if (mBytesLeft > 0) {
    AdvanceToNextEvent();
  } else {
    EndTrack();
  }
  return answer;
}

bool MidiTrack::Play(MidiSink& sink) {
  if (!sink.Begin(mDivision)) return false;
  Reset();
  int32_t previous = 0;
  while (mNextEventTick != kNoMoreEvents) {
    const int32_t tick = mNextEventTick;
    if (!sink.Delta(tick - previous) || (HasBytesLeft() && !ReadEvent(sink))) {
      sink.End(true);
      return false;
    }
    previous = tick;
  }
  return sink.End(false);
}

namespace {

int16_t MergedDivision(UUList<MidiTrack*>& tracks) {
  int16_t division = -1;
  for (MidiTrack* track : tracks) {
    if (division >= 0) break;
    division = track->GetDivision();
  }
  return division;
}

MidiTrack* EarliestTrack(UUList<MidiTrack*>& tracks) {
  MidiTrack* earliest = nullptr;
  for (MidiTrack* track : tracks) {
    if (track->GetNextEventTick() == MidiTrack::kNoMoreEvents) continue;
    if (earliest == nullptr || track->GetNextEventTick() < earliest->GetNextEventTick()) {
      earliest = track;
    }
  }
  return earliest;
}

}  // namespace

bool MidiPlayTracks(UUList<MidiTrack*>& tracks, MidiSink& sink) {
  if (!sink.Begin(MergedDivision(tracks))) return false;
  for (MidiTrack* track : tracks) track->Reset();
  int32_t previous = 0;
  for (MidiTrack* track = EarliestTrack(tracks); track != nullptr; track = EarliestTrack(tracks)) {
    const int32_t tick = track->GetNextEventTick();
    if (!sink.Delta(tick - previous) || (track->HasBytesLeft() && !track->ReadEvent(sink))) {
      sink.End(true);
      return false;
    }
    previous = tick;
  }
  return sink.End(false);
}
