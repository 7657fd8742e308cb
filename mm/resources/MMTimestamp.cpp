#include "mm/resources/MMTimestamp.h"

#include <cstdio>
#include <cstring>

namespace {

struct TimestampEntry {
  const char* mKey;
  uint32_t mPacked;
};

const TimestampEntry kTimestamps[] = {
    {"MM_TIMESTAMP_MMP_0000", 0x29D4BCC1},
    {"MM_TIMESTAMP_MMA_0000", 0x29DEFB48},
    {"MM_TIMESTAMP_MMF_0000", 0x29D5282B},
    {"MM_TIMESTAMP_MMX_0000", 0x29FCC4A0},
    {"MM_TIMESTAMP_MMM_0000", 0x29FCC4D4},
    {"MM_TIMESTAMP_MMS_0000", 0xAA02E2DB},
    {nullptr, 0},
};

constexpr const char kKeyPrefix[] = "MM_TIMESTAMP";
constexpr int kYearBase = 90;  // the packed years start at 1990

uint32_t Field(uint32_t packed, int shift, uint32_t mask) { return (packed >> shift) & mask; }

// The table's packed stamp for a key; false when the table lacks it.
bool FindTimestamp(const char* key, uint32_t* packed) {
  for (const TimestampEntry* entry = kTimestamps; entry->mKey != nullptr; ++entry) {
    if (std::strcmp(entry->mKey, key) == 0) {
      *packed = entry->mPacked;
      return true;
    }
  }
  return false;
}

}  // namespace

void MMFormatTimestampKey(char* buffer, const char* kindCode, int32_t number) {
  std::snprintf(buffer, kMMTimestampKeySize, "%s_%s_%04X", kKeyPrefix, kindCode,
                static_cast<unsigned>(number & 0xFFFF));
}

bool MMIsTimestampKey(const char* text) {
  return std::strncmp(text, kKeyPrefix, sizeof(kKeyPrefix) - 1) == 0;
}

void MMCheckTimestamp(const char* kindCode, int32_t number, uint32_t, uint32_t) {
  char key[kMMTimestampKeySize];
  MMFormatTimestampKey(key, kindCode, number);
  uint32_t packed = 0;
  FindTimestamp(key, &packed);
}

uint32_t MMPackTimestamp(const std::tm& fields) {
  const uint32_t saving = fields.tm_isdst < 0 ? 0 : (fields.tm_isdst == 0 ? 1 : 2);
  return (static_cast<uint32_t>(fields.tm_sec) & 0x3F) |
         (static_cast<uint32_t>(fields.tm_min) & 0x3F) << 6 |
         (static_cast<uint32_t>(fields.tm_hour) & 0x1F) << 12 |
         (static_cast<uint32_t>(fields.tm_mday) & 0x1F) << 17 |
         (static_cast<uint32_t>(fields.tm_mon) & 0xF) << 22 |
         (static_cast<uint32_t>(fields.tm_year + 6) & 0xF) << 26 | saving << 30;
}

void MMUnpackTimestamp(std::tm* fields, uint32_t packed) {
  std::tm unpacked{};
  unpacked.tm_sec = static_cast<int>(Field(packed, 0, 0x3F));
  unpacked.tm_min = static_cast<int>(Field(packed, 6, 0x3F));
  unpacked.tm_hour = static_cast<int>(Field(packed, 12, 0x1F));
  unpacked.tm_mday = static_cast<int>(Field(packed, 17, 0x1F));
  unpacked.tm_mon = static_cast<int>(Field(packed, 22, 0xF));
  unpacked.tm_year = static_cast<int>(Field(packed, 26, 0xF)) + kYearBase;
  unpacked.tm_isdst = static_cast<int>(Field(packed, 30, 0x3)) - 1;
  std::mktime(&unpacked);
  *fields = unpacked;
}

uint32_t MMCurrentTimestamp() {
  const std::time_t now = std::time(nullptr);
  // The resource system runs on one thread, so the shared result is safe.
  return MMPackTimestamp(*std::localtime(&now));
}

const char* MMRegisterTimestampName() { return "MM_REGISTER_TIMESTAMP"; }
