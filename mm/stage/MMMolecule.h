#pragma once
// A molecule is an object of a scene that the user sees and acts on: it
// owns the visuals that show it in the scene's enclosure and the mouse
// interpreters of those visuals, can hold the keyboard focus, and is shown
// or hidden as a whole. The scene's user data is its enclosure.

#include "mm/stage/MMEvents.h"
#include "mm/stage/MMVisibility.h"
#include "mm/tasks/MMTaskCallback.h"

class MMAct;
class MMEnclosure;
class MMScene;
class MMStageSoundGroup;
class MMStage;
class MMTaskClient;

class MMMolecule {
 public:
  explicit MMMolecule(MMScene* scene) : mScene(scene) {}
  virtual ~MMMolecule() = default;
  MMMolecule(const MMMolecule&) = delete;
  MMMolecule& operator=(const MMMolecule&) = delete;

  // Before deletion: the focus molecule leaves its scene without one.
  virtual void Detach();
  virtual void GainFocus() { mHasFocus = true; }
  virtual void LoseFocus() { mHasFocus = false; }
  // Answers whether the key was handled.
  virtual bool HandleKey(const MMKeyEvent&) { return false; }

  // Acts only on a change.
  void SetVisibility(MMVisibility visibility);
  // Takes the focus up through the scene, act and stage; nothing when the
  // molecule has it.
  void TakeFocus();
  // Bindings that show, hide or focus the molecule when posted and run.
  MMTaskCallback MakeShowCallback();
  MMTaskCallback MakeHideCallback();
  MMTaskCallback MakeTakeFocusCallback();

  MMVisibility GetVisibility() const { return mVisibility; }
  bool HasFocus() const { return mHasFocus; }
  MMScene* GetScene() const { return mScene; }
  MMTaskClient* GetTaskClient() const;
  MMStageSoundGroup* GetSoundGroup() const;
  MMEnclosure* GetEnclosure() const;
  MMAct* GetAct() const;
  MMStage* GetStage() const;

 protected:
  // Subclasses pass the value on to what they own, then store it here.
  virtual void ApplyVisibility(MMVisibility visibility) { mVisibility = visibility; }

 private:
  MMTaskCallback MakeVisibilityCallback(MMVisibility visibility);

  MMVisibility mVisibility = kMMShown;
  MMScene* mScene;
  bool mHasFocus = false;
};
