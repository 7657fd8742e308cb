// The program itself, started as a process from a folder of the test's own
// (a copy of the program beside the build's data files): a second copy
// ends silently, also on the same Library from another runtime folder, a
// killed one leaves no lock behind, a termination request ends the run as
// a close does and a damaged data file stops the start with its box; a headless run logs
// the 3D device it got and says what the machine lacks; on a real X display
// it opens its 800 x 600 window, makes its folders and log, and ends
// cleanly when the window is closed.

#include "platform/win32/kernel.h"
#include "tests/app/shell/ShellTestFolder.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// Last: Xlib's macros (None, Status) would rename what the others declare.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr auto kGenerousWait = std::chrono::seconds(60);
constexpr int kEnded = 0;
constexpr int kFailed = 1;
constexpr char kNoDiskSpaceText[] = "Not enough hard drive space to run 'Vantry's Plorvia 3D'";
constexpr char kSmallScreenText[] = "requires a screen resolution of at least 800x600";
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr const char* kDataFiles[] = {"Hd.mms",    "vpl3d.MMP", "vpl3d.MMA",
                                      "vpl3d.MMF", "vpl3d.MMX", "vpl3d.MMM"};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ProgramFolder : public ShellTestFolder {
 public:
  explicit ProgramFolder(const char* what) : ShellTestFolder(what) {
    const fs::path built(VPL3D_PROGRAM);
    fs::copy_file(built, Program());
    for (const char* name : kDataFiles)
      fs::create_symlink(built.parent_path() / name, Dir() / name);
  }
  fs::path Dir() const { return Path() / "program"; }
  fs::path Program() const {
    fs::create_directories(Path() / "program");
    return Path() / "program" / "vpl3d";
  }
  fs::path ErrorOutput() const { return Path() / "stderr.txt"; }
};

