// Movie files over FFmpeg's QuickTime muxer: the file is written while the
// samples come, finished with its header first, then moved into place.

#include "platform/quicktime/MovieRecords.h"
#include "platform/quicktime/QuickTimeLibrary.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <mutex>

namespace {

// The track's time scale as the media's, so that durations stay exact.
constexpr char kTrackScaleOption[] = "video_track_timescale";
constexpr int16_t kFirstFileRef = 1;

std::mutex gFilesLock;
std::map<int16_t, MovieRecord*> gOpenFiles;
int16_t gNextFileRef = kFirstFileRef;

bool Exists(const std::string& hostPath) {
  struct stat info;
  return lstat(hostPath.c_str(), &info) == 0;
}

int16_t RegisterFile(MovieRecord* movie) {
  std::lock_guard<std::mutex> lock(gFilesLock);
  while (gOpenFiles.count(gNextFileRef) != 0 || gNextFileRef < kFirstFileRef) {
    gNextFileRef =
        static_cast<int16_t>(gNextFileRef < kFirstFileRef ? kFirstFileRef : gNextFileRef + 1);
  }
  gOpenFiles[gNextFileRef] = movie;
  return gNextFileRef++;
}

MovieRecord* TakeFile(int16_t fileRef) {
  std::lock_guard<std::mutex> lock(gFilesLock);
  auto found = gOpenFiles.find(fileRef);
  if (found == gOpenFiles.end()) return nullptr;
  MovieRecord* movie = found->second;
  gOpenFiles.erase(found);
  return movie;
}

// Ends the muxer without finishing the movie; what was written stays.
void CloseOutput(MovieRecord& movie) {
  if (movie.output == nullptr) return;
  avio_closep(&movie.output->pb);
  avformat_free_context(movie.output);
  movie.output = nullptr;
}

OSErr OpenOutput(MovieRecord& movie) {
  if (avformat_alloc_output_context2(&movie.output, nullptr, "mov", movie.hostPath.c_str()) < 0) {
    return qtmlUninitialized;
  }
  if (avio_open(&movie.output->pb, movie.hostPath.c_str(), AVIO_FLAG_WRITE) < 0) {
    avformat_free_context(movie.output);
    movie.output = nullptr;
    return fnfErr;
  }
  return noErr;
}

// The stream takes the frames' size and depth from the first sample's
// description; the muxer then writes the file's start.
bool WriteHeader(MovieRecord& movie, const ImageDescription* description) {
  if (movie.headerWritten) return true;
  if (movie.output == nullptr || movie.track == nullptr || movie.track->media == nullptr) {
    return false;
  }
  AVStream* stream = movie.track->media->stream;
  if (description != nullptr) {
    stream->codecpar->width = description->width;
    stream->codecpar->height = description->height;
    stream->codecpar->bits_per_coded_sample = description->depth;
  }
  AVDictionary* options = nullptr;
  av_dict_set_int(&options, kTrackScaleOption, movie.track->media->scale, 0);
  av_dict_set(&options, "movflags", "+faststart", 0);
  movie.headerWritten = avformat_write_header(movie.output, &options) >= 0;
  av_dict_free(&options);
  return movie.headerWritten;
}

bool WriteSample(MediaRecord& media, const uint8_t* data, uint32_t size, TimeValue duration) {
  AVPacket* packet = av_packet_alloc();
  if (packet == nullptr) return false;
  const AVRational mediaScale{1, media.scale};
  packet->data = const_cast<uint8_t*>(data);
  packet->size = static_cast<int>(size);
  packet->stream_index = media.stream->index;
  packet->pts = av_rescale_q(media.duration, mediaScale, media.stream->time_base);
  packet->dts = packet->pts;
  packet->duration = av_rescale_q(duration, mediaScale, media.stream->time_base);
  packet->flags = AV_PKT_FLAG_KEY;
  const bool written = av_write_frame(media.track->movie->output, packet) >= 0;
  av_packet_free(&packet);
  return written;
}

}  // namespace

OSErr CreateMovieFile(const FSSpec* file, OSType, ScriptCode, int32_t flags, int16_t* fileRef,
                      Movie* movie) {
  if (fileRef == nullptr || movie == nullptr) return paramErr;
  *movie = nullptr;
  *fileRef = 0;
  auto record = std::make_unique<MovieRecord>();
  record->hostPath = vpl::platform::HostPathOf(file);
  if (record->hostPath.empty()) return fnfErr;
  if ((flags & createMovieFileDeleteCurFile) == 0 && Exists(record->hostPath)) return dupFNErr;
  if (const OSErr error = OpenOutput(*record); error != noErr) return error;
  record->fileRef = RegisterFile(record.get());
  *fileRef = record->fileRef;
  *movie = record.release();
  return noErr;
}

