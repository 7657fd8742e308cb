#pragma once
// The application's formatting of file names, which the file-system
// routines use to join a directory and a name: printf-style into at most
// 259 characters, never half of a double-byte character, always
// terminated. It sits here, below the file-system routines that call it.

// dest must hold 260 bytes; true when the whole formatted text fitted.
bool VPLFormatName(char* dest, const char* format, ...) __attribute__((format(printf, 2, 3)));
