#pragma once
// The kernel services the system calls, under their own names, answered by
// POSIX threads, files and memory. Values of constants are ours unless a
// caller or a file format fixes them.

#include <cstddef>
#include <cstdint>
#include <cstdio>

// ---- Basic types ---------------------------------------------------------

using BOOL = int;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using UINT = unsigned int;
using ULONG = uint32_t;
using SIZE_T = size_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;
using HANDLE = void*;
using HMODULE = struct HINSTANCE__*;
using HINSTANCE = HMODULE;
using LPDWORD = DWORD*;
// A 128-bit identifier of an interface or a device.
struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD MAX_PATH = 260;

// ---- Error codes (GetLastError values) -----------------------------------

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_INVALID_FUNCTION = 1;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_OUTOFMEMORY = 14;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;

// The calling thread's last error.
DWORD GetLastError();
void SetLastError(DWORD error);

// ---- Critical sections ---------------------------------------------------

// Recursive: the owning thread may enter again and must leave as often.
struct CRITICAL_SECTION {
  alignas(void*) unsigned char storage[64];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);

// ---- Private heaps -------------------------------------------------------

// A heap created with a maximum size never grows past it: an allocation
// that would exceed it fails with null. A heap made with HEAP_NO_SERIALIZE
// (or a call given it) takes no lock: HeapLock then holds up no calls.
HANDLE HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize);
BOOL HeapDestroy(HANDLE heap);
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
// The size asked for when the block was allocated; (SIZE_T)-1 on failure.
SIZE_T HeapSize(HANDLE heap, DWORD flags, LPCVOID block);
BOOL HeapLock(HANDLE heap);
BOOL HeapUnlock(HANDLE heap);

constexpr DWORD HEAP_NO_SERIALIZE = 0x00000001;
constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
constexpr WORD PROCESS_HEAP_REGION = 0x0001;
constexpr WORD PROCESS_HEAP_ENTRY_BUSY = 0x0004;

struct PROCESS_HEAP_ENTRY {
  LPVOID lpData;
  DWORD cbData;
  BYTE cbOverhead;
  BYTE iRegionIndex;
  WORD wFlags;
  struct {
    DWORD dwCommittedSize;
    DWORD dwUnCommittedSize;
    LPVOID lpFirstBlock;
    LPVOID lpLastBlock;
  } Region;
};
using LPPROCESS_HEAP_ENTRY = PROCESS_HEAP_ENTRY*;

// Starting from an entry whose lpData is null, answers the heap's one
// region (committed size = bytes held), then each live block, then fails
// with ERROR_NO_MORE_ITEMS.
BOOL HeapWalk(HANDLE heap, LPPROCESS_HEAP_ENTRY entry);

// ---- Version -------------------------------------------------------------

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  char szCSDVersion[128];
};
using LPOSVERSIONINFOA = OSVERSIONINFOA*;

// Answers Windows NT 5.0; fails when the size field is not set.
BOOL GetVersionExA(LPOSVERSIONINFOA info);

// Accepted and remembered; the layer shows no critical-error boxes anyway.
constexpr UINT SEM_FAILCRITICALERRORS = 0x0001;
UINT SetErrorMode(UINT mode);

// ---- Handles, threads, events and waiting --------------------------------

BOOL CloseHandle(HANDLE handle);

constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD STILL_ACTIVE = 259;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

HANDLE CreateThread(void* security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD threadId);
// The C run time's thread start; the same thread object as CreateThread.
uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned (*start)(void* parameter),
                         void* parameter, unsigned flags, unsigned* threadId);
// Answers the previous suspend count, or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
// A process without privileges may not raise a thread's priority: raising
// fails with ERROR_ACCESS_DENIED, and every thread stays at normal priority
// (lowering is accepted and has no effect).
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;
BOOL SetThreadPriority(HANDLE thread, int priority);
// THREAD_PRIORITY_ERROR_RETURN for a bad handle.
int GetThreadPriority(HANDLE thread);
// A pseudo handle that names the calling thread.
HANDLE GetCurrentThread();