// Starts the command with its standard error in the folder's file.
pid_t SpawnCommand(const ProgramFolder& folder, const std::vector<std::string>& command) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, folder.ErrorOutput().c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv;
  for (const std::string& item : command) argv.push_back(const_cast<char*>(item.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

pid_t Spawn(const ProgramFolder& folder, const std::vector<std::string>& arguments) {
  std::vector<std::string> command{folder.Program().string()};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return SpawnCommand(folder, command);
}

// The exit code, or -1 when the program did not end in time (it is killed).
int WaitForExit(pid_t pid) {
  auto exited = std::async(std::launch::async, [pid] {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  });
  if (exited.wait_for(kGenerousWait) == std::future_status::ready) return exited.get();
  kill(pid, SIGKILL);
  exited.wait();
  return -1;
}

std::string LogHeading() {
  return "Vantry's Plorvia 3D Log File\r\n" + std::string(41, '=') + "\r\n";
}

std::string LogPrefix() { return LogHeading() + "Windows NT or 2000 detected\r\n"; }

std::string LogOf(const ProgramFolder& folder) {
  return ReadFile(folder.Dir() / "Vantry's Plorvia 3D.log");
}

// The log once it names a device: the interface, the separator and the
// device's description, each line ended by CR LF.
bool NamesADevice(const std::string& log) {
  const std::string separatorLine = "\r\n----------\r\n";
  const size_t separator = log.find(separatorLine);
  return separator != std::string::npos && log.size() > separator + separatorLine.size() + 2 &&
         log.substr(log.size() - 2) == "\r\n";
}

// Waits, on the changes the program makes in its folder, until the test
// holds or the program ended; true when it held.
bool WaitUntil(const ProgramFolder& folder, pid_t program, const std::function<bool()>& test) {
  const int changes = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  inotify_add_watch(changes, folder.Dir().c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE);
  const auto deadline = std::chrono::steady_clock::now() + kGenerousWait;
  bool held = test();
  while (!held && std::chrono::steady_clock::now() < deadline && kill(program, 0) == 0) {
    pollfd watch{changes, POLLIN, 0};
    if (poll(&watch, 1, 1000) > 0) {
      char events[4096];
      while (read(changes, events, sizeof events) > 0) {
      }
    }
    held = test();
  }
  close(changes);
  return held;
}

// Ends a program that runs on by itself.
void Kill(pid_t program) {
  kill(program, SIGKILL);
  int status = 0;
  waitpid(program, &status, 0);
}

TEST(VPL3DProgramTest, ASecondCopyEndsSilentlyWithZero) {
  ProgramFolder folder("second");
  setenv("VPL3D_TEST", "1", 1);
  const HANDLE first = CreateSemaphoreA(nullptr, 0, 1, "VPL3DSemaphore");
  ASSERT_EQ(GetLastError(), ERROR_SUCCESS);
  const pid_t second = Spawn(folder, {});
  ASSERT_GT(second, 0);
  EXPECT_EQ(WaitForExit(second), kEnded);
  EXPECT_EQ(ReadFile(folder.ErrorOutput()).find("Vantry"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder.Dir() / "Library"));
  CloseHandle(first);
}

TEST(VPL3DProgramTest, AUserFolderThatCannotBeMadeEndsTheStartWithItsMessage) {
  ProgramFolder folder("folders");
  setenv("VPL3D_TEST", "1", 1);
  std::ofstream(folder.Dir() / "Textures") << "a file where the folder should be";
  const pid_t program = Spawn(folder, {});
  ASSERT_GT(program, 0);
  EXPECT_EQ(WaitForExit(program), kFailed);
  EXPECT_NE(ReadFile(folder.ErrorOutput()).find(kNoDiskSpaceText), std::string::npos);
  EXPECT_TRUE(fs::is_directory(folder.Dir() / "Library"));
  EXPECT_FALSE(fs::exists(folder.Dir() / "Exports"));
}

TEST(VPL3DProgramTest, AKilledCopyLeavesNoLockAndTheNextStartsAndMakesExportsAgain) {
  ProgramFolder folder("killed");
  setenv("VPL3D_TEST", "1", 1);
  // Exports, the last folder, is made once the copy holds the lock.
  const fs::path exports = folder.Dir() / "Exports";
  const auto started = [&] { return fs::is_directory(exports); };
  const pid_t first = Spawn(folder, {});
  ASSERT_GT(first, 0);
  ASSERT_TRUE(WaitUntil(folder, first, started));
  Kill(first);
  fs::remove(exports);
  const pid_t next = Spawn(folder, {});
  ASSERT_GT(next, 0);
  EXPECT_TRUE(WaitUntil(folder, next, started)) << ReadFile(folder.ErrorOutput());
  Kill(next);
}

// The runtime folder the semaphore lives in, for the test's life.
class RuntimeFolder {
 public:
  explicit RuntimeFolder(const fs::path& folder) {
    if (const char* value = std::getenv("XDG_RUNTIME_DIR")) mBefore = value;
    fs::create_directories(folder);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  }
  ~RuntimeFolder() {
    if (mBefore.empty()) {
      unsetenv("XDG_RUNTIME_DIR");
    } else {
      setenv("XDG_RUNTIME_DIR", mBefore.c_str(), 1);
    }
  }
  RuntimeFolder(const RuntimeFolder&) = delete;
  RuntimeFolder& operator=(const RuntimeFolder&) = delete;

 private:
  std::string mBefore;
};

TEST(VPL3DProgramTest, ASecondCopyOnTheSameLibraryEndsSilentlyWhateverItsRuntimeFolder) {
  ProgramFolder folder("samelibrary");
  setenv("VPL3D_TEST", "1", 1);
  const auto started = [&] { return fs::is_directory(folder.Dir() / "Exports"); };
  pid_t first = -1;
  {
    RuntimeFolder runtime(folder.Path() / "run1");
    first = Spawn(folder, {});
  }
  ASSERT_GT(first, 0);
  ASSERT_TRUE(WaitUntil(folder, first, started));
  RuntimeFolder runtime(folder.Path() / "run2");
  const pid_t second = Spawn(folder, {});
  ASSERT_GT(second, 0);
  EXPECT_EQ(WaitForExit(second), kEnded);
  EXPECT_EQ(ReadFile(folder.ErrorOutput()).find("Vantry"), std::string::npos);
  EXPECT_EQ(kill(first, 0), 0);
  Kill(first);
}

// A logout, a shutdown, Ctrl+C or kill during the intro, which a close
// otherwise waits for: the window closes as the child's close would and
// the program ends as after a run, its files closed and its lock free.
TEST(VPL3DProgramTest, ATerminationRequestEndsTheRunAsAClose) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(signal);
    ProgramFolder folder(("terminated" + std::to_string(signal)).c_str());
    setenv("VPL3D_TEST", "1", 1);
    // Exports, the last folder, is made once the copy holds the lock.
    const fs::path exports = folder.Dir() / "Exports";
    const auto started = [&] { return fs::is_directory(exports); };
    const pid_t program = Spawn(folder, {});
    ASSERT_GT(program, 0);
    ASSERT_TRUE(WaitUntil(folder, program, started));
    kill(program, signal);
    EXPECT_EQ(WaitForExit(program), kEnded) << ReadFile(folder.ErrorOutput());
    EXPECT_TRUE(fs::is_regular_file(folder.Dir() / "Library" / "Sketchbook 1" / "Sketch 1"));
    fs::remove(exports);
    const pid_t next = Spawn(folder, {});
    ASSERT_GT(next, 0);
    EXPECT_TRUE(WaitUntil(folder, next, started)) << ReadFile(folder.ErrorOutput());
    Kill(next);
  }
}

