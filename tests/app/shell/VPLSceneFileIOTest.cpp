// The file screen on a real stage with the builder's data files and a
// library of sketchbooks on disk: the child clicks, drags and types, and
// the test looks at the grids and at the files.

#include "app/shell/VPLSceneFileIO.h"

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLDisplayModeStrategy.h"
#include "app/shell/VPLFileScreenHost.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSketchButton.h"
#include "app/shell/VPLSketchGrp.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookButton.h"
#include "app/shell/VPLSketchbookGrp.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "app/shell/VPLStage.h"
#include "app/shell/VPLTextureCollectionFromSketchHandle.h"
#include "foundation/af/AFError.h"
#include "foundation/uu/UUFileSystem.h"
#include "media/startup/MMResourceFiles.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "mm/stage/MMInputStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DMaterial.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/testhooks.h"
#include "tests/app/shell/ShellTestFolder.h"
#include "tests/app/shell/SketchTestSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kFileScreenScene = 2;
constexpr int32_t kYes = 1;
constexpr int32_t kNo = 2;
// The same cover drawn in two cells differs by the cells' places alone.
constexpr int kCoverTolerance = 12;

fs::path DataFolder() {
  const char* fromEnvironment = std::getenv("VPL_DATA_DIR");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  return fs::path(VPL3D_PROGRAM).parent_path();
}

// The builder's scripts, sounds, textures and models, open while the object
// lives.
class DataFiles {
 public:
  DataFiles() : mFolder(vpl::platform::ToWindowsPath(fs::absolute(DataFolder())).c_str()) {
    MMClearSearchDirectories();
    MMResourceSearchDirectories.PushBack(&mFolder);
    mOpen = MMOpenScriptFiles() && MMOpenSoundFiles() && MMOpenTextureFiles() && MMOpenModelFiles();
  }
  ~DataFiles() {
    MMCloseModelFiles();
    MMCloseTextureFiles();
    MMCloseSoundFiles();
    MMCloseScriptFiles();
    MMClearSearchDirectories();
    AFClearError();
  }
  bool IsOpen() const { return mOpen; }

 private:
  UUDirectory mFolder;
  bool mOpen = false;
};

class RecordingHost : public VPLFileScreenHost {
 public:
  void ReturnToCreation() override { ++mReturns; }
  void ShowCredits(VPL3DCallbackDialog*) override {}
  void OpenDialog(VPLObjEventGrp* dialog) override { mScreen->AddDialog(dialog); }

  VPLSceneFileIO* mScreen = nullptr;
  int mReturns = 0;
};

class VPLSceneFileIOTest : public ::testing::Test {
 protected:
  VPLSceneFileIOTest() {
    setenv("XDG_CONFIG_HOME", (mFolder.Path() / "config").c_str(), 1);
    vpl::platform::RestartRegistryStore();
    mPreferences.Open();
    fs::create_directories(mFolder.Path() / "Library");
    UUGetSubdirectory(UUDirectory(vpl::platform::ToWindowsPath(mFolder.Path()).c_str()), "Library",
                      mLibraryFolder);
    mLibrary = std::make_unique<VPLSketchbookLibrary>(mLibraryFolder);
  }
  ~VPLSceneFileIOTest() override {
    mStage.reset();
    VPLServices& services = VPLGetServices();
    services.mPreferences = nullptr;
    services.mTextureMap = nullptr;
    services.mQuit = nullptr;
  }

  // Books of the sketch counts with the covers, the first of them made by
  // the library's own first start; then the screen opens on book `current`.
  void MakeLibrary(const std::vector<int>& sketches, const std::vector<int16_t>& covers,
                   int32_t current) {
    ASSERT_TRUE(mLibrary->Load(true));
    for (size_t i = 1; i < sketches.size(); ++i) {
      VPLSketchbook* book = nullptr;
      ASSERT_TRUE(mLibrary->NewSketchbook(covers[i], book));
    }
    for (size_t i = 0; i < sketches.size(); ++i) {
      ASSERT_TRUE(mLibrary->SelectSketchbookAt(static_cast<int32_t>(i)));
      VPLSketchbook* book = mLibrary->GetCurrentSketchbook();
      while (book->GetSketchCount() < sketches[i]) {
        VPLSketch* sketch = nullptr;
        ASSERT_TRUE(book->NewSketch(sketch));
      }
    }
    ASSERT_TRUE(mLibrary->SelectSketchbookAt(current));
  }
  void Open() {
    ASSERT_TRUE(mData.IsOpen());
    VPLGetServices().mPreferences = &mPreferences;
    VPLGetServices().mQuit = [this] { ++mQuits; };
    mStage = std::make_unique<InterfaceStage>(
        [this](MMSceneServices* host, MMEnclosure* enclosure, MMView* view) {
          mScreen = new VPLSceneFileIO(
              host, enclosure, view, kFileScreenScene,
              VPLFileScreenParts{
                  .mHost = &mHost, .mLibrary = mLibrary.get(), .mThumbnails = &mThumbnails});
          mHost.mScreen = mScreen;
          return mScreen;
        });
    // The thumbnails and covers go to the stage's driver once it exists.
    VPLGetServices().mTextureMap = mStage->Stage()->GetTextureMap();
    mScreen->Activate();
    mStage->RunFrame();
  }

