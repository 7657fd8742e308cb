#pragma once
// Hooks that let tests drive the platform layer where a person would act:
// the answers of message boxes shown without a display, the command line,
// the program's string table.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/user.h"

namespace vpl::platform {

// The answer every following box gives when shown without a display;
// 0 (the default) is the answer of a box that cannot be shown.
void SetMessageBoxAnswer(int answer);
// The number of boxes shown since the process started, and the last one's
// caption and text.
int MessageBoxCount();
std::string LastMessageBoxCaption();
std::string LastMessageBoxText();

// Sets the command line GetCommandLineA answers, as the program's entry
// receives it: the program path and then the arguments.
void SetCommandLine(int argumentCount, const char* const* arguments);

// Gives a string-table id (taken modulo 65536) another text from now on,
// or takes it out of the table when the text is null, as another build of
// the program would have it; ResetStringTable gives back the compiled-in
// table.
void SetStringTableEntry(UINT id, const char* text);
void ResetStringTable();

// The next count reads (negative: every read) of the file at this host
// path fail with the given error, as a removed disc makes them fail. A
// count of 0 ends the failures.
void FailReadsOfFile(const std::string& hostPath, uint32_t error, int count);

// Caps the bytes that blocks of the global heap may hold together, so that
// tests can make GlobalAlloc fail; 0 (the default) removes the cap.
void SetGlobalHeapLimit(size_t bytes);

// From now on GlobalMemoryStatus answers these free bytes of physical
// memory and of the page file; ResetMemoryStatus gives back the machine's.
void SetMemoryStatus(SIZE_T availablePhysical, SIZE_T availablePageFile);
void ResetMemoryStatus();
// From now on GetDiskFreeSpaceA answers this many free bytes for every
// folder (one byte per cluster), or fails with ERROR_NOT_READY when
// failQuery is set; ResetDiskFreeSpace gives back the volumes' own.
void SetDiskFreeSpace(DWORD freeBytes, bool failQuery);
void ResetDiskFreeSpace();

// From now on GetModuleFileNameA answers this host path as the program's
// file, so that what the program keeps beside itself lands in a test's
// own folder; an empty path gives back the running program's.
void SetModuleFilePath(const std::string& hostPath);

// Desktop input and window events for a top-level window, as the desktop
// delivers them: they become messages at the main thread's next message
// call (main thread only). Points are in the window's client coordinates;
// button 1 is the left button, 2 the right.
void InjectMouseButton(HWND topLevel, POINT point, int button, bool down, int clicks);
void InjectMouseMove(HWND topLevel, POINT point);
void InjectKey(HWND topLevel, int virtualKey, bool down);
enum class DesktopEvent { Close, FocusGained, FocusLost, Moved, Resized, Minimized, Restored };
// data1 and data2: the new position of Moved, the new size of Resized.
void InjectDesktopEvent(HWND topLevel, DesktopEvent kind, int data1, int data2);
// A pixel of a window's client area as 0x00RRGGBB.
uint32_t WindowPixelAt(HWND window, POINT clientPoint);

// The resolutions every printer offers from now on (dots per inch, any
// values, none at all); Reset gives back the printers' own 300 x 300.
void SetPrinterResolutions(const std::vector<POINT>& resolutions);
void ResetPrinterResolutions();

// Forgets the registry held in memory and every open key, so that the next
// registry call reads the store file again, as a new run of the program
// would (tests point $XDG_CONFIG_HOME at a directory of their own first).
void RestartRegistryStore();
// Calls the probe at each step of every following write of the registry
// store, numbered from 0, so that a test can end the writer at any point
// of it; null removes the probe.
void SetRegistrySaveProbe(void (*probe)(int step));
// Calls the probe before each following step that changes a file or the
// file system (open, write, flush, rename, delete, make or remove a
// folder), numbered from 0, so that a test can end the process at any
// point of a save; null removes the probe.
void SetFileSystemStepProbe(void (*probe)(int step));

// Stops timeGetTime (and so the program clock) at its current reading;
// AdvanceFrozenClock moves the stopped clock on, ThawClock lets it follow
// the monotonic clock again.
void FreezeClock();
void AdvanceFrozenClock(DWORD milliseconds);
void ThawClock();
// While the clock is frozen, every reading moves it on by this many
// milliseconds after answering, so that code waiting on the clock in a loop
// sees time pass as it reads; 0 (the default) keeps it still.
void SetFrozenClockStep(DWORD milliseconds);

// The sound output behind DirectSound. While held, the audio device takes
// no sound and a test mixes the output itself: MixSoundOutput writes the
// next frames as interleaved left and right samples at 44100 Hz, false
// when no output is open. WaitForSoundOutput waits until the audio device
// has taken this many more frames, false when the timeout passed first.
void HoldSoundOutput(bool hold);
bool MixSoundOutput(int16_t* out, int frames);
bool WaitForSoundOutput(int frames, DWORD timeoutMilliseconds);

// Makes the bytes from first to last lead bytes of double-byte characters
// for IsDBCSLeadByte, CharNextA and CharPrevA, as a double-byte ANSI code
// page would; conversions stay those of Windows-1252. A range with first >
// last (the default, 1 to 0) makes every character one byte again.
void SetDoubleByteLeadRange(BYTE first, BYTE last);

// The PCI vendor and device ids that DirectDraw objects report from now
// on, as a display adapter's driver would; 0 and 0 (the default) report
// none.
void SetDirectDrawDeviceIds(DWORD vendor, DWORD device);

// Main thread only: shows the desktop's pending changes and reads back what
// the X server really shows of a top-level window's client area, as
// 0x00RRGGBB, top row first: a full-screen client shown scaled is read at
// its own size from where it is shown. False when the video driver is not
// X11, or the window is not shown on the X screen.
bool CaptureWindowOnScreen(HWND window, std::vector<uint32_t>& pixels, int& width, int& height);

}  // namespace vpl::platform
