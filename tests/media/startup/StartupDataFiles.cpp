#include "tests/media/films/FilmTestSupport.h"
#include "tests/media/sound/SoundTestSupport.h"
#include "tests/media/startup/StartupTestSupport.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/mm3d/TextureTestSupport.h"
#include "tests/support/ResourceFileFixtures.h"

namespace startup_fixtures {

void WriteScriptFile(const std::string& tempName, int16_t collection) {
  resource_fixtures::ScriptFileContents contents;
  contents.rowSizes = {4};
  contents.entries = {{0, 1, resource_fixtures::Bytes().U32(7).Get(), std::string()}};
  resource_fixtures::WriteScripts(tempName, collection, contents);
}

void WritePictureFile(const std::string& tempName, int16_t collection) {
  resource_fixtures::WritePictures(tempName, collection,
                                   {{true, false, 0, 4, 2, 0, std::vector<uint8_t>(8, 1)}});
}

void WriteSoundFile(const std::string& tempName, int16_t collection) {
  const sound_fixtures::Pcm pcm = sound_fixtures::Ramp16(16);
  sound_fixtures::WriteSounds(tempName, {sound_fixtures::Entry(pcm, 0, true, false)},
                              kUUNativeByteOrder, collection);
}

void WriteFilmFile(const std::string& tempName, int16_t collection) {
  film_fixtures::WriteFilms(tempName, collection, {film_fixtures::FilmEntry{}});
}

void WriteTextureFile(const std::string& tempName, int16_t collection) {
  texture_fixtures::WriteTextures(tempName, collection,
                                  {texture_fixtures::MakeTexture("texture", 8, 8, true)});
}

void WriteModelFile(const std::string& tempName, int16_t collection) {
  ASSERT_TRUE(model_fixtures::WriteModelFile(resource_fixtures::TempDirectory(), tempName.c_str(),
                                             collection, {UURefCount<MM3DModel>(new MM3DModel)}));
}

}  // namespace startup_fixtures
