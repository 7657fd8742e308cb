// The program's string table: the texts the system loads by id, and the
// changes tests make to it.

#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace {

struct StringEntry {
  uint16_t id;
  const char* text;
};

// Data-file names are items of groups 475 to 483, at id = group x 1000 +
// item modulo 65536.
constexpr StringEntry kStringTable[] = {
    {100, "A program data error was detected. Please reinstall 'Vantry's Plorvia 3D'."},
    {101, "Vantry's Plorvia 3D"},
    {102, "Library"},
    {103, "Textures"},
    {104, "Exports"},
    {107,
     "Insufficient memory available to run 'Vantry's Plorvia 3D'.\n"
     "Try closing other applications or freeing up disk space."},
    {109,
     "'Vantry's Plorvia 3D' requires a screen resolution of at least 800x600 with "
     "thousands of colors."},
    {110, "Software\\Vantry Interactive\\Vantry's 3D\\1.0"},
    {111, "Not enough hard drive space to run 'Vantry's Plorvia 3D'"},
    {112, "Vantry's Plorvia 3D could not start its movie maker, so movies cannot be exported."},
    {425, "Application Error"},
    {426, "<unknown file>"},
    {428, "Unknown system error."},
    {16248, "Hd.mms"},
    {17248, "vpl3d.MMP"},
    {18248, "vpl3d.MMA"},
    {22248, "vpl3d.MMF"},
    {23248, "vpl3d.MMX"},
    {24248, "vpl3d.MMM"},
};

// A test's texts by id; an id without a text is taken out of the table.
std::mutex gChangesMutex;
std::map<uint16_t, std::optional<std::string>> gChanges;

std::optional<std::string> FindString(UINT id) {
  const auto key = static_cast<uint16_t>(id);
  {
    std::lock_guard<std::mutex> lock(gChangesMutex);
    const auto change = gChanges.find(key);
    if (change != gChanges.end()) return change->second;
  }
  for (const StringEntry& entry : kStringTable) {
    if (entry.id == key) return std::string(entry.text);
  }
  return std::nullopt;
}

}  // namespace

namespace vpl::platform {

void SetStringTableEntry(UINT id, const char* text) {
  std::lock_guard<std::mutex> lock(gChangesMutex);
  gChanges[static_cast<uint16_t>(id)] =
      text == nullptr ? std::nullopt : std::optional<std::string>(text);
}

void ResetStringTable() {
  std::lock_guard<std::mutex> lock(gChangesMutex);
  gChanges.clear();
}

}  // namespace vpl::platform

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::optional<std::string> text = FindString(id);
  if (!text) {
    buffer[0] = '\0';
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  const size_t length = std::min(text->size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text->data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}
