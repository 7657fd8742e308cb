#pragma once
// Counted circular doubly linked lists. The untyped core links, splices,
// reverses and sorts nodes without knowing their values; UUList<T> is a
// thin typed layer over it. The anchor node is the ring's sentinel and
// holds the element count: its next is the first element, its previous the
// last. Nodes are always destroyed by their Detach hook and then their
// deleting destructor. Lists take no lock: their owners guard them.

#include "foundation/al/ALAllocator.h"

#include <cstdint>
#include <utility>

class UUUntypedListNode {
 public:
  UUUntypedListNode() : mNext(this), mPrevious(this) {}
  virtual ~UUUntypedListNode() = default;
  UUUntypedListNode(const UUUntypedListNode&) = delete;
  UUUntypedListNode& operator=(const UUUntypedListNode&) = delete;
  // The pre-delete hook; nodes have nothing to do.
  virtual void Detach() {}

  UUUntypedListNode* mNext;
  UUUntypedListNode* mPrevious;
};

class UUUntypedListNodeAnchor : public UUUntypedListNode {
 public:
  // Links node before position and counts it; answers position.
  UUUntypedListNode* InsertBefore(UUUntypedListNode* node, UUUntypedListNode* position);
  // Cuts [first, last) out, then detaches and deletes each node in order.
  void EraseRange(UUUntypedListNode* first, UUUntypedListNode* last);
  // Moves every node of other before position, in order.
  void SpliceAll(UUUntypedListNode* position, UUUntypedListNodeAnchor* other);
  // Moves [first, last) of other (possibly this list) before position, which
  // must not lie inside the range.
  void Splice(UUUntypedListNode* position, UUUntypedListNodeAnchor* other, UUUntypedListNode* first,
              UUUntypedListNode* last);
  // As Splice with the number of moved nodes given.
  void TransferRange(UUUntypedListNode* position, UUUntypedListNodeAnchor* other,
                     UUUntypedListNode* first, UUUntypedListNode* last, int32_t n);
  void Reverse();

  int32_t mCount = 0;
};

// Cuts [first, last) out of its ring without counting; answers the last
// node of the cut run.
UUUntypedListNode* UUUnlinkNodes(UUUntypedListNode* first, UUUntypedListNode* last);
// Links the chained run first..lastNode in before position without counting.
void UULinkNodes(UUUntypedListNode* first, UUUntypedListNode* lastNode,
                 UUUntypedListNode* position);
// Detach, then the deleting destructor; null is ignored.
void UUDetachAndDelete(UUUntypedListNode* node);

// Comparators are stored untyped; each typed list casts back its own kind.
using UUUntypedComparator = void (*)();

class UUUntypedList {
 public:
  // The anchor and every node come from the source.
  explicit UUUntypedList(ALBlockSource source);
  UUUntypedList(const UUUntypedList&) = delete;
  UUUntypedList& operator=(const UUUntypedList&) = delete;

  // Stable merge sort into the comparator's ascending order.
  void Sort(UUUntypedComparator comparator);

  UUUntypedListNodeAnchor* Anchor() const { return mAnchor; }
  ALBlockSource Source() const { return mSource; }

 protected:
  // Not virtual: lists are never deleted through the untyped base.
  ~UUUntypedList();
  // Whether nodeA's value goes strictly before nodeB's.
  virtual bool CompareNodes(UUUntypedComparator comparator, UUUntypedListNode* nodeA,
                            UUUntypedListNode* nodeB) = 0;

 private:
  struct Run {
    UUUntypedListNode* mHead;
    UUUntypedListNode* mEnd;
  };
  Run SortRun(UUUntypedListNode* first, int32_t n, UUUntypedComparator comparator);
  Run Merge(UUUntypedListNode* head1, UUUntypedListNode* head2, UUUntypedListNode* end2,
            UUUntypedComparator comparator);

  ALBlockSource mSource;
  UUUntypedListNodeAnchor* mAnchor;
};

