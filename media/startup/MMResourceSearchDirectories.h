#pragma once
// The directories in which the data files are searched, in search order:
// the program's own directory first, then the root of the data volume when
// the string table names one that is present. The list points to the
// directories; it owns none of them.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUList.h"

extern UUList<UUDirectory*> MMResourceSearchDirectories;
extern UUDirectory MMProgramDirectory;
extern UUDirectory MMDataVolumeDirectory;

// Appends the program's directory, then the data volume's root when
// MMAddDataVolumeDirectory finds it; always true.
bool MMInitSearchDirectories();
void MMClearSearchDirectories();
// The first directory of the list that holds the file, its name matched
// without regard to case; null when none does.
UUDirectory* MMFindResourceDirectory(const char* fileName);
// True when the string table names a data volume label and a volume with
// that label exists; its root is then MMDataVolumeDirectory.
bool MMAddDataVolumeDirectory();
