#pragma once

#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMPalette.h"

#include <cstdint>
#include <vector>

// Copies an image into a bitmap, clipping, mirroring, scaling, expanding
// palettes, converting depth, keying and blending on the way. Prepared once
// (which fixes the clipped destination, the 16.16 stepping through the
// source and the span routine for every row), then executed once.
class MMBlitRequest {
 public:
  MMBlitRequest() = default;
  virtual ~MMBlitRequest() = default;
  MMBlitRequest(const MMBlitRequest&) = delete;
  MMBlitRequest& operator=(const MMBlitRequest&) = delete;

  virtual bool Execute() = 0;
  // The row walk of Execute without the ready test.
  void Run();
  // Picks the span routine for the source and a destination format;
  // false when no routine draws that combination.
  bool ChooseSpanRoutine(int32_t destinationFormat);

  int16_t mWidth = 0;    // destination pixels per row
  int32_t mSourceX = 0;  // 16.16, source x of each row's first pixel
  int32_t mSourceY = 0;  // 16.16, source y of the first row
  int32_t mXStep = 0;    // 16.16 per destination pixel
  int32_t mYStep = 0;    // 16.16 per destination row
  MMImageDescription* mSource = nullptr;
  MMBitmap mDestination;                // the clipped part of the destination
  const MMPalette* mPalette = nullptr;  // expands 8-bit sources into 24 or 32 bits
  const uint8_t* mRemap = nullptr;      // 256 bytes: index i is drawn as mRemap[i]
  MMSpanRoutine mSpanRoutine = nullptr;
  bool mReady = false;

 protected:
  // Sets the steps and start of one axis: the source extent stretched over
  // the destination extent, starting at the clipped destination start.
  static void SetAxis(int32_t sourceStart, int32_t sourceExtent, int32_t destinationStart,
                      int32_t destinationExtent, int32_t clipStart, bool exactWhenEqual,
                      int32_t& start, int32_t& step);
};

// A blit request whose destination is a bitmap.
class MMBitmapBlitRequest : public MMBlitRequest {
 public:
  // The whole source stretched into rect.
  bool Prepare(MMImageDescription* source, const MMBitmap& destination, const UURect& rect);
  // A source rectangle stretched into rect; a source rectangle given right
  // to left (or bottom to top) draws mirrored.
  bool PrepareRect(MMImageDescription* source, const MMBitmap& destination,
                   const UURect& sourceRect, const UURect& rect);
  bool Execute() override;

 private:
  bool PrepareAxes(MMImageDescription* source, const MMBitmap& destination,
                   const UURect& sourceRect, const UURect& rect, bool exactWhenEqual);
};

// The vector forms of the span routines a processor may run: none (the
// plain ones), MMX copies and keyed copies with SSE2 blends, or the same
// with AVX2 blends.
enum class MMBlitPath { kPlain, kSSE2, kAVX2 };

// The paths this processor can run, plain first and the fastest last.
std::vector<MMBlitPath> MMAvailableBlitPaths();
// Fills the span tables with the fastest path; call once before any blit.
void MMInitializeBlitRoutines();
// Installs the routines of one available path (tests compare them).
void MMSelectBlitRoutines(MMBlitPath path);
// Whether the vector forms of the span routines are in use.
bool MMBlitRoutinesUseMMX();