  VPLSketchbook& CurrentBook() { return *mLibrary->GetCurrentSketchbook(); }
  // Saves the current book's sketch n again with a thumbnail whose pixel
  // (x, y) is the colour (0xRRGGBB) the picture gives.
  void PaintThumbnail(int32_t n, const std::function<uint32_t(int32_t, int32_t)>& picture) {
    const int32_t size = VPLSketchButton::kThumbnailSize;
    std::unique_ptr<MMBitmapWithPixels> thumbnail(
        MMBitmapWithPixels::Create(UURect(0, 0, size, size), kMMFormat32, nullptr));
    for (int32_t y = 0; y < size; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(thumbnail->GetPixelAddress(0, y));
      for (int32_t x = 0; x < size; ++x) row[x] = picture(x, y);
    }
    sketch_test::FakeCreation creation;
    ASSERT_TRUE(CurrentBook().GetSketchAt(n)->Write(&creation, *thumbnail));
  }
  static std::function<uint32_t(int32_t, int32_t)> Plain(uint32_t colour) {
    return [colour](int32_t, int32_t) { return colour; };
  }
  UUPoint PointOf(const VPLObj& object) {
    return mStage->ScreenPointOf(VPLSceneBase::ObjectCentre(object));
  }
  void Click(const VPLObj& object) {
    const UUPoint at = PointOf(object);
    mStage->Move(at);
    mStage->Press(at);
    mStage->Release(at);
    mStage->RunFrame();
  }
  // Presses on the object, moves in steps to the target and lets go there.
  void DragTo(const VPLObj& object, UUPoint target) {
    const UUPoint from = PointOf(object);
    mStage->Move(from);
    mStage->Press(from);
    mStage->Drag(UUPoint{(from.mX + target.mX) / 2, (from.mY + target.mY) / 2});
    mStage->Drag(target);
    mStage->Release(target);
    mStage->RunFrame();
  }
  void Answer(int32_t answer) {
    auto* dialog = mScreen->GetActiveDialog().mDialog;
    ASSERT_NE(dialog, nullptr);
    dialog->Respond(answer);
    RunFrames();
  }
  // Runs the tasks an answer posts and what they post in turn.
  virtual void RunFrames() {
    mStage->RunFrame();
    mStage->RunFrame();
  }
  VPLSketchButton& SketchCell(int16_t i) { return *mScreen->GetSketchGrid()->GetCell(i); }
  VPLSketchbookButton& BookCell(int16_t i) { return *mScreen->GetSketchbookGrid()->GetCell(i); }
  std::vector<bool> SketchFilesExist(const std::string& book, int count) {
    std::vector<bool> exist;
    for (int i = 1; i <= count; ++i) {
      exist.push_back(
          fs::exists(mFolder.Path() / "Library" / book / ("Sketch " + std::to_string(i))));
    }
    return exist;
  }

  ShellTestFolder mFolder{"files"};
  DataFiles mData;
  UUDirectory mLibraryFolder;
  std::unique_ptr<VPLSketchbookLibrary> mLibrary;
  VPLTextureCollectionFromSketchHandle mThumbnails;
  VPLPreferences mPreferences;
  RecordingHost mHost;
  VPLSceneFileIO* mScreen = nullptr;
  std::unique_ptr<InterfaceStage> mStage;
  int mQuits = 0;
};

struct ScrollCase {
  int32_t mCurrent;
  int16_t mColumns;
  int16_t mRows;
  int16_t mOffset;
};

TEST(VPLSketchGrpTest, TheCurrentSketchScrollsIntoTheLastRowOnceBeyondTheFirstPage) {
  const ScrollCase cases[] = {
      {.mCurrent = 6, .mColumns = 3, .mRows = 2, .mOffset = 3},
      {.mCurrent = 5, .mColumns = 3, .mRows = 2, .mOffset = 0},
      {.mCurrent = 9, .mColumns = 3, .mRows = 2, .mOffset = 6},
      {.mCurrent = 0, .mColumns = 3, .mRows = 2, .mOffset = 0},
      {.mCurrent = 12, .mColumns = 3, .mRows = 2, .mOffset = 9},
      // A layout without cells has nothing to scroll.
      {.mCurrent = 4, .mColumns = 0, .mRows = 2, .mOffset = 0},
      {.mCurrent = 4, .mColumns = 3, .mRows = 0, .mOffset = 0},
  };
  for (const ScrollCase& c : cases) {
    EXPECT_EQ(VPLSketchGrp::OffsetShowing(c.mCurrent, c.mColumns, c.mRows), c.mOffset)
        << "sketch " << c.mCurrent << " in " << c.mColumns << " x " << c.mRows;
  }
}

TEST_F(VPLSceneFileIOTest, TheBookGridSkipsTheCurrentBookAndHidesWhatIsLeft) {
  MakeLibrary({1, 1, 1}, {0, 1, 2}, 1);
  Open();
  VPLSketchbookGrp& grid = *mScreen->GetSketchbookGrid();
  EXPECT_EQ(grid.GetCell(0)->GetItem(), mLibrary->GetSketchbookAt(0));
  EXPECT_EQ(grid.GetCell(1)->GetItem(), mLibrary->GetSketchbookAt(2));
  EXPECT_EQ(grid.GetCell(2)->GetVisibility(), kMMHidden);
}

TEST_F(VPLSceneFileIOTest, ThePickerOffersTheFreeCoversAndThenEmptyCells) {
  MakeLibrary({1, 1}, {0, 2}, 0);
  Open();
  mScreen->ToggleCoverPicker();
  VPLSketchbookIconGrp& picker = *mScreen->GetCoverPicker();
  std::vector<int16_t> covers;
  for (int16_t i = 0; i < picker.GetChildCount(); ++i)
    covers.push_back(picker.GetCell(i)->GetCover());
  EXPECT_EQ(covers, (std::vector<int16_t>{1, 3, 4, 5}));
  EXPECT_EQ(picker.GetCell(0)->GetVisibility(), kMMShown);
}

