// Writes the BMP fuzzer's seed corpus: one small file of every kind the
// platform and the bitmap reader take.

#include "tests/fuzz/SeedFiles.h"
#include "tests/support/BmpFixtures.h"

#include <cstdio>

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", arguments[0]);
    return 2;
  }
  for (const bmp_fixtures::BmpFixture& fixture : bmp_fixtures::AllBmpFixtures()) {
    if (!WriteSeedFile(arguments[1], fixture.mName, fixture.mBytes)) return 1;
  }
  return 0;
}
