#pragma once
// What belongs to the running program and what the application's objects
// reach without including the shell: the shell fills it at start-up, test
// fixtures fill what they use. Every member may be empty; the objects then
// go without what it serves.

#include <cstdint>
#include <functional>

class MM3DDriverTextureMap;
class MMSurface;
class RU3DTextureCollectionFromCreditsScript;
class RU3DTextureCollectionFromString;
class UURandom;
class VPLPreferences;

// The pictures the child brought in, as textures (the shell's user-texture
// collection).
class VPLUserTextureList {
 public:
  virtual ~VPLUserTextureList() = default;
  virtual int32_t GetCount() const = 0;
  // The texture of the index; -1 past the end.
  virtual int32_t GetTextureId(int32_t index) const = 0;
  // The picture file a texture was made from; null when it is no user picture.
  virtual const char* GetTextureFileName(int32_t /*textureId*/) const { return nullptr; }
  // The texture of a picture file, the name compared without case; -1 when
  // the picture is gone.
  virtual int32_t FindTextureId(const char* /*name*/) const { return -1; }
};

// What drawing the creation into a picture of its own gave: the scene time
// it stood at, and whether anything was drawn (a picture without it must
// not be saved or exported as if it were the child's work).
// The time that stands for the stage's now.
constexpr int32_t kVPLNow = -1;

struct VPLSurfaceRendering {
  int32_t mTime = 0;
  bool mRendered = false;
};

struct VPLServices {
  // The stage's driver-texture map, which loads the textures of the models.
  MM3DDriverTextureMap* mTextureMap = nullptr;
  // The application's sound-set index (which entry of a sound list plays); 0 when null.
  const int32_t* mSoundSetIndex = nullptr;
  // The collection of texts rendered into textures (collection 2).
  RU3DTextureCollectionFromString* mStringTextures = nullptr;
  // The collection of pictures of the credits script (collection 3).
  RU3DTextureCollectionFromCreditsScript* mImageTextures = nullptr;
  // The textures the user brought in.
  VPLUserTextureList* mUserTextures = nullptr;
  // The preferences store.
  VPLPreferences* mPreferences = nullptr;
  // Asks the application to quit.
  std::function<void()> mQuit;
  // Draws the creation into the surface at the time (-1: now), on white
  // where nothing is drawn when asked (the stage's offscreen rendering).
  std::function<VPLSurfaceRendering(MMSurface& surface, int32_t time, bool whiteBackground)>
      mRenderToSurface;
  // Whether the movie exporter started with the program.
  bool mMovieExporterStarted = false;
  // Set by the creation screen while it writes a movie's frames: the
  // character then plays its chosen dance on the export's clock.
  bool mMovieExportActive = false;
  // The program's one random generator; the character draws its dances
  // from it (always the first dance while none is given).
  UURandom* mRandom = nullptr;

  // The sound-set index, 0 while none is given.
  int32_t GetSoundSetIndex() const { return mSoundSetIndex != nullptr ? *mSoundSetIndex : 0; }
};

// The program's one set of services.
VPLServices& VPLGetServices();
