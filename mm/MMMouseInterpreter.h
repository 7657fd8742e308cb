#pragma once
// What an act asks of the interpreter under the mouse. The interpreter
// classes implement it.

#include "mm/MMEvents.h"

class MMCursor;

class MMMouseInterpreter {
 public:
  virtual ~MMMouseInterpreter() = default;
  virtual void MouseEnter() = 0;
  // Answers whether the interpreter keeps the mouse captured.
  virtual bool HandleMouse(const MMMouseEvent& event) = 0;
  virtual void MouseLeave() = 0;
  // Shown while the interpreter is the act's target.
  virtual MMCursor* GetCursor() const = 0;
};
