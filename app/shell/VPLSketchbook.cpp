#include "app/shell/VPLSketchbook.h"

#include "app/objects/VPLStringList.h"
#include "app/shell/VPLSafeFile.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUOwned.h"

#include <strings.h>

#include <ctime>
#include <memory>

namespace {

constexpr int32_t kCurrentIndexOffset = 6;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

struct TemporaryFileCollector : UUDirectoryEntryProcessor {
  std::vector<std::string> names;
  bool ProcessEntry(const UUDirectoryEntry& entry) override {
    if (entry.mIsFile && VPLSafeFile::IsTemporaryName(entry.mName)) names.emplace_back(entry.mName);
    return true;
  }
};

bool OlderThan(VPLSketch* const* a, VPLSketch* const* b) {
  return (*a)->GetCreationTime() < (*b)->GetCreationTime();
}

// The thumbnail of a new sketch: opaque black.
std::unique_ptr<MMBitmapWithPixels> BlankThumbnail() {
  const UURect rect(0, 0, kVPLSketchThumbnailSize, kVPLSketchThumbnailSize);
  std::unique_ptr<MMBitmapWithPixels> bitmap(
      MMBitmapWithPixels::Create(rect, kMMFormat32, nullptr));
  if (!bitmap) return bitmap;
  for (int32_t y = 0; y < kVPLSketchThumbnailSize; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bitmap->GetPixelAddress(0, y));
    for (int32_t x = 0; x < kVPLSketchThumbnailSize; ++x) row[x] = kOpaqueBlack;
  }
  return bitmap;
}

bool ReadWholeFile(const VPLSketch& sketch, std::vector<uint8_t>& bytes) {
  int32_t size = 0;
  if (!UUGetFileSize(sketch.GetDirectory(), sketch.GetFileName(), size) || size < 0) return false;
  bytes.resize(static_cast<size_t>(size));
  UUFile file(sketch.GetDirectory(), sketch.GetFileName());
  return file.IsOpen() && file.Read(bytes.data(), static_cast<uint32_t>(size));
}

}  // namespace

std::string VPLSketchbookWord() { return VPLStringList().GetText(kVPLTextSketchbookWord); }
std::string VPLSketchWord() { return VPLStringList().GetText(kVPLTextSketchWord); }
int32_t VPLSketchTimeNow() { return static_cast<int32_t>(std::time(nullptr)); }

VPLSketchbook::VPLSketchbook(const UUDirectory& directory) {
  mDirectory.Assign(directory);
  UUFile index(mDirectory, kVPLSketchbookIndexName);
  if (!index.IsOpen()) return;
  int32_t time = 0;
  int16_t fields[2] = {};
  if (index.ReadInt32s(&time, 1)) mCreationTime = time;
  if (index.ReadInt16s(fields, 1)) mCoverNumber = fields[0];
  if (index.ReadInt16s(fields + 1, 1)) mCurrentIndex = fields[1];
}

VPLSketchbook::~VPLSketchbook() { ReleaseSketches(); }

void VPLSketchbook::ReleaseSketches() {
  for (VPLSketch* sketch : mSketches) delete sketch;
  mSketches.Clear();
  mCurrent = nullptr;
}

void VPLSketchbook::SortByAge() { mSketches.Sort(OlderThan); }

bool VPLSketchbook::Holds(const VPLSketch* sketch) const {
  return sketch != nullptr &&
         UUListContains(mSketches.Begin(), mSketches.End(), const_cast<VPLSketch*>(sketch));
}

void VPLSketchbook::RemoveTemporaryFiles(const UUDirectory& directory) {
  TemporaryFileCollector collector;
  UUForEachDirectoryEntry(directory, collector);
  for (const std::string& name : collector.names) UUDeleteFile(directory, name.c_str());
}

bool VPLSketchbook::ProcessEntry(const UUDirectoryEntry& entry) {
  if (!entry.mIsFile || strcasecmp(entry.mName, kVPLSketchbookIndexName) == 0) return true;
  if (VPLSafeFile::IsTemporaryName(entry.mName)) {
    mTemporaryFiles.emplace_back(entry.mName);
    return true;
  }
  // One read gives the signature and the time; files past the limit are
  // not even opened.
  int32_t time = 0;
  if (mSketches.Count() < kMaxSketches && VPLIsSketchFile(mDirectory, entry.mName, &time))
    mSketches.PushBack(new VPLSketch(mDirectory, entry.mName, time));
  return true;
}

bool VPLSketchbook::ListFolder() {
  mTemporaryFiles.clear();
  const bool walked = UUForEachDirectoryEntry(mDirectory, *this);
  for (const std::string& name : mTemporaryFiles) UUDeleteFile(mDirectory, name.c_str());
  mTemporaryFiles.clear();
  return walked;
}

void VPLSketchbook::SelectStoredIndex() {
  const int32_t index = mCurrentIndex < 0 ? 0 : mCurrentIndex;
  mCurrent = index < mSketches.Count() ? GetSketchAt(index) : GetSketchAt(0);
}

