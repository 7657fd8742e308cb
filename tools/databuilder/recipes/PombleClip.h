#pragma once
// Pomble's clip at 30 frames a second, in the ranges the character's
// animation lists name: standing 0-1, opening 30-90 (pops up, looks
// around), interlude 100-150 (bounces), dance 200-320, wave and cheer
// 400-520, jump and spin 600-720, then idle sway to 900, so a movie export
// that plays past its range keeps moving. Only the joints and the eyes'
// blink are animated: the pose arrays belong to the child.

#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "tools/databuilder/mesh/ModelBuilder.h"

#include <vector>

namespace databuilder {

constexpr float kPombleClipEndFrame = 900.0f;

void AnimatePomble(ModelBuilder& builder, const std::vector<MM3DDisplayTreeNodeJoint*>& joints,
                   MM3DDisplayTreeNodeBlendShape* eyes);

}  // namespace databuilder
