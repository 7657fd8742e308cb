#pragma once
// The collections scripts are read from. Scripts are read straight into
// their handles and take no part in the act switch's purge and reload;
// each collection is registered in the script registry under its number.

#include "foundation/uu/UUDirectory.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMScript.h"
#include "mm/resources/MMScriptFile.h"

#include <cstdint>

class MMScriptCollection {
 public:
  explicit MMScriptCollection(uint16_t collectionNumber);
  virtual ~MMScriptCollection();
  MMScriptCollection(const MMScriptCollection&) = delete;
  MMScriptCollection& operator=(const MMScriptCollection&) = delete;

  uint16_t GetCollectionNumber() const { return mCollectionNumber; }
  // Replaces the handle's data with the entry's; an entry that cannot be
  // read leaves the data empty (no rows).
  virtual void Load(MMScriptData& data, int16_t entry) = 0;

 private:
  uint16_t mCollectionNumber;
};

// The collection over a script file, which it owns.
class MMScriptLoader : public MMScriptCollection {
 public:
  // Takes the open file over.
  explicit MMScriptLoader(MMScriptFile* file);
  ~MMScriptLoader() override;

  void Load(MMScriptData& data, int16_t entry) override;

  MMScriptFile* GetFile() const { return mFile; }

 private:
  // Whether the entry's rows fit its subfile; its bytes when they do.
  bool GetEntryShape(int16_t entry, const uint8_t** bytes, int32_t* size, int32_t* rowSize) const;
  bool ReadEntry(MMScriptData& data, int16_t entry);
  void ConvertTexts(MMScriptData& data) const;

  MMScriptFile* mFile;
};

MMCollectionRegistry<MMScriptCollection>& MMScriptRegistry();

// Opens a script file (without names or checksum) and makes its loader.
// A file made for another ANSI code page is refused with
// MME_SCRIPT_FILE_WRONG_LANGUAGE unless its language is -1; null (with the
// error recorded) when the file cannot be used.
MMScriptLoader* MMOpenScriptFile(const UUDirectory& directory, const char* name);
void MMDeleteAllScriptCollections();
// -1 when the collection is null or not registered.
MMResourceId MMMakeScriptId(MMScriptCollection* collection, int16_t item);
// Null when the id's collection is not registered.
MMScriptCollection* MMGetScriptCollection(MMResourceId id);

// Converts a text of the given Macintosh code page to the ANSI code page in
// place. A text whose conversion fails or would not fit its own bytes is
// kept as it was; a shorter result is terminated after its bytes.
void MMConvertScriptText(char* text, int32_t length, uint32_t codePage);
