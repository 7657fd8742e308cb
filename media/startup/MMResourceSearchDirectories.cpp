#include "media/startup/MMResourceSearchDirectories.h"

#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "foundation/uu/UUStringResource.h"
#include "foundation/uu/UUVolume.h"

#include <cstdint>

UUList<UUDirectory*> MMResourceSearchDirectories;
UUDirectory MMProgramDirectory;
UUDirectory MMDataVolumeDirectory;

namespace {

// The label of the volume the data files may also be read from.
constexpr uint32_t kDataVolumeLabelString = 475;

}  // namespace

bool MMInitSearchDirectories() {
  UUGetModuleDirectory(MMProgramDirectory);
  MMResourceSearchDirectories.PushBack(&MMProgramDirectory);
  if (MMAddDataVolumeDirectory()) MMResourceSearchDirectories.PushBack(&MMDataVolumeDirectory);
  return true;
}

void MMClearSearchDirectories() { MMResourceSearchDirectories.Clear(); }

UUDirectory* MMFindResourceDirectory(const char* fileName) {
  for (UUDirectory* directory : MMResourceSearchDirectories) {
    if (UUFileExists(*directory, fileName)) return directory;
  }
  return nullptr;
}

bool MMAddDataVolumeDirectory() {
  char label[kUUStringCapacity];
  return UULoadString(kDataVolumeLabelString, label) &&
         UUFindVolumeByName(label, MMDataVolumeDirectory);
}
