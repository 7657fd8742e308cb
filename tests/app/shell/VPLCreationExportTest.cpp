// The creation screen's exports on the program's stage: the first free
// name of each kind, nothing written when the picture was not drawn, and
// printing switched off or failing.

#include "app/objects/VPLServices.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "foundation/uu/UUFileSystem.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/DialogData.h"
#include "tests/foundation/uu/TempDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;

struct NameCase {
  const char* mName;
  std::vector<std::string> mExisting;
  bool mJpeg;
  const char* mWritten;
};

class VPLCreationExportTest : public ::testing::TestWithParam<NameCase> {
 protected:
  VPLCreationExportTest() { VPLOpenGLFirst = 1; }
  ~VPLCreationExportTest() override {
    VPLGetServices().mRenderToSurface = nullptr;
    mStage.reset();
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    Screen().SetExportsFolder(mFolder.Directory());
  }

  VPLSceneCreationUI& Screen() {
    return *static_cast<VPLActCreation*>(mStage->Act())->GetInterface();
  }
  // Drawing gives the time, drawn or not.
  void RenderGives(bool drawn) {
    VPLGetServices().mRenderToSurface = [drawn](MMSurface&, int32_t time, bool) {
      return VPLSurfaceRendering{.mTime = time, .mRendered = drawn};
    };
  }
  bool Exists(const std::string& name) const {
    return UUFileExists(mFolder.Directory(), name.c_str());
  }

  TempDirectory mFolder;
  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage = std::make_unique<ProgramStage>(&mMaker, 1);
};

TEST_P(VPLCreationExportTest, APictureTakesTheFirstFreeNameOfItsKind) {
  for (const std::string& name : GetParam().mExisting) mFolder.MakeFile(name, "x");
  RenderGives(true);
  EXPECT_TRUE(GetParam().mJpeg ? Screen().ExportJpeg() : Screen().ExportBmp());
  EXPECT_TRUE(Exists(GetParam().mWritten));
}

INSTANTIATE_TEST_SUITE_P(
    Names, VPLCreationExportTest,
    ::testing::Values(
        NameCase{"AfterOneAndTwo", {"Picture 1.bmp", "Picture 2.bmp"}, false, "Picture 3.bmp"},
        NameCase{"TheFirstGap", {"Picture 2.bmp"}, false, "Picture 1.bmp"},
        NameCase{"JpegCountsApart", {"Picture 1.bmp"}, true, "Picture 1.jpg"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.mName; });

using VPLCreationExportFailureTest = VPLCreationExportTest;

TEST_F(VPLCreationExportFailureTest, APictureThatWasNotDrawnIsNeverWritten) {
  RenderGives(false);
  EXPECT_FALSE(Screen().ExportBmp());
  EXPECT_FALSE(Screen().ExportJpeg());
  EXPECT_FALSE(Exists("Picture 1.bmp"));
  EXPECT_FALSE(Exists("Picture 1.jpg"));
}

TEST_F(VPLCreationExportFailureTest, PrintingSwitchedOffPrintsNothing) {
  dialog_data::DialogServices services(mStage->Stage().GetTextureMap());
  services.Preferences().SetPrinting(0);
  bool drawn = false;
  VPLGetServices().mRenderToSurface = [&drawn](MMSurface&, int32_t time, bool) {
    drawn = true;
    return VPLSurfaceRendering{.mTime = time, .mRendered = true};
  };
  EXPECT_FALSE(Screen().Print(0, true));
  EXPECT_FALSE(drawn);
}

TEST_F(VPLCreationExportFailureTest, TheUnsupportedOptionFails) {
  EXPECT_FALSE(Screen().ExportUnsupported());
}

}  // namespace
