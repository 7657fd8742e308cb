#include "tools/databuilder/ScriptStage.h"

namespace databuilder {

namespace {

// Every row layout of the file; one 6-byte tagged layout serves every
// tagged table.
const RowLayout kLayouts[] = {{"TAG", 6},   {"U32", 4}, {"VEC", 20}, {"INTRO", 8}, {"ANIM", 6},
                              {"LINE", 12}, {"I16", 2}, {"RGB", 6},  {"CAM", 12},  {"PAGE", 10}};

}  // namespace

BuiltScripts BuildScripts(const BuildSources& sources) {
  BuiltScripts scripts;
  scripts.mLayouts.assign(std::begin(kLayouts), std::end(kLayouts));
  const int32_t count = sources.mManifest.GetCount(ItemKind::kScript);
  for (int32_t id = 0; id < count; ++id) {
    scripts.mEntries.push_back(
        {sources.mManifest.GetSubfileName(ItemKind::kScript, id), 0, 0, {}, {}});
  }
  return scripts;
}

}  // namespace databuilder
