#pragma once
// The program's application object: it opens the data files, makes the
// main window, the preferences, the user's folders with the log and the
// sketchbook library, the texture collections and the stage, runs the main
// thread's message loop and closes it all again. Every part of the program
// reaches the log, the library and the exports folder through it.

#include "foundation/af/AFApplication.h"
#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"

#include <atomic>
#include <cstdint>
#include <memory>

class MMStageWindow;
class RU3DTextureCollectionFromCreditsScript;
class RU3DTextureCollectionFromString;
class VPLPreferences;
class VPLLibrarySketches;
class VPLSketchbookLibrary;
class VPLStage;
class VPLTextureCollectionFromFile;
class VPLTextureCollectionFromSketchHandle;

class VPLApplication : public AFApplication {
 public:
  // The flags are the framework's; -1 takes its defaults.
  VPLApplication(ALAllocator* allocator, int32_t flags);
  ~VPLApplication() override;

  void Quit() override;
  bool Initialize() override;
  void Terminate() override;
  bool OpenDefault() override;
  // The program opens no documents: its arguments are options.
  bool OpenDocument(const UUDirectory& directory, const char* fileName) override;
  void CloseAllWindows() override;
  void RunMessageLoop() override;

  // Writes the text and CR LF to the log; each part only after the one
  // before it was written. From the stage thread as well.
  bool WriteLogLine(const char* text);
  // The log, the Library, Textures and Exports folders; false (after
  // message 111 when a folder cannot be made) when the program cannot run.
  bool SetUpUserFolders();

  VPLStage* GetStage() const { return mStage; }
  VPLSketchbookLibrary* GetSketchbookLibrary() const { return mLibrary.get(); }
  VPLPreferences* GetPreferences() const { return mPreferences.get(); }
  // The sketches' thumbnails as textures (collection 4).
  VPLTextureCollectionFromSketchHandle* GetSketchTextures() const { return mSketchTextures.get(); }
  MMStageWindow* GetMainWindow() const { return mMainWindow; }
  const UUDirectory& GetExportsFolder() const { return mExportsFolder; }
  const UUDirectory& GetUserFoldersBase() const { return mUserFoldersBase; }

 private:
  bool OpenLog();
  bool WriteBytes(const char* bytes, uint32_t count);
  bool FindOrMakeFolder(UINT nameId, UUDirectory& folder);
  bool OpenPreferences();
  bool OpenLibrary(const UUDirectory& folder);
  bool LoadUserTextures(const UUDirectory& folder);
  void FillServices();
  void EmptyServices();
  bool ShowNoDiskSpace();
  void TakeMessages();
  void KeepClosingWhileTheSessionEnds();

  std::atomic<bool> mQuit{false};
  UINT_PTR mCloseTimer = 0;
  VPLStage* mStage = nullptr;
  std::unique_ptr<VPLPreferences> mPreferences;
  std::unique_ptr<VPLSketchbookLibrary> mLibrary;
  // The creation area's way into the library's current sketch.
  std::unique_ptr<VPLLibrarySketches> mLibrarySketches;
  std::unique_ptr<RU3DTextureCollectionFromString> mTextTextures;
  std::unique_ptr<RU3DTextureCollectionFromCreditsScript> mCreditsTextures;
  std::unique_ptr<VPLTextureCollectionFromSketchHandle> mSketchTextures;
  std::unique_ptr<VPLTextureCollectionFromFile> mUserTextures;
  int32_t mSoundSetIndex = 0;
  UUDirectory mUserFoldersBase;
  UUDirectory mExportsFolder;
  MMStageWindow* mMainWindow = nullptr;
  UUFile mLogFile;
};

// The program's one application object; null outside its life.
extern VPLApplication* VPLCurrentApplication;

// A termination request (a logout, a shutdown, Ctrl+C) closes the window as
// the child's close does; from then on for the rest of the process nobody
// is there to answer a question, so the screens keep the work without
// asking and let the window close at once. From any thread.
void VPLEndSession();
bool VPLSessionEnding();
void VPLResetSessionEndingForTest();
