#include "media/films/MM2DFilmPlayerMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "media/films/MM2DFilmFrameDecoder.h"
#include "media/films/MM2DFilmPlayerVisual.h"
#include "media/sound/MMPermanentPhysicalSoundChannel.h"
#include "media/sound/MMSoundGroup.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskTime.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

namespace {

// The most stored bytes a sample of a track takes.
constexpr int32_t kLargestUnit = 2;

using PlayerCallback = UUClassCallback<MM2DFilmPlayerMolecule, void (MM2DFilmPlayerMolecule::*)()>;
using FilmCallback =
    UUClassCallback1Parameter<MM2DFilmPlayerMolecule,
                              void (MM2DFilmPlayerMolecule::*)(const MM2DFilm&), MM2DFilm>;

}  // namespace

void MM2DFilmPlayerMolecule::FreeBlock::operator()(uint8_t* block) const { ALFree(block); }

MM2DFilmPlayerMolecule::MM2DFilmPlayerMolecule(MMScene* scene)
    : MMMolecule(scene),
      mVisual(new (ALGlobalAllocator) MM2DFilmPlayerVisual(this, UURect(), kVisualDepth)),
      mNotification(new (ALGlobalAllocator)
                        PlayerCallback(this, &MM2DFilmPlayerMolecule::OnPresented)),
      mFrameTask(new (ALGlobalAllocator)
                     PlayerCallback(this, &MM2DFilmPlayerMolecule::RunFrameTask)) {
  mVisual->SetVisibility(kMMHidden);
  GetEnclosure()->AddVisual(mVisual);
  GetStage()->AddEventNotification(kAfterPresent, mNotification.get());
}

MM2DFilmPlayerMolecule::~MM2DFilmPlayerMolecule() {
  CloseFilm();
  GetStage()->RemoveEventNotification(kAfterPresent, mNotification.get());
  GetEnclosure()->RemoveVisual(mVisual);
  mCueMap.Clear();
  delete mVisual;
}

MMTaskCallback MM2DFilmPlayerMolecule::MakeCallback(void (MM2DFilmPlayerMolecule::*operation)()) {
  return MMTaskCallback(GetTaskClient(), new (ALGlobalAllocator) PlayerCallback(this, operation));
}

MMTaskCallback MM2DFilmPlayerMolecule::MakeOpenFilmCallback(const MM2DFilm& film) {
  return MMTaskCallback(GetTaskClient(), new (ALGlobalAllocator) FilmCallback(
                                             this, &MM2DFilmPlayerMolecule::OpenFilm, film));
}

MMTaskCallback MM2DFilmPlayerMolecule::MakePlayFilmCallback(const MM2DFilm& film) {
  return MMTaskCallback(GetTaskClient(), new (ALGlobalAllocator) FilmCallback(
                                             this, &MM2DFilmPlayerMolecule::PlayFilm, film));
}

void MM2DFilmPlayerMolecule::ApplyVisibility(MMVisibility visibility) {
  MMMolecule::ApplyVisibility(visibility);
  mVisual->SetVisibility(visibility);
}

int32_t MM2DFilmPlayerMolecule::Now() const { return GetTaskClient()->GetTime(); }

void MM2DFilmPlayerMolecule::ScheduleFrameTask(int32_t sceneTime) {
  GetTaskClient()->ScheduleTask(mFrameTask, sceneTime);
}

// The film's times come from the file: they saturate rather than wrap.
int32_t MM2DFilmPlayerMolecule::FrameDue() const { return MMShiftTime(mBaseTime, mFrameTime); }

void MM2DFilmPlayerMolecule::CancelFrameTask() { GetTaskClient()->CancelTasks(mFrameTask); }

// ---- Opening and closing -------------------------------------------------

bool MM2DFilmPlayerMolecule::MakeFilmParts(const MM2DFilm& film) {
  mStream.reset(film.OpenStream());
  if (mStream == nullptr) return false;
  mFrame.reset(
      MMBitmapWithPixels::Create(film.GetRectangle(), film.GetPixelFormat(), ALGlobalAllocator));
  mWorkBufferSize = film.GetWorkBufferSize();
  if (mWorkBufferSize > 0) {
    mWorkBuffer.reset(static_cast<uint8_t*>(
        ALAllocate(static_cast<size_t>(mWorkBufferSize), ALGlobalAllocator, kALMayFail)));
  }
  if (mFrame == nullptr || mWorkBufferSize < 0 || (mWorkBufferSize > 0 && mWorkBuffer == nullptr)) {
    mWorkBuffer.reset();
    mFrame.reset();
    mStream.reset();
    return false;
  }
  mFrame->mSubFormat = film.GetSubFormat();
  mWindow.SetInput(mStream.get());
  return true;
}