TEST_F(VPLSceneFileIOTest, SevenSketchesWithTheSeventhCurrentScrollToOffsetThree) {
  MakeLibrary({7}, {0}, 0);
  ASSERT_TRUE(CurrentBook().SelectSketchAt(6));
  Open();
  EXPECT_EQ(mScreen->GetSketchGrid()->GetOffset(), 3);
  EXPECT_EQ(mScreen->GetSketchGrid()->GetMarkedCell(), &SketchCell(3));
}

TEST_F(VPLSceneFileIOTest, AClickMakesTheSketchCurrentWithoutADragImage) {
  MakeLibrary({3}, {0}, 0);
  ASSERT_TRUE(CurrentBook().SelectSketchAt(0));
  Open();
  const UUPoint at = PointOf(SketchCell(2));
  mStage->Move(at);
  mStage->Press(at);
  EXPECT_FALSE(SketchCell(2).IsDragImageShown());
  mStage->Release(at);
  mStage->RunFrame();
  EXPECT_EQ(CurrentBook().GetCurrentIndex(), 2);
  EXPECT_TRUE(SketchCell(2).IsMarkerShown());
  EXPECT_FALSE(SketchCell(0).IsMarkerShown());
  Click(SketchCell(2));
  EXPECT_TRUE(SketchCell(2).IsMarkerShown());
}

TEST_F(VPLSceneFileIOTest, ASavedAgainSketchShowsItsNewThumbnail) {
  MakeLibrary({1}, {0}, 0);
  PaintThumbnail(0, Plain(0xE02020));
  Open();
  const UUPoint at = PointOf(SketchCell(0));
  const Rgb before = mStage->PixelAt(at);
  EXPECT_GT(before.mRed, before.mBlue + 64) << before;
  PaintThumbnail(0, Plain(0x2020E0));
  mScreen->Activate();
  mStage->RunFrame();
  const Rgb after = mStage->PixelAt(at);
  EXPECT_GT(after.mBlue, after.mRed + 64) << after;
}

TEST_F(VPLSceneFileIOTest, ADoubleClickOpensTheSketch) {
  MakeLibrary({2}, {0}, 0);
  Open();
  const UUPoint at = PointOf(SketchCell(1));
  mStage->Move(at);
  mStage->Press(at);
  mStage->Release(at);
  mStage->DoubleClick(at);
  mStage->Release(at);
  mStage->RunFrame();
  EXPECT_EQ(CurrentBook().GetCurrentIndex(), 1);
  EXPECT_EQ(mHost.mReturns, 1);
}

TEST_F(VPLSceneFileIOTest, ASketchDroppedOnABookMovesThere) {
  MakeLibrary({2, 1}, {0, 1}, 0);
  Open();
  VPLSketch* moving = SketchCell(1).GetItem();
  DragTo(SketchCell(1), PointOf(BookCell(0)));
  EXPECT_EQ(CurrentBook().GetSketchCount(), 1);
  EXPECT_FALSE(CurrentBook().Holds(moving));
  EXPECT_EQ(mLibrary->GetSketchbookAt(1)->GetSketchCount(), 2);
  EXPECT_FALSE(BookCell(0).IsMarkerShown());
}

TEST_F(VPLSceneFileIOTest, ABookDraggedOntoTheSketchesBecomesCurrent) {
  MakeLibrary({1, 2}, {0, 1}, 0);
  Open();
  VPLSketchbook* dragged = BookCell(0).GetItem();
  const UUPoint from = PointOf(BookCell(0));
  const UUPoint onSketches = PointOf(SketchCell(1));
  mStage->Move(from);
  mStage->Press(from);
  mStage->Drag(onSketches);
  EXPECT_TRUE(mScreen->GetSketchGrid()->IsDropHighlightShown());
  mStage->Release(onSketches);
  mStage->RunFrame();
  EXPECT_EQ(mLibrary->GetCurrentSketchbook(), dragged);
  EXPECT_FALSE(mScreen->GetSketchGrid()->IsDropHighlightShown());
  EXPECT_EQ(SketchCell(1).GetVisibility(), kMMShown);
}

TEST_F(VPLSceneFileIOTest, TheTrashOpensOnceUnderTheSketchAndClosesWhenLeft) {
  MakeLibrary({2}, {0}, 0);
  Open();
  const UUPoint from = PointOf(SketchCell(0));
  const UUPoint trash = PointOf(*mScreen->GetTrash());
  mStage->Move(from);
  mStage->Press(from);
  mStage->Drag(trash);
  EXPECT_TRUE(VPLSceneFileIO::sTrashOpen);
  mStage->Drag(UUPoint{trash.mX + 1, trash.mY});
  EXPECT_TRUE(VPLSceneFileIO::sTrashOpen);
  mStage->Drag(from);
  EXPECT_FALSE(VPLSceneFileIO::sTrashOpen);
  mStage->Release(from);
  mStage->RunFrame();
  EXPECT_EQ(CurrentBook().GetSketchCount(), 2);
}

TEST_F(VPLSceneFileIOTest, AFullBookTakesNoMoreSketches) {
  MakeLibrary({2, VPLSceneFileIO::kFullSketchbook}, {0, 1}, 0);
  Open();
  DragTo(SketchCell(1), PointOf(BookCell(0)));
  EXPECT_EQ(mScreen->GetActiveDialog().mKind, kVPLSketchbookFull);
  EXPECT_EQ(CurrentBook().GetSketchCount(), 2);
  EXPECT_EQ(mLibrary->GetSketchbookAt(1)->GetSketchCount(), VPLSceneFileIO::kFullSketchbook);
}

