#include "foundation/uu/UUList.h"

UUUntypedListNode* UUUnlinkNodes(UUUntypedListNode* first, UUUntypedListNode* last) {
  UUUntypedListNode* lastNode = last->mPrevious;
  first->mPrevious->mNext = last;
  last->mPrevious = first->mPrevious;
  return lastNode;
}

void UULinkNodes(UUUntypedListNode* first, UUUntypedListNode* lastNode,
                 UUUntypedListNode* position) {
  UUUntypedListNode* before = position->mPrevious;
  before->mNext = first;
  first->mPrevious = before;
  lastNode->mNext = position;
  position->mPrevious = lastNode;
}

void UUDetachAndDelete(UUUntypedListNode* node) {
  if (node == nullptr) return;
  node->Detach();
  delete node;
}

UUUntypedListNode* UUUntypedListNodeAnchor::InsertBefore(UUUntypedListNode* node,
                                                         UUUntypedListNode* position) {
  UULinkNodes(node, node, position);
  ++mCount;
  return position;
}

void UUUntypedListNodeAnchor::EraseRange(UUUntypedListNode* first, UUUntypedListNode* last) {
  if (first == last) return;
  UUUnlinkNodes(first, last);
  while (first != last) {
    UUUntypedListNode* next = first->mNext;
    first->mNext = first;
    first->mPrevious = first;
    --mCount;
    UUDetachAndDelete(first);
    first = next;
  }
}

void UUUntypedListNodeAnchor::SpliceAll(UUUntypedListNode* position,
                                        UUUntypedListNodeAnchor* other) {
  if (other->mNext == other) return;
  TransferRange(position, other, other->mNext, other, other->mCount);
}

void UUUntypedListNodeAnchor::Splice(UUUntypedListNode* position, UUUntypedListNodeAnchor* other,
                                     UUUntypedListNode* first, UUUntypedListNode* last) {
  if (first == last || (other == this && position == last)) return;
  int32_t n = 0;
  if (other != this) {
    if (first == other->mNext && last == other) {
      n = other->mCount;
    } else {
      for (UUUntypedListNode* node = first; node != last; node = node->mNext) ++n;
    }
  }
  TransferRange(position, other, first, last, n);
}

void UUUntypedListNodeAnchor::TransferRange(UUUntypedListNode* position,
                                            UUUntypedListNodeAnchor* other,
                                            UUUntypedListNode* first, UUUntypedListNode* last,
                                            int32_t n) {
  if (first == last) return;
  UUUntypedListNode* lastNode = UUUnlinkNodes(first, last);
  UULinkNodes(first, lastNode, position);
  if (other != this) {
    mCount += n;
    other->mCount -= n;
  }
}

void UUUntypedListNodeAnchor::Reverse() {
  UUUntypedListNode* node = this;
  do {
    std::swap(node->mNext, node->mPrevious);
    node = node->mPrevious;
  } while (node != this);
}

UUUntypedList::UUUntypedList(ALBlockSource source)
    : mSource(source), mAnchor(new (source.Get()) UUUntypedListNodeAnchor) {}

UUUntypedList::~UUUntypedList() {
  mAnchor->EraseRange(mAnchor->mNext, mAnchor);
  UUDetachAndDelete(mAnchor);
}

void UUUntypedList::Sort(UUUntypedComparator comparator) {
  if (mAnchor->mCount < 2) return;
  SortRun(mAnchor->mNext, mAnchor->mCount, comparator);
}

UUUntypedList::Run UUUntypedList::SortRun(UUUntypedListNode* first, int32_t n,
                                          UUUntypedComparator comparator) {
  if (n < 2) return Run{first, first->mNext};
  const Run left = SortRun(first, n / 2, comparator);
  const Run right = SortRun(left.mEnd, n - n / 2, comparator);
  return Merge(left.mHead, right.mHead, right.mEnd, comparator);
}

// The runs [head1, head2) and [head2, end2) lie next to each other; a node
// of the second run moves ahead only when it strictly goes first, so equal
// values keep their order.
UUUntypedList::Run UUUntypedList::Merge(UUUntypedListNode* head1, UUUntypedListNode* head2,
                                        UUUntypedListNode* end2, UUUntypedComparator comparator) {
  UUUntypedListNode* a = head1;
  UUUntypedListNode* b = head2;
  UUUntypedListNode* head = nullptr;
  for (;;) {
    if (CompareNodes(comparator, b, a)) {
      UUUntypedListNode* next = b->mNext;
      if (next != a) {
        UUUnlinkNodes(b, next);
        UULinkNodes(b, b, a);
      }
      if (head == nullptr) head = b;
      b = next;
      if (b == end2) break;
    } else {
      if (head == nullptr) head = a;
      a = a->mNext;
      if (a == b) break;
    }
  }
  return Run{head, end2};
}
