#pragma once
// The model collection over a model resource file: each request reads the
// item's subfile and builds a new model from it.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DModelCollection.h"

#include <cstdint>

class MM3DModelResourceFile;

class MM3DModelLoader : public MM3DModelCollection {
 public:
  // Takes over the open file.
  MM3DModelLoader(uint16_t collectionNumber, MM3DModelResourceFile* file, int16_t subfileCount);
  ~MM3DModelLoader() override;

  bool LoadReferenced() override { return true; }
  void EndLoadReferenced(bool) override {}
  void PurgeUnreferenced() override {}
  // Empty for an item outside the file or a subfile that does not hold a
  // whole model.
  UURefCount<MM3DModel> GetModel(int16_t i, MM3DDriverTextureMap* map) override;

  int16_t GetSubfileCount() const { return mSubfileCount; }
  MM3DModelResourceFile& GetFile() const { return *mFile; }

 private:
  MM3DModelResourceFile* mFile;
  int16_t mSubfileCount;
};

// Null, with the file's error recorded, when it cannot be opened. The
// extension is read only when keepNames is set; the checksum is not
// verified.
MM3DModelLoader* MM3DOpenModelResourceFile(const UUDirectory& directory, const char* name,
                                           bool keepNames);
