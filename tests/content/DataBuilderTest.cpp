// The builder: the same sources make the same bytes, an unchanged file is
// left untouched, and bad sources (a misspelt key, a number too big for
// its field among them) stop it with a message naming the source.

#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/DataFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

using content_fixtures::TestFolder;

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

void BuildAll(const std::filesystem::path& data, const std::filesystem::path& out) {
  const databuilder::BuildSources sources = databuilder::ReadBuildSources(data);
  for (const databuilder::DataFile& file : databuilder::kBuildOrder) {
    databuilder::BuildDataFile(sources, file, out);
  }
}

// The build made its own files from the same sources: a second build in a
// folder of its own gives the same bytes (once, as the films take a while).
TEST(DataBuilderTest, BuildingAgainGivesTheSameBytesAsTheBuild) {
  const TestFolder folder;
  BuildAll(content_fixtures::SourceDirectory(), folder.Get());
  for (const databuilder::DataFile& file : databuilder::kDataFiles) {
    const std::vector<char> again = ReadAll(folder.Get() / file.mName);
    EXPECT_FALSE(again.empty()) << file.mName;
    EXPECT_EQ(again, ReadAll(content_fixtures::DataDirectory() / file.mName)) << file.mName;
  }
}

TEST(DataBuilderTest, AnUnchangedFileIsLeftUntouchedAndNoTemporaryRemains) {
  const TestFolder folder;
  const databuilder::BuildSources sources =
      databuilder::ReadBuildSources(content_fixtures::SourceDirectory());
  const databuilder::DataFile scripts = *databuilder::FindDataFile("Hd.mms");
  EXPECT_TRUE(databuilder::BuildDataFile(sources, scripts, folder.Get()));
  const auto written = std::filesystem::last_write_time(folder.Get() / "Hd.mms");
  std::filesystem::last_write_time(folder.Get() / "Hd.mms", written - std::chrono::hours(1));
  EXPECT_FALSE(databuilder::BuildDataFile(sources, scripts, folder.Get()));
  EXPECT_EQ(std::filesystem::last_write_time(folder.Get() / "Hd.mms"),
            written - std::chrono::hours(1));
  EXPECT_FALSE(std::filesystem::exists(folder.Get() / "Hd.mms.new"));
}

struct BadSource {
  const char* mCase;
  const char* mManifest;                   // whole manifest.toml
  const char* mSource;                     // the source file's text
  const char* mMessage;                    // what the error must say: the file, the table, the key
  const char* mPath = "scripts/bad.toml";  // the source file, below data/
  const char* mFile = "Hd.mms";            // the data file it stops
};

std::ostream& operator<<(std::ostream& out, const BadSource& bad) { return out << bad.mCase; }

constexpr const char* kSmallManifest =
    "[counts]\nscripts = 4\nmodels = 2\n[scripts]\n\"a\" = 0\n\"b\" = 1\n[models]\n\"m\" = 1\n";

const BadSource kBadSources[] = {
    {"IdTwice", "[counts]\nmodels = 3\n[models]\n\"a\" = 1\n\"b\" = 1\n", "",
     "id 1 is given twice"},
    {"IdOutsideTheFile", "[counts]\nmodels = 3\n[models]\n\"a\" = 3\n", "", "outside 0..2"},
    {"NameTooLong", "[counts]\nmodels = 3\n[models]\n\"abcdefghijklmnopqrstuvwxyz012345\" = 1\n",
     "", "longer than 31"},
    {"NotToml", "[counts\n", "", "manifest.toml"},
    {"UnknownSymbol", kSmallManifest, "[[def]]\nname = \"a\"\nmodel = \"nothing\"\n",
     "no models item \"nothing\""},
    {"UnknownLayout", kSmallManifest, "[[table]]\nname = \"a\"\nlayout = \"XYZ\"\n",
     "no row layout \"XYZ\""},
    {"MadeTwice", kSmallManifest,
     "[[table]]\nname = \"a\"\nrows = [[0, 1]]\n[[table]]\nname = \"a\"\nrows = [[0, 1]]\n",
     "a: made twice"},
    {"DefinitionWithoutModel", kSmallManifest, "[[def]]\nname = \"b\"\n", "needs its model"},
    {"RowTooWide", kSmallManifest, "[[table]]\nname = \"a\"\nlayout = \"I16\"\nrows = [[1, 2]]\n",
     "at most 1 fields"},
    {"NumberTooBigForItsField", kSmallManifest,
     "[[table]]\nname = \"a\"\nlayout = \"I16\"\nrows = [[99999]]\n",
     "bad.toml: a rows: 99999 does not fit a field of 2 bytes"},
    {"HalfTooBigForItsField", kSmallManifest, "[[table]]\nname = \"a\"\nrows = [[0, 1, 65536]]\n",
     "bad.toml: a rows: 65536 does not fit a field of 2 bytes"},
    {"NumberTooBigForAnyField", kSmallManifest,
     "[[def]]\nname = \"b\"\nmodel = \"m\"\ntool = 4294967296\n",
     "bad.toml: b tool: 4294967296 does not fit a field of 4 bytes"},
    {"MisspeltTableKey", kSmallManifest, "[[table]]\nname = \"a\"\nlayuot = \"I16\"\n",
     "bad.toml: a: key \"layuot\" is not known"},
    {"MisspeltKeyOfAnInlineTable", kSmallManifest,
     "[[table]]\nname = \"a\"\nrows = [[0, { table = { rows = [[1]], colr = 2 } }]]\n",
     "bad.toml: a: key \"colr\" is not known"},
    {"MisspeltRecipeKey", kSmallManifest,
     "[\"m\"]\nkind = \"cursor\"\noutline = [[0, 0], [0, -1], [1, -1]]\ncolr = \"sky\"\n",
     "bad.toml: recipe \"m\": key \"colr\" is not known", "models/bad.toml", "vpl3d.MMM"},
    {"MisspeltLayoutKey", kSmallManifest,
     "[objects]\n\"x\" = { screen = \"interface\", at = [0, 0], size = [1, 1], szie = 1 }\n",
     "bad.toml: x: key \"szie\" is not known", "layout/bad.toml"},
    {"FrameTooBigForItsField", kSmallManifest, "[button]\ntags = { 9 = 70000 }\n",
     "clips.toml: button tags 9: 70000 does not fit a field of 2 bytes", "clips.toml"},
};

class BadSourceTest : public ::testing::TestWithParam<BadSource> {};

TEST_P(BadSourceTest, StopsWithAMessageAndWritesNothing) {
  const TestFolder folder;
  const std::filesystem::path data = folder.Get() / "data";
  const std::filesystem::path source = data / GetParam().mPath;
  std::filesystem::create_directories(source.parent_path());
  std::ofstream(data / "manifest.toml") << GetParam().mManifest;
  std::ofstream(source) << GetParam().mSource;
  try {
    BuildAll(data, folder.Get() / "out");
    ADD_FAILURE() << "built";
  } catch (const databuilder::BuildError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().mMessage), std::string::npos)
        << error.what();
  }
  const std::filesystem::path stopped = folder.Get() / "out" / GetParam().mFile;
  EXPECT_FALSE(std::filesystem::exists(stopped));
  EXPECT_FALSE(std::filesystem::exists(stopped.string() + ".new"));
}

INSTANTIATE_TEST_SUITE_P(EachFault, BadSourceTest, ::testing::ValuesIn(kBadSources),
                         [](const auto& test) { return std::string(test.param.mCase); });

}  // namespace
