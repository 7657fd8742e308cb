#pragma once
// One sketch file: its creation time, a thumbnail and, once the child has
// worked on it, the creation's own record.
//
//   0  int32  creation time, seconds since 1970 UTC
//   4  10     "VPL3Dv1.0" and a NUL
//  14  byte   1 when the creation record follows the thumbnail
//  15  int16  thumbnail width W, height H, bytes per pixel B
//  21  W*H*B  thumbnail rows, top row first, no padding
//      rest   the creation record
//
// All values little-endian. A rewrite builds the whole file anew under a
// temporary name and renames it into place, so a sketch is always its old
// or its new self.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UURandomAccessStream.h"
#include "mm/drawing/MMBitmap.h"

#include <cstdint>

// The creation as the sketch sees it: it writes and reads its own record
// in the sketch's stream, reading exactly that record and nothing after.
class VPLSketchCreation {
 public:
  virtual ~VPLSketchCreation() = default;
  virtual bool Write(UURandomAccessStream& stream) = 0;
  virtual bool Read(UURandomAccessStream& stream) = 0;
};

// The header of a sketch file as read from its first 21 bytes.
struct VPLSketchHeader {
  int32_t mCreationTime = 0;
  bool mHasCreation = false;
  int16_t mWidth = 0;
  int16_t mHeight = 0;
  int16_t mBytesPerPixel = 0;
};

constexpr int32_t kVPLSketchThumbnailSize = 256;
constexpr int32_t kVPLSketchHeaderSize = 21;
constexpr char kVPLSketchSignature[] = "VPL3Dv1.0";
constexpr uint32_t kVPLSketchSignatureSize = sizeof kVPLSketchSignature;

// Reads and checks the header: the signature exactly (case and NUL), W
// and H at least 1, B from 1 to 4, and the thumbnail inside the file;
// the stream is left at the first thumbnail row.
bool VPLReadSketchHeader(UURandomAccessStream& stream, VPLSketchHeader& header);
// Whether the 10 bytes at offset 4 of the file are the signature; the
// creation time before them, when asked for, in the same read.
bool VPLIsSketchFile(const UUDirectory& directory, const char* name,
                     int32_t* creationTime = nullptr);

class VPLSketch {
 public:
  // Copies the folder and the name (at most 259 characters) and reads the
  // creation time from the file's first 4 bytes (0 when it cannot).
  VPLSketch(const UUDirectory& directory, const char* fileName);
  // A record for a file whose creation time was just read.
  VPLSketch(const UUDirectory& directory, const char* fileName, int32_t creationTime);

  // Writes the file whole: the creation time, the bitmap as thumbnail and,
  // when given, the creation's record.
  bool Write(VPLSketchCreation* creation, const MMBitmap& thumbnail);
  // False without touching the creation when the file holds none or its
  // header is damaged.
  bool ReadCreation(VPLSketchCreation& creation) const;
  // The thumbnail into a bitmap of the file's width, height and bytes per
  // pixel; false without reading a row when they differ.
  bool ReadThumbnail(MMBitmap& thumbnail) const;

  const UUDirectory& GetDirectory() const { return mDirectory; }
  const char* GetFileName() const { return mFileName; }
  int32_t GetCreationTime() const { return mCreationTime; }
  void SetCreationTime(int32_t time) { mCreationTime = time; }
  // The record now stands for the same file under another folder or name.
  void Rename(const UUDirectory& directory, const char* fileName);

 private:
  UUDirectory mDirectory;
  char mFileName[kUUPathCapacity] = {};
  int32_t mCreationTime = 0;
};

// Writes a whole sketch file into a stream: time, header, thumbnail rows
// and the creation when given.
bool VPLWriteSketch(UURandomAccessStream& stream, int32_t creationTime, VPLSketchCreation* creation,
                    const MMBitmap& thumbnail);
