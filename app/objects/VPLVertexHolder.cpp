#include "app/objects/VPLVertexHolder.h"

bool VPLVertexHolder::IsSameVertex(const VPLVertexHolder& other) const {
  return mNode == other.mNode && mPart == other.mPart && mBlock == other.mBlock &&
         mTriangle == other.mTriangle && mCorner == other.mCorner;
}
