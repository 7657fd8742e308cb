#pragma once
// The Library folder: one sub-folder per sketchbook, at most 50, listed
// oldest first, one of them current and loaded.

#include "app/shell/VPLSketchbook.h"

#include <string>
#include <vector>

class VPLSketchbookLibrary : public UUDirectoryEntryProcessor {
 public:
  static constexpr int16_t kMaxSketchbooks = 50;

  explicit VPLSketchbookLibrary(const UUDirectory& directory);
  ~VPLSketchbookLibrary() override;
  VPLSketchbookLibrary(const VPLSketchbookLibrary&) = delete;
  VPLSketchbookLibrary& operator=(const VPLSketchbookLibrary&) = delete;

  // Lists the books; an empty Library gets its first book when
  // createIfEmpty is set. The first book becomes current and is loaded.
  bool Load(bool createIfEmpty);
  void Unload();

  // Positions are the books; null is the end of the list.
  bool NewSketchbook(int16_t cover, VPLSketchbook*& position);
  bool RemoveSketchbook(VPLSketchbook*& position);
  // Moves the file of a sketch of the current book into another book
  // under its first free sketch name in one rename that never replaces.
  bool MoveSketch(VPLSketch*& sketch, VPLSketchbook* destination);
  bool SelectSketchbook(VPLSketchbook* position);
  bool SelectSketchbookAt(int32_t n);
  VPLSketchbook* GetSketchbookAt(int32_t n) const;
  int32_t GetCurrentIndex() const;
  int32_t GetSketchbookCount() const { return mSketchbooks.Count(); }
  VPLSketchbook* GetCurrentSketchbook() const { return mCurrent; }
  bool SelectSketch(VPLSketch* sketch);
  bool HasCover(int16_t cover) const;
  bool AddSketchbook(const UUDirectory& directory);

  bool ProcessEntry(const UUDirectoryEntry& entry) override;

 private:
  bool Holds(const VPLSketchbook* book) const;
  void ReleaseSketchbooks();
  bool MakeBookFolder(UUDirectory& folder);
  bool FillNewBook(const UUDirectory& folder, int16_t cover, VPLSketchbook*& position);
  void RemoveFolderWithoutIndex(const char* name);
  VPLSketchbook* DropFromList(VPLSketchbook* book);

  UUList<VPLSketchbook*> mSketchbooks;
  VPLSketchbook* mCurrent = nullptr;
  UUDirectory mDirectory;
  bool mLoaded = false;
  std::vector<std::string> mFoldersWithoutIndex;
};
