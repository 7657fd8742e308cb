#include "media/startup/MMResourceFiles.h"

#include "foundation/af/AFApplication.h"
#include "foundation/af/AFError.h"
#include "foundation/af/AFMemoryPool.h"
#include "media/films/MM2DFilmCollection.h"
#include "media/sound/MMSoundCollection.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "mm/resources/MMPictureCollection.h"
#include "mm/resources/MMResourceCollection.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DTextureCollection.h"
#include "platform/win32/testhooks.h"
#include "tests/media/startup/StartupTestSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using startup_fixtures::TestDirectory;

using startup_fixtures::Writer;

// A kind of data file, in the order of the start-up.
struct Kind {
  const char* mName;
  // The name the string table gives its file, and the name the test
  // stores it under.
  const char* mFileName;
  const char* mStoredName;
  AFErrorCode mNotFound;
  Writer mWrite;
  std::function<int32_t()> mCollectionCount;
};

const std::array<Kind, 6> kKinds = {{
    {"scripts", "Hd.mms", "HD.MMS", MME_SCRIPT_FILE_NOT_FOUND, startup_fixtures::WriteScriptFile,
     [] { return MMScriptRegistry().Count(); }},
    {"pictures", "vpl3d.MMP", "VPL3D.mmp", MME_PICTURE_RESOURCE_FILE_NOT_FOUND,
     startup_fixtures::WritePictureFile, [] { return MMPictureRegistry().Count(); }},
    {"sounds", "vpl3d.MMA", "Vpl3D.mma", MME_SOUND_RESOURCE_FILE_NOT_FOUND,
     startup_fixtures::WriteSoundFile, [] { return MMSoundRegistry().Count(); }},
    {"films", "vpl3d.MMF", "vpl3d.mmf", MME_FILM_RESOURCE_FILE_NOT_FOUND,
     startup_fixtures::WriteFilmFile, [] { return MM2DFilmRegistry().Count(); }},
    {"textures", "vpl3d.MMX", "VPL3D.MMX", MME_TEXTURE_RESOURCE_FILE_NOT_FOUND,
     startup_fixtures::WriteTextureFile, [] { return MM3DTextureRegistry().Count(); }},
    {"models", "vpl3d.MMM", "vPL3d.mMm", MME_MODEL_RESOURCE_FILE_NOT_FOUND,
     startup_fixtures::WriteModelFile, [] { return MM3DModelRegistry().Count(); }},
}};

constexpr size_t kSounds = 2;
// Items 1 and 3 of the sound group.
constexpr UINT kSecondSoundString = 18249;
constexpr UINT kFourthSoundString = 18251;

class MMResourceFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    AFClearError();
    MMClearSearchDirectories();
    SearchTheTestDirectory();
  }
  void TearDown() override {
    MMStopResourceFiles();
    vpl::platform::ResetStringTable();
    AFClearError();
  }

  // Searched before the program's own directory, which the start-up adds
  // after it.
  void SearchTheTestDirectory() { MMResourceSearchDirectories.PushBack(&mData.Get()); }
  // A new start-up with no error pending.
  bool StartAgain() {
    AFClearError();
    MMClearSearchDirectories();
    SearchTheTestDirectory();
    return MMStartResourceFiles();
  }

  void WriteFile(const Kind& kind, const char* storedName, int16_t collection = 1) {
    const std::string tempName = resource_fixtures::UniqueName(storedName);
    kind.mWrite(tempName, collection);
    mData.Adopt(tempName, storedName);
  }
  void WriteKinds(size_t count) {
    for (size_t k = 0; k < count; ++k) WriteFile(kKinds[k], kKinds[k].mStoredName);
  }
  void WriteDamaged(const Kind& kind) {
    mData.WriteBytes(kind.mStoredName, std::vector<uint8_t>(200, 'x'));
  }

  static int32_t OpenCollections() {
    int32_t count = 0;
    for (const Kind& kind : kKinds) count += kind.mCollectionCount();
    return count;
  }
  static void ExpectEverythingReleased() {
    EXPECT_EQ(OpenCollections(), 0);
    EXPECT_EQ(MM3DBlendShapePositionScratch, nullptr);
    EXPECT_EQ(MMGlobalPulseTaskManagerA, nullptr);
    EXPECT_EQ(MMStreamingPulseTaskManager, nullptr);
    EXPECT_TRUE(MMResourceSearchDirectories.IsEmpty());
  }

  TestDirectory mData{"data"};
};

TEST_F(MMResourceFilesTest, StartUpOpensEveryKindFoundWithoutRegardToCase) {
  WriteKinds(kKinds.size());
  ASSERT_TRUE(MMStartResourceFiles());
  EXPECT_FALSE(AFErrorPending());
  for (const Kind& kind : kKinds) EXPECT_EQ(kind.mCollectionCount(), 1) << kind.mName;
  EXPECT_NE(MM3DBlendShapePositionScratch, nullptr);
  ASSERT_EQ(MMResourceSearchDirectories.Count(), 2);
  EXPECT_EQ(MMResourceSearchDirectories.Front(), &mData.Get());
  EXPECT_EQ(MMResourceSearchDirectories.Back(), &MMProgramDirectory);
}

TEST_F(MMResourceFilesTest, StartUpStartsBothPulseThreads) {
  WriteKinds(kKinds.size());
  ASSERT_TRUE(MMStartResourceFiles());
  ASSERT_NE(MMGlobalPulseTaskManagerA, nullptr);
  ASSERT_NE(MMStreamingPulseTaskManager, nullptr);
  EXPECT_TRUE(MMGlobalPulseTaskManagerA->IsRunning());
  EXPECT_TRUE(MMStreamingPulseTaskManager->IsRunning());
}