HANDLE CreateEventA(void* security, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// number x numerator / denominator from a 64-bit product, rounded half away
// from zero; -1 when the denominator is 0 or the result leaves 32 bits.
int MulDiv(int number, int numerator, int denominator);

// Sleep(0) yields the processor.
void Sleep(DWORD milliseconds);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// A named semaphore is one per user across processes: a lock file in
// $XDG_RUNTIME_DIR (else the temporary directory) held while any handle of
// the creating process is open, and given up by the system when that
// process ends, however it ends. A second creation of a held name, in this
// process or another, answers a handle of its own with
// ERROR_ALREADY_EXISTS; a successful creation sets ERROR_SUCCESS.
HANDLE CreateSemaphoreA(void* security, LONG initialCount, LONG maximumCount, LPCSTR name);

// ---- Process ---------------------------------------------------------------

// The program's command line: its path, then its arguments, as one text
// (arguments with blanks are quoted).
LPSTR GetCommandLineA();

// ---- Console control -------------------------------------------------------
// The host's requests to end the program are the console's events: SIGINT
// is CTRL_C_EVENT, SIGHUP CTRL_CLOSE_EVENT, SIGTERM CTRL_SHUTDOWN_EVENT.
// Each reaches the handlers on a thread of its own, the last added first,
// until one answers TRUE. When none does, the process ends as the signal
// ends it. When one does, the process has 5 seconds to end by itself (a
// second request ends it at once) and is then ended as the signal ends it.
// A null routine is refused with ERROR_INVALID_PARAMETER, as is removing
// one that was never added.

constexpr DWORD CTRL_C_EVENT = 0;
constexpr DWORD CTRL_CLOSE_EVENT = 2;
constexpr DWORD CTRL_SHUTDOWN_EVENT = 6;
using PHANDLER_ROUTINE = BOOL (*)(DWORD event);
BOOL SetConsoleCtrlHandler(PHANDLER_ROUTINE routine, BOOL add);

// ---- Memory and disk status ----------------------------------------------

struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  SIZE_T dwTotalPhys;
  SIZE_T dwAvailPhys;
  SIZE_T dwTotalPageFile;
  SIZE_T dwAvailPageFile;
  SIZE_T dwTotalVirtual;
  SIZE_T dwAvailVirtual;
};
using LPMEMORYSTATUS = MEMORYSTATUS*;

// The machine's memory: physical memory from the system's counts, the page
// file from its swap space; the address space is the process's own.
void GlobalMemoryStatus(LPMEMORYSTATUS status);

// The free space of the volume that holds the folder (any folder, not only
// a drive's root), in clusters of one block of the host's file system as
// far as 32-bit counts reach; fails with the path's error.
BOOL GetDiskFreeSpaceA(LPCSTR folder, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD freeClusters, LPDWORD totalClusters);

// ---- Thread-local storage ------------------------------------------------

constexpr DWORD TLS_OUT_OF_INDEXES = 0xFFFFFFFF;
DWORD TlsAlloc();
BOOL TlsFree(DWORD index);
LPVOID TlsGetValue(DWORD index);
BOOL TlsSetValue(DWORD index, LPVOID value);

// ---- Memory checks -------------------------------------------------------

// True when some of the n bytes are not mapped readable (or writable) in
// this process; 0 bytes are always good.
BOOL IsBadReadPtr(LPCVOID pointer, UINT_PTR n);
BOOL IsBadWritePtr(LPVOID pointer, UINT_PTR n);

// ---- File handles --------------------------------------------------------
// Paths are Windows paths, mapped to the host's. Share modes hold between
// the handles of a process and between processes; FILE_SHARE_DELETE and
// the other flags are accepted and not enforced.

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

// The host's errno values become these codes (anything unlisted: 31).
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_BAD_FORMAT = 11;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_NOT_READY = 21;
constexpr DWORD ERROR_CRC = 23;
constexpr DWORD ERROR_SEEK = 25;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_READ_FAULT = 30;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_WRONG_DISK = 34;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_MEDIA_CHANGED = 1110;
constexpr DWORD ERROR_NO_MEDIA_IN_DRIVE = 1112;
constexpr DWORD ERROR_IO_DEVICE = 1117;

// Fails with ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (a missing
// directory or an unmappable path), ERROR_ACCESS_DENIED (also for a
// directory), ERROR_FILE_EXISTS (CREATE_NEW), ERROR_SHARING_VIOLATION and
// the mapped errno.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD shareMode, void* security, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
// Reads until n bytes or the end of the file: fewer bytes read is success.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD n, LPDWORD read, void* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD n, LPDWORD written, void* overlapped);
// With high null the distance is signed 32-bit; a position before the start
// fails with ERROR_NEGATIVE_SEEK. Answers the new position's low 32 bits.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* high, DWORD method);
DWORD GetFileSize(HANDLE file, LPDWORD high);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);

// ---- Debug output --------------------------------------------------------

// Standard error, and only when VPL3D_DEBUG is set.
void OutputDebugStringA(LPCSTR text);

// ---- Modules -------------------------------------------------------------

using FARPROC = void (*)();
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// The module table: "OPENGL32.DLL" (any letter case) is the system's libGL;
// modules the layer does not provide (tablet and vendor libraries) are
// missing: null with ERROR_MOD_NOT_FOUND, as is every module named in
// VPL3D_MISSING_MODULES (';' between names). Loaded modules stay loaded.
HMODULE LoadLibraryA(LPCSTR name);
// name may be an ordinal in its low 16 bits (MAKEINTRESOURCEA).
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);

