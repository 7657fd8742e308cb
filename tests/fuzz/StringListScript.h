#pragma once
// The string list the picture importer reads its extensions from (script
// 8: row 5 ".bmp", row 6 ".jpg"), written once into the temporary
// directory with the system's writer and registered as collection 0.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/resources/MMScriptCollection.h"
#include "mm/resources/MMScriptFile.h"

#include <cstdint>
#include <string>
#include <vector>

inline void RegisterPictureExtensions() {
  constexpr int16_t kEntries = 9;
  constexpr int16_t kStringList = 8;
  constexpr int16_t kRowSize = 6;
  const char* kName = "vplfuzz-string-list.mms";
  // Rows {tag, text offset}, then the texts.
  const std::vector<uint8_t> rows = {5, 0, 0, 0, 0, 0, 6, 0, 5, 0, 0, 0};
  const std::string texts(".bmp\0.jpg\0", 10);
  UUDirectory directory;
  UUGetTempDirectory(directory);
  {
    MMScriptFile file;
    file.Create(directory, kName, UUFileOptions(), kEntries, 0);
    file.SetLanguage(MMScriptFile::kAnyLanguage);
    file.SetLayoutCount(1);
    file.SetLayoutRowSize(0, kRowSize);
    for (int16_t i = 0; i < kEntries; ++i) {
      file.SetEntryLayout(i, 0);
      file.SetEntryRowCount(i, i == kStringList ? 2 : 0);
      int32_t position = 0;
      file.GetFile().Seek(0, kUUSeekFromEnd, &position);
      file.SetSubfileOffset(i, position);
      if (i == kStringList) {
        file.GetFile().Write(rows.data(), static_cast<uint32_t>(rows.size()));
        file.GetFile().Write(texts.data(), static_cast<uint32_t>(texts.size()));
      }
    }
    file.RecordEndOffset();
    file.Close(true);
  }
  MMOpenScriptFile(directory, kName);
}
