// The application's user folders and its log.

#include "app/objects/VPLPreferences.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "app/shell/VPLTextureCollectionFromFile.h"
#include "app/shell/VPLUserFolders.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "mm/stage/MMStageWindow.h"

#include <cstring>

namespace {

constexpr UINT kProgramNameString = 101;
constexpr UINT kLibraryString = 102;
constexpr UINT kTexturesString = 103;
constexpr UINT kExportsString = 104;
constexpr UINT kNoDiskSpaceMessage = 111;
constexpr char kLogExtension[] = ".log";
constexpr char kLogHeading[] = "Vantry's Plorvia 3D Log File";
constexpr char kLogRule[] = "=========================================";
constexpr int32_t kNameCapacity = 260;

}  // namespace

bool VPLApplication::WriteBytes(const char* bytes, uint32_t count) {
  return mLogFile.IsOpen() && mLogFile.Write(bytes, count);
}

bool VPLApplication::WriteLogLine(const char* text) {
  return WriteBytes(text, static_cast<uint32_t>(std::strlen(text))) && WriteBytes("\r", 1) &&
         WriteBytes("\n", 1);
}

// The log starts anew at every run; a log that cannot be opened is no
// reason to stop: its lines are dropped.
bool VPLApplication::OpenLog() {
  char name[kNameCapacity];
  if (LoadStringA(nullptr, kProgramNameString, name, kNameCapacity) <= 0) return false;
  UUAppendString(kLogExtension, name, kNameCapacity);
  if (!mLogFile.Open(mUserFoldersBase, name, kUUFileCreate, UUFileOptions{})) return false;
  return WriteLogLine(kLogHeading) && WriteLogLine(kLogRule);
}

bool VPLApplication::FindOrMakeFolder(UINT nameId, UUDirectory& folder) {
  char name[kNameCapacity];
  if (LoadStringA(nullptr, nameId, name, kNameCapacity) <= 0) return true;
  if (UUGetSubdirectory(mUserFoldersBase, name, folder) ||
      UUCreateDirectory(mUserFoldersBase, name, folder)) {
    return true;
  }
  return ShowNoDiskSpace();
}

// Every folder the program cannot do without ends the start with message
// 111: a child must not see the program vanish without a word.
bool VPLApplication::SetUpUserFolders() {
  if (!VPLGetUserFoldersBase(mUserFoldersBase)) {
    VPLShowStringAlert(kNoDiskSpaceMessage, nullptr);
    return false;
  }
  OpenLog();
  UUDirectory library;
  UUDirectory textures;
  return FindOrMakeFolder(kLibraryString, library) && OpenLibrary(library) &&
         FindOrMakeFolder(kTexturesString, textures) && LoadUserTextures(textures) &&
         FindOrMakeFolder(kExportsString, mExportsFolder);
}

// The library opens on the sketchbook the child used last; a number the
// library no longer holds opens the first one.
bool VPLApplication::OpenLibrary(const UUDirectory& folder) {
  mLibrary = std::make_unique<VPLSketchbookLibrary>(folder);
  if (!mLibrary->Load(true)) return ShowNoDiskSpace();
  int32_t number = 0;
  if (mPreferences != nullptr) mPreferences->GetSketchbookNumber(number);
  if (number < 0 || number >= mLibrary->GetSketchbookCount()) number = 0;
  mLibrary->SelectSketchbookAt(number);
  return true;
}

bool VPLApplication::LoadUserTextures(const UUDirectory& folder) {
  return mUserTextures == nullptr || mUserTextures->Load(folder) || ShowNoDiskSpace();
}

bool VPLApplication::ShowNoDiskSpace() {
  VPLShowStringAlert(kNoDiskSpaceMessage,
                     mMainWindow != nullptr ? mMainWindow->GetHandle() : nullptr);
  return false;
}
