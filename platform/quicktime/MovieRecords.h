#pragma once
// Internal to the platform layer: a movie being written, its one video
// track and that track's media, whose samples go straight to the file.

#include "platform/quicktime/quicktime.h"

#include <memory>
#include <string>

struct AVFormatContext;
struct AVStream;

struct MediaRecord {
  TrackRecord* track = nullptr;
  AVStream* stream = nullptr;
  TimeScale scale = 0;
  TimeValue duration = 0;
  bool editing = false;
};

struct TrackRecord {
  MovieRecord* movie = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  std::unique_ptr<MediaRecord> media;
};

struct MovieRecord {
  // The muxer while the file is open; null once closed, and for the movie
  // FlattenMovieData answers.
  AVFormatContext* output = nullptr;
  std::string hostPath;
  int16_t fileRef = 0;
  bool headerWritten = false;
  std::unique_ptr<TrackRecord> track;
};
