#pragma once

#include <atomic>
#include <cstdint>

// A count of the changes to anything a 3D frame shows: node transforms and
// visibility, tree structure, meshes, materials and lights. A 3D act that
// finds the count where it was after its last frame, and nothing else
// asked for a frame, draws nothing: on a machine without a 3D card every
// frame costs the processor. One count for the process, so a change can
// only ever cause a frame too many, never one too few.
class MM3DSceneChanges {
 public:
  static void Note() { sCount.fetch_add(1, std::memory_order_relaxed); }
  static uint64_t Get() { return sCount.load(std::memory_order_relaxed); }

 private:
  static inline std::atomic<uint64_t> sCount{0};
};
