#pragma once
// The user's settings in the registry: the sketchbook open last, saving
// without asking, printing offered and how, duplicating sketches and asking
// before deletions. Each value is a 32-bit integer read from and written to
// the registry when it is needed; nothing is cached. A key that cannot be
// opened is no error: every read answers its default, every write fails.

#include "foundation/uu/UUDirectory.h"

#include <cstdint>
#include <memory>

class UURegistryKey;

class VPLPreferences {
 public:
  // The string-list entries whose texts make the settings file's name.
  static constexpr int16_t kFileNameEntry = 12;
  static constexpr int16_t kFileNameSuffixEntry = 16;
  // The string-table text naming the key under the local machine's root.
  static constexpr unsigned kKeyText = 110;

  VPLPreferences();
  ~VPLPreferences();
  VPLPreferences(const VPLPreferences&) = delete;
  VPLPreferences& operator=(const VPLPreferences&) = delete;

  // Opens the key when the Windows directory and the settings file's name
  // are known (IsValid). Always true.
  bool Open();
  bool IsValid() const { return mValid; }

  // A getter answers whether the value was read; value holds the default
  // otherwise. A setter answers whether the value was written.
  bool GetSketchbookNumber(int32_t& value) const { return Get("SketchbookNumber", 0, value); }
  bool SetSketchbookNumber(int32_t value) { return Set("SketchbookNumber", value); }
  bool GetVolume(int32_t& value) const { return Get("Volume", 3, value); }
  bool SetVolume(int32_t value) { return Set("Volume", value); }
  bool GetAutoSave(int32_t& value) const { return Get("AutoSave", 1, value); }
  bool SetAutoSave(int32_t value) { return Set("AutoSave", value); }
  bool GetPrinting(int32_t& value) const { return Get("Printing", 1, value); }
  bool SetPrinting(int32_t value) { return Set("Printing", value); }
  bool GetPrintBackground(int32_t& value) const { return Get("PrintBackground", 0, value); }
  bool SetPrintBackground(int32_t value) { return Set("PrintBackground", value); }
  bool GetFancyPrinting(int32_t& value) const { return Get("Fancy Printing", 0, value); }
  bool SetFancyPrinting(int32_t value) { return Set("Fancy Printing", value); }
  bool GetDuplicate(int32_t& value) const { return Get("Duplicate", 1, value); }
  bool SetDuplicate(int32_t value) { return Set("Duplicate", value); }
  bool GetPromptForDelete(int32_t& value) const { return Get("Prompt For Delete", 1, value); }
  bool SetPromptForDelete(int32_t value) { return Set("Prompt For Delete", value); }

 private:
  bool Get(const char* name, int32_t defaultValue, int32_t& value) const;
  bool Set(const char* name, int32_t value);

  UUDirectory mSystemFolder;
  char mFileName[260] = {};
  std::unique_ptr<UURegistryKey> mKey;
  bool mValid = false;
};

// The stored value, or its default when it cannot be read.
inline int32_t VPLPreference(const VPLPreferences* preferences,
                             bool (VPLPreferences::*getter)(int32_t&) const, int32_t fallback) {
  int32_t value = fallback;
  if (preferences != nullptr) (preferences->*getter)(value);
  return value;
}
