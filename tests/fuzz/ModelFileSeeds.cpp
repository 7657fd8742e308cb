// Writes the model fuzzer's seed corpus with the system's writer: the
// character in either byte order, a model of every light kind and every
// material animation with a textured Phong material, and a skinned arm
// whose mesh lies below a skin and a blend shape.
#include "foundation/uu/UUDirectory.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <cstdio>

using namespace model_fixtures;

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  const UUDirectory directory(arguments[1]);
  const bool written =
      WriteModelFile(directory, "character.mmm", 2, {MakeCharacter()}) &&
      WriteModelFile(directory, "character-mm.mmm", 2, {MakeCharacter()}, kUUSwappedByteOrder, 2) &&
      WriteModelFile(directory, "showcase.mmm", 2, {MakeShowcase(), MakeCharacter()}) &&
      WriteModelFile(directory, "arm.mmm", 2, {MakeSkinnedArm()});
  return written ? 0 : 1;
}
