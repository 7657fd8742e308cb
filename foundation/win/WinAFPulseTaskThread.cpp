#include "foundation/win/WinAFPulseTaskThread.h"

#include "foundation/af/AFPulseTask.h"
#include "foundation/al/ALMilliseconds.h"

#include <climits>

void WinAFPulseTaskThread::Run() {
  while (!mManager.IsStopping()) {
    mManager.RunDueTasks();
    const int32_t earliest = mManager.EarliestDue();
    DWORD wait = INFINITE;
    if (earliest != INT_MAX) {
      const int64_t remaining = int64_t{earliest} - static_cast<int32_t>(ALMilliseconds());
      wait = remaining > 0 ? static_cast<DWORD>(remaining) : 0;
    }
    WaitForSingleObject(mManager.GetWakeEvent(), wait);
  }
}
