#include "app/objects/VPLAlert.h"

#include "foundation/af/AFApplication.h"
#include "foundation/uu/UUString.h"
#include "foundation/uu/UUStringResource.h"
#include "mm/stage/MMStageWindow.h"

namespace {

// The string-table entry holding the product's name.
constexpr uint32_t kProductNameString = 101;
constexpr int kCaptionCapacity = 256;

}  // namespace

UINT VPLAlertStyle(int32_t code) {
  switch (code) {
    case kVPLAlertOkCancel:
      return MB_ICONHAND | MB_OKCANCEL;
    case kVPLAlertRetryCancel:
      return MB_ICONHAND | MB_RETRYCANCEL;
    case kVPLAlertYesNo:
      return MB_ICONHAND | MB_YESNO;
    case kVPLAlertYesNoCancel:
      return MB_ICONHAND | MB_YESNOCANCEL;
    default:
      return MB_ICONASTERISK | MB_OK;
  }
}

int32_t VPLAlertAnswer(int result) {
  switch (result) {
    case IDNO:
      return kVPLAnswerNo;
    case IDCANCEL:
      return kVPLAnswerCancel;
    case IDRETRY:
      return kVPLAnswerRetry;
    default:
      return kVPLAnswerOk;
  }
}

int32_t VPLAlert::Show(AFApplication* application) const {
  const UINT style = VPLAlertStyle(mCode);
  if (application == nullptr || !application->HasMainWindow()) {
    char title[kUUStringCapacity] = {};
    if (!UULoadString(kProductNameString, title)) return kVPLAnswerOk;
    return VPLAlertAnswer(MessageBoxA(nullptr, mText, title, style));
  }
  auto* stageWindow = dynamic_cast<MMStageWindow*>(application->GetMainWindow());
  if (stageWindow == nullptr) return VPLAlertAnswer(MessageBoxA(nullptr, mText, nullptr, style));
  char caption[kCaptionCapacity] = {};
  GetWindowTextA(stageWindow->GetHandle(), caption, kCaptionCapacity - 1);
  return VPLAlertAnswer(MessageBoxA(stageWindow->GetHandle(), mText, caption, style));
}
