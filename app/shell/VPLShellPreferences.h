#pragma once
// The two preferences the creation screen and its act decide by, with the
// defaults they take while the store does not answer.

#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLServices.h"

#include <cstdint>

// "AutoSave": work is saved without asking.
inline bool VPLAutoSaves() {
  int32_t value = 1;
  if (VPLGetServices().mPreferences != nullptr) VPLGetServices().mPreferences->GetAutoSave(value);
  return value != 0;
}

// "Printing": the print button shows.
inline bool VPLPrintingAllowed() {
  int32_t value = 1;
  if (VPLGetServices().mPreferences != nullptr) VPLGetServices().mPreferences->GetPrinting(value);
  return value == 1;
}
