// The "SCROLLBAR" class: two arrow buttons, a track and a thumb. Clicks
// become scroll requests to the parent (WM_HSCROLL or WM_VSCROLL with the
// bar in lParam); the position changes only when the owner sets it.

#include <algorithm>
#include <cstdint>

#include "platform/win32/SystemControls.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {
namespace {

struct ScrollBarState {
  int minimum = 0;
  int maximum = 100;
  UINT page = 0;
  int position = 0;
  bool dragging = false;
  int dragOffset = 0;  // from the thumb's start to the pointer
  int trackPosition = 0;
};

bool IsVertical(HWND window) { return (ControlStyle(window) & SBS_VERT) != 0; }

// Lengths along the bar: its length and the arrow buttons' size.
struct BarGeometry {
  int length;
  int arrow;
  int thumbStart;
  int thumbLength;
};

// Ranges may span every int, so spans and products are counted in 64 bits.
int64_t PositionCount(const ScrollBarState& state) {
  return int64_t{state.maximum} - state.minimum + 1;
}

int LargestPosition(const ScrollBarState& state) {
  const int64_t room = PositionCount(state) - std::max<UINT>(state.page, 1);
  return static_cast<int>(state.minimum + std::max<int64_t>(0, room));
}

BarGeometry Geometry(HWND window, const ScrollBarState& state) {
  RECT client{};
  GetClientRect(window, &client);
  const bool vertical = IsVertical(window);
  const int length = vertical ? client.bottom : client.right;
  const int thickness = vertical ? client.right : client.bottom;
  const int arrow = std::min(thickness, length / 2);
  const int track = std::max(0, length - 2 * arrow);
  const int64_t span = std::max<int64_t>(1, PositionCount(state));
  const int thumbLength = state.page == 0
                              ? std::min(track, arrow)
                              : static_cast<int>(std::clamp<int64_t>(
                                    int64_t{track} * state.page / span, std::min(track, 8), track));
  const int room = track - thumbLength;
  const int64_t steps = int64_t{LargestPosition(state)} - state.minimum;
  const int offset =
      steps <= 0
          ? 0
          : static_cast<int>(int64_t{room} * (int64_t{state.position} - state.minimum) / steps);
  return BarGeometry{length, arrow, arrow + offset, thumbLength};
}

bool HasRange(const ScrollBarState& state) {
  return state.maximum > state.minimum &&
         (state.page == 0 || int64_t{state.page} <= int64_t{state.maximum} - state.minimum);
}

void Request(HWND window, WORD request, int position) {
  SendMessageA(GetParent(window), IsVertical(window) ? WM_VSCROLL : WM_HSCROLL,
               MAKEWPARAM(request, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(window));
}

int Along(HWND window, LPARAM point) {
  return IsVertical(window) ? GET_Y_LPARAM(point) : GET_X_LPARAM(point);
}

// The position whose thumb starts at the given place along the track.
int PositionAt(const BarGeometry& geometry, const ScrollBarState& state, int thumbStart) {
  const int room = geometry.length - 2 * geometry.arrow - geometry.thumbLength;
  const int64_t steps = int64_t{LargestPosition(state)} - state.minimum;
  if (room <= 0 || steps <= 0) return state.minimum;
  const int64_t offset = std::clamp(thumbStart - geometry.arrow, 0, room);
  return static_cast<int>(state.minimum + (offset * steps + room / 2) / room);
}

void OnButtonDown(HWND window, ScrollBarState& state, LPARAM point) {
  if (!HasRange(state)) return;
  const BarGeometry geometry = Geometry(window, state);
  const int at = Along(window, point);
  SetCapture(window);
  if (at < geometry.arrow) {
    Request(window, SB_LINEUP, 0);
  } else if (at >= geometry.length - geometry.arrow) {
    Request(window, SB_LINEDOWN, 0);
  } else if (at < geometry.thumbStart) {
    Request(window, SB_PAGEUP, 0);
  } else if (at >= geometry.thumbStart + geometry.thumbLength) {
    Request(window, SB_PAGEDOWN, 0);
  } else {
    state.dragging = true;
    state.dragOffset = at - geometry.thumbStart;
    state.trackPosition = state.position;
  }
}

void OnMouseMove(HWND window, ScrollBarState& state, LPARAM point) {
  if (!state.dragging) return;
  const int position =
      PositionAt(Geometry(window, state), state, Along(window, point) - state.dragOffset);
  if (position == state.trackPosition) return;
  state.trackPosition = position;
  Request(window, SB_THUMBTRACK, position);
}

void OnButtonUp(HWND window, ScrollBarState& state) {
  if (GetCapture() != window) return;
  ReleaseCapture();
  if (state.dragging) {
    state.dragging = false;
    Request(window, SB_THUMBPOSITION, state.trackPosition);
  }
  Request(window, SB_ENDSCROLL, 0);
}

int SetInfo(HWND window, ScrollBarState& state, const SCROLLINFO& info, bool redraw) {
  if (info.fMask & SIF_RANGE) {
    state.minimum = info.nMin;
    state.maximum = std::max(info.nMin, info.nMax);
  }
  if (info.fMask & SIF_PAGE) state.page = info.nPage;
  if (info.fMask & SIF_POS) state.position = info.nPos;
  state.position = std::clamp(state.position, state.minimum, LargestPosition(state));
  if (redraw) InvalidateRect(window, nullptr, TRUE);
  return state.position;
}

void GetInfo(const ScrollBarState& state, SCROLLINFO& info) {
  if (info.fMask & SIF_RANGE) {
    info.nMin = state.minimum;
    info.nMax = state.maximum;
  }
  if (info.fMask & SIF_PAGE) info.nPage = state.page;
  if (info.fMask & SIF_POS) info.nPos = state.position;
  info.nTrackPos = state.dragging ? state.trackPosition : state.position;
}

RECT Span(HWND window, int start, int end) {
  RECT client{};
  GetClientRect(window, &client);
  return IsVertical(window) ? RECT{0, start, client.right, end}
                            : RECT{start, 0, end, client.bottom};
}

void Paint(HWND window, const ScrollBarState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const BarGeometry geometry = Geometry(window, state);
  FillSolid(dc, Span(window, 0, geometry.length), GetSysColor(COLOR_SCROLLBAR));
  for (const RECT& button : {Span(window, 0, geometry.arrow),
                             Span(window, geometry.length - geometry.arrow, geometry.length)}) {
    FillSolid(dc, button, GetSysColor(COLOR_BTNFACE));
    FrameSolid(dc, button, GetSysColor(COLOR_BTNSHADOW));
  }
  if (HasRange(state) && IsWindowEnabled(window)) {
    const RECT thumb =
        Span(window, geometry.thumbStart, geometry.thumbStart + geometry.thumbLength);
    FillSolid(dc, thumb, GetSysColor(COLOR_BTNFACE));
    FrameSolid(dc, thumb, GetSysColor(COLOR_WINDOWFRAME));
  }
  EndPaint(window, &paint);
}

}  // namespace

LRESULT ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScrollBarState* state = ControlState<ScrollBarState>(window, message);
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      FreeControlState<ScrollBarState>(window);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(window, *state, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(window, *state, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(window, *state);
      return 0;
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    case WM_ENABLE:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case SBM_SETPOS: {
      const int previous = state->position;
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
      SetInfo(window, *state, info, lParam != 0);
      return previous;
    }
    case SBM_GETPOS:
      return state->position;
    case SBM_SETSCROLLINFO:
      return SetInfo(window, *state, *reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
    case SBM_GETSCROLLINFO:
      GetInfo(*state, *reinterpret_cast<SCROLLINFO*>(lParam));
      return TRUE;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace vpl::platform

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (bar != SB_CTL || info == nullptr) return 0;
  return static_cast<int>(SendMessageA(window, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw),
                                       reinterpret_cast<LPARAM>(info)));
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  if (bar != SB_CTL || info == nullptr) return FALSE;
  return static_cast<BOOL>(
      SendMessageA(window, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
}
