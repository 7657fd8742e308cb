// The program: its arguments joined into the command line, shown normally.

#include "app/shell/VPLWinMain.h"
#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <string>

int main(int argc, char** argv) {
  vpl::platform::SetCommandLine(argc, argv);
  std::string arguments;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) arguments += ' ';
    arguments += argv[i];
  }
  return WinMain(GetModuleHandleA(nullptr), nullptr, arguments.data(), SW_SHOWNORMAL);
}
