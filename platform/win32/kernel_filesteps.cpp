#include "platform/win32/FileSteps.h"
#include "platform/win32/testhooks.h"

#include <atomic>

namespace vpl::platform {

namespace {

std::atomic<void (*)(int)> gStepProbe{nullptr};
std::atomic<int> gNextStep{0};

}  // namespace

void FileSystemStep() {
  if (auto probe = gStepProbe.load()) probe(gNextStep++);
}

void SetFileSystemStepProbe(void (*probe)(int step)) {
  gNextStep = 0;
  gStepProbe = probe;
}

}  // namespace vpl::platform
