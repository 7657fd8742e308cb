#pragma once
// The program's own data files as the build made them (VPL_DATA_DIR, else
// the working folder), open for a test's life.

#include "foundation/uu/UUDirectory.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DTextureLoader.h"
#include "platform/win32/PathMapping.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace app_fixtures {

// The folder of the program's own data files, as the program names
// folders.
inline std::string DataFolderName() {
  const char* directory = std::getenv("VPL_DATA_DIR");
  const std::filesystem::path path =
      directory != nullptr && *directory != '\0' ? directory : std::filesystem::path(".");
  return vpl::platform::ToWindowsPath(std::filesystem::absolute(path).string());
}

// The program's own scripts, textures and models, open for the object's
// life.
class ProgramDataFiles {
 public:
  ProgramDataFiles() {
    const UUDirectory folder(DataFolderName().c_str());
    mScripts.reset(MMOpenScriptFile(folder, "Hd.mms"));
    mTextures.reset(MM3DOpenTextureResourceFile(folder, "vpl3d.MMX", false));
    mModels.reset(MM3DOpenModelResourceFile(folder, "vpl3d.MMM", false));
  }
  ~ProgramDataFiles() {
    mModels.reset();
    mTextures.reset();
    mScripts.reset();
  }
  ProgramDataFiles(const ProgramDataFiles&) = delete;
  ProgramDataFiles& operator=(const ProgramDataFiles&) = delete;

  bool Ready() const { return mScripts && mTextures && mModels; }

 private:
  std::unique_ptr<MMScriptLoader> mScripts;
  std::unique_ptr<MM3DTextureLoader> mTextures;
  std::unique_ptr<MM3DModelLoader> mModels;
};

}  // namespace app_fixtures
