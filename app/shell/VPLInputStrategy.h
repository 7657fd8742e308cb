#pragma once
// The stage's input: the framework's lockstep input, with the program's
// typed characters and its part of the close handshake.

#include "mm/stage/MMInputStrategy.h"

class VPLStage;

class VPLInputStrategy : public MMLockstepInputStrategy {
 public:
  explicit VPLInputStrategy(VPLStage* stage);

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;
  // A character typed with Ctrl is its code in the low half (Ctrl+Space is
  // 32, the preferences key); any other in the high half.
  MMKeyEvent MakeCharEvent(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  VPLStage* mVPLStage;
};
