#include "app/objects/VPLStringList.h"

#include "app/objects/VPLAlert.h"
#include "foundation/af/AFApplication.h"

namespace {

constexpr int16_t kTagOffset = 0;
constexpr int16_t kTextOffset = 2;

}  // namespace

const char* VPLStringList::GetText(int16_t tag) const {
  const int32_t row = mScript.FindRow(0, kTagOffset, 0, tag);
  return row < 0 ? "" : mScript.GetString(row, kTextOffset);
}

void VPLAlertStringListText(int16_t tag) {
  const VPLStringList list;
  VPLAlert(list.GetText(tag), kVPLAlertInformation).Show(AFCurrentApplication);
}
