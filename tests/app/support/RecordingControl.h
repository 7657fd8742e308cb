#pragma once
// A clickable object for the interface tests: it logs each hook it gets,
// by its name, into a log the test shares between its controls.

#include "app/objects/VPLObjEvent.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

using ControlLog = std::vector<std::string>;

class RecordingControl : public VPLObjEvent {
 public:
  RecordingControl(MMScene* scene, const UURefCount<MM3DModel>& model, ControlLog& log,
                   std::string name, const MMTaskCallback& callback = MMTaskCallback())
      : VPLObjEvent(scene, model, callback), mLog(log), mName(std::move(name)) {}

  void OnHoverOn() override { Log("hover-on"); }
  void OnHoverOff() override { Log("hover-off"); }
  void OnPress(const VPLPickEvent&) override { Log("press"); }
  // A click fires the control's callback.
  void OnRelease(const VPLPickEvent&) override {
    Log("release");
    FireCallback();
  }
  void OnDoubleClick() override { Log("double-click"); }
  void OnDrag(const VPLPickEvent&) override { Log("drag"); }
  void OnReleaseOutside(const VPLPickEvent&) override { Log("release-outside"); }
  bool HandleKey(const MMKeyEvent& event) override {
    Log("key");
    return mTakesKeys && event.mCharacter != 0;
  }

  bool mTakesKeys = false;
  // Runs after each hook is logged, with the hook's name.
  std::function<void(const std::string&)> mAfterHook;

 private:
  void Log(const char* what) {
    mLog.push_back(mName + " " + what);
    if (mAfterHook) mAfterHook(what);
  }

  ControlLog& mLog;
  std::string mName;
};
