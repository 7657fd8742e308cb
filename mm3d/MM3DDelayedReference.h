#pragma once
// A reference from one object of a 3D database file to another that may be
// read after it. Reading leaves the reference null and pending; once the
// whole file has been read, MM3DDatabase::ResolveDelayedReferences sets it.

#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DDisplayTreeNode.h"

#include <cstdint>
#include <type_traits>

class MM3DDelayedReferenceBase {
 public:
  MM3DDelayedReferenceBase() = default;
  MM3DDelayedReferenceBase(const MM3DDelayedReferenceBase&) = delete;
  MM3DDelayedReferenceBase& operator=(const MM3DDelayedReferenceBase&) = delete;
  virtual ~MM3DDelayedReferenceBase() { MM3DDatabase::ForgetDelayedReference(*this); }

  // Points the reference at an entry of the object table.
  virtual void Set(const MM3DReferencedObject& object) = 0;

 private:
  friend class MM3DDatabase;
  // The reference's entry in the pending table while it waits, else -1.
  int32_t mPendingPosition = -1;
};

// Display-tree nodes are loaded as MM3DDisplayTreeNode, whatever their
// class; every other object as its own class.
template <typename T>
T* MM3DCastReferencedObject(const MM3DReferencedObject& object) {
  if constexpr (std::is_base_of_v<MM3DDisplayTreeNode, T>) {
    return dynamic_cast<T*>(object.As<MM3DDisplayTreeNode>());
  } else {
    return object.As<T>();
  }
}

// The address the object table holds for an object: for a node, its node
// part.
template <typename T>
const void* MM3DReferencedAddress(const T* object) {
  if constexpr (std::is_base_of_v<MM3DDisplayTreeNode, T>) {
    return static_cast<const MM3DDisplayTreeNode*>(object);
  } else {
    return object;
  }
}

template <typename T>
class MM3DDelayedReference : public MM3DDelayedReferenceBase {
 public:
  void Set(const MM3DReferencedObject& object) override {
    mObject = MM3DCastReferencedObject<T>(object);
  }
  void Set(T* object) { mObject = object; }
  T* Get() const { return mObject; }

  bool Write(UUWriter& writer) const {
    return MM3DDatabase::WriteDelayedReference(
        writer, mObject == nullptr ? nullptr : MM3DReferencedAddress(mObject));
  }
  // The reference is null until the file's references are resolved.
  bool Read(UUReader& reader) {
    mObject = nullptr;
    return MM3DDatabase::ReadDelayedReference(reader, *this);
  }

 private:
  T* mObject = nullptr;
};
