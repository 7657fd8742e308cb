#include "foundation/af/AFApplication.h"

#include "foundation/af/AFError.h"
#include "foundation/af/AFMemoryPool.h"
#include "foundation/af/AFPulseTask.h"
#include "foundation/af/AFWindow.h"
#include "foundation/uu/UUDirectory.h"
#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using vpl::platform::LastMessageBoxCaption;
using vpl::platform::LastMessageBoxText;
using vpl::platform::MessageBoxCount;

// Records the order of the run loop's steps; each step can be told to fail.
class RecordingApplication : public AFApplication {
 public:
  explicit RecordingApplication(ALAllocator* allocator) : AFApplication(allocator) {}

  bool Initialize() override {
    mSteps.push_back(GetPulseTaskManager()->IsRunning() ? "initialize(pulsing)" : "initialize");
    if (mFailInitialize) return AFSetError(MME_SCRIPT_FILE_NOT_FOUND, UUDirectory(), "Hd.mms", 0);
    return true;
  }
  bool OpenDefault() override {
    mSteps.push_back("open-default");
    return mOpenDefault;
  }
  bool OpenDocument(const UUDirectory& directory, const char* fileName) override {
    mSteps.push_back(std::string("open ") + directory.Text() + fileName);
    return AFApplication::OpenDocument(directory, fileName);
  }
  void RunMessageLoop() override {
    mSteps.push_back("loop");
    for (int i = 0; i < mMessagesBeforeQuit; ++i) PostThreadMessageA(GetThreadId(), WM_USER, 0, 0);
    if (mRaiseInLoop) AFSetFailureWithoutError();
    Quit();
    AFApplication::RunMessageLoop();
  }
  void CloseAllWindows() override {
    mSteps.push_back("close-windows");
    AFApplication::CloseAllWindows();
  }
  void Terminate() override {
    mSteps.push_back(GetPulseTaskManager()->IsRunning() ? "terminate(pulsing)" : "terminate");
  }

  std::vector<std::string> mSteps;
  bool mFailInitialize = false;
  bool mOpenDefault = true;
  bool mRaiseInLoop = false;
  int mMessagesBeforeQuit = 0;
};

class AFApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AFClearError();
    SetCommandLineItems({"vpl3d.exe"});
  }
  void TearDown() override { AFClearError(); }

  static void SetCommandLineItems(const std::vector<const char*>& items) {
    vpl::platform::SetCommandLine(static_cast<int>(items.size()), items.data());
  }

  AFMemoryPool mPool{16 * 1024 * 1024};
};

TEST_F(AFApplicationTest, ConstructionMakesThePoolGlobalUntilDestruction) {
  {
    RecordingApplication application(&mPool);
    EXPECT_EQ(AFCurrentApplication, &application);
    EXPECT_EQ(ALGlobalAllocator, &mPool);
    EXPECT_EQ(application.GetThreadId(), GetCurrentThreadId());
    EXPECT_TRUE(application.DialogsUseActiveWindow());
    EXPECT_EQ(application.GetActiveWindow(), nullptr);
    EXPECT_FALSE(application.GetPulseTaskManager()->IsRunning());
    EXPECT_GT(mPool.GetBytesInUse(), 0u);
  }
  EXPECT_EQ(AFCurrentApplication, nullptr);
  EXPECT_EQ(ALGlobalAllocator, nullptr);
  EXPECT_EQ(mPool.GetBytesInUse(), 0u);
}

TEST_F(AFApplicationTest, CleanRunMakesOnePassWithoutABox) {
  RecordingApplication application(&mPool);
  application.mMessagesBeforeQuit = 3;
  const int boxes = MessageBoxCount();
  EXPECT_TRUE(application.Run());
  EXPECT_EQ(MessageBoxCount(), boxes);
  EXPECT_EQ(application.mSteps,
            (std::vector<std::string>{"initialize(pulsing)", "open-default", "loop",
                                      "close-windows", "terminate(pulsing)"}));
  EXPECT_FALSE(application.GetPulseTaskManager()->IsRunning());
}

TEST_F(AFApplicationTest, ErrorDuringInitialisationIsShownOnceAfterCleanUp) {
  RecordingApplication application(&mPool);
  application.mFailInitialize = true;
  const int boxes = MessageBoxCount();
  EXPECT_FALSE(application.Run());
  EXPECT_EQ(application.mSteps, (std::vector<std::string>{"initialize(pulsing)", "close-windows",
                                                          "terminate(pulsing)"}));
  EXPECT_EQ(MessageBoxCount(), boxes + 1);
  EXPECT_EQ(LastMessageBoxCaption(), "Application Error");
  EXPECT_EQ(LastMessageBoxText(), "Cannot find script file 'Hd.mms'.");
  EXPECT_TRUE(AFErrorPending());
}

TEST_F(AFApplicationTest, PendingErrorEndsTheLoopWhileMessagesKeepArriving) {
  RecordingApplication application(&mPool);
  application.mRaiseInLoop = true;
  application.mMessagesBeforeQuit = 50;
  EXPECT_FALSE(application.Run());
  EXPECT_EQ(LastMessageBoxText(), "Failed without error.");
}

