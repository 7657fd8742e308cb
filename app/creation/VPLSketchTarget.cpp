#include "app/creation/VPLSketchTarget.h"

VPLCreationServices& VPLGetCreationServices() {
  static VPLCreationServices services;
  return services;
}
