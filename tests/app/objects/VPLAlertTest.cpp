#include "app/objects/VPLAlert.h"

#include "foundation/af/AFApplication.h"
#include "foundation/af/AFWindow.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr char kProductName[] = "Vantry's Plorvia 3D";
constexpr char kText[] = "Not enough memory";
constexpr char kStageCaption[] = "The stage";
constexpr UINT kProductNameString = 101;

class VPLAlertTest : public ::testing::Test {
 protected:
  void TearDown() override {
    vpl::platform::SetMessageBoxAnswer(0);
    vpl::platform::ResetStringTable();
  }
};

TEST_F(VPLAlertTest, CodesGiveTheirBoxStyles) {
  struct Case {
    int32_t code;
    UINT style;
  };
  for (const Case& c : {Case{kVPLAlertInformation, 0x40}, Case{kVPLAlertOkCancel, 0x11},
                        Case{kVPLAlertRetryCancel, 0x15}, Case{kVPLAlertYesNo, 0x14},
                        Case{kVPLAlertYesNoCancel, 0x13}}) {
    EXPECT_EQ(VPLAlertStyle(c.code), c.style) << c.code;
  }
}

TEST_F(VPLAlertTest, ButtonsGiveTheirAnswers) {
  struct Case {
    int button;
    int32_t answer;
  };
  for (const Case& c : {Case{IDOK, 1}, Case{IDYES, 1}, Case{IDNO, 2}, Case{IDCANCEL, 3},
                        Case{IDRETRY, 4}, Case{0, 1}, Case{99, 1}}) {
    EXPECT_EQ(VPLAlertAnswer(c.button), c.answer) << c.button;
  }
}

TEST_F(VPLAlertTest, BeforeTheMainWindowTheBoxIsTitledWithTheProductName) {
  vpl::platform::SetMessageBoxAnswer(IDNO);
  const int boxes = vpl::platform::MessageBoxCount();
  EXPECT_EQ(VPLAlert(kText, kVPLAlertYesNo).Show(nullptr), kVPLAnswerNo);
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes + 1);
  EXPECT_EQ(vpl::platform::LastMessageBoxCaption(), kProductName);
  EXPECT_EQ(vpl::platform::LastMessageBoxText(), kText);
  AFApplication application(nullptr);
  EXPECT_EQ(VPLAlert(kText, kVPLAlertYesNo).Show(&application), kVPLAnswerNo);
  EXPECT_EQ(vpl::platform::LastMessageBoxCaption(), kProductName);
}

TEST_F(VPLAlertTest, WithoutTheProductNameNothingIsShown) {
  vpl::platform::SetStringTableEntry(kProductNameString, nullptr);
  vpl::platform::SetMessageBoxAnswer(IDCANCEL);
  const int boxes = vpl::platform::MessageBoxCount();
  EXPECT_EQ(VPLAlert(kText, kVPLAlertOkCancel).Show(nullptr), kVPLAnswerOk);
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes);
}

TEST_F(VPLAlertTest, OverTheStageWindowTheBoxTakesItsCaption) {
  AFApplication application(nullptr);
  std::unique_ptr<MMStageWindow> window(new MMStageWindow(AFDefaultWindowDescription));
  ASSERT_NE(window->GetHandle(), nullptr);
  SetWindowTextA(window->GetHandle(), kStageCaption);
  application.SetMainWindow(window.get());
  vpl::platform::SetMessageBoxAnswer(IDRETRY);
  EXPECT_EQ(VPLAlert(kText, kVPLAlertRetryCancel).Show(&application), kVPLAnswerRetry);
  EXPECT_EQ(vpl::platform::LastMessageBoxCaption(), kStageCaption);
  application.SetMainWindow(nullptr);
}

}  // namespace
