#pragma once
// Windows, messages and message boxes: the user services the system calls.

#include "platform/win32/kernel.h"

using HWND = struct HWND__*;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

// ---- Message queues ------------------------------------------------------
// Every thread has its own queue, made at its first message call. Posted
// messages come out in order; WM_QUIT comes out once the queue holds no
// other message.

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits for a message; answers 0 for WM_QUIT, -1 on failure, else nonzero.
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
// Waits until a message arrives that the thread has not yet seen.
BOOL WaitMessage();

// ---- Message boxes -------------------------------------------------------
// A real box when a display exists; otherwise the caption and text go to
// standard error and the box answers at once (see testhooks.h).

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---- System error texts ----------------------------------------------------

constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

// Writes the system's text for an error code; answers its length, or 0 when
// the system has no text for the code.
DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                     LPSTR buffer, DWORD size, void* arguments);
