#pragma once
// The base of every collection that takes part in the act switch: all live
// collections are on one list, in construction order, so that the switch
// can free what no one references and bring back what someone does.

#include "foundation/uu/UUList.h"

class MMResourceCollection {
 public:
  MMResourceCollection();
  virtual ~MMResourceCollection();
  MMResourceCollection(const MMResourceCollection&) = delete;
  MMResourceCollection& operator=(const MMResourceCollection&) = delete;

  // Gives every referenced item a locked block; false (with its own work
  // undone) when memory runs out.
  virtual bool LoadReferenced() = 0;
  // Reads the newly allocated items (on success) and unlocks them all.
  virtual void EndLoadReferenced(bool success) = 0;
  // Frees the blocks of the items no one references.
  virtual void PurgeUnreferenced() = 0;

  static void PurgeAllUnreferenced();
  // LoadReferenced on each collection until one fails, then
  // EndLoadReferenced on those before it; false when one failed.
  static bool ReloadAllReferenced();

  static UUList<MMResourceCollection*>& AllCollections();
};
