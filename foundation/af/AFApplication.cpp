#include "foundation/af/AFApplication.h"

#include "foundation/af/AFError.h"
#include "foundation/af/AFPulseTask.h"
#include "foundation/af/AFWindow.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "platform/win32/user.h"

#include <cstring>

AFApplication* AFCurrentApplication = nullptr;

namespace {

constexpr size_t kPathSize = 260;
constexpr size_t kCaptionSize = 256;
constexpr size_t kReportSize = 2052;
constexpr UINT kErrorCaptionString = 425;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

AFApplication::AFApplication(ALAllocator* allocator) : mAllocator(allocator) {
  AFCurrentApplication = this;
  ALGlobalAllocator = allocator;
  mPulseTaskManager = new (allocator) AFPulseTaskManager;
  SetErrorMode(SEM_FAILCRITICALERRORS);
  mThreadId = GetCurrentThreadId();
}

AFApplication::~AFApplication() {
  delete mPulseTaskManager;
  ALGlobalAllocator = nullptr;
  AFCurrentApplication = nullptr;
}

bool AFApplication::Run() {
  do {
    mPulseTaskManager->Start();
    if (Initialize()) {
      const bool opened = OpenCommandLineDocuments();
      if (opened || OpenDefault()) RunMessageLoop();
    }
    CloseAllWindows();
    Terminate();
    mPulseTaskManager->Stop();
  } while (AFErrorPending() && ReportError());
  return !AFErrorPending();
}

bool AFApplication::ReportError() {
  char caption[kCaptionSize];
  if (LoadStringA(nullptr, kErrorCaptionString, caption, kCaptionSize) <= 0) {
    UUCopyString("Application Error", caption, kCaptionSize);
  }
  char text[kReportSize];
  UUCopyString(AFFormatErrorMessage(AFGetErrorCode(), AFGetErrorDirectory(), AFGetErrorFileName()),
               text, kReportSize);
  if (const DWORD systemError = AFGetSystemErrorCode()) {
    UUAppendString("\n\n", text, kReportSize);
    UUAppendString(AFFormatSystemError(systemError), text, kReportSize);
  }
  MessageBoxA(nullptr, text, caption, MB_OK);
  return false;
}

void AFApplication::Quit() { PostThreadMessageA(mThreadId, WM_QUIT, 0, 0); }

void AFApplication::QuitAfterFailure() {
  mFailed = true;
  Quit();
}

bool AFApplication::Initialize() { return true; }

void AFApplication::Terminate() {}

bool AFApplication::OpenDefault() { return true; }

bool AFApplication::OpenDocument(const UUDirectory&, const char*) { return true; }

namespace {

BOOL FindWindowObject(HWND window, LPARAM found) {
  AFWindow* object = AFWindowGetObject(window);
  if (object == nullptr) return TRUE;
  *reinterpret_cast<AFWindow**>(found) = object;
  return FALSE;
}

BOOL CloseWindowObject(HWND window, LPARAM) {
  if (AFWindow* object = AFWindowGetObject(window)) {
    object->Detach();
    delete object;
  }
  return TRUE;
}

}  // namespace

void AFApplication::CloseAllWindows() { EnumThreadWindows(mThreadId, CloseWindowObject, 0); }

AFWindow* AFApplication::FindFirstWindowObject() const {
  AFWindow* found = nullptr;
  EnumThreadWindows(mThreadId, FindWindowObject, reinterpret_cast<LPARAM>(&found));
  return found;
}

AFWindow* AFApplication::NextWindowObject(const AFWindow* window) const {
  for (HWND next = GetWindow(window->GetHandle(), GW_HWNDNEXT); next != nullptr;
       next = GetWindow(next, GW_HWNDNEXT)) {
    if (AFWindow* object = AFWindowGetObject(next)) return object;
  }
  return nullptr;
}

void AFApplication::RunMessageLoop() {
  for (;;) {
    if (AFErrorPending()) PostQuitMessage(0);
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (message.message == WM_QUIT) return;
    if (mActiveWindow != nullptr && mActiveWindow->GetAccelerators() != nullptr &&
        TranslateAcceleratorA(mActiveWindow->GetHandle(), mActiveWindow->GetAccelerators(),
                              &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool AFApplication::OpenCommandLineDocuments() {
  UUDirectory current;
  UUGetCurrentDirectory(current);
  char item[kPathSize];
  const char* next = AFNextCommandLineItem(GetCommandLineA(), item, kPathSize);
  bool opened = false;
  while (next != nullptr && (next = AFNextCommandLineItem(next, item, kPathSize)) != nullptr) {
    UUDirectory directory;
    char name[kPathSize];
    if (UUResolvePath(item, current, directory, name) && OpenDocument(directory, name)) {
      opened = true;
    }
  }
  return opened;
}

const char* AFNextCommandLineItem(const char* text, char* buffer, size_t capacity) {
  while (IsBlank(*text)) ++text;
  if (*text == '\0') return nullptr;
  const bool quoted = *text == '"';
  if (quoted) ++text;
  size_t length = 0;
  while (*text != '\0' && length + 1 < capacity && (quoted ? *text != '"' : !IsBlank(*text))) {
    buffer[length++] = *text++;
  }
  buffer[length] = '\0';
  if (quoted && *text == '"') ++text;
  return text;
}
