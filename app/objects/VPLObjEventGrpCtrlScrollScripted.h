#pragma once
// The grids over script lists: the texture grid (the built-in textures of a
// list, then the child's own pictures), the one-cell model grid (one model
// of a list at a time) and the material grid. Each scrolls one item a time.

#include "app/objects/VPLObjEventGrpCtrlScroll.h"

class VPLObjEventGrpCtrlScrollScriptedTextures : public VPLObjEventGrpCtrlScroll {
 public:
  // The list's rows hold texture ids; the child's pictures follow them.
  VPLObjEventGrpCtrlScrollScriptedTextures(MMScene* scene, const UURefCount<MM3DModel>& model,
                                           MMResourceId layout, const MMTaskCallback& callback,
                                           MMResourceId textureList);

  // The cell preset with item n's texture; none past the items.
  void FillCell(int16_t cell, int16_t n) override;

 private:
  MMResourceId mTextureList;
  int32_t mListCount;
};

class VPLObjEventGrpCtrlScrollScriptedModels : public VPLObjEventGrpCtrlScroll {
 public:
  // The list's rows tagged 0 name button definitions.
  VPLObjEventGrpCtrlScrollScriptedModels(MMScene* scene, const UURefCount<MM3DModel>& model,
                                         MMResourceId layout, const MMTaskCallback& callback,
                                         MMResourceId modelList);

  // Keeps the callback for the children the cells make; no refresh here.
  void Build(const MMTaskCallback& callback) override;
  using VPLObjEventGrpCtrlScroll::Build;
  // The grid's only child becomes item n; none past the items.
  void FillCell(int16_t cell, int16_t n) override;
  // Another list, from its start, keeping the first child's callback.
  void SetList(MMResourceId modelList);

 protected:
  void RemoveAllChildren();

 private:
  MMResourceId mModelList;
  MMTaskCallback mChildCallback;
};

// Material looks of a list of definitions; the program builds none.
class VPLObjEventGrpCtrlScrollScriptedMaterials : public VPLObjEventGrpCtrlScroll {
 public:
  VPLObjEventGrpCtrlScrollScriptedMaterials(MMScene* scene, const UURefCount<MM3DModel>& model,
                                            MMResourceId layout, const MMTaskCallback& callback,
                                            MMResourceId materialList);

  void FillCell(int16_t cell, int16_t n) override;

 private:
  MMResourceId mMaterialList;
};
