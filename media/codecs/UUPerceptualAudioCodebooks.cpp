#include "media/codecs/UUPerceptualAudioCodebooks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <queue>

namespace UUPerceptualAudio {

namespace {

constexpr int kBookCount = 16;
// The largest magnitude of each book 1-15; odd books favour small values
// more steeply than the even book of the same range.
constexpr int kLargest[kSpectralBookCount] = {1, 1, 2, 2, 3, 3, 4, 4, 7, 7, 12, 12, 20, 31, 16};
constexpr double kWeightScale = 1 << 20;

struct Symbol {
  uint32_t leaf;
  uint64_t weight;
};

// How likely a codeword is taken to be: falling with the sum of the
// magnitudes it codes.
uint64_t Weight(int magnitudeSum, double steepness) {
  return static_cast<uint64_t>(kWeightScale / std::pow(1.0 + magnitudeSum, steepness)) + 1;
}

std::vector<Symbol> SpectralSymbols(int book) {
  const int largest = kLargest[book - 1];
  const int tuple = CodebookTupleSize(book);
  const double steepness = book % 2 == 1 ? 3.0 : 1.5;
  const int span = 2 * largest + 1;
  int count = 1;
  for (int i = 0; i < tuple; ++i) count *= span;
  std::vector<Symbol> symbols;
  symbols.reserve(static_cast<size_t>(count));
  for (int index = 0; index < count; ++index) {
    int values[4] = {};
    int rest = index;
    int sum = 0;
    for (int i = tuple - 1; i >= 0; --i) {
      values[i] = rest % span - largest;
      rest /= span;
      sum += std::abs(values[i]);
    }
    symbols.push_back({PackLeaf(book, values), Weight(sum, steepness)});
  }
  return symbols;
}

std::vector<Symbol> ScaleFactorSymbols() {
  std::vector<Symbol> symbols;
  for (int value = 0; value <= 2 * kScaleFactorBias; ++value) {
    symbols.push_back(
        {static_cast<uint32_t>(value), Weight(std::abs(value - kScaleFactorBias), 2.5)});
  }
  return symbols;
}

// Code lengths of a Huffman code over the weights; ties go to the earlier
// symbol or the earlier merged node, so the code is the same on every run.
std::vector<int> CodeLengths(const std::vector<Symbol>& symbols) {
  struct Node {
    uint64_t weight;
    int order;
    bool operator>(const Node& other) const {
      return weight != other.weight ? weight > other.weight : order > other.order;
    }
  };
  const int n = static_cast<int>(symbols.size());
  std::vector<int> parent(static_cast<size_t>(2 * n), -1);
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
  for (int i = 0; i < n; ++i) queue.push({symbols[static_cast<size_t>(i)].weight, i});
  int next = n;
  while (queue.size() > 1) {
    const Node a = queue.top();
    queue.pop();
    const Node b = queue.top();
    queue.pop();
    parent[static_cast<size_t>(a.order)] = next;
    parent[static_cast<size_t>(b.order)] = next;
    queue.push({a.weight + b.weight, next++});
  }
  std::vector<int> lengths(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    for (int p = parent[static_cast<size_t>(i)]; p >= 0; p = parent[static_cast<size_t>(p)]) {
      ++lengths[static_cast<size_t>(i)];
    }
  }
  return lengths;
}

// A canonical code: shorter codes first, equal lengths in symbol order.
struct Code {
  uint32_t bits;
  int length;
  uint32_t leaf;
};

std::vector<Code> CanonicalCodes(const std::vector<Symbol>& symbols) {
  const std::vector<int> lengths = CodeLengths(symbols);
  std::vector<int> order(symbols.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&lengths](int a, int b) {
    return lengths[static_cast<size_t>(a)] < lengths[static_cast<size_t>(b)];
  });
  std::vector<Code> codes;
  uint32_t code = 0;
  int length = lengths[static_cast<size_t>(order.front())];
  for (int index : order) {
    const int wanted = lengths[static_cast<size_t>(index)];
    code <<= (wanted - length);
    length = wanted;
    codes.push_back({code, length, symbols[static_cast<size_t>(index)].leaf});
    ++code;
  }
  return codes;
}

// Lays out the subtree of the codes [first, last), which share their first
// depth bits, at the end of the tree.
void LayOut(const std::vector<Code>& codes, size_t first, size_t last, int depth,
            std::vector<uint32_t>& tree) {
  if (last - first == 1 && codes[first].length == depth) {
    tree.push_back(codes[first].leaf);
    return;
  }
  // Codes are in canonical order, so those with bit 0 here come first.
  size_t split = first;
  while (split < last && ((codes[split].bits >> (codes[split].length - depth - 1)) & 1) == 0) {
    ++split;
  }
  const size_t node = tree.size();
  tree.push_back(kInnerNode);
  LayOut(codes, split, last, depth + 1, tree);  // bit 1: the next entry
  tree[node] = kInnerNode | static_cast<uint32_t>(tree.size() - node);
  LayOut(codes, first, split, depth + 1, tree);
}

std::vector<uint32_t> BuildTree(int book) {
  const std::vector<Code> codes =
      CanonicalCodes(book == kScaleFactorBook ? ScaleFactorSymbols() : SpectralSymbols(book));
  std::vector<uint32_t> tree;
  LayOut(codes, 0, codes.size(), 0, tree);
  return tree;
}

}  // namespace

const std::vector<uint32_t>& CodebookTree(int book) {
  static const std::array<std::vector<uint32_t>, kBookCount> trees = [] {
    std::array<std::vector<uint32_t>, kBookCount> built;
    for (int b = 1; b <= kBookCount; ++b) built[static_cast<size_t>(b - 1)] = BuildTree(b);
    return built;
  }();
  return trees[static_cast<size_t>(book - 1)];
}

int CodebookTupleSize(int book) { return book <= kLastQuadBook ? 4 : 2; }

int CodebookLargest(int book) {
  return book == kScaleFactorBook ? 2 * kScaleFactorBias : kLargest[book - 1];
}

uint32_t PackLeaf(int book, const int* values) {
  if (book <= kLastQuadBook) {
    uint32_t leaf = 0;
    for (int i = 0; i < 4; ++i) leaf = leaf << 4 | (static_cast<uint32_t>(values[i]) & 0xF);
    return leaf;
  }
  return (static_cast<uint32_t>(values[0]) & 0x7F) << 7 | (static_cast<uint32_t>(values[1]) & 0x7F);
}

namespace {

int SignExtend(uint32_t field, int bits) {
  const uint32_t sign = 1u << (bits - 1);
  return static_cast<int>(field ^ sign) - static_cast<int>(sign);
}

}  // namespace

void UnpackLeaf(int book, uint32_t leaf, int* values) {
  if (book <= kLastQuadBook) {
    for (int i = 0; i < 4; ++i) values[i] = SignExtend((leaf >> (12 - 4 * i)) & 0xF, 4);
    return;
  }
  values[0] = SignExtend((leaf >> 7) & 0x7F, 7);
  values[1] = SignExtend(leaf & 0x7F, 7);
}

}  // namespace UUPerceptualAudio
