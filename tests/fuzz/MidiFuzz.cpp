// Reads the input as a Standard MIDI File and plays its tracks, merged,
// through every filter into a Standard MIDI File sink, and each track alone
// into the inspector and the MIDIEVENT sink; the merged output is then
// played again as a track.

#include "media/codecs/MidiFileSink.h"
#include "media/codecs/MidiFilter.h"
#include "tests/media/codecs/MidiTestSupport.h"
#include "tests/media/codecs/VectorWriter.h"

#include "foundation/uu/UUMemory.h"

#include <cstdint>
#include <vector>

namespace {

constexpr int16_t kDivision = 96;

void PlayMerged(UUList<MidiTrack*>& tracks, std::vector<uint8_t>& merged) {
  VectorWriter writer;
  MidiFileSinkMidi sink(writer);
  MidiInspector inspector(nullptr);
  MidiBaseSynthFilter synth(&sink);
  MidiTimer timer(&synth);
  MidiMetaEventFilter tempoOnly(&timer);
  MidiSysExMsgFilter noSysEx(&tempoOnly);
  MidiPlayTracks(tracks, noSysEx);
  timer.GetMilliseconds();
  merged = writer.mBytes;
}

void PlayEach(UUList<MidiTrack*>& tracks) {
  for (MidiTrack* track : tracks) {
    VectorWriter writer;
    MidiFileSinkWindows records(writer);
    MidiInspector inspector(&records);
    track->Play(inspector);
    MidiFileSinkMidi file(writer);
    track->Play(file);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  UUMemory stream(file.data(), static_cast<int32_t>(file.size()));
  TrackCollector reader;
  reader.Read(stream);
  std::vector<uint8_t> merged;
  PlayMerged(reader.mTrackList, merged);
  PlayEach(reader.mTrackList);
  if (!merged.empty()) {
    MidiTrack again(merged.data(), static_cast<int32_t>(merged.size()), kDivision);
    VectorWriter writer;
    MidiFileSinkMidi sink(writer);
    again.Play(sink);
  }
  return 0;
}
