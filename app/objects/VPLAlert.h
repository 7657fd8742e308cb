#pragma once
// The application's message box for problems outside its 3D dialogs: a
// system message box over the main window, its button turned into a small
// answer.

#include "platform/win32/user.h"

#include <cstdint>

class AFApplication;

// The alert codes: information with OK, or an error with the buttons named.
enum VPLAlertCode : int32_t {
  kVPLAlertInformation = 0x80,
  kVPLAlertOkCancel = 0x81,
  kVPLAlertRetryCancel = 0x82,
  kVPLAlertYesNo = 0x83,
  kVPLAlertYesNoCancel = 0x84
};

// The answers: OK and Yes 1, No 2, Cancel 3, Retry 4.
enum VPLAlertResult : int32_t {
  kVPLAnswerOk = 1,
  kVPLAnswerNo = 2,
  kVPLAnswerCancel = 3,
  kVPLAnswerRetry = 4
};

class VPLAlert {
 public:
  // The text is not copied: it must live until Show returns.
  VPLAlert(const char* text, int32_t code) : mText(text), mCode(code) {}

  // Before the main window exists the box has no owner and the product's
  // name as its title; over the stage window it takes the window's caption
  // and is modal to it.
  int32_t Show(AFApplication* application) const;

 private:
  const char* mText;
  int32_t mCode;
};

UINT VPLAlertStyle(int32_t code);
int32_t VPLAlertAnswer(int result);