void MM2DFilmPlayerMolecule::MakeTracks(const MM2DFilm& film) {
  mSoundLeadTime = film.GetSoundLeadTime();
  const int32_t count = film.GetSoundTrackCount();
  mTracks.resize(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    Track& track = mTracks[static_cast<size_t>(i)];
    track.mSource.reset(film.CreateSoundSource(i));
    if (track.mSource == nullptr) continue;
    track.mChannel = std::make_unique<MM2DFilmSoundChannel>(
        MMSoundGroup::Of(GetSoundGroup()), track.mSource.get(),
        static_cast<uint32_t>(std::max(mSoundLeadTime, 0)));
  }
}

void MM2DFilmPlayerMolecule::OpenFilm(const MM2DFilm& film) {
  if (mState != kClosed) CloseFilm();
  OnChange();
  if (film.IsEmpty() || !MakeFilmParts(film)) return;
  mSubFormat = film.GetSubFormat();
  mRectangle = film.GetRectangle();
  mHasPalette = film.HasPalette();
  if (mHasPalette) mPalette = film.GetPalette();
  MakeTracks(film);
  mVisual->SetBox(mRectangle);
  mVisual->SetVisibility(GetVisibility());
  mState = kReady;
  mFilm = film;
  ResetClock();
  OnChange();
  RunFrameTask();
}

void MM2DFilmPlayerMolecule::ResetClock() {
  mFrameCounter = 0;
  mNewFrame = false;
  mFrameTime = 0;
  mBaseTime = 0;
  mPauseTime = 0;
}

void MM2DFilmPlayerMolecule::PlayFilm(const MM2DFilm& film) {
  OpenFilm(film);
  Start();
}

void MM2DFilmPlayerMolecule::CloseFilm() {
  OnChange();
  if (mState == kClosed) return;
  mState = kClosed;
  mPending = 0;
  mFilm.Release();
  CancelFrameTask();
  mWindow.SetInput(nullptr);
  mStream.reset();
  mWorkBuffer.reset();
  mFrame.reset();
  mTracks.clear();
  mVisual->SetVisibility(kMMHidden);
  OnChange();
}

// ---- Playing -------------------------------------------------------------

void MM2DFilmPlayerMolecule::Start() {
  if (mState == kClosed || mState == kPlaying) return;
  if (mState == kEnded) Rewind();
  const bool resuming = mState == kHeld;
  for (Track& track : mTracks) {
    if (track.mChannel == nullptr) continue;
    // Every channel was paused, so every one is resumed, or a track that
    // had not started yet would stay paused for good.
    if (resuming) {
      track.mChannel->Resume();
    } else if (IsDue(track)) {
      track.mChannel->Play(false);
    }
  }
  mPending = resuming ? kResumePending : kStartPending;
  mState = kPlaying;
  OnChange();
}

bool MM2DFilmPlayerMolecule::IsDue(const Track& track) const {
  return track.mStartFrame == kTrackEnded ||
         (track.mStartFrame >= 0 && track.mStartFrame <= mFrameCounter);
}

void MM2DFilmPlayerMolecule::Pause() {
  if (mState != kPlaying) return;
  mPending |= kPausePending;
  mState = kHeld;
  PauseTracks();
  CancelFrameTask();
  OnChange();
}

void MM2DFilmPlayerMolecule::Rewind() {
  if (mState == kClosed || mState == kReady) return;
  mState = kReady;
  ResetClock();
  CancelFrameTask();
  mWindow.Reset();
  mStream->Seek(0);
  StopTracks(kWaitingForData);
  RunFrameTask();
}

void MM2DFilmPlayerMolecule::Restart() {
  Rewind();
  Start();
}

void MM2DFilmPlayerMolecule::PauseTracks() {
  for (Track& track : mTracks) {
    if (track.mChannel != nullptr) track.mChannel->Pause();
  }
}

void MM2DFilmPlayerMolecule::StopTracks(int32_t startFrame) {
  for (Track& track : mTracks) {
    if (track.mChannel != nullptr) track.mChannel->Stop();
    track.mStartFrame = startFrame;
  }
}

// The clock starts, stops and goes on at a present, so that film time 0 is
// the moment the first frame appeared.
void MM2DFilmPlayerMolecule::OnPresented() {
  if (mPending == 0) return;
  const int32_t now = Now();
  if ((mPending & kStartPending) != 0) {
    mBaseTime = now;
    ScheduleFrameTask(FrameDue());
  }
  if ((mPending & kPausePending) != 0) {
    mPauseTime = now;
    CancelFrameTask();
  }
  if ((mPending & kResumePending) != 0) {
    mBaseTime = MMShiftTime(mBaseTime, int64_t{now} - mPauseTime);
    ScheduleFrameTask(FrameDue());
  }
  mPending = 0;
}

