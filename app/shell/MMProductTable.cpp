#include "app/shell/MMProductTable.h"

#include <cstring>

void MMBuildProductTableInto(uint8_t* table) {
  std::memcpy(table, kMMProductTable.data(), sizeof kMMProductTable);
}
