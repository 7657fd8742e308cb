#include "app/shell/VPLProgramValues.h"

#include "app/shell/VPLDisplayModeStrategy.h"
#include "foundation/uu/UURandom.h"

uint8_t VPLOpenGLFirst = 0;
uint8_t VPLQuickTimeStarted = 0;

UURandom& VPLProgramRandom() {
  static UURandom random(0);
  return random;
}

VPLDisplayModeStrategy& VPLCreationDisplayStrategy() {
  static VPLDisplayModeStrategy strategy;
  return strategy;
}