template <typename T>
class UUListNode : public UUUntypedListNode {
 public:
  template <typename... Args>
  explicit UUListNode(Args&&... args) : mValue(std::forward<Args>(args)...) {}

  T mValue;
};

template <typename T>
class UUList : public UUUntypedList {
 public:
  using Comparator = bool (*)(const T* a, const T* b);
  using Node = UUListNode<T>;

  class Iterator {
   public:
    explicit Iterator(UUUntypedListNode* node) : mNode(node) {}
    T& operator*() const { return static_cast<Node*>(mNode)->mValue; }
    Iterator& operator++() {
      mNode = mNode->mNext;
      return *this;
    }
    bool operator==(const Iterator&) const = default;

   private:
    UUUntypedListNode* mNode;
  };

  UUList() : UUUntypedList(ALBlockSource::Current()) {}
  explicit UUList(ALBlockSource source) : UUUntypedList(source) {}
  ~UUList() = default;

  UUUntypedListNode* Begin() const { return Anchor()->mNext; }
  UUUntypedListNode* End() const { return Anchor(); }
  Iterator begin() const { return Iterator(Begin()); }
  Iterator end() const { return Iterator(End()); }
  int32_t Count() const { return Anchor()->mCount; }
  bool IsEmpty() const { return Count() == 0; }

  static T& ValueOf(UUUntypedListNode* node) { return static_cast<Node*>(node)->mValue; }
  T& Front() const { return ValueOf(Begin()); }
  T& Back() const { return ValueOf(End()->mPrevious); }

  // A new node holding the value, linked before position; answers it.
  template <typename V>
  Node* Insert(UUUntypedListNode* position, V&& value) {
    Node* node = new (Source().Get()) Node(std::forward<V>(value));
    Anchor()->InsertBefore(node, position);
    return node;
  }
  template <typename V>
  Node* PushBack(V&& value) {
    return Insert(End(), std::forward<V>(value));
  }
  template <typename V>
  Node* PushFront(V&& value) {
    return Insert(Begin(), std::forward<V>(value));
  }

  void Erase(UUUntypedListNode* node) { Anchor()->EraseRange(node, node->mNext); }
  void EraseRange(UUUntypedListNode* first, UUUntypedListNode* last) {
    Anchor()->EraseRange(first, last);
  }
  void Clear() { Anchor()->EraseRange(Begin(), End()); }
  // Erases the first node holding value; nothing when there is none.
  void Remove(const T& value);

  void SpliceAll(UUUntypedListNode* position, UUList& other) {
    Anchor()->SpliceAll(position, other.Anchor());
  }
  void Reverse() { Anchor()->Reverse(); }
  void Sort(Comparator comparator) {
    UUUntypedList::Sort(reinterpret_cast<UUUntypedComparator>(comparator));
  }

 protected:
  bool CompareNodes(UUUntypedComparator comparator, UUUntypedListNode* nodeA,
                    UUUntypedListNode* nodeB) override {
    return reinterpret_cast<Comparator>(comparator)(&ValueOf(nodeA), &ValueOf(nodeB));
  }
};

// The first node in [first, last) whose value equals value, or last.
template <typename T>
UUUntypedListNode* UUListFind(UUUntypedListNode* first, UUUntypedListNode* last, const T& value) {
  for (; first != last; first = first->mNext) {
    if (UUList<T>::ValueOf(first) == value) return first;
  }
  return last;
}

template <typename T>
bool UUListContains(UUUntypedListNode* first, UUUntypedListNode* last, const T& value) {
  return UUListFind(first, last, value) != last;
}

// Calls member on each element (an object pointer) of [first, last), in
// order; answers member.
template <typename C, typename M>
M UUListForEach(UUUntypedListNode* first, UUUntypedListNode* last, M member) {
  for (; first != last; first = first->mNext) (UUList<C*>::ValueOf(first)->*member)();
  return member;
}

template <typename T>
void UUList<T>::Remove(const T& value) {
  UUUntypedListNode* node = UUListFind(Begin(), End(), value);
  if (node != End()) Erase(node);
}
