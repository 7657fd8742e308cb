// vpl_databuilder <data folder> <output folder> [file name...]
// Builds the named data files (all six when none is named) from the data
// folder's sources; an unchanged file is left untouched.

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/DataFiles.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int kUsageError = 2;

std::vector<databuilder::DataFile> Requested(int count, char** names) {
  if (count == 0) return {std::begin(databuilder::kBuildOrder), std::end(databuilder::kBuildOrder)};
  std::vector<databuilder::DataFile> files;
  for (int i = 0; i < count; ++i) {
    const auto file = databuilder::FindDataFile(names[i]);
    if (!file) throw databuilder::BuildError(std::string(names[i]) + " is not a data file");
    files.push_back(*file);
  }
  return files;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount < 3) {
    std::fprintf(stderr, "usage: %s <data folder> <output folder> [file name...]\n", arguments[0]);
    return kUsageError;
  }
  try {
    const databuilder::BuildSources sources = databuilder::ReadBuildSources(arguments[1]);
    for (const databuilder::DataFile& file : Requested(argumentCount - 3, arguments + 3)) {
      databuilder::BuildDataFile(sources, file, arguments[2]);
    }
  } catch (const databuilder::BuildError& error) {
    std::fprintf(stderr, "vpl_databuilder: %s\n", error.what());
    return 1;
  }
  return 0;
}
