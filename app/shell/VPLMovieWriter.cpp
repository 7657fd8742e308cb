#include "app/shell/VPLMovieWriter.h"

#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "mm/drawing/MMSurface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr OSType kCreator = FourCharCode("TVOD");
constexpr ScriptCode kSystemScript = -2;
constexpr TimeScale kTimeScale = 600;
// 60 units at 600 a second: 10 frames a second.
constexpr TimeValue kFrameDuration = 60;
constexpr CodecQ kFrameQuality = 1023;
constexpr CodecQ kEstimateQuality = 0x200;
constexpr Fixed kNormalRate = 0x10000;
constexpr int16_t kFrameDepth = 32;
constexpr char kTemporaryName[] = "tempMovie";
// Movies are opaque, whatever the surface's fourth byte holds.
constexpr uint8_t kOpaque = 255;

// Blue, green, red, fourth byte become alpha (opaque), red, green, blue: as
// 32-bit words read in memory order, the bytes reversed and the first one
// replaced.
void CopyRowOpaque(const uint8_t* in, uint8_t* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x, in += 4, out += 4) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, in, 4);
    pixel = (__builtin_bswap32(pixel) & ~uint32_t{0xFF}) | kOpaque;
    std::memcpy(out, &pixel, 4);
  }
}

}  // namespace

bool VPLMovieWriter::MakeFileSpec(const UUDirectory& directory, const char* name, FSSpec& spec) {
  char path[kUUPathCapacity];
  if (!UUMakeFilePath(path, directory, name)) return false;
  // The length byte counts at most 255 characters.
  const int32_t length = UUCountCharacters(path);
  if (length > 255) return false;
  spec = FSSpec{};
  spec.name[0] = static_cast<uint8_t>(length);
  std::memcpy(spec.name + 1, path, static_cast<size_t>(length));
  return true;
}

bool VPLMovieWriter::MakeFrameWorld() {
  const UURect rect = mSurface->GetRect();
  const Rect bounds{.top = static_cast<int16_t>(rect.mTop),
                    .left = static_cast<int16_t>(rect.mLeft),
                    .bottom = static_cast<int16_t>(rect.mBottom),
                    .right = static_cast<int16_t>(rect.mRight)};
  if (NewGWorld(&mFrameWorld, kFrameDepth, &bounds, nullptr, nullptr, 0) != noErr) return false;
  GetPortBounds(mFrameWorld, &mFrameRect);
  int32_t largest = 0;
  if (GetMaxCompressionSize(GetGWorldPixMap(mFrameWorld), &mFrameRect, 0, kEstimateQuality,
                            kAnimationCodecType, anyCodec, &largest) != noErr) {
    return false;
  }
  mSampleBuffer = NewHandle(largest);
  mImageDescription = reinterpret_cast<ImageDescriptionHandle>(NewHandle(4));
  if (mSampleBuffer == nullptr || mImageDescription == nullptr) return false;
  MoveHHi(mSampleBuffer);
  HLock(mSampleBuffer);
  mSampleData = *mSampleBuffer;
  return true;
}

bool VPLMovieWriter::Begin(MMSurface* surface, int32_t, const UUDirectory& directory,
                           const char* fileName) {
  mOk = true;
  mSurface = surface;
  if (surface == nullptr || !MakeFileSpec(directory, fileName, mTargetFile) ||
      !MakeFileSpec(directory, kTemporaryName, mTemporaryFile) ||
      CreateMovieFile(&mTemporaryFile, kCreator, kSystemScript, createMovieFileDeleteCurFile,
                      &mMovieFile, &mMovie) != noErr ||
      !MakeFrameWorld()) {
    Fail();
  }
  return mOk;
}

bool VPLMovieWriter::AddTrack() {
  mTrack = NewMovieTrack(mMovie, mFrameRect.right << 16, mFrameRect.bottom << 16, 0);
  mMedia =
      mTrack != nullptr ? NewTrackMedia(mTrack, VideoMediaType, kTimeScale, nullptr, 0) : nullptr;
  if (mMedia == nullptr || BeginMediaEdits(mMedia) != noErr) Fail();
  return mOk;
}

bool VPLMovieWriter::CopySurfaceToFrame() {
  mSurface->BeginDraw();
  MMBitmap image;
  const bool available = mSurface->GetImageDescription(image) && image.mBitsPerPixel == 32;
  PixMapHandle frame = GetGWorldPixMap(mFrameWorld);
  if (available && LockPixels(frame)) {
    const PixMap& pixels = **frame;
    const int32_t rowBytes = GetPixRowBytes(frame);
    const int32_t width = std::min(pixels.bounds.right - pixels.bounds.left, image.GetWidth());
    const int32_t height = std::min(pixels.bounds.bottom - pixels.bounds.top, image.GetHeight());
    for (int32_t y = 0; y < height; ++y) {
      CopyRowOpaque(
          image.GetPixelAddress(image.mRect.mLeft, image.mRect.mTop + y),
          reinterpret_cast<uint8_t*>(pixels.baseAddr) + static_cast<ptrdiff_t>(y) * rowBytes,
          width);
    }
    UnlockPixels(frame);
  }
  mSurface->EndDraw();
  return available;
}

bool VPLMovieWriter::AddFrame() {
  // Without the surface's pixels the frame would repeat the last one.
  if (!mOk || mFrameWorld == nullptr || !CopySurfaceToFrame()) {
    Fail();
    return false;
  }
  if (CompressImage(GetGWorldPixMap(mFrameWorld), &mFrameRect, kFrameQuality, kAnimationCodecType,
                    mImageDescription, mSampleData) != noErr ||
      AddMediaSample(mMedia, mSampleBuffer, 0,
                     static_cast<uint32_t>((*mImageDescription)->dataSize), kFrameDuration,
                     reinterpret_cast<SampleDescriptionHandle>(mImageDescription), 1, 0,
                     nullptr) != noErr) {
    Fail();
  }
  return mOk;
}

void VPLMovieWriter::FinishTrack() {
  const bool ended = EndMediaEdits(mMedia) == noErr;
  if (!ended ||
      InsertMediaIntoTrack(mTrack, 0, 0, GetMediaDuration(mMedia), kNormalRate) != noErr) {
    Fail();
  }
}

bool VPLMovieWriter::Finish() {
  if (mImageDescription != nullptr) DisposeHandle(reinterpret_cast<Handle>(mImageDescription));
  if (mSampleBuffer != nullptr) DisposeHandle(mSampleBuffer);
  mImageDescription = nullptr;
  mSampleBuffer = nullptr;
  if (mMovie != nullptr) {
    // Only a complete movie is moved into place.
    Movie flattened = mOk ? FlattenMovieData(mMovie, flattenAddMovieToDataFork, &mTargetFile,
                                             kCreator, kSystemScript, createMovieFileDeleteCurFile)
                          : nullptr;
    if (flattened == nullptr) Fail();
    DisposeMovie(flattened);
  }
  if (mMovieFile != 0) CloseMovieFile(mMovieFile);
  DisposeMovie(mMovie);
  DisposeGWorld(mFrameWorld);
  mMovieFile = 0;
  mMovie = nullptr;
  mFrameWorld = nullptr;
  // The target is made only by a complete flattening, so a failure has
  // nothing there to remove, and a file of that name from before stays.
  if (mTemporaryFile.name[0] != 0) DeleteMovieFile(&mTemporaryFile);
  return mOk;
}
