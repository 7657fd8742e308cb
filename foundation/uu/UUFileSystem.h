#pragma once
// Files and directories named by a directory and a file name kept apart.
// Every routine answers false and empties its outputs instead of reporting
// an error: a path that does not fit in 260 bytes, a missing directory, an
// invalid root or a failed system call. Path and name outputs are buffers
// of kUUPathCapacity bytes.

#include "foundation/uu/UUDirectory.h"

#include <cstdint>

// Queries.
bool UUDirectoryExists(const UUDirectory& directory);
bool UUIsRootDirectory(const UUDirectory& directory);
// A directory counts as a file here.
bool UUFileExists(const UUDirectory& directory, const char* name);
bool UUIsFileReadOnly(const UUDirectory& directory, const char* name);
// size is the low 32 bits of the file's size, -1 when the answer is false.
bool UUGetFileSize(const UUDirectory& directory, const char* name, int32_t& size);
// The joined path of an existing directory and a name; false and an empty
// path when the directory is missing or the whole path does not fit.
bool UUMakeFilePath(char* path, const UUDirectory& directory, const char* name);
// What follows the last "." of the path's last component; empty when none.
void UUGetExtension(const char* path, char* extension);
bool UUGetShortDirectoryPath(const UUDirectory& directory, char* path);
bool UUGetShortFilePath(const UUDirectory& directory, const char* name, char* path);

// Splitting and resolving.
// Cuts the last component off a path (keeping the backslash before it);
// false when the root is invalid or the path is only its root.
bool UUSplitLastComponent(char* path, char* name);
// For a root: name = the root itself and no parent.
bool UUGetParentDirectory(const UUDirectory& directory, char* name, UUDirectory& parent);
bool UUGetSubdirectory(const UUDirectory& parent, const char* name, UUDirectory& directory);
// An existing directory, or an existing directory and a last component.
bool UUSplitFilePath(const char* path, UUDirectory& directory, char* name);
// A path starting with "." (backslash-separated, ".." going up) or ":"
// (colon-separated, an empty step going up) is taken from base; any other
// path as UUSplitFilePath takes it.
bool UUResolvePath(const char* path, const UUDirectory& base, UUDirectory& directory, char* name);

// Operations.
bool UUCreateDirectory(const UUDirectory& parent, const char* name, UUDirectory& directory);
// A file that is already gone counts as deleted.
bool UUDeleteFile(const UUDirectory& directory, const char* name);
bool UURenameFile(const UUDirectory& directory, const char* oldName, const char* newName);

// Well-known directories.
bool UUGetModulePath(UUDirectory& directory, char* name);
bool UUGetModuleDirectory(UUDirectory& directory);
bool UUGetWindowsDirectory(UUDirectory& directory);
bool UUGetTempDirectory(UUDirectory& directory);
bool UUGetCurrentDirectory(UUDirectory& directory);
bool UUSetCurrentDirectory(const char* path);
// The user's desktop folder; false and empty when the machine has none.
bool UUGetDesktopDirectory(UUDirectory& directory);
