#pragma once
// A molecule that shows one 2D film at a time in its scene. It reads the
// film's chunk stream on the stage thread, decodes one frame's chunks per
// step into its frame bitmap, feeds the sound tracks into their channels,
// and times every step against the scene's clock: film time 0 is the
// present at which the first frame appeared. Each frame ends with a chunk
// that says when the next one is due, or that the film ends or holds.

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UURefCount.h"
#include "media/films/MM2DFilm.h"
#include "media/films/MM2DFilmReadWindow.h"
#include "media/films/MM2DFilmSoundChannel.h"
#include "media/films/MM2DFilmSoundSource.h"
#include "media/films/MM2DFilmStream.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMPalette.h"
#include "mm/stage/MMMolecule.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM2DFilmPlayerVisual;

class MM2DFilmPlayerMolecule : public MMMolecule {
 public:
  enum State : int32_t { kClosed = 0, kReady = 1, kPlaying = 2, kHeld = 3, kEnded = 4 };
  enum PendingChange : int32_t { kStartPending = 1, kPausePending = 2, kResumePending = 4 };
  // A track's start frame, when it is not a frame number.
  enum TrackStart : int32_t { kWaitingForData = -1, kDropped = -2, kTrackEnded = -3 };
  static constexpr int32_t kVisualDepth = 100;
  // The stage notification kind that follows each present.
  static constexpr int32_t kAfterPresent = 1;

  explicit MM2DFilmPlayerMolecule(MMScene* scene);
  ~MM2DFilmPlayerMolecule() override;

  // Opens the film and decodes its first frame; the player stays closed,
  // with an empty film handle, when the film cannot be opened.
  void OpenFilm(const MM2DFilm& film);
  void PlayFilm(const MM2DFilm& film);
  // Plays a ready or held film from the next present; an ended film from
  // its start.
  void Start();
  void Pause();
  // Back to the first frame, ready.
  void Rewind();
  void Restart();
  void CloseFilm();

  // Posted once when the film ends.
  void SetEndCallback(const MMTaskCallback& callback) { mEndCallback = callback; }
  // Callbacks posted by the film's cue chunks, by cue number.
  MMTaskCallbackMap& GetCueMap() { return mCueMap; }

  MMTaskCallback MakeOpenFilmCallback(const MM2DFilm& film);
  MMTaskCallback MakePlayFilmCallback(const MM2DFilm& film);
  MMTaskCallback MakeStartCallback() { return MakeCallback(&MM2DFilmPlayerMolecule::Start); }
  MMTaskCallback MakePauseCallback() { return MakeCallback(&MM2DFilmPlayerMolecule::Pause); }
  MMTaskCallback MakeRewindCallback() { return MakeCallback(&MM2DFilmPlayerMolecule::Rewind); }
  MMTaskCallback MakeRestartCallback() { return MakeCallback(&MM2DFilmPlayerMolecule::Restart); }
  MMTaskCallback MakeCloseCallback() { return MakeCallback(&MM2DFilmPlayerMolecule::CloseFilm); }

  State GetState() const { return mState; }
  const MM2DFilm& GetFilm() const { return mFilm; }
  MMBitmapWithPixels* GetFrameBitmap() const { return mFrame.get(); }
  // The film's palette, null for a film without one.
  const MMPalette* GetPalette() const { return mHasPalette ? &mPalette : nullptr; }
  int32_t GetFrameCounter() const { return mFrameCounter; }
  // The film time of the next frame.
  int32_t GetFrameTime() const { return mFrameTime; }
  // The scene time at which film time 0 lies.
  int32_t GetBaseTime() const { return mBaseTime; }
  int32_t GetTrackStartFrame(int32_t track) const {
    return mTracks[static_cast<size_t>(track)].mStartFrame;
  }
  MM2DFilmSoundChannel* GetTrackChannel(int32_t track) const {
    return mTracks[static_cast<size_t>(track)].mChannel.get();
  }

  MM2DFilmPlayerVisual* GetVisual() const { return mVisual; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;
  // Reads chunks up to the one that ends the frame, then starts and
  // finishes the tracks.
  virtual void DecodeFrame();
  // Reads one chunk and hands it to its handler; false when it ends the
  // frame, or when the stream has no more.
  virtual bool ReadChunk();
  // The chunk handlers read their payload through the chunk's window.
  virtual void OnRawFrame(int32_t length);
  virtual void OnCompressedFrame(int32_t length);
  virtual void OnDeltaFrame(int32_t length);
  virtual void OnCompressedDeltaFrame(int32_t length);
  virtual void OnSoundData(int32_t length);
  virtual void OnSoundEnd(int32_t length);
  virtual void OnCue(int32_t length);
  virtual void OnRectangle(int32_t length);
  virtual void OnFrameTime(int32_t length);
  virtual void OnEnd(int32_t length);
  virtual void OnTime(int32_t length);
  virtual void OnHold(int32_t length);
  virtual void SetRectangle(int32_t, int32_t, int32_t, int32_t) {}
  virtual void NotifyEnd();
  // Called around every change of state.
  virtual void OnChange() {}

 private:
  struct Track {
    std::unique_ptr<MM2DFilmSoundSource> mSource;
    // Goes before the source it reads.
    std::unique_ptr<MM2DFilmSoundChannel> mChannel;
    int32_t mStartFrame = kWaitingForData;
  };
  struct FreeBlock {
    void operator()(uint8_t* block) const;
  };

  MMTaskCallback MakeCallback(void (MM2DFilmPlayerMolecule::*operation)());
  // What OpenFilm makes; false (nothing kept) when one part fails.
  bool MakeFilmParts(const MM2DFilm& film);
  void MakeTracks(const MM2DFilm& film);
  // Frame 0 at film time 0, the clock not started.
  void ResetClock();
  // The track has data and its start frame has come.
  bool IsDue(const Track& track) const;
  void RunFrameTask();
  void OnPresented();
  void DecodePicture(uint32_t type, int32_t length);
  // Track number read from the chunk, null when the film has no such track.
  Track* ReadTrack();
  // Lends the track's source n bytes and refills its channel from them.
  void FeedTrack(Track& track, const uint8_t* bytes, int32_t n);
  void RefillTrack(Track& track);
  void StopTracks(int32_t startFrame);
  void PauseTracks();
  void ScheduleFrameTask(int32_t sceneTime);
  void CancelFrameTask();
  // The scene time at which the next frame is due.
  int32_t FrameDue() const;
  int32_t Now() const;

  MM2DFilmPlayerVisual* mVisual;
  State mState = kClosed;
  MM2DFilm mFilm;
  std::unique_ptr<MMBitmapWithPixels> mFrame;
  int32_t mWorkBufferSize = 0;
  std::unique_ptr<uint8_t, FreeBlock> mWorkBuffer;
  std::vector<Track> mTracks;
  std::unique_ptr<MM2DFilmStream> mStream;
  int32_t mSubFormat = 0;
  UURect mRectangle;
  int32_t mSoundLeadTime = 0;
  bool mHasPalette = false;
  MMPalette mPalette;
  int32_t mBaseTime = 0;
  int32_t mPauseTime = 0;
  int32_t mPending = 0;
  std::unique_ptr<UUCallback> mNotification;
  UURefCount<UUCallback> mFrameTask;
  int32_t mFrameCounter = 0;
  bool mNewFrame = false;
  int32_t mFrameTime = 0;
  MMTaskCallbackMap mCueMap;
  MMTaskCallback mEndCallback;
  MM2DFilmReadWindow mWindow;
  // The payload of the chunk being handled.
  MM2DFilmByteSource* mPayload = nullptr;
};
