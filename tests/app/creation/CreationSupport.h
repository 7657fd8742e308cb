#pragma once
// Creations for the tests: a document over the interface stage's scene
// with the settings and sound tables of the creation, and stand-ins for a
// group and the character (which file by their type codes).

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "foundation/uu/UUMemory.h"
#include "tests/app/support/AppFixtures.h"

#include <cstdint>
#include <vector>

class VPLObjCreationGroup;

namespace creation_support {

// Script 503: ground on, background 3. Script 481: the three sounds.
constexpr int16_t kDefaultBackground = 3;
constexpr MMResourceId kSpinSound = MMMakeResourceId(5, 1);
constexpr MMResourceId kJiggleSound = MMMakeResourceId(5, 2);
constexpr MMResourceId kPathSound = MMMakeResourceId(5, 3);
app_fixtures::ExtraTables CreationTables();

class TestGroup : public VPLObjCreation {
 public:
  using VPLObjCreation::VPLObjCreation;
  VPLObjCreationType GetType() const override { return kVPLObjCreationGroup; }
};

class TestCharacter : public VPLObjCreation {
 public:
  using VPLObjCreation::VPLObjCreation;
  VPLObjCreationType GetType() const override { return kVPLObjCreationChar; }
  void Reset() override { ++mResets; }
  int32_t mResets = 0;
};

// A stream over its own block; a small block fails the writes past it.
class BlockStream {
 public:
  static constexpr int32_t kStreamSize = 1 << 20;
  explicit BlockStream(int32_t size = kStreamSize)
      : mBlock(static_cast<size_t>(size)), mStream(mBlock.data(), size) {}
  UUMemory& Stream() { return mStream; }
  std::vector<uint8_t> Written() {
    int32_t length = 0;
    mStream.Tell(&length);
    return std::vector<uint8_t>(mBlock.begin(), mBlock.begin() + length);
  }

 private:
  std::vector<uint8_t> mBlock;
  UUMemory mStream;
};

// One lit mesh of whole triangles of the given number of vertices, its
// normals along -z, for records of a chosen size.
UURefCount<MM3DModel> LitMeshModel(int32_t vertices);
// One mesh of so many vertices that its model needs more scratch than the
// first work buffer holds (about 250,000 bytes).
UURefCount<MM3DModel> ModelNeedingMoreScratch();

// A group made as the group tool makes one: on the first member's model,
// the others added after it, every member's turn in its mesh.
VPLObjCreationGroup* GroupOf(const std::vector<VPLObjCreation*>& members, VPLCreation* creation);

}  // namespace creation_support
