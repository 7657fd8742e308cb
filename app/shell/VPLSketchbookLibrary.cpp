#include "app/shell/VPLSketchbookLibrary.h"

#include "app/shell/VPLSafeFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/kernel.h"

namespace {

// One more than the books a Library may list, so that a folder left by a
// book that is being removed does not stop a new one.
constexpr int32_t kFolderNumbers = VPLSketchbookLibrary::kMaxSketchbooks + 1;

bool OlderThan(VPLSketchbook* const* a, VPLSketchbook* const* b) {
  return (*a)->GetCreationTime() < (*b)->GetCreationTime();
}

bool RemoveFolder(const UUDirectory& folder) {
  VPLSketchbook::RemoveTemporaryFiles(folder);
  return RemoveDirectoryA(folder.Text()) != FALSE;
}

}  // namespace

VPLSketchbookLibrary::VPLSketchbookLibrary(const UUDirectory& directory) {
  mDirectory.Assign(directory);
}

VPLSketchbookLibrary::~VPLSketchbookLibrary() {
  if (mLoaded) Unload();
  ReleaseSketchbooks();
}

void VPLSketchbookLibrary::ReleaseSketchbooks() {
  for (VPLSketchbook* book : mSketchbooks) delete book;
  mSketchbooks.Clear();
  mCurrent = nullptr;
}

bool VPLSketchbookLibrary::Holds(const VPLSketchbook* book) const {
  return book != nullptr &&
         UUListContains(mSketchbooks.Begin(), mSketchbooks.End(), const_cast<VPLSketchbook*>(book));
}

bool VPLSketchbookLibrary::ProcessEntry(const UUDirectoryEntry& entry) {
  UUDirectory folder;
  if (entry.mIsFile || !UUGetSubdirectory(mDirectory, entry.mName, folder)) return true;
  if (UUFileExists(folder, kVPLSketchbookIndexName))
    AddSketchbook(folder);
  else
    mFoldersWithoutIndex.emplace_back(entry.mName);
  return true;
}

bool VPLSketchbookLibrary::AddSketchbook(const UUDirectory& directory) {
  if (mSketchbooks.Count() >= kMaxSketchbooks) return false;
  mSketchbooks.PushBack(new VPLSketchbook(directory));
  return true;
}

// A folder without index is what an ended program left of a new book;
// with nothing but temporary files in it, it goes. Anything else stays.
void VPLSketchbookLibrary::RemoveFolderWithoutIndex(const char* name) {
  UUDirectory folder;
  if (UUGetSubdirectory(mDirectory, name, folder)) RemoveFolder(folder);
}

bool VPLSketchbookLibrary::Load(bool createIfEmpty) {
  Unload();
  mLoaded = true;
  mFoldersWithoutIndex.clear();
  bool loaded = UUForEachDirectoryEntry(mDirectory, *this);
  for (const std::string& name : mFoldersWithoutIndex) RemoveFolderWithoutIndex(name.c_str());
  mFoldersWithoutIndex.clear();
  if (loaded && !mSketchbooks.IsEmpty()) mSketchbooks.Sort(OlderThan);
  if (loaded && mSketchbooks.IsEmpty() && createIfEmpty) {
    VPLSketchbook* first = nullptr;
    loaded = NewSketchbook(0, first);
  }
  if (loaded && !mSketchbooks.IsEmpty()) {
    mCurrent = mSketchbooks.Front();
    loaded = mCurrent->Load(createIfEmpty);
  }
  mLoaded = loaded;
  return loaded;
}

void VPLSketchbookLibrary::Unload() {
  if (mCurrent != nullptr) mCurrent->Unload();
  ReleaseSketchbooks();
  mLoaded = false;
}

bool VPLSketchbookLibrary::MakeBookFolder(UUDirectory& folder) {
  const std::string word = VPLSketchbookWord();
  char name[kUUPathCapacity];
  for (int32_t n = 1; n <= kFolderNumbers; ++n) {
    if (VPLNumberedName(word.c_str(), n, name) && UUCreateDirectory(mDirectory, name, folder)) {
      return true;
    }
  }
  return false;
}

// The book is listed only once its index and first sketch are on disk.
bool VPLSketchbookLibrary::FillNewBook(const UUDirectory& folder, int16_t cover,
                                       VPLSketchbook*& position) {
  if (!VPLSketchbook::WriteIndex(folder, VPLSketchTimeNow(), cover)) return false;
  auto* book = new VPLSketchbook(folder);
  VPLSketch* first = nullptr;
  if (!book->Load(false) || !book->NewSketch(first) || !book->SelectSketch(first)) {
    book->Discard();
    delete book;
    return false;
  }
  book->Unload();
  mSketchbooks.PushBack(book);
  position = book;
  return true;
}

