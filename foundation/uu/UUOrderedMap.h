#pragma once
// An ordered map: a red-black tree whose key extraction and ordering are
// function pointers held by each map. The header node heads the tree: its
// left is the leftmost node, its right the rightmost, its parent the root;
// it is also the end position. Iteration runs in ascending key order.

#include "foundation/uu/UUArrayBlock.h"

#include <cstdint>
#include <new>
#include <utility>

struct UUOrderedMapNodeBase {
  int32_t mColour;  // 0 red, 1 black
  UUOrderedMapNodeBase* mLeft;
  UUOrderedMapNodeBase* mRight;
  UUOrderedMapNodeBase* mParent;
};

constexpr int32_t kUUOrderedMapRed = 0;
constexpr int32_t kUUOrderedMapBlack = 1;

struct UUOrderedMapIterator {
  // The next node in order, or the header after the rightmost node.
  static UUOrderedMapNodeBase* Increment(UUOrderedMapNodeBase* node);
  // The previous node; from the header, the rightmost node.
  static UUOrderedMapNodeBase* Decrement(UUOrderedMapNodeBase* node);
};

// The untyped tree operations every map shares.
struct UUOrderedMapTree {
  // Links a new node as a child of parent and rebalances.
  static void LinkNode(bool insertLeft, UUOrderedMapNodeBase* node, UUOrderedMapNodeBase* parent,
                       UUOrderedMapNodeBase* header);
  // Takes node out of the tree with rebalancing and answers it.
  static UUOrderedMapNodeBase* UnlinkNode(UUOrderedMapNodeBase* node, UUOrderedMapNodeBase* header);
};

template <typename V>
class UUOrderedMap {
 public:
  using KeyOf = const void* (*)(const V* value);
  using Less = bool (*)(const void* keyA, const void* keyB);

  struct Node : UUOrderedMapNodeBase {
    explicit Node(const V& value)
        : UUOrderedMapNodeBase{kUUOrderedMapRed, nullptr, nullptr, nullptr}, mValue(value) {}
    V mValue;
  };

  // The header and every node come from the source.
  UUOrderedMap(KeyOf keyOf, Less less, ALBlockSource source = ALBlockSource::Current())
      : mSource(source), mHeader(NewHeader()), mKeyOf(keyOf), mLess(less) {}
  UUOrderedMap(const UUOrderedMap&) = delete;
  UUOrderedMap& operator=(const UUOrderedMap&) = delete;
  ~UUOrderedMap() {
    Clear();
    UUFreeArrayBlock(mHeader);
  }

  uint32_t Count() const { return mCount; }
  UUOrderedMapNodeBase* Begin() const { return mHeader->mLeft; }
  UUOrderedMapNodeBase* End() const { return mHeader; }
  static V& ValueOf(UUOrderedMapNodeBase* node) { return static_cast<Node*>(node)->mValue; }

  // The node holding the value's key and whether it was inserted now.
  std::pair<UUOrderedMapNodeBase*, bool> InsertUnique(const V& value) {
    const void* key = mKeyOf(&value);
    UUOrderedMapNodeBase* y = mHeader;
    UUOrderedMapNodeBase* x = mHeader->mParent;
    bool goesLeft = true;
    while (x != nullptr) {
      y = x;
      goesLeft = mLess(key, KeyOfNode(x));
      x = goesLeft ? x->mLeft : x->mRight;
    }
    UUOrderedMapNodeBase* j = y;
    if (goesLeft) {
      if (y == mHeader->mLeft) return {Link(y, value), true};
      j = UUOrderedMapIterator::Decrement(y);
    }
    if (mLess(KeyOfNode(j), key)) return {Link(y, value), true};
    return {j, false};
  }

  // The first node whose key is not less than key, or the end.
  UUOrderedMapNodeBase* LowerBound(const void* key) const {
    UUOrderedMapNodeBase* result = mHeader;
    for (UUOrderedMapNodeBase* x = mHeader->mParent; x != nullptr;) {
      if (!mLess(KeyOfNode(x), key)) {
        result = x;
        x = x->mLeft;
      } else {
        x = x->mRight;
      }
    }
    return result;
  }
  UUOrderedMapNodeBase* Find(const void* key) const {
    UUOrderedMapNodeBase* found = LowerBound(key);
    return found == mHeader || mLess(key, KeyOfNode(found)) ? mHeader : found;
  }

  // Takes the node out, destroys its value and frees it.
  void Erase(UUOrderedMapNodeBase* node) {
    DeleteNode(UUOrderedMapTree::UnlinkNode(node, mHeader));
    --mCount;
  }
  void Clear() {
    DeleteSubtree(mHeader->mParent);
    mHeader->mParent = nullptr;
    mHeader->mLeft = mHeader;
    mHeader->mRight = mHeader;
    mCount = 0;
  }

 private:
  UUOrderedMapNodeBase* NewHeader() const {
    auto* header = static_cast<UUOrderedMapNodeBase*>(
        UUAllocateArrayBlock(sizeof(UUOrderedMapNodeBase), mSource.Get(), kALMustSucceed));
    *header = UUOrderedMapNodeBase{kUUOrderedMapRed, header, header, nullptr};
    return header;
  }
  Node* NewNode(const V& value) const {
    return new (UUAllocateArrayBlock(sizeof(Node), mSource.Get(), kALMustSucceed)) Node(value);
  }
  static void DeleteNode(UUOrderedMapNodeBase* node) {
    static_cast<Node*>(node)->~Node();
    UUFreeArrayBlock(node);
  }
  static void DeleteSubtree(UUOrderedMapNodeBase* node) {
    while (node != nullptr) {
      DeleteSubtree(node->mRight);
      UUOrderedMapNodeBase* left = node->mLeft;
      DeleteNode(node);
      node = left;
    }
  }

  const void* KeyOfNode(UUOrderedMapNodeBase* node) const { return mKeyOf(&ValueOf(node)); }

  UUOrderedMapNodeBase* Link(UUOrderedMapNodeBase* parent, const V& value) {
    const bool insertLeft = parent == mHeader || mLess(mKeyOf(&value), KeyOfNode(parent));
    Node* node = NewNode(value);
    UUOrderedMapTree::LinkNode(insertLeft, node, parent, mHeader);
    ++mCount;
    return node;
  }

  ALBlockSource mSource;
  UUOrderedMapNodeBase* mHeader;
  uint32_t mCount = 0;
  KeyOf mKeyOf;
  Less mLess;
};
