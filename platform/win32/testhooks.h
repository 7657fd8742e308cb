#pragma once
// Hooks that let tests drive the platform layer where a person would act:
// the answers of message boxes shown without a display.

#include <string>

namespace vpl::platform {

// The answer every following box gives when shown without a display;
// 0 (the default) answers the box's first button.
void SetMessageBoxAnswer(int answer);
// The number of boxes shown since the process started, and the last one's
// caption and text.
int MessageBoxCount();
std::string LastMessageBoxCaption();
std::string LastMessageBoxText();

}  // namespace vpl::platform
