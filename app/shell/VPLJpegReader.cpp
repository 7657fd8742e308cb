// The JPEG reader: the library's samples turned into 32-bit pixels, top row
// first; any error, or damage that loses picture data, gives no bitmap.

#include "app/shell/VPLPictureFiles.h"

#include "foundation/uu/UURect.h"
#include "platform/win32/kernel.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

// jerror.h names its warnings after the configuration jpeglib.h reads.
#include <jerror.h>

namespace {

// The sides the importer's 16-bit rectangles can hold.
constexpr JDIMENSION kLargestSide = 32767;
// A picture whose 32-bit pixels would take more than this is decoded at a
// reduced scale when a size to cover is given: a camera's photo would not
// fit the application's memory pool whole.
constexpr uint64_t kDecodeBudget = 8 * 1024 * 1024;
constexpr int kGreyComponents = 1;
constexpr int kColourComponents = 3;
constexpr unsigned kScales[] = {8, 4, 2};

struct JpegReadErrors {
  jpeg_error_mgr manager;
  std::jmp_buf recovery;
};

[[noreturn]] void JumpToRecovery(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegReadErrors*>(info->err)->recovery, 1);
}

// Warnings that the picture's own data is missing or broken: decoding on
// would fill the rest of it with grey, so these refuse it like an error.
bool LosesPictureData(int code) {
  switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
      return true;
    default:
      return false;
  }
}

// Every other warning (stray bytes between markers, an unknown revision,
// a colour transform code) is common in real photos that decode whole: it
// goes to the debug output and the picture is read.
void HandleWarnings(j_common_ptr info, int level) {
  if (level >= 0) return;
  if (LosesPictureData(info->err->msg_code)) JumpToRecovery(info);
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  OutputDebugStringA(text);
}

// The largest reduction whose picture still covers the size, when the
// whole picture is over the budget.
void ChooseScale(jpeg_decompress_struct& info, const UUPoint* minimumSize) {
  const uint64_t pixels = uint64_t{info.image_width} * info.image_height;
  if (minimumSize == nullptr || pixels * 4 <= kDecodeBudget) return;
  for (unsigned denominator : kScales) {
    if (info.image_width / denominator >= static_cast<JDIMENSION>(minimumSize->mX) &&
        info.image_height / denominator >= static_cast<JDIMENSION>(minimumSize->mY)) {
      info.scale_num = 1;
      info.scale_denom = denominator;
      return;
    }
  }
}

bool HasReadableShape(const jpeg_decompress_struct& info) {
  return (info.output_components == kGreyComponents ||
          info.output_components == kColourComponents) &&
         info.output_width > 0 && info.output_height > 0 && info.output_width <= kLargestSide &&
         info.output_height <= kLargestSide;
}

void StoreRow(const JSAMPLE* in, int components, JDIMENSION width, uint8_t* out) {
  for (JDIMENSION x = 0; x < width; ++x, in += components, out += 4) {
    const bool grey = components == kGreyComponents;
    out[0] = grey ? in[0] : in[2];
    out[1] = in[grey ? 0 : 1];
    out[2] = in[0];
    out[3] = 0;
  }
}

void ReadRows(jpeg_decompress_struct& info, MMBitmapWithPixels& bitmap) {
  JSAMPARRAY row = (*info.mem->alloc_sarray)(
      reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
      info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
  while (info.output_scanline < info.output_height) {
    const auto y = static_cast<int32_t>(info.output_scanline);
    jpeg_read_scanlines(&info, row, 1);
    StoreRow(row[0], info.output_components, info.output_width, bitmap.GetPixelAddress(0, y));
  }
}

// Only plain C objects and the bitmap, held in a volatile pointer, live
// between the recovery point and a jump.
MMBitmapWithPixels* Decode(const char* path, const UUPoint* minimumSize) {
  std::FILE* file = _fsopen(path, "rb", _SH_DENYNO);
  if (file == nullptr) return nullptr;
  jpeg_decompress_struct info{};
  JpegReadErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpToRecovery;
  errors.manager.emit_message = HandleWarnings;
  MMBitmapWithPixels* volatile bitmap = nullptr;
  if (setjmp(errors.recovery) != 0) {
    delete bitmap;
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return nullptr;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  ChooseScale(info, minimumSize);
  jpeg_calc_output_dimensions(&info);
  if (!HasReadableShape(info)) JumpToRecovery(reinterpret_cast<j_common_ptr>(&info));
  jpeg_start_decompress(&info);
  const UURect rect(0, 0, static_cast<int32_t>(info.output_width),
                    static_cast<int32_t>(info.output_height));
  bitmap = MMBitmapWithPixels::Create(rect, kMMFormat32, ALGlobalAllocator);
  if (bitmap == nullptr) JumpToRecovery(reinterpret_cast<j_common_ptr>(&info));
  ReadRows(info, *bitmap);
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
  return bitmap;
}

}  // namespace

MMBitmapWithPixels* VPLReadJpegFile(const char* path) { return Decode(path, nullptr); }

MMBitmapWithPixels* VPLReadJpegFileToFit(const char* path, const UUPoint& minimumSize) {
  return Decode(path, &minimumSize);
}
