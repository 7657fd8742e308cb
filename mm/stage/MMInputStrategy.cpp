#include "mm/stage/MMInputStrategy.h"

#include <algorithm>

#include "foundation/al/ALMilliseconds.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm/tasks/MMTaskTime.h"

namespace {

constexpr uint8_t kShift = 0x01;
constexpr uint8_t kControl = 0x02;
constexpr uint8_t kRemovesChar = 0x04;

struct KeyTranslation {
  int16_t mVirtualKey;
  uint8_t mFlags;
  int16_t mKeyCode;
};

constexpr KeyTranslation kKeyTable[] = {
    {VK_DELETE, 0, 1},
    {VK_BACK, kRemovesChar, 2},
    {VK_TAB, kRemovesChar, 3},
    {VK_TAB, kShift, 4},
    {VK_ESCAPE, kRemovesChar, 5},
    {VK_RETURN, kRemovesChar, 6},
    {VK_RETURN, kControl, 7},
    {VK_HELP, 0, 8},
    {VK_INSERT, 0, 9},
    {VK_LEFT, 0, 10},
    {VK_RIGHT, 0, 11},
    {VK_UP, 0, 12},
    {VK_DOWN, 0, 13},
    {VK_HOME, 0, 14},
    {VK_END, 0, 15},
    {VK_HOME, kControl, 16},
    {VK_END, kControl, 17},
    {VK_LEFT, kControl, 18},
    {VK_RIGHT, kControl, 19},
    {VK_PRIOR, 0, 20},
    {VK_NEXT, 0, 21},
    {VK_LEFT, kShift, 22},
    {VK_RIGHT, kShift, 23},
    {VK_UP, kShift, 24},
    {VK_DOWN, kShift, 25},
    {VK_HOME, kShift, 26},
    {VK_END, kShift, 27},
    {VK_HOME, kShift | kControl, 28},
    {VK_END, kShift | kControl, 29},
    {VK_LEFT, kShift | kControl, 30},
    {VK_RIGHT, kShift | kControl, 31},
    {VK_PRIOR, kShift, 32},
    {VK_NEXT, kShift, 33},
    {VK_F1, 0, 38},
    {VK_F1 + 1, 0, 39},
    {VK_F1 + 2, 0, 40},
    {VK_F1 + 3, 0, 41},
    {VK_F1 + 4, 0, 42},
    {VK_F1 + 5, 0, 43},
    {VK_F1 + 6, 0, 44},
    {VK_F1 + 7, 0, 45},
    {VK_F1 + 8, 0, 46},
    {VK_F1 + 9, 0, 47},
    {VK_F1 + 10, 0, 48},
    {VK_F12, 0, 49},
};
static_assert(sizeof(kKeyTable) / sizeof(kKeyTable[0]) == 45);

constexpr int32_t kTransientMouseBits = kMMMousePress | kMMMouseRelease | kMMMouseDoubleClick;

bool IsKeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

bool IsButtonDown(WPARAM wParam) { return (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0; }

}  // namespace

// ---- MMInputStrategy --------------------------------------------------------

int32_t MMInputStrategy::MessageClockTime() {
  return static_cast<int32_t>(ALSystemTimeToMilliseconds(static_cast<uint32_t>(GetMessageTime())));
}

int32_t MMInputStrategy::StageTimeOf(int32_t clockTime) const {
  return std::max(mStage->ToStageTime(clockTime), mStage->GetTaskManager()->GetNow());
}

int32_t MMInputStrategy::StageTimeOfMessage(uint32_t systemTime) const {
  return StageTimeOf(static_cast<int32_t>(ALSystemTimeToMilliseconds(systemTime)));
}

MMMouseEvent MMInputStrategy::MakeMouseEvent(UINT message, WPARAM wParam, LPARAM lParam) {
  return MMMouseEvent{MessageClockTime(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                      MouseFlags(message, wParam)};
}

int32_t MMInputStrategy::MouseFlags(UINT message, WPARAM wParam) {
  int32_t flags = 0;
  if (IsButtonDown(wParam)) flags |= kMMMouseButtonDown;
  if ((wParam & MK_RBUTTON) != 0) flags |= kMMMouseRightDown;
  if ((wParam & MK_SHIFT) != 0) flags |= kMMMouseShift;
  if ((wParam & MK_CONTROL) != 0) flags |= kMMMouseControl;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      flags |= kMMMousePress;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      flags |= kMMMouseRelease;
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      flags |= kMMMousePress | kMMMouseDoubleClick;
      break;
    default:
      break;
  }
  return flags;
}

MMKeyEvent MMInputStrategy::MakeCharEvent(UINT, WPARAM wParam, LPARAM) {
  return MMKeyEvent{MessageClockTime(), 0, static_cast<uint8_t>(wParam & 0xFF),
                    static_cast<uint8_t>((wParam >> 8) & 0xFF)};
}

bool MMInputStrategy::TranslateKey(HWND window, UINT, WPARAM virtualKey, LPARAM,
                                   MMKeyEvent& event) {
  const uint8_t modifiers = static_cast<uint8_t>((IsKeyDown(VK_SHIFT) ? kShift : 0) |
                                                 (IsKeyDown(VK_CONTROL) ? kControl : 0));
  for (const KeyTranslation& row : kKeyTable) {
    if (static_cast<WPARAM>(row.mVirtualKey) != virtualKey ||
        (row.mFlags & (kShift | kControl)) != modifiers) {
      continue;
    }
    event = MMKeyEvent{MessageClockTime(), row.mKeyCode, 0, 0};
    if ((row.mFlags & kRemovesChar) != 0) {
      MSG character;
      PeekMessageA(&character, window, WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    return true;
  }
  return false;
}

// ---- MMPushInputStrategy ----------------------------------------------------

bool MMPushInputStrategy::IsStageReady() const {
  return !GetStage()->IsPaused() && GetStage()->GetFirstFrameState() == 0;
}

void MMPushInputStrategy::RequestUpdateAt(int32_t clockTime, bool draws) {
  GetStage()->RequestUpdate(StageTimeOf(clockTime), draws);
}

bool MMPushInputStrategy::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        LRESULT&) {
  if (message == WM_KEYDOWN) {
    MMKeyEvent event;
    if (!TranslateKey(window, message, wParam, lParam, event)) return false;
    SendKeyEvent(event, UpdatesImmediately());
    return true;
  }
  if (message == WM_CHAR || message == WM_IME_CHAR) {
    SendKeyEvent(MakeCharEvent(message, wParam, lParam), UpdatesImmediately());
    return true;
  }
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
    SendMouseEvent(MakeMouseEvent(message, wParam, lParam), UpdatesImmediately());
    return true;
  }
  return false;
}

void MMPushInputStrategy::IdleTick() {
  MMStage* stage = GetStage();
  if (stage->GetPendingUpdateTime() != kMMNever || !IsStageReady()) return;
  const int32_t now = static_cast<int32_t>(ALMilliseconds());
  if (mHasLastMouseEvent) {
    mLastMouseEvent.mTime = now;
    mLastMouseEvent.mFlags &= ~kTransientMouseBits;
    stage->HandleMouse(mLastMouseEvent);
  } else {
    stage->HandleMouseLeave(now);
  }
  RequestUpdateAt(now, true);
}

void MMPushInputStrategy::MouseLeave(int32_t time) {
  if (IsStageReady()) SendMouseLeave(time, UpdatesImmediately());
}

void MMPushInputStrategy::HandleRegisteredEvent(int32_t id, int32_t time) {
  if (IsStageReady()) SendRegisteredEvent(MMRegisteredEvent{time, id}, UpdatesImmediately());
}

void MMPushInputStrategy::HandlePostedMessage(WPARAM wParam, LPARAM lParam, int32_t time) {
  if (!IsStageReady()) return;
  SendPostedMessage(MMPostedMessage{time, static_cast<intptr_t>(wParam), lParam},
                    UpdatesImmediately());
}

void MMPushInputStrategy::SendMouseEvent(const MMMouseEvent& event, bool draws) {
  mHasLastMouseEvent = true;
  mLastMouseEvent = event;
  GetStage()->HandleMouse(event);
  RequestUpdateAt(event.mTime, draws);
}

void MMPushInputStrategy::SendMouseLeave(int32_t time, bool draws) {
  mHasLastMouseEvent = false;
  GetStage()->HandleMouseLeave(time);
  RequestUpdateAt(time, draws);
}

void MMPushInputStrategy::SendKeyEvent(const MMKeyEvent& event, bool draws) {
  GetStage()->HandleKey(event);
  RequestUpdateAt(event.mTime, draws);
}

void MMPushInputStrategy::SendRegisteredEvent(const MMRegisteredEvent& event, bool draws) {
  GetStage()->HandleRegisteredEvent(event);
  RequestUpdateAt(event.mTime, draws);
}

void MMPushInputStrategy::SendPostedMessage(const MMPostedMessage& message, bool draws) {
  GetStage()->HandlePostedMessage(message);
  RequestUpdateAt(message.mTime, draws);
}
