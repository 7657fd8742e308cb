#pragma once
// Internal to the platform layer: every step that changes the file system
// or a file (open, write, flush, rename, delete, make or remove a folder)
// first passes here, so that a test can end the process at any one of them.

namespace vpl::platform {

// Calls the probe set by SetFileSystemStepProbe with the next step number.
void FileSystemStep();

}  // namespace vpl::platform
