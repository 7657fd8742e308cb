#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>

namespace {

// The look every grid cell starts from.
constexpr MMResourceId kCellPreset = 4;

int16_t RowCount(MMResourceId list) {
  const MMScript table(list);
  return static_cast<int16_t>(std::min<int32_t>(table.GetRowCount(), INT16_MAX));
}

int32_t UserTextureCount() {
  const VPLUserTextureList* textures = VPLGetServices().mUserTextures;
  return textures != nullptr ? textures->GetCount() : 0;
}

MMResourceId UserTexture(int32_t index) {
  const VPLUserTextureList* textures = VPLGetServices().mUserTextures;
  return textures != nullptr ? textures->GetTextureId(index) : kMMNoResource;
}

}  // namespace

VPLObjEventGrpCtrlScrollScriptedTextures::VPLObjEventGrpCtrlScrollScriptedTextures(
    MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId layout,
    const MMTaskCallback& callback, MMResourceId textureList)
    : VPLObjEventGrpCtrlScroll(scene, model, layout, callback),
      mTextureList(textureList),
      mListCount(RowCount(textureList)) {
  SetItemCount(static_cast<int16_t>(std::min(mListCount + UserTextureCount(), INT16_MAX + 0)));
  SetSingleStep(true);
}

void VPLObjEventGrpCtrlScrollScriptedTextures::FillCell(int16_t cell, int16_t n) {
  VPLObjEvent* target = GetChild(cell);
  if (target == nullptr) return;
  MMResourceId texture = kMMNoResource;
  if (n >= 0 && n < mListCount) {
    texture = static_cast<MMResourceId>(MMScript(mTextureList).GetUInt32(n, 0));
  } else if (n >= mListCount) {
    texture = UserTexture(n - mListCount);
  }
  VPLMaterializer look(VPLGetServices().mTextureMap);
  look.LoadPreset(kCellPreset);
  look.SetTexture(texture);
  look.Apply(target);
}

VPLObjEventGrpCtrlScrollScriptedModels::VPLObjEventGrpCtrlScrollScriptedModels(
    MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId layout,
    const MMTaskCallback& callback, MMResourceId modelList)
    : VPLObjEventGrpCtrlScroll(scene, model, layout, callback), mModelList(modelList) {
  SetItemCount(RowCount(modelList));
  SetSingleStep(true);
}

void VPLObjEventGrpCtrlScrollScriptedModels::Build(const MMTaskCallback& callback) {
  mChildCallback = callback;
  VPLObjEventGrpCtrl::Build(callback);
}

void VPLObjEventGrpCtrlScrollScriptedModels::RemoveAllChildren() {
  while (GetChildCount() > 0) RemoveChild(GetChild(static_cast<int16_t>(GetChildCount() - 1)));
}

void VPLObjEventGrpCtrlScrollScriptedModels::FillCell(int16_t /*cell*/, int16_t n) {
  RemoveAllChildren();
  const VPLScript list(mModelList, kVPLScriptList);
  if (n < 0 || n >= list.CountTag(kVPLModelTag)) return;
  MakeChild(mChildCallback, list.GetTagScriptId(kVPLModelTag, 0, n));
}

void VPLObjEventGrpCtrlScrollScriptedModels::SetList(MMResourceId modelList) {
  const MMTaskCallback callback =
      GetChildCount() > 0 ? GetChild(0)->GetCallback() : MMTaskCallback();
  RemoveAllChildren();
  mModelList = modelList;
  SetItemCount(RowCount(modelList));
  SetOffset(0);
  Build(callback);
  if (GetChildCount() > 0) Refresh();
}

VPLObjEventGrpCtrlScrollScriptedMaterials::VPLObjEventGrpCtrlScrollScriptedMaterials(
    MMScene* scene, const UURefCount<MM3DModel>& model, MMResourceId layout,
    const MMTaskCallback& callback, MMResourceId materialList)
    : VPLObjEventGrpCtrlScroll(scene, model, layout, callback), mMaterialList(materialList) {
  SetItemCount(RowCount(materialList));
  SetSingleStep(true);
}

void VPLObjEventGrpCtrlScrollScriptedMaterials::FillCell(int16_t cell, int16_t n) {
  VPLObjEvent* target = GetChild(cell);
  const VPLScript list(mMaterialList, kVPLScriptList);
  if (target == nullptr || n < 0 || n >= list.GetScript().GetRowCount()) return;
  const VPLScript definition(list.GetScript().GetScriptId(n, 0), kVPLButtonDefinition);
  const VPLOnUpButtonObject shown(
      GetScene(),
      MM3DGetModel(static_cast<MMResourceId>(definition.GetTagUInt32(kVPLModelTag)),
                   VPLGetServices().mTextureMap),
      MMTaskCallback(), kMMNoResource);
  VPLMaterializer look(VPLGetServices().mTextureMap);
  look.LoadPreset(kCellPreset);
  look.TakeTexturesFromModel(shown);
  look.Apply(target);
}