TEST_F(VPLSceneFileIOTest, ACoverScrolledIntoAnotherCellKeepsItsColours) {
  MakeLibrary({1, 1, 1, 1, 1}, {0, 1, 2, 3, 4}, 0);
  Open();
  VPLSketchbookGrp& grid = *mScreen->GetSketchbookGrid();
  VPLSketchbook* second = BookCell(1).GetItem();
  const Rgb before = mStage->PixelAt(PointOf(BookCell(1)));
  Click(*grid.GetForwardButton());
  mStage->RunFrame();
  ASSERT_EQ(BookCell(0).GetItem(), second);
  const Rgb after = mStage->PixelAt(PointOf(BookCell(0)));
  EXPECT_TRUE(Near(after, before, kCoverTolerance)) << after << " was " << before;
}

// A child clicking an arrow twice quickly: the second click reaches it as
// the system's double-click message, and scrolls as the first did.
TEST_F(VPLSceneFileIOTest, AQuickSecondClickOnAnArrowScrollsAgain) {
  MakeLibrary(std::vector<int>(12, 1), {0, 1, 2, 3, 4, 0, 1, 2, 3, 4, 0, 1}, 0);
  Open();
  VPLSketchbookGrp& grid = *mScreen->GetSketchbookGrid();
  Click(*grid.GetForwardButton());
  const int16_t step = grid.GetOffset();
  ASSERT_GT(step, 0);
  const UUPoint at = PointOf(*grid.GetForwardButton());
  mStage->Press(at);
  mStage->Release(at);
  mStage->DoubleClick(at);
  mStage->Release(at);
  mStage->RunFrame();
  EXPECT_EQ(grid.GetOffset(), 3 * step);
}

TEST_F(VPLSceneFileIOTest, ACoverFromThePickerMakesANewCurrentBook) {
  MakeLibrary({1}, {0}, 0);
  Open();
  mScreen->ToggleCoverPicker();
  VPLSketchbookIconButton& cover = *mScreen->GetCoverPicker()->GetCell(1);
  ASSERT_EQ(cover.GetCover(), 2);
  Click(cover);
  ASSERT_EQ(mLibrary->GetSketchbookCount(), 2);
  EXPECT_EQ(CurrentBook().GetCoverNumber(), 2);
  EXPECT_EQ(CurrentBook().GetSketchCount(), 1);
  EXPECT_EQ(mScreen->GetCoverPicker()->GetVisibility(), kMMHidden);
  EXPECT_EQ(BookCell(0).GetItem(), mLibrary->GetSketchbookAt(0));
}

TEST_F(VPLSceneFileIOTest, ACoverNumberOutsideTheTableShowsNoCover) {
  MakeLibrary({1, 1}, {0, 1}, 0);
  VPLSketchbook& other = *mLibrary->GetSketchbookAt(1);
  ASSERT_TRUE(VPLSketchbook::WriteIndex(other.GetDirectory(), other.GetCreationTime(), 3000));
  mLibrary->Unload();
  ASSERT_TRUE(mLibrary->Load(true));
  ASSERT_TRUE(mLibrary->SelectSketchbookAt(0));
  Open();
  EXPECT_EQ(BookCell(0).GetVisibility(), kMMShown);
  EXPECT_TRUE(BookCell(0).GetTextureLayer().GetTexture().IsEmpty());
}

TEST_F(VPLSceneFileIOTest, ASketchDroppedOnTheTrashIsDeletedOnlyAfterYes) {
  MakeLibrary({2}, {0}, 0);
  mPreferences.SetPromptForDelete(1);
  Open();
  DragTo(SketchCell(1), PointOf(*mScreen->GetTrash()));
  ASSERT_EQ(mScreen->GetActiveDialog().mKind, kVPLDeleteSketchQuestion);
  Answer(kNo);
  EXPECT_EQ(CurrentBook().GetSketchCount(), 2);
  EXPECT_EQ(SketchCell(1).GetVisibility(), kMMShown);
  DragTo(SketchCell(1), PointOf(*mScreen->GetTrash()));
  Answer(kYes);
  EXPECT_EQ(CurrentBook().GetSketchCount(), 1);
  EXPECT_EQ(SketchFilesExist("Sketchbook 1", 2), (std::vector<bool>{true, false}));
  EXPECT_FALSE(VPLSceneFileIO::sTrashOpen);
}

TEST_F(VPLSceneFileIOTest, WithoutTheQuestionTheDeleteKeyDeletesTheCurrentSketchAtOnce) {
  MakeLibrary({3}, {0}, 0);
  mPreferences.SetPromptForDelete(0);
  ASSERT_TRUE(CurrentBook().SelectSketchAt(1));
  Open();
  mStage->Key(VK_DELETE);
  mStage->RunFrame();
  EXPECT_EQ(CurrentBook().GetSketchCount(), 2);
  EXPECT_EQ(SketchFilesExist("Sketchbook 1", 3), (std::vector<bool>{true, false, true}));
}

TEST_F(VPLSceneFileIOTest, NothingReactsWhileTheScreenIsNotEntered) {
  MakeLibrary({3}, {0}, 0);
  mPreferences.SetPromptForDelete(0);
  Open();
  mScreen->SetEntryFlag(false);
  mStage->Key(VK_DELETE);
  Click(SketchCell(2));
  EXPECT_EQ(CurrentBook().GetSketchCount(), 3);
  EXPECT_NE(CurrentBook().GetCurrentIndex(), 2);
}

