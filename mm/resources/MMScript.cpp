#include "mm/resources/MMScript.h"

#include "foundation/al/ALAllocator.h"
#include "mm/resources/MMScriptCollection.h"

#include <algorithm>
#include <cstring>

namespace {

// The count's room in front of a block, which keeps the rows as aligned as
// the allocator's blocks.
constexpr size_t kCountBytes = 16;

int32_t& HoldersOf(uint8_t* block) { return *reinterpret_cast<int32_t*>(block - kCountBytes); }

}  // namespace

uint8_t* MMScriptData::NewBlock(int32_t size) {
  Release();
  auto* room = static_cast<uint8_t*>(
      ALAllocate(kCountBytes + static_cast<size_t>(size) + 1, ALGlobalAllocator, kALMustSucceed));
  mBlock = room + kCountBytes;
  HoldersOf(mBlock) = 1;
  mBlock[size] = 0;
  return mBlock;
}

void MMScriptData::Release() {
  if (mBlock != nullptr && --HoldersOf(mBlock) == 0) ALFree(mBlock - kCountBytes);
  *this = MMScriptData();
}

void MMScriptData::Share(const MMScriptData& other) {
  if (&other == this) return;
  if (other.mBlock != nullptr) ++HoldersOf(other.mBlock);
  Release();
  *this = other;
}

MMScript::MMScript(MMResourceId id) : mId(id) {
  if (MMScriptCollection* collection = MMGetScriptCollection(id)) {
    collection->Load(mData, MMItemOf(id));
  }
}

MMScript::MMScript(const MMScript& other) : mId(other.mId) { mData.Share(other.mData); }

MMScript& MMScript::operator=(const MMScript& other) {
  mId = other.mId;
  mData.Share(other.mData);
  return *this;
}

MMScript::~MMScript() { mData.Release(); }

const uint8_t* MMScript::Field(int32_t row, int16_t offset, int32_t size) const {
  if (row < 0 || row >= mData.mRowCount || offset < 0 || offset + size > mData.mRowSize) {
    return nullptr;
  }
  return mData.mBlock + static_cast<ptrdiff_t>(row) * mData.mRowSize + offset;
}

void MMScript::ReadField(int32_t row, int16_t offset, void* value, int32_t size) const {
  const uint8_t* field = Field(row, offset, size);
  if (field != nullptr) {
    std::memcpy(value, field, static_cast<size_t>(size));
  } else {
    std::memset(value, 0, static_cast<size_t>(size));
  }
}

uint8_t MMScript::GetByte(int32_t row, int16_t offset) const {
  uint8_t value = 0;
  ReadField(row, offset, &value, 1);
  return value;
}

int16_t MMScript::GetInt16(int32_t row, int16_t offset) const {
  int16_t value = 0;
  ReadField(row, offset, &value, 2);
  return value;
}

int32_t MMScript::GetInt32(int32_t row, int16_t offset) const {
  int32_t value = 0;
  ReadField(row, offset, &value, 4);
  return value;
}

uint32_t MMScript::GetUInt32(int32_t row, int16_t offset) const {
  uint32_t value = 0;
  ReadField(row, offset, &value, 4);
  return value;
}

const char* MMScript::GetString(int32_t row, int16_t offset) const {
  const int64_t textArea = int64_t{mData.mRowCount} * mData.mRowSize;
  const int64_t text = textArea + GetUInt32(row, offset);
  // The block ends with a terminator of its own, so a text that starts
  // inside the data always ends inside the block.
  if (Field(row, offset, 4) == nullptr || text >= mData.mSize) return "";
  return reinterpret_cast<const char*>(mData.mBlock + text);
}

UUPoint MMScript::GetPoint(int32_t row, int16_t offset) const {
  return UUPoint{GetInt16(row, offset), GetInt16(row, static_cast<int16_t>(offset + 2))};
}

UURect MMScript::GetRect(int32_t row, int16_t offset) const {
  int16_t sides[4] = {};
  ReadField(row, offset, sides, sizeof sides);
  return UURect(sides[0], sides[1], sides[2], sides[3]);
}

void MMScript::ReadReal(int32_t row, int16_t offset, void* value, int32_t size) const {
  uint8_t bytes[8] = {};
  ReadField(row, offset, bytes, size);
  if (mData.mSwapped) {
    for (int32_t i = 0; i + 1 < size; i += 2) std::swap(bytes[i], bytes[i + 1]);
    std::reverse(bytes, bytes + size);
  }
  std::memcpy(value, bytes, static_cast<size_t>(size));
}

float MMScript::GetFloat(int32_t row, int16_t offset) const {
  float value = 0;
  ReadReal(row, offset, &value, sizeof value);
  return value;
}

double MMScript::GetDouble(int32_t row, int16_t offset) const {
  double value = 0;
  ReadReal(row, offset, &value, sizeof value);
  return value;
}

MMResourceId MMScript::GetScriptId(int32_t row, int16_t offset) const {
  const int32_t n = GetInt16(row, offset);
  if (n == 0) return kMMNoResource;
  const int32_t entry = n > 0 ? n - 1 : n + mData.mEntryCount;
  return MMMakeResourceId(MMCollectionOf(mId), static_cast<uint16_t>(entry));
}

int32_t MMScript::FindRow(int32_t start, int16_t offset, int32_t n, int16_t key) const {
  if (n == -1) return start;
  for (int32_t row = std::max(start, 0); row < mData.mRowCount; ++row) {
    if (GetInt16(row, offset) == key && n-- == 0) return row;
  }
  return -1;
}

int32_t MMScript::CountRows(int32_t start, int16_t offset, int16_t key) const {
  int32_t count = 0;
  for (int32_t row = std::max(start, 0); row < mData.mRowCount; ++row) {
    if (GetInt16(row, offset) == key) ++count;
  }
  return count;
}

UURect MMScript::GetTagRect(int16_t tag, int32_t start, int32_t n) const {
  return GetRect(FindRow(start, 0, n, tag), 2);
}

UUPoint MMScript::GetTagPoint(int16_t tag, int32_t start, int32_t n) const {
  return GetPoint(FindRow(start, 0, n, tag), 2);
}
