#pragma once
// The film resource file ("DAZE Films"): one subfile per film holding its
// chunk stream, the film table right after the named container header, in
// the file's byte order:
//   0         int16          table version 7
//   2         N bytes        flags
//   2 + N     N bytes        palette selectors
//   2 + 2N    2N x uint32    rectangles as packed points (left, top), (right, bottom)
//   2 + 10N   int32 x N      work buffer sizes
//   2 + 14N   4N bytes       sound-track descriptors
//   2 + 18N   int16 x N      sound lead times
//   2 + 20N   int32 x N      preload sizes
//   2 + 24N   int16 x N      data rates
//   2 + 26N   int16          palette count M
//   4 + 26N   1024 x M       palettes

#include "media/films/MM2DFilmResourceInfo.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"

class MM2DFilmResourceFile : public MMResourceFileWithNamedSubfiles, public MM2DFilmResourceInfo {
 public:
  MM2DFilmResourceFile()
      : MMResourceFileWithNamedSubfiles(MME_FILM_RESOURCE_FILE_NOT_FOUND),
        MM2DFilmResourceInfo(static_cast<MMGenericResourceFile&>(*this)) {}
  ~MM2DFilmResourceFile() override;

  const char* GetKindCode() const override { return "MMF"; }
  const char* GetTag() const override { return "DAZE Films"; }

 protected:
  // A table or palette count that does not fit the file is a bad read.
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;
};
