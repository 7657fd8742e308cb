#include "media/startup/MMResourceFiles.h"

#include "foundation/af/AFError.h"
#include "foundation/uu/UUString.h"
#include "foundation/uu/UUStringResource.h"
#include "media/films/MM2DFilmCollection.h"
#include "media/films/MM2DFilmLoader.h"
#include "media/sound/MMSoundCollection.h"
#include "media/sound/MMSoundLoader.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "mm/drawing/MMBlitRequest.h"
#include "mm/resources/MMGenericResourceFile.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "mm/resources/MMPictureCollection.h"
#include "mm/resources/MMPictureLoader.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DTextureCollection.h"
#include "mm3d/MM3DTextureLoader.h"

namespace {

// The openers read no names.
constexpr bool kKeepNames = false;
constexpr bool kVerifyChecksum = true;

// Each opener registers the file's collection and answers false (its error
// recorded) when the file cannot be used.
using Opener = bool (*)(const UUDirectory& directory, const char* name);

bool OpenScriptFile(const UUDirectory& directory, const char* name) {
  return MMOpenScriptFile(directory, name) != nullptr;
}
bool OpenPictureFile(const UUDirectory& directory, const char* name) {
  return MMOpenPictureFile(directory, name, kKeepNames) != nullptr;
}
bool OpenSoundFile(const UUDirectory& directory, const char* name) {
  return MMOpenSoundResourceFile(directory, name, kKeepNames) != nullptr;
}
bool OpenFilmFile(const UUDirectory& directory, const char* name) {
  return MM2DOpenFilmResourceFile(directory, name, kKeepNames) != nullptr;
}
bool OpenTextureFile(const UUDirectory& directory, const char* name) {
  return MM3DOpenTextureResourceFile(directory, name, kKeepNames) != nullptr;
}
bool OpenModelFile(const UUDirectory& directory, const char* name) {
  return MM3DOpenModelResourceFile(directory, name, kKeepNames) != nullptr;
}

// A kind of data file: the string-table group that lists its files, the
// error of a file no search directory holds, and its opener.
struct FileKind {
  uint32_t mGroup;
  AFErrorCode mNotFound;
  Opener mOpen;
};

constexpr FileKind kScripts{475, MME_SCRIPT_FILE_NOT_FOUND, OpenScriptFile};
constexpr FileKind kPictures{476, MME_PICTURE_RESOURCE_FILE_NOT_FOUND, OpenPictureFile};
constexpr FileKind kSounds{477, MME_SOUND_RESOURCE_FILE_NOT_FOUND, OpenSoundFile};
constexpr FileKind kFilms{481, MME_FILM_RESOURCE_FILE_NOT_FOUND, OpenFilmFile};
constexpr FileKind kTextures{482, MME_TEXTURE_RESOURCE_FILE_NOT_FOUND, OpenTextureFile};
constexpr FileKind kModels{483, MME_MODEL_RESOURCE_FILE_NOT_FOUND, OpenModelFile};

// A group's items are the ids group x 1000 to group x 1000 + 999; the ids
// after them belong to the next group.
constexpr uint32_t kItemsPerGroup = 1000;

// Each file is checked whole, its checksum and every subfile's place,
// before it is used: a file cut short or changed stops the start with its
// kind's error instead of leaving a screen without pictures later.
bool IsWhole(const FileKind& kind, const UUDirectory& directory, const char* name) {
  MMDummyResourceFile file(kind.mNotFound);
  if (!file.Open(directory, name, kKeepNames, kVerifyChecksum)) return false;
  int32_t offset = 0;
  int32_t size = 0;
  bool whole = true;
  for (int32_t i = 0; whole && i < file.GetSubfileCount(); ++i) {
    whole = file.GetSubfileRange(i, &offset, &size);
  }
  if (!whole) file.ReportError(AFO_BAD_HEADER);
  file.CloseIfOpen();
  return whole;
}

bool OpenFiles(const FileKind& kind) {
  for (uint32_t index = 0; index < kItemsPerGroup; ++index) {
    char name[kUUPathCapacity];
    if (!MMLoadResourceFileName(kind.mGroup, index, name)) return true;
    const UUDirectory* directory = MMFindResourceDirectory(name);
    if (directory == nullptr) return AFSetError(kind.mNotFound, UUDirectory(), name, 0);
    if (!IsWhole(kind, *directory, name) || !kind.mOpen(*directory, name)) {
      return AFSetFailureWithoutError();
    }
  }
  return true;
}

bool OpenAllFiles() {
  if (!MMOpenScriptFiles() || !MMOpenPictureFiles() || !MMOpenSoundFiles() || !MMOpenFilmFiles()) {
    return false;
  }
  MMStart3DScratch();
  return MMOpenTextureFiles() && MMOpenModelFiles();
}

}  // namespace

bool MMStartResourceFiles() {
  MMInitializeBlitRoutines();
  MMInitSearchDirectories();
  if (!OpenAllFiles()) {
    MMStopResourceFiles();
    return false;
  }
  return MMStartGlobalPulseTaskManagers();
}

void MMStopResourceFiles() {
  // No stream may read from a file that is being closed.
  MMStopGlobalPulseTaskManagers();
  MMCloseModelFiles();
  MMCloseTextureFiles();
  MMStop3DScratch();
  MMCloseFilmFiles();
  MMCloseSoundFiles();
  MMClosePictureFiles();
  MMCloseScriptFiles();
  MMClearSearchDirectories();
}

bool MMOpenScriptFiles() { return OpenFiles(kScripts); }
bool MMOpenPictureFiles() { return OpenFiles(kPictures); }
bool MMOpenSoundFiles() { return OpenFiles(kSounds); }
bool MMOpenFilmFiles() { return OpenFiles(kFilms); }
bool MMOpenTextureFiles() { return OpenFiles(kTextures); }
bool MMOpenModelFiles() { return OpenFiles(kModels); }

void MMCloseScriptFiles() { MMDeleteAllScriptCollections(); }
void MMClosePictureFiles() { MMDeleteAllPictureCollections(); }
void MMCloseSoundFiles() { MMDestroySoundCollections(); }
void MMCloseFilmFiles() { MM2DDestroyFilmCollections(); }
void MMCloseTextureFiles() { MM3DDestroyTextureCollections(); }
void MMCloseModelFiles() { MM3DDestroyModelCollections(); }

void MMStart3DScratch() {
  MM3DDatabase::ResetReferenceTables();
  MM3DCreateDeformerScratchArrays();
  MM3DCreateShadingScratch();
}

void MMStop3DScratch() {
  MM3DDestroyShadingScratch();
  MM3DFreeDeformerScratchArrays();
  MM3DDatabase::FreeReferenceTables();
}

bool MMLoadResourceFileName(uint32_t group, uint32_t index, char* buffer) {
  char text[kUUStringCapacity];
  const bool found = UULoadStringItem(group, index, text);
  UUCopyString(text, buffer, kUUPathCapacity);
  return found;
}
