#include "app/creation/VPLTool.h"

#include "app/objects/VPL3DCursorSet.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace area_support;

const MM3DVector kPlace(0.0f, 0.0f, 10.0f, 1.0f);
constexpr UUPoint kAway{5, 5};
constexpr MMResourceId kNoScript = -1;
constexpr int32_t kNormalCursor = 0;
constexpr int32_t kAlternateCursor = 1;

// The moments a tool's sound is asked for.
class LoggingSound : public VPLToolSound {
 public:
  LoggingSound(VPLSceneCreationArea* area, std::vector<std::string>& log)
      : VPLToolSound(area, kNoScript), mLog(log) {}
  void PlayPress(const MM3DVector&, bool) override { mLog.push_back("press"); }
  void PlayRelease(const MM3DVector&, bool) override { mLog.push_back("release"); }
  void PlayAction(const MM3DVector&, bool) override { mLog.push_back("action"); }

 private:
  std::vector<std::string>& mLog;
};

// An on-up tool that logs its steps with the alternate flag (+).
class ProbeTool : public VPLToolObjectBasedOnUpAction {
 public:
  ProbeTool(VPLSceneCreationArea& area)
      : VPLToolObjectBasedOnUpAction(area.GetView(), area.GetCreation(), &area, kNoScript) {
    SetSound(std::make_unique<LoggingSound>(&area, mLog));
    SetCursors(kNormalCursor, kAlternateCursor);
  }
  VPLToolEnums GetToolType() const override { return kVPLToolDelete; }
  void Begin(const VPLSegment& segment, bool alternate) override {
    Log("Begin", alternate);
    VPLToolObjectBasedOnUpAction::Begin(segment, alternate);
  }
  void Drag(const VPLSegment& segment, bool alternate) override {
    Log("Drag", alternate);
    VPLToolObjectBasedOnUpAction::Drag(segment, alternate);
  }
  void End(const VPLSegment& segment, bool alternate) override {
    Log("End", alternate);
    VPLToolObjectBasedOnUpAction::End(segment, alternate);
  }
  void Act(const VPLSegment& segment, bool alternate) override {
    VPLToolObjectBasedOnUpAction::Act(segment, alternate);
    Log("Act", alternate);
  }

  std::vector<std::string> mLog;

 private:
  void Log(const char* step, bool alternate) {
    mLog.push_back(std::string(step) + (alternate ? "+" : ""));
  }
};

struct Event {
  int32_t mFlags;
  bool mOnObject;
};

class VPLToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mWorld.AddBox(kPlace);
    mOnObject = mWorld.Stage().ScreenPointOf(kPlace);
  }
  bool Send(ProbeTool& tool, const Event& event) {
    const UUPoint at = event.mOnObject ? mOnObject : kAway;
    return tool.OnMouse(VPLPickEvent(0, at.mX, at.mY, event.mFlags));
  }

  AreaWorld mWorld;
  UUPoint mOnObject{0, 0};
};

constexpr int32_t kPress = kVPLPress | kVPLHeld;
constexpr int32_t kHeldMove = kVPLHeld;

TEST_F(VPLToolTest, PressDragAndReleaseBecomeBeginDragAndEnd) {
  struct Case {
    const char* name;
    std::vector<Event> events;
    std::vector<std::string> log;
  };
  const std::vector<Case> cases{
      {"press over nothing", {{kPress, false}, {kHeldMove, true}, {kVPLRelease, true}}, {}},
      {"click",
       {{kPress, true}, {kVPLRelease, true}},
       {"Begin", "press", "End", "action", "Act", "release"}},
      {"a move without a held button",
       {{kPress, true}, {0, true}, {kVPLRelease, true}},
       {"Begin", "press", "End", "action", "Act", "release"}},
      {"Shift during the drag",
       {{kPress, true}, {kHeldMove | kVPLAlternate, true}, {kVPLRelease, true}},
       {"Begin", "press", "Drag+", "End", "action", "Act", "release"}},
      {"release outside the box",
       {{kPress, true}, {kHeldMove, false}, {kVPLRelease, false}},
       {"Begin", "press", "Drag", "End", "release"}},
  };
  for (const Case& c : cases) {
    ProbeTool tool(mWorld.Area());
    for (const Event& event : c.events) Send(tool, event);
    EXPECT_EQ(tool.mLog, c.log) << c.name;
    EXPECT_FALSE(tool.IsEngaged()) << c.name;
    EXPECT_EQ(tool.GetPickedObject(), nullptr) << c.name;
  }
}

TEST_F(VPLToolTest, OnMouseAnswersTheEngagedFlag) {
  ProbeTool tool(mWorld.Area());
  EXPECT_FALSE(Send(tool, {kPress, false}));
  EXPECT_TRUE(Send(tool, {kPress, true}));
  EXPECT_TRUE(Send(tool, {kHeldMove, false}));
  EXPECT_FALSE(Send(tool, {kVPLRelease, false}));
}

TEST_F(VPLToolTest, TheCursorFollowsShiftAtEveryEvent) {
  VPL3DCursorSet cursors;
  cursors.Load(mWorld.Stage().Stage());
  VPL3DCursorSet::SetGlobal(&cursors);
  ProbeTool tool(mWorld.Area());
  for (const auto& [flags, cursor] :
       {std::pair{0, kNormalCursor}, std::pair{int32_t{kVPLAlternate}, kAlternateCursor},
        std::pair{kPress, kNormalCursor}}) {
    Send(tool, {flags, false});
    EXPECT_EQ(cursors.GetCurrentIndex(), cursor) << flags;
  }
  cursors.Hide();
  VPL3DCursorSet::SetGlobal(nullptr);
}

TEST_F(VPLToolTest, AChangeMarksTheCreationModifiedAndTakesTheCheckpointBeforeIt) {
  struct Changer : public ProbeTool {
    using ProbeTool::ProbeTool;
    void Act(const VPLSegment& segment, bool alternate) override {
      ProbeTool::Act(segment, alternate);
      MarkChanged();
      mCreation->RemoveObject(mPicked);
      mPicked = nullptr;
    }
  };
  const std::vector<uint8_t> before = RecordOf(mWorld.Creation());
  mWorld.Creation().SetModified(false);
  Changer tool(mWorld.Area());
  Send(tool, {kPress, true});
  Send(tool, {kVPLRelease, true});
  EXPECT_TRUE(mWorld.Creation().IsEmpty());
  EXPECT_TRUE(mWorld.Creation().IsModified());
  mWorld.Area().Undo();
  EXPECT_EQ(RecordOf(mWorld.Creation()), before);
}

}  // namespace
