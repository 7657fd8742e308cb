// The registry functions over the store: open keys are handles naming a
// root and a path, so a key deleted under an open handle is noticed.

#include "platform/win32/RegistryStore.h"
#include "platform/win32/UserConfig.h"
#include "platform/win32/registry.h"
#include "platform/win32/testhooks.h"

#include <cstring>
#include <mutex>

using namespace vpl::platform;

namespace {

struct OpenKey {
  int mRoot = 0;
  std::vector<std::string> mPath;
};

// The levels of a sub-key path; false for a path that starts with a
// backslash, which names no sub-key.
bool LevelsOf(LPCSTR subKey, std::vector<std::string>& levels) {
  levels.clear();
  if (subKey != nullptr && subKey[0] == '\\') return false;
  std::string level;
  for (const char* p = subKey != nullptr ? subKey : "";; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (!level.empty()) levels.push_back(std::move(level));
      level.clear();
      if (*p == '\0') return true;
    } else {
      level += *p;
    }
  }
}

// Texts are kept with their terminator.
bool IsText(DWORD type) { return type == REG_SZ; }

class Registry {
 public:
  std::mutex mMutex;

  RegistryFile& File() {
    if (!mFile) mFile = std::make_unique<RegistryFile>(UserConfigDirectory());
    return *mFile;
  }

  // The root and path of a key handle; false for an unknown handle.
  bool Resolve(HKEY key, OpenKey& out) const {
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) {
      out = OpenKey{key == HKEY_CURRENT_USER ? 0 : 1, {}};
      return true;
    }
    const auto found = mHandles.find(reinterpret_cast<uintptr_t>(key));
    if (found == mHandles.end()) return false;
    out = found->second;
    return true;
  }

  // The key at the path; null when a level is missing.
  RegistryKey* Find(const OpenKey& open) {
    RegistryKey* key = &File().Current().mRoots[open.mRoot];
    for (const std::string& level : open.mPath) {
      auto found = key->mSubkeys.find(level);
      if (found == key->mSubkeys.end()) return nullptr;
      key = &found->second;
    }
    return key;
  }

  HKEY AddHandle(OpenKey open) {
    const uintptr_t handle = mNextHandle++;
    mHandles[handle] = std::move(open);
    return reinterpret_cast<HKEY>(handle);
  }

  bool CloseHandle(HKEY key) { return mHandles.erase(reinterpret_cast<uintptr_t>(key)) != 0; }

  void Restart() {
    mFile.reset();
    mHandles.clear();
  }

 private:
  std::unique_ptr<RegistryFile> mFile;
  std::map<uintptr_t, OpenKey> mHandles;
  uintptr_t mNextHandle = 0x1000;
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

// Runs an operation on the existing key behind a handle under the lock.
template <typename Operation>
LONG WithKey(HKEY key, Operation operation) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mMutex);
  OpenKey open;
  if (!registry.Resolve(key, open)) return ERROR_INVALID_HANDLE;
  RegistryKey* found = registry.Find(open);
  if (found == nullptr) return ERROR_KEY_DELETED;
  return operation(registry, open, *found);
}