struct DamagedCase {
  const char* file;
  const char* kind;
};

// Each data file cut short: the start ends with the error box naming the
// file's kind and its path on this machine, before any window, and fails.
TEST(VPL3DProgramTest, ADataFileCutShortEndsTheStartWithItsErrorBox) {
  const std::vector<DamagedCase> cases = {{"Hd.mms", "script"},
                                          {"vpl3d.MMP", "picture resource"},
                                          {"vpl3d.MMA", "sound resource"},
                                          {"vpl3d.MMF", "film resource"},
                                          {"vpl3d.MMX", "texture resource"},
                                          {"vpl3d.MMM", "model resource"}};
  setenv("VPL3D_TEST", "1", 1);
  std::vector<std::unique_ptr<ProgramFolder>> folders;
  std::vector<pid_t> programs;
  for (const DamagedCase& c : cases) {
    const std::string what = "damaged" + std::to_string(folders.size());
    folders.push_back(std::make_unique<ProgramFolder>(what.c_str()));
    const fs::path data = folders.back()->Dir() / c.file;
    const std::string whole = ReadFile(fs::read_symlink(data));
    fs::remove(data);
    std::ofstream(data, std::ios::binary) << whole.substr(0, whole.size() - whole.size() / 4);
    programs.push_back(Spawn(*folders.back(), {}));
  }
  for (size_t n = 0; n < cases.size(); ++n) {
    SCOPED_TRACE(cases[n].file);
    ASSERT_GT(programs[n], 0);
    EXPECT_EQ(WaitForExit(programs[n]), kFailed);
    const std::string errors = ReadFile(folders[n]->ErrorOutput());
    const std::string path = (folders[n]->Dir() / cases[n].file).string();
    EXPECT_NE(errors.find("[Application Error] "), std::string::npos) << errors;
    EXPECT_NE(errors.find(std::string(cases[n].kind) + " file '" + path + "'."), std::string::npos)
        << errors;
    EXPECT_FALSE(fs::exists(folders[n]->Dir() / "Library"));
  }
}

struct HeadlessCase {
  const char* name;
  const char* argument;
  const char* missingModules;
  const char* deviceLines;  // after the log's heading; null: the log ends there
  const char* message;      // the one box the run shows; null: none
  bool endsByItself;        // as a failed start, else it runs on
};

