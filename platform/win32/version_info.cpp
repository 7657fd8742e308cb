// The program's version resource, built at first use from its compiled-in
// strings, and the query that walks a version-information block.

#include "platform/win32/version.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/PathMapping.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

using namespace vpl::platform;

namespace {

// US English texts in the ANSI code page 1252.
constexpr uint16_t kLanguage = 0x0409;
constexpr uint16_t kCodePage = 1252;
// Version 1.0, the version the program's registry key carries.
constexpr DWORD kVersionMS = 0x00010000;
constexpr DWORD kVersionLS = 0;

struct VersionString {
  const char* name;
  const char* text;
};

constexpr VersionString kVersionStrings[] = {
    {"FileVersion", "1.0"},
    {"ProductName", "Vantry's Plorvia 3D"},
    {"ProductVersion", "1.0"},
    {"VersionDescription", "Vantry's Plorvia 3D"},
};

constexpr size_t kNodeHeaderBytes = 4;

size_t AlignTo4(size_t offset) { return (offset + 3) & ~size_t{3}; }

void PutWord(std::string& bytes, uint16_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8);
}

void PutDword(std::string& bytes, DWORD value) {
  PutWord(bytes, static_cast<uint16_t>(value & 0xFFFF));
  PutWord(bytes, static_cast<uint16_t>(value >> 16));
}

// Writes nodes depth first: Open writes a node's header, key and value;
// its children are opened after it and Close fixes its length.
class BlockWriter {
 public:
  size_t Open(std::string_view key, std::string_view value) {
    Align();
    const size_t node = mBytes.size();
    mBytes.insert(mBytes.end(), kNodeHeaderBytes, 0);
    mBytes.insert(mBytes.end(), key.begin(), key.end());
    mBytes.push_back(0);
    Align();
    mBytes.insert(mBytes.end(), value.begin(), value.end());
    SetWord(node + 2, value.size());
    return node;
  }
  void Close(size_t node) { SetWord(node, mBytes.size() - node); }
  std::vector<uint8_t> Take() { return std::move(mBytes); }

 private:
  void Align() { mBytes.resize(AlignTo4(mBytes.size()), 0); }
  // The program's block is a few hundred bytes: every length fits a word.
  void SetWord(size_t at, size_t value) {
    mBytes[at] = static_cast<uint8_t>(value & 0xFF);
    mBytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
  }

  std::vector<uint8_t> mBytes;
};

std::string FixedFileInfo() {
  const DWORD words[] = {VS_FFI_SIGNATURE,
                         0x00010000,  // structure version 1.0
                         kVersionMS,
                         kVersionLS,  // file version
                         kVersionMS,
                         kVersionLS,  // product version
                         0x3F,
                         0,  // flags mask, no flags
                         0x00040004,
                         1,  // Windows NT, 32-bit; an application
                         0,
                         0,
                         0};  // no subtype, no date
  std::string bytes;
  for (DWORD word : words) PutDword(bytes, word);
  return bytes;
}

std::string TranslationText() {
  char text[9];
  std::snprintf(text, sizeof text, "%04X%04X", kLanguage, kCodePage);
  return text;
}

std::vector<uint8_t> BuildProgramBlock() {
  BlockWriter writer;
  const size_t root = writer.Open("VS_VERSION_INFO", FixedFileInfo());
  const size_t stringInfo = writer.Open("StringFileInfo", {});
  const size_t table = writer.Open(TranslationText(), {});
  for (const VersionString& entry : kVersionStrings) {
    const std::string_view text(entry.text, std::strlen(entry.text) + 1);
    writer.Close(writer.Open(entry.name, text));
  }
  writer.Close(table);
  writer.Close(stringInfo);
  const size_t varInfo = writer.Open("VarFileInfo", {});
  std::string translation;
  PutWord(translation, kLanguage);
  PutWord(translation, kCodePage);
  writer.Close(writer.Open("Translation", translation));
  writer.Close(varInfo);
  writer.Close(root);
  return writer.Take();
}