// The program's own module (null or its name answer the same handle);
// other names answer null with ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleA(LPCSTR name);

// ---- Global atoms ------------------------------------------------------------
// Texts compared without regard to case, counted: each add needs a delete.
// "#n" and MAKEINTATOM(n) name the integer atom n (1 to 0xBFFF), which is
// never counted; MAKEINTATOM(0) answers 0 without an error, larger values
// fail with ERROR_INVALID_PARAMETER. GlobalGetAtomNameA answers 0 with
// ERROR_MORE_DATA when the name does not fit, and ERROR_INVALID_PARAMETER
// for atom 0.

using ATOM = WORD;
ATOM GlobalAddAtomA(LPCSTR text);
// Answers 0 once the atom's count reaches 0.
ATOM GlobalDeleteAtom(ATOM atom);
ATOM GlobalFindAtomA(LPCSTR text);
UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size);

// ---- Files and directories by name ---------------------------------------
// Paths are Windows paths in the ANSI code page, mapped to the host's:
// drive C:\ is the host's root, backslashes and slashes both separate, and a
// name that does not exist with its exact case is found without regard to
// case. C: is the only drive, on purpose: the host has one tree of files,
// so every other drive answers as a drive that does not exist.

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

// Directories answer FILE_ATTRIBUTE_DIRECTORY, files the host denies us
// writing FILE_ATTRIBUTE_READONLY, other files FILE_ATTRIBUTE_NORMAL.
DWORD GetFileAttributesA(LPCSTR path);
// Fails with ERROR_ALREADY_EXISTS or ERROR_PATH_NOT_FOUND (missing parent).
BOOL CreateDirectoryA(LPCSTR path, void* security);
// Fails with ERROR_DIR_NOT_EMPTY unless the directory is empty.
BOOL RemoveDirectoryA(LPCSTR path);
// Fails with ERROR_FILE_NOT_FOUND, or ERROR_ACCESS_DENIED for a directory.
BOOL DeleteFileA(LPCSTR path);
// Renames a file or directory; fails with ERROR_ALREADY_EXISTS when the new
// name is taken (also by the same file under another case), checked in the
// same step as the rename, so that no other mover can take it in between.
BOOL MoveFileA(LPCSTR from, LPCSTR to);
// The C run time's stream opening for a Windows path, as the system's code
// opens files through the C library; the share mode is not enforced.
constexpr int _SH_DENYNO = 0x40;
std::FILE* _fsopen(const char* path, const char* mode, int shareFlag);
// With MOVEFILE_REPLACE_EXISTING an existing file at to is replaced in one
// step, so that it is never missing; without it a taken name is refused as
// MoveFileA refuses it. With MOVEFILE_WRITE_THROUGH the call answers once
// the rename is on the disk (both folders flushed). Other flags are refused.
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);

// The pattern's last component may hold * (any run) and ? (any one
// character) and matches without regard to case; "*.*" and "name.*" also
// match names without a dot. "." and ".." are found in every directory but
// the root. Entries come in byte order of their names. Fails with
// ERROR_FILE_NOT_FOUND when nothing matches.
HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
// Fails with ERROR_NO_MORE_FILES after the last entry.
BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data);
BOOL FindClose(HANDLE search);
// File times are UTC; fails outside the DOS years 1980 to 2107.
BOOL FileTimeToDosDateTime(const FILETIME* time, WORD* dosDate, WORD* dosTime);

// The program's executable (module null or the program's own); the path is
// cut to size - 1 characters with ERROR_INSUFFICIENT_BUFFER when too long.
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
// The absolute form of a path, its case as found; *filePart (when asked)
// points at its last component.
DWORD GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart);
// This layer's own: the host's path of a path (its case as found), the one
// a person on this machine knows the file by, for the messages that name a
// file; answers as GetFullPathNameA does.
DWORD GetHostPathNameA(LPCSTR path, DWORD size, LPSTR buffer);
// Long names are their own short names: an existing path is copied.
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size);
// These four answer the length without the terminator, or the size needed
// with the terminator when the buffer is too small. The temporary path is
// $TMPDIR (or /tmp); the Windows directory is the program's per-user
// configuration directory, made when missing. Each ends in a backslash
// except the current directory.
DWORD GetTempPathA(DWORD size, LPSTR buffer);
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR path);

