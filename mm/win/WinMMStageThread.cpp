#include "mm/win/WinMMStageThread.h"

#include "mm/MMStage.h"

void WinMMStageThread::Run() { mStage->ThreadMain(); }