// Runs a change on the existing key behind a handle, holding the lock for
// changes across processes, on the tree the store holds; the operation
// sets changed when it changed the tree, which is then written.
template <typename Operation>
LONG ChangeKey(HKEY key, Operation operation) {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mMutex);
  RegistryFile::ChangeLock change(registry.File());
  OpenKey open;
  if (!registry.Resolve(key, open)) return ERROR_INVALID_HANDLE;
  RegistryKey* found = registry.Find(open);
  if (found == nullptr) return ERROR_KEY_DELETED;
  bool changed = false;
  const LONG result = operation(registry, open, *found, changed);
  if (result != ERROR_SUCCESS || !changed) return result;
  return registry.File().Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::string NameOf(LPCSTR name) { return name != nullptr ? name : ""; }

}  // namespace

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, void*, PHKEY result,
                     LPDWORD disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  std::vector<std::string> levels;
  if (!LevelsOf(subKey, levels)) return ERROR_BAD_PATHNAME;
  OpenKey made;
  bool created = false;
  const LONG status =
      ChangeKey(key, [&](Registry&, OpenKey open, RegistryKey& parent, bool& changed) -> LONG {
        if (open.mPath.size() + levels.size() > kMaxRegistryKeyDepth) return ERROR_BAD_PATHNAME;
        RegistryKey* current = &parent;
        for (std::string& level : levels) {
          created = created || current->mSubkeys.count(level) == 0;
          current = &current->mSubkeys[level];
          open.mPath.push_back(std::move(level));
        }
        changed = created;
        made = std::move(open);
        return ERROR_SUCCESS;
      });
  if (status != ERROR_SUCCESS) return status;
  if (disposition != nullptr)
    *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mMutex);
  *result = registry.AddHandle(std::move(made));
  return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  std::vector<std::string> levels;
  if (!LevelsOf(subKey, levels)) return ERROR_BAD_PATHNAME;
  return WithKey(key, [&](Registry& registry, OpenKey open, RegistryKey&) -> LONG {
    for (std::string& level : levels) open.mPath.push_back(std::move(level));
    if (registry.Find(open) == nullptr) return ERROR_FILE_NOT_FOUND;
    *result = registry.AddHandle(std::move(open));
    return ERROR_SUCCESS;
  });
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, BYTE* data, LPDWORD size) {
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  return WithKey(key, [&](Registry&, const OpenKey&, RegistryKey& found) -> LONG {
    const auto value = found.mValues.find(NameOf(name));
    if (value == found.mValues.end()) return ERROR_FILE_NOT_FOUND;
    const std::vector<uint8_t>& stored = value->second.mData;
    const auto bytes = static_cast<DWORD>(stored.size());
    // The room is read before the type is written: a caller may pass one
    // variable for both.
    const DWORD room = size != nullptr ? *size : 0;
    if (type != nullptr) *type = value->second.mType;
    if (size == nullptr) return ERROR_SUCCESS;
    *size = bytes;
    if (data == nullptr) return ERROR_SUCCESS;
    if (room < bytes) return ERROR_MORE_DATA;
    std::memcpy(data, stored.data(), bytes);
    // A text kept without its terminator gets one where there is room; the
    // size answered stays the text's.
    if (IsText(value->second.mType) && room > bytes && (bytes == 0 || stored.back() != 0))
      data[bytes] = 0;
    return ERROR_SUCCESS;
  });
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  if (data == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  return ChangeKey(key, [&](Registry&, const OpenKey&, RegistryKey& found, bool& changed) -> LONG {
    RegistryValue& value = found.mValues[NameOf(name)];
    value.mType = type;
    value.mData.assign(data, data + size);
    // A text given without its terminator (its length, not its size) is
    // kept with one, so it reads back as the caller's whole text. Windows
    // adds it only when the byte after the text is one; the byte is not
    // read here, as the caller never gave it.
    if (IsText(type) && size > 0 && data[size - 1] != 0) value.mData.push_back(0);
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValueA(HKEY key, LPCSTR name) {
  return ChangeKey(key, [&](Registry&, const OpenKey&, RegistryKey& found, bool& changed) -> LONG {
    if (found.mValues.erase(NameOf(name)) == 0) return ERROR_FILE_NOT_FOUND;
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
  std::vector<std::string> levels;
  if (!LevelsOf(subKey, levels)) return ERROR_BAD_PATHNAME;
  return ChangeKey(key, [&](Registry& registry, OpenKey open, RegistryKey&, bool& changed) -> LONG {
    // An empty sub-key names the handle's own key; a root is never deleted.
    open.mPath.insert(open.mPath.end(), levels.begin(), levels.end());
    if (open.mPath.empty()) return ERROR_ACCESS_DENIED;
    const std::string last = std::move(open.mPath.back());
    open.mPath.pop_back();
    RegistryKey* parent = registry.Find(open);
    if (parent == nullptr) return ERROR_FILE_NOT_FOUND;
    const auto target = parent->mSubkeys.find(last);
    if (target == parent->mSubkeys.end()) return ERROR_FILE_NOT_FOUND;
    if (!target->second.mSubkeys.empty()) return ERROR_ACCESS_DENIED;
    parent->mSubkeys.erase(target);
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegCloseKey(HKEY key) {
  if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE) return ERROR_SUCCESS;
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mMutex);
  return registry.CloseHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

namespace vpl::platform {

void RestartRegistryStore() {
  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mMutex);
  registry.Restart();
}

}  // namespace vpl::platform
