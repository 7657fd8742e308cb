#pragma once
// Picture files of the creation: a surface written as a BMP or a JPEG file
// that any viewer opens, and JPEG files read back into 32-bit bitmaps.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUPoint.h"
#include "mm/drawing/MMBitmap.h"

#include <cstdint>

class MMSurface;

// The export kinds VPLSavePicture writes.
enum VPLPictureType : int32_t { kVPLPictureBmp = 1, kVPLPictureJpeg = 2 };

// Writes the surface as a BMP (type 1) or JPEG (type 2) file; false, with
// no file left behind, when it could not be written completely. Any other
// type writes nothing and answers false.
bool VPLSavePicture(int32_t type, MMSurface* surface, const UUDirectory& directory,
                    const char* fileName);
// An uncompressed BMP of the surface's own rows (24 or 32 bits per pixel),
// made under a temporary name and renamed into place when complete.
bool VPLWriteBmpFile(MMSurface* surface, const UUDirectory& directory, const char* fileName);
// The JPEG of a 32-bit bitmap, after making sure the folder can hold the
// raw image; false without a file of its own making on any failure, with
// the out-of-memory alert when the conversion buffer cannot be had.
bool VPLWriteJpegFile(const MMBitmap& bitmap, const char* path);
bool VPLSaveJpegPicture(MMSurface* surface, const UUDirectory& directory, const char* fileName);

// The JPEG file as a 32-bit bitmap owned by the caller (rows top-down,
// fourth byte 0); null for a file that is missing, damaged, truncated, of
// other than one or three components or sides beyond 32767.
MMBitmapWithPixels* VPLReadJpegFile(const char* path);
// As VPLReadJpegFile; a picture too large to decode whole is decoded at the
// smallest of 1/2, 1/4 and 1/8 of its size that still covers minimumSize.
MMBitmapWithPixels* VPLReadJpegFileToFit(const char* path, const UUPoint& minimumSize);
