#pragma once
// The stage's private window messages (after the framework's 0x8000 to
// 0x8005, which every window sends to its child controls).

#include "platform/win32/user.h"

// Stage thread to the stage window, sent; lParam a UUCallback to run on the
// window's thread.
constexpr UINT MMWM_RUN_CALLBACK = WM_APP + 6;
// Window's thread to the control, sent until it answers 1: the close
// handshake.
constexpr UINT MMWM_CLOSE_STAGE = WM_APP + 7;
// The window to the control, posted; wParam a registered command id.
constexpr UINT MMWM_REGISTERED_EVENT = WM_APP + 8;
// Anyone to the control, posted: a message for the act.
constexpr UINT MMWM_POSTED_MESSAGE = WM_APP + 9;
