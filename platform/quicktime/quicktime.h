#pragma once
// QuickTime: the movie toolbox calls that start and stop QuickTime and write
// a movie of one video track, compressed frame by frame. Movies are real
// QuickTime files written through FFmpeg; every call answers an OSErr (0
// success) or, where QuickTime gives an object, null on failure.

#include <cstdint>

using OSErr = int16_t;
using OSType = uint32_t;
using Fixed = int32_t;
using TimeValue = int32_t;
using TimeScale = int32_t;
using CodecType = OSType;
using CodecQ = uint32_t;
using ScriptCode = int16_t;
using Ptr = char*;
using Handle = char**;

constexpr OSErr noErr = 0;
constexpr OSErr paramErr = -50;
constexpr OSErr memFullErr = -108;
constexpr OSErr dupFNErr = -48;
constexpr OSErr fnfErr = -43;
constexpr OSErr ioErr = -36;
constexpr OSErr invalidMovie = -2010;
constexpr OSErr invalidMedia = -2008;
constexpr OSErr invalidTrack = -2009;
constexpr OSErr noCodecErr = -8961;
constexpr OSErr codecErr = -8960;
constexpr OSErr qtmlUninitialized = -2093;

// A four-character code as QuickTime spells it: 'rle ' is FourCharCode("rle ").
constexpr OSType FourCharCode(const char (&text)[5]) {
  return static_cast<OSType>(static_cast<uint8_t>(text[0])) << 24 |
         static_cast<OSType>(static_cast<uint8_t>(text[1])) << 16 |
         static_cast<OSType>(static_cast<uint8_t>(text[2])) << 8 |
         static_cast<OSType>(static_cast<uint8_t>(text[3]));
}

constexpr OSType gestaltQuickTime = FourCharCode("qtim");
constexpr OSType VideoMediaType = FourCharCode("vide");
constexpr CodecType kAnimationCodecType = FourCharCode("rle ");
constexpr OSType k32ARGBPixelFormat = 0x00000020;
// Replace a file that is already there.
constexpr int32_t createMovieFileDeleteCurFile = static_cast<int32_t>(0x80000000);
constexpr int32_t flattenAddMovieToDataFork = 1;

// QuickDraw's rectangle: top, left, bottom, right.
struct Rect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

// A file named by its full (Windows) path in a length-prefixed name.
struct FSSpec {
  int16_t vRefNum;
  int32_t parID;
  uint8_t name[256];
};

// The pixels of an offscreen world: k32ARGBPixelFormat, bytes alpha, red,
// green, blue; rows rowBytes apart, top row first.
struct PixMap {
  Ptr baseAddr;
  int16_t rowBytes;
  Rect bounds;
  int16_t pixelSize;
  OSType pixelFormat;
};
using PixMapHandle = PixMap**;

// What CompressImage says of the frame it compressed.
struct ImageDescription {
  int32_t idSize;
  CodecType cType;
  int16_t width;
  int16_t height;
  int32_t dataSize;
  int16_t depth;
};
using ImageDescriptionHandle = ImageDescription**;
using SampleDescriptionHandle = Handle;

struct MovieRecord;
struct TrackRecord;
struct MediaRecord;
struct GWorldRecord;
using Movie = MovieRecord*;
using Track = TrackRecord*;
using Media = MediaRecord*;
using GWorldPtr = GWorldRecord*;
using CTabHandle = void*;
using GDHandle = void*;
using CodecComponent = void*;
constexpr CodecComponent anyCodec = nullptr;

// Starting and stopping: InitializeQTML fails when the movie writer's
// encoder or file format is missing; the others need it done.
OSErr InitializeQTML(int32_t flags);
void TerminateQTML();
// 'qtim' answers the version of QuickTime we stand for.
OSErr Gestalt(OSType selector, int32_t* response);
OSErr EnterMovies();
void ExitMovies();

// Memory: a handle is the address of its block's master pointer.
Handle NewHandle(int32_t size);
void SetHandleSize(Handle handle, int32_t size);
int32_t GetHandleSize(Handle handle);
void MoveHHi(Handle handle);
void HLock(Handle handle);
void HUnlock(Handle handle);
void DisposeHandle(Handle handle);

// Offscreen worlds: only 32 bits per pixel.
OSErr NewGWorld(GWorldPtr* world, int16_t pixelDepth, const Rect* bounds, CTabHandle colors,
                GDHandle device, uint32_t flags);
void DisposeGWorld(GWorldPtr world);
PixMapHandle GetGWorldPixMap(GWorldPtr world);
Rect* GetPortBounds(GWorldPtr world, Rect* bounds);
bool LockPixels(PixMapHandle pixels);
void UnlockPixels(PixMapHandle pixels);
// The row bytes without QuickDraw's flag bits.
int32_t GetPixRowBytes(PixMapHandle pixels);

// Compression: only the Animation codec ('rle '), every frame a key frame
// that stands alone.
OSErr GetMaxCompressionSize(PixMapHandle source, const Rect* sourceRect, int16_t colorDepth,
                            CodecQ quality, CodecType type, CodecComponent codec, int32_t* size);
OSErr CompressImage(PixMapHandle source, const Rect* sourceRect, CodecQ quality, CodecType type,
                    ImageDescriptionHandle description, Ptr data);

// Movie files. CreateMovieFile writes the movie into the file as samples
// come; FlattenMovieData finishes it (its header first) and moves it to the
// target's name, answering the movie there, or null on failure.
OSErr CreateMovieFile(const FSSpec* file, OSType creator, ScriptCode script, int32_t flags,
                      int16_t* fileRef, Movie* movie);
OSErr CloseMovieFile(int16_t fileRef);
OSErr DeleteMovieFile(const FSSpec* file);
void DisposeMovie(Movie movie);
Movie FlattenMovieData(Movie movie, int32_t flags, const FSSpec* target, OSType creator,
                       ScriptCode script, int32_t createFlags);

// Tracks and media: one video track whose samples go straight to the file.
Track NewMovieTrack(Movie movie, Fixed width, Fixed height, int16_t volume);
Media NewTrackMedia(Track track, OSType mediaType, TimeScale scale, Handle dataRef,
                    OSType dataRefType);
OSErr BeginMediaEdits(Media media);
OSErr EndMediaEdits(Media media);
OSErr AddMediaSample(Media media, Handle data, int32_t offset, uint32_t size, TimeValue duration,
                     SampleDescriptionHandle description, int32_t sampleCount, int16_t flags,
                     TimeValue* sampleTime);
TimeValue GetMediaDuration(Media media);
OSErr InsertMediaIntoTrack(Track track, TimeValue trackStart, TimeValue mediaTime,
                           TimeValue mediaDuration, Fixed rate);
