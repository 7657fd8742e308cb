// The shell's special folders and the allocator of their item lists.

#include "platform/win32/shell.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/PathMapping.h"

#include <sys/stat.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

using namespace vpl::platform;

namespace {

class ShellAllocator final : public IMalloc {
 public:
  ULONG AddRef() override { return ++mUsers; }
  ULONG Release() override { return --mUsers; }
  void* Alloc(SIZE_T size) override { return std::malloc(size > 0 ? size : 1); }
  void Free(void* block) override { std::free(block); }

 private:
  // The process itself counts as a user; the allocator is never destroyed.
  std::atomic<ULONG> mUsers{1};
};

ShellAllocator& TheShellAllocator() {
  static ShellAllocator allocator;
  return allocator;
}

// An item list here is one item that holds the folder's terminated Windows
// path, then the empty item that ends every list. An item's leading 16-bit
// size counts itself.
constexpr size_t kItemSizeBytes = 2;

std::string DesktopHostDirectory() {
  const char* desktop = std::getenv("XDG_DESKTOP_DIR");
  if (desktop != nullptr && desktop[0] == '/') return desktop;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/Desktop";
  return {};
}

// The program's own folder of the user's data, made when missing, as the
// system keeps a local application-data folder for every user.
std::string LocalAppDataHostDirectory() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data != nullptr && data[0] == '/') {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    base = std::string(home) + "/.local/share";
  } else {
    return {};
  }
  std::error_code ignored;
  std::filesystem::create_directories(base + "/vpl3d", ignored);
  return base + "/vpl3d";
}

std::string FolderHostDirectory(int folder) {
  return folder == CSIDL_DESKTOPDIRECTORY ? DesktopHostDirectory() : LocalAppDataHostDirectory();
}

// The Windows path of an existing host directory, or empty when it is
// missing, does not fit MAX_PATH or cannot be spelt in the ANSI code page.
std::string ExistingFolderPath(const std::string& hostPath) {
  char resolved[PATH_MAX];
  struct stat info;
  if (hostPath.empty() || realpath(hostPath.c_str(), resolved) == nullptr ||
      stat(resolved, &info) != 0 || !S_ISDIR(info.st_mode)) {
    return {};
  }
  if (Cp1252ToUtf8(Utf8ToCp1252(resolved)) != resolved) return {};
  const std::string path = ToWindowsPath(resolved);
  return path.size() < MAX_PATH ? path : std::string();
}

void PutItemSize(unsigned char* at, size_t size) {
  at[0] = static_cast<unsigned char>(size & 0xFF);
  at[1] = static_cast<unsigned char>(size >> 8);
}

size_t ItemSizeAt(const unsigned char* at) { return static_cast<size_t>(at[0] | (at[1] << 8)); }

LPITEMIDLIST MakeItemList(const std::string& path) {
  const size_t itemSize = kItemSizeBytes + path.size() + 1;
  auto* list = static_cast<unsigned char*>(TheShellAllocator().Alloc(itemSize + kItemSizeBytes));
  if (list == nullptr) return nullptr;
  PutItemSize(list, itemSize);
  std::memcpy(list + kItemSizeBytes, path.c_str(), path.size() + 1);
  PutItemSize(list + itemSize, 0);
  return reinterpret_cast<LPITEMIDLIST>(list);
}

}  // namespace

HRESULT SHGetMalloc(LPMALLOC* allocator) {
  if (allocator == nullptr) return E_INVALIDARG;
  TheShellAllocator().AddRef();
  *allocator = &TheShellAllocator();
  return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int folder, LPITEMIDLIST* list) {
  if (list == nullptr) return E_INVALIDARG;
  *list = nullptr;
  if (folder != CSIDL_DESKTOPDIRECTORY && folder != CSIDL_LOCAL_APPDATA) return E_INVALIDARG;
  const std::string path = ExistingFolderPath(FolderHostDirectory(folder));
  if (path.empty()) return E_FAIL;
  *list = MakeItemList(path);
  return *list != nullptr ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path) {
  if (list == nullptr || path == nullptr) return FALSE;
  const auto* item = reinterpret_cast<const unsigned char*>(list);
  const size_t itemSize = ItemSizeAt(item);
  if (itemSize <= kItemSizeBytes) return FALSE;
  const auto* text = reinterpret_cast<const char*>(item + kItemSizeBytes);
  const size_t length = strnlen(text, itemSize - kItemSizeBytes);
  if (length >= itemSize - kItemSizeBytes || length >= MAX_PATH) return FALSE;
  std::memcpy(path, text, length + 1);
  return TRUE;
}
