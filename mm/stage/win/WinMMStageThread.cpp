#include "mm/stage/win/WinMMStageThread.h"

#include "mm/stage/MMStage.h"

void WinMMStageThread::Run() { mStage->ThreadMain(); }
