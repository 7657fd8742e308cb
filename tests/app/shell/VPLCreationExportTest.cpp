// The creation screen's exports on the program's stage: the first free
// name of each kind, the picture the stage rendered written as it is, the
// movie's frames a tenth of a second apart in the creation's time, nothing
// written when the picture was not drawn, and printing switched off,
// without a printer, and with the character's part highlight kept off the
// page.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjButtonTool.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/MMSurface.h"
#include "platform/quicktime/quicktime.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/testhooks.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/DialogData.h"
#include "tests/foundation/uu/TempDirectory.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
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
  // The stage's own offscreen rendering, and what it drew each time.
  void RenderOnTheStage(const std::function<void(MMSurface&, int32_t)>& drawn) {
    VPLGetServices().mRenderToSurface = [this, drawn](MMSurface& surface, int32_t time,
                                                      bool white) {
      const VPLSurfaceRendering result = mStage->Stage().RenderToSurface(surface, time, white);
      if (result.mRendered) drawn(surface, result.mTime);
      return result;
    };
  }
  VPLCreation& Creation() { return *Screen().GetCreationArea()->GetCreation(); }
  VPLObjCreationChar& Character() {
    return *dynamic_cast<VPLObjCreationChar*>(Creation().FindCharacter());
  }
  std::string HostPath(const std::string& name) const {
    return vpl::platform::ToHostPath(mFolder.Path(name).c_str());
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
  const vpl::test::PrintFile printer;
  dialog_data::DialogServices services(mStage->Stage().GetTextureMap());
  services.Preferences().SetPrinting(0);
  bool drawn = false;
  VPLGetServices().mRenderToSurface = [&drawn](MMSurface&, int32_t time, bool) {
    drawn = true;
    return VPLSurfaceRendering{.mTime = time, .mRendered = true};
  };
  EXPECT_FALSE(Screen().Print(0, true));
  EXPECT_FALSE(drawn);
  EXPECT_FALSE(printer.Exists());
}

TEST_F(VPLCreationExportFailureTest, TheUnsupportedOptionFails) {
  EXPECT_FALSE(Screen().ExportUnsupported());
}

// The 32-bit pixels of a surface, top row first, without the fourth byte.
std::vector<uint32_t> Pixels(MMSurface& surface) {
  std::vector<uint32_t> pixels;
  surface.BeginDraw();
  MMBitmap image;
  if (surface.GetImageDescription(image)) {
    for (int32_t y = image.mRect.mTop; y < image.mRect.mBottom; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(image.GetPixelAddress(0, y));
      for (int32_t x = 0; x < image.mRect.GetWidth(); ++x) pixels.push_back(row[x] & 0xFFFFFF);
    }
  }
  surface.EndDraw();
  return pixels;
}

// The pixels of an 800 x 600 BMP of 32 bits, top row first.
std::vector<uint32_t> BmpPixels(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  constexpr size_t kHeader = 54;
  constexpr size_t kWidth = 800;
  constexpr size_t kHeight = 600;
  std::vector<uint32_t> pixels;
  if (bytes.size() != kHeader + kWidth * kHeight * 4) return pixels;
  for (size_t y = kHeight; y-- > 0;) {
    for (size_t x = 0; x < kWidth; ++x) {
      const uint8_t* p = &bytes[kHeader + (y * kWidth + x) * 4];
      pixels.push_back(static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16));
    }
  }
  return pixels;
}

using VPLCreationExportPictureTest = VPLCreationExportTest;

TEST_F(VPLCreationExportPictureTest, TheBmpHoldsThePictureTheStageRendered) {
  std::vector<uint32_t> rendered;
  RenderOnTheStage([&rendered](MMSurface& surface, int32_t) { rendered = Pixels(surface); });
  ASSERT_TRUE(Screen().ExportBmp());
  // A real picture: the meadow and the sky, not one colour.
  EXPECT_GT(std::set<uint32_t>(rendered.begin(), rendered.end()).size(), 1u);
  EXPECT_EQ(BmpPixels(HostPath("Picture 1.bmp")), rendered);
}

