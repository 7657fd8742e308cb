#pragma once
// The credits, shown inside the question dialog they were called from: one
// credit every five seconds (its picture in the dialog, and a model in
// front of it when the credit has one) with music, then back to the
// calling screen; a key or a mouse press goes back at once. Stage thread
// only.

#include "app/objects/VPLSceneBase.h"

#include <cstdint>
#include <memory>

class VPL3DDialogBase;
class VPLCreditsThread;

class VPLSceneCredits : public VPLSceneBase {
 public:
  // One row per credit; byte 2 refers to the credit's own table.
  static constexpr MMResourceId kCreditList = 646;
  // The model-table reference of a credit without model.
  static constexpr MMResourceId kNoModel = 506;
  static constexpr MMResourceId kMusic = 504;
  // Where a credit's model stands: this far in front of the dialog, then
  // raised and stretched.
  static constexpr float kModelDistance = 75.0f;
  static constexpr float kModelRaise = 25.0f;
  static constexpr float kModelScale = 3.0f;
  // Until the credits are first shown.
  static constexpr int32_t kNoReturnScene = 5;

  VPLSceneCredits(MMSceneServices* host, MMEnclosure* enclosure, MMView* view, int32_t sceneId);
  ~VPLSceneCredits() override;

  bool OnKey(const MMKeyEvent& event) override;
  bool OnMouse(const MMMouseEvent& event) override;
  void Activate() override;
  void Deactivate() override;
  // The act never asks the credits; they would not agree.
  bool OnQuitRequest(bool /*flag*/) override { return false; }

  // Set by the act before it activates the credits.
  void SetCaller(int32_t returnScene, VPL3DDialogBase* dialog);
  void ShowNextCredit();

  int32_t GetReturnScene() const { return mReturnScene; }
  int32_t GetCreditIndex() const { return mCreditIndex; }
  VPLObj* GetCreditModel() const { return mCreditModel.get(); }

 private:
  // Back to the calling screen; false when there is none to go back to.
  bool Return();
  void PostReturn();
  void ShowCreditModel(MMResourceId creditTable);

  int32_t mReturnScene = kNoReturnScene;
  VPL3DDialogBase* mDialog = nullptr;
  std::unique_ptr<VPLCreditsThread> mThread;
  int32_t mCreditIndex = 0;
  std::unique_ptr<VPLObj> mCreditModel;
};
