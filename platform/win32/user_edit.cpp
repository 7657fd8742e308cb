// The "EDIT" class: a one-line field. Typing replaces the selection, the
// arrows, Home and End move the caret, Backspace and Delete remove; every
// change of the text is told to the parent with EN_CHANGE.

#include <algorithm>
#include <utility>

#include "platform/win32/SystemControls.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {
namespace {

constexpr size_t kDefaultLimit = 30000;
constexpr int kMargin = 2;

struct EditState {
  size_t anchor = 0;  // the selection runs from anchor to caret
  size_t caret = 0;
  size_t limit = kDefaultLimit;
  bool focused = false;
};

std::pair<size_t, size_t> Selection(const EditState& state) {
  return std::minmax(state.anchor, state.caret);
}

void Select(HWND window, EditState& state, size_t anchor, size_t caret) {
  const size_t length = static_cast<size_t>(GetWindowTextLengthA(window));
  state.anchor = std::min(anchor, length);
  state.caret = std::min(caret, length);
  InvalidateRect(window, nullptr, TRUE);
}

// Replaces the selection with the text, as far as the limit lets it in.
void ReplaceSelection(HWND window, EditState& state, std::string insert) {
  std::string text = ControlText(window);
  const auto [start, end] = Selection(state);
  const size_t room = state.limit - std::min(state.limit, text.size() - (end - start));
  insert.resize(std::min(insert.size(), room));
  if (insert.empty() && start == end) return;
  text.replace(start, end - start, insert);
  DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Select(window, state, start + insert.size(), start + insert.size());
  NotifyParentCommand(window, EN_CHANGE);
}

void OnKey(HWND window, EditState& state, WPARAM key) {
  const size_t length = static_cast<size_t>(GetWindowTextLengthA(window));
  const auto [start, end] = Selection(state);
  switch (key) {
    case VK_LEFT: {
      const size_t to = start == end && start > 0 ? start - 1 : start;
      Select(window, state, to, to);
      break;
    }
    case VK_RIGHT: {
      const size_t to = start == end ? end + 1 : end;
      Select(window, state, to, to);
      break;
    }
    case VK_HOME:
      Select(window, state, 0, 0);
      break;
    case VK_END:
      Select(window, state, length, length);
      break;
    case VK_DELETE:
      if (start == end) Select(window, state, start, start + 1);
      ReplaceSelection(window, state, "");
      break;
    default:
      break;
  }
}

void OnChar(HWND window, EditState& state, WPARAM character) {
  if (character == VK_BACK) {
    const auto [start, end] = Selection(state);
    if (start == end && start > 0) Select(window, state, start - 1, start);
    ReplaceSelection(window, state, "");
    return;
  }
  if (character < 0x20 || character > 0xFF) return;
  ReplaceSelection(window, state, std::string(1, static_cast<char>(character)));
}

int TextWidth(HDC dc, const std::string& text, size_t count) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(count), &extent);
  return extent.cx;
}

void Paint(HWND window, const EditState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillSolid(dc, client, GetSysColor(COLOR_WINDOW));
  FrameSolid(dc, client, GetSysColor(COLOR_WINDOWFRAME));
  const std::string text = ControlText(window);
  const int align = static_cast<int>(std::min<DWORD>(ControlStyle(window) & 3, 2));
  const RECT inner{client.left + kMargin, client.top, client.right - kMargin, client.bottom};
  const int width = TextWidth(dc, text, text.size());
  const int left = align == 0   ? inner.left
                   : align == 1 ? (inner.left + inner.right - width) / 2
                                : inner.right - width;
  const auto [start, end] = Selection(state);
  if (state.focused && start != end) {
    const RECT selected{left + TextWidth(dc, text, start), inner.top + 2,
                        left + TextWidth(dc, text, end), inner.bottom - 2};
    FillSolid(dc, selected, GetSysColor(COLOR_HIGHLIGHT));
  }
  DrawLine(dc, RECT{left, inner.top, left + width + 1, inner.bottom}, text, 0,
           GetSysColor(COLOR_WINDOWTEXT));
  if (state.focused) {
    const int x = left + TextWidth(dc, text, state.caret);
    FillSolid(dc, RECT{x, inner.top + 2, x + 1, inner.bottom - 2}, GetSysColor(COLOR_WINDOWTEXT));
  }
  EndPaint(window, &paint);
}

LRESULT SetText(HWND window, EditState& state, WPARAM wParam, LPARAM lParam) {
  const LRESULT stored = DefWindowProcA(window, WM_SETTEXT, wParam, lParam);
  Select(window, state, 0, 0);
  NotifyParentCommand(window, EN_CHANGE);
  return stored;
}

void SetFocused(HWND window, EditState& state, bool focused) {
  state.focused = focused;
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* state = ControlState<EditState>(window, message);
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      FreeControlState<EditState>(window);
      return 0;
    case WM_SETTEXT:
      return SetText(window, *state, wParam, lParam);
    case WM_CHAR:
      OnChar(window, *state, wParam);
      return 0;
    case WM_KEYDOWN:
      OnKey(window, *state, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      return 0;
    case WM_SETFOCUS:
      SetFocused(window, *state, true);
      return 0;
    case WM_KILLFOCUS:
      SetFocused(window, *state, false);
      return 0;
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    case EM_GETSEL: {
      const auto [start, end] = Selection(*state);
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min<size_t>(start, 0xFFFF)),
                                           static_cast<WORD>(std::min<size_t>(end, 0xFFFF))));
    }
    case EM_SETSEL: {
      // -1 as the start removes the selection; an end of -1 means the end.
      const auto start = static_cast<intptr_t>(wParam);
      const auto end = static_cast<intptr_t>(lParam);
      const size_t length = static_cast<size_t>(GetWindowTextLengthA(window));
      const size_t caret = end < 0 ? length : static_cast<size_t>(end);
      Select(window, *state, start < 0 ? caret : static_cast<size_t>(start), caret);
      return 0;
    }
    case EM_LIMITTEXT:
      state->limit = wParam == 0 ? kDefaultLimit : static_cast<size_t>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(state->limit);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace vpl::platform
