#include "app/objects/VPLServices.h"

VPLServices& VPLGetServices() {
  static VPLServices services;
  return services;
}
