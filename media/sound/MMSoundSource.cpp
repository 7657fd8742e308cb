#include "media/sound/MMSoundSource.h"

MMLoaderSoundSource::MMLoaderSoundSource(MMSoundFormat format, UUInputStream* input,
                                         UUCallback* release)
    : MMSoundSource(format), mInput(input), mRelease(release) {}

MMLoaderSoundSource::~MMLoaderSoundSource() {
  mInput.reset();
  mRelease->Invoke();
}
