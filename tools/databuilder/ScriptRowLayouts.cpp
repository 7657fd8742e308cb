#include "tools/databuilder/ScriptRowLayouts.h"

namespace databuilder {

const std::vector<ScriptRowLayout>& ScriptRowLayouts() {
  static const std::vector<ScriptRowLayout> kLayouts = {
      {"TAG", 6, {{0, 2}, {2, 4}}},
      {"U32", 4, {{0, 4}}},
      {"VEC", 20, {{0, 4}, {4, 4}, {8, 4}, {12, 4}, {16, 4}}},
      {"INTRO", 8, {{0, 4}, {4, 2}, {6, 2}}},
      {"ANIM", 6, {{0, 2}, {2, 2}, {4, 2}}},
      {"LINE", 12, {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}}},
      {"I16", 2, {{0, 2}}},
      {"RGB", 6, {{0, 2}, {2, 2}, {4, 2}}},
      {"CAM", 12, {{8, 4}}},
      {"PAGE", 10, {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 2}}},
  };
  return kLayouts;
}

int16_t FindScriptRowLayout(const std::string& name) {
  const auto& layouts = ScriptRowLayouts();
  for (size_t i = 0; i < layouts.size(); ++i) {
    if (name == layouts[i].mName) return static_cast<int16_t>(i);
  }
  return -1;
}

}  // namespace databuilder
