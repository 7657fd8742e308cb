#include "tools/databuilder/check/PombleChecks.h"

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "mm3d/MM3DNodeAnimations.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/check/ScriptView.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <string>

namespace content_check {

const std::array<const char*, 6> kPombleParts = {"_head",  "_torso",  "_L_arm",
                                                 "_R_arm", "_L_foot", "_R_foot"};

namespace {

constexpr int16_t kPomble = 174;
constexpr int16_t kGhost = 175;
constexpr int16_t kPreview = 155;
constexpr int32_t kAnimations = 193;
constexpr float kFramesPerSecond = 30.0f;
constexpr float kClipEndSeconds = 900.0f / kFramesPerSecond;
// The targets of each part's pose, in part order.
constexpr std::array<int32_t, 6> kPoseTargets = {6, 4, 5, 5, 4, 4};
// The part each code is filed under: code 1 is the left arm (part 2).
constexpr std::array<int32_t, 6> kPartOfCode = {0, 2, 3, 1, 4, 5};
// How far a pose at 1 must move some vertex of every block.
constexpr float kVisibleMove = 0.05f;

float LengthOf(const MM3DVector& v) { return std::sqrt(v.mX * v.mX + v.mY * v.mY + v.mZ * v.mZ); }

// Whether every element of every block's target is within the bound.
bool TargetWithin(const MM3DDisplayTreeNodeIndexedBlendShapeArray& array, int32_t target,
                  float bound) {
  for (const auto& blocks : array.GetPositionTargets()) {
    for (const auto& targets : blocks) {
      if (target >= targets.Count()) return false;
      for (const MM3DVector& offset : targets[target]) {
        if (LengthOf(offset) > bound) return false;
      }
    }
  }
  return true;
}

bool LastTargetMovesEveryBlock(const MM3DDisplayTreeNodeIndexedBlendShapeArray& array) {
  for (const auto& blocks : array.GetPositionTargets()) {
    for (const auto& targets : blocks) {
      float largest = 0.0f;
      for (const MM3DVector& offset : targets[targets.Count() - 1]) {
        largest = std::max(largest, LengthOf(offset));
      }
      if (largest < kVisibleMove) return false;
    }
  }
  return true;
}

void CheckPartNodes(MM3DModel& model, const std::string& name, Findings& findings) {
  MM3DDisplayTreeNode* all = model.FindNamedNode("ALL_SKELETONS");
  if (all == nullptr || all->GetKind() != kMM3DNodeSRTTransform) {
    findings.push_back(name + " lacks its transform \"ALL_SKELETONS\"");
  }
  for (const char* part : kPombleParts) {
    MM3DDisplayTreeNode* node = model.FindNamedNode(part);
    if (node == nullptr || node->GetKind() != kMM3DNodeSRTTransform) {
      findings.push_back(name + " lacks its transform \"" + part + "\"");
    }
  }
}

void CheckPoses(MM3DModel& model, Findings& findings) {
  for (MM3DDisplayTreeNodeIndexedBlendShapeArray* array : FindBlendArrays(model)) {
    if (!TargetWithin(*array, 0, 0.0f)) {
      findings.push_back("m 174: a blend array's target 0 must hold zero offsets");
    }
  }
  const auto bound = BindPombleParts(model);
  for (size_t p = 0; p < bound.size(); ++p) {
    const std::string part = std::string("m 174: part ") + kPombleParts[p];
    if (bound[p] == nullptr) {
      findings.push_back(part + " has no blend array");
    } else if (bound[p]->GetWeights().Count() != kPoseTargets[p]) {
      findings.push_back(part + " must have " + std::to_string(kPoseTargets[p]) + " pose targets");
    } else if (!LastTargetMovesEveryBlock(*bound[p])) {
      findings.push_back(part + "'s pose 1 must move its vertices");
    }
  }
}

// The clip moves the joints and blinks the eyes; the pose arrays are the
// child's alone.
void CheckClipTargets(MM3DModel& model, Findings& findings) {
  const MM3DAnimationClip* clip = model.GetAnimationClip();
  if (clip == nullptr || clip->GetEndTime() < kClipEndSeconds - 0.001f) {
    findings.push_back("m 174's clip must run to frame 900");
    return;
  }
  const auto arrays = FindBlendArrays(model);
  for (int32_t i = 0; i < clip->GetCount(); ++i) {
    const MM3DAnimation* animation = clip->GetAnimation(i);
    if (animation->GetKind() != kMM3DBlendShapeWeightAnimation) continue;
    const auto* weight = static_cast<const MM3DBlendShapeWeightAnimation*>(animation);
    if (arrays.empty() || weight->GetTarget() != arrays[0]) {
      findings.push_back("m 174's clip must animate no blend array but the eyes");
    }
  }
}

void CheckInterest(MM3DModel& model, Findings& findings) {
  MM3DDisplayTreeNode* interest = model.FindNamedNode("_pombleInterest");
  if (interest == nullptr ||
      interest->FindNodeOfKind(kMM3DNodeLocator, kMM3DVisitDown) == nullptr) {
    findings.push_back("m 174 lacks the locator under \"_pombleInterest\"");
  }
}

// The subfile's bytes as the file holds them.
std::string SubfileBytes(const std::filesystem::path& file, MM3DModelLoader& loader, int16_t i) {
  int32_t offset = 0, size = 0;
  if (!loader.GetFile().GetSubfileRange(i, &offset, &size)) return {};
  std::ifstream in(file, std::ios::binary);
  std::string bytes(static_cast<size_t>(size), '\0');
  in.seekg(offset);
  in.read(bytes.data(), size);
  return in ? bytes : std::string();
}

void CheckAnimationLists(const std::filesystem::path& folder, Findings& findings) {
  const ScriptView scripts(folder);
  if (!scripts.IsOpen()) return;
  const MMScript lists = scripts.Get(kAnimations);
  for (int32_t row = 0; row < lists.GetRowCount(); ++row) {
    const MMScript list = scripts.Get(TagEntry(lists, lists.GetInt16(row, 0), 0));
    for (int32_t r = 0; r < list.GetRowCount(); ++r) {
      const int16_t first = list.GetInt16(r, 0), last = list.GetInt16(r, 2);
      if (first < 0 || last <= first || last / kFramesPerSecond > kClipEndSeconds) {
        findings.push_back("list 193: animation " + std::to_string(first) + "-" +
                           std::to_string(last) + " lies outside Pomble's clip");
      }
    }
  }
}

}  // namespace

void Walk(MM3DDisplayTreeNode* node, const std::function<void(MM3DDisplayTreeNode&)>& visit) {
  if (node == nullptr) return;
  visit(*node);
  auto* parent = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(node);
  if (parent == nullptr) return;
  for (int32_t i = 0; i < parent->GetChildCount(); ++i) Walk(parent->GetChild(i), visit);
}

std::vector<MM3DDisplayTreeNodeIndexedBlendShapeArray*> FindBlendArrays(MM3DModel& model) {
  std::vector<MM3DDisplayTreeNodeIndexedBlendShapeArray*> arrays;
  Walk(model.GetDisplayTree(), [&](MM3DDisplayTreeNode& node) {
    if (node.GetKind() == kMM3DNodeIndexedBlendShapeArray) {
      arrays.push_back(static_cast<MM3DDisplayTreeNodeIndexedBlendShapeArray*>(&node));
    }
  });
  return arrays;
}

std::array<MM3DDisplayTreeNodeIndexedBlendShapeArray*, 6> BindPombleParts(MM3DModel& model) {
  std::array<MM3DDisplayTreeNodeIndexedBlendShapeArray*, 6> bound{};
  int32_t headsSeen = 0;
  for (MM3DDisplayTreeNodeIndexedBlendShapeArray* array : FindBlendArrays(model)) {
    if (array->GetWeights().Count() == 0) continue;
    const float first = array->GetWeights()[0];
    if (first == 0.1f || first == 0.9f || first < 0.0f || first >= 6.0f) continue;
    const auto code = static_cast<int32_t>(first);
    if (code == 0 && headsSeen++ == 0) continue;
    bound[static_cast<size_t>(kPartOfCode[static_cast<size_t>(code)])] = array;
  }
  return bound;
}

Findings CheckPombleModel(MM3DModel& model) {
  Findings findings;
  CheckPartNodes(model, "m 174", findings);
  CheckPoses(model, findings);
  CheckInterest(model, findings);
  CheckClipTargets(model, findings);
  return findings;
}

Findings CheckPombleGhost(MM3DModel& model) {
  Findings findings;
  CheckPartNodes(model, "m 175", findings);
  if (!FindBlendArrays(model).empty()) findings.push_back("m 175 must have no blend array");
  if (model.GetAnimationClip() != nullptr) findings.push_back("m 175 must have no clip");
  Walk(model.GetDisplayTree(), [&](MM3DDisplayTreeNode& node) {
    if (node.GetKind() != kMM3DNodeIndexedMesh) return;
    const auto& mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh&>(node);
    for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
      if (std::abs(mesh.GetPart(p).mMaterial->GetTransparency() - 0.6f) > 0.001f) {
        findings.push_back("m 175's material must be translucent (0.6)");
      }
    }
  });
  return findings;
}

Findings CheckPomble(const std::filesystem::path& folder) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  MM3DModelLoader* loader = MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false);
  if (loader == nullptr) return {"vpl3d.MMM does not open"};
  Findings findings;
  const std::filesystem::path file = folder / "vpl3d.MMM";
  if (SubfileBytes(file, *loader, kPomble) != SubfileBytes(file, *loader, kPreview)) {
    findings.push_back("m 155 must hold the same bytes as m 174");
  }
  UURefCount<MM3DModel> pomble = loader->GetModel(kPomble, nullptr);
  UURefCount<MM3DModel> ghost = loader->GetModel(kGhost, nullptr);
  if (pomble.IsEmpty() || ghost.IsEmpty()) {
    findings.push_back("m 174 and m 175 must read");
  } else {
    for (const Findings& found : {CheckPombleModel(*pomble), CheckPombleGhost(*ghost)}) {
      findings.insert(findings.end(), found.begin(), found.end());
    }
  }
  pomble = {};
  ghost = {};
  MM3DDestroyModelCollections();
  CheckAnimationLists(folder, findings);
  return findings;
}

}  // namespace content_check
