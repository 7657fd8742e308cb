#include "media/widgets/MMWordWrapper.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "tests/media/widgets/FixedFont.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Line {
  int16_t box;
  std::string text;
  int32_t x;
  int32_t y;
  friend bool operator==(const Line&, const Line&) = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << line.box << ":\"" << line.text << "\"@" << line.x << "," << line.y;
}

class RecordingWrapper : public MMWordWrapper {
 public:
  using MMWordWrapper::MMWordWrapper;
  std::vector<Line> mLines;

 protected:
  void EmitLine(int16_t box, const char* text, int32_t length, int32_t x, int32_t y) override {
    mLines.push_back(Line{box, std::string(text, static_cast<size_t>(length)), x, y});
  }
};

struct MMWordWrapperTest : ::testing::Test {
  void SetUp() override {
    mSurface.reset(WinMMCreateOffscreenSurface(32, UURect(0, 0, 200, 200), AFPalette()));
    mSurface->BeginText(&mFont);
  }
  void TearDown() override { mSurface->EndText(); }
  // The texts of the lines of one box wide enough for `characters`.
  std::vector<std::string> Wrap(const char* text, int32_t characters, bool* broken = nullptr) {
    RecordingWrapper wrapper(1);
    wrapper.SetBox(0, UURect(0, 0, characters * FixedFont::kCharWidth, 1000));
    wrapper.WrapText(mSurface.get(), text);
    if (broken != nullptr) *broken = wrapper.WordBroken();
    std::vector<std::string> texts;
    for (const Line& line : wrapper.mLines) texts.push_back(line.text);
    return texts;
  }

  FixedFont mFont;
  std::unique_ptr<WinMMOffscreenSurface> mSurface;
};

TEST_F(MMWordWrapperTest, BreaksLinesAtBlanksAndLineFeeds) {
  struct Case {
    const char* text;
    int32_t characters;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"one two three", 8, {"one two", "three"}},
      {"a   b", 10, {"a   b"}},
      {"aaaa    bbbb", 6, {"aaaa", "bbbb"}},
      {"  lead", 10, {"  lead"}},
      {"a\nb", 10, {"a", "b"}},
      {"a\n\nb", 10, {"a", "", "b"}},
      {"a\tb c", 3, {"a\tb", "c"}},
      {"exactly fits", 7, {"exactly", "fits"}},
  };
  for (const Case& c : cases) {
    bool broken = true;
    EXPECT_EQ(Wrap(c.text, c.characters, &broken), c.lines) << c.text;
    EXPECT_FALSE(broken) << c.text;
  }
}

TEST_F(MMWordWrapperTest, AWordWiderThanTheBoxIsSplitAtTheLargestPieceThatFits) {
  bool broken = false;
  EXPECT_EQ(Wrap("abcdefghij x", 4, &broken), (std::vector<std::string>{"abcd", "efgh", "ij x"}));
  EXPECT_TRUE(broken);
}

TEST_F(MMWordWrapperTest, LinesSitOnBaselinesLineSpacingApart) {
  RecordingWrapper wrapper(1);
  wrapper.SetBox(0, UURect(20, 30, 60, 100));
  wrapper.WrapText(mSurface.get(), "ab cd ef");
  const int32_t first = 30 + FixedFont::kAscent;
  EXPECT_EQ(wrapper.mLines,
            (std::vector<Line>{{0, "ab", 20, first},
                               {0, "cd", 20, first + FixedFont::kLineSpacing},
                               {0, "ef", 20, first + 2 * FixedFont::kLineSpacing}}));
  EXPECT_TRUE(wrapper.AllFitted());
  EXPECT_EQ(wrapper.GetBoxesUsed(), 1);
}

TEST_F(MMWordWrapperTest, TheTextFlowsThroughTheBoxesAndWhatDoesNotFitIsReported) {
  RecordingWrapper wrapper(3);
  wrapper.SetBox(0, UURect(0, 0, 30, 24));    // two lines
  wrapper.SetBox(1, UURect(100, 0, 130, 9));  // too low for one line
  wrapper.SetBox(2, UURect(0, 50, 30, 62));   // one line
  wrapper.WrapText(mSurface.get(), "aa bb cc dd ee");
  EXPECT_EQ(wrapper.mLines,
            (std::vector<Line>{{0, "aa", 0, 8}, {0, "bb", 0, 20}, {2, "cc", 0, 58}}));
  EXPECT_FALSE(wrapper.AllFitted());
  EXPECT_EQ(wrapper.GetBoxesUsed(), 3);
}

TEST_F(MMWordWrapperTest, ABoxTooNarrowForOneCharacterTakesNothing) {
  RecordingWrapper wrapper(2);
  wrapper.SetBox(0, UURect(0, 0, 5, 100));
  wrapper.SetBox(1, UURect(0, 0, 50, 100));
  wrapper.WrapText(mSurface.get(), "abc");
  EXPECT_EQ(wrapper.mLines, (std::vector<Line>{{0, "", 0, 8}, {1, "abc", 0, 8}}));
  EXPECT_TRUE(wrapper.AllFitted());
}

}  // namespace
