#pragma once
// Volumes: enumerating the drives and finding one by its label.

#include "foundation/uu/UUDirectory.h"

struct UUVolumeEntry {
  UUDirectory mRoot;
  char mLabel[kUUPathCapacity];
};

class UUVolumeEntryProcessor {
 public:
  virtual ~UUVolumeEntryProcessor() = default;
  // false stops the enumeration.
  virtual bool ProcessVolume(const UUVolumeEntry& entry) = 0;
};

// Stops at the first volume whose label equals the wanted one without
// regard to case, keeping its root.
class UUMatchVolumeName : public UUVolumeEntryProcessor {
 public:
  void SetName(const char* label);
  bool ProcessVolume(const UUVolumeEntry& entry) override;
  const char* FoundRoot() const { return mFoundRoot; }

 private:
  char mFoundRoot[kUUPathCapacity] = "";
  char mWantedLabel[kUUPathCapacity] = "";
};

// Fixed disks, CD-ROM drives and RAM disks first, then removable and remote
// drives, each group in drive-letter order; drives without a readable
// volume are skipped. False when the processor stopped.
bool UUForEachVolume(UUVolumeEntryProcessor& processor);
bool UUFindVolumeByName(const char* label, UUDirectory& root);
// The label of the volume holding an existing directory.
bool UUGetVolumeLabel(const UUDirectory& directory, char* label);