TEST(VPL3DProgramTest, AHeadlessRunLogsItsDeviceAndSaysWhatTheMachineLacks) {
  constexpr const char* kDirect3D = "Direct3D 7\r\n----------\r\n";
  const std::vector<HeadlessCase> cases = {
      {"Direct3D", "", "", kDirect3D, nullptr, false},
      {"OpenGL asked for", "o", "", "OpenGL 1.1\r\n----------\r\n", nullptr, false},
      {"OpenGL asked for but missing", "o", "OPENGL32.DLL", kDirect3D, "No pictures can be made.",
       true},
      {"no 3D at all", "", "OPENGL32.DLL;DDRAW.DLL", nullptr, "Cannot draw in 3D here.", true},
      {"no movie module", "", "qtmlClient.dll", kDirect3D,
       "could not start its movie maker, so movies cannot be exported.", false},
  };
  // The runs go side by side, each in its folder, since each waits for
  // the intro.
  setenv("VPL3D_TEST", "1", 1);
  std::vector<std::unique_ptr<ProgramFolder>> folders;
  std::vector<pid_t> programs;
  for (const HeadlessCase& c : cases) {
    const std::string what = "headless" + std::to_string(folders.size());
    folders.push_back(std::make_unique<ProgramFolder>(what.c_str()));
    setenv("VPL3D_MISSING_MODULES", c.missingModules, 1);
    programs.push_back(Spawn(*folders.back(), {c.argument}));
    unsetenv("VPL3D_MISSING_MODULES");
  }
  for (size_t n = 0; n < cases.size(); ++n) {
    const HeadlessCase& c = cases[n];
    SCOPED_TRACE(c.name);
    const ProgramFolder& folder = *folders[n];
    const pid_t program = programs[n];
    ASSERT_GT(program, 0);
    if (c.endsByItself) {
      EXPECT_EQ(WaitForExit(program), kFailed);
    } else {
      EXPECT_TRUE(WaitUntil(folder, program, [&] { return NamesADevice(LogOf(folder)); }));
      Kill(program);
    }
    const std::string log = LogOf(folder);
    const std::string expected = LogPrefix() + (c.deviceLines != nullptr ? c.deviceLines : "");
    EXPECT_EQ(log.substr(0, expected.size()), expected);
    if (c.deviceLines != nullptr) {
      EXPECT_TRUE(NamesADevice(log)) << log;
      // Nothing but the device's one line of description follows.
      EXPECT_EQ(log.find("\r\n", expected.size()), log.size() - 2) << log;
    } else {
      EXPECT_EQ(log, expected);
    }
    const std::string errors = ReadFile(folder.ErrorOutput());
    const std::string box = "[Vantry's Plorvia 3D] ";
    if (c.message == nullptr) {
      EXPECT_EQ(errors.find(box), std::string::npos) << errors;
    } else {
      const size_t shown = errors.find(c.message);
      EXPECT_NE(shown, std::string::npos) << errors;
      EXPECT_EQ(errors.find(box, errors.find(box) + 1), std::string::npos) << errors;
    }
  }
}

// The X server's view of the program: its top-level windows as they map.
class XWatch {
 public:
  XWatch() : mDisplay(XOpenDisplay(nullptr)) {
    if (mDisplay != nullptr)
      XSelectInput(mDisplay, DefaultRootWindow(mDisplay), SubstructureNotifyMask);
  }
  ~XWatch() {
    if (mDisplay != nullptr) XCloseDisplay(mDisplay);
  }
  XWatch(const XWatch&) = delete;
  XWatch& operator=(const XWatch&) = delete;

  bool IsOpen() const { return mDisplay != nullptr; }

  // The first window mapped with the title; 0 when none came in time.
  Window WaitForWindow(const char* title) {
    const auto deadline = std::chrono::steady_clock::now() + kGenerousWait;
    while (std::chrono::steady_clock::now() < deadline) {
      if (XPending(mDisplay) == 0) {
        pollfd connection{ConnectionNumber(mDisplay), POLLIN, 0};
        poll(&connection, 1, 1000);
        continue;
      }
      XEvent event;
      XNextEvent(mDisplay, &event);
      if (event.type == MapNotify && HasTitle(event.xmap.window, title)) return event.xmap.window;
    }
    return 0;
  }

  void Size(Window window, int& width, int& height) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(mDisplay, window, &attributes);
    width = attributes.width;
    height = attributes.height;
  }

  // What a window manager sends when the user closes the window.
  void Close(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(mDisplay, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(mDisplay, window, False, NoEventMask, &event);
    XFlush(mDisplay);
  }

 private:
  bool HasTitle(Window window, const char* title) {
    char* name = nullptr;
    const bool same = XFetchName(mDisplay, window, &name) != 0 && name != nullptr &&
                      std::strcmp(name, title) == 0;
    if (name != nullptr) XFree(name);
    return same;
  }

  Display* mDisplay;
};

