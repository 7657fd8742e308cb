#include "app/objects/VPLPreferences.h"

#include "app/objects/VPLScript.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UURegistryKey.h"
#include "foundation/uu/UUString.h"
#include "platform/win32/user.h"

namespace {

constexpr MMResourceId kStringList = 8;
constexpr int kKeyPathSize = 260;

}  // namespace

VPLPreferences::VPLPreferences() = default;

VPLPreferences::~VPLPreferences() = default;

bool VPLPreferences::Open() {
  const VPLScript strings(kStringList, kVPLStringList);
  UUGetWindowsDirectory(mSystemFolder);
  UUCopyString(strings.GetTagString(kFileNameEntry), mFileName, sizeof mFileName);
  UUAppendString(strings.GetTagString(kFileNameSuffixEntry), mFileName, sizeof mFileName);
  mValid = mSystemFolder.IsSet() && mFileName[0] != '\0';
  if (!mValid) return true;
  mKey.reset();
  char path[kKeyPathSize] = {};
  LoadStringA(nullptr, kKeyText, path, kKeyPathSize);
  mKey = std::make_unique<UURegistryKey>(UURegistryLocation{path, HKEY_LOCAL_MACHINE});
  return true;
}

bool VPLPreferences::Get(const char* name, int32_t defaultValue, int32_t& value) const {
  value = defaultValue;
  return mKey != nullptr && mKey->IsOpen() && mKey->GetInteger(name, defaultValue, value);
}

bool VPLPreferences::Set(const char* name, int32_t value) {
  return mKey != nullptr && mKey->IsOpen() && mKey->SetInteger(name, value);
}