void MM2DFilmPlayerMolecule::RunFrameTask() {
  OnChange();
  mWindow.Reset();
  DecodeFrame();
  mWindow.Release();
  if (mState != kPlaying) return;
  const bool starting = (mPending & (kStartPending | kResumePending)) != 0;
  // Sound this late can no longer keep up with the pictures: it is dropped
  // for the rest of the film.
  if (!starting && MMShiftTime(FrameDue(), mSoundLeadTime) < Now()) {
    for (Track& track : mTracks) {
      if (track.mStartFrame == kDropped) continue;
      if (track.mChannel != nullptr) track.mChannel->Stop();
      track.mStartFrame = kDropped;
    }
  }
  ScheduleFrameTask(FrameDue());
}

void MM2DFilmPlayerMolecule::DecodeFrame() {
  if (mNewFrame) {
    mNewFrame = false;
    ++mFrameCounter;
  }
  while (ReadChunk()) {
  }
  if (mState != kPlaying) return;
  for (Track& track : mTracks) {
    if (track.mChannel == nullptr) continue;
    if (track.mStartFrame == mFrameCounter && !track.mChannel->IsPlaying()) {
      track.mChannel->Play(false);
    } else if (track.mStartFrame == kTrackEnded) {
      RefillTrack(track);
      if (!track.mChannel->IsPlaying()) track.mStartFrame = kWaitingForData;
    }
  }
}

// ---- Chunks --------------------------------------------------------------

bool MM2DFilmPlayerMolecule::ReadChunk() {
  uint32_t type = 0;
  uint32_t length = 0;
  if (!mWindow.ReadBE32(&type) || !mWindow.ReadBE32(&length)) {
    // The data ran out before its end chunk: the film ends there.
    if (mState != kEnded) OnEnd(0);
    return false;
  }
  using Handler = void (MM2DFilmPlayerMolecule::*)(int32_t);
  static constexpr Handler kHandlers[] = {
      &MM2DFilmPlayerMolecule::OnRawFrame,
      &MM2DFilmPlayerMolecule::OnDeltaFrame,
      &MM2DFilmPlayerMolecule::OnSoundData,
      &MM2DFilmPlayerMolecule::OnSoundEnd,
      &MM2DFilmPlayerMolecule::OnCue,
      &MM2DFilmPlayerMolecule::OnRectangle,
      &MM2DFilmPlayerMolecule::OnFrameTime,
      &MM2DFilmPlayerMolecule::OnEnd,
      &MM2DFilmPlayerMolecule::OnTime,
      &MM2DFilmPlayerMolecule::OnHold,
      &MM2DFilmPlayerMolecule::OnCompressedFrame,
      &MM2DFilmPlayerMolecule::OnCompressedDeltaFrame,
  };
  MM2DFilmLimitedSource payload(mWindow, length);
  mPayload = &payload;
  // A type outside the table is no chunk of the format: it is passed over
  // whole.
  const uint32_t number = type - kMM2DFilmRawFrame;
  if (number < std::size(kHandlers)) {
    (this->*kHandlers[number])(static_cast<int32_t>(std::min<uint32_t>(length, INT32_MAX)));
  }
  // Whatever a handler left of its payload is passed over, so that a chunk
  // whose length disagrees with its fields never shifts the next one.
  payload.Skip(payload.GetRemaining());
  mPayload = nullptr;
  return type < kMM2DFilmFrameTime || type > kMM2DFilmHold;
}

void MM2DFilmPlayerMolecule::DecodePicture(uint32_t type, int32_t length) {
  MM2DFilmFrameDecoder decoder(mFrame->mPixels, mFrame->GetHeight(), mFrame->mPitch,
                               mFrame->mBytesPerPixel, mWorkBuffer.get(), mWorkBufferSize);
  MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount];
  const bool delta = type == kMM2DFilmDeltaFrame || type == kMM2DFilmCompressedDeltaFrame;
  // A damaged chunk may have changed pixels anywhere in the frame.
  if (!decoder.Decode(type, length, *mPayload, delta ? dirty : nullptr) || !delta) {
    mVisual->InvalidateBounds();
    return;
  }
  for (const MM2DFilmDirtyRect& rect : dirty) {
    if (!rect.IsEmpty()) {
      GetEnclosure()->Invalidate(UURect(rect.mLeft, rect.mTop, rect.mRight, rect.mBottom));
    }
  }
}

void MM2DFilmPlayerMolecule::OnRawFrame(int32_t length) {
  DecodePicture(kMM2DFilmRawFrame, length);
}

