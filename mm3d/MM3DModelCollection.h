#pragma once
// The resource collections of models: each is numbered and registered in
// the model registry (separate from the other kinds'), so that a model id
// (collection number << 16 | item) names a model anywhere. Models are not
// cached: every request reads and builds a new model.

#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMResourceCollection.h"

#include <cstdint>

class MM3DDriverTextureMap;
class MM3DModel;

class MM3DModelCollection : public MMResourceCollection {
 public:
  explicit MM3DModelCollection(uint16_t collectionNumber);
  ~MM3DModelCollection() override;

  uint16_t GetCollectionNumber() const { return mCollectionNumber; }
  // A new model of item i whose textures come from the map; empty when it
  // cannot be read.
  virtual UURefCount<MM3DModel> GetModel(int16_t i, MM3DDriverTextureMap* map) = 0;

 private:
  uint16_t mCollectionNumber;
};

MMCollectionRegistry<MM3DModelCollection>& MM3DModelRegistry();
// Deletes every registered collection and the registry's overflow map.
void MM3DDestroyModelCollections();
// An empty handle when the id's collection is not registered.
UURefCount<MM3DModel> MM3DGetModel(MMResourceId id, MM3DDriverTextureMap* map);
// Null when the id's collection is not registered.
MM3DModelCollection* MM3DGetModelCollection(MMResourceId id);
// -1 when the collection is not registered.
MMResourceId MM3DMakeModelId(const MM3DModelCollection* collection, int16_t i);
