#pragma once
// A report list over the system's "SysListView32" class. Each column's texts
// and order come from its text strategy; items are identified by a 16-bit
// item data kept in the list item's parameter.

#include "foundation/uu/UUCallback.h"
#include "foundation/win/WinAFSystemControl.h"

#include <cstdint>

class AFListTextStrategy {
 public:
  virtual ~AFListTextStrategy() = default;
  // Writes the column's text for the item into a buffer of 256 characters.
  virtual void GetText(int16_t itemData, char* buffer) = 0;
  virtual int Compare(int16_t a, int16_t b) = 0;
};

class AFListControl : public WinAFSystemControl {
 public:
  static constexpr int kMaxColumns = 30;
  static constexpr int16_t kNotSorted = -3;
  static constexpr int16_t kNoItem = -2;

  AFListControl(AFWindow* owner, const RECT& rect);
  ~AFListControl() override;

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;

  // Takes the strategy (deleted when the column cannot be inserted). At most
  // 30 columns. Alignment 0 left, 1 right, 2 centre.
  bool InsertColumn(int16_t index, AFListTextStrategy* strategy, const char* title, int width,
                    int alignment);
  bool DeleteColumn(int16_t index);
  int16_t GetColumnCount() const { return mColumnCount; }
  AFListTextStrategy* GetColumnStrategy(int16_t index) const;
  int GetColumnWidth(int16_t index) const;
  void SetColumnWidth(int16_t index, int16_t width);
  // Into a buffer of 256 characters; empty when the list has none.
  void GetColumnTitle(int16_t index, char* buffer) const;
  void SetColumnTitle(int16_t index, const char* title);

  // Adds n items whose data are their indices at insertion.
  bool AddItems(int n);
  int GetItemCount() const;
  int16_t GetItemData(int index) const;
  // The index of the item with this data; kNoItem when none.
  int FindItem(int16_t itemData) const;
  void SelectItem(int16_t itemData);
  int16_t GetSelectedItem() const { return mSelectedItem; }

  void Sort(int16_t column, bool descending);
  // The same column again reverses the order; another sorts ascending.
  void SortBy(int16_t column);
  int16_t GetSortColumn() const { return mSortColumn; }
  bool IsSortDescending() const { return mSortDescending != 0; }
  void ColumnChanged(int16_t column);
  void ItemChanged(int16_t itemData, int16_t column);

  // Each takes the callback; the previous one is deleted.
  void SetSelectionChangedCallback(UUCallback* callback) { Replace(mSelectionChanged, callback); }
  void SetSortedCallback(UUCallback* callback) { Replace(mSorted, callback); }
  void SetClickedCallback(UUCallback* callback) { Replace(mClicked, callback); }
  void SetDoubleClickedCallback(UUCallback* callback) { Replace(mDoubleClicked, callback); }
  void SetReturnKeyCallback(UUCallback* callback) { Replace(mReturnKey, callback); }
  void SetEscapeKeyCallback(UUCallback* callback) { Replace(mEscapeKey, callback); }

 private:
  static void Replace(UUCallback*& slot, UUCallback* callback);
  static void Run(UUCallback* callback);
  static int CompareItems(LPARAM a, LPARAM b, LPARAM list);
  bool HandleNotify(const NMHDR& header, LRESULT& result);
  void GiveText(void* dispInfo);
  void Unsort();

  int16_t mColumnCount = 0;
  int16_t mSortColumn = kNotSorted;
  int32_t mSortDescending = 0;
  int16_t mSelectedItem = kNoItem;
  AFListTextStrategy* mStrategies[kMaxColumns] = {};
  UUCallback* mSelectionChanged = nullptr;
  UUCallback* mSorted = nullptr;
  UUCallback* mClicked = nullptr;
  UUCallback* mDoubleClicked = nullptr;
  UUCallback* mReturnKey = nullptr;
  UUCallback* mEscapeKey = nullptr;
};
