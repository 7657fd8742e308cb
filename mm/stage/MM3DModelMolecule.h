#pragma once
// A molecule that shows one 3D model in its scene: it renders the model's
// display tree through a display-tree visual in the scene's enclosure,
// lights that enclosure with the model's lights for exactly as long as it
// lives, and makes an animation player for the model's clip. It is the base
// of the application's 3D objects, which play the animation, pick and
// change materials through the accessors below.

#include "foundation/uu/UUList.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/stage/MM3DAnimationPlayer.h"
#include "mm/stage/MM3DDisplayTreeVisual.h"
#include "mm/stage/MMMolecule.h"
#include "mm3d/MM3DCamera.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DModel.h"

class MM3DModelMolecule : public MMMolecule {
 public:
  // Shares the model (one more reference).
  MM3DModelMolecule(MMScene* scene, const UURefCount<MM3DModel>& model);
  // The model of that id, its textures from the stage's driver texture map.
  MM3DModelMolecule(MMScene* scene, MMResourceId id);
  // Takes the visual and the lights out of the enclosure.
  ~MM3DModelMolecule() override;

  // A model id that gives no model stands for an empty model: nothing to
  // draw, no lights, no clip.
  static UURefCount<MM3DModel> LoadModel(MMScene* scene, MMResourceId id);

  const UURefCount<MM3DModel>& GetModel() const { return mModel; }
  MM3DDisplayTreeNode* GetDisplayTreeRoot() const { return mModel->GetDisplayTree(); }
  // Null when the model has no clip.
  MM3DAnimationPlayer* GetAnimationPlayer() const { return mAnimationPlayer.Get(); }
  bool HasDisplayTree() const { return mModel->HasDisplayTree(); }
  bool HasLights() const { return mModel->HasLights(); }
  bool HasCameras() const { return mModel->HasCameras(); }
  UUList<UURefCount<MM3DLight>>& GetLights() const { return mModel->GetLights(); }
  UUList<UURefCount<MM3DCamera>>& GetCameras() const { return mModel->GetCameras(); }
  MM3DDisplayTreeNode* FindNamedNode(const char* name) const { return mModel->FindNamedNode(name); }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

  // Shows another model (an empty one for an empty handle): the old
  // model's player, visual and lights go, the new one's come.
  void ReplaceModel(const UURefCount<MM3DModel>& model);
  // The player (none without a clip), the visual and the lights for the
  // current model.
  void BuildParts();
  // Replaces the visual by one of the model's tree, when it has one.
  void CreateVisual();
  // Takes the visual, if any, out of the enclosure and deletes it.
  void DestroyVisual();
  // A visual of a class of the subclass's own in place of the current one:
  // owned, shown as the molecule is, in the molecule's enclosure.
  void ReplaceVisual(MM3DDisplayTreeVisual* visual);
  MM3DDisplayTreeVisual* GetVisual() const { return mVisual.Get(); }
  // A player of a class of the subclass's own in place of the current one
  // (which is deleted); owned.
  void ReplaceAnimationPlayer(MM3DAnimationPlayer* player) { mAnimationPlayer.Reset(player); }
  void PushLights();
  void PopLights();

 private:
  UURefCount<MM3DModel> mModel;
  UUOwned<MM3DAnimationPlayer> mAnimationPlayer;
  UUOwned<MM3DDisplayTreeVisual> mVisual;
};
