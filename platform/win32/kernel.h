#pragma once
// The kernel services the system calls, under their own names, answered by
// POSIX threads, files and memory. Values of constants are ours unless a
// caller or a file format fixes them.

#include <cstddef>
#include <cstdint>

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
// that would exceed it fails with null.
HANDLE HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize);
BOOL HeapDestroy(HANDLE heap);
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
// The size asked for when the block was allocated; (SIZE_T)-1 on failure.
SIZE_T HeapSize(HANDLE heap, DWORD flags, LPCVOID block);
BOOL HeapLock(HANDLE heap);
BOOL HeapUnlock(HANDLE heap);

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
uintptr_t _beginthreadex(void* security, unsigned stackSize,
                         unsigned (*start)(void* parameter), void* parameter,
                         unsigned flags, unsigned* threadId);
// Answers the previous suspend count, or (DWORD)-1 on failure.
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
// Priorities are accepted and have no effect without privileges.
constexpr int THREAD_PRIORITY_NORMAL = 0;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;
constexpr int THREAD_PRIORITY_HIGHEST = 2;
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 15;
BOOL SetThreadPriority(HANDLE thread, int priority);

HANDLE CreateEventA(void* security, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Sleep(0) yields the processor.
void Sleep(DWORD milliseconds);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                             DWORD milliseconds);

// ---- Thread-local storage ------------------------------------------------

constexpr DWORD TLS_OUT_OF_INDEXES = 0xFFFFFFFF;
DWORD TlsAlloc();
BOOL TlsFree(DWORD index);
LPVOID TlsGetValue(DWORD index);
BOOL TlsSetValue(DWORD index, LPVOID value);
