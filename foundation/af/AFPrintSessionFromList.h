#pragma once

#include "foundation/af/AFPrintSessionBase.h"
#include "foundation/af/AFPrintable.h"
#include "foundation/uu/UUList.h"

#include <cstdint>

// A print session whose pages are lists of printable items that the
// subclass builds, one list per page.
class AFPrintSessionFromList : public AFPrintSessionBase {
 public:
  using AFPrintSessionBase::AFPrintSessionBase;

  // Prints the page's items in order; an item that fails makes the page
  // fail, but the others still print. The items are deleted afterwards.
  bool PrintPage(int32_t page) override;
  // Fills the list with the page's items (made with new; the session
  // deletes them) and answers whether it could.
  virtual bool BuildPage(int32_t page, UUList<AFPrintable*>& items) = 0;
};
