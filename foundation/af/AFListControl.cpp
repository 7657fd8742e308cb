#include "foundation/af/AFListControl.h"

#include <algorithm>

#include "platform/win32/commctrl.h"

namespace {

constexpr int kTextSize = 256;

}  // namespace

AFListControl::AFListControl(AFWindow* owner, const RECT& rect) : WinAFSystemControl(owner, rect) {
  InitCommonControls();
  CreateControlWindow("SysListView32", "", LVS_REPORT | LVS_SINGLESEL, rect);
}

AFListControl::~AFListControl() {
  for (UUCallback* callback :
       {mEscapeKey, mReturnKey, mDoubleClicked, mClicked, mSorted, mSelectionChanged}) {
    delete callback;
  }
  for (int i = kMaxColumns - 1; i >= 0; --i) delete mStrategies[i];
}

void AFListControl::Replace(UUCallback*& slot, UUCallback* callback) {
  delete slot;
  slot = callback;
}

void AFListControl::Run(UUCallback* callback) {
  if (callback != nullptr) callback->Invoke();
}

bool AFListControl::InsertColumn(int16_t index, AFListTextStrategy* strategy, const char* title,
                                 int width, int alignment) {
  // The strategies have room for 30 columns: a 31st is refused.
  if (index < 0 || index > mColumnCount || mColumnCount >= kMaxColumns) {
    delete strategy;
    return false;
  }
  std::move_backward(mStrategies + index, mStrategies + mColumnCount,
                     mStrategies + mColumnCount + 1);
  mStrategies[index] = strategy;
  ++mColumnCount;
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = alignment == 1 ? LVCFMT_RIGHT : alignment == 2 ? LVCFMT_CENTER : LVCFMT_LEFT;
  column.cx = width;
  column.pszText = const_cast<LPSTR>(title);
  column.iSubItem = index;
  if (SendMessageA(mWindow, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column)) != -1) {
    return true;
  }
  --mColumnCount;
  std::move(mStrategies + index + 1, mStrategies + mColumnCount + 1, mStrategies + index);
  mStrategies[mColumnCount] = nullptr;
  delete strategy;
  return false;
}

bool AFListControl::DeleteColumn(int16_t index) {
  if (index < 0 || index >= mColumnCount) return false;
  AFListTextStrategy* strategy = mStrategies[index];
  std::move(mStrategies + index + 1, mStrategies + mColumnCount, mStrategies + index);
  mStrategies[--mColumnCount] = nullptr;
  if (!SendMessageA(mWindow, LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0)) {
    std::move_backward(mStrategies + index, mStrategies + mColumnCount,
                       mStrategies + mColumnCount + 1);
    mStrategies[index] = strategy;
    ++mColumnCount;
    return false;
  }
  delete strategy;
  return true;
}

AFListTextStrategy* AFListControl::GetColumnStrategy(int16_t index) const {
  return index >= 0 && index < mColumnCount ? mStrategies[index] : nullptr;
}

int AFListControl::GetColumnWidth(int16_t index) const {
  return static_cast<int>(SendMessageA(mWindow, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
}

void AFListControl::SetColumnWidth(int16_t index, int16_t width) {
  SendMessageA(mWindow, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index),
               MAKELPARAM(static_cast<WORD>(width), 0));
}

void AFListControl::GetColumnTitle(int16_t index, char* buffer) const {
  buffer[0] = '\0';
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = buffer;
  column.cchTextMax = kTextSize;
  if (!SendMessageA(mWindow, LVM_GETCOLUMNA, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&column))) {
    buffer[0] = '\0';
  }
}

void AFListControl::SetColumnTitle(int16_t index, const char* title) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<LPSTR>(title);
  SendMessageA(mWindow, LVM_SETCOLUMNA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&column));
}

bool AFListControl::AddItems(int n) {
  const int count = GetItemCount();
  SendMessageA(mWindow, LVM_SETITEMCOUNT, static_cast<WPARAM>(count + n), 0);
  for (int i = 0; i < n; ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = count + i;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = count + i;
    if (SendMessageA(mWindow, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) == -1) {
      return false;
    }
  }
  return true;
}

int AFListControl::GetItemCount() const {
  return static_cast<int>(SendMessageA(mWindow, LVM_GETITEMCOUNT, 0, 0));
}

int16_t AFListControl::GetItemData(int index) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  SendMessageA(mWindow, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<int16_t>(item.lParam);
}

