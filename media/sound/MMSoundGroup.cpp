#include "media/sound/MMSoundGroup.h"

#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundManager.h"

MMSoundGroup::MMSoundGroup(MMSoundManager* manager)
    : mManager(manager),
      mPauseCount(manager->GetPauseCount()),
      mSuspendCount(manager->GetSuspendCount()) {}

void MMSoundGroup::Pause() {
  if (++mPauseCount == 1) PauseAll();
}

void MMSoundGroup::Resume() {
  if (--mPauseCount == 0) ResumeAll();
}

void MMSoundGroup::Suspend() {
  if (++mSuspendCount == 1) SuspendAll();
}

void MMSoundGroup::Unsuspend() {
  if (--mSuspendCount == 0) UnsuspendAll();
}

void MMSoundGroup::PauseAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Pause);
}

void MMSoundGroup::ResumeAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Resume);
}

void MMSoundGroup::SuspendAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Suspend);
}

void MMSoundGroup::UnsuspendAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Unsuspend);
}

void MMSoundGroup::AddChannel(MMLogicalSoundChannel* channel) {
  mChannels.PushBack(channel);
  mManager->AddChannel(channel);
}

void MMSoundGroup::RemoveChannel(MMLogicalSoundChannel* channel) {
  mChannels.Remove(channel);
  mManager->RemoveChannel(channel);
}
