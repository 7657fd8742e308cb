// The content check names what a broken source breaks: each aligned list,
// each guard against a known misreading and each table its code reads in
// a shape of its own is broken once in a copy of the sources, and a small
// layout puts an object outside the view and two on top of each other.

#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/DataFiles.h"
#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using content_fixtures::TestFolder;

struct SourceEdit {
  const char* mRule;  // what the first finding must name
  const char* mFile;  // below data/scripts
  const char* mFind;
  const char* mReplace;
  size_t mFindings = 1;  // how many findings the edit makes
};

std::ostream& operator<<(std::ostream& out, const SourceEdit& edit) { return out << edit.mRule; }

const SourceEdit kBrokenAlignments[] = {
    {"grounds 55 = backdrops 56", "area.toml", R"(, [0, { model = "sky.snow" }])", ""},
    {"path items 163 = reversed paths 165", "area.toml",
     R"(, [0, { model = "path.zigzag.reverse" }])", ""},
    {"path items 163 = paths 164", "area.toml", R"([0, { model = "path.zigzag" }],)", ""},
    {"catalogue 225 = its items 257", "area.toml", R"(, [0, { model = "primitive.star" }])", ""},
    {"catalogue 226 = its items 301", "area.toml", R"(, [0, { model = "primitive.flower" }])", ""},
    {"profiles 306 = profile items 313 x 5", "area.toml", R"([0, { model = "profile.star.4" }],)",
     ""},
    {"magnet reaches 502 = size buttons of 140", "area.toml",
     R"(  [{ table = { rows = [[0, 64], [1, 1]] } }],)", ""},
    {"print modes of 331 = print layouts 21", "dialogs.toml",
     R"(model = "print.modes"
children = [)",
     R"(model = "print.modes"
children = [
  { model = "print.big.off", toggle = "print.ok" },)",
     2},
};

const SourceEdit kBrokenGuards[] = {
    {"script 1 row 0 must hold 0", "startup.toml", R"([{ film = "film.hello" }],)",
     R"([{ film = "film.build" }],)"},
    {"credit page 1 must start with a zero gap", "credits.toml", R"([2, { script = "no.model" }],)",
     R"([1, { script = "no.model" }],)"},
    {"list 174 must name model 174", "area.toml", R"(rows = [[0, { model = "pomble" }]])",
     R"(rows = [[0, { model = "pomble.ghost" }]])"},
    {"script 45 must carry a position (tag 2) alone", "creation.toml",
     R"(place = "prefs.autosave.label")",
     R"(place = "prefs.autosave.label"
scale = [1, 1, 1])"},
    {"the ground toggle's looks 90 and 92", "creation.toml", R"(toggle = "ground.off")", ""},
    {"export kind 3 must show the empty model", "dialogs.toml",
     R"({ model = "empty", sounds = false, toggle)",
     R"({ model = "export.ok", sounds = false, toggle)"},
    {"specular power must be 1", "startup.toml", "[23, 1],", "[23, 40],"},
};

const SourceEdit kBrokenToolTables[] = {
    {"script 481 tag 0 must be a sound id", "area.toml", R"([0, { sound = "spin.loop" }])",
     R"([0, { list = "spin.loop" }])"},
    {"script 487 (align) has no sound at tag 4", "toolsounds.toml", R"([4, { list = "snap" }], )",
     ""},
    {"script 496 (colour sucker) has no sound at tag 4", "toolsounds.toml",
     R"([4, { list = "slurp" }])", R"([6, { list = "slurp" }])"},
    {"script 2 row 3 repeats model 301", "startup.toml", R"([{ model = "cursor.move" }],)",
     R"([{ model = "cursor.hand" }],)"},
    {"script 2 row 12 names model 174, not a cursor", "startup.toml",
     R"([{ model = "cursor.delete" }],)", R"([{ model = "pomble" }],)"},
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream stream(path);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// A copy of the sources with one edit made, and the script file built
// from it.
std::filesystem::path BuildEdited(const TestFolder& folder, const SourceEdit& edit) {
  const std::filesystem::path data = folder.Get() / "data";
  std::filesystem::copy(content_fixtures::SourceDirectory(), data,
                        std::filesystem::copy_options::recursive);
  const std::filesystem::path file = data / "scripts" / edit.mFile;
  std::string text = ReadText(file);
  const size_t at = text.find(edit.mFind);
  EXPECT_NE(at, std::string::npos) << edit.mFind;
  if (at != std::string::npos) text.replace(at, std::strlen(edit.mFind), edit.mReplace);
  std::ofstream(file) << text;
  const std::filesystem::path out = folder.Get() / "out";
  databuilder::BuildDataFile(databuilder::ReadBuildSources(data),
                             *databuilder::FindDataFile("Hd.mms"), out);
  return out;
}

void ExpectNamed(const content_check::Findings& findings, const SourceEdit& edit) {
  ASSERT_FALSE(findings.empty());
  EXPECT_NE(findings.front().find(edit.mRule), std::string::npos) << findings.front();
  EXPECT_EQ(findings.size(), edit.mFindings);
}

class BrokenAlignmentTest : public ::testing::TestWithParam<SourceEdit> {};

TEST_P(BrokenAlignmentTest, TheCheckNamesTheBrokenRule) {
  const TestFolder folder;
  ExpectNamed(content_check::CheckAlignedLists(BuildEdited(folder, GetParam())), GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachRule, BrokenAlignmentTest, ::testing::ValuesIn(kBrokenAlignments));

class BrokenGuardTest : public ::testing::TestWithParam<SourceEdit> {};

TEST_P(BrokenGuardTest, TheCheckNamesTheBrokenGuard) {
  const TestFolder folder;
  ExpectNamed(content_check::CheckAbsorbedFaults(BuildEdited(folder, GetParam())), GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachGuard, BrokenGuardTest, ::testing::ValuesIn(kBrokenGuards));

class BrokenToolTableTest : public ::testing::TestWithParam<SourceEdit> {};

TEST_P(BrokenToolTableTest, TheCheckNamesTheTableReadOtherwiseByItsCode) {
  const TestFolder folder;
  ExpectNamed(content_check::CheckToolTables(BuildEdited(folder, GetParam()),
                                             content_fixtures::SourceManifest()),
              GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachTable, BrokenToolTableTest, ::testing::ValuesIn(kBrokenToolTables));

TEST(LayoutCheckTest, NamesAnObjectOutsideTheViewAndTwoThatOverlap) {
  const TestFolder folder;
  std::ofstream(folder.Get() / "screen.toml") << R"([objects]
"a" = { screen = "interface", at = [0, 0], size = [2, 2] }
"b" = { screen = "interface", at = [1.5, 0], size = [2, 2] }
"c" = { screen = "interface", state = "x", at = [0, 5], size = [2, 2] }
"d" = { screen = "interface", state = "y", at = [0, 5], size = [2, 2] }
"e" = { screen = "interface", at = [1.5, 0], size = [2, 2], z = -44 }
"f" = { screen = "interface", at = [20, 0], size = [2, 2] }
)";
  const content_check::Findings findings =
      content_check::CheckLayout(databuilder::InterfaceLayout::Read(folder.Get()));
  EXPECT_EQ(findings, (content_check::Findings{"a overlaps b", "f lies outside the view"}));
}

}  // namespace
