#pragma once
// Sounds placed in 3D: the volume falls with the squared distance from the
// listener (the camera's eye) to the source, silent from 240 on, and the
// pan follows the horizontal angle between the direction to the source and
// the direction the listener faces, negative on the left. The channel never
// reads the camera: its owner writes the positions and brings it up to
// date. The generic kind plays any sound, the arcade kind one fixed sound.

#include "media/sound/MMArcadeSoundChannel.h"
#include "media/sound/MMGenericSoundChannel.h"
#include "media/sound/MMSoundReference.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>

class MMLogicalSoundChannel;
class MMSoundGroup;

class RU3DLogicalSoundChannel {
 public:
  static constexpr float kMaxDistanceSquared = 57600.0f;
  static constexpr int32_t kFullVolume = 1024;
  static constexpr int32_t kFullPan = 1024;

  struct Mix {
    int32_t mVolume;
    int32_t mPan;
  };

  // Copies the positions; dirty until the first spatialisation.
  RU3DLogicalSoundChannel(const MM3DVector& listener, const MM3DVector& facing,
                          const MM3DVector& source, int32_t updateInterval);
  virtual ~RU3DLogicalSoundChannel() = default;
  RU3DLogicalSoundChannel(const RU3DLogicalSoundChannel&) = delete;
  RU3DLogicalSoundChannel& operator=(const RU3DLogicalSoundChannel&) = delete;

  virtual void Play(const MMSoundReference& sound, bool loop) = 0;
  // Moves the source first when the position differs from it.
  virtual void PlayAt(const MM3DVector& position, const MMSoundReference& sound, bool loop);
  // Whether a sound was playing.
  virtual bool Stop();
  virtual MMLogicalSoundChannel& GetChannel() = 0;

  // Hands the volume and pan to the channel when a position changed, and
  // stamps the time in every case.
  void UpdateSpatialization();
  // The volume and pan a source has for a listener facing a point.
  static Mix Spatialize(const MM3DVector& listener, const MM3DVector& facing,
                        const MM3DVector& source, float maxDistanceSquared = kMaxDistanceSquared);

  // Owners that follow the camera write the positions and mark them dirty.
  MM3DVector mListener;
  MM3DVector mFacing;
  MM3DVector mSource;
  float mMaxDistanceSquared = kMaxDistanceSquared;
  int32_t mLastUpdate;
  int32_t mUpdateInterval;
  bool mDirty = true;
};

class RU3DGenericSoundChannel : public RU3DLogicalSoundChannel {
 public:
  RU3DGenericSoundChannel(MMSoundGroup* group, const MM3DVector& listener, const MM3DVector& facing,
                          const MM3DVector& source, int32_t updateInterval);
  ~RU3DGenericSoundChannel() override;

  void Play(const MMSoundReference& sound, bool loop) override;
  MMLogicalSoundChannel& GetChannel() override { return *mChannel; }

 private:
  std::unique_ptr<MMGenericSoundChannel> mChannel;
};

class RU3DArcadeSoundChannel : public RU3DLogicalSoundChannel {
 public:
  RU3DArcadeSoundChannel(MMSoundGroup* group, const MM3DVector& listener, const MM3DVector& facing,
                         const MM3DVector& source, int32_t updateInterval, MMResourceId soundId);
  ~RU3DArcadeSoundChannel() override;

  // Restarts the fixed sound; the reference is not used.
  void Play(const MMSoundReference& sound, bool loop) override;
  MMLogicalSoundChannel& GetChannel() override { return *mChannel; }
  MMResourceId GetSoundId() const { return mSoundId; }

 private:
  std::unique_ptr<MMArcadeSoundChannel> mChannel;
  MMResourceId mSoundId;
};
