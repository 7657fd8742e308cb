#pragma once
// Internal to the platform layer: the share modes of open files. Each open
// marks what it does (reads, writes) and what it refuses to others (their
// reads, their writes) with shared locks of the open file description on
// bytes far past any file's end, so the marks hold between the handles of
// one process and between processes, and go with the last descriptor.

#include "platform/win32/kernel.h"

namespace vpl::platform {

class FileShare {
 public:
  FileShare() = default;
  ~FileShare();
  FileShare(const FileShare&) = delete;
  FileShare& operator=(const FileShare&) = delete;

  // Marks an open of the file behind the descriptor with this access and
  // share mode. ERROR_SHARING_VIOLATION when it conflicts with an open
  // handle: its access refused by that handle's share mode, or that
  // handle's access refused by this share mode. An open without read or
  // write access is never refused and refuses nothing. A file that cannot be
  // marked (a host that has no such locks) is opened unmarked.
  DWORD Take(int descriptor, DWORD access, DWORD shareMode);

 private:
  int mDescriptor = -1;
};

}  // namespace vpl::platform
