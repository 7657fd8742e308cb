#include "foundation/uu/UUOrderedMap.h"

namespace {

using Node = UUOrderedMapNodeBase;

bool IsBlack(const Node* node) { return node == nullptr || node->mColour == kUUOrderedMapBlack; }

Node* Minimum(Node* node) {
  while (node->mLeft != nullptr) node = node->mLeft;
  return node;
}

Node* Maximum(Node* node) {
  while (node->mRight != nullptr) node = node->mRight;
  return node;
}

// Puts replacement where node hangs from its parent (or as the root).
void ReplaceChild(Node* node, Node* replacement, Node*& root) {
  if (node == root) {
    root = replacement;
  } else if (node->mParent->mLeft == node) {
    node->mParent->mLeft = replacement;
  } else {
    node->mParent->mRight = replacement;
  }
}

void RotateLeft(Node* x, Node*& root) {
  Node* y = x->mRight;
  x->mRight = y->mLeft;
  if (y->mLeft != nullptr) y->mLeft->mParent = x;
  y->mParent = x->mParent;
  ReplaceChild(x, y, root);
  y->mLeft = x;
  x->mParent = y;
}

void RotateRight(Node* x, Node*& root) {
  Node* y = x->mLeft;
  x->mLeft = y->mRight;
  if (y->mRight != nullptr) y->mRight->mParent = x;
  y->mParent = x->mParent;
  ReplaceChild(x, y, root);
  y->mRight = x;
  x->mParent = y;
}

// One fix-up step for a red node x under a red parent: answers the node to
// continue from. left tells on which side of the grandparent the parent is.
Node* FixRedParent(Node* x, bool left, Node*& root) {
  Node* grandparent = x->mParent->mParent;
  Node* uncle = left ? grandparent->mRight : grandparent->mLeft;
  if (!IsBlack(uncle)) {
    x->mParent->mColour = kUUOrderedMapBlack;
    uncle->mColour = kUUOrderedMapBlack;
    grandparent->mColour = kUUOrderedMapRed;
    return grandparent;
  }
  if (x == (left ? x->mParent->mRight : x->mParent->mLeft)) {
    x = x->mParent;
    left ? RotateLeft(x, root) : RotateRight(x, root);
  }
  x->mParent->mColour = kUUOrderedMapBlack;
  grandparent->mColour = kUUOrderedMapRed;
  left ? RotateRight(grandparent, root) : RotateLeft(grandparent, root);
  return x;
}

// One deletion fix-up step for a doubly black x (possibly null) on the
// given side of parent; answers true when the fix-up is done.
bool FixDoubleBlack(Node*& x, Node*& parent, bool left, Node*& root) {
  auto rotateTowards = [&](Node* n) { left ? RotateLeft(n, root) : RotateRight(n, root); };
  auto rotateAway = [&](Node* n) { left ? RotateRight(n, root) : RotateLeft(n, root); };
  Node* sibling = left ? parent->mRight : parent->mLeft;
  if (!IsBlack(sibling)) {
    sibling->mColour = kUUOrderedMapBlack;
    parent->mColour = kUUOrderedMapRed;
    rotateTowards(parent);
    sibling = left ? parent->mRight : parent->mLeft;
  }
  Node* nearChild = left ? sibling->mLeft : sibling->mRight;
  Node* farChild = left ? sibling->mRight : sibling->mLeft;
  if (IsBlack(nearChild) && IsBlack(farChild)) {
    sibling->mColour = kUUOrderedMapRed;
    x = parent;
    parent = parent->mParent;
    return false;
  }
  if (IsBlack(farChild)) {
    nearChild->mColour = kUUOrderedMapBlack;
    sibling->mColour = kUUOrderedMapRed;
    rotateAway(sibling);
    sibling = left ? parent->mRight : parent->mLeft;
    farChild = left ? sibling->mRight : sibling->mLeft;
  }
  sibling->mColour = parent->mColour;
  parent->mColour = kUUOrderedMapBlack;
  if (farChild != nullptr) farChild->mColour = kUUOrderedMapBlack;
  rotateTowards(parent);
  return true;
}

}  // namespace

Node* UUOrderedMapIterator::Increment(Node* node) {
  if (node->mRight != nullptr) return Minimum(node->mRight);
  Node* parent = node->mParent;
  while (node == parent->mRight) {
    node = parent;
    parent = parent->mParent;
  }
  return node->mRight != parent ? parent : node;
}

Node* UUOrderedMapIterator::Decrement(Node* node) {
  if (node->mColour == kUUOrderedMapRed && node->mParent != nullptr &&
      node->mParent->mParent == node) {
    return node->mRight;
  }
  if (node->mLeft != nullptr && node->mLeft != node) return Maximum(node->mLeft);
  Node* parent = node->mParent;
  while (parent != nullptr && node == parent->mLeft) {
    node = parent;
    parent = parent->mParent;
  }
  return parent != nullptr ? parent : node;
}

void UUOrderedMapTree::LinkNode(bool insertLeft, Node* x, Node* parent, Node* header) {
  x->mParent = parent;
  x->mLeft = nullptr;
  x->mRight = nullptr;
  x->mColour = kUUOrderedMapRed;
  if (insertLeft) {
    parent->mLeft = x;
    if (parent == header) {
      header->mParent = x;
      header->mRight = x;
    } else if (parent == header->mLeft) {
      header->mLeft = x;
    }
  } else {
    parent->mRight = x;
    if (parent == header->mRight) header->mRight = x;
  }
  Node*& root = header->mParent;
  while (x != root && x->mParent->mColour == kUUOrderedMapRed) {
    x = FixRedParent(x, x->mParent == x->mParent->mParent->mLeft, root);
  }
  root->mColour = kUUOrderedMapBlack;
}

Node* UUOrderedMapTree::UnlinkNode(Node* z, Node* header) {
  Node*& root = header->mParent;
  Node* y = z;
  Node* x;
  Node* xParent;
  if (z->mLeft == nullptr || z->mRight == nullptr) {
    x = z->mLeft != nullptr ? z->mLeft : z->mRight;
    xParent = z->mParent;
    if (x != nullptr) x->mParent = z->mParent;
    ReplaceChild(z, x, root);
    if (header->mLeft == z) header->mLeft = z->mRight == nullptr ? z->mParent : Minimum(x);
    if (header->mRight == z) header->mRight = z->mLeft == nullptr ? z->mParent : Maximum(x);
  } else {
    // The in-order successor takes z's place, links and colour.
    y = Minimum(z->mRight);
    x = y->mRight;
    z->mLeft->mParent = y;
    y->mLeft = z->mLeft;
    if (y != z->mRight) {
      xParent = y->mParent;
      if (x != nullptr) x->mParent = xParent;
      xParent->mLeft = x;
      y->mRight = z->mRight;
      z->mRight->mParent = y;
    } else {
      xParent = y;
    }
    ReplaceChild(z, y, root);
    y->mParent = z->mParent;
    std::swap(y->mColour, z->mColour);
    y = z;
  }
  if (y->mColour == kUUOrderedMapBlack) {
    while (x != root && IsBlack(x)) {
      if (FixDoubleBlack(x, xParent, x == xParent->mLeft, root)) {
        x = root;
        break;
      }
    }
    if (x != nullptr) x->mColour = kUUOrderedMapBlack;
  }
  return z;
}
