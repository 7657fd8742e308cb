// Named semaphores across the processes of the user: a held name answers
// ERROR_ALREADY_EXISTS until its holder closes it or ends, however it ends.

#include "platform/win32/kernel.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr char kName[] = "KernelSemaphoreTest";

class KernelSemaphoreTest : public ::testing::Test {
 protected:
  KernelSemaphoreTest() {
    std::filesystem::create_directories(mFolder);
    setenv("XDG_RUNTIME_DIR", mFolder.c_str(), 1);
  }
  ~KernelSemaphoreTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(mFolder, ignored);
  }

  // The last error of a creation, the handle closed again.
  static DWORD CreationAnswer() {
    const HANDLE handle = CreateSemaphoreA(nullptr, 0, 1, kName);
    const DWORD answer = GetLastError();
    EXPECT_NE(handle, nullptr);
    CloseHandle(handle);
    return answer;
  }

  std::filesystem::path mFolder =
      std::filesystem::temp_directory_path() / ("vpl3d-semaphore-" + std::to_string(getpid()));
};

TEST_F(KernelSemaphoreTest, ANameIsHeldUntilItsHandleCloses) {
  const HANDLE first = CreateSemaphoreA(nullptr, 0, 1, kName);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(CreationAnswer(), ERROR_ALREADY_EXISTS);
  CloseHandle(first);
  EXPECT_EQ(CreationAnswer(), ERROR_SUCCESS);
}

TEST_F(KernelSemaphoreTest, AKilledHolderFreesTheName) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    CreateSemaphoreA(nullptr, 0, 1, kName);
    const char held = GetLastError() == ERROR_SUCCESS ? 'y' : 'n';
    (void)!write(ready[1], &held, 1);
    pause();
    _exit(0);
  }
  char held = 0;
  ASSERT_EQ(read(ready[0], &held, 1), 1);
  EXPECT_EQ(held, 'y');
  EXPECT_EQ(CreationAnswer(), ERROR_ALREADY_EXISTS);
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(CreationAnswer(), ERROR_SUCCESS);
  close(ready[0]);
  close(ready[1]);
}

TEST_F(KernelSemaphoreTest, BadCountsFail) {
  for (const auto& [initial, maximum] : {std::pair{0, 0}, std::pair{-1, 1}, std::pair{2, 1}}) {
    EXPECT_EQ(CreateSemaphoreA(nullptr, initial, maximum, kName), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
}

}  // namespace
