#pragma once
// The script file as the builder lays it out: the row layouts and every
// entry's rows and texts, ready for the writer.

#include <cstdint>
#include <string>
#include <vector>

namespace databuilder {

struct RowLayout {
  std::string mName;
  int16_t mRowSize = 0;
};

struct BuiltScript {
  std::string mName;
  int16_t mLayout = 0;
  int32_t mRowCount = 0;
  // Little-endian rows, then the zero-terminated texts the rows point into.
  std::vector<uint8_t> mRows;
  std::string mTexts;
};

struct BuiltScripts {
  std::vector<RowLayout> mLayouts;
  // Entry i is script id i.
  std::vector<BuiltScript> mEntries;
};

}  // namespace databuilder
