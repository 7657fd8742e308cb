// The content check on the files the build made: every check finds
// nothing, and the program's start-up opens all six files.

#include "foundation/af/AFError.h"
#include "foundation/uu/UUDirectory.h"
#include "media/startup/MMResourceFiles.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "platform/win32/PathMapping.h"
#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/FilmChecks.h"
#include "tools/databuilder/check/PombleChecks.h"
#include "tools/databuilder/check/SoundChecks.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using content_check::Findings;
using content_fixtures::DataDirectory;
using content_fixtures::SourceManifest;

struct NamedCheck {
  const char* mName;
  std::function<Findings()> mRun;
};

std::ostream& operator<<(std::ostream& out, const NamedCheck& check) { return out << check.mName; }

const NamedCheck kChecks[] = {
    {"FileHeaders",
     [] { return content_check::CheckFileHeaders(DataDirectory(), SourceManifest()); }},
    {"CodeIds", [] { return content_check::CheckCodeIds(DataDirectory(), SourceManifest()); }},
    {"ScriptTables",
     [] { return content_check::CheckScriptTables(DataDirectory(), SourceManifest()); }},
    {"ToolTables",
     [] { return content_check::CheckToolTables(DataDirectory(), SourceManifest()); }},
    {"AlignedLists", [] { return content_check::CheckAlignedLists(DataDirectory()); }},
    {"AbsorbedFaults", [] { return content_check::CheckAbsorbedFaults(DataDirectory()); }},
    {"Texts", [] { return content_check::CheckTexts(DataDirectory()); }},
    {"Layout",
     [] {
       return content_check::CheckLayout(
           databuilder::InterfaceLayout::Read(content_fixtures::SourceDirectory() / "layout"));
     }},
    {"StringTable", [] { return content_check::CheckStringTable(DataDirectory()); }},
    {"CreditsStar",
     [] {
       return content_check::CheckCreditsStar(
           DataDirectory(), SourceManifest(),
           databuilder::InterfaceLayout::Read(content_fixtures::SourceDirectory() / "layout"));
     }},
    {"OptionPanels",
     [] { return content_check::CheckOptionPanels(DataDirectory(), SourceManifest()); }},
    {"Pomble", [] { return content_check::CheckPomble(DataDirectory()); }},
    {"Sounds", [] { return content_check::CheckSounds(DataDirectory()); }},
    {"Films", [] { return content_check::CheckFilms(DataDirectory()); }},
};

class ContentCheckTest : public ::testing::TestWithParam<NamedCheck> {};

TEST_P(ContentCheckTest, FindsNothingInTheBuiltFiles) {
  const Findings findings = GetParam().mRun();
  for (const std::string& finding : findings) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(EveryCheck, ContentCheckTest, ::testing::ValuesIn(kChecks),
                         [](const auto& test) { return std::string(test.param.mName); });

TEST(ContentStartUpTest, TheDataFileStartUpOpensAllSixFromTheDataFolder) {
  AFClearError();
  UUDirectory data(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(DataDirectory())).c_str());
  MMClearSearchDirectories();
  MMResourceSearchDirectories.PushBack(&data);
  EXPECT_TRUE(MMStartResourceFiles());
  EXPECT_FALSE(AFErrorPending());
  MMStopResourceFiles();
  AFClearError();
}

}  // namespace