TEST_F(VPLSceneFileIOTest, DeletingTheOnlySketchOfTheOnlyBookLeavesANewBlankBook) {
  MakeLibrary({1}, {0}, 0);
  mPreferences.SetPromptForDelete(0);
  Open();
  DragTo(SketchCell(0), PointOf(*mScreen->GetTrash()));
  ASSERT_EQ(mLibrary->GetSketchbookCount(), 1);
  EXPECT_EQ(CurrentBook().GetSketchCount(), 1);
  EXPECT_EQ(SketchCell(0).GetVisibility(), kMMShown);
}

TEST_F(VPLSceneFileIOTest, CopyDoesNothingWhenDuplicatingIsOff) {
  MakeLibrary({2}, {0}, 0);
  mPreferences.SetDuplicate(0);
  Open();
  mScreen->CopySketch();
  EXPECT_EQ(CurrentBook().GetSketchCount(), 2);
  mPreferences.SetDuplicate(1);
  mScreen->CopySketch();
  EXPECT_EQ(CurrentBook().GetSketchCount(), 3);
  EXPECT_EQ(CurrentBook().GetCurrentIndex(), 2);
}

TEST_F(VPLSceneFileIOTest, EveryCoverTakenShowsItsNoticeInsteadOfThePicker) {
  std::vector<int> sketches(8, 1);
  MakeLibrary(sketches, {0, 1, 2, 3, 4, 5, 6, 7}, 0);
  Open();
  mScreen->ToggleCoverPicker();
  EXPECT_EQ(mScreen->GetCoverPicker()->GetVisibility(), kMMHidden);
  EXPECT_EQ(mScreen->GetActiveDialog().mKind, kVPLAllCoversTaken);
}

TEST_F(VPLSceneFileIOTest, QuitAsksAndYesStoresTheBookAndIsNotAskedAgain) {
  MakeLibrary({1, 1}, {0, 1}, 1);
  Open();
  EXPECT_FALSE(mScreen->OnQuitRequest(false));
  Answer(kYes);
  int32_t stored = -1;
  EXPECT_TRUE(mPreferences.GetSketchbookNumber(stored));
  EXPECT_EQ(stored, 1);
  EXPECT_EQ(mQuits, 1);
  EXPECT_TRUE(mScreen->OnQuitRequest(false));
}

// The file screen in the program's own window on the X display, made by the
// creation screen's display strategy as the program makes it.
class VPLSceneFileIOScreenTest : public VPLSceneFileIOTest, public VPLActMaker {
 protected:
  VPLSceneFileIOScreenTest() {
    MM3DCreateShadingScratch();
    MM3DCreateDeformerScratchArrays();
  }
  ~VPLSceneFileIOScreenTest() override {
    delete mWindow;
    vpl::test::DrainMessages();
    VPLSetActMaker(nullptr);
    MM3DFreeDeformerScratchArrays();
    MM3DDestroyShadingScratch();
  }

  MMAct* MakeAct(VPLStage* stage, int32_t) override {
    return new (ALGlobalAllocator) InterfaceAct(
        stage, &VPLCreationDisplayStrategy(),
        [this](MMSceneServices* host, MMEnclosure* enclosure, MMView* view) {
          mScreen = new VPLSceneFileIO(
              host, enclosure, view, kFileScreenScene,
              VPLFileScreenParts{
                  .mHost = &mHost, .mLibrary = mLibrary.get(), .mThumbnails = &mThumbnails});
          mHost.mScreen = mScreen;
          return mScreen;
        });
  }
  bool AgreesToClose(MMAct*) override { return true; }

