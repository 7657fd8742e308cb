#pragma once
// The receiver of decoded JPEG rows. No decoder is attached to the program,
// so Import answers null; a decoder that calls BeginImage and WriteRow can
// be attached behind it.

#include "foundation/uu/UUDirectory.h"
#include "platform/win32/kernel.h"

#include <cstddef>
#include <cstdint>

class CDib;

class JPEGImporter {
 public:
  virtual ~JPEGImporter() = default;
  virtual bool BeginImage(int32_t width, int32_t height) = 0;
  // Row index counted from the top; three bytes per pixel.
  virtual bool WriteRow(int32_t index, const unsigned char* row) = 0;

  CDib* Import(const UUDirectory& directory, const char* name);
};

// Builds a 24-bit DIB block from the rows.
class JPEGtoCDibImporter : public JPEGImporter {
 public:
  JPEGtoCDibImporter() = default;
  ~JPEGtoCDibImporter() override;
  JPEGtoCDibImporter(const JPEGtoCDibImporter&) = delete;
  JPEGtoCDibImporter& operator=(const JPEGtoCDibImporter&) = delete;

  // False for a size outside 1 to 32767 or without memory.
  bool BeginImage(int32_t width, int32_t height) override;
  // False for a row outside the image.
  bool WriteRow(int32_t index, const unsigned char* row) override;

 private:
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  HGLOBAL mBlock = nullptr;
  unsigned char* mRows = nullptr;
  size_t mRowBytes = 0;
};
