#pragma once
// What the sketch tests share: a creation that writes a known record of
// its own, sketch files made byte by byte, and reading files back whole.

#include "app/shell/VPLSketch.h"
#include "mm/drawing/MMBitmap.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace sketch_test {

// Stands for the creation: its record is a 4-byte length and its bytes.
class FakeCreation : public VPLSketchCreation {
 public:
  FakeCreation() = default;
  explicit FakeCreation(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)) {}

  bool Write(UURandomAccessStream& stream) override {
    const auto size = static_cast<int32_t>(mBytes.size());
    return stream.WriteInt32s(&size, 1) && stream.Write(mBytes.data(), static_cast<uint32_t>(size));
  }
  bool Read(UURandomAccessStream& stream) override {
    int32_t size = 0;
    if (!stream.ReadInt32s(&size, 1) || size < 0 || size > kMaxBytes) return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!stream.Read(bytes.data(), static_cast<uint32_t>(size))) return false;
    mBytes = std::move(bytes);
    return true;
  }
  const std::vector<uint8_t>& Bytes() const { return mBytes; }

 private:
  static constexpr int32_t kMaxBytes = 1 << 24;
  std::vector<uint8_t> mBytes;
};

inline std::vector<uint8_t> ReadHostFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteHostFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A 32-bit bitmap whose pixel (x, y) is x + y * 256 + seed << 24.
inline std::unique_ptr<MMBitmapWithPixels> PatternBitmap(int32_t width, int32_t height,
                                                         uint8_t seed) {
  std::unique_ptr<MMBitmapWithPixels> bitmap(
      MMBitmapWithPixels::Create(UURect(0, 0, width, height), kMMFormat32, nullptr));
  for (int32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bitmap->GetPixelAddress(0, y));
    for (int32_t x = 0; x < width; ++x)
      row[x] = static_cast<uint32_t>(x + y * 256) | uint32_t{seed} << 24;
  }
  return bitmap;
}

// The bytes of a sketch file: time, signature, flag, sizes and pixels.
inline std::vector<uint8_t> SketchBytes(int32_t time, const std::string& signature, uint8_t flag,
                                        int16_t width, int16_t height, int16_t bytesPerPixel,
                                        size_t pixelBytes) {
  std::vector<uint8_t> bytes;
  auto put = [&bytes](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  put(static_cast<uint32_t>(time), 4);
  bytes.insert(bytes.end(), signature.begin(), signature.end());
  bytes.push_back(flag);
  put(static_cast<uint16_t>(width), 2);
  put(static_cast<uint16_t>(height), 2);
  put(static_cast<uint16_t>(bytesPerPixel), 2);
  bytes.resize(bytes.size() + pixelBytes, 0x5A);
  return bytes;
}

}  // namespace sketch_test