bool VPLSketchbook::Load(bool createIfEmpty) {
  ReleaseSketches();
  mLoaded = true;
  bool loaded = ListFolder();
  if (loaded && !mSketches.IsEmpty()) SortByAge();
  if (loaded && mSketches.IsEmpty() && createIfEmpty) {
    VPLSketch* first = nullptr;
    loaded = NewSketch(first);
  }
  SelectStoredIndex();
  mLoaded = loaded;
  return loaded;
}

bool VPLSketchbook::WriteCurrentIndex(int16_t index) {
  // Two bytes inside one block cannot tear; the file is never made here.
  if (!UUFileExists(mDirectory, kVPLSketchbookIndexName)) return false;
  UUFile file(mDirectory, kVPLSketchbookIndexName, kUUFileOpenOrCreate, UUFileOptions{});
  return file.IsOpen() && file.Seek(kCurrentIndexOffset, FILE_BEGIN, nullptr) &&
         file.WriteInt16s(&index, 1);
}

void VPLSketchbook::Unload() {
  if (mLoaded) {
    mCurrentIndex = static_cast<int16_t>(GetCurrentIndex());
    WriteCurrentIndex(mCurrentIndex);
  }
  Discard();
}

void VPLSketchbook::Discard() {
  ReleaseSketches();
  mLoaded = false;
}

int16_t VPLSketchbook::GetSketchCount() {
  if (mLoaded) return static_cast<int16_t>(mSketches.Count());
  Load(false);
  const auto count = static_cast<int16_t>(mSketches.Count());
  Unload();
  return count;
}

bool VPLSketchbook::AddSketch(const UUDirectory& directory, const char* fileName) {
  if (mSketches.Count() >= kMaxSketches) return false;
  mSketches.PushBack(new VPLSketch(directory, fileName));
  return true;
}

bool VPLSketchbook::NewSketch(VPLSketch*& position) {
  if (GetSketchCount() >= kMaxSketches) return false;
  const std::unique_ptr<MMBitmapWithPixels> blank = BlankThumbnail();
  if (!blank) return false;
  VPLSafeFile file(mDirectory);
  char name[kUUPathCapacity];
  if (!VPLWriteSketch(file.Stream(), VPLSketchTimeNow(), nullptr, *blank) ||
      !file.TakeFreeName(VPLSketchWord().c_str(), name) || !AddSketch(mDirectory, name)) {
    return false;
  }
  position = mSketches.Back();
  return true;
}

bool VPLSketchbook::ForgetSketch(VPLSketch*& position) {
  UUUntypedListNode* node = UUListFind(mSketches.Begin(), mSketches.End(), position);
  if (position == nullptr || node == mSketches.End()) return false;
  const bool wasCurrent = position == mCurrent;
  UUUntypedListNode* next = node->mNext != mSketches.End() ? node->mNext : node->mPrevious;
  delete position;
  mSketches.Erase(node);
  position = mSketches.IsEmpty() ? nullptr : UUList<VPLSketch*>::ValueOf(next);
  if (wasCurrent)
    mCurrent = position;
  else
    position = mCurrent;
  return true;
}

bool VPLSketchbook::RemoveSketch(VPLSketch*& position) {
  if (!Holds(position)) return false;
  const VPLSketch& sketch = *position;
  if (UUFileExists(sketch.GetDirectory(), sketch.GetFileName()) &&
      !UUDeleteFile(sketch.GetDirectory(), sketch.GetFileName())) {
    return false;
  }
  return ForgetSketch(position);
}

bool VPLSketchbook::CopySketch(VPLSketch* source, VPLSketch*& position) {
  std::vector<uint8_t> bytes;
  if (!Holds(source) || mSketches.Count() >= kMaxSketches || !ReadWholeFile(*source, bytes)) {
    return false;
  }
  VPLSafeFile file(mDirectory);
  char name[kUUPathCapacity];
  if (!file.Stream().Write(bytes.data(), static_cast<uint32_t>(bytes.size())) ||
      !file.TakeFreeName(VPLSketchWord().c_str(), name) || !AddSketch(mDirectory, name)) {
    return false;
  }
  position = mSketches.Back();
  position->SetCreationTime(source->GetCreationTime());
  SortByAge();
  return true;
}

bool VPLSketchbook::SelectSketch(VPLSketch* position) {
  if (!Holds(position)) return false;
  mCurrent = position;
  return true;
}

bool VPLSketchbook::SelectSketchAt(int32_t n) { return SelectSketch(GetSketchAt(n < 0 ? 0 : n)); }

VPLSketch* VPLSketchbook::GetSketchAt(int32_t n) const {
  int32_t i = 0;
  for (VPLSketch* sketch : mSketches) {
    if (i++ == n) return sketch;
  }
  return nullptr;
}

int32_t VPLSketchbook::GetCurrentIndex() const {
  int32_t i = 0;
  for (VPLSketch* sketch : mSketches) {
    if (sketch == mCurrent) return i;
    ++i;
  }
  return i;
}

bool VPLSketchbook::WriteIndex(const UUDirectory& directory, int32_t creationTime, int16_t cover) {
  VPLSafeFile file(directory);
  const int16_t fields[2] = {cover, 0};
  return file.Stream().WriteInt32s(&creationTime, 1) && file.Stream().WriteInt16s(fields, 2) &&
         file.Replace(kVPLSketchbookIndexName);
}
