#pragma once
// The interface stage with the dialogs' data and services and a recording
// scene, and the placing of a dialog in front of the camera: its backdrop
// large and far, its children in a row nearer, so that each can be
// clicked.

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLObjEventGrp.h"
#include "tests/app/support/DialogData.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

class DialogStageTest : public ::testing::Test {
 protected:
  // The string list's font size text may be another.
  explicit DialogStageTest(const std::string& fontSize = std::to_string(dialog_data::kFontSize))
      : mFiles(dialog_data::TaggedTables(), dialog_data::Tables(fontSize)) {}

  // Where the backdrop stands, and the row of children.
  static constexpr float kBackdropZ = 30.0f;
  static constexpr float kChildZ = 20.0f;
  static constexpr float kChildY = -3.0f;
  static constexpr float kChildSpacing = 2.5f;

  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  dialog_data::RecordingScene& Scene() {
    return static_cast<dialog_data::RecordingScene&>(mStage.Scene());
  }
  // The backdrop fills the view behind; child i stands at ChildAt(i).
  static void Place(VPLObjEventGrp& dialog) {
    dialog.SetScale(20, 20, 1);
    dialog.SetPosition(0, 0, kBackdropZ);
    for (int16_t i = 0; i < dialog.GetChildCount(); ++i) {
      dialog.GetChild(i)->SetPosition(ChildAt(i));
    }
  }
  static MM3DVector ChildAt(int16_t i) {
    return MM3DVector(-5.0f + kChildSpacing * i, kChildY, kChildZ, 1);
  }
  void Click(const MM3DVector& world) {
    const UUPoint at = mStage.ScreenPointOf(world);
    mStage.Press(at);
    mStage.Release(at);
  }
  void ClickChild(int16_t i) { Click(ChildAt(i)); }
  std::vector<std::string> TakeLog() { return std::exchange(Scene().mLog, {}); }
  // A message dialog of the layout over the scene, answering the scene,
  // added and placed.
  VPL3DMessageDialog* Open(MMResourceId layout, const char* text = "Save?") {
    auto* dialog = new VPL3DMessageDialog(&Scene(), app_fixtures::MakeQuad(), layout, text,
                                          &VPLSceneUIBase::OnDialogResponse);
    Scene().AddDialog(dialog);
    Place(*dialog);
    return dialog;
  }

  app_fixtures::AppFiles mFiles;
  InterfaceStage mStage{dialog_data::MakeRecordingScene};
  dialog_data::DialogServices mServices{mStage.Stage()->GetTextureMap()};
};
