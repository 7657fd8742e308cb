#include "mm/resources/MMGlobalPulseTaskManagers.h"

#include "foundation/al/ALAllocator.h"

AFPulseTaskManager* MMGlobalPulseTaskManagerA = nullptr;
AFPulseTaskManager* MMStreamingPulseTaskManager = nullptr;

namespace {

void StartManager(AFPulseTaskManager*& manager) {
  if (manager == nullptr) manager = new (ALGlobalAllocator) AFPulseTaskManager();
  manager->Start();
}

void StopManager(AFPulseTaskManager*& manager) {
  if (manager == nullptr) return;
  if (manager->IsRunning()) manager->Stop();
  delete manager;
  manager = nullptr;
}

}  // namespace

AFPulseTaskManager* MMGetStreamingPulseTaskManager() { return MMStreamingPulseTaskManager; }

bool MMStartGlobalPulseTaskManagers() {
  StartManager(MMGlobalPulseTaskManagerA);
  StartManager(MMStreamingPulseTaskManager);
  return true;
}

void MMStopGlobalPulseTaskManagers() {
  StopManager(MMStreamingPulseTaskManager);
  StopManager(MMGlobalPulseTaskManagerA);
}
