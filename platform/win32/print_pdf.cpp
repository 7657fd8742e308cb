// PDF documents of pixel pages, through cairo. Each page is a 32-bit image
// that cairo owns, painted onto the PDF page scaled from the printer's
// resolution to points.
#include "platform/win32/PdfDocument.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace vpl::platform {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr uint8_t kWhite = 0xFF;

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  const bool written = std::fwrite(data, 1, length, static_cast<std::FILE*>(closure)) == length;
  return written ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

std::unique_ptr<PdfDocument> PdfDocument::Create(const std::string& pathTemplate,
                                                 const std::string& title, int32_t width,
                                                 int32_t height, POINT resolution) {
  std::vector<char> path(pathTemplate.begin(), pathTemplate.end());
  path.push_back('\0');
  const int fd = mkstemp(path.data());
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(path.data());
    return nullptr;
  }
  std::unique_ptr<PdfDocument> document(new PdfDocument(path.data(), file));
  document->mResolution = resolution;
  document->mWidth = width;
  document->mHeight = height;
  document->mSurface =
      cairo_pdf_surface_create_for_stream(WriteToFile, file, width * kPointsPerInch / resolution.x,
                                          height * kPointsPerInch / resolution.y);
  cairo_pdf_surface_set_metadata(document->mSurface, CAIRO_PDF_METADATA_TITLE, title.c_str());
  document->mCairo = cairo_create(document->mSurface);
  if (cairo_status(document->mCairo) != CAIRO_STATUS_SUCCESS) return nullptr;
  return document;
}

PdfDocument::~PdfDocument() {
  if (mPage != nullptr) cairo_surface_destroy(mPage);
  if (mCairo != nullptr) cairo_destroy(mCairo);
  if (mSurface != nullptr) cairo_surface_destroy(mSurface);
  if (mFile != nullptr) std::fclose(mFile);
  if (!mPath.empty()) unlink(mPath.c_str());
}

GdiPixels PdfDocument::BeginPage() {
  if (mPage == nullptr) mPage = cairo_image_surface_create(CAIRO_FORMAT_RGB24, mWidth, mHeight);
  if (cairo_surface_status(mPage) != CAIRO_STATUS_SUCCESS) return GdiPixels{};
  cairo_surface_flush(mPage);
  GdiPixels pixels;
  pixels.top = cairo_image_surface_get_data(mPage);
  pixels.pitch = cairo_image_surface_get_stride(mPage);
  pixels.width = mWidth;
  pixels.height = mHeight;
  pixels.format = GdiPixelFormat::kBgrx32;
  std::memset(pixels.top, kWhite, static_cast<size_t>(pixels.pitch) * static_cast<size_t>(mHeight));

  return pixels;
}

bool PdfDocument::EndPage() {
  if (mPage == nullptr) return false;
  cairo_surface_mark_dirty(mPage);
  cairo_save(mCairo);
  cairo_scale(mCairo, kPointsPerInch / mResolution.x, kPointsPerInch / mResolution.y);
  cairo_set_source_surface(mCairo, mPage, 0, 0);
  cairo_paint(mCairo);
  cairo_restore(mCairo);
  cairo_show_page(mCairo);
  // The document keeps its own reference to what it still has to write.
  cairo_surface_destroy(mPage);
  mPage = nullptr;
  return cairo_status(mCairo) == CAIRO_STATUS_SUCCESS;
}

bool PdfDocument::Finish() {
  cairo_destroy(mCairo);
  mCairo = nullptr;
  cairo_surface_finish(mSurface);
  bool written = cairo_surface_status(mSurface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(mSurface);
  mSurface = nullptr;
  written = std::fflush(mFile) == 0 && fsync(fileno(mFile)) == 0 && written;
  written = std::fclose(mFile) == 0 && written;
  mFile = nullptr;
  return written;
}

bool PdfDocument::MoveTo(const std::string& target) {
  if (std::rename(mPath.c_str(), target.c_str()) != 0) return false;
  mPath.clear();
  return true;
}

}  // namespace vpl::platform
