// The registry functions over the store: open keys are handles naming a
// root and a path, so a key deleted under an open handle is noticed.

#include "platform/win32/RegistryStore.h"
#include "platform/win32/UserConfig.h"
#include "platform/win32/registry.h"
#include "platform/win32/testhooks.h"

#include <cstring>
#include <mutex>
#include <optional>

using namespace vpl::platform;

namespace {

struct OpenKey {
  int mRoot = 0;
  std::vector<std::string> mPath;
};

std::vector<std::string> LevelsOf(LPCSTR subKey) {
  std::vector<std::string> levels;
  std::string level;
  for (const char* p = subKey != nullptr ? subKey : "";; ++p) {
    if (*p == '\\' || *p == '\0') {
      if (!level.empty()) levels.push_back(std::move(level));
      level.clear();
      if (*p == '\0') return levels;
    } else {
      level += *p;
    }
  }
}

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
  const LONG result = operation(open, *found, changed);
  if (result != ERROR_SUCCESS || !changed) return result;
  return registry.File().Save() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

std::string NameOf(LPCSTR name) { return name != nullptr ? name : ""; }

}  // namespace

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, void*, PHKEY result,
                     LPDWORD disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  std::vector<std::string> levels = LevelsOf(subKey);
  OpenKey made;
  bool created = false;
  const LONG status = ChangeKey(key, [&](OpenKey open, RegistryKey& parent, bool& changed) -> LONG {
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
  return WithKey(key, [&](Registry& registry, OpenKey open, RegistryKey&) -> LONG {
    for (std::string& level : LevelsOf(subKey)) open.mPath.push_back(std::move(level));
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
    const auto bytes = static_cast<DWORD>(value->second.mData.size());
    if (type != nullptr) *type = value->second.mType;
    if (size == nullptr) return ERROR_SUCCESS;
    const DWORD room = *size;
    *size = bytes;
    if (data == nullptr) return ERROR_SUCCESS;
    if (room < bytes) return ERROR_MORE_DATA;
    std::memcpy(data, value->second.mData.data(), bytes);
    return ERROR_SUCCESS;
  });
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  if (data == nullptr && size > 0) return ERROR_INVALID_PARAMETER;
  return ChangeKey(key, [&](const OpenKey&, RegistryKey& found, bool& changed) -> LONG {
    RegistryValue& value = found.mValues[NameOf(name)];
    value.mType = type;
    value.mData.assign(data, data + size);
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValueA(HKEY key, LPCSTR name) {
  return ChangeKey(key, [&](const OpenKey&, RegistryKey& found, bool& changed) -> LONG {
    if (found.mValues.erase(NameOf(name)) == 0) return ERROR_FILE_NOT_FOUND;
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) {
  std::vector<std::string> levels = LevelsOf(subKey);
  if (levels.empty()) return ERROR_INVALID_PARAMETER;
  const std::string last = levels.back();
  levels.pop_back();
  return ChangeKey(key, [&](const OpenKey&, RegistryKey& found, bool& changed) -> LONG {
    RegistryKey* parent = &found;
    for (const std::string& level : levels) {
      const auto next = parent->mSubkeys.find(level);
      if (next == parent->mSubkeys.end()) return ERROR_FILE_NOT_FOUND;
      parent = &next->second;
    }
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
