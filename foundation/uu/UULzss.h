#pragma once
// The decoder of a compact LZSS format with a 1 KiB window. Flag bytes
// describe the next 8 tokens, least significant bit first: 1 a literal
// byte, 0 a two-byte reference of (b0 >> 2) + 3 bytes at window position
// ((b0 & 3) << 8) | b1.

#include <cstdint>

// Produces exactly length bytes from sourceLength bytes of tokens. Damaged
// input (tokens ending early) stops the decoder inside both buffers: the
// rest of the output is zero and the answer false.
bool UULzssDecode(void* destination, const void* source, uint32_t length, uint32_t sourceLength);
