#include <gtest/gtest.h>

#include <string>

#include "foundation/af/AFButtonControls.h"
#include "foundation/af/AFListControl.h"
#include "foundation/af/AFScrollBarControl.h"
#include "foundation/af/AFTextControls.h"
#include "foundation/af/AFWindow.h"
#include "platform/win32/testhooks.h"
#include "tests/support/DesktopTestSupport.h"

namespace {

using vpl::platform::InjectKey;
using vpl::platform::InjectMouseButton;

struct Counter {
  void Count() { ++mCount; }
  int mCount = 0;
};

UUCallback* CountInto(Counter& counter) {
  return new UUClassCallback<Counter, void (Counter::*)()>(&counter, &Counter::Count);
}

// The item data's number as text, compared by the number.
class NumberStrategy : public AFListTextStrategy {
 public:
  void GetText(int16_t itemData, char* buffer) override {
    std::snprintf(buffer, 256, "%d", itemData);
  }
  int Compare(int16_t a, int16_t b) override { return a - b; }
};

class AFControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(mWindow.GetHandle(), nullptr);
    ShowWindow(mWindow.GetHandle(), SW_SHOW);
    Pump();
  }
  void Pump() { vpl::test::DrainMessages(); }
  void Click(POINT point, int clicks = 1) {
    InjectMouseButton(mWindow.GetHandle(), point, 1, true, clicks);
    InjectMouseButton(mWindow.GetHandle(), point, 1, false, clicks);
    Pump();
  }
  void Type(int key) {
    InjectKey(mWindow.GetHandle(), key, true);
    InjectKey(mWindow.GetHandle(), key, false);
    Pump();
  }

  AFWindow mWindow{AFDefaultWindowDescription};
};

TEST_F(AFControlTest, ClickingButtonsChecksThemAndRunsTheirCallbacks) {
  Counter box, first, second, push;
  auto* checkBox =
      new AFCheckBoxControl(&mWindow, RECT{10, 10, 110, 30}, "Box", false, CountInto(box));
  auto* radio1 = new AFRadioButtonControl(&mWindow, RECT{10, 40, 110, 60}, "One", true, false,
                                          CountInto(first));
  auto* radio2 = new AFRadioButtonControl(&mWindow, RECT{10, 70, 110, 90}, "Two", false, true,
                                          CountInto(second));
  auto* button = new AFTextButtonControl(&mWindow, RECT{10, 100, 110, 120}, "Go", CountInto(push));
  for (AFControl* control : {static_cast<AFControl*>(checkBox), static_cast<AFControl*>(radio1),
                             static_cast<AFControl*>(radio2), static_cast<AFControl*>(button)}) {
    control->Show(true);
  }
  Click(POINT{20, 20});
  EXPECT_TRUE(checkBox->IsChecked());
  Click(POINT{20, 80});
  EXPECT_TRUE(radio2->IsChecked());
  EXPECT_FALSE(radio1->IsChecked());
  Click(POINT{50, 110});
  EXPECT_EQ(box.mCount, 1);
  EXPECT_EQ(first.mCount, 0);
  EXPECT_EQ(second.mCount, 1);
  EXPECT_EQ(push.mCount, 1);
  char text[256];
  radio2->GetText(text);
  EXPECT_STREQ(text, "Two");
}

TEST_F(AFControlTest, TypingIntoAnEditFieldChangesItsTextWithinTheLimit) {
  Counter changes;
  auto* edit = new AFEditTextControl(&mWindow, RECT{10, 10, 200, 30}, "", WS_VISIBLE | ES_LEFT);
  edit->SetCallback(CountInto(changes));
  edit->SetLimit(3);
  Click(POINT{20, 20});
  for (int key : {'A', 'B', 'C', 'D'}) Type(key);
  char text[256];
  edit->GetText(text);
  EXPECT_STREQ(text, "abc");
  EXPECT_EQ(changes.mCount, 3);
  Type(VK_BACK);
  EXPECT_EQ(edit->GetTextLength(), 2);
  edit->SetSelection(0, -1);
  EXPECT_EQ(edit->GetSelection(), MAKELONG(0, 2));
  edit->SetAlignment(1);
  EXPECT_EQ(edit->GetAlignment(), 1);
}

TEST_F(AFControlTest, ScrollRequestsMoveTheBarWithinItsRange) {
  Counter moves;
  auto* bar = new AFScrollBarControl(&mWindow, RECT{300, 0, 316, 200}, true, CountInto(moves));
  bar->Show(true);
  bar->SetRange(10, 4, 1, 5);
  EXPECT_TRUE(bar->IsEnabled());
  struct Case {
    WPARAM request;
    int16_t expected;
  };
  const Case cases[] = {
      {SB_PAGEDOWN, 6}, {SB_LINEUP, 5}, {MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(-3)), 0}};
  for (const Case& c : cases) {
    SendMessageA(mWindow.GetHandle(), WM_VSCROLL, c.request,
                 reinterpret_cast<LPARAM>(bar->GetHandle()));
    EXPECT_EQ(bar->GetPosition(), c.expected);
  }
  Click(POINT{308, 195});  // the lower arrow
  EXPECT_EQ(bar->GetPosition(), 1);
  bar->SetRange(3, 4, 1, 0);
  EXPECT_FALSE(IsWindowEnabled(bar->GetHandle()));
  SendMessageA(mWindow.GetHandle(), WM_VSCROLL, SB_PAGEDOWN,
               reinterpret_cast<LPARAM>(bar->GetHandle()));
  EXPECT_EQ(bar->GetPosition(), 0);
}

TEST_F(AFControlTest, ListSortsByClickedColumnsAndRefusesAThirtyFirstColumn) {
  Counter sorted, selected;
  auto* list = new AFListControl(&mWindow, RECT{0, 0, 300, 200});
  list->Show(true);
  list->SetSortedCallback(CountInto(sorted));
  list->SetSelectionChangedCallback(CountInto(selected));
  for (int16_t i = 0; i < AFListControl::kMaxColumns; ++i) {
    ASSERT_TRUE(list->InsertColumn(i, new NumberStrategy, "N", 10, 0));
  }
  EXPECT_FALSE(list->InsertColumn(30, new NumberStrategy, "N", 10, 0));
  EXPECT_EQ(list->GetColumnCount(), 30);
  ASSERT_TRUE(list->DeleteColumn(29));
  char title[256];
  list->GetColumnTitle(0, title);
  EXPECT_STREQ(title, "N");
  ASSERT_TRUE(list->AddItems(3));
  Click(POINT{5, 5});  // header of column 0
  EXPECT_EQ(list->GetSortColumn(), 0);
  EXPECT_FALSE(list->IsSortDescending());
  Click(POINT{5, 5});
  EXPECT_TRUE(list->IsSortDescending());
  EXPECT_EQ(list->GetItemData(0), 2);
  Click(POINT{15, 5});
  EXPECT_EQ(list->GetSortColumn(), 1);
  EXPECT_FALSE(list->IsSortDescending());
  EXPECT_EQ(sorted.mCount, 3);
  Click(POINT{5, 18 + 16 + 4});  // the second row
  EXPECT_EQ(list->GetSelectedItem(), 1);
  EXPECT_EQ(selected.mCount, 1);
  list->SelectItem(99);
  EXPECT_EQ(list->GetSelectedItem(), AFListControl::kNoItem);
}

}  // namespace
