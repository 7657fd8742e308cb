// The clips the program times against: the trash rests closed at 733 ms,
// and a transition image sits on its cell at 5000 and 7333 ms and fills
// the view (38 x 28.5 at z -42) from 5666 to 6666 ms.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "platform/win32/PathMapping.h"
#include "tests/content/ContentTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr float kTolerance = 0.01f;

class ClipRulesTest : public testing::Test {
 protected:
  void SetUp() override {
    const UUDirectory directory(
        vpl::platform::ToWindowsPath(std::filesystem::absolute(content_fixtures::DataDirectory()))
            .c_str());
    mLoader = MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false);
    ASSERT_NE(mLoader, nullptr);
  }
  void TearDown() override { MM3DDestroyModelCollections(); }

  UURefCount<MM3DModel> Model(const std::string& symbol) {
    const int32_t id =
        content_fixtures::SourceManifest().Resolve(databuilder::ItemKind::kModel, symbol);
    return mLoader->GetModel(static_cast<int16_t>(id), nullptr);
  }

  MM3DModelLoader* mLoader = nullptr;
};

struct Extent {
  float left, right, bottom, top, z;
};

// Where the model's mesh lies at that time of its clip.
Extent ExtentAt(MM3DModel& model, float seconds) {
  model.GetAnimationClip()->Apply(seconds);
  auto* root = static_cast<MM3DDisplayTreeNodeWithChildren*>(model.GetDisplayTree());
  auto* place = static_cast<MM3DDisplayTreeNodeWithChildren*>(root->GetChild(0));
  MM3DDisplayTreeNode* mesh = place->GetChild(0);
  MM3DMatrix world;
  mesh->GetWorldMatrix(world);
  const MM3DIndexedMeshVertexData& block =
      *static_cast<MM3DDisplayTreeNodeIndexedMesh*>(mesh)->GetPart(0).mBlocks[0];
  Extent extent{1e9f, -1e9f, 1e9f, -1e9f, 0};
  for (const MM3DVector& p : block.mPositions) {
    MM3DVector q;
    world.TransformPoint(q, p);
    extent = {std::min(extent.left, q.mX), std::max(extent.right, q.mX),
              std::min(extent.bottom, q.mY), std::max(extent.top, q.mY), q.mZ};
  }
  return extent;
}

TEST_F(ClipRulesTest, TheTrashRestsClosedAt733Milliseconds) {
  UURefCount<MM3DModel> trash = Model("files.trash");
  ASSERT_FALSE(trash.IsEmpty());
  ASSERT_TRUE(trash->HasAnimationClip());
  EXPECT_NEAR(trash->GetAnimationClip()->GetEndTime(), 0.733f, kTolerance);
}

TEST_F(ClipRulesTest, TransitionImagesFillTheViewAndComeBackToTheirCell) {
  for (int32_t cell = 0; cell < 6; ++cell) {
    UURefCount<MM3DModel> image = Model("sketch.transition." + std::to_string(cell));
    ASSERT_FALSE(image.IsEmpty());
    ASSERT_TRUE(image->HasAnimationClip());
    const Extent atCell = ExtentAt(*image, 5.0f);
    for (float seconds : {5.666f, 6.666f}) {
      const Extent full = ExtentAt(*image, seconds);
      EXPECT_NEAR(full.right - full.left, 38.0f, kTolerance) << cell;
      EXPECT_NEAR(full.top - full.bottom, 28.5f, kTolerance) << cell;
      EXPECT_NEAR(full.left + full.right, 0.0f, kTolerance) << cell;
      EXPECT_NEAR(full.z, -42.0f, kTolerance) << cell;
    }
    const Extent back = ExtentAt(*image, 7.333f);
    EXPECT_NEAR(back.left, atCell.left, kTolerance) << cell;
    EXPECT_NEAR(back.top, atCell.top, kTolerance) << cell;
  }
}

}  // namespace
