#include "mm3d/MM3DAnimation.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DNodeAnimations.h"

namespace {

// The default-constructed animation of a kind; null for a kind without a
// class.
MM3DAnimation* MakeAnimation(int32_t kind) {
  switch (kind) {
    case kMM3DSRTAnimation:
      return new MM3DSRTAnimation;
    case kMM3DJointAnimation:
      return new MM3DJointAnimation;
    default:
      return nullptr;
  }
}

}  // namespace

bool MM3DAnimation::WriteWithKind(UUWriter& writer, MM3DModDatabase& database) const {
  const int32_t kind = mKind;
  return writer.WriteInt32s(&kind, 1) && Write(writer, database);
}

bool MM3DReadAnimation(UUReader& reader, MM3DModDatabase& database,
                       UUOwned<MM3DAnimation>& animation) {
  int32_t kind = kMM3DNoAnimation;
  if (!MM3DDatabase::ReadInt32(reader, kind)) return false;
  MM3DAnimation* made = MakeAnimation(kind);
  if (made == nullptr) return MM3DDatabase::RejectRecord(reader);
  animation.Reset(made);
  made->SetKind(static_cast<MM3DAnimationKind>(kind));
  return made->Read(reader, database);
}
