#include "foundation/uu/UUBufferedReader.h"

UUBufferedReader::UUBufferedReader(UUReader& source, uint32_t limit, void* buffer, uint32_t size)
    : mSource(source), mBuffer(buffer, size, limit) {}