TEST_F(AFApplicationTest, BoxShowsTheSystemTextBelowTheMessage) {
  RecordingApplication application(&mPool);
  AFSetError(MME_FILM_RESOURCE_FILE_BAD_OPEN_FOR_READ, UUDirectory(), "vpl3d.MMF",
             ERROR_ACCESS_DENIED);
  application.ReportError();
  EXPECT_EQ(LastMessageBoxText(),
            "Cannot open film resource file 'vpl3d.MMF'.\n\nAccess is denied.");
  AFClearError();
  AFSetError(MME_FILM_RESOURCE_FILE_BAD_READ, UUDirectory(), "vpl3d.MMF", 0xBADC0DE);
  application.ReportError();
  EXPECT_EQ(LastMessageBoxText(),
            "Error reading film resource file 'vpl3d.MMF'.\n\nUnknown system error.");
}

TEST_F(AFApplicationTest, CommandLineDocumentsReplaceTheDefaultWindow) {
  const auto root = std::filesystem::temp_directory_path() / "vpl3d-application-test";
  std::filesystem::create_directories(root);
  std::string directory = "C:" + root.string() + "/";
  for (char& c : directory) c = c == '/' ? '\\' : c;
  const std::string document = directory + "sketch.vpl";
  SetCommandLineItems({"vpl3d.exe", "C:\\no\\such\\place\\x.vpl", document.c_str()});

  RecordingApplication application(&mPool);
  EXPECT_TRUE(application.Run());
  EXPECT_EQ(application.mSteps,
            (std::vector<std::string>{"initialize(pulsing)", "open " + document, "loop",
                                      "close-windows", "terminate(pulsing)"}));
  std::filesystem::remove_all(root);
}

// A window that counts its detaching and deletion and the commands it gets.
class CountingWindow : public AFWindow {
 public:
  CountingWindow(int& deleted, std::vector<uint16_t>& commands)
      : AFWindow(AFDefaultWindowDescription), mDeleted(deleted), mCommands(commands) {}
  ~CountingWindow() override { ++mDeleted; }
  void Detach() override { mDetached = true; }
  bool OnCommand(uint16_t id) override {
    mCommands.push_back(id);
    return true;
  }
  void UseAccelerators(HACCEL table) { mAccelerators = table; }

  int& mDeleted;
  std::vector<uint16_t>& mCommands;
  bool mDetached = false;
};

TEST_F(AFApplicationTest, CloseAllWindowsDetachesAndDeletesEveryWindowObject) {
  AFApplication application(&mPool);
  int deleted = 0;
  std::vector<uint16_t> commands;
  new CountingWindow(deleted, commands);
  new CountingWindow(deleted, commands);
  ASSERT_NE(application.FindFirstWindowObject(), nullptr);
  EXPECT_NE(application.NextWindowObject(application.FindFirstWindowObject()), nullptr);
  application.CloseAllWindows();
  EXPECT_EQ(deleted, 2);
  EXPECT_EQ(application.FindFirstWindowObject(), nullptr);
}

TEST_F(AFApplicationTest, TheLoopTranslatesTheActiveWindowsAccelerators) {
  AFApplication application(&mPool);
  int deleted = 0;
  std::vector<uint16_t> commands;
  CountingWindow window(deleted, commands);
  ACCEL entry{FVIRTKEY, 'N', 42};
  HACCEL table = CreateAcceleratorTableA(&entry, 1);
  window.UseAccelerators(table);
  application.SetActiveWindow(&window);
  PostMessageA(window.GetHandle(), WM_KEYDOWN, 'N', 0);
  PostMessageA(window.GetHandle(), WM_KEYDOWN, 'M', 0);
  application.Quit();
  application.RunMessageLoop();
  EXPECT_EQ(commands, std::vector<uint16_t>{42});
  DestroyAcceleratorTable(table);
}

TEST(AFNextCommandLineItemTest, ReadsBlankSeparatedAndQuotedItems) {
  struct Case {
    const char* line;
    std::vector<std::string> items;
  };
  const Case cases[] = {
      {"vpl3d.exe", {"vpl3d.exe"}},
      {"  a\tb  c ", {"a", "b", "c"}},
      {"\"with blanks\" next", {"with blanks", "next"}},
      {"\"\" x", {"", "x"}},
      {"a \"unterminated rest", {"a", "unterminated rest"}},
      {"\"a\"b", {"a", "b"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> items;
    char buffer[260];
    for (const char* next = c.line; (next = AFNextCommandLineItem(next, buffer, sizeof buffer));) {
      items.emplace_back(buffer);
    }
    EXPECT_EQ(items, c.items) << c.line;
  }
}

TEST(AFNextCommandLineItemTest, LongItemIsCutAndItsRestIsTheNextItem) {
  const std::string line(300, 'x');
  char buffer[260];
  const char* next = AFNextCommandLineItem(line.c_str(), buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer).size(), 259u);
  ASSERT_NE(next, nullptr);
  next = AFNextCommandLineItem(next, buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer).size(), 41u);
  EXPECT_EQ(AFNextCommandLineItem(next, buffer, sizeof buffer), nullptr);
}

}  // namespace
