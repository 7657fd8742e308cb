// Writes the credits fuzzer's seed corpus: a string list naming a face and
// a label text, and a credits page of a line, a gap and a line, each table
// led by its length, then a text texture width; and the same page with a
// line asking for no font height and a gap far past the page's foot.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& bytes, int32_t value) {
  bytes.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

// A row of 12 bytes from int16 values.
Bytes Row(std::initializer_list<int32_t> values) {
  Bytes row;
  for (int32_t value : values) Put16(row, value);
  row.resize(12);
  return row;
}

Bytes Table(const std::vector<Bytes>& rows, const std::string& texts) {
  Bytes table;
  for (const Bytes& row : rows) table.insert(table.end(), row.begin(), row.end());
  table.insert(table.end(), texts.begin(), texts.end());
  return table;
}

Bytes Seed(int32_t lineHeight, int32_t gap, int32_t width) {
  const std::vector<Bytes> tables = {
      Table({Row({45, 0, 0}), Row({24, 12, 0})}, std::string("DejaVu Sans\0Save by itself\0", 27)),
      Table({Row({0, 648})}, ""),
      Table({Row({1, 649}), Row({2, 650}), Row({1, 651})}, ""),
      Table({Row({0, 0, 255, 255, 255, lineHeight})}, std::string("First\0", 6)),
      Table({Row({gap})}, ""),
      Table({Row({0, 0, 128, 255, 255, 18})}, std::string("Second\0", 7)),
  };
  Bytes seed;
  for (const Bytes& table : tables) {
    Put16(seed, static_cast<int32_t>(table.size()));
    seed.insert(seed.end(), table.begin(), table.end());
  }
  Put16(seed, width);
  return seed;
}

bool WriteSeed(const UUDirectory& directory, const char* name, const Bytes& bytes) {
  UUFile file(directory, name, kUUFileCreate, UUFileOptions());
  return file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  const UUDirectory directory(arguments[1]);
  return WriteSeed(directory, "page", Seed(18, 20, 255)) &&
                 WriteSeed(directory, "hostile", Seed(0, 30000, 99))
             ? 0
             : 1;
}
