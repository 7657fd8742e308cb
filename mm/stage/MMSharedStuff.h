#pragma once
// A shared object with a changed flag, and the links by which its holders
// share it: the last link to let go deletes the object, and a change can be
// announced to every holder through its callback.

#include "foundation/uu/UUCallback.h"

#include <cstdint>

class MMSharedStuffLink;

class MMSharedStuffBase {
 public:
  MMSharedStuffBase() = default;
  virtual ~MMSharedStuffBase() = default;
  MMSharedStuffBase(const MMSharedStuffBase&) = delete;
  MMSharedStuffBase& operator=(const MMSharedStuffBase&) = delete;

  bool IsChanged() const { return mChanged; }
  int32_t GetLinkCount() const { return mLinkCount; }

 private:
  friend class MMSharedStuffLink;

  bool mChanged = false;
  int32_t mLinkCount = 0;
  MMSharedStuffLink* mLinks = nullptr;  // the most recently attached first
};

class MMSharedStuffLink {
 public:
  MMSharedStuffLink() = default;
  // Attaches to the object (null: none) without a callback.
  explicit MMSharedStuffLink(MMSharedStuffBase* object);
  // Detaches, and deletes the callback.
  ~MMSharedStuffLink();
  MMSharedStuffLink(const MMSharedStuffLink&) = delete;
  MMSharedStuffLink& operator=(const MMSharedStuffLink&) = delete;

  MMSharedStuffBase* GetObject() const { return mObject; }

  // Links at the head of the object's list; the callback is kept.
  void Attach(MMSharedStuffBase* object);
  // Unlinks; the object is deleted when no link is left.
  void Detach();
  // Moves to another object and tells the callback; nothing when it is the
  // same object.
  void Rebind(MMSharedStuffBase* object);
  void MarkChanged();
  // Clears the object's changed flag and invokes the callback of every link
  // to it, the most recently attached first.
  void ClearChangedAndNotify();
  // Takes the callback (may be null), deleting the one it had.
  void SetCallback(UUCallback* callback);

 private:
  MMSharedStuffBase* mObject = nullptr;
  UUCallback* mCallback = nullptr;
  MMSharedStuffLink* mNext = nullptr;
};
