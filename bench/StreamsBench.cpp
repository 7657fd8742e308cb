// Typed stream reads and writes (memory and file, both byte orders) and the
// buffered input, each against a plain memcpy or read of the same bytes.

#include "foundation/uu/UUBufferedInputFromReader.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUInputStream.h"
#include "foundation/uu/UUMemory.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kValues = 16384;  // 64 KiB of 32-bit values
constexpr uint32_t kBytes = kValues * 4;

std::vector<uint8_t> Image(char first) {
  std::vector<uint8_t> bytes(kBytes + 2, 7);
  bytes[0] = bytes[1] = static_cast<uint8_t>(first);
  return bytes;
}

void MemcpyLimit(benchmark::State& state) {
  std::vector<uint8_t> bytes = Image('I');
  std::vector<int32_t> values(kValues);
  for (auto _ : state) {
    std::memcpy(values.data(), bytes.data() + 2, kBytes);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(MemcpyLimit);

// range(0): 0 reads an "II" image, 1 an "MM" image (every value swapped).
void MemoryReadInt32s(benchmark::State& state) {
  std::vector<uint8_t> bytes = Image(state.range(0) ? 'M' : 'I');
  std::vector<int32_t> values(kValues);
  for (auto _ : state) {
    UUMemory stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.ReadByteOrderMark();
    stream.ReadInt32s(values.data(), kValues);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(MemoryReadInt32s)->Arg(0)->Arg(1);

void MemoryWriteInt32s(benchmark::State& state) {
  std::vector<uint8_t> bytes(kBytes + 2);
  std::vector<int32_t> values(kValues, 5);
  for (auto _ : state) {
    UUMemory stream(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.WriteByteOrderMark();
    stream.WriteInt32s(values.data(), kValues);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(MemoryWriteInt32s);

class TempFile {
 public:
  explicit TempFile(char first) {
    char pattern[] = "/tmp/vpl-bench-XXXXXX";
    mHostDirectory = mkdtemp(pattern);
    std::vector<uint8_t> bytes = Image(first);
    std::FILE* file = std::fopen((mHostDirectory + "/data.bin").c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::string windows = "C:" + mHostDirectory + "/";
    for (char& c : windows) c = c == '/' ? '\\' : c;
    mDirectory.Set(windows.c_str());
  }
  ~TempFile() {
    std::remove((mHostDirectory + "/data.bin").c_str());
    rmdir(mHostDirectory.c_str());
  }
  std::string HostPath() const { return mHostDirectory + "/data.bin"; }
  const UUDirectory& Directory() const { return mDirectory; }

 private:
  std::string mHostDirectory;
  UUDirectory mDirectory;
};

void ReadLimit(benchmark::State& state) {
  TempFile file('I');
  const int descriptor = open(file.HostPath().c_str(), O_RDONLY);
  std::vector<int32_t> values(kValues);
  for (auto _ : state) {
    benchmark::DoNotOptimize(pread(descriptor, values.data(), kBytes, 2));
  }
  close(descriptor);
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(ReadLimit);

void FileReadInt32s(benchmark::State& state) {
  TempFile temp(state.range(0) ? 'M' : 'I');
  UUFile file(temp.Directory(), "data.bin");
  std::vector<int32_t> values(kValues);
  for (auto _ : state) {
    file.Seek(0, kUUSeekFromStart, nullptr);
    file.ReadByteOrderMark();
    file.ReadInt32s(values.data(), kValues);
    benchmark::DoNotOptimize(values.data());
  }
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(FileReadInt32s)->Arg(0)->Arg(1);

void FileWriteInt32s(benchmark::State& state) {
  TempFile temp('I');
  UUFile file(temp.Directory(), "data.bin", kUUFileOpenOrCreate, UUFileOptions{});
  std::vector<int32_t> values(kValues, 5);
  for (auto _ : state) {
    file.Seek(0, kUUSeekFromStart, nullptr);
    file.WriteByteOrderMark();
    file.WriteInt32s(values.data(), kValues);
  }
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(FileWriteInt32s);

// The buffered input over memory, through a 4 KiB ring, in 1 KiB reads.
void BufferedInputRead(benchmark::State& state) {
  std::vector<uint8_t> bytes = Image('I');
  std::vector<uint8_t> ring(4096);
  std::vector<uint8_t> out(kBytes);
  for (auto _ : state) {
    UUMemory source(bytes.data(), static_cast<int32_t>(bytes.size()));
    UUInputFromBufferedInput input(
        new UUBufferedInputFromReader(source, ring.data(), 4096, static_cast<int32_t>(kBytes)));
    for (uint32_t done = 0; done < kBytes;) done += input.Read(out.data() + done, 1024, true);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t{state.iterations()} * kBytes);
}
BENCHMARK(BufferedInputRead);

}  // namespace
