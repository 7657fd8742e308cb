#pragma once
// The pulse-task manager on which streamed sounds and films read ahead of
// their players. The data-file start-up makes and starts it and the
// shut-down stops and deletes it; null while there is none.

#include "foundation/af/AFPulseTask.h"

extern AFPulseTaskManager* MMStreamingPulseTaskManager;

AFPulseTaskManager* MMGetStreamingPulseTaskManager();
