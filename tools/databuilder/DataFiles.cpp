#include "tools/databuilder/DataFiles.h"

#include "foundation/uu/UUDirectory.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/DataFileWriters.h"
#include "tools/databuilder/ModelStage.h"
#include "tools/databuilder/ScriptStage.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace databuilder {

namespace {

std::vector<char> ReadAll(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// Renames the new file over the old one when they differ, else drops it.
bool ReplaceIfChanged(const std::filesystem::path& fresh, const std::filesystem::path& target) {
  std::error_code error;
  if (std::filesystem::exists(target, error) && ReadAll(fresh) == ReadAll(target)) {
    std::filesystem::remove(fresh, error);
    return false;
  }
  std::filesystem::rename(fresh, target, error);
  if (error) throw BuildError(target.string() + ": " + error.message());
  return true;
}

// The films are drawn from the model and texture files already in the
// output folder.
void WriteKind(const BuildSources& sources, ItemKind kind, const UUDirectory& directory,
               const char* name, const std::filesystem::path& folder) {
  const Manifest& manifest = sources.mManifest;
  switch (kind) {
    case ItemKind::kScript:
      return WriteScriptFile(directory, name, BuildScripts(sources));
    case ItemKind::kPicture:
      return WritePictureFile(directory, name, manifest, BuildPictures(sources));
    case ItemKind::kSound:
      return WriteSoundFile(directory, name, manifest, BuildSounds(sources));
    case ItemKind::kFilm:
      return WriteFilmFile(directory, name, manifest, BuildFilms(sources, folder));
    case ItemKind::kTexture:
      return WriteTextureFile(directory, name, manifest, BuildTextures(sources));
    case ItemKind::kModel:
      return WriteModelFile(directory, name, manifest, BuildModels(sources));
  }
}

}  // namespace

std::optional<DataFile> FindDataFile(const std::string& name) {
  for (const DataFile& file : kDataFiles) {
    if (name == file.mName) return file;
  }
  return std::nullopt;
}

bool BuildDataFile(const BuildSources& sources, const DataFile& file,
                   const std::filesystem::path& outDirectory) {
  const std::filesystem::path folder = std::filesystem::absolute(outDirectory);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const UUDirectory directory(vpl::platform::ToWindowsPath(folder.string()).c_str());
  if (!directory.IsSet()) throw BuildError(folder.string() + ": not a folder the writers reach");
  const std::string temporary = std::string(file.mName) + ".new";
  try {
    WriteKind(sources, file.mKind, directory, temporary.c_str(), folder);
  } catch (const BuildError&) {
    std::error_code ignored;
    std::filesystem::remove(folder / temporary, ignored);
    throw;
  }
  return ReplaceIfChanged(folder / temporary, folder / file.mName);
}

}  // namespace databuilder
