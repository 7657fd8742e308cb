#include "foundation/uu/UUPattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UUPatternTest, MatchesSubstrings) {
  const struct {
    const char* pattern;
    bool ignoreCase;
    const char* text;
    bool matches;
  } cases[] = {
      {"a#c", false, "xa5cx", true},      {"a#c", false, "abc", false},
      {"[a-c]+x", false, "zzbbax", true}, {"colou?r", false, "color", true},
      {"colou?r", false, "colour", true}, {"colou?r", false, "colouur", false},
      {"(ab|cd)+", false, "xcdab", true}, {"abc", true, "xABCx", true},
      {"abc", false, "ABC", false},       {"[a-c]", true, "B", true},
      {"[^a-c]", false, "abc", false},    {"[^a-c]", false, "abd", true},
      {"[]", false, "x", false},          {"a[x-]b", false, "a-b", true},
      {"\\.", false, "a", false},         {"\\.", false, ".", true},
      {"\\n", false, "\n", true},         {".", false, "\xC8", true},
      {"a*", false, "z", true},           {"a*", false, "", false},
      {"x(a|b+)y", false, "xbay", false}, {"x(a|b+)y", false, "xbby", true},
      {"ab)cd", false, "ab", true},       {"a|b", false, "b", true},
  };
  for (const auto& c : cases) {
    UUPattern pattern(c.pattern, c.ignoreCase);
    ASSERT_EQ(pattern.Status(), kUUPatternCompiled) << c.pattern;
    EXPECT_EQ(pattern.Match(c.text), c.matches) << c.pattern << " on " << c.text;
  }
}

TEST(UUPatternTest, ReportsCompileErrors) {
  const struct {
    std::string pattern;
    int32_t status;
  } cases[] = {
      {"*a", kUUPatternNothingToRepeat},
      {"a**", kUUPatternNothingToRepeat},
      {"|a", kUUPatternMisplacedBar},
      {"(ab", kUUPatternOpenGroup},
      {"[ab", kUUPatternOpenClass},
      {"[z-a]", kUUPatternBadRange},
      {"\\", kUUPatternTrailingBackslash},
      {")", kUUPatternMisplacedParenthesis},
      {"", kUUPatternIncomplete},
      {"a|", kUUPatternIncomplete},
      {"(", kUUPatternIncomplete},
      {std::string(31, 'q'), kUUPatternCompiled},
      {std::string(32, 'q'), kUUPatternTooLong},
  };
  for (const auto& c : cases) {
    UUPattern pattern;
    EXPECT_EQ(pattern.Status(), kUUPatternNotCompiled);
    EXPECT_EQ(pattern.Compile(c.pattern.c_str(), false), c.status) << c.pattern;
  }
}

}  // namespace
