// Apart from the other writers: the film helpers bring in the stage's view
// of the 3D engine, which the engine's own model headers cannot share a
// file with.

#include "tests/media/startup/StartupTestSupport.h"
#include "tests/mm3d/MM3DModelSupport.h"

namespace startup_fixtures {

void WriteModelFile(const std::string& tempName, int16_t collection) {
  ASSERT_TRUE(model_fixtures::WriteModelFile(resource_fixtures::TempDirectory(), tempName.c_str(),
                                             collection, {UURefCount<MM3DModel>(new MM3DModel)}));
}

}  // namespace startup_fixtures
