#include "app/shell/VPLWinMain.h"

#include "app/shell/VPLApplication.h"
#include "app/shell/VPLMovieModule.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLUserFolders.h"
#include "foundation/af/AFMemoryPool.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUDisplayMode.h"
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
constexpr int kStoppedEarly = 0;
constexpr int kRan = 1;

// Closes the semaphore on every way out, so that a start that stopped
// early never keeps the next one from running.
struct HandleCloser {
  void operator()(void* handle) const { CloseHandle(handle); }
};
using SemaphoreHandle = std::unique_ptr<void, HandleCloser>;

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

void RunOnScreen(VPLApplication& application) {
  const UUDisplayMode mode(UUPoint{kScreenWidth, kScreenHeight}, kScreenBits, true);
  if (!mode.Apply()) {
    VPLShowStringAlert(kScreenMessage, nullptr);
    return;
  }
  application.Run();
  UUDisplayMode::Restore();
}

int RunWithPool() {
  AFMemoryPool pool(kPoolSize);
  if (pool.GetHeap() == nullptr) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, nullptr);
    return kStoppedEarly;
  }
  ALSetOutOfMemoryHandler(VPLOutOfMemoryHandler);
  {
    std::unique_ptr<VPLApplication> application(new (&pool) VPLApplication(&pool, -1));
    VPLMovieModule movies;
    VPLQuickTimeStarted = movies.Start() ? 1 : 0;
    RunOnScreen(*application);
    movies.Stop();
  }
  ALSetOutOfMemoryHandler(nullptr);
  return kRan;
}

}  // namespace

int WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
  const SemaphoreHandle semaphore(CreateSemaphoreA(nullptr, 0, 1, kSemaphoreName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) return kStoppedEarly;
  ReadOpenGLFirst(commandLine, showCommand);
  if (!HasEnoughMemory()) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, nullptr);
    return kStoppedEarly;
  }
  if (!HasEnoughDiskSpace()) {
    VPLShowStringAlert(kNoDiskSpaceMessage, nullptr);
    return kStoppedEarly;
  }
  return RunWithPool();
}

void VPLOutOfMemoryHandler() { VPLShowStringAlert(kVPLOutOfMemoryMessage, nullptr); }
