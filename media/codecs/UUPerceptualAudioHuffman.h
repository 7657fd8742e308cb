#pragma once
// Decodes the codewords of one codebook: a first-level lookup of k bits
// (k = the tree's depth, at most 8) resolves most codewords at once; longer
// ones continue bit by bit from the tree node the lookup ends on.

#include "media/codecs/UUPerceptualAudioBitReader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace UUPerceptualAudio {

class HuffmanDecoder {
 public:
  // False when the tree is malformed or deeper than the lookup bits + 16.
  bool Build(const std::vector<uint32_t>& tree);
  // The leaf value of the next codeword.
  uint32_t Decode(BitReader& reader) const;

  static constexpr int kMaxLookupBits = 8;
  static constexpr int kMaxExtraDepth = 16;

 private:
  struct Entry {
    uint8_t length;  // bits consumed by the lookup
    bool leaf;
    uint32_t value;  // the leaf value, or the index of the inner node
  };
  // Depth of the subtree at index; -1 when it is malformed.
  int Depth(size_t index, int depth) const;
  // Follows bits from node for at most count bits; answers the entry.
  Entry Walk(uint32_t bits, int count) const;

  const std::vector<uint32_t>* mTree = nullptr;
  int mLookupBits = 0;
  std::vector<Entry> mLookup;
};

}  // namespace UUPerceptualAudio
