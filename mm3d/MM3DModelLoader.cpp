#include "mm3d/MM3DModelLoader.h"

#include "foundation/al/ALAllocator.h"
#include "mm/resources/MMTimestamp.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DModel.h"
#include "mm3d/MM3DModelResourceFile.h"

MM3DModelLoader::MM3DModelLoader(uint16_t collectionNumber, MM3DModelResourceFile* file,
                                 int16_t subfileCount)
    : MM3DModelCollection(collectionNumber), mFile(file), mSubfileCount(subfileCount) {}

MM3DModelLoader::~MM3DModelLoader() {
  mFile->Close(false);
  mFile->CloseIfOpen();
  delete mFile;
}

UURefCount<MM3DModel> MM3DModelLoader::GetModel(int16_t i, MM3DDriverTextureMap* map) {
  int32_t offset = 0;
  int32_t size = 0;
  if (i < 0 || i >= mSubfileCount || !mFile->GetSubfileRange(i, &offset, &size)) return {};
  UURecoverableCDFile& file = mFile->GetFile();
  // A failed request must not stop the next one.
  file.SetError(kUUNoError);
  if (!file.Seek(offset, kUUSeekFromStart, nullptr)) return {};
  MM3DCompiledTextureModDatabase database;
  return MM3DReadModelBlock(file, size, database, map);
}

MM3DModelLoader* MM3DOpenModelResourceFile(const UUDirectory& directory, const char* name,
                                           bool keepNames) {
  auto* file = new (ALGlobalAllocator) MM3DModelResourceFile();
  if (!file->Open(directory, name, keepNames, false)) {
    file->Close(false);
    delete file;
    return nullptr;
  }
  MMCheckTimestamp(file->GetKindCode(), file->GetCollectionNumber(), file->GetStamp1(),
                   file->GetStamp2());
  return new (ALGlobalAllocator) MM3DModelLoader(static_cast<uint16_t>(file->GetCollectionNumber()),
                                                 file, file->GetSubfileCount());
}
