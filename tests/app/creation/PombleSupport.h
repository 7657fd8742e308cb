#pragma once
// Pomble for the tests: a small character model of our own (six part
// nodes, blend nodes whose first weight carries a part code, a target
// locator and a clip whose time shows as a node's x), the program's own
// data files (the real Pomble and its ghost), tables for the show, and a
// clock the test drives.

#include "app/creation/VPLObjCreationChar.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DVector.h"
#include "tests/app/support/AppFixtures.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM3DDisplayTreeNodeSRTTransform;
class MM3DModelLoader;
class MMScriptLoader;
class MMStage;

namespace pomble_support {

// One blend node of the fixture: its part node (-1: under the root), its
// first weight and its target count.
struct BlendSpec {
  int32_t mPart;
  float mFirstWeight;
  int16_t mTargets;
};
// Eyes and head (code 0 twice), torso 3, arms 1 and 2, feet 4 and 5.
std::vector<BlendSpec> FullBody();

struct FixtureSpec {
  std::vector<BlendSpec> mBlends = FullBody();
  // Part nodes left out of the model.
  std::vector<int32_t> mMissingParts;
  bool mWithLocator = true;
  bool mWithClip = true;
};
// The clip runs 0 to kClipEnd seconds; the clock node's x is the clip time.
constexpr float kClipEnd = 40.0f;
const MM3DVector kLocatorPoint(0.0f, 4.0f, 0.0f, 1.0f);
constexpr const char* kClockNode = "clock";

UURefCount<MM3DModel> MakePombleFixture(const FixtureSpec& spec = {});
// The clip time (s) the fixture last showed.
float ClipTime(const MM3DModel& model);

// The built data files of the program, collection 0.
class DataFiles {
 public:
  // With scripts false only the models are opened (a test's own tables
  // then stand for the scripts).
  explicit DataFiles(bool scripts = true);
  ~DataFiles();
  DataFiles(const DataFiles&) = delete;
  DataFiles& operator=(const DataFiles&) = delete;
  bool Ready() const { return mModels != nullptr && (!mWantScripts || mScripts != nullptr); }

 private:
  bool mWantScripts;
  std::unique_ptr<MMScriptLoader> mScripts;
  std::unique_ptr<MM3DModelLoader> mModels;
};
constexpr MMResourceId kPombleModel = MMMakeResourceId(0, 174);
constexpr MMResourceId kGhostModel = MMMakeResourceId(0, 175);

// The show's tables in a test's own script file: the performance table
// (193) naming an opening, an interlude and a dance list, sound lists of
// one sound each, and the random setting (190).
struct ShowRow {
  int16_t mStart;
  int16_t mEnd;
  MMResourceId mSound;
};
struct ShowTables {
  ShowRow mOpening{30, 90, MMMakeResourceId(5, 42)};
  ShowRow mInterlude{100, 150, MMMakeResourceId(5, 43)};
  std::vector<ShowRow> mDances{{200, 320, MMMakeResourceId(5, 44)},
                               {400, 520, MMMakeResourceId(5, 45)},
                               {600, 720, MMMakeResourceId(5, 56)}};
  bool mRandom = false;
};
app_fixtures::RawTables MakeShowTables(const ShowTables& tables);
// The sound list of a sound made by MakeShowTables.
MMResourceId SoundListOf(const ShowTables& tables, MMResourceId sound);

// The stage's clock runs on by the milliseconds, a step at a time: the
// due tasks run, then the frame's notifications (the players' pulses).
void Advance(MMStage* stage, int32_t milliseconds, int32_t step = 1);

}  // namespace pomble_support
