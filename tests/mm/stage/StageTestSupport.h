#pragma once
// A stage for tests: its act comes from a function the test supplies, its
// sound manager records what the stage asks of it, and every object logs
// into one shared log in the order things happen.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MM2DAct.h"
#include "mm/stage/MM2DDisplayModeStrategy.h"
#include "mm/stage/MMSoundManager.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageWindow.h"

using StageLog = std::vector<std::string>;

class RecordingSoundGroup : public MMStageSoundGroup {
 public:
  void Pause() override { ++mPauses; }
  void Resume() override { ++mResumes; }
  int mPauses = 0;
  int mResumes = 0;
};

class RecordingSoundManager : public MMStageSoundManager {
 public:
  explicit RecordingSoundManager(StageLog& log) : mLog(log) {}
  void Suspend() override { mLog.push_back("sound-suspend"); }
  void Unsuspend() override { mLog.push_back("sound-unsuspend"); }
  void Pause() override { mLog.push_back("sound-pause"); }
  void Resume() override { mLog.push_back("sound-resume"); }
  void Update() override { mLog.push_back("sound-update"); }
  MMStageSoundGroup* CreateSoundGroup() override {
    return new (ALGlobalAllocator) RecordingSoundGroup;
  }

 private:
  StageLog& mLog;
};

// Logs its frame steps; draws and presents as a 2D act does.
class LoggingAct : public MM2DAct {
 public:
  LoggingAct(MMStage* stage, StageLog& log, std::string name,
             MMDisplayModeStrategy* strategy = &MMStandard2DDisplayModeStrategy())
      : MM2DAct(stage, strategy), mLog(log), mName(std::move(name)) {
    mLog.push_back(mName + "-built");
  }
  ~LoggingAct() override { mLog.push_back(mName + "-deleted"); }
  void Draw() override {
    mLog.push_back("draw");
    MM2DAct::Draw();
  }
  void Present() override {
    mLog.push_back("present");
    MM2DAct::Present();
  }
  void Pause() override {
    mLog.push_back("act-pause");
    MM2DAct::Pause();
  }
  void Resume() override {
    mLog.push_back("act-resume");
    MM2DAct::Resume();
  }
  void GainFocus() override {
    mLog.push_back(mName + "-gain-focus");
    MM2DAct::GainFocus();
  }
  void LoseFocus() override {
    mLog.push_back(mName + "-lose-focus");
    MM2DAct::LoseFocus();
  }

 protected:
  StageLog& mLog;
  std::string mName;
};

// Keeps every event it is handed, and posted messages too.
class RecordingInputAct : public LoggingAct {
 public:
  using LoggingAct::LoggingAct;
  void HandleMouse(const MMMouseEvent& event) override { mMouse.push_back(event); }
  void HandleMouseLeave() override { mLog.push_back("leave"); }
  void HandleKey(const MMKeyEvent& event) override { mKeys.push_back(event); }
  void HandlePostedMessage(const MMPostedMessage& message) override { mPosted.push_back(message); }

  std::vector<MMMouseEvent> mMouse;
  std::vector<MMKeyEvent> mKeys;
  std::vector<MMPostedMessage> mPosted;
};

class TestStage : public MMStage {
 public:
  using ActMaker = std::function<MMAct*(MMStage*)>;
  TestStage(MMStageWindow* window, const UURect& rect, MMStageSoundManager* sound, ActMaker maker)
      : MMStage(window, rect, sound), mMaker(std::move(maker)) {}
  MMAct* CreateNextAct() override { return mMaker ? mMaker(this) : nullptr; }
  void SetActMaker(ActMaker maker) { mMaker = std::move(maker); }

 private:
  ActMaker mMaker;
};

class StageLogCallback : public UUCallback {
 public:
  StageLogCallback(StageLog& log, std::string entry, std::function<void()> action = {})
      : mLog(log), mEntry(std::move(entry)), mAction(std::move(action)) {}
  void Invoke() override {
    mLog.push_back(mEntry);
    if (mAction) mAction();
  }

 private:
  StageLog& mLog;
  std::string mEntry;
  std::function<void()> mAction;
};

MMStageWindow* MakeStageWindow();

// A window and its stage, with the stage's thread part run on the test's
// own thread: Init, then the first frame up to the first paint.
class StageOnTestThread {
 public:
  // With recordSound false the stage makes its own sound manager.
  explicit StageOnTestThread(TestStage::ActMaker maker, bool recordSound = true);
  ~StageOnTestThread();

  // Init and the first frame; with paint, also the first paint.
  void Start(bool paint = true);
  // Runs a drawing frame now.
  void Frame(bool draws = true);

  StageLog mLog;
  MMStageWindow* mWindow;
  TestStage* mStage;
};
