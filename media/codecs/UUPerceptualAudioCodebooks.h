#pragma once
// The Huffman codebooks of the perceptual audio format: books 1-15 code
// spectral values, book 16 the differences of scale factors. Each book is
// a binary tree stored as an array of 32-bit entries: an entry with
// kInnerNode set is an inner node whose low 16 bits are the offset (in
// entries, from the node) of its child for bit 0; its child for bit 1 is
// the next entry. Any other entry is a leaf holding the decoded value.

#include <cstdint>
#include <vector>

namespace UUPerceptualAudio {

constexpr int kSpectralBookCount = 15;
constexpr int kScaleFactorBook = 16;
constexpr uint32_t kInnerNode = 0x10000;
// Books 1-8 code four values per codeword, 9-15 two.
constexpr int kLastQuadBook = 8;
// Book 15 codes +-16 as an escape to a larger magnitude.
constexpr int kEscapeBook = 15;
constexpr int kEscapeValue = 16;
// A scale-factor codeword holds the difference plus this.
constexpr int kScaleFactorBias = 60;

// The tree of a book 1-16; built once, shared by every decoder.
const std::vector<uint32_t>& CodebookTree(int book);

// Values per codeword (4 or 2) and the largest magnitude a book codes.
int CodebookTupleSize(int book);
int CodebookLargest(int book);

// Leaf values: four signed 4-bit values (bits 12-15, 8-11, 4-7, 0-3) or two
// signed 7-bit values (bits 7-13, 0-6), in coefficient order.
uint32_t PackLeaf(int book, const int* values);
void UnpackLeaf(int book, uint32_t leaf, int* values);

}  // namespace UUPerceptualAudio
