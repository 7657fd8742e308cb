#pragma once
// Opening every data file the program reads before its window exists, and
// closing them all again at clean-up. The string table names the files of
// each kind: item i of the kind's group is its i-th file, and the list
// ends at the first missing item. Each file is opened from the first
// search directory that holds it and registers its collection.

#include "foundation/uu/UUDirectory.h"

#include <cstdint>

// Builds the search directories, opens the scripts, pictures, sounds and
// films, starts the 3D engine's shared scratch data, opens the textures and
// models and starts the global pulse-task managers. On the first file that
// is missing or cannot be opened everything started so far is stopped
// again, the file's error stays pending and the answer is false.
bool MMStartResourceFiles();
// Stops the pulse-task managers before any file is closed, closes every
// kind in the reverse order of the start-up and clears the search
// directories. Safe after a partial start-up and when called again.
void MMStopResourceFiles();

// One kind's list of files alone; false at the first file that no search
// directory holds (the kind's NOT_FOUND error with the file name) or that
// its opener refuses (the opener's error, else AFE_FAILURE_WITHOUT_ERROR).
bool MMOpenScriptFiles();
bool MMOpenPictureFiles();
bool MMOpenSoundFiles();
bool MMOpenFilmFiles();
bool MMOpenTextureFiles();
bool MMOpenModelFiles();
// Delete every registered collection of the kind.
void MMCloseScriptFiles();
void MMClosePictureFiles();
void MMCloseSoundFiles();
void MMCloseFilmFiles();
void MMCloseTextureFiles();
void MMCloseModelFiles();

// The 3D engine's reference tables, deformer scratch arrays and shading
// scratch: made new, and freed in the reverse order.
void MMStart3DScratch();
void MMStop3DScratch();

// Item index of the string-table group into a buffer of kUUPathCapacity
// characters; false (and an empty buffer) when the table has no such item.
bool MMLoadResourceFileName(uint32_t group, uint32_t index, char* buffer);
