// The sound mixer's cost: one second of output (44100 frames of 16-bit
// stereo, in the audio device's pieces of 1024 frames) mixed from 32
// looping buffers of the system's formats with volume and pan, against a
// plain copy of the same output bytes. "core_fraction" is the part of one
// second of one core that one second of output takes.

#include "platform/directx/dsound.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kOutputRate = 44100;
constexpr int kPieceFrames = 1024;
constexpr int kChannels = 32;

const HWND kWindow = reinterpret_cast<HWND>(0x1);

struct Format {
  DWORD rate;
  WORD channels;
  WORD bits;
};
constexpr Format kFormats[] = {{22050, 1, 16}, {11025, 1, 8}, {44100, 2, 16}, {22050, 2, 8}};

void AddCoreFraction(benchmark::State& state) {
  state.counters["core_fraction"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

IDirectSoundBuffer* MakeLoopingBuffer(IDirectSound* device, const Format& format, int index) {
  const auto align = static_cast<WORD>(format.channels * format.bits / 8);
  WAVEFORMATEX wave{.wFormatTag = WAVE_FORMAT_PCM,
                    .nChannels = format.channels,
                    .nSamplesPerSec = format.rate,
                    .nAvgBytesPerSec = format.rate * align,
                    .nBlockAlign = align,
                    .wBitsPerSample = format.bits,
                    .cbSize = 0};
  const DWORD bytes = 2 * format.rate * align;  // two seconds
  DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                           .dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME,
                           .dwBufferBytes = bytes,
                           .dwReserved = 0,
                           .lpwfxFormat = &wave};
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr))) return nullptr;
  void* region = nullptr;
  DWORD regionBytes = 0;
  if (SUCCEEDED(buffer->Lock(0, bytes, &region, &regionBytes, nullptr, nullptr, 0))) {
    auto* samples = static_cast<uint8_t*>(region);
    for (DWORD k = 0; k < regionBytes; ++k) samples[k] = static_cast<uint8_t>(k * 7 + index);
    buffer->Unlock(region, regionBytes, nullptr, 0);
  }
  buffer->SetVolume(-100 * (index % 20));
  buffer->SetPan(500 * (index % 9) - 2000);
  buffer->Play(0, 0, DSBPLAY_LOOPING);
  return buffer;
}

void BM_Mix32PlayingChannels(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  vpl::platform::HoldSoundOutput(true);
  HMODULE module = LoadLibraryA("DSOUND.DLL");
  auto create = reinterpret_cast<LPDIRECTSOUNDCREATE>(GetProcAddress(module, "DirectSoundCreate"));
  IDirectSound* device = nullptr;
  if (create == nullptr || FAILED(create(nullptr, &device, nullptr))) {
    state.SkipWithError("no audio output");
    return;
  }
  device->SetCooperativeLevel(kWindow, DSSCL_PRIORITY);
  std::vector<IDirectSoundBuffer*> buffers;
  for (int k = 0; k < kChannels; ++k) {
    buffers.push_back(MakeLoopingBuffer(device, kFormats[k % std::size(kFormats)], k));
  }
  std::vector<int16_t> out(2 * kPieceFrames);
  for (auto _ : state) {
    for (int mixed = 0; mixed < kOutputRate; mixed += kPieceFrames) {
      vpl::platform::MixSoundOutput(out.data(), kPieceFrames);
    }
    benchmark::DoNotOptimize(out.data());
  }
  AddCoreFraction(state);
  for (IDirectSoundBuffer* buffer : buffers) {
    if (buffer != nullptr) buffer->Release();
  }
  device->Release();
  vpl::platform::HoldSoundOutput(false);
}
BENCHMARK(BM_Mix32PlayingChannels)->Unit(benchmark::kMillisecond);

void BM_CopyOneSecondOfOutput(benchmark::State& state) {
  std::vector<int16_t> source(2 * kPieceFrames, 1);
  std::vector<int16_t> out(2 * kPieceFrames);
  for (auto _ : state) {
    for (int copied = 0; copied < kOutputRate; copied += kPieceFrames) {
      std::memcpy(out.data(), source.data(), out.size() * sizeof(int16_t));
      benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(out.data());
  }
  AddCoreFraction(state);
}
BENCHMARK(BM_CopyOneSecondOfOutput)->Unit(benchmark::kMillisecond);

}  // namespace
