#pragma once
// A sketchbook: a folder of sketch files with its index file
// "SketchbookIcon" (int32 creation time, int16 cover number, int16 index
// of the current sketch), and the list of its sketches, oldest first,
// while it is loaded.

#include "app/shell/VPLSketch.h"
#include "foundation/uu/UUDirectoryEntry.h"
#include "foundation/uu/UUList.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr char kVPLSketchbookIndexName[] = "SketchbookIcon";

class VPLSketchbook : public UUDirectoryEntryProcessor {
 public:
  static constexpr int16_t kMaxSketches = 50;

  // Reads the index file; fields it cannot give stay 0.
  explicit VPLSketchbook(const UUDirectory& directory);
  ~VPLSketchbook() override;
  VPLSketchbook(const VPLSketchbook&) = delete;
  VPLSketchbook& operator=(const VPLSketchbook&) = delete;

  // Lists the folder's sketches (removing leftover temporary files); an
  // empty folder gets its blank first sketch when createIfEmpty is set.
  bool Load(bool createIfEmpty);
  // Stores the current sketch's index in the index file and empties the
  // list.
  void Unload();
  // Empties the list without touching the index file.
  void Discard();
  int16_t GetSketchCount();

  // Positions are the sketch records; null is the end of the list.
  bool NewSketch(VPLSketch*& position);
  bool RemoveSketch(VPLSketch*& position);
  bool CopySketch(VPLSketch* source, VPLSketch*& position);
  // Drops the record of a sketch whose file has left the folder; the
  // position moves on as RemoveSketch moves it.
  bool ForgetSketch(VPLSketch*& position);
  bool SelectSketch(VPLSketch* position);
  bool SelectSketchAt(int32_t n);
  VPLSketch* GetSketchAt(int32_t n) const;
  int32_t GetCurrentIndex() const;
  VPLSketch* GetCurrentSketch() const { return mCurrent; }
  bool AddSketch(const UUDirectory& directory, const char* fileName);

  bool ProcessEntry(const UUDirectoryEntry& entry) override;

  const UUDirectory& GetDirectory() const { return mDirectory; }
  int32_t GetCreationTime() const { return mCreationTime; }
  int16_t GetCoverNumber() const { return mCoverNumber; }
  bool IsLoaded() const { return mLoaded; }
  bool Holds(const VPLSketch* sketch) const;

  // Writes a new book's whole 8-byte index file (current index 0).
  static bool WriteIndex(const UUDirectory& directory, int32_t creationTime, int16_t cover);
  // Deletes the folder's temporary files left by an ended program.
  static void RemoveTemporaryFiles(const UUDirectory& directory);

 private:
  void ReleaseSketches();
  void SortByAge();
  bool WriteCurrentIndex(int16_t index);
  bool ListFolder();
  void SelectStoredIndex();

  UUList<VPLSketch*> mSketches;
  VPLSketch* mCurrent = nullptr;
  UUDirectory mDirectory;
  int32_t mCreationTime = 0;
  int16_t mCoverNumber = 0;
  int16_t mCurrentIndex = 0;
  bool mLoaded = false;
  std::vector<std::string> mTemporaryFiles;
};

// The base words of book folders and sketch files, from the string list.
std::string VPLSketchbookWord();
std::string VPLSketchWord();
// Seconds since 1970 UTC, as the files store them.
int32_t VPLSketchTimeNow();