constexpr UINT DRIVE_UNKNOWN = 0;
constexpr UINT DRIVE_NO_ROOT_DIR = 1;
constexpr UINT DRIVE_REMOVABLE = 2;
constexpr UINT DRIVE_FIXED = 3;
constexpr UINT DRIVE_REMOTE = 4;
constexpr UINT DRIVE_CDROM = 5;
constexpr UINT DRIVE_RAMDISK = 6;
constexpr DWORD FS_CASE_IS_PRESERVED = 0x00000002;

// C:\ is a fixed disk; every other root has no drive.
UINT GetDriveTypeA(LPCSTR root);
// "C:\" and a second terminator; answers the characters without the last
// terminator, or the size needed when the buffer is too small.
DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer);
// C:\ has an empty label, 255-character names and case-preserving names.
BOOL GetVolumeInformationA(LPCSTR root, LPSTR label, DWORD labelSize, LPDWORD serial,
                           LPDWORD maxComponentLength, LPDWORD flags, LPSTR fileSystem,
                           DWORD fileSystemSize);

// ---- Code pages and characters -------------------------------------------
// The ANSI code page is 1252, which has no double-byte characters.

using WCHAR = char16_t;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LCID = DWORD;

constexpr UINT CP_ACP = 0;
constexpr UINT CP_MACCP = 2;
constexpr UINT CP_WINDOWS_1252 = 1252;
constexpr UINT CP_MACROMAN = 10000;
constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr DWORD NORM_IGNORECASE = 0x00000001;
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;

UINT GetACP();
BOOL IsDBCSLeadByte(BYTE byte);
// The next character (the terminator stays put) and the previous one (start
// stays put).
LPSTR CharNextA(LPCSTR current);
LPSTR CharPrevA(LPCSTR start, LPCSTR current);
// In place; a pointer whose high bits are zero is one character in its low
// byte and the converted character is answered the same way.
LPSTR CharUpperA(LPSTR text);
LPSTR CharLowerA(LPSTR text);
// Dictionary order: letters compare by their base letter first, then
// accents, then case (lower before upper); lengths of -1 mean terminated.
// Answers a CSTR_ value, 0 with ERROR_INVALID_PARAMETER for null texts.
int CompareStringA(LCID locale, DWORD flags, LPCSTR a, int lengthA, LPCSTR b, int lengthB);
// CompareStringA without regard to case, answered as negative, 0, positive.
int lstrcmpiA(LPCSTR a, LPCSTR b);
// Copies at most size - 1 bytes and terminates; null for a null argument or
// a size below 1.
LPSTR lstrcpynA(LPSTR destination, LPCSTR source, int size);
// Code pages 1252 (or CP_ACP) and Mac Roman (10000 or CP_MACCP). A length
// of -1 includes the terminator; a destination size of 0 asks the size
// needed. Characters the target lacks become the default character ('?')
// and set *usedDefault.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                        int wideSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int length, LPSTR text,
                        int textSize, LPCSTR defaultChar, BOOL* usedDefault);

// ---- Global heap ---------------------------------------------------------
// Movable blocks reached through handles. Blocks never actually move here,
// so an address stays valid while the block lives; the lock count is kept
// so that GlobalUnlock answers as the caller expects.

using HGLOBAL = HANDLE;

constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_DDESHARE = 0x2000;  // accepted; it changes nothing
constexpr DWORD ERROR_NOT_LOCKED = 158;

// A new block of exactly bytes; null with ERROR_NOT_ENOUGH_MEMORY when the
// memory (or the limit a test set) is exhausted.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address, one more lock; null with ERROR_INVALID_HANDLE for a
// handle that is not a live block.
LPVOID GlobalLock(HGLOBAL memory);
// One lock fewer: TRUE while still locked, FALSE with ERROR_SUCCESS when
// this was the last lock, FALSE with ERROR_NOT_LOCKED when there was none.
BOOL GlobalUnlock(HGLOBAL memory);
// Null on success; the handle itself with ERROR_INVALID_HANDLE otherwise.
HGLOBAL GlobalFree(HGLOBAL memory);
// The bytes asked for when the block was made; 0 for a bad handle.
SIZE_T GlobalSize(HGLOBAL memory);
// The room left for new blocks (under a test's limit, else 0x7FFFFFFF).
SIZE_T GlobalCompact(DWORD minimumFree);

// ---- Module resources --------------------------------------------------------
// The program's module holds no menu, accelerator, dialog or animated-cursor
// resources (its strings and version are compiled in), so a search answers
// null with ERROR_RESOURCE_NAME_NOT_FOUND, as for a module without them.

using HRSRC = struct HRSRC__*;
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
#define RT_MENU (reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(4)))
#define RT_DIALOG (reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(5)))
#define RT_ACCELERATOR (reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(9)))
#define RT_ANICURSOR (reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(21)))
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
// Null with ERROR_RESOURCE_DATA_NOT_FOUND for a resource that was not found.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
