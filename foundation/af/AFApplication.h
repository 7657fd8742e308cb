#pragma once
// The process's application object: it makes its allocator the global
// allocator, owns the application's pulse-task manager and runs the
// program's whole life on the main thread in one call, Run.

#include "platform/win32/kernel.h"

#include <atomic>
#include <cstddef>

class ALAllocator;
class AFPulseTaskManager;
class AFWindow;
class UUDirectory;

class AFApplication {
 public:
  explicit AFApplication(ALAllocator* allocator);
  virtual ~AFApplication();
  AFApplication(const AFApplication&) = delete;
  AFApplication& operator=(const AFApplication&) = delete;

  // Starts the pulse thread, initialises, opens the command line's
  // documents or the default window, runs the message loop, closes every
  // window, cleans up and reports a pending error. True when no error is
  // pending at the end.
  virtual bool Run();
  // Shows the pending error; answers whether to run again.
  virtual bool ReportError();
  virtual void Quit();
  // Asks to quit because the program cannot go on (no display, nothing to
  // draw with): the run then counts as failed. From any thread.
  void QuitAfterFailure();
  // Whether the run failed: a quit after a failure, or a start the
  // application gave up.
  bool HasFailed() const { return mFailed; }
  virtual bool Initialize();
  virtual void Terminate();
  virtual bool OpenDefault();
  virtual bool OpenDocument(const UUDirectory& directory, const char* fileName);
  virtual void CloseAllWindows();
  virtual void RunMessageLoop();
  virtual bool OpenCommandLineDocuments();

  // The window the application's messages belong to; the application
  // object sets it when it opens its window and clears it when it closes.
  AFWindow* GetMainWindow() const { return mMainWindow; }
  bool HasMainWindow() const { return mMainWindow != nullptr; }
  void SetMainWindow(AFWindow* window) { mMainWindow = window; }
  AFWindow* GetActiveWindow() const { return mActiveWindow; }
  void SetActiveWindow(AFWindow* window) { mActiveWindow = window; }
  bool DialogsUseActiveWindow() const { return mDialogsUseActiveWindow; }
  void SetDialogsUseActiveWindow(bool use) { mDialogsUseActiveWindow = use; }
  AFPulseTaskManager* GetPulseTaskManager() const { return mPulseTaskManager; }
  ALAllocator* GetAllocator() const { return mAllocator; }
  DWORD GetThreadId() const { return mThreadId; }

  // The first top-level window of the application's thread bound to a
  // window object; null when none.
  AFWindow* FindFirstWindowObject() const;
  // The next window object after the window in the window order; null when
  // none follows.
  AFWindow* NextWindowObject(const AFWindow* window) const;

 protected:
  void RecordFailure() { mFailed = true; }

 private:
  AFWindow* mMainWindow = nullptr;
  AFWindow* mActiveWindow = nullptr;
  bool mDialogsUseActiveWindow = true;
  AFPulseTaskManager* mPulseTaskManager = nullptr;
  ALAllocator* mAllocator;
  DWORD mThreadId = 0;
  std::atomic<bool> mFailed{false};
};

extern AFApplication* AFCurrentApplication;

// Copies the next blank-separated or quoted item of a command line into the
// buffer; answers the position after it, or null when no item is left.
const char* AFNextCommandLineItem(const char* text, char* buffer, size_t capacity);
