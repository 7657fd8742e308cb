#pragma once
// Internal to the platform layer: the system keeps Windows paths in the
// ANSI code page; the host keeps UTF-8 paths. Drive C:\ is the host's root.

#include <string>

namespace vpl::platform {

// The host path of a Windows path. Backslashes and slashes both separate
// components; "." and ".." are resolved by name; a relative path (also
// "C:name") starts at the current directory. A component that does not
// exist with its exact case is matched case-insensitively among the
// directory's entries (the first in byte order when several match); the
// first component found neither way ends the lookup and the rest is kept
// as written. Empty for a null or empty path, another drive letter or a
// network share, none of which exist here.
std::string ToHostPath(const char* windowsPath);

// The Windows path of an absolute host path: "C:" and the components
// separated by backslashes ("/" gives "C:\").
std::string ToWindowsPath(const std::string& hostPath);

}  // namespace vpl::platform
