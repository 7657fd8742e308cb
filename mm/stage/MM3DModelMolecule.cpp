#include "mm/stage/MM3DModelMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DSceneChanges.h"

namespace {

UURefCount<MM3DModel> ModelOrEmpty(const UURefCount<MM3DModel>& model) {
  return model ? model : UURefCount<MM3DModel>(new (ALGlobalAllocator) MM3DModel);
}

}  // namespace

MM3DModelMolecule::MM3DModelMolecule(MMScene* scene, const UURefCount<MM3DModel>& model)
    : MMMolecule(scene), mModel(ModelOrEmpty(model)) {
  BuildParts();
}

MM3DModelMolecule::MM3DModelMolecule(MMScene* scene, MMResourceId id)
    : MM3DModelMolecule(scene, LoadModel(scene, id)) {}

MM3DModelMolecule::~MM3DModelMolecule() {
  DestroyVisual();
  PopLights();
}

UURefCount<MM3DModel> MM3DModelMolecule::LoadModel(MMScene* scene, MMResourceId id) {
  return ModelOrEmpty(MM3DGetModel(id, scene->GetStage()->GetTextureMap()));
}

void MM3DModelMolecule::ReplaceModel(const UURefCount<MM3DModel>& model) {
  mAnimationPlayer.Reset();
  DestroyVisual();
  PopLights();
  mModel = ModelOrEmpty(model);
  BuildParts();
}

void MM3DModelMolecule::BuildParts() {
  MM3DAnimationClip* clip = mModel->GetAnimationClip();
  mAnimationPlayer.Reset(
      clip != nullptr ? new (ALGlobalAllocator) MM3DAnimationPlayer(GetScene(), clip) : nullptr);
  CreateVisual();
  PushLights();
}

void MM3DModelMolecule::CreateVisual() {
  if (!mModel->HasDisplayTree()) {
    DestroyVisual();
    return;
  }
  ReplaceVisual(new (ALGlobalAllocator) MM3DDisplayTreeVisual(mModel->GetDisplayTree(), 0));
}

void MM3DModelMolecule::ReplaceVisual(MM3DDisplayTreeVisual* visual) {
  DestroyVisual();
  mVisual.Reset(visual);
  mVisual->SetVisibility(GetVisibility());
  GetEnclosure()->AddVisual(mVisual.Get());
}

void MM3DModelMolecule::DestroyVisual() {
  if (mVisual.IsEmpty()) return;
  GetEnclosure()->RemoveVisual(mVisual.Get());
  mVisual.Reset();
}

void MM3DModelMolecule::PushLights() {
  MM3DRenderContext& context = GetEnclosure()->GetRenderContext();
  for (const UURefCount<MM3DLight>& light : mModel->GetLights()) context.PushLight(light.Get());
  MM3DSceneChanges::Note();
}

void MM3DModelMolecule::PopLights() {
  MM3DRenderContext& context = GetEnclosure()->GetRenderContext();
  for (const UURefCount<MM3DLight>& light : mModel->GetLights()) context.PopLight(light.Get());
  MM3DSceneChanges::Note();
}

void MM3DModelMolecule::ApplyVisibility(MMVisibility visibility) {
  if (mVisual) mVisual->SetVisibility(visibility);
  MMMolecule::ApplyVisibility(visibility);
}