  void Show() {
    ASSERT_TRUE(mData.IsOpen());
    VPLGetServices().mPreferences = &mPreferences;
    VPLSetActMaker(this);
    mProgramStage->Init();
    mProgramStage->RequestAct(1);
    RunFrames();
    VPLGetServices().mTextureMap = mProgramStage->GetTextureMap();
    mProgramStage->SetFocusAct(mProgramStage->GetAct());
    mScreen->Activate();
    RunFrames();
  }
  void SetControl(bool down) {
    vpl::platform::InjectKey(mWindow->GetHandle(), VK_CONTROL, down);
    vpl::test::DrainMessages();
  }
  void RunFrames() override {
    for (int frame = 0; frame < 3; ++frame) {
      mProgramStage->UpdateLoop(mProgramStage->GetTaskManager()->GetNow() + 40, true);
      vpl::test::DrainMessages();
    }
  }
  void Send(UINT message, WPARAM wParam, UUPoint at) {
    LRESULT result = 0;
    mProgramStage->GetInputStrategy()->HandleMessage(
        mProgramStage->GetControl()->GetHandle(), message, wParam,
        MAKELPARAM(static_cast<WORD>(at.mX), static_cast<WORD>(at.mY)), result);
  }
  UUPoint StagePointOf(const MM3DVector& world) {
    const MMView& view = *mScreen->GetView();
    MM3DVector inView;
    view.GetViewMatrix().TransformPoint(inView, world);
    const MM3DVector screen = view.GetProjection().Project(inView, view.GetRect());
    return UUPoint{static_cast<int32_t>(screen.mX), static_cast<int32_t>(screen.mY)};
  }
  UUPoint StagePointOf(const VPLObj& object) {
    return StagePointOf(VPLSceneBase::ObjectCentre(object));
  }
  // The stage rectangle the object's face covers.
  UURect StageRectOf(const VPLObj& object) {
    MM3DVector min;
    MM3DVector max;
    object.GetBounds(min, max);
    const UUPoint a = StagePointOf(MM3DVector{min.mX, min.mY, max.mZ, 1.0f});
    const UUPoint b = StagePointOf(MM3DVector{max.mX, max.mY, max.mZ, 1.0f});
    return UURect(std::min(a.mX, b.mX), std::min(a.mY, b.mY), std::max(a.mX, b.mX),
                  std::max(a.mY, b.mY));
  }
  void ClickOn(const VPLObj& object) {
    const UUPoint at = StagePointOf(object);
    Send(WM_MOUSEMOVE, 0, at);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Send(WM_LBUTTONUP, 0, at);
    RunFrames();
  }
  void DoubleClickOn(const VPLObj& object) {
    const UUPoint at = StagePointOf(object);
    Send(WM_MOUSEMOVE, 0, at);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
    Send(WM_LBUTTONUP, 0, at);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    Send(WM_LBUTTONUP, 0, at);
    RunFrames();
  }
  void DragOnto(const VPLObj& object, const VPLObj& target) {
    const UUPoint from = StagePointOf(object);
    const UUPoint to = StagePointOf(target);
    Send(WM_MOUSEMOVE, 0, from);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
    Send(WM_MOUSEMOVE, MK_LBUTTON, UUPoint{(from.mX + to.mX) / 2, (from.mY + to.mY) / 2});
    Send(WM_MOUSEMOVE, MK_LBUTTON, to);
    Send(WM_LBUTTONUP, 0, to);
    RunFrames();
  }
  // The window as the X server shows it, kept as a picture in the test's
  // folder (or VPL3D_SCREENSHOTS when set, to be looked at).
  vpl::test::ScreenOnX Capture(const std::string& name) {
    vpl::test::ScreenOnX screen;
    EXPECT_TRUE(screen.Capture(mWindow->GetHandle()));
    const char* kept = std::getenv("VPL3D_SCREENSHOTS");
    const fs::path file = fs::path(kept != nullptr ? kept : mFolder.Path().c_str()) / name;
    std::ofstream out(file, std::ios::binary);
    out << "P6\n" << screen.Width() << " " << screen.Height() << "\n255\n";
    for (int y = 0; y < screen.Height(); ++y) {
      for (int x = 0; x < screen.Width(); ++x) {
        const uint32_t pixel = screen.At(x, y);
        out.put(static_cast<char>(pixel >> 16)).put(static_cast<char>(pixel >> 8));
        out.put(static_cast<char>(pixel));
      }
    }
    return screen;
  }
  static size_t CountColours(const vpl::test::ScreenOnX& screen) {
    std::set<uint32_t> colours;
    for (int y = 0; y < screen.Height(); y += 4) {
      for (int x = 0; x < screen.Width(); x += 4) colours.insert(screen.At(x, y));
    }
    return colours.size();
  }