OSErr CloseMovieFile(int16_t fileRef) {
  MovieRecord* movie = TakeFile(fileRef);
  if (movie == nullptr) return paramErr;
  CloseOutput(*movie);
  movie->fileRef = 0;
  return noErr;
}

void DisposeMovie(Movie movie) {
  if (movie == nullptr) return;
  if (movie->fileRef != 0) CloseMovieFile(movie->fileRef);
  CloseOutput(*movie);
  delete movie;
}

OSErr DeleteMovieFile(const FSSpec* file) {
  const std::string hostPath = vpl::platform::HostPathOf(file);
  if (hostPath.empty() || !Exists(hostPath)) return fnfErr;
  return unlink(hostPath.c_str()) == 0 ? noErr : ioErr;
}

Movie FlattenMovieData(Movie movie, int32_t, const FSSpec* target, OSType, ScriptCode,
                       int32_t createFlags) {
  if (movie == nullptr || movie->output == nullptr) return nullptr;
  const std::string targetPath = vpl::platform::HostPathOf(target);
  if (targetPath.empty()) return nullptr;
  if ((createFlags & createMovieFileDeleteCurFile) == 0 && Exists(targetPath)) return nullptr;
  const bool finished = WriteHeader(*movie, nullptr) && av_write_trailer(movie->output) >= 0 &&
                        avio_closep(&movie->output->pb) >= 0;
  CloseOutput(*movie);
  if (!finished || std::rename(movie->hostPath.c_str(), targetPath.c_str()) != 0) return nullptr;
  auto flattened = std::make_unique<MovieRecord>();
  flattened->hostPath = targetPath;
  return flattened.release();
}

Track NewMovieTrack(Movie movie, Fixed width, Fixed height, int16_t) {
  if (movie == nullptr || movie->output == nullptr || movie->track != nullptr) return nullptr;
  movie->track = std::make_unique<TrackRecord>();
  movie->track->movie = movie;
  movie->track->width = width >> 16;
  movie->track->height = height >> 16;
  return movie->track.get();
}

Media NewTrackMedia(Track track, OSType mediaType, TimeScale scale, Handle, OSType) {
  if (track == nullptr || track->media != nullptr || mediaType != VideoMediaType || scale <= 0) {
    return nullptr;
  }
  AVStream* stream = avformat_new_stream(track->movie->output, nullptr);
  if (stream == nullptr) return nullptr;
  stream->time_base = AVRational{1, scale};
  stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
  stream->codecpar->codec_id = AV_CODEC_ID_QTRLE;
  stream->codecpar->width = track->width;
  stream->codecpar->height = track->height;
  track->media = std::make_unique<MediaRecord>();
  track->media->track = track;
  track->media->stream = stream;
  track->media->scale = scale;
  return track->media.get();
}

OSErr BeginMediaEdits(Media media) {
  if (media == nullptr) return invalidMedia;
  media->editing = true;
  return noErr;
}

OSErr EndMediaEdits(Media media) {
  if (media == nullptr || !media->editing) return invalidMedia;
  media->editing = false;
  return noErr;
}

OSErr AddMediaSample(Media media, Handle data, int32_t offset, uint32_t size, TimeValue duration,
                     SampleDescriptionHandle description, int32_t sampleCount, int16_t,
                     TimeValue* sampleTime) {
  if (media == nullptr || !media->editing) return invalidMedia;
  if (data == nullptr || offset < 0 || sampleCount != 1 || duration <= 0 ||
      int64_t{offset} + size > GetHandleSize(data) ||
      GetHandleSize(description) < static_cast<int32_t>(sizeof(ImageDescription))) {
    return paramErr;
  }
  MovieRecord& movie = *media->track->movie;
  const auto* image = reinterpret_cast<const ImageDescription*>(*description);
  if (movie.output == nullptr || !WriteHeader(movie, image)) return ioErr;
  if (!WriteSample(*media, reinterpret_cast<const uint8_t*>(*data) + offset, size, duration)) {
    return ioErr;
  }
  if (sampleTime != nullptr) *sampleTime = media->duration;
  media->duration += duration;
  return noErr;
}

TimeValue GetMediaDuration(Media media) { return media != nullptr ? media->duration : 0; }

OSErr InsertMediaIntoTrack(Track track, TimeValue trackStart, TimeValue mediaTime,
                           TimeValue mediaDuration, Fixed) {
  if (track == nullptr) return invalidTrack;
  if (track->media == nullptr) return invalidMedia;
  // The whole media, from the track's start, is the one edit this file has.
  if (trackStart != 0 || mediaTime != 0 || mediaDuration != track->media->duration) {
    return paramErr;
  }
  return noErr;
}
