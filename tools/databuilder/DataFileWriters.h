#pragma once
// Each kind's file written with the program's own writers, collection 0,
// "II", stamps 0, subfiles named by their symbols. Each throws BuildError
// when the writer fails.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/BuiltScripts.h"
#include "tools/databuilder/FilmStage.h"
#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/PictureStage.h"
#include "tools/databuilder/SoundStage.h"
#include "tools/databuilder/TextureStage.h"

#include <vector>

namespace databuilder {

void WriteScriptFile(const UUDirectory& directory, const char* name, const BuiltScripts& scripts);
void WritePictureFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                      const std::vector<BuiltPicture>& pictures);
void WriteSoundFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                    const std::vector<BuiltSound>& sounds);
void WriteFilmFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                   const std::vector<BuiltFilm>& films);
void WriteTextureFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                      const std::vector<BuiltTexture>& textures);
void WriteModelFile(const UUDirectory& directory, const char* name, const Manifest& manifest,
                    const std::vector<UURefCount<MM3DModel>>& models);

}  // namespace databuilder