  // Each visible cell holds the sketch of its place in the book and shows
  // that sketch's thumbnail in its own colours; the marker is on the
  // current sketch alone; cells past the book are hidden.
  void ExpectEveryCellShowsItsSketch(const std::string& shot) {
    const vpl::test::ScreenOnX screen = Capture(shot);
    const VPLSketchGrp& grid = *mScreen->GetSketchGrid();
    for (int16_t i = 0; i < grid.GetChildCount(); ++i) {
      const VPLSketch* sketch = CurrentBook().GetSketchAt(grid.GetOffset() + i);
      const VPLSketchButton& cell = SketchCell(i);
      if (sketch == nullptr) {
        EXPECT_EQ(cell.GetVisibility(), kMMHidden) << "cell " << i;
        continue;
      }
      EXPECT_EQ(cell.GetItem(), sketch) << "cell " << i;
      EXPECT_EQ(cell.IsMarkerShown(), sketch == CurrentBook().GetCurrentSketch()) << "cell " << i;
      EXPECT_EQ(CountSamplesUnlikeThumbnail(screen, cell, *sketch), 0) << "cell " << i;
    }
  }
  // The sketch's thumbnail, row by row; empty when it cannot be read.
  static std::vector<uint32_t> ThumbnailOf(const VPLSketch& sketch) {
    const int32_t size = VPLSketchButton::kThumbnailSize;
    std::unique_ptr<MMBitmapWithPixels> thumbnail(
        MMBitmapWithPixels::Create(UURect(0, 0, size, size), kMMFormat32, nullptr));
    if (!sketch.ReadThumbnail(*thumbnail)) return {};
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < size; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(thumbnail->GetPixelAddress(0, y));
      pixels.insert(pixels.end(), row, row + size);
    }
    return pixels;
  }
  // How many of the book's sketches show the picture; a book that is not
  // current is read for the count and put away again.
  static int CountSketchesShowing(VPLSketchbook& book, const std::vector<uint32_t>& picture) {
    const bool wasLoaded = book.IsLoaded();
    if (!wasLoaded) EXPECT_TRUE(book.Load(false));
    int count = 0;
    for (int32_t n = 0; n < book.GetSketchCount(); ++n) {
      if (ThumbnailOf(*book.GetSketchAt(n)) == picture) ++count;
    }
    if (!wasLoaded) book.Unload();
    return count;
  }
  // Samples on a grid over the cell's face, inside its edges and clear of
  // its marker, that match no texel near the same place of the sketch's
  // thumbnail.
  int CountSamplesUnlikeThumbnail(const vpl::test::ScreenOnX& screen, const VPLObj& cell,
                                  const VPLSketch& sketch) {
    constexpr int kSamples = 6;
    constexpr float kMargin = 0.15f;
    const std::vector<uint32_t> thumbnail = ThumbnailOf(sketch);
    if (thumbnail.empty()) return kSamples * kSamples;
    const UURect face = StageRectOf(cell);
    const auto place = [](int i) {
      return kMargin + (1.0f - 2 * kMargin) * static_cast<float>(i) / (kSamples - 1);
    };
    int unlike = 0;
    for (int row = 0; row < kSamples; ++row) {
      for (int column = 0; column < kSamples; ++column) {
        const float u = place(column);
        const float v = place(row);
        const uint32_t shown =
            screen.At(face.mLeft + static_cast<int32_t>(u * static_cast<float>(face.GetWidth())),
                      face.mTop + static_cast<int32_t>(v * static_cast<float>(face.GetHeight())));
        if (!BlendsNearbyTexels(thumbnail, u, v, shown)) ++unlike;
      }
    }
    return unlike;
  }
  // Whether the shown colour lies, channel by channel, within the texels a
  // few around the place (u, v): filtering blends the texels near a
  // shape's edge, and the face may sit a pixel off its bounds.
  static bool BlendsNearbyTexels(const std::vector<uint32_t>& thumbnail, float u, float v,
                                 uint32_t shown) {
    constexpr int32_t kReach = 4;
    constexpr int kTolerance = 24;
    const int32_t size = VPLSketchButton::kThumbnailSize;
    const auto x = static_cast<int32_t>(u * static_cast<float>(size));
    const auto y = static_cast<int32_t>(v * static_cast<float>(size));
    Rgb low{.mRed = 255, .mGreen = 255, .mBlue = 255};
    Rgb high{.mRed = 0, .mGreen = 0, .mBlue = 0};
    for (int32_t dy = -kReach; dy <= kReach; ++dy) {
      for (int32_t dx = -kReach; dx <= kReach; ++dx) {
        const auto at = static_cast<size_t>(std::clamp(y + dy, 0, size - 1) * size +
                                            std::clamp(x + dx, 0, size - 1));
        const Rgb texel = ToRgb(thumbnail[at]);
        low = Rgb{.mRed = std::min(low.mRed, texel.mRed),
                  .mGreen = std::min(low.mGreen, texel.mGreen),
                  .mBlue = std::min(low.mBlue, texel.mBlue)};
        high = Rgb{.mRed = std::max(high.mRed, texel.mRed),
                   .mGreen = std::max(high.mGreen, texel.mGreen),
                   .mBlue = std::max(high.mBlue, texel.mBlue)};
      }
    }
    const Rgb colour = ToRgb(shown);
    const auto within = [](int value, int lowest, int highest) {
      return value >= lowest - kTolerance && value <= highest + kTolerance;
    };
    return within(colour.mRed, low.mRed, high.mRed) &&
           within(colour.mGreen, low.mGreen, high.mGreen) &&
           within(colour.mBlue, low.mBlue, high.mBlue);
  }
  static Rgb ToRgb(uint32_t colour) {
    return Rgb{.mRed = static_cast<int>((colour >> 16) & 0xFF),
               .mGreen = static_cast<int>((colour >> 8) & 0xFF),
               .mBlue = static_cast<int>(colour & 0xFF)};
  }

  MMStageWindow* mWindow = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  VPLStage* mProgramStage = new (ALGlobalAllocator) VPLStage(mWindow, UURect(0, 0, 800, 600));
};

TEST_F(VPLSceneFileIOScreenTest, ControlLettersTypedOnTheScreenDeleteNothing) {
  MakeLibrary({3}, {0}, 0);
  mPreferences.SetPromptForDelete(0);
  Show();
  SetControl(true);
  for (const WPARAM letter : {WPARAM{1}, WPARAM{2}}) Send(WM_CHAR, letter, UUPoint{0, 0});
  SetControl(false);
  RunFrames();
  EXPECT_EQ(CurrentBook().GetSketchCount(), 3);
  Send(WM_KEYDOWN, VK_DELETE, UUPoint{0, 0});
  RunFrames();
  EXPECT_EQ(CurrentBook().GetSketchCount(), 2);
}

