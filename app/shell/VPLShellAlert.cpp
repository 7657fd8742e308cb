#include "app/shell/VPLShellAlert.h"

#include "app/objects/VPLScript.h"

namespace {

constexpr UINT kProgramNameString = 101;
constexpr MMResourceId kStringListScript = 8;
constexpr int kTextCapacity = 1024;
constexpr int kCaptionCapacity = 256;

void ShowText(const char* text, HWND owner) {
  char caption[kCaptionCapacity];
  if (LoadStringA(nullptr, kProgramNameString, caption, kCaptionCapacity) <= 0) caption[0] = '\0';
  MessageBoxA(owner, text, caption, MB_OK | MB_ICONASTERISK);
}

}  // namespace

void VPLShowStringAlert(UINT id, HWND owner) {
  char text[kTextCapacity];
  if (LoadStringA(nullptr, id, text, kTextCapacity) > 0) ShowText(text, owner);
}

void VPLShowStringListAlert(int16_t entry, HWND owner) {
  const VPLScript strings(kStringListScript, kVPLStringList);
  const char* text = strings.GetTagString(entry);
  if (text != nullptr && text[0] != '\0') ShowText(text, owner);
}
