#pragma once
// The sound resource file ("DAZE Sounds"): one subfile per sound, the
// sound table right after the named container header, in the file's byte
// order:
//   0        int16      sound table version 8
//   2        N bytes    format flags
//   2 + N    N bytes    codec flags
//   2 + 2N   int32 x N  envelope sizes
//   2 + 6N   int32 x N  decoded sizes
// The subfile of a sound is its envelope (when it has one) followed by its
// sound data: PCM in the file's byte order, or the code bytes of the
// sound-byte code.

#include "media/sound/MMSoundResourceInfo.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"

class MMSoundResourceFile : public MMResourceFileWithNamedSubfiles, public MMSoundResourceInfo {
 public:
  MMSoundResourceFile()
      : MMResourceFileWithNamedSubfiles(MME_SOUND_RESOURCE_FILE_NOT_FOUND),
        MMSoundResourceInfo(static_cast<const MMGenericResourceFile&>(*this)) {}
  ~MMSoundResourceFile() override;

  const char* GetKindCode() const override { return "MMA"; }
  const char* GetTag() const override { return "DAZE Sounds"; }

 protected:
  // Refuses a file whose sizes do not fit its subfiles with a bad header.
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;
};
