#pragma once
// Internal to the platform layer: a PDF document of pages of pixels,
// written with cairo into a new temporary file that is removed again unless
// the finished document is moved into place.

#include "platform/win32/GdiObjects.h"

#include <cstdio>
#include <memory>
#include <string>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace vpl::platform {

class PdfDocument {
 public:
  // Pages of width by height pixels at the resolution; the file is made
  // from pathTemplate, whose name ends in "XXXXXX". Null when the file
  // cannot be made.
  static std::unique_ptr<PdfDocument> Create(const std::string& pathTemplate,
                                             const std::string& title, int32_t width,
                                             int32_t height, POINT resolution);
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  // A new white page to draw on (32-bit pixels); empty when there is no
  // memory for it.
  GdiPixels BeginPage();
  // Adds the page begun to the document.
  bool EndPage();
  // Completes the file; false when any of it could not be written.
  bool Finish();
  // Renames the finished file to target, replacing what is there.
  bool MoveTo(const std::string& target);
  const std::string& Path() const { return mPath; }

 private:
  PdfDocument(std::string path, std::FILE* file) : mPath(std::move(path)), mFile(file) {}

  std::string mPath;
  std::FILE* mFile;
  cairo_surface_t* mSurface = nullptr;
  cairo_t* mCairo = nullptr;
  cairo_surface_t* mPage = nullptr;
  POINT mResolution{};
  int32_t mWidth = 0;
  int32_t mHeight = 0;
};

}  // namespace vpl::platform
