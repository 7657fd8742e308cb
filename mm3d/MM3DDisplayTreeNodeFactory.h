#pragma once
// Makes the node of a kind code in its default state, as a file's node
// record names it. Each kind's class fills its slot of the factory's table;
// a code without a class makes nothing.

#include "mm3d/MM3DDisplayTreeNode.h"

#include <cstdint>

// The deepest nesting of node records a file may carry: a deeper tree
// fails the read rather than exhaust the stack.
constexpr int32_t kMM3DMaxDisplayTreeDepth = 1024;

// A new node of the kind, or null for a code that no class serves.
MM3DDisplayTreeNode* MM3DMakeDisplayTreeNode(int32_t kind);
