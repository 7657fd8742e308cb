#pragma once
// Writes the animated creation as a QuickTime movie: frames rendered into a
// 32-bit surface, compressed one at a time with the Animation codec, 10
// frames a second, into a temporary movie file beside the target, which is
// moved into place when complete. Any failure leaves neither file.

#include "foundation/uu/UUDirectory.h"
#include "platform/quicktime/quicktime.h"

#include <cstdint>

class MMSurface;

class VPLMovieWriter {
 public:
  VPLMovieWriter() = default;
  VPLMovieWriter(const VPLMovieWriter&) = delete;
  VPLMovieWriter& operator=(const VPLMovieWriter&) = delete;

  // The frame rate is that of the samples' duration; the argument is kept
  // for the callers that pass it.
  bool Begin(MMSurface* surface, int32_t frameRate, const UUDirectory& directory,
             const char* fileName);
  bool AddTrack();
  // Compresses the surface's present pixels as the next frame.
  bool AddFrame();
  void FinishTrack();
  // Always called, also after a failed Begin: releases everything, moves
  // the movie into place when every step succeeded, and removes the
  // temporary file in every case.
  bool Finish();
  bool IsOk() const { return mOk; }

 private:
  bool MakeFileSpec(const UUDirectory& directory, const char* name, FSSpec& spec);
  bool MakeFrameWorld();
  bool CopySurfaceToFrame();
  void Fail() { mOk = false; }

  int16_t mMovieFile = 0;
  Movie mMovie = nullptr;
  MMSurface* mSurface = nullptr;
  Handle mSampleBuffer = nullptr;
  Ptr mSampleData = nullptr;
  GWorldPtr mFrameWorld = nullptr;
  ImageDescriptionHandle mImageDescription = nullptr;
  Rect mFrameRect{};
  FSSpec mTargetFile{};
  FSSpec mTemporaryFile{};
  Track mTrack = nullptr;
  Media mMedia = nullptr;
  bool mOk = false;
};
