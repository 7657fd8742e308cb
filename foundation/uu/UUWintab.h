#pragma once
// The pen-tablet library, bound at run time by ordinal. The entry points
// are valid only between a successful UUWintabLoad and UUWintabUnload.

#include "platform/win32/kernel.h"

struct UUWintabEntryPoints {
  FARPROC mInfoA;         // ordinal 20
  FARPROC mOpenA;         // 21
  FARPROC mClose;         // 22
  FARPROC mPacket;        // 24
  FARPROC mEnable;        // 40
  FARPROC mOverlap;       // 41
  FARPROC mQueueSizeSet;  // 85
};

// True when "WINTAB32.DLL" was loaded; an entry point it lacks is null.
bool UUWintabLoad();
bool UUWintabIsLoaded();
void UUWintabUnload();
const UUWintabEntryPoints& UUWintabGetEntryPoints();