bool VPLSketchbookLibrary::NewSketchbook(int16_t cover, VPLSketchbook*& position) {
  UUDirectory folder;
  if (mSketchbooks.Count() >= kMaxSketchbooks || !MakeBookFolder(folder)) return false;
  if (FillNewBook(folder, cover, position)) return true;
  UUDeleteFile(folder, kVPLSketchbookIndexName);
  RemoveFolder(folder);
  return false;
}

VPLSketchbook* VPLSketchbookLibrary::DropFromList(VPLSketchbook* book) {
  UUUntypedListNode* node = UUListFind(mSketchbooks.Begin(), mSketchbooks.End(), book);
  UUUntypedListNode* next = node->mNext != mSketchbooks.End() ? node->mNext : node->mPrevious;
  mSketchbooks.Erase(node);
  delete book;
  return mSketchbooks.IsEmpty() ? nullptr : UUList<VPLSketchbook*>::ValueOf(next);
}

bool VPLSketchbookLibrary::RemoveSketchbook(VPLSketchbook*& position) {
  if (!Holds(position)) return false;
  VPLSketchbook& book = *position;
  if (!book.IsLoaded()) book.Load(false);
  for (VPLSketch* sketch = book.GetSketchAt(0); sketch != nullptr; sketch = book.GetSketchAt(0)) {
    if (!book.RemoveSketch(sketch)) return false;
  }
  if (!UUDeleteFile(book.GetDirectory(), kVPLSketchbookIndexName)) return false;
  RemoveFolder(book.GetDirectory());
  book.Discard();
  const bool wasCurrent = position == mCurrent;
  position = DropFromList(position);
  if (!wasCurrent) {
    position = mCurrent;
    return true;
  }
  // The creation area always has a sketch to work on.
  mCurrent = position;
  if (mCurrent != nullptr) mCurrent->Load(true);
  return true;
}

bool VPLSketchbookLibrary::MoveSketch(VPLSketch*& sketch, VPLSketchbook* destination) {
  if (mCurrent == nullptr || !mCurrent->Holds(sketch) || !Holds(destination) ||
      destination == mCurrent) {
    return false;
  }
  char from[kUUPathCapacity];
  char to[kUUPathCapacity];
  char name[kUUPathCapacity];
  if (!UUMakeFilePath(from, sketch->GetDirectory(), sketch->GetFileName())) return false;
  const UUDirectory& folder = destination->GetDirectory();
  const std::string word = VPLSketchWord();
  for (int32_t n = VPLFirstFreeNumber(folder, word.c_str(), 1, name); n > 0;
       n = VPLFirstFreeNumber(folder, word.c_str(), n + 1, name)) {
    if (!UUMakeFilePath(to, folder, name)) return false;
    if (MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH)) return mCurrent->ForgetSketch(sketch);
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool VPLSketchbookLibrary::SelectSketchbook(VPLSketchbook* position) {
  if (!Holds(position)) return false;
  if (mCurrent != nullptr) mCurrent->Unload();
  mCurrent = position;
  // A book whose folder holds no sketch gets its blank one.
  mCurrent->Load(true);
  return true;
}

bool VPLSketchbookLibrary::SelectSketchbookAt(int32_t n) {
  return SelectSketchbook(GetSketchbookAt(n < 0 ? 0 : n));
}

VPLSketchbook* VPLSketchbookLibrary::GetSketchbookAt(int32_t n) const {
  int32_t i = 0;
  for (VPLSketchbook* book : mSketchbooks) {
    if (i++ == n) return book;
  }
  return nullptr;
}

int32_t VPLSketchbookLibrary::GetCurrentIndex() const {
  int32_t i = 0;
  for (VPLSketchbook* book : mSketchbooks) {
    if (book == mCurrent) return i;
    ++i;
  }
  return i;
}

bool VPLSketchbookLibrary::SelectSketch(VPLSketch* sketch) {
  return mCurrent != nullptr && mCurrent->SelectSketch(sketch);
}

bool VPLSketchbookLibrary::HasCover(int16_t cover) const {
  for (VPLSketchbook* book : mSketchbooks) {
    if (book->GetCoverNumber() == cover) return true;
  }
  return false;
}
