#pragma once
// Dialogs that answer their owner: the callback dialog delivers an answer
// (a DialogResponse from 1 to 6) to a member of the interface scene that
// shows it and maps Enter and Escape to default answers; the message
// dialog asks a question with a text and a row of buttons, each button
// definition naming the kind of answer it gives.

#include "app/objects/VPL3DDialogBase.h"

#include <cstdint>

using DialogResponse = int32_t;

class VPL3DCallbackDialog : public VPL3DDialogBase {
 public:
  using ResponseHandler = void (VPLSceneUIBase::*)(VPL3DCallbackDialog*, DialogResponse);
  // The key codes of Escape and Enter.
  static constexpr int16_t kEscapeKey = 5;
  static constexpr int16_t kEnterKey = 6;

  VPL3DCallbackDialog(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model,
                      MMResourceId layout, const char* text, ResponseHandler handler);

  // Calls the handler on the owner. The owner removes the dialog when it
  // has taken the answer.
  void Respond(DialogResponse response);
  // Escape gives the Escape answer, or without one the Enter answer; Enter
  // gives the Enter answer. Every key is taken.
  bool HandleKey(const MMKeyEvent& event) override;

  DialogResponse GetEnterAnswer() const { return mEnterAnswer; }
  DialogResponse GetEscapeAnswer() const { return mEscapeAnswer; }

 protected:
  // 0: no answer.
  DialogResponse mEnterAnswer = 0;
  DialogResponse mEscapeAnswer = 0;

 private:
  ResponseHandler mHandler;
};

class VPL3DMessageDialog : public VPL3DCallbackDialog {
 public:
  // The button definition's row naming its kind of answer.
  static constexpr int16_t kButtonKindTag = 5;

  using VPL3DCallbackDialog::VPL3DCallbackDialog;

  // One button per child row whose definition names a kind from 0 to 5; a
  // click answers one task run later.
  void Build() override;

 private:
  void MakeButton(MMResourceId definition);
};
