// The builder: the same sources make the same bytes, an unchanged file is
// left untouched, and bad sources stop it with a message naming the
// source.

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
  const char* mManifest;  // whole manifest.toml
  const char* mScripts;   // data/scripts/bad.toml
  const char* mMessage;   // what the error must say
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
};

class BadSourceTest : public ::testing::TestWithParam<BadSource> {};

TEST_P(BadSourceTest, StopsWithAMessageAndWritesNothing) {
  const TestFolder folder;
  const std::filesystem::path data = folder.Get() / "data";
  std::filesystem::create_directories(data / "scripts");
  std::ofstream(data / "manifest.toml") << GetParam().mManifest;
  std::ofstream(data / "scripts" / "bad.toml") << GetParam().mScripts;
  try {
    BuildAll(data, folder.Get() / "out");
    ADD_FAILURE() << "built";
  } catch (const databuilder::BuildError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().mMessage), std::string::npos)
        << error.what();
  }
  EXPECT_FALSE(std::filesystem::exists(folder.Get() / "out" / "Hd.mms"));
  EXPECT_FALSE(std::filesystem::exists(folder.Get() / "out" / "Hd.mms.new"));
}

INSTANTIATE_TEST_SUITE_P(EachFault, BadSourceTest, ::testing::ValuesIn(kBadSources),
                         [](const auto& test) { return std::string(test.param.mCase); });

}  // namespace
