#include "foundation/uu/UUWintab.h"

#include <gtest/gtest.h>

namespace {

TEST(UUWintabTest, TabletLibraryIsMissing) {
  EXPECT_FALSE(UUWintabLoad());
  EXPECT_FALSE(UUWintabIsLoaded());
  UUWintabUnload();
  EXPECT_NE(UUWintabGetEntryPoints().mInfoA, nullptr);
}

}  // namespace
