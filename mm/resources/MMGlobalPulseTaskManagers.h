#pragma once
// The two process-wide pulse-task managers. Streamed sounds and films read
// ahead of their players on the streaming one; nothing puts tasks on the
// other. The data-file start-up makes and starts both and the shut-down
// stops and deletes them; each is null while there is none.

#include "foundation/af/AFPulseTask.h"

extern AFPulseTaskManager* MMGlobalPulseTaskManagerA;
extern AFPulseTaskManager* MMStreamingPulseTaskManager;

AFPulseTaskManager* MMGetStreamingPulseTaskManager();

// Makes each manager that is missing and starts its thread; always true.
bool MMStartGlobalPulseTaskManagers();
// The streaming manager first, then the other: stops its thread, deletes
// it and clears the pointer. Nothing for a manager that is missing.
void MMStopGlobalPulseTaskManagers();
