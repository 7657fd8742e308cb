#include "mm/stage/MMSharedStuff.h"

MMSharedStuffLink::MMSharedStuffLink(MMSharedStuffBase* object) { Attach(object); }

MMSharedStuffLink::~MMSharedStuffLink() {
  Detach();
  delete mCallback;
}

void MMSharedStuffLink::Attach(MMSharedStuffBase* object) {
  // Counted before the detach: attaching again to the object this link
  // alone holds must not delete it.
  if (object != nullptr) ++object->mLinkCount;
  Detach();
  if (object == nullptr) return;
  mObject = object;
  mNext = object->mLinks;
  object->mLinks = this;
}

void MMSharedStuffLink::Detach() {
  if (mObject == nullptr) return;
  MMSharedStuffLink** link = &mObject->mLinks;
  while (*link != nullptr && *link != this) link = &(*link)->mNext;
  if (*link == this) *link = mNext;
  mNext = nullptr;
  MMSharedStuffBase* object = mObject;
  mObject = nullptr;
  if (--object->mLinkCount == 0) delete object;
}

void MMSharedStuffLink::Rebind(MMSharedStuffBase* object) {
  if (object == mObject) return;
  Attach(object);
  if (mCallback != nullptr) mCallback->Invoke();
}

void MMSharedStuffLink::MarkChanged() {
  if (mObject != nullptr) mObject->mChanged = true;
}

void MMSharedStuffLink::ClearChangedAndNotify() {
  if (mObject == nullptr) return;
  mObject->mChanged = false;
  // The next link is taken before the call: a holder may detach its own
  // link when told.
  for (MMSharedStuffLink* link = mObject->mLinks; link != nullptr;) {
    MMSharedStuffLink* next = link->mNext;
    if (link->mCallback != nullptr) link->mCallback->Invoke();
    link = next;
  }
}

void MMSharedStuffLink::SetCallback(UUCallback* callback) {
  if (callback == mCallback) return;
  delete mCallback;
  mCallback = callback;
}
