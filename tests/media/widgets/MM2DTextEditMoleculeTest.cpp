#include "media/widgets/MM2DTextEditMolecule.h"

#include "mm/tasks/MMTaskManager.h"
#include "platform/win32/testhooks.h"
#include "tests/media/widgets/FixedFont.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr UUPoint kAnchor{100, 200};
constexpr int32_t kMaximumWidth = 50;

MMKeyEvent Character(uint8_t character, uint8_t second = 0) {
  return MMKeyEvent{0, MM2DTextEditMolecule::kCharacterKey, character, second};
}
const MMKeyEvent kBackspace{0, MM2DTextEditMolecule::kBackspaceKey, 0, 0};

struct MM2DTextEditMoleculeTest : ::testing::Test, SceneOnStage {
  void SetUp() override { Make(3); }
  void TearDown() override {
    if (mField != nullptr) mField->Detach();
    mField.reset();
  }
  void Make(int32_t capacity) {
    if (mField != nullptr) mField->Detach();
    mField.reset();
    mField = std::make_unique<MM2DTextEditMolecule>(MM2DTextEditMolecule::Description{
        &mScene, capacity, kAnchor, kMaximumWidth, 0, AFColor(AFRGB(0, 0, 0)), &mFont,
        AFColor(AFRGB(255, 0, 0)), 5});
  }
  std::string Text() { return mField->GetText(); }
  // Runs the scene's tasks up to that many milliseconds from now.
  void RunFor(int32_t milliseconds) {
    MMTaskManager* manager = mRun.mStage->GetTaskManager();
    manager->RunUntil(manager->GetNow() + milliseconds);
  }
  bool CursorShown() { return mField->GetCursorVisual()->GetVisibility() == kMMShown; }

  FixedFont mFont;
  std::unique_ptr<MM2DTextEditMolecule> mField;
};

TEST_F(MM2DTextEditMoleculeTest, TypedCharactersAreAppendedWhileThereIsRoom) {
  for (const uint8_t c : {uint8_t{'a'}, uint8_t{'b'}}) EXPECT_TRUE(mField->HandleKey(Character(c)));
  // A double-byte character needs two bytes: only one is left.
  EXPECT_TRUE(mField->HandleKey(Character(0x81, 0x40)));
  EXPECT_EQ(Text(), "ab");
  EXPECT_TRUE(mField->HandleKey(Character(0xE9)));
  EXPECT_TRUE(mField->HandleKey(Character('d')));
  EXPECT_EQ(Text(), "ab\xE9");
  EXPECT_EQ(mField->GetLength(), 3);
}

TEST_F(MM2DTextEditMoleculeTest, ADoubleByteCharacterIsAppendedWhole) {
  Make(4);
  EXPECT_TRUE(mField->HandleKey(Character('a')));
  EXPECT_TRUE(mField->HandleKey(Character(0x81, 0x40)));
  EXPECT_EQ(Text(), "a\x81\x40");
  EXPECT_EQ(mField->GetLength(), 3);
}

// Lead bytes as a double-byte code page has them, while it lives.
struct DoubleByteLeads {
  DoubleByteLeads() { vpl::platform::SetDoubleByteLeadRange(0x81, 0x9F); }
  ~DoubleByteLeads() { vpl::platform::SetDoubleByteLeadRange(1, 0); }
};

TEST_F(MM2DTextEditMoleculeTest, BackspaceRemovesADoubleByteCharacterWhole) {
  const DoubleByteLeads leads;
  Make(6);
  for (const MMKeyEvent& key : {Character('a'), Character(0x81, 0x82), Character(0x81, 0x40)}) {
    EXPECT_TRUE(mField->HandleKey(key));
  }
  EXPECT_TRUE(mField->HandleKey(kBackspace));
  EXPECT_EQ(Text(), "a\x81\x82");
  EXPECT_TRUE(mField->HandleKey(kBackspace));
  EXPECT_EQ(Text(), "a");
}

TEST_F(MM2DTextEditMoleculeTest, BackspaceRemovesTheLastCharacterAndIsAlwaysHandled) {
  EXPECT_TRUE(mField->HandleKey(kBackspace));
  EXPECT_EQ(Text(), "");
  mField->SetText("xyz!");
  EXPECT_EQ(Text(), "xyz");
  EXPECT_TRUE(mField->HandleKey(kBackspace));
  EXPECT_EQ(Text(), "xy");
  EXPECT_EQ(mField->GetLength(), 2);
}

TEST_F(MM2DTextEditMoleculeTest, ControlCharactersAndOtherKeysAreLeftToOthers) {
  EXPECT_FALSE(mField->HandleKey(Character('\t')));
  EXPECT_FALSE(mField->HandleKey(MMKeyEvent{0, 7, 0, 0}));
  EXPECT_EQ(Text(), "");
}

TEST_F(MM2DTextEditMoleculeTest, TheCursorFollowsTheTextButNeverPassesTheMaximumWidth) {
  Make(20);
  const auto cursor = [this] { return mField->GetCursorVisual()->GetPosition(); };
  EXPECT_EQ(cursor(), kAnchor);
  mField->SetText("ab");
  EXPECT_EQ(cursor(), (UUPoint{kAnchor.mX + 2 * FixedFont::kCharWidth, kAnchor.mY}));
  mField->SetText("abcdefghijklmnop");
  EXPECT_EQ(cursor(), (UUPoint{kAnchor.mX + kMaximumWidth, kAnchor.mY}));
  EXPECT_EQ(mField->GetCursorVisual()->GetBounds(),
            UURect(kAnchor.mX + kMaximumWidth, kAnchor.mY - FixedFont::kAscent,
                   kAnchor.mX + kMaximumWidth + 2, kAnchor.mY + FixedFont::kDescent));
}

TEST_F(MM2DTextEditMoleculeTest, AClickTakesTheFocusAndTheCursorBlinksUntilItIsLost) {
  EXPECT_EQ(mField->GetTextVisual()->GetBounds(),
            UURect(kAnchor.mX, kAnchor.mY - FixedFont::kAscent, kAnchor.mX + kMaximumWidth,
                   kAnchor.mY + FixedFont::kDescent));
  RunFor(1000);
  EXPECT_FALSE(CursorShown());
  Mouse(kAnchor.mX + 5, kAnchor.mY - 2, kMMMousePress | kMMMouseButtonDown);
  RunTasks();
  EXPECT_TRUE(mField->HasFocus());
  EXPECT_EQ(mScene.GetFocusMolecule(), mField.get());
  RunFor(0);
  EXPECT_TRUE(CursorShown());
  RunFor(MM2DTEditCursorThread::kBlinkInterval);
  EXPECT_FALSE(CursorShown());
  RunFor(MM2DTEditCursorThread::kBlinkInterval);
  EXPECT_TRUE(CursorShown());
  mScene.SetFocusMolecule(nullptr);
  EXPECT_FALSE(mField->HasFocus());
  EXPECT_FALSE(CursorShown());
  RunFor(5 * MM2DTEditCursorThread::kBlinkInterval);
  EXPECT_FALSE(CursorShown());
}

TEST_F(MM2DTextEditMoleculeTest, HidingGivesUpTheFocus) {
  mField->TakeFocus();
  ASSERT_TRUE(mField->HasFocus());
  mField->SetVisibility(kMMHidden);
  EXPECT_EQ(mScene.GetFocusMolecule(), nullptr);
  EXPECT_FALSE(mField->HasFocus());
  EXPECT_EQ(mField->GetTextVisual()->GetVisibility(), kMMHidden);
}

}  // namespace