int AFListControl::FindItem(int16_t itemData) const {
  const int count = GetItemCount();
  if (mSelectedItem >= 0 && mSelectedItem < count && GetItemData(mSelectedItem) == itemData) {
    return mSelectedItem;
  }
  for (int i = 0; i < count; ++i) {
    if (GetItemData(i) == itemData) return i;
  }
  return kNoItem;
}

void AFListControl::SelectItem(int16_t itemData) {
  const int found = FindItem(itemData);
  if (found == mSelectedItem) return;
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED;
  if (mSelectedItem >= 0) {
    item.state = 0;
    SendMessageA(mWindow, LVM_SETITEMSTATE, static_cast<WPARAM>(mSelectedItem),
                 reinterpret_cast<LPARAM>(&item));
  }
  if (found >= 0) {
    item.state = LVIS_SELECTED;
    SendMessageA(mWindow, LVM_SETITEMSTATE, static_cast<WPARAM>(found),
                 reinterpret_cast<LPARAM>(&item));
  }
  mSelectedItem = static_cast<int16_t>(found);
}

int AFListControl::CompareItems(LPARAM a, LPARAM b, LPARAM list) {
  auto* self = reinterpret_cast<AFListControl*>(list);
  AFListTextStrategy* strategy = self->GetColumnStrategy(self->mSortColumn);
  if (strategy == nullptr) return 0;
  const auto first = static_cast<int16_t>(a);
  const auto second = static_cast<int16_t>(b);
  return self->mSortDescending ? strategy->Compare(second, first)
                               : strategy->Compare(first, second);
}

void AFListControl::Sort(int16_t column, bool descending) {
  mSortColumn = column;
  mSortDescending = descending ? 1 : 0;
  SendMessageA(mWindow, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
               reinterpret_cast<LPARAM>(&CompareItems));
  Run(mSorted);
}

void AFListControl::SortBy(int16_t column) {
  Sort(column, column == mSortColumn && mSortDescending == 0);
}

void AFListControl::Unsort() {
  mSortColumn = kNotSorted;
  Run(mSorted);
}

void AFListControl::ColumnChanged(int16_t column) {
  if (column == mSortColumn) Unsort();
  SendMessageA(mWindow, LVM_REDRAWITEMS, 0, GetItemCount() - 1);
}

void AFListControl::ItemChanged(int16_t itemData, int16_t column) {
  if (column == mSortColumn) Unsort();
  SendMessageA(mWindow, LVM_UPDATE, static_cast<WPARAM>(FindItem(itemData)), 0);
}

void AFListControl::GiveText(void* dispInfo) {
  auto& info = *static_cast<NMLVDISPINFOA*>(dispInfo);
  if (!(info.item.mask & LVIF_TEXT)) return;
  char text[kTextSize] = {};
  if (AFListTextStrategy* strategy = GetColumnStrategy(static_cast<int16_t>(info.item.iSubItem))) {
    strategy->GetText(static_cast<int16_t>(info.item.lParam), text);
    text[kTextSize - 1] = '\0';
  }
  if (info.item.pszText != nullptr && info.item.cchTextMax > 0) {
    lstrcpynA(info.item.pszText, text, info.item.cchTextMax);
  }
}

bool AFListControl::HandleNotify(const NMHDR& header, LRESULT&) {
  switch (header.code) {
    case LVN_GETDISPINFOA:
      GiveText(const_cast<NMHDR*>(&header));
      return true;
    case LVN_COLUMNCLICK: {
      const auto column =
          static_cast<int16_t>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      Sort(column, column == mSortColumn && mSortDescending == 0);
      return true;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if (!(change.uNewState & LVIS_SELECTED)) return false;
      mSelectedItem = static_cast<int16_t>(change.iItem);
      Run(mSelectionChanged);
      return true;
    }
    case LVN_KEYDOWN:
      if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey != VK_ESCAPE) return false;
      Run(mEscapeKey);
      return true;
    case NM_RETURN:
      Run(mReturnKey);
      return true;
    case NM_DBLCLK:
      Run(mDoubleClicked);
      return true;
    case NM_CLICK:
      Run(mClicked);
      return true;
    default:
      return false;
  }
}

bool AFListControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
  if (message == WM_NOTIFY && HandleNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
    return true;
  }
  return WinAFSystemControl::HandleMessage(window, message, wParam, lParam, result);
}
