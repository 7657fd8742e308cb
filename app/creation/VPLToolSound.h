#pragma once
// A tool's sounds, heard from the creation's camera: a one-shot at the
// press, a loop while the button is held, a one-shot at the release or the
// action, and accents during the drag. Which sound plays is data: the
// tool's sound script lists, by tag, a sound list per moment with an
// alternate (Shift) entry, and the application's sound set picks the row of
// each list. Each kind names the channel of every tag (ChannelOf), and the
// moments are virtual so that a kind may also change when they sound; a
// missing row, channel or sound plays nothing. Stage thread only.

#include "app/objects/VPLScript.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class MMSoundGroup;
class RU3DLogicalSoundChannel;
class VPLSceneCreationArea;

// The tags of a tool's sound script; each alternate tag is its moment's + 1.
enum VPLToolSoundTag : int16_t {
  kVPLSoundPress = 0,
  kVPLSoundLoop = 2,
  kVPLSoundRelease = 4,
  kVPLSoundAction = 6,
  kVPLSoundDragAccent = 8,
  kVPLSoundTagCount = 10
};

class VPLToolSound {
 public:
  // The sound script is a table of kind 10.
  static constexpr int16_t kScriptKind = kVPLLayoutTable;

  VPLToolSound(VPLSceneCreationArea* area, MMResourceId scriptId);
  virtual ~VPLToolSound() = default;
  VPLToolSound(const VPLToolSound&) = delete;
  VPLToolSound& operator=(const VPLToolSound&) = delete;

  // The tools' four moments.
  void Begin(const MM3DVector& position, bool alternate);
  void Drag(const MM3DVector& position, bool alternate);
  void End(const MM3DVector& position, bool alternate);
  void Act(const MM3DVector& position, bool alternate);
  // Stops the loop where the sound last was.
  void StopLoopHere();

  virtual void PlayPress(const MM3DVector& position, bool alternate);
  virtual void StartLoop(const MM3DVector& position, bool alternate);
  virtual void MoveLoop(const MM3DVector& position, bool alternate);
  virtual void StopLoop(const MM3DVector& position, bool alternate);
  virtual void PlayRelease(const MM3DVector& position, bool alternate);
  virtual void PlayAction(const MM3DVector& position, bool alternate);
  virtual void PlayDrag(const MM3DVector& position, bool alternate);
  virtual void PlayExtra(const MM3DVector& /*position*/, bool /*alternate*/) {}
  virtual void StopAll(const MM3DVector& /*position*/, bool /*alternate*/) {}
  virtual void SetStart(const MM3DVector& position, bool alternate);
  virtual void SetPosition(const MM3DVector& position, bool alternate);

  const MM3DVector& GetPosition() const { return mPosition; }
  const MM3DVector& GetStart() const { return mStart; }
  bool GetAlternate() const { return mAlternate; }
  const VPLScript& GetScript() const { return mScript; }

 protected:
  // The channel a kind plays the tag's sound on; null where it has none, and
  // the moment is then silent.
  virtual RU3DLogicalSoundChannel* ChannelOf(int16_t /*tag*/) const { return nullptr; }
  // A one-shot of the moment on its channel and its alternate's; nothing
  // without the moment's channel.
  void PlayMoment(int16_t tag, const MM3DVector& position, bool alternate, bool onlySilent);
  bool HasTag(int16_t tag) const { return mScript.FindTag(tag) >= 0; }
  // The sound of the tag's list for the application's sound set; -1 when
  // the tag, the list's row or the sound is missing.
  MMResourceId SoundOf(int16_t tag) const;
  // The channel and tag of a moment (tag, tag + 1): the alternate sound on
  // the alternate channel while Shift is held and both exist, else the
  // normal one; null when that is missing. A busy channel does not count
  // when onlySilent.
  RU3DLogicalSoundChannel* Choose(int16_t tag, RU3DLogicalSoundChannel* normal,
                                  RU3DLogicalSoundChannel* alternateChannel, bool alternate,
                                  bool onlySilent, int16_t& chosenTag) const;
  // A one-shot of the moment at the position.
  void PlayOneShot(int16_t tag, RU3DLogicalSoundChannel* normal,
                   RU3DLogicalSoundChannel* alternateChannel, const MM3DVector& position,
                   bool alternate, bool onlySilent);
  // Starts the loop of the moment's choice, looped, where the channel's
  // source stands.
  void PlayLoop(RU3DLogicalSoundChannel* normal, RU3DLogicalSoundChannel* alternateChannel,
                bool alternate);
  void StartLooped(RU3DLogicalSoundChannel& channel, int16_t tag) const;
  // Keeps the loop channels at the position and the camera, swaps the loop
  // to the other sound when Shift changed, then PlayExtra.
  void FollowLoop(RU3DLogicalSoundChannel* normal, RU3DLogicalSoundChannel* alternateChannel,
                  const MM3DVector& position, bool alternate);
  // Moves a channel to the position and its listener to the camera's eye,
  // and brings it up to date when its interval has passed.
  void Follow(RU3DLogicalSoundChannel& channel, const MM3DVector& position) const;
  static void StopIfPlaying(RU3DLogicalSoundChannel* channel);
  static bool IsPlaying(RU3DLogicalSoundChannel* channel);
  // Where the area's camera stands and the point it faces.
  MM3DVector GetEye() const;
  MM3DVector GetFacing() const;
  // Null while the stage has no sound system or the sound has no area: the
  // kinds then make no channel and stay silent.
  MMSoundGroup* GetSoundGroup() const;
  static float Distance(const MM3DVector& a, const MM3DVector& b);

  VPLSceneCreationArea* mArea;
  MM3DVector mPosition{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mStart{0.0f, 0.0f, 0.0f, 1.0f};
  bool mAlternate = false;
  VPLScript mScript;
};
