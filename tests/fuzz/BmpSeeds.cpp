// Writes the BMP fuzzer's seed corpus: one small file of every kind the
// platform and the bitmap reader take, and files whose headers lie.

#include "tests/fuzz/SeedFiles.h"
#include "tests/support/BmpFixtures.h"
#include "tests/support/DamagedBmpFixtures.h"

#include <cstdio>

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", arguments[0]);
    return 2;
  }
  for (const auto& fixtures :
       {bmp_fixtures::AllBmpFixtures(), bmp_fixtures::DamagedBmpFixtures()}) {
    for (const bmp_fixtures::BmpFixture& fixture : fixtures) {
      if (!WriteSeedFile(arguments[1], fixture.mName, fixture.mBytes)) return 1;
    }
  }
  return 0;
}
