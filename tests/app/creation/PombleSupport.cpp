#include "tests/app/creation/PombleSupport.h"

#include "app/creation/VPLPombleVisual.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "mm3d/MM3DNodeAnimations.h"
#include "platform/win32/PathMapping.h"
#include "tests/mm3d/MM3DAnimationSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace pomble_support {

namespace {

constexpr int32_t kTranslateX = 19;  // the SRT animation channel of translation x
constexpr int32_t kEveryFrame = 0;   // the stage's notification kind of each frame
// Entries of the show's own tables.
constexpr MMResourceId kOpeningList = 600;
constexpr MMResourceId kInterludeList = 601;
constexpr MMResourceId kDanceList = 602;
constexpr MMResourceId kFirstSoundList = 610;

void AddChild(MM3DDisplayTreeNodeWithChildren& parent, MM3DDisplayTreeNode* child) {
  parent.AddChild(UUOwned<MM3DDisplayTreeNode>(child));
}

MM3DDisplayTreeNodeIndexedBlendShapeArray* BlendNode(const BlendSpec& spec, float x) {
  UUGrowableArray<float> weights;
  weights.Insert(0, spec.mTargets, 0.0f);
  weights[0] = spec.mFirstWeight;
  auto* node = new MM3DDisplayTreeNodeIndexedBlendShapeArray(
      std::move(weights), MM3DMeshTargets<MM3DVector>(), MM3DMeshTargets<MM3DVector>());
  AddChild(*node, app_fixtures::MakeSquareMesh(x));
  return node;
}

struct Bytes {
  Bytes& I16(int16_t value) {
    mBytes.push_back(static_cast<uint8_t>(value & 0xFF));
    mBytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    return *this;
  }
  Bytes& U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
      mBytes.push_back(static_cast<uint8_t>(value >> shift));
    return *this;
  }
  std::vector<uint8_t> mBytes;
};

std::vector<ShowRow> AllRows(const ShowTables& tables) {
  std::vector<ShowRow> rows{tables.mOpening, tables.mInterlude};
  rows.insert(rows.end(), tables.mDances.begin(), tables.mDances.end());
  return rows;
}

// A reference to an entry: its number + 1.
int16_t Reference(MMResourceId entry) { return static_cast<int16_t>(entry + 1); }

app_fixtures::RawTable ListOf(const std::vector<ShowRow>& rows, const ShowTables& tables) {
  app_fixtures::RawTable table;
  for (const ShowRow& row : rows) {
    table.mRows.push_back(Bytes()
                              .I16(row.mStart)
                              .I16(row.mEnd)
                              .I16(Reference(SoundListOf(tables, row.mSound)))
                              .mBytes);
  }
  return table;
}

std::filesystem::path DataDirectory() {
  const char* directory = std::getenv("VPL_DATA_DIR");
  return directory != nullptr ? directory : "";
}

}  // namespace

std::vector<BlendSpec> FullBody() {
  return {{kVPLHead, 0.0f, 3},     {kVPLHead, 0.0f, 6},     {kVPLTorso, 3.0f, 4},
          {kVPLLeftArm, 1.0f, 5},  {kVPLRightArm, 2.0f, 5}, {kVPLLeftFoot, 4.0f, 4},
          {kVPLRightFoot, 5.0f, 4}};
}

