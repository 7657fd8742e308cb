#include "mm/resources/MMScriptStringTable.h"

#include <cstring>

void MMScriptStringTable::Reset() {
  mCount = 0;
  mBlockSize = 0;
  mUsed = 0;
  mOffsets.EraseRange(0, mOffsets.Count());
  mOffsets.Compact();
  mBlock.EraseRange(0, mBlock.Count());
  mBlock.Compact();
}

void MMScriptStringTable::Init(int16_t count, int32_t blockSize) {
  Reset();
  mCount = count < 0 ? int16_t{0} : count;
  mBlockSize = blockSize < 0 ? 0 : blockSize;
  mOffsets.Insert(0, mCount, int32_t{-1});
  mBlock.Insert(0, mBlockSize + 1, '\0');
}

bool MMScriptStringTable::Read(UUReader& reader, int64_t available, bool keep) {
  int16_t count = 0;
  int32_t blockSize = 0;
  reader.ReadInt16s(&count, 1);
  if (!reader.ReadInt32s(&blockSize, 1)) return false;
  const int64_t bytes = int64_t{count} * 4 + blockSize;
  if (count < 0 || blockSize < 0 || bytes > available - 6) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  if (!keep) return reader.Skip(static_cast<uint32_t>(bytes));
  Init(count, blockSize);
  reader.ReadInt32s(mOffsets.Begin(), static_cast<uint32_t>(mCount));
  mUsed = mBlockSize;
  return reader.Read(mBlock.Begin(), static_cast<uint32_t>(mBlockSize));
}

bool MMScriptStringTable::Write(UUWriter& writer) const {
  writer.WriteInt16s(&mCount, 1);
  writer.WriteInt32s(&mBlockSize, 1);
  writer.WriteInt32s(mOffsets.Begin(), static_cast<uint32_t>(mOffsets.Count()));
  return writer.Write(mBlock.Begin(), static_cast<uint32_t>(mBlockSize));
}

const char* MMScriptStringTable::GetText(int32_t i) const {
  if (i < 0 || i >= mOffsets.Count()) return nullptr;
  const int32_t offset = mOffsets[i];
  return offset >= 0 && offset < mBlockSize ? mBlock.Begin() + offset : nullptr;
}

bool MMScriptStringTable::SetText(int32_t i, const char* text) {
  const int64_t length = static_cast<int64_t>(std::strlen(text)) + 1;
  if (i < 0 || i >= mOffsets.Count() || mUsed + length > mBlockSize) return false;
  mOffsets[i] = mUsed;
  std::memcpy(mBlock.Begin() + mUsed, text, static_cast<size_t>(length));
  mUsed += static_cast<int32_t>(length);
  return true;
}
