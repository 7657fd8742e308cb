#include "foundation/uu/UUVolume.h"

#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "platform/win32/kernel.h"

#include <cstring>

namespace {

constexpr DWORD kDriveStringsCapacity = 511;

bool IsLateDrive(UINT type) { return type == DRIVE_REMOVABLE || type == DRIVE_REMOTE; }

bool ReadLabel(const char* root, char* label) {
  return GetVolumeInformationA(root, label, kUUPathCapacity, nullptr, nullptr, nullptr, nullptr,
                               0) != FALSE;
}

// One pass over the drives of one group; false when the processor stopped.
bool OfferDrives(const char* drives, bool late, UUVolumeEntryProcessor& processor) {
  for (const char* root = drives; *root != '\0'; root += std::strlen(root) + 1) {
    UUVolumeEntry entry;
    if (IsLateDrive(GetDriveTypeA(root)) != late || !ReadLabel(root, entry.mLabel)) continue;
    entry.mRoot.Set(root);
    if (!processor.ProcessVolume(entry)) return false;
  }
  return true;
}

}  // namespace

void UUMatchVolumeName::SetName(const char* label) {
  UUCopyString(label, mWantedLabel, kUUPathCapacity);
  mFoundRoot[0] = '\0';
}

bool UUMatchVolumeName::ProcessVolume(const UUVolumeEntry& entry) {
  if (lstrcmpiA(entry.mLabel, mWantedLabel) != 0) return true;
  UUCopyString(entry.mRoot.Text(), mFoundRoot, kUUPathCapacity);
  return false;
}

bool UUForEachVolume(UUVolumeEntryProcessor& processor) {
  char drives[kDriveStringsCapacity + 1] = {};
  const DWORD length = GetLogicalDriveStringsA(kDriveStringsCapacity, drives);
  if (length == 0 || length > kDriveStringsCapacity) return false;
  return OfferDrives(drives, false, processor) && OfferDrives(drives, true, processor);
}

bool UUFindVolumeByName(const char* label, UUDirectory& root) {
  UUMatchVolumeName match;
  match.SetName(label);
  UUForEachVolume(match);
  return root.Set(match.FoundRoot()) >= 0;
}

bool UUGetVolumeLabel(const UUDirectory& directory, char* label) {
  label[0] = '\0';
  UUDirectory current;
  current.Assign(directory);
  while (!UUIsRootDirectory(current)) {
    char path[kUUPathCapacity];
    char name[kUUPathCapacity];
    if (!UUDirectoryExists(current)) return false;
    UUCopyString(current.Text(), path, kUUPathCapacity);
    if (!UUSplitLastComponent(path, name) || current.Set(path) < 0) return false;
  }
  return ReadLabel(current.Text(), label);
}