// The movie's clock is the creation's: frame k is drawn at the first
// picture's time plus k tenths of a second, so a dancing character moves
// from frame to frame.
TEST_F(VPLCreationExportPictureTest,
       MovieFramesFollowTheCreationsTimeATenthApartAndTheCharacterDances) {
  // A character with all its parts dances through the movie.
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    Character().GetPoseVisual()->SetPartOn(part, true);
  }
  ASSERT_TRUE(Character().HasAllParts());
  ASSERT_EQ(InitializeQTML(0), noErr);
  std::vector<int32_t> times;
  std::vector<std::vector<uint32_t>> frames;
  RenderOnTheStage([&](MMSurface& surface, int32_t time) {
    times.push_back(time);
    frames.push_back(Pixels(surface));
  });
  const bool exported = Screen().ExportMovie();
  TerminateQTML();
  ASSERT_TRUE(exported);
  EXPECT_TRUE(Exists("Movie 1.mov"));
  ASSERT_EQ(times.size(), 101u);
  // The first picture fixes the start; the frames follow it.
  for (size_t k = 0; k < 100; ++k)
    EXPECT_EQ(times[k + 1], times[0] + 100 * static_cast<int32_t>(k));
  size_t changes = 0;
  for (size_t k = 2; k < frames.size(); ++k) changes += frames[k] != frames[k - 1] ? 1 : 0;
  EXPECT_GT(changes, 50u);
}

TEST_F(VPLCreationExportFailureTest, WithoutAPrinterPrintingSaysSoAndFails) {
  unsetenv("VPL3D_PRINT_FILE");
  RenderOnTheStage([](MMSurface&, int32_t) {});
  const int boxes = vpl::platform::MessageBoxCount();
  EXPECT_FALSE(Screen().Print(0, true));
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes + 1);
  EXPECT_EQ(vpl::platform::LastMessageBoxText(), VPLStringList().GetText(32));
}

// The parts the highlight shows, by body part.
std::vector<bool> GhostParts(VPLObjCreationChar& character) {
  std::vector<bool> parts;
  VPLBasePombleVisual* highlight = character.GetHighlightVisual();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    parts.push_back(highlight != nullptr && highlight->IsPartOn(part));
  }
  return parts;
}

TEST_F(VPLCreationExportPictureTest, ThePageShowsNoGhostPartsAndTheHighlightComesBack) {
  const vpl::test::PrintFile printer;
  VPLObjButtonTool* pomble = Screen().GetToolButton(VPLSceneCreationUI::kPombleTool);
  const UUPoint at =
      shell_test::PointOnStage(*Screen().GetView(), VPLSceneBase::ObjectCentre(*pomble));
  mStage->Move(at);
  mStage->Press(at);
  mStage->Release(at);
  mStage->RunFrame();
  mStage->RunFrame();
  ASSERT_TRUE(Screen().IsPombleToolCurrent());
  const std::vector<bool> before = GhostParts(Character());
  ASSERT_NE(std::find(before.begin(), before.end(), true), before.end());
  std::vector<std::vector<bool>> onPage;
  RenderOnTheStage([&](MMSurface&, int32_t) { onPage.push_back(GhostParts(Character())); });
  EXPECT_TRUE(Screen().Print(0, true));
  EXPECT_EQ(onPage, std::vector<std::vector<bool>>{std::vector<bool>(kVPLBodyPartCount, false)});
  EXPECT_EQ(GhostParts(Character()), before);
  EXPECT_EQ(printer.ReadInfo().pages, 1);
}

// The page without the background shows the creation on white: the sky
// and the meadow are left out; with the background both stay, and the
// screen shows them again after either page.
TEST_F(VPLCreationExportPictureTest, APageWithoutTheBackgroundLeavesTheSkyAndTheMeadowOut) {
  constexpr uint32_t kWhite = 0xFFFFFF;
  const vpl::test::PrintFile printer;
  std::vector<std::vector<uint32_t>> pages;
  RenderOnTheStage([&pages](MMSurface& surface, int32_t) { pages.push_back(Pixels(surface)); });
  for (const bool background : {false, true}) {
    ASSERT_TRUE(Screen().Print(0, !background)) << "background " << background;
    EXPECT_EQ(Screen().GetCreationArea()->GetBackdropMolecule()->GetVisibility(), kMMShown);
    EXPECT_EQ(Screen().GetCreationArea()->GetGroundMolecule()->GetVisibility(), kMMShown);
  }
  ASSERT_EQ(pages.size(), 2u);
  const std::vector<uint32_t>& without = pages[0];
  const std::vector<uint32_t>& with = pages[1];
  // The top corners are sky and the bottom ones meadow on the screen.
  const size_t corners[] = {0, 799, without.size() - 800, without.size() - 1};
  for (const size_t corner : corners) {
    EXPECT_EQ(without[corner], kWhite) << "corner " << corner;
    EXPECT_NE(with[corner], kWhite) << "corner " << corner;
  }
  // The creation is empty: nothing but white is left on the page.
  EXPECT_EQ(static_cast<size_t>(std::count(without.begin(), without.end(), kWhite)),
            without.size());
}

}  // namespace
