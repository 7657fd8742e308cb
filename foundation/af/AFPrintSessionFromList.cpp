#include "foundation/af/AFPrintSessionFromList.h"

bool AFPrintSessionFromList::PrintPage(int32_t page) {
  UUList<AFPrintable*> items;
  bool printed = BuildPage(page, items);
  if (printed) {
    for (AFPrintable* item : items) printed = item->Print(*this) && printed;
  }
  for (AFPrintable* item : items) delete item;
  return printed;
}
