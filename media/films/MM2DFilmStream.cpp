#include "media/films/MM2DFilmStream.h"

MM2DFilmStream::~MM2DFilmStream() {
  Stop();
  mClosing->Invoke();
}
