#pragma once
// The built script file opened with the program's reader, and the tagged
// reads every check makes on its tables.

#include "mm/resources/MMScript.h"
#include "mm/resources/MMScriptCollection.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace content_check {

class ScriptView {
 public:
  explicit ScriptView(const std::filesystem::path& folder);
  ~ScriptView();
  ScriptView(const ScriptView&) = delete;
  ScriptView& operator=(const ScriptView&) = delete;

  bool IsOpen() const { return mLoader != nullptr; }
  int32_t GetEntryCount() const;
  MMScript Get(int32_t entry) const;
  // The rows the file's header gives the entry; the reader loads none when
  // they do not fit its subfile.
  int32_t GetDeclaredRowCount(int32_t entry) const;

 private:
  MMScriptLoader* mLoader = nullptr;
};

// The entry a script id names, or -1.
int32_t EntryOf(MMResourceId id);
int32_t CountTag(const MMScript& script, int16_t tag);
// The row of the n-th row of that tag, or -1.
int32_t FindTag(const MMScript& script, int16_t tag, int32_t n = 0);
// The value (at byte 2) of the n-th row of that tag; 0 when there is none.
int32_t TagValue(const MMScript& script, int16_t tag, int32_t n = 0);
// The entry the n-th row of that tag references; -1 when none.
int32_t TagEntry(const MMScript& script, int16_t tag, int32_t n = 0);
// "script 90" for findings.
std::string ScriptName(int32_t entry);

}  // namespace content_check
