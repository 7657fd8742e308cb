#pragma once
// The mouse pointer of the 3D screens: the models of the cursor table, one
// of which is shown at a time as a cursor object in a scene while the
// system pointer is hidden. The program has one set, made with its stage;
// the creation act loads the models, the interface scenes show the default
// cursor while they are active, the creation area picks one per tool.
// Stage thread only.

#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DModel.h"

#include <cstdint>
#include <vector>

class MMStage;
class VPLObjCursor;
class VPLSceneUIBase;

class VPL3DCursorSet {
 public:
  // The table whose rows name the cursor models, in order.
  static constexpr MMResourceId kCursorScript = 2;
  // The index that means no cursor shown.
  static constexpr int32_t kNoCursor = 23;

  VPL3DCursorSet() = default;
  // Gives the stage its arrow back; a cursor object still shown stays with
  // its scene, which deletes it.
  ~VPL3DCursorSet();
  VPL3DCursorSet(const VPL3DCursorSet&) = delete;
  VPL3DCursorSet& operator=(const VPL3DCursorSet&) = delete;

  // The program's set, or null before the stage made it.
  static VPL3DCursorSet* GetGlobal() { return sGlobal; }
  static void SetGlobal(VPL3DCursorSet* set) { sGlobal = set; }

  void Load(MMStage* stage);
  // A cursor still shown keeps its own hold on its model.
  void Unload();
  // Shows model n in the scene; nothing for kNoCursor, the cursor shown, or
  // an index beyond the loaded models.
  void Select(VPLSceneUIBase* scene, int32_t n);
  void ShowDefault(VPLSceneUIBase* scene);
  // Takes the cursor object off its scene and deletes it.
  void Hide();
  // Counts a busy phase and hides the stage's pointer meanwhile.
  void BeginBusy();
  // The busy count left, or the current index when none is.
  int32_t EndBusy();

  int32_t GetCurrentIndex() const { return mCurrentIndex; }
  VPLObjCursor* GetCursorObject() const { return mCursorObject; }
  bool IsLoaded() const { return mLoaded; }
  int32_t GetModelCount() const { return static_cast<int32_t>(mModels.size()); }

 private:
  void Show(VPLSceneUIBase* scene, int32_t n);

  static VPL3DCursorSet* sGlobal;

  int32_t mCurrentIndex = kNoCursor;
  VPLObjCursor* mCursorObject = nullptr;
  std::vector<UURefCount<MM3DModel>> mModels;
  VPLSceneUIBase* mScene = nullptr;
  bool mLoaded = false;
  int16_t mBusyCount = 0;
};

// The stage's own pointer: hidden while a 3D cursor shows, the arrow again
// when the set goes.
void VPLHideStageCursor(MMStage* stage);
void VPLShowArrowCursor(MMStage* stage);