UURefCount<MM3DModel> MakePombleFixture(const FixtureSpec& spec) {
  auto* root = new MM3DDisplayTreeNodeRoot;
  auto* skeletons = new MM3DDisplayTreeNodeTransform;
  AddChild(*root, skeletons);
  MM3DDisplayTreeNodeSRTTransform* parts[kVPLBodyPartCount] = {};
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    const auto& missing = spec.mMissingParts;
    if (std::find(missing.begin(), missing.end(), part) != missing.end()) continue;
    parts[part] = new MM3DDisplayTreeNodeSRTTransform;
    AddChild(*skeletons, parts[part]);
  }
  for (const BlendSpec& blend : spec.mBlends) {
    const bool underPart = blend.mPart >= 0 && parts[blend.mPart] != nullptr;
    AddChild(
        underPart ? static_cast<MM3DDisplayTreeNodeWithChildren&>(*parts[blend.mPart]) : *skeletons,
        BlendNode(blend, static_cast<float>(blend.mPart) * 3.0f));
  }
  auto* interest = new MM3DDisplayTreeNodeTransform;
  if (spec.mWithLocator) AddChild(*interest, new MM3DDisplayTreeNodeLocator(kLocatorPoint));
  AddChild(*skeletons, interest);
  auto* clock = new MM3DDisplayTreeNodeSRTTransform;
  AddChild(*root, clock);

  UUOwned<MM3DAnimationClip> clip;
  if (spec.mWithClip) {
    clip.Reset(new MM3DAnimationClip);
    clip->AddAnimation(UUOwned<MM3DAnimation>(new MM3DSRTAnimation(
        clock, LinearCurve({{0.0f, 0.0f}, {kClipEnd, kClipEnd}}), kTranslateX)));
  }
  UURefCount<MM3DModel> model(new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), std::move(clip)));
  model->AddNamedNode(VPLObjCreationChar::kAnchorName, skeletons);
  model->AddNamedNode(VPLObjCreationChar::kInterestName, interest);
  model->AddNamedNode(kClockNode, clock);
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    if (parts[part] != nullptr) {
      model->AddNamedNode(VPLBasePombleVisual::kPartNodeNames[part], parts[part]);
    }
  }
  return model;
}

float ClipTime(const MM3DModel& model) {
  const auto* clock =
      static_cast<const MM3DDisplayTreeNodeSRTTransform*>(model.FindNamedNode(kClockNode));
  return clock->GetTranslation().mX;
}

DataFiles::DataFiles(bool scripts) : mWantScripts(scripts) {
  const std::filesystem::path directory = DataDirectory();
  if (directory.empty()) return;
  const UUDirectory folder(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(directory).string()).c_str());
  if (scripts) mScripts.reset(MMOpenScriptFile(folder, "Hd.mms"));
  mModels.reset(MM3DOpenModelResourceFile(folder, "vpl3d.MMM", false));
}

DataFiles::~DataFiles() {
  mModels.reset();
  mScripts.reset();
}

MMResourceId SoundListOf(const ShowTables& tables, MMResourceId sound) {
  const std::vector<ShowRow> rows = AllRows(tables);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].mSound == sound) return kFirstSoundList + static_cast<MMResourceId>(i);
  }
  return kMMNoResource;
}

app_fixtures::RawTables MakeShowTables(const ShowTables& tables) {
  app_fixtures::RawTables raw;
  app_fixtures::RawTable performance;
  const MMResourceId lists[] = {kOpeningList, kInterludeList, kDanceList};
  for (int16_t tag = 0; tag < 3; ++tag) {
    performance.mRows.push_back(Bytes().I16(tag).I16(Reference(lists[tag])).mBytes);
  }
  raw[VPLObjCreationChar::kPerformanceTable] = performance;
  raw[kOpeningList] = ListOf({tables.mOpening}, tables);
  raw[kInterludeList] = ListOf({tables.mInterlude}, tables);
  raw[kDanceList] = ListOf(tables.mDances, tables);
  const std::vector<ShowRow> rows = AllRows(tables);
  for (size_t i = 0; i < rows.size(); ++i) {
    app_fixtures::RawTable list;
    list.mRows.push_back(Bytes().U32(static_cast<uint32_t>(rows[i].mSound)).mBytes);
    raw[kFirstSoundList + static_cast<MMResourceId>(i)] = list;
  }
  raw[VPLObjCreationChar::kRandomSetting] =
      app_fixtures::Int16Row({tables.mRandom ? int16_t{1} : int16_t{0}});
  return raw;
}

void Advance(MMStage* stage, int32_t milliseconds, int32_t step) {
  MMTaskManager* manager = stage->GetTaskManager();
  for (int32_t done = 0; done < milliseconds; done += step) {
    manager->RunUntil(manager->GetNow() + std::min(step, milliseconds - done));
    stage->FireEventNotifications(kEveryFrame);
  }
}

}  // namespace pomble_support
