#include "mm/resources/MMScriptCollection.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/al/ALBytes.h"
#include "mm/resources/MMTimestamp.h"

#include <cstring>
#include <new>

namespace {

// Texts up to this many characters (with the terminator) convert through a
// buffer on the stack.
constexpr int32_t kStackWideCharacters = 400;

}  // namespace

MMCollectionRegistry<MMScriptCollection>& MMScriptRegistry() {
  static MMCollectionRegistry<MMScriptCollection> registry;
  return registry;
}

MMScriptCollection::MMScriptCollection(uint16_t collectionNumber)
    : mCollectionNumber(collectionNumber) {
  MMScriptRegistry().Set(this, collectionNumber);
}

MMScriptCollection::~MMScriptCollection() {
  if (MMScriptRegistry().Get(mCollectionNumber) == this)
    MMScriptRegistry().Remove(mCollectionNumber);
}

MMScriptLoader::MMScriptLoader(MMScriptFile* file)
    : MMScriptCollection(static_cast<uint16_t>(file->GetCollectionNumber())), mFile(file) {}

MMScriptLoader::~MMScriptLoader() {
  mFile->CloseIfOpen();
  delete mFile;
}

bool MMScriptLoader::GetEntryShape(int16_t entry, const uint8_t** bytes, int32_t* size,
                                   int32_t* rowSize) const {
  const int32_t rowCount = mFile->GetEntryRowCount(entry);
  *rowSize = mFile->GetRowSize(mFile->GetEntryLayout(entry));
  // Rows of no bytes would let a damaged count drive the row walks for ever.
  const bool rowsHaveBytes = *rowSize > 0 || rowCount == 0;
  return mFile->GetEntryBytes(entry, bytes, size) && rowCount >= 0 && *rowSize >= 0 &&
         rowsHaveBytes && int64_t{rowCount} * *rowSize <= *size;
}

bool MMScriptLoader::ReadEntry(MMScriptData& data, int16_t entry) {
  const uint8_t* bytes = nullptr;
  int32_t size = 0;
  int32_t rowSize = 0;
  if (!GetEntryShape(entry, &bytes, &size, &rowSize)) return false;
  // The block's 0 after the subfile's bytes ends the last text inside it
  // even when the file leaves it unterminated.
  std::memcpy(data.NewBlock(size), bytes, static_cast<size_t>(size));
  data.mSize = size;
  data.mRowCount = mFile->GetEntryRowCount(entry);
  data.mRowSize = rowSize;
  data.mEntryCount = mFile->GetSubfileCount();
  data.mHeaderWord = mFile->GetHeaderWord();
  data.mSwapped = mFile->IsSwapped();
  return true;
}

void MMScriptLoader::Load(MMScriptData& data, int16_t entry) {
  if (!ReadEntry(data, entry)) {
    data.Release();
    return;
  }
  if (data.mSwapped) {
    ALSwapBytes16(data.mBlock, static_cast<uint32_t>(int64_t{data.mRowCount} * data.mRowSize / 2));
  }
  if (mFile->GetLanguage() != MMScriptFile::kAnyLanguage) ConvertTexts(data);
}

void MMScriptLoader::ConvertTexts(MMScriptData& data) const {
  const uint32_t codePage =
      static_cast<uint32_t>(MMScriptFile::kFirstMacCodePage + mFile->GetLanguage());
  char* texts = reinterpret_cast<char*>(data.mBlock);
  for (int64_t at = int64_t{data.mRowCount} * data.mRowSize; at < data.mSize;) {
    const auto length = static_cast<int32_t>(std::strlen(texts + at));
    if (length > 0) MMConvertScriptText(texts + at, length, codePage);
    at += length + 1;
  }
}

void MMConvertScriptText(char* text, int32_t length, uint32_t codePage) {
  WCHAR onStack[kStackWideCharacters];
  const int32_t capacity = length + 1;
  WCHAR* wide = onStack;
  if (capacity > kStackWideCharacters) {
    wide = static_cast<WCHAR*>(ALAllocate(sizeof(WCHAR) * static_cast<size_t>(capacity),
                                          ALGlobalAllocator, kALMustSucceed));
  }
  const int produced = MultiByteToWideChar(codePage, 0, text, length, wide, capacity);
  const int needed =
      produced > 0 ? WideCharToMultiByte(CP_ACP, 0, wide, produced, nullptr, 0, nullptr, nullptr)
                   : 0;
  if (needed > 0 && needed <= length) {
    WideCharToMultiByte(CP_ACP, 0, wide, produced, text, length, nullptr, nullptr);
    if (needed < length) text[needed] = '\0';
  }
  if (wide != onStack) ALFree(wide);
}

MMScriptLoader* MMOpenScriptFile(const UUDirectory& directory, const char* name) {
  auto* file = new (ALGlobalAllocator) MMScriptFile();
  bool usable = file->Open(directory, name, false, false);
  if (usable && file->GetLanguage() != MMScriptFile::kAnyLanguage &&
      static_cast<uint16_t>(file->GetCodePage()) != static_cast<uint16_t>(GetACP())) {
    usable = AFSetError(MME_SCRIPT_FILE_WRONG_LANGUAGE, directory, name, 0);
  }
  if (!usable) {
    file->CloseIfOpen();
    delete file;
    return nullptr;
  }
  MMCheckTimestamp(file->GetKindCode(), file->GetCollectionNumber(), file->GetStamp1(),
                   file->GetStamp2());
  void* room = ALAllocate(sizeof(MMScriptLoader), ALGlobalAllocator, kALMayFail);
  if (room == nullptr) {
    file->CloseIfOpen();
    delete file;
    return nullptr;
  }
  return new (room) MMScriptLoader(file);
}

void MMDeleteAllScriptCollections() { MMScriptRegistry().DeleteAll(); }

MMResourceId MMMakeScriptId(MMScriptCollection* collection, int16_t item) {
  if (collection == nullptr ||
      MMScriptRegistry().Get(collection->GetCollectionNumber()) != collection) {
    return kMMNoResource;
  }
  return MMMakeResourceId(collection->GetCollectionNumber(), static_cast<uint16_t>(item));
}

MMScriptCollection* MMGetScriptCollection(MMResourceId id) {
  return MMScriptRegistry().Get(MMCollectionOf(id));
}
