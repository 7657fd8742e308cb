#pragma once
// The content check's rules for Pomble, as the character's code reads it:
// "ALL_SKELETONS" and the six part nodes, blend arrays that a walk filing
// them by their first weight binds to every part (the head's first code-0
// array, the eyes, left out), zero first targets, poses that move their
// part, the camera's interest locator, the ghost with the six nodes and no
// arrays, the preview the same bytes as the character, and the animation
// lists inside the clip.

#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <array>
#include <filesystem>
#include <functional>
#include <vector>

namespace content_check {

// The names of the six part nodes, in the character's part order: head,
// torso, left arm, right arm, left foot, right foot.
extern const std::array<const char*, 6> kPombleParts;

// Visits the node and every node under it, each parent before its children.
void Walk(MM3DDisplayTreeNode* node, const std::function<void(MM3DDisplayTreeNode&)>& visit);

// The blend arrays in the order a walk down from the root meets them.
std::vector<MM3DDisplayTreeNodeIndexedBlendShapeArray*> FindBlendArrays(MM3DModel& model);

// The array the character binds to each part, or null: the walk files
// arrays by the whole part of their first weight (head 0, left arm 1,
// right arm 2, torso 3, left foot 4, right foot 5), skips first weights of
// exactly 0.1 and 0.9 and the first code-0 array, and a later array
// replaces an earlier one.
std::array<MM3DDisplayTreeNodeIndexedBlendShapeArray*, 6> BindPombleParts(MM3DModel& model);

// The rules on the character model.
Findings CheckPombleModel(MM3DModel& model);
// The rules on the ghost model.
Findings CheckPombleGhost(MM3DModel& model);
// Models 174, 175 and 155 of vpl3d.MMM and list 193 of the scripts in the
// folder.
Findings CheckPomble(const std::filesystem::path& folder);

}  // namespace content_check
