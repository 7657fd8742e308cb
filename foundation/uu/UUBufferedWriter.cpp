#include "foundation/uu/UUBufferedWriter.h"

UUBufferedWriter::UUBufferedWriter(UUWriter& sink, void* buffer, uint32_t size)
    : mSink(sink), mBuffer(buffer, size) {}

UUBufferedWriter::~UUBufferedWriter() { mBuffer.Flush(mSink); }
