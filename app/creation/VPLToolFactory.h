#pragma once
// Builds the editing tools by number (VPLToolEnums): the tool's class, its
// sound script, its two cursors and its kind of tool sound. Values 6, 10,
// 11 and 16 build the move tool; the colour sucker, the area's second
// tool, has a maker slot of its own (at 16, its number).
//
// Adding a tool. Each tool class lives in its own files and has the common
// constructor (MMView*, VPLCreation*, VPLSceneCreationArea*, MMResourceId
// sound script). Its maker goes into its own row of the table in
// VPLToolFactoryMakers.cpp, which holds one row per tool number and
// nothing else: include the tool's header there and replace the row's
// nullptr by VPLMakeTool<TheTool>. The sound script, cursors and sound
// kind are already in this factory's table (VPLToolFactory.cpp), so a tool
// never sets them itself. A row still null builds no tool: the area then
// has no current tool and drops the input. Tests may replace a maker for
// their time with SetMaker.

#include "app/creation/VPLTool.h"
#include "mm/resources/MMCollectionRegistry.h"

#include <cstdint>
#include <memory>

class MMView;
class VPLCreation;
class VPLSceneCreationArea;

struct VPLToolSetup {
  MMView* mView;
  VPLCreation* mCreation;
  VPLSceneCreationArea* mArea;
  MMResourceId mSoundScript;
};

using VPLToolMaker = VPLTool* (*)(const VPLToolSetup& setup);

template <typename Tool>
VPLTool* VPLMakeTool(const VPLToolSetup& setup) {
  return new Tool(setup.mView, setup.mCreation, setup.mArea, setup.mSoundScript);
}

// The tool sound each tool ends up with; kVPLOwnSound keeps the one the
// tool's constructor made.
enum VPLToolSoundKind : int32_t {
  kVPLOwnSound,
  kVPLGenericSound,
  kVPLMoveSound,
  kVPLScaleSound,
  kVPLRotateSound,
  kVPLDrawSound,
  kVPLPrimativeShapeSound
};

struct VPLToolKind {
  MMResourceId mSoundScript;
  int32_t mCursor;
  int32_t mAlternateCursor;
  VPLToolSoundKind mSound;
};

class VPLToolFactory {
 public:
  static constexpr MMResourceId kColorSuckerScript = 496;
  static constexpr int32_t kColorSuckerCursor = 13;

  // The kind of the tool the value builds (the move tool's for 6, 10, 11
  // and 16); the colour sucker's for kVPLToolColorSucker is ColorSuckerKind.
  static const VPLToolKind& GetKind(int32_t value);
  static const VPLToolKind& ColorSuckerKind();
  // The number of the class the value builds: kVPLToolMove for 6, 10, 11
  // and 16, the value itself otherwise; -1 outside 0 to 17.
  static int32_t ClassOf(int32_t value);
  // The tool of the value with its sound kind and cursors; null outside 0
  // to 17 and for a tool the program lacks.
  static std::unique_ptr<VPLTool> Make(int32_t value, VPLSceneCreationArea& area);
  // The colour sucker with sound script 496 and cursor 13 in both states;
  // null while the program lacks it.
  static std::unique_ptr<VPLTool> MakeColorSucker(VPLSceneCreationArea& area);
  // Replaces the maker of a class number; answers the previous one.
  static VPLToolMaker SetMaker(int32_t classNumber, VPLToolMaker maker);

 private:
  static std::unique_ptr<VPLTool> Build(int32_t classNumber, const VPLToolKind& kind,
                                        VPLSceneCreationArea& area);
  static std::unique_ptr<VPLToolSound> MakeSound(VPLToolSoundKind kind, VPLSceneCreationArea& area,
                                                 MMResourceId script);
};

// The program's own maker of a class number, from the table in
// VPLToolFactoryMakers.cpp; null for none.
VPLToolMaker VPLDefaultToolMaker(int32_t classNumber);
