// Writes the MIDI fuzzer's seed corpus: Standard MIDI Files made with the
// pipeline's own sink, of one and of two tracks.

#include "media/codecs/MidiFileSink.h"
#include "tests/media/codecs/MidiTestSupport.h"
#include "tests/media/codecs/VectorWriter.h"

#include "tests/fuzz/SeedFiles.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Track(const std::function<void(MidiSink&)>& events) {
  VectorWriter writer;
  MidiFileSinkMidi sink(writer);
  sink.Begin(96);
  events(sink);
  sink.End(false);
  return writer.mBytes;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory, plain or Windows path>\n", arguments[0]);
    return 2;
  }
  const std::string directory = arguments[1];
  const uint8_t tempo[3] = {0x07, 0xA1, 0x20};
  const uint8_t sysex[3] = {0x7E, 0x7F, 0xF7};
  const Bytes melody = Track([&](MidiSink& sink) {
    sink.Meta(0x51, 3, tempo);
    sink.ShortMessage(0x0005C0);
    sink.ShortMessage(0x7F3C90);
    sink.Delta(96);
    sink.ShortMessage(0x003C90);
    sink.ShortMessage(0x0007B0 | 100 << 16);
    sink.ShortMessage(0x2000E0);
  });
  const Bytes drums = Track([&](MidiSink& sink) {
    sink.SysEx(false, 3, sysex);
    sink.Delta(48);
    sink.ShortMessage(0x642499);
    sink.Delta(200);
    sink.ShortMessage(0x002489);
  });
  const bool written = WriteSeedFile(directory, "one-track.mid", MakeSmf({melody}, 96, 0)) &&
                       WriteSeedFile(directory, "two-tracks.mid", MakeSmf({melody, drums}, 480));
  return written ? 0 : 1;
}
