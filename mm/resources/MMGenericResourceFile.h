#pragma once
// The container every data file of the system is made of: a header naming
// the kind of file (tag), a byte-order mark, the container version, a
// checksum over everything after it, the collection number, two stamp words
// and a table of subfile offsets. Subfile i occupies [offset[i],
// offset[i + 1]). Kind classes add their own tables after this header.
//
// Layout (numbers in the order the mark names; the writer writes the order
// its file was created with):
//   0  16 bytes  tag, zero-padded        20  uint32  checksum of bytes 24..end
//   16 2 chars   "II" or "MM"            24  int16   collection number
//   18 int16     container version 3     26  uint32  stamp word 1
//   30 uint32    stamp word 2            34  int16   N, the subfile count
//   36 int32 x (N + 1)  offsets; entry N is the end of the data

#include "foundation/af/AFError.h"
#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURecoverableCDFile.h"

#include <cstdint>

class MMGenericResourceFile {
 public:
  static constexpr int16_t kContainerVersion = 3;
  static constexpr int32_t kTagSize = 16;
  static constexpr int32_t kChecksumOffset = 20;
  static constexpr int32_t kChecksummedStart = 24;
  static constexpr int32_t kOffsetTableStart = 36;

  // kindNotFound is the first of the kind's ten file errors; every failure
  // is raised as that code plus its offset.
  explicit MMGenericResourceFile(AFErrorCode kindNotFound);
  // Frees the tables and closes the handle without writing anything.
  virtual ~MMGenericResourceFile();
  MMGenericResourceFile(const MMGenericResourceFile&) = delete;
  MMGenericResourceFile& operator=(const MMGenericResourceFile&) = delete;

  virtual bool CloseIfOpen();
  virtual const char* GetKindCode() const = 0;
  // Null when a header of any tag is accepted.
  virtual const char* GetTag() const = 0;

  // Opens an existing file for reading and reads its header. keepNames
  // decides whether kinds read their name tables or skip them.
  bool Open(const UUDirectory& directory, const char* name, bool keepNames, bool verifyChecksum);
  // With commit on a created file, writes the header and the checksum first.
  // A file whose header was read is never written.
  bool Close(bool commit);
  // Creates or truncates the file and writes a header of subfileCount
  // entries at once; everything written after is in the given order.
  bool Create(const UUDirectory& directory, const char* name, const UUFileOptions& options,
              int16_t subfileCount, int16_t collectionNumber,
              UUByteOrder order = kUUNativeByteOrder);
  bool ReopenForAppend();
  // Writes the header again and ends the file where the header ends.
  bool RewriteHeader();
  bool CloseFile();

  // True when the object is good and its stream has no error; otherwise
  // records a failure without error of its own and answers false.
  bool IsGood();
  bool IsOpen() const { return mOpen; }
  bool IsSwapped() { return mFile.GetByteOrder() == kUUSwappedByteOrder; }

  int16_t GetCollectionNumber() const { return mCollectionNumber; }
  uint32_t GetStamp1() const { return mStamp1; }
  uint32_t GetStamp2() const { return mStamp2; }
  uint32_t GetChecksum() const { return mChecksum; }
  int16_t GetSubfileCount() const { return mSubfileCount; }
  // 0 for an index outside the table.
  int32_t GetSubfileOffset(int32_t i) const;
  int32_t GetSubfileSize(int32_t i) const;
  // Whether subfile i lies inside the file as it was opened, with a size of
  // at least 0; the offset and size are answered when it does.
  bool GetSubfileRange(int32_t i, int32_t* offset, int32_t* size) const;
  // The length of the file when its header was read.
  int32_t GetFileLength() const { return mFileLength; }

  bool SetStamp1(uint32_t value);
  bool SetStamp2(uint32_t value);
  bool SetSubfileOffset(int32_t i, int32_t offset);
  // Stores the file's length as the end of the data.
  bool RecordEndOffset();

  // Records the kind's error at this offset with the file's directory, name
  // and the stream's error code; answers false.
  bool ReportError(AFFileErrorOffset offset);

  // The stream the kinds and their loaders read subfiles through.
  UURecoverableCDFile& GetFile() { return mFile; }

 protected:
  virtual bool ReadHeader();
  virtual bool WriteHeader();
  virtual void PrepareTables();
  virtual bool Reset(bool deleteFile, bool markBad);

  bool KeepsNames() const { return mKeepNames; }
  // Whether n records of recordSize bytes can still come from the file
  // after the current position: guards every allocation a count drives.
  bool CanRead(int64_t n, int64_t recordSize);
  // Seeks to an absolute position; a failure is the kind's error.
  bool SeekTo(int32_t position, AFFileErrorOffset failure);

 private:
  bool ReadTag();
  bool VerifyChecksum();
  bool WriteChecksum();
  // Fails with the kind's error after resetting the file.
  bool FailAndReset(AFFileErrorOffset offset, bool deleteFile);

  bool mGood = true;
  UUDirectory mDirectory;
  char mName[kUUPathCapacity] = {};
  UURecoverableCDFile mFile;
  UUFileOptions mOptions;
  bool mOpen = false;
  bool mKeepNames = false;
  bool mVerifyChecksum = false;
  int16_t mSubfilesWritten = 0;
  AFErrorCode mKindNotFound;
  uint32_t mChecksum = 0;
  int16_t mCollectionNumber = 0;
  uint32_t mStamp1 = 0;
  uint32_t mStamp2 = 0;
  int16_t mSubfileCount = -1;
  int32_t mFileLength = 0;
  UUGrowableArray<int32_t> mOffsets;
};

// A container that accepts a header of any tag.
class MMDummyResourceFile : public MMGenericResourceFile {
 public:
  explicit MMDummyResourceFile(AFErrorCode kindNotFound) : MMGenericResourceFile(kindNotFound) {}
  const char* GetKindCode() const override { return "???"; }
  const char* GetTag() const override { return nullptr; }
};
