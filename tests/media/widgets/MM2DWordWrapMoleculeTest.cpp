#include "media/widgets/MM2DWordWrapMolecule.h"

#include "mm/stage/MM2DTextVisual.h"
#include "tests/media/widgets/FixedFont.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UURect kFirstBox(10, 10, 50, 34);  // four characters, two lines
constexpr UURect kSecondBox(100, 10, 140, 34);
const AFColor kInk(AFRGB(0, 0, 128));

struct MM2DWordWrapMoleculeTest : ::testing::Test, SceneOnStage {
  void SetUp() override {
    mWrap = std::make_unique<MM2DWordWrapMolecule>(&mScene, 2, kInk, &mFont, 4, nullptr);
    mWrap->SuspendRewrap();
    mWrap->SetBox(0, kFirstBox);
    mWrap->SetBox(1, kSecondBox);
    mWrap->SetText("aa bb cc dd ee");
    mWrap->ResumeRewrap();
  }
  void TearDown() override {
    mWrap->Detach();
    mWrap.reset();
  }
  // Each line visual as "text@x,y", in the order made.
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (MM2DPointTextVisual* line : mWrap->GetLineVisuals()) {
      const UUPoint at = line->GetPosition();
      lines.push_back(std::string(line->GetText()) + "@" + std::to_string(at.mX) + "," +
                      std::to_string(at.mY));
    }
    return lines;
  }
  int InEnclosure() {
    int count = 0;
    for (MM2DPointTextVisual* line : mWrap->GetLineVisuals()) {
      count += line->GetEnclosure() == &mEnclosure ? 1 : 0;
    }
    return count;
  }

  FixedFont mFont;
  std::unique_ptr<MM2DWordWrapMolecule> mWrap;
};

TEST_F(MM2DWordWrapMoleculeTest, EveryLineIsAPointTextVisualInTheEnclosure) {
  EXPECT_EQ(Lines(), (std::vector<std::string>{"aa@10,18", "bb@10,30", "cc@100,18", "dd@100,30"}));
  EXPECT_EQ(InEnclosure(), 4);
  EXPECT_FALSE(mWrap->AllFitted());
  for (MM2DPointTextVisual* line : mWrap->GetLineVisuals()) {
    EXPECT_EQ(line->GetDepth(), 4);
    EXPECT_EQ(line->GetStyle().mFont, &mFont);
    EXPECT_TRUE(line->GetStyle().mColor == kInk);
  }
}

TEST_F(MM2DWordWrapMoleculeTest, HidingABoxKeepsTheSplitOfTheTextIntoBoxes) {
  mWrap->SetBoxShown(0, false);
  EXPECT_FALSE(mWrap->IsBoxShown(0));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"cc@100,18", "dd@100,30"}));
  mWrap->SetBoxShown(0, true);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"aa@10,18", "bb@10,30", "cc@100,18", "dd@100,30"}));
}

TEST_F(MM2DWordWrapMoleculeTest, ChangesRewrapUnlessSuspended) {
  mWrap->SuspendRewrap();
  mWrap->SetText("x\n\ny");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"aa@10,18", "bb@10,30", "cc@100,18", "dd@100,30"}));
  mWrap->ResumeRewrap();
  // The empty line between the line feeds makes no visual.
  EXPECT_EQ(Lines(), (std::vector<std::string>{"x@10,18", "y@100,18"}));
  EXPECT_TRUE(mWrap->AllFitted());
  mWrap->SetText(nullptr);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(MM2DWordWrapMoleculeTest, HidingTheMoleculeDeletesItsLinesAndShowingMakesThemAgain) {
  mWrap->SetVisibility(kMMHidden);
  EXPECT_TRUE(Lines().empty());
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
  mWrap->SetVisibility(kMMShown);
  EXPECT_EQ(Lines().size(), size_t{4});
  EXPECT_EQ(InEnclosure(), 4);
}

TEST_F(MM2DWordWrapMoleculeTest, ColourAndDepthReachEveryLine) {
  const AFColor red(AFRGB(255, 0, 0));
  mWrap->SetColour(red);
  mWrap->SetDepth(9);
  for (MM2DPointTextVisual* line : mWrap->GetLineVisuals()) {
    EXPECT_TRUE(line->GetStyle().mColor == red);
    EXPECT_EQ(line->GetDepth(), 9);
  }
}

}  // namespace