TEST_F(VPLSceneFileIOScreenTest, ShowsSketchesAndBooksAndTheDraggedSketchOnXDisplay) {
  if (!vpl::test::ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
  MakeLibrary({3, 1}, {0, 1}, 0);
  for (const auto& [n, colour] : {std::pair{0, 0xF2C94Cu}, {1, 0x6FCF97u}, {2, 0xEB5757u}}) {
    PaintThumbnail(n, Plain(colour));
  }
  Show();
  const vpl::test::ScreenOnX still = Capture("file-screen.ppm");
  EXPECT_GT(CountColours(still), 20u);
  const UUPoint from = StagePointOf(SketchCell(1));
  const UUPoint to{from.mX + 60, from.mY + 80};
  Send(WM_MOUSEMOVE, 0, from);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
  Send(WM_MOUSEMOVE, MK_LBUTTON, to);
  RunFrames();
  EXPECT_TRUE(SketchCell(1).IsDragImageShown());
  const vpl::test::ScreenOnX dragging = Capture("file-screen-drag.ppm");
  EXPECT_NE(dragging.At(to.mX, to.mY), still.At(to.mX, to.mY));
  Send(WM_LBUTTONUP, 0, to);
  RunFrames();
}

// Ten sketches told apart by a shape and two colours of their own.
struct SketchLook {
  bool (*mInside)(int32_t x, int32_t y);
  uint32_t mBackground;
  uint32_t mShape;
};

// What the child does on the screen, and the sketch grid's offset after it.
struct ChildStep {
  std::string mName;
  std::function<void()> mAct;
  int16_t mOffset;
};

int32_t Squared(int32_t x, int32_t y) { return (x - 128) * (x - 128) + (y - 128) * (y - 128); }

const SketchLook kTenSketches[] = {
    {[](int32_t x, int32_t y) { return Squared(x, y) < 80 * 80; }, 0xF2C94C, 0x2D3A8C},
    {[](int32_t x, int32_t y) { return std::abs(x - 128) < 70 && std::abs(y - 128) < 70; },
     0x6FCF97, 0x8E1B1B},
    {[](int32_t x, int32_t y) { return y > 40 && std::abs(x - 128) < (y - 40) / 2; }, 0xEB5757,
     0xF5F5DC},
    {[](int32_t x, int32_t y) { return Squared(x, y) > 50 * 50 && Squared(x, y) < 90 * 90; },
     0x2F80ED, 0xF2994A},
    {[](int32_t x, int32_t y) { return std::abs(x - 128) < 25 || std::abs(y - 128) < 25; },
     0x9B51E0, 0xD4F542},
    {[](int32_t, int32_t y) { return y / 32 % 2 == 0; }, 0x1B5E20, 0xFFB6C1},
    {[](int32_t x, int32_t y) { return std::abs(x - 128) + std::abs(y - 128) < 90; }, 0x4A4A4A,
     0x56CCF2},
    {[](int32_t x, int32_t y) { return (x / 64 + y / 64) % 2 == 0; }, 0xB8860B, 0x000080},
    {[](int32_t x, int32_t y) { return x < y; }, 0x20B2AA, 0x800040},
    {[](int32_t x, int32_t y) { return x < 40 || x > 215 || y < 40 || y > 215; }, 0xFF6F00,
     0x5D4037},
};

TEST_F(VPLSceneFileIOScreenTest, EveryCellShowsItsOwnSketchThroughScrollsAndCommandsOnXDisplay) {
  if (!vpl::test::ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
  MakeLibrary({std::size(kTenSketches), 1}, {0, 1}, 0);
  for (int32_t n = 0; n < static_cast<int32_t>(std::size(kTenSketches)); ++n) {
    const SketchLook look = kTenSketches[n];
    PaintThumbnail(n, [look](int32_t x, int32_t y) {
      return look.mInside(x, y) ? look.mShape : look.mBackground;
    });
  }
  ASSERT_TRUE(CurrentBook().SelectSketchAt(std::size(kTenSketches) - 1));
  mPreferences.SetPromptForDelete(1);
  Show();
  VPLSketchGrp& grid = *mScreen->GetSketchGrid();
  std::vector<uint32_t> trashed;
  std::vector<uint32_t> moved;
  VPLSketchbook* movedTo = nullptr;
  // The offsets are those of the built layout's three columns: a scroll
  // moves one row, a command brings the current sketch into the last row.
  const ChildStep steps[] = {
      {.mName = "opened", .mAct = [] {}, .mOffset = 6},
      {.mName = "scrolled-back", .mAct = [&] { ClickOn(*grid.GetBackButton()); }, .mOffset = 3},
      {.mName = "scrolled-to-the-start",
       .mAct = [&] { ClickOn(*grid.GetBackButton()); },
       .mOffset = 0},
      {.mName = "scrolled-forward",
       .mAct = [&] { ClickOn(*grid.GetForwardButton()); },
       .mOffset = 3},
      {.mName = "copied", .mAct = [&] { ClickOn(*mScreen->GetCopyButton()); }, .mOffset = 6},
      {.mName = "moved",
       .mAct =
           [&] {
             moved = ThumbnailOf(*SketchCell(1).GetItem());
             movedTo = BookCell(0).GetItem();
             DragOnto(SketchCell(1), BookCell(0));
           },
       .mOffset = 6},
      {.mName = "scrolled-back-again",
       .mAct = [&] { ClickOn(*grid.GetBackButton()); },
       .mOffset = 3},
      {.mName = "trashed",
       .mAct =
           [&] {
             trashed = ThumbnailOf(*SketchCell(0).GetItem());
             DragOnto(SketchCell(0), *mScreen->GetTrash());
             Answer(kYes);
           },
       .mOffset = 3},
      {.mName = "new-sketchbook",
       .mAct =
           [&] {
             ClickOn(*mScreen->GetNewSketchbookButton());
             ClickOn(*mScreen->GetCoverPicker()->GetCell(0));
           },
       .mOffset = 0},
      {.mName = "first-sketchbook-again",
       .mAct = [&] { DoubleClickOn(BookCell(0)); },
       .mOffset = 3},
      {.mName = "scrolled-back-once-more",
       .mAct = [&] { ClickOn(*grid.GetBackButton()); },
       .mOffset = 0},
      {.mName = "reopened",
       .mAct =
           [&] {
             mScreen->Deactivate();
             mScreen->Activate();
             RunFrames();
           },
       .mOffset = 0},
  };
  for (const ChildStep& step : steps) {
    SCOPED_TRACE(step.mName);
    step.mAct();
    EXPECT_EQ(grid.GetOffset(), step.mOffset);
    ExpectEveryCellShowsItsSketch("file-screen-" + step.mName + ".ppm");
  }
  EXPECT_EQ(CountSketchesShowing(CurrentBook(), moved), 0);
  EXPECT_EQ(CountSketchesShowing(*movedTo, moved), 1);
  EXPECT_EQ(CountSketchesShowing(CurrentBook(), trashed), 0);
  const VPLSketch* pictured = CurrentBook().GetSketchAt(grid.GetOffset() + 1);
  DoubleClickOn(SketchCell(1));
  EXPECT_EQ(mHost.mReturns, 1);
  EXPECT_EQ(CurrentBook().GetCurrentSketch(), pictured);
}

}  // namespace