const std::vector<uint8_t>& ProgramBlock() {
  static const std::vector<uint8_t> block = BuildProgramBlock();
  return block;
}

// Only the program's own executable carries a version resource; it is
// recognised by its file identity, whatever name reaches it.
bool HasVersionResource(LPCSTR path) {
  const std::string host = ToHostPath(path);
  struct stat file;
  struct stat program;
  if (host.empty() || stat(host.c_str(), &file) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  if (stat("/proc/self/exe", &program) != 0 || file.st_dev != program.st_dev ||
      file.st_ino != program.st_ino) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return false;
  }
  return true;
}

// One node of a block, every part of it checked to lie inside its parent.
struct Node {
  size_t end;
  std::string_view key;
  size_t value;
  size_t valueLength;
  size_t children;
};

uint16_t WordAt(const uint8_t* block, size_t at) {
  return static_cast<uint16_t>(block[at] | (block[at + 1] << 8));
}

bool ReadNode(const uint8_t* block, size_t at, size_t limit, Node& node) {
  if (limit < kNodeHeaderBytes || at > limit - kNodeHeaderBytes) return false;
  const size_t length = WordAt(block, at);
  node.valueLength = WordAt(block, at + 2);
  if (length <= kNodeHeaderBytes || length > limit - at) return false;
  node.end = at + length;
  const auto* key = reinterpret_cast<const char*>(block + at + kNodeHeaderBytes);
  const void* terminator = std::memchr(key, 0, length - kNodeHeaderBytes);
  if (terminator == nullptr) return false;
  node.key = std::string_view(key, static_cast<size_t>(static_cast<const char*>(terminator) - key));
  node.value = AlignTo4(at + kNodeHeaderBytes + node.key.size() + 1);
  if (node.valueLength > 0 && (node.value > node.end || node.valueLength > node.end - node.value)) {
    return false;
  }
  node.children = AlignTo4(node.value + node.valueLength);
  return true;
}

bool FindChild(const uint8_t* block, const Node& parent, std::string_view key, Node& child) {
  for (size_t at = parent.children; at < parent.end; at = AlignTo4(child.end)) {
    if (!ReadNode(block, at, parent.end, child)) return false;
    if (Cp1252EqualIgnoringCase(child.key, key)) return true;
  }
  return false;
}

// Follows the path's keys from the root; empty components are skipped.
bool FindNode(const uint8_t* block, std::string_view path, Node& node) {
  if (!ReadNode(block, 0, WordAt(block, 0), node)) return false;
  while (!path.empty()) {
    const size_t separator = path.find('\\');
    const std::string_view key = path.substr(0, separator);
    path = separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
    Node child;
    if (!key.empty()) {
      if (!FindChild(block, node, key, child)) return false;
      node = child;
    }
  }
  return true;
}

}  // namespace

DWORD GetFileVersionInfoSizeA(LPCSTR path, LPDWORD handle) {
  if (handle != nullptr) *handle = 0;
  return HasVersionResource(path) ? static_cast<DWORD>(ProgramBlock().size()) : 0;
}

BOOL GetFileVersionInfoA(LPCSTR path, DWORD, DWORD size, LPVOID data) {
  if (data == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!HasVersionResource(path)) return FALSE;
  const std::vector<uint8_t>& block = ProgramBlock();
  if (size < block.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(data, block.data(), block.size());
  return TRUE;
}

BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* value, PUINT length) {
  if (value != nullptr) *value = nullptr;
  if (length != nullptr) *length = 0;
  Node node;
  if (block == nullptr || subBlock == nullptr || value == nullptr || length == nullptr ||
      !FindNode(static_cast<const uint8_t*>(block), subBlock, node) || node.valueLength == 0) {
    return FALSE;
  }
  *value = const_cast<uint8_t*>(static_cast<const uint8_t*>(block) + node.value);
  *length = static_cast<UINT>(node.valueLength);
  return TRUE;
}