void MM2DFilmPlayerMolecule::OnCompressedFrame(int32_t length) {
  DecodePicture(kMM2DFilmCompressedFrame, length);
}

void MM2DFilmPlayerMolecule::OnDeltaFrame(int32_t length) {
  DecodePicture(kMM2DFilmDeltaFrame, length);
}

void MM2DFilmPlayerMolecule::OnCompressedDeltaFrame(int32_t length) {
  DecodePicture(kMM2DFilmCompressedDeltaFrame, length);
}

MM2DFilmPlayerMolecule::Track* MM2DFilmPlayerMolecule::ReadTrack() {
  uint32_t number = 0;
  if (!mPayload->ReadBE32(&number) || number >= mTracks.size()) return nullptr;
  Track& track = mTracks[number];
  return track.mChannel != nullptr ? &track : nullptr;
}

void MM2DFilmPlayerMolecule::OnSoundData(int32_t) {
  uint32_t bytes = 0;
  uint32_t start = 0;
  if (!mPayload->ReadBE32(&bytes)) return;
  Track* track = ReadTrack();
  if (track == nullptr || !mPayload->ReadBE32(&start)) return;
  const auto startFrame = static_cast<int32_t>(start);
  if (track->mStartFrame < 0) {
    // Dropped and ended tracks take no more data; a waiting one starts at
    // the frame its first data names.
    if (startFrame < 0 || track->mStartFrame != kWaitingForData) return;
    track->mStartFrame = startFrame;
  }
  MM2DFilmLimitedSource data(*mPayload, bytes);
  const int32_t unit = track->mSource->GetUnitBytes();
  uint8_t split[kLargestUnit];
  const uint8_t* window = nullptr;
  for (int32_t n = data.Window(&window); n > 0; n = data.Window(&window)) {
    const int32_t whole = n - n % unit;
    if (whole > 0) {
      FeedTrack(*track, window, whole);
      data.Advance(whole);
    } else if (data.Read(split, unit)) {
      // A sample split by the end of the ring goes in whole from a copy.
      FeedTrack(*track, split, unit);
    } else {
      return;
    }
  }
}

void MM2DFilmPlayerMolecule::FeedTrack(Track& track, const uint8_t* bytes, int32_t n) {
  track.mSource->SetWindow(bytes, n);
  RefillTrack(track);
  // Bytes the device buffer had no room for are dropped.
  track.mSource->ClearWindow();
}

void MM2DFilmPlayerMolecule::RefillTrack(Track& track) {
  // A film channel only ever holds a permanent physical channel.
  auto* physical =
      static_cast<MMPermanentPhysicalSoundChannel*>(track.mChannel->GetPhysicalChannel());
  if (physical != nullptr) physical->Refill();
}

void MM2DFilmPlayerMolecule::OnSoundEnd(int32_t) {
  Track* track = ReadTrack();
  if (track == nullptr) return;
  track->mSource->SetAtEnd();
  track->mStartFrame = kTrackEnded;
}

void MM2DFilmPlayerMolecule::OnCue(int32_t) {
  uint32_t cue = 0;
  if (mPayload->ReadBE32(&cue)) mCueMap.Post(static_cast<int32_t>(cue));
}

void MM2DFilmPlayerMolecule::OnRectangle(int32_t) {
  int16_t top = 0;
  int16_t left = 0;
  int16_t bottom = 0;
  int16_t right = 0;
  if (mPayload->ReadBE16(&top) && mPayload->ReadBE16(&left) && mPayload->ReadBE16(&bottom) &&
      mPayload->ReadBE16(&right)) {
    SetRectangle(left, top, right, bottom);
  }
}

void MM2DFilmPlayerMolecule::OnFrameTime(int32_t) {
  uint32_t time = 0;
  if (mPayload->ReadBE32(&time)) mFrameTime = static_cast<int32_t>(time);
  mNewFrame = true;
}

void MM2DFilmPlayerMolecule::OnTime(int32_t) {
  uint32_t time = 0;
  if (mPayload->ReadBE32(&time)) mFrameTime = static_cast<int32_t>(time);
}

void MM2DFilmPlayerMolecule::OnEnd(int32_t) {
  mState = kEnded;
  StopTracks(kWaitingForData);
  NotifyEnd();
}

void MM2DFilmPlayerMolecule::NotifyEnd() {
  if (mEndCallback.GetClient() != nullptr) {
    mEndCallback.GetClient()->AddImmediateTask(mEndCallback.GetCallback());
  }
}

void MM2DFilmPlayerMolecule::OnHold(int32_t) {
  // A film held before its clock ran has no clock to stop: its resume
  // starts the clock as a start would.
  mPending = mState == kPlaying ? kPausePending : 0;
  mState = kHeld;
  PauseTracks();
}
