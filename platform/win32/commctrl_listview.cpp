// The "SysListView32" class as a report list: a header of columns above
// rows of items, one selected at a time. Texts given as LPSTR_TEXTCALLBACKA
// are asked of the parent (LVN_GETDISPINFOA) whenever a row is drawn.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/SystemControls.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {
namespace {

constexpr int kHeaderHeight = 18;
constexpr int kRowHeight = 16;
constexpr int kCellMargin = 3;
constexpr int kTextSize = 260;

struct Column {
  int format = LVCFMT_LEFT;
  int width = 0;
  std::string title;
};

struct Item {
  bool callback = false;
  std::string text;
  LPARAM parameter = 0;
  UINT state = 0;
};

struct ListState {
  std::vector<Column> columns;
  std::vector<Item> items;
};

bool ValidItem(const ListState& state, intptr_t index) {
  return index >= 0 && static_cast<size_t>(index) < state.items.size();
}

void CopyOut(const std::string& text, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return;
  const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

LRESULT InsertColumn(HWND window, ListState& state, WPARAM index, const LVCOLUMNA* column) {
  if (column == nullptr) return -1;
  Column added;
  if (column->mask & LVCF_FMT) added.format = column->fmt;
  if (column->mask & LVCF_WIDTH) added.width = column->cx;
  if ((column->mask & LVCF_TEXT) && column->pszText != nullptr) added.title = column->pszText;
  const size_t at = std::min(static_cast<size_t>(index), state.columns.size());
  state.columns.insert(state.columns.begin() + static_cast<ptrdiff_t>(at), added);
  InvalidateRect(window, nullptr, TRUE);
  return static_cast<LRESULT>(at);
}

LRESULT GetColumn(const ListState& state, WPARAM index, LVCOLUMNA* column) {
  if (column == nullptr || index >= state.columns.size()) return FALSE;
  const Column& found = state.columns[index];
  if (column->mask & LVCF_FMT) column->fmt = found.format;
  if (column->mask & LVCF_WIDTH) column->cx = found.width;
  if (column->mask & LVCF_TEXT) CopyOut(found.title, column->pszText, column->cchTextMax);
  if (column->mask & LVCF_SUBITEM) column->iSubItem = static_cast<int>(index);
  return TRUE;
}

LRESULT SetColumn(HWND window, ListState& state, WPARAM index, const LVCOLUMNA* column) {
  if (column == nullptr || index >= state.columns.size()) return FALSE;
  Column& found = state.columns[index];
  if (column->mask & LVCF_FMT) found.format = column->fmt;
  if (column->mask & LVCF_WIDTH) found.width = column->cx;
  if (column->mask & LVCF_TEXT) found.title = column->pszText != nullptr ? column->pszText : "";
  InvalidateRect(window, nullptr, TRUE);
  return TRUE;
}

LRESULT InsertItem(HWND window, ListState& state, const LVITEMA* item) {
  if (item == nullptr || item->iItem < 0) return -1;
  Item added;
  if (item->mask & LVIF_TEXT) {
    added.callback = item->pszText == LPSTR_TEXTCALLBACKA;
    if (!added.callback && item->pszText != nullptr) added.text = item->pszText;
  }
  if (item->mask & LVIF_PARAM) added.parameter = item->lParam;
  const size_t at = std::min(static_cast<size_t>(item->iItem), state.items.size());
  state.items.insert(state.items.begin() + static_cast<ptrdiff_t>(at), added);
  InvalidateRect(window, nullptr, TRUE);
  return static_cast<LRESULT>(at);
}

LRESULT GetItem(const ListState& state, LVITEMA* item) {
  if (item == nullptr || !ValidItem(state, item->iItem)) return FALSE;
  const Item& found = state.items[static_cast<size_t>(item->iItem)];
  if (item->mask & LVIF_PARAM) item->lParam = found.parameter;
  if (item->mask & LVIF_STATE) item->state = found.state & item->stateMask;
  if (item->mask & LVIF_TEXT) {
    if (found.callback) {
      item->pszText = LPSTR_TEXTCALLBACKA;
    } else {
      CopyOut(item->iSubItem == 0 ? found.text : std::string(), item->pszText, item->cchTextMax);
    }
  }
  return TRUE;
}

void NotifyItemChanged(HWND window, const ListState& state, size_t index, UINT oldState) {
  NMLISTVIEW change{};
  change.hdr.code = LVN_ITEMCHANGED;
  change.iItem = static_cast<int>(index);
  change.uNewState = state.items[index].state;
  change.uOldState = oldState;
  change.uChanged = LVIF_STATE;
  change.lParam = state.items[index].parameter;
  NotifyParent(window, change.hdr);
}

void ChangeItemState(HWND window, ListState& state, size_t index, UINT value, UINT mask) {
  // One item is selected at a time: selecting one deselects the others.
  if ((mask & value & LVIS_SELECTED) != 0) {
    for (size_t other = 0; other < state.items.size(); ++other) {
      if (other != index && (state.items[other].state & LVIS_SELECTED)) {
        ChangeItemState(window, state, other, 0, LVIS_SELECTED);
      }
    }
  }
  if (index >= state.items.size()) return;  // the list changed meanwhile
  Item& item = state.items[index];
  const UINT oldState = item.state;
  item.state = (item.state & ~mask) | (value & mask);
  if (item.state == oldState) return;
  InvalidateRect(window, nullptr, TRUE);
  NotifyItemChanged(window, state, index, oldState);
}

LRESULT SetItemState(HWND window, ListState& state, WPARAM index, const LVITEMA* item) {
  if (item == nullptr) return FALSE;
  const auto which = static_cast<intptr_t>(index);
  if (which == -1) {
    for (size_t i = 0; i < state.items.size(); ++i) {
      ChangeItemState(window, state, i, item->state, item->stateMask);
    }
    return TRUE;
  }
  if (!ValidItem(state, which)) return FALSE;
  ChangeItemState(window, state, static_cast<size_t>(which), item->state, item->stateMask);
  return TRUE;
}

LRESULT SortItems(HWND window, ListState& state, WPARAM parameter, PFNLVCOMPARE compare) {
  if (compare == nullptr) return FALSE;
  std::stable_sort(state.items.begin(), state.items.end(), [&](const Item& a, const Item& b) {
    return compare(a.parameter, b.parameter, static_cast<LPARAM>(parameter)) < 0;
  });
  InvalidateRect(window, nullptr, TRUE);
  return TRUE;
}

int ColumnAt(const ListState& state, int x) {
  int left = 0;
  for (size_t i = 0; i < state.columns.size(); ++i) {
    left += state.columns[i].width;
    if (x < left) return static_cast<int>(i);
  }
  return -1;
}

void NotifyCode(HWND window, UINT code, int item, int subItem) {
  NMLISTVIEW notice{};
  notice.hdr.code = code;
  notice.iItem = item;
  notice.iSubItem = subItem;
  NotifyParent(window, notice.hdr);
}

void OnButtonDown(HWND window, ListState& state, LPARAM point, bool doubleClick) {
  SetFocus(window);
  const int x = GET_X_LPARAM(point);
  const int y = GET_Y_LPARAM(point);
  if (y < kHeaderHeight) {
    const int column = ColumnAt(state, x);
    if (column >= 0 && !doubleClick) NotifyCode(window, LVN_COLUMNCLICK, -1, column);
    return;
  }
  const int row = (y - kHeaderHeight) / kRowHeight;
  const int item = ValidItem(state, row) ? row : -1;
  if (item >= 0) {
    ChangeItemState(window, state, static_cast<size_t>(item), LVIS_SELECTED | LVIS_FOCUSED,
                    LVIS_SELECTED | LVIS_FOCUSED);
  }
  NotifyCode(window, doubleClick ? NM_DBLCLK : NM_CLICK, item, std::max(ColumnAt(state, x), 0));
}

int SelectedIndex(const ListState& state) {
  for (size_t i = 0; i < state.items.size(); ++i) {
    if (state.items[i].state & LVIS_SELECTED) return static_cast<int>(i);
  }
  return -1;
}

void OnKeyDown(HWND window, ListState& state, WPARAM key) {
  NMLVKEYDOWN notice{};
  notice.hdr.code = LVN_KEYDOWN;
  notice.wVKey = static_cast<WORD>(key);
  NotifyParent(window, notice.hdr);
  if (key == VK_RETURN) {
    NMHDR header{};
    header.code = NM_RETURN;
    NotifyParent(window, header);
    return;
  }
  if (key != VK_UP && key != VK_DOWN) return;
  const int next = SelectedIndex(state) + (key == VK_DOWN ? 1 : -1);
  if (ValidItem(state, next)) {
    ChangeItemState(window, state, static_cast<size_t>(next), LVIS_SELECTED | LVIS_FOCUSED,
                    LVIS_SELECTED | LVIS_FOCUSED);
  }
}

std::string CellText(HWND window, const Item& item, size_t index, size_t column) {
  if (!item.callback) return column == 0 ? item.text : std::string();
  char buffer[kTextSize] = {};
  NMLVDISPINFOA request{};
  request.hdr.code = LVN_GETDISPINFOA;
  request.item.mask = LVIF_TEXT;
  request.item.iItem = static_cast<int>(index);
  request.item.iSubItem = static_cast<int>(column);
  request.item.lParam = item.parameter;
  request.item.pszText = buffer;
  request.item.cchTextMax = kTextSize;
  NotifyParent(window, request.hdr);
  // The parent may point at a text of its own instead of filling the buffer.
  const char* text = request.item.pszText != nullptr && request.item.pszText != LPSTR_TEXTCALLBACKA
                         ? request.item.pszText
                         : buffer;
  return std::string(text, strnlen(text, kTextSize));
}

int Alignment(int format) { return format == LVCFMT_RIGHT ? 2 : format == LVCFMT_CENTER ? 1 : 0; }

void Paint(HWND window, const ListState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillSolid(dc, client, GetSysColor(COLOR_WINDOW));
  int left = 0;
  for (const Column& column : state.columns) {
    const RECT cell{left, 0, left + column.width, kHeaderHeight};
    FillSolid(dc, cell, GetSysColor(COLOR_BTNFACE));
    FrameSolid(dc, cell, GetSysColor(COLOR_BTNSHADOW));
    DrawLine(dc, RECT{cell.left + kCellMargin, 0, cell.right - kCellMargin, kHeaderHeight},
             column.title, 0, GetSysColor(COLOR_BTNTEXT));
    left += column.width;
  }
  for (size_t row = 0; row < state.items.size(); ++row) {
    const int top = kHeaderHeight + static_cast<int>(row) * kRowHeight;
    if (top >= client.bottom) break;
    const bool selected = (state.items[row].state & LVIS_SELECTED) != 0;
    if (selected) FillSolid(dc, RECT{0, top, left, top + kRowHeight}, GetSysColor(COLOR_HIGHLIGHT));
    int cellLeft = 0;
    for (size_t column = 0; column < state.columns.size(); ++column) {
      const Column& header = state.columns[column];
      DrawLine(dc,
               RECT{cellLeft + kCellMargin, top, cellLeft + header.width - kCellMargin,
                    top + kRowHeight},
               CellText(window, state.items[row], row, column), Alignment(header.format),
               GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      cellLeft += header.width;
    }
  }
  EndPaint(window, &paint);
}

LRESULT Redraw(HWND window, const ListState& state, intptr_t index) {
  if (index != -1 && !ValidItem(state, index)) return FALSE;
  InvalidateRect(window, nullptr, TRUE);
  return TRUE;
}

LRESULT HandleListMessage(HWND window, ListState& state, UINT message, WPARAM wParam,
                          LPARAM lParam) {
  switch (message) {
    case LVM_INSERTCOLUMNA:
      return InsertColumn(window, state, wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN:
      if (wParam >= state.columns.size()) return FALSE;
      state.columns.erase(state.columns.begin() + static_cast<ptrdiff_t>(wParam));
      return Redraw(window, state, -1);
    case LVM_GETCOLUMNA:
      return GetColumn(state, wParam, reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA:
      return SetColumn(window, state, wParam, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_GETCOLUMNWIDTH:
      return wParam < state.columns.size() ? state.columns[wParam].width : 0;
    case LVM_SETCOLUMNWIDTH:
      if (wParam >= state.columns.size()) return FALSE;
      state.columns[wParam].width = static_cast<int16_t>(LOWORD(static_cast<DWORD_PTR>(lParam)));
      return Redraw(window, state, -1);
    case LVM_SETITEMCOUNT:
      state.items.reserve(wParam);
      return TRUE;
    case LVM_GETITEMCOUNT:
      return static_cast<LRESULT>(state.items.size());
    case LVM_INSERTITEMA:
      return InsertItem(window, state, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMA:
      return GetItem(state, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_DELETEALLITEMS:
      state.items.clear();
      return Redraw(window, state, -1);
    case LVM_SETITEMSTATE:
      return SetItemState(window, state, wParam, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMSTATE:
      return ValidItem(state, static_cast<intptr_t>(wParam))
                 ? state.items[wParam].state & static_cast<UINT>(lParam)
                 : 0;
    case LVM_SORTITEMS:
      return SortItems(window, state, wParam, reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_REDRAWITEMS:
      return Redraw(window, state, -1);
    case LVM_UPDATE:
      return Redraw(window, state, static_cast<intptr_t>(wParam));
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ListState* state = ControlState<ListState>(window, message);
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      FreeControlState<ListState>(window);
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(window, *state, lParam, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnButtonDown(window, *state, lParam, true);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(window, *state, wParam);
      return 0;
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    default:
      return HandleListMessage(window, *state, message, wParam, lParam);
  }
}

}  // namespace vpl::platform

void InitCommonControls() {}
