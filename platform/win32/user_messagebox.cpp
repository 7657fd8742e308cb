// Message boxes: the text on standard error, and a real SDL box when a
// display exists, otherwise an answer a test can script.

#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::mutex gBoxMutex;
int gScriptedAnswer = 0;
int gBoxCount = 0;
std::string gLastCaption;
std::string gLastText;

struct Button {
  int id;
  const char* label;
};

std::vector<Button> ButtonsOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_YESNOCANCEL:
      return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
      return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default:
      return {{IDOK, "OK"}};
  }
}

bool DisplayExists() {
  if (std::getenv("VPL3D_TEST") != nullptr) return false;
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver != nullptr &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    return false;
  }
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

Uint32 SdlFlagsOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION:
      return SDL_MESSAGEBOX_WARNING;
    default:
      return SDL_MESSAGEBOX_INFORMATION;
  }
}

// Answers 0 when SDL could not show the box.
int ShowSdlBox(const char* text, const char* caption, UINT type) {
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (const Button& button : ButtonsOf(type)) {
    buttons.push_back({0, button.id, button.label});
  }
  buttons.front().flags = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
  buttons.back().flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
  const SDL_MessageBoxData data{
      SdlFlagsOf(type), nullptr, caption, text, static_cast<int>(buttons.size()),
      buttons.data(),   nullptr};
  int answer = 0;
  return SDL_ShowMessageBox(&data, &answer) == 0 ? answer : 0;
}

}  // namespace

namespace vpl::platform {

void SetMessageBoxAnswer(int answer) {
  std::lock_guard lock(gBoxMutex);
  gScriptedAnswer = answer;
}

int MessageBoxCount() {
  std::lock_guard lock(gBoxMutex);
  return gBoxCount;
}

std::string LastMessageBoxCaption() {
  std::lock_guard lock(gBoxMutex);
  return gLastCaption;
}

std::string LastMessageBoxText() {
  std::lock_guard lock(gBoxMutex);
  return gLastText;
}

}  // namespace vpl::platform

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  text = text ? text : "";
  caption = caption ? caption : "Error";
  int scripted;
  {
    std::lock_guard lock(gBoxMutex);
    ++gBoxCount;
    gLastCaption = caption;
    gLastText = text;
    scripted = gScriptedAnswer;
  }
  // The text goes to standard error as well, so that what the person was
  // told stays on record wherever the program was started from.
  std::fprintf(stderr, "[%s] %s\n", caption, text);
  std::fflush(stderr);
  if (DisplayExists()) {
    if (int answer = ShowSdlBox(text, caption, type)) return answer;
  }
  // A box that cannot be shown answers 0, as on Windows: a caller never
  // takes it for a person's answer. Tests script the person's answer.
  return scripted;
}
