#include "app/shell/VPLWinMain.h"

#include "app/shell/VPLApplication.h"
#include "app/shell/VPLMovieModule.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLUserFolders.h"
#include "foundation/af/AFMemoryPool.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUDisplayMode.h"
#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/user.h"

#include <cstdint>
#include <memory>

namespace {

constexpr char kSemaphoreName[] = "VPL3DSemaphore";
constexpr uint64_t kMinimumMemory = 0x2A00000;
constexpr uint64_t kMinimumDiskSpace = 5000000;
constexpr uint32_t kPoolSize = 0x1000000;
constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kScreenBits = 16;
constexpr UINT kScreenMessage = 109;
constexpr UINT kNoDiskSpaceMessage = 111;
constexpr int kEnded = 0;
constexpr int kFailed = 1;
constexpr char kLibraryLockName[] = "vpl3d.lock";

// Closes the semaphore and the lock on every way out, so that a start that
// stopped early never keeps the next one from running.
struct HandleCloser {
  void operator()(void* handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<void, HandleCloser>;

// The folder that holds Library is one running program's: a copy started
// with another runtime folder (and so another semaphore) still finds it
// taken. The lock file is opened unshared; the system lets go of it when
// the program ends, however it ends. False when another program holds it;
// a lock file that cannot be made keeps no one from starting.
bool TakeLibraryFolder(OwnedHandle& lock) {
  UUDirectory folder;
  char path[kUUPathCapacity];
  if (!VPLGetUserFoldersBase(folder) || !UUMakeFilePath(path, folder, kLibraryLockName))
    return true;
  const HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_SHARING_VIOLATION;
  lock.reset(file);
  return true;
}

// A termination request closes the window as the child's close would.
BOOL EndOnRequest(DWORD) {
  VPLEndSession();
  return TRUE;
}

void ReadOpenGLFirst(const char* commandLine, int showCommand) {
  if (showCommand == 0 || commandLine == nullptr) return;
  if (commandLine[0] == 'o' || commandLine[0] == 'O') VPLOpenGLFirst = 1;
}

bool HasEnoughMemory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return uint64_t{status.dwAvailPageFile} + status.dwAvailPhys >= kMinimumMemory;
}

// A query that fails passes: the space cannot be known, so it is not held
// against the start.
bool HasEnoughDiskSpace() {
  UUDirectory folder;
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  DWORD totalClusters = 0;
  if (!VPLGetUserFoldersBase(folder) ||
      !GetDiskFreeSpaceA(folder.Text(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters)) {
    return true;
  }
  return uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters >= kMinimumDiskSpace;
}

// True when the run ended as the person (or the session) asked.
bool RunOnScreen(VPLApplication& application) {
  const UUDisplayMode mode(UUPoint{kScreenWidth, kScreenHeight}, kScreenBits, true);
  if (!mode.Apply()) {
    VPLShowStringAlert(kScreenMessage, nullptr);
    return false;
  }
  const bool ran = application.Run() && !application.HasFailed();
  UUDisplayMode::Restore();
  return ran;
}

int RunWithPool() {
  AFMemoryPool pool(kPoolSize);
  if (pool.GetHeap() == nullptr) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, nullptr);
    return kFailed;
  }
  ALSetOutOfMemoryHandler(VPLOutOfMemoryHandler);
  bool ran = false;
  {
    std::unique_ptr<VPLApplication> application(new (&pool) VPLApplication(&pool, -1));
    VPLMovieModule movies;
    VPLQuickTimeStarted = movies.Start() ? 1 : 0;
    ran = RunOnScreen(*application);
    movies.Stop();
  }
  ALSetOutOfMemoryHandler(nullptr);
  return ran ? kEnded : kFailed;
}

}  // namespace

int WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
  const OwnedHandle semaphore(CreateSemaphoreA(nullptr, 0, 1, kSemaphoreName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) return kEnded;
  OwnedHandle libraryLock;
  if (!TakeLibraryFolder(libraryLock)) return kEnded;
  SetConsoleCtrlHandler(EndOnRequest, TRUE);
  ReadOpenGLFirst(commandLine, showCommand);
  if (!HasEnoughMemory()) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, nullptr);
    return kFailed;
  }
  if (!HasEnoughDiskSpace()) {
    VPLShowStringAlert(kNoDiskSpaceMessage, nullptr);
    return kFailed;
  }
  const int result = RunWithPool();
  SetConsoleCtrlHandler(EndOnRequest, FALSE);
  return result;
}

void VPLOutOfMemoryHandler() { VPLShowStringAlert(kVPLOutOfMemoryMessage, nullptr); }
