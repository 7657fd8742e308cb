#include "foundation/uu/UUSoundBytes.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int16_t kLevels[48] = {
    1,     6,     19,    41,    73,    120,   180,   258,   353,   468,   603,   761,
    942,   1149,  1381,  1641,  1929,  2247,  2596,  2977,  3391,  3839,  4323,  4844,
    5401,  5998,  6633,  7310,  8028,  8788,  9593,  10441, 11335, 12276, 13264, 14300,
    15385, 16520, 17707, 18945, 20236, 21581, 22981, 24435, 25946, 27515, 29141, 30826};

constexpr int kLastLevel = 47;
constexpr uint8_t kZeroCode = 248;
constexpr int32_t kLargestDelta = 4095;

constexpr std::array<int16_t, 256> MakeTable() {
  std::array<int16_t, 256> table{};
  for (int code = 0; code < 128; ++code) {
    int value;
    if (code <= kLastLevel) {
      value = kLevels[code];
    } else if (code < 120) {
      value = (8 + (code & 7)) << (14 - (code >> 3));
    } else {
      value = code & 7;
    }
    table[static_cast<size_t>(code)] = static_cast<int16_t>(value);
    table[static_cast<size_t>(code) + 128] = static_cast<int16_t>(-value);
  }
  return table;
}

bool IsAbsolute(uint8_t code) { return (code & 0x7F) <= kLastLevel || code == kZeroCode; }

int16_t Wrapped(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

uint32_t NextChannel(uint32_t channel, int32_t count) {
  return count > 1 && channel + 1 < static_cast<uint32_t>(count) ? channel + 1 : 0;
}

// The nearest absolute level, a tie taking the lower one.
uint8_t AbsoluteCode(int32_t value) {
  if (value == 0) return kZeroCode;
  const uint8_t sign = value < 0 ? uint8_t{0x80} : uint8_t{0};
  const int32_t magnitude = std::abs(value);
  int index;
  if (magnitude <= kLevels[0]) {
    index = 0;
  } else if (magnitude >= kLevels[kLastLevel]) {
    index = kLastLevel;
  } else {
    int low = 0;
    int high = kLastLevel;
    while (low + 1 < high) {
      const int middle = (low + high) / 2;
      (kLevels[middle] < magnitude ? low : high) = middle;
    }
    index = magnitude - kLevels[low] > kLevels[high] - magnitude ? high : low;
  }
  return static_cast<uint8_t>(index | sign);
}

uint8_t DeltaCode(int32_t delta) {
  const uint8_t sign = delta < 0 ? uint8_t{0x80} : uint8_t{0};

  int32_t magnitude = std::abs(delta);
  if (magnitude < 8) return static_cast<uint8_t>(sign | 0x78 | magnitude);
  int shifts = 0;
  while (magnitude > 15) {
    magnitude >>= 1;
    ++shifts;
  }
  return static_cast<uint8_t>(sign | (0x70 - 8 * shifts) | (magnitude & 7));
}

}  // namespace

const std::array<int16_t, 256> UUSoundByteTable = MakeTable();

UUSoundBytesDecoder::UUSoundBytesDecoder(int32_t channelCount)
    : mChannelCount(channelCount == 2 ? 2 : 1) {}

void UUSoundBytesDecoder::Reset(uint32_t codeIndex) {
  mPrevious[0] = mPrevious[1] = 0;
  mChannel = codeIndex % static_cast<uint32_t>(mChannelCount);
}

void UUSoundBytesDecoder::Decode(const uint8_t* codes, uint32_t n, int16_t* samples) {
  DecodeInto(codes, n, samples);
}

void UUSoundBytesDecoder::DecodeInto(const uint8_t* codes, uint32_t n, void* samples) {
  auto* out = static_cast<uint8_t*>(samples);
  for (uint32_t k = 0; k < n; ++k) {
    const uint8_t code = codes[k];
    int16_t value = UUSoundByteTable[code];
    if (!IsAbsolute(code)) value = Wrapped(value + mPrevious[mChannel]);
    mPrevious[mChannel] = value;
    std::memcpy(out + 2 * size_t{k}, &value, 2);
    mChannel = NextChannel(mChannel, mChannelCount);
  }
}

UUSoundBytesEncoder::UUSoundBytesEncoder(int32_t channelCount)
    : mChannelCount(channelCount == 2 ? 2 : 1) {}

uint8_t UUSoundBytesEncoder::EncodeOne(int16_t value, int32_t channel) {
  const uint8_t absolute = AbsoluteCode(value);
  const int32_t delta = value - mPrevious[channel];
  if (std::abs(delta) <= kLargestDelta) {
    const uint8_t relative = DeltaCode(delta);
    if (std::abs(UUSoundByteTable[relative] - delta) <
        std::abs(UUSoundByteTable[absolute] - value)) {
      mPrevious[channel] = Wrapped(mPrevious[channel] + UUSoundByteTable[relative]);
      return relative;
    }
  }
  mPrevious[channel] = UUSoundByteTable[absolute];
  return absolute;
}

void UUSoundBytesEncoder::Encode(const int16_t* samples, uint32_t n, uint8_t* codes) {
  EncodeFrom(samples, n, codes);
}

void UUSoundBytesEncoder::EncodeFrom(const void* samples, uint32_t n, uint8_t* codes) {
  const auto* in = static_cast<const uint8_t*>(samples);
  for (uint32_t k = 0; k < n; ++k) {
    int16_t value;
    std::memcpy(&value, in + 2 * size_t{k}, 2);
    codes[k] = EncodeOne(value, static_cast<int32_t>(mChannel));
    mChannel = NextChannel(mChannel, mChannelCount);
  }
}
