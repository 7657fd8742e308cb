#include "media/codecs/UUPerceptualAudioHuffman.h"

#include <algorithm>

#include "media/codecs/UUPerceptualAudioCodebooks.h"

namespace UUPerceptualAudio {

namespace {

constexpr uint32_t kOffsetMask = 0xFFFF;
// Deeper than any tree a decoder accepts; stops the walk of a damaged tree.
constexpr int kDepthLimit = HuffmanDecoder::kMaxLookupBits + HuffmanDecoder::kMaxExtraDepth + 1;

bool IsInner(uint32_t entry) { return (entry & kInnerNode) != 0; }

}  // namespace

int HuffmanDecoder::Depth(size_t index, int depth) const {
  const std::vector<uint32_t>& tree = *mTree;
  if (index >= tree.size() || depth > kDepthLimit) return -1;
  if (!IsInner(tree[index])) return depth;
  const uint32_t offset = tree[index] & kOffsetMask;
  if (offset < 2) return -1;  // the bit-0 child lies after the bit-1 child
  const int one = Depth(index + 1, depth + 1);
  const int zero = Depth(index + offset, depth + 1);
  return one < 0 || zero < 0 ? -1 : std::max(one, zero);
}

HuffmanDecoder::Entry HuffmanDecoder::Walk(uint32_t bits, int count) const {
  const std::vector<uint32_t>& tree = *mTree;
  size_t node = 0;
  for (int used = 0; used < count; ++used) {
    if (!IsInner(tree[node])) return {static_cast<uint8_t>(used), true, tree[node]};
    const uint32_t bit = (bits >> (count - 1 - used)) & 1;
    node = bit != 0 ? node + 1 : node + (tree[node] & kOffsetMask);
  }
  if (!IsInner(tree[node])) return {static_cast<uint8_t>(count), true, tree[node]};
  return {static_cast<uint8_t>(count), false, static_cast<uint32_t>(node)};
}

bool HuffmanDecoder::Build(const std::vector<uint32_t>& tree) {
  mTree = &tree;
  const int depth = Depth(0, 0);
  if (depth < 0) return false;
  mLookupBits = std::min(depth, kMaxLookupBits);
  if (depth > mLookupBits + kMaxExtraDepth) return false;
  mLookup.resize(size_t{1} << mLookupBits);
  for (uint32_t bits = 0; bits < mLookup.size(); ++bits) mLookup[bits] = Walk(bits, mLookupBits);
  return true;
}

uint32_t HuffmanDecoder::Decode(BitReader& reader) const {
  const Entry& entry = mLookup[mLookupBits == 0 ? 0 : reader.Peek(mLookupBits)];
  reader.Skip(entry.length);
  if (entry.leaf) return entry.value;
  const std::vector<uint32_t>& tree = *mTree;
  size_t node = entry.value;
  // The tree was checked when built: every path ends in a leaf.
  while (IsInner(tree[node])) {
    node = reader.Read(1) != 0 ? node + 1 : node + (tree[node] & kOffsetMask);
  }
  return tree[node];
}

}  // namespace UUPerceptualAudio
