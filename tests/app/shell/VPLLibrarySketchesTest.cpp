#include "app/shell/VPLLibrarySketches.h"

#include "app/shell/VPLSketchbookLibrary.h"
#include "platform/win32/testhooks.h"
#include "tests/app/creation/AreaSupport.h"
#include "tests/app/shell/SketchTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace area_support;
using sketch_test::ReadHostFile;

const MM3DVector kPlace(0.0f, 0.0f, 10.0f, 1.0f);

class VPLLibrarySketchesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mLibrary.Load(true)); }
  // The current sketch's file on disk.
  std::string SketchPath() {
    const VPLSketch* sketch = mLibrary.GetCurrentSketchbook()->GetCurrentSketch();
    // The folder is a Windows path of drive C:, which is the root here.
    std::string path(sketch->GetDirectory().Text());
    for (char& c : path) c = c == '\\' ? '/' : c;
    if (path.size() > 1 && path[1] == ':') path.erase(0, 2);
    if (path.empty() || path.back() != '/') path += '/';
    return path + sketch->GetFileName();
  }
  std::unique_ptr<AreaWorld> NewWorld() {
    return std::make_unique<AreaWorld>(AreaTables(), 1, &mSketches);
  }

  ScratchDirectory mScratch;
  VPLSketchbookLibrary mLibrary{mScratch.Directory()};
  VPLLibrarySketches mSketches{mLibrary};
};

TEST_F(VPLLibrarySketchesTest, LeavingWritesTheCreationThatAFreshAreaReadsBack) {
  std::vector<uint8_t> record;
  {
    const std::unique_ptr<AreaWorld> world = NewWorld();
    world->AddQuad(kPlace);
    record = RecordOf(world->Creation());
    world->Area().Deactivate();
  }
  const std::vector<uint8_t> file = ReadHostFile(SketchPath());
  ASSERT_GT(file.size(), static_cast<size_t>(kVPLSketchHeaderSize));
  // Width, height and bytes per pixel follow the signature and the flag.
  const auto word = [&file](size_t at) { return static_cast<int>(file[at] | file[at + 1] << 8); };
  EXPECT_EQ(file[14], 1);
  EXPECT_EQ(word(15), VPLSceneCreationArea::kThumbnailSize);
  EXPECT_EQ(word(17), VPLSceneCreationArea::kThumbnailSize);
  EXPECT_EQ(word(19), 4);
  const std::unique_ptr<AreaWorld> fresh = NewWorld();
  EXPECT_EQ(RecordOf(fresh->Creation()), record);
}

TEST_F(VPLLibrarySketchesTest, AnUnchangedCreationLeavesTheFileAsItWas) {
  const std::vector<uint8_t> before = ReadHostFile(SketchPath());
  const std::unique_ptr<AreaWorld> world = NewWorld();
  world->Area().Deactivate();
  EXPECT_EQ(ReadHostFile(SketchPath()), before);
}

TEST_F(VPLLibrarySketchesTest, ASaveThatFailsKeepsTheCreationForItsSketch) {
  const std::unique_ptr<AreaWorld> world = NewWorld();
  world->AddQuad(kPlace);
  const std::string path = SketchPath();
  const std::filesystem::path book = std::filesystem::path(path).parent_path();
  std::filesystem::remove_all(book);
  const int boxes = vpl::platform::MessageBoxCount();
  world->Area().Deactivate();
  EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes + 1);
  world->Area().Activate();
  EXPECT_EQ(world->Creation().GetUserObjects().size(), 1u);
  EXPECT_TRUE(world->Creation().IsModified());
}

}  // namespace
