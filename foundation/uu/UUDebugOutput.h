#pragma once
// Text for a debugger.

// Through OutputDebugStringA.
void UUDebugOutput(const char* text);
// To the shared buffer that debug viewers of the Windows 95 family read;
// nothing on other platforms.
void UUDebugWindowOutput(const char* text);
