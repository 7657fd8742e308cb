#include "foundation/uu/UUDirectory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UUDirectoryTest, SetChecksTheRootAndEndsInABackslash) {
  struct Case {
    const char* text;
    const char* stored;
    int32_t root;
  } cases[] = {
      {"c:\\temp", "c:\\temp\\", 3},
      {"C:\\", "C:\\", 3},
      {"\\\\server\\share", "\\\\server\\share\\", 15},
      {"\\\\server\\share\\dir\\", "\\\\server\\share\\dir\\", 15},
      {"\\\\\\server\\share", "", -1},
      {"\\\\server\\\\share", "", -1},
      {"\\\\server", "", -1},
      {"\\\\ser:ver\\share", "", -1},
      {"temp", "", -1},
      {"1:\\x", "", -1},
      {"", "", -1},
  };
  for (const Case& c : cases) {
    UUDirectory directory;
    EXPECT_EQ(directory.Set(c.text), c.root) << c.text;
    EXPECT_STREQ(directory.Text(), c.stored) << c.text;
    EXPECT_EQ(directory.IsSet(), c.root >= 0) << c.text;
  }
}

TEST(UUDirectoryTest, TextsThatCannotTakeTheirBackslashAreRejected) {
  const std::string fits = "C:\\" + std::string(255, 'a');
  const std::string tooLong = fits + "a";
  UUDirectory directory;
  EXPECT_EQ(directory.Set(fits.c_str()), 3);
  EXPECT_EQ(std::string(directory.Text()), fits + "\\");
  EXPECT_EQ(directory.Set(tooLong.c_str()), -1);
  EXPECT_FALSE(directory.IsSet());
}

TEST(UUDirectoryTest, SameDirectoryIgnoresCaseAndTellsEmptyApart) {
  UUDirectory empty;
  UUDirectory root("C:\\");
  EXPECT_TRUE(UUSameDirectory(UUDirectory("C:\\A\\"), UUDirectory("c:\\a\\")));
  EXPECT_FALSE(UUSameDirectory(UUDirectory("C:\\A\\"), UUDirectory("C:\\AB\\")));
  EXPECT_FALSE(UUSameDirectory(empty, root));
  EXPECT_TRUE(UUSameDirectory(empty, UUDirectory()));
}

}  // namespace
