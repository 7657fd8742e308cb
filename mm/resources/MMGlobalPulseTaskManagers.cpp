#include "mm/resources/MMGlobalPulseTaskManagers.h"

AFPulseTaskManager* MMStreamingPulseTaskManager = nullptr;

AFPulseTaskManager* MMGetStreamingPulseTaskManager() { return MMStreamingPulseTaskManager; }
