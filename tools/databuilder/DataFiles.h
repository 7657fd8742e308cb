#pragma once
// The six data files the program opens, and building each one from the
// data folder into an output folder. A file is written under a temporary
// name and renamed over the old one only when its bytes changed, so an
// unchanged file keeps its time and nothing downstream rebuilds.

#include "tools/databuilder/BuildSources.h"

#include <filesystem>
#include <optional>

namespace databuilder {

struct DataFile {
  const char* mName;
  ItemKind mKind;
};

// In the order of the program's string table.
constexpr DataFile kDataFiles[] = {
    {"Hd.mms", ItemKind::kScript},     {"vpl3d.MMP", ItemKind::kPicture},
    {"vpl3d.MMA", ItemKind::kSound},   {"vpl3d.MMF", ItemKind::kFilm},
    {"vpl3d.MMX", ItemKind::kTexture}, {"vpl3d.MMM", ItemKind::kModel},
};

// The order in which to build them all: the films are drawn from the
// built models and textures.
constexpr DataFile kBuildOrder[] = {
    {"Hd.mms", ItemKind::kScript},   {"vpl3d.MMP", ItemKind::kPicture},
    {"vpl3d.MMA", ItemKind::kSound}, {"vpl3d.MMX", ItemKind::kTexture},
    {"vpl3d.MMM", ItemKind::kModel}, {"vpl3d.MMF", ItemKind::kFilm},
};

// The file of that name, if it is one of the six.
std::optional<DataFile> FindDataFile(const std::string& name);

// Makes the file's items and writes it into the folder (made when missing);
// true when its bytes changed. Throws BuildError.
bool BuildDataFile(const BuildSources& sources, const DataFile& file,
                   const std::filesystem::path& outDirectory);

}  // namespace databuilder