struct RunCase {
  const char* argument;
  const char* api;
};

TEST(VPL3DProgramTest, RunsInItsWindowAndEndsWhenClosedOnXDisplay) {
  if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs scripts/test's X display";
  for (const RunCase& c : {RunCase{"", "Direct3D 7"}, RunCase{"o", "OpenGL 1.1"}}) {
    SCOPED_TRACE(c.api);
    ProgramFolder folder("run");
    setenv("VPL3D_TEST", "1", 1);
    XWatch x;
    ASSERT_TRUE(x.IsOpen());
    const pid_t program = Spawn(folder, {c.argument});
    ASSERT_GT(program, 0);
    const Window window = x.WaitForWindow("VPL3D");
    ASSERT_NE(window, 0u) << ReadFile(folder.ErrorOutput());
    int width = 0;
    int height = 0;
    x.Size(window, width, height);
    EXPECT_EQ(width, kWindowWidth);
    EXPECT_EQ(height, kWindowHeight);
    x.Close(window);
    EXPECT_EQ(WaitForExit(program), kEnded) << ReadFile(folder.ErrorOutput());
    for (const char* name : {"Library", "Textures", "Exports"}) {
      EXPECT_TRUE(fs::is_directory(folder.Dir() / name)) << name;
    }
    // A first start gives the child a sketchbook with a blank sketch.
    EXPECT_TRUE(fs::is_regular_file(folder.Dir() / "Library" / "Sketchbook 1" / "Sketch 1"));
    const std::string log = ReadFile(folder.Dir() / "Vantry's Plorvia 3D.log");
    const std::string driverLines = LogPrefix() + c.api + "\r\n----------\r\n";
    EXPECT_EQ(log.substr(0, driverLines.size()), driverLines);
    EXPECT_GT(log.size(), driverLines.size() + 2);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  }
}

TEST(VPL3DProgramTest, AScreenSmallerThan800By600GetsItsMessageOnXDisplay) {
  if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs scripts/test's X display";
  ProgramFolder folder("small");
  setenv("VPL3D_TEST", "1", 1);
  const pid_t program = SpawnCommand(
      folder, {"xvfb-run", "-a", "-s", "-screen 0 640x480x24", folder.Program().string()});
  ASSERT_GT(program, 0);
  EXPECT_EQ(WaitForExit(program), kFailed);
  EXPECT_NE(ReadFile(folder.ErrorOutput()).find(kSmallScreenText), std::string::npos);
  EXPECT_FALSE(fs::exists(folder.Dir() / "Library"));
}

// An X server that serves no indirect GL (the default of current servers)
// refuses every context of a client told to draw indirectly: GL is
// advertised, yet none can be had. Both starts say so and end.
TEST(VPL3DProgramTest, AGLTheServerRefusesGetsItsMessageOnXDisplay) {
  if (std::getenv("VPL3D_XVFB") == nullptr) GTEST_SKIP() << "needs scripts/test's X display";
  setenv("VPL3D_TEST", "1", 1);
  setenv("LIBGL_ALWAYS_INDIRECT", "1", 1);
  std::vector<std::unique_ptr<ProgramFolder>> folders;
  std::vector<pid_t> programs;
  for (const char* argument : {"", "o"}) {
    folders.push_back(std::make_unique<ProgramFolder>(argument[0] ? "refused-o" : "refused"));
    programs.push_back(Spawn(*folders.back(), {argument}));
  }
  unsetenv("LIBGL_ALWAYS_INDIRECT");
  for (size_t n = 0; n < programs.size(); ++n) {
    ASSERT_GT(programs[n], 0);
    EXPECT_EQ(WaitForExit(programs[n]), kFailed);
    const std::string errors = ReadFile(folders[n]->ErrorOutput());
    EXPECT_NE(errors.find("Cannot draw in 3D here."), std::string::npos) << errors;
  }
}

}  // namespace
