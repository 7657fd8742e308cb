#include "mm/stage/MMSoundManager.h"

namespace {

MMSoundManagerMaker gMaker = nullptr;

}  // namespace

void MMSetSoundManagerMaker(MMSoundManagerMaker maker) { gMaker = maker; }

MMStageSoundManager* MMMakeSoundManager(HWND window) {
  return gMaker != nullptr ? gMaker(window) : nullptr;
}
