#include "mm/resources/MMResourceCollection.h"

UUList<MMResourceCollection*>& MMResourceCollection::AllCollections() {
  // It outlives every application's pool.
  static UUList<MMResourceCollection*> collections(ALBlockSource::ProcessWide());
  return collections;
}

MMResourceCollection::MMResourceCollection() { AllCollections().PushBack(this); }

MMResourceCollection::~MMResourceCollection() { AllCollections().Remove(this); }

void MMResourceCollection::PurgeAllUnreferenced() {
  for (MMResourceCollection* collection : AllCollections()) collection->PurgeUnreferenced();
}

bool MMResourceCollection::ReloadAllReferenced() {
  UUList<MMResourceCollection*>& collections = AllCollections();
  UUUntypedListNode* failed = collections.End();
  for (UUUntypedListNode* node = collections.Begin(); node != collections.End();
       node = node->mNext) {
    if (!UUList<MMResourceCollection*>::ValueOf(node)->LoadReferenced()) {
      failed = node;
      break;
    }
  }
  const bool success = failed == collections.End();
  for (UUUntypedListNode* node = collections.Begin(); node != failed; node = node->mNext) {
    UUList<MMResourceCollection*>::ValueOf(node)->EndLoadReferenced(success);
  }
  return success;
}