TEST_F(MMResourceFilesTest, ShutDownReleasesEverythingAndMayBeRepeated) {
  WriteKinds(kKinds.size());
  ASSERT_TRUE(MMStartResourceFiles());
  MMStopResourceFiles();
  ExpectEverythingReleased();
  MMStopResourceFiles();
  ExpectEverythingReleased();
}

// The files of the kinds before k are there, none from k on: the start-up
// gets as far as kind k, names its file and closes what it had opened.
TEST_F(MMResourceFilesTest, StartUpStopsAtTheFirstKindWithoutItsFile) {
  for (size_t k = 0; k < kKinds.size(); ++k) {
    SCOPED_TRACE(kKinds[k].mName);
    EXPECT_FALSE(StartAgain());
    EXPECT_EQ(AFGetErrorCode(), kKinds[k].mNotFound);
    EXPECT_STREQ(AFGetErrorFileName(), kKinds[k].mFileName);
    EXPECT_FALSE(AFGetErrorDirectory().IsSet());
    ExpectEverythingReleased();
    WriteFile(kKinds[k], kKinds[k].mStoredName);
  }
}

TEST_F(MMResourceFilesTest, StartUpStopsAtADamagedFileWithItsOpenersError) {
  WriteKinds(kKinds.size());
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.mName);
    WriteDamaged(kind);
    EXPECT_FALSE(StartAgain());
    EXPECT_EQ(AFGetErrorCode(), AFFileError(kind.mNotFound, AFO_BAD_HEADER));
    ExpectEverythingReleased();
    WriteFile(kind, kind.mStoredName);
  }
}

TEST_F(MMResourceFilesTest, AGroupOpensOneFilePerItemUpToItsFirstMissingItem) {
  vpl::platform::SetStringTableEntry(kSecondSoundString, "second.mma");
  vpl::platform::SetStringTableEntry(kFourthSoundString, "fourth.mma");
  WriteFile(kKinds[kSounds], "vpl3d.MMA", 1);
  WriteFile(kKinds[kSounds], "second.mma", 2);
  EXPECT_TRUE(MMOpenSoundFiles());
  EXPECT_FALSE(AFErrorPending());
  EXPECT_EQ(MMSoundRegistry().Count(), 2);
}

// The later file takes the number; the earlier collection is deleted then,
// not left behind where nothing would ever delete it.
TEST_F(MMResourceFilesTest, TwoFilesOfOneKindSharingANumberLeaveOneCollection) {
  vpl::platform::SetStringTableEntry(kSecondSoundString, "second.mma");
  WriteFile(kKinds[kSounds], "vpl3d.MMA", 1);
  WriteFile(kKinds[kSounds], "second.mma", 1);
  EXPECT_TRUE(MMOpenSoundFiles());
  EXPECT_EQ(MMSoundRegistry().Count(), 1);
  EXPECT_EQ(MMResourceCollection::AllCollections().Count(), 1);
  MMStopResourceFiles();
  EXPECT_TRUE(MMResourceCollection::AllCollections().IsEmpty());
}

TEST_F(MMResourceFilesTest, AGroupOpensItsItemsInOrder) {
  vpl::platform::SetStringTableEntry(kSecondSoundString, "second.mma");
  WriteFile(kKinds[kSounds], "second.mma", 2);
  EXPECT_FALSE(MMOpenSoundFiles());
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_NOT_FOUND);
  EXPECT_STREQ(AFGetErrorFileName(), "vpl3d.MMA");
  EXPECT_EQ(MMSoundRegistry().Count(), 0);
}

TEST_F(MMResourceFilesTest, AKindWithoutItemsOpensNothing) {
  vpl::platform::SetStringTableEntry(16248, nullptr);
  EXPECT_TRUE(MMOpenScriptFiles());
  EXPECT_FALSE(AFErrorPending());
  EXPECT_EQ(MMScriptRegistry().Count(), 0);
}

TEST_F(MMResourceFilesTest, ScratchStartsEmptyAndStopsToNothing) {
  MMStart3DScratch();
  ASSERT_NE(MM3DBlendShapePositionScratch, nullptr);
  EXPECT_EQ(MM3DBlendShapePositionScratch->Count(), 0);
  MMStop3DScratch();
  EXPECT_EQ(MM3DBlendShapePositionScratch, nullptr);
}

// The program's initialisation and clean-up around the start-up, as the
// application runs them.
class StartUpApplication : public AFApplication {
 public:
  using AFApplication::AFApplication;
  bool Initialize() override { return MMStartResourceFiles(); }
  void Terminate() override { MMStopResourceFiles(); }
};

TEST_F(MMResourceFilesTest, FailedStartUpIsShownInTheErrorBoxAfterEverythingIsReleased) {
  WriteKinds(kSounds);
  AFMemoryPool pool(16 * 1024 * 1024);
  const int boxes = vpl::platform::MessageBoxCount();
  {
    StartUpApplication application(&pool);
    EXPECT_FALSE(application.Run());
  }
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes + 1);
  EXPECT_NE(vpl::platform::LastMessageBoxText().find("vpl3d.MMA"), std::string::npos);
  EXPECT_EQ(AFGetErrorCode(), MME_SOUND_RESOURCE_FILE_NOT_FOUND);
  ExpectEverythingReleased();
  EXPECT_EQ(pool.GetBytesInUse(), 0u);
}

}  // namespace
