#include "app/shell/VPLTextureCollectionFromFile.h"

#include <strings.h>

#include <cstring>

std::unique_ptr<RU3DTextureCollectionFromSurface::Entry> VPLTextureCollectionFromFile::MakeEntry(
    const UURect& rect, int32_t picture) {
  auto entry = std::make_unique<PictureEntry>();
  entry->mRect = rect;
  entry->mPicture = picture;
  return entry;
}

bool VPLTextureCollectionFromFile::Load(const UUDirectory& directory) {
  mLibrary = std::make_unique<VPLUserTextureLibrary>(directory);
  if (!mLibrary->Scan()) return false;
  for (int32_t i = 0; i < mLibrary->GetCount(); ++i)
    AddEntry(UURect(0, 0, kTextureSide, kTextureSide), i);
  return true;
}

int32_t VPLTextureCollectionFromFile::GetTextureId(int32_t index) const {
  if (index < 0 || index >= GetEntryCount()) return kMMNoResource;
  return MMMakeResourceId(GetCollectionNumber(), static_cast<uint16_t>(index));
}

const VPLUserTexture* VPLTextureCollectionFromFile::PictureOf(int16_t i) const {
  const auto* entry = static_cast<const PictureEntry*>(GetEntry(i));
  if (entry == nullptr || mLibrary == nullptr) return nullptr;
  return mLibrary->GetTextureAt(entry->mPicture);
}

MMResourceId VPLTextureCollectionFromFile::FindTextureId(const char* fileName) const {
  for (int16_t i = 0; i < GetEntryCount(); ++i) {
    const VPLUserTexture* picture = PictureOf(i);
    if (picture != nullptr && strcasecmp(picture->GetFileName(), fileName) == 0)
      return GetTextureId(i);
  }
  return kMMNoResource;
}

const char* VPLTextureCollectionFromFile::GetTextureFileName(MMResourceId id) const {
  if (id == kMMNoResource || MMCollectionOf(id) != GetCollectionNumber()) return nullptr;
  const VPLUserTexture* picture = PictureOf(MMItemOf(id));
  return picture != nullptr ? picture->GetFileName() : nullptr;
}

bool VPLTextureCollectionFromFile::GetTextureFileName(MMResourceId id, char* fileName) const {
  const char* name = GetTextureFileName(id);
  if (name == nullptr) return false;
  std::strcpy(fileName, name);
  return true;
}

MMResourceId VPLTextureCollectionFromFile::AddEntry(const UURect& rect, int32_t picture) {
  return AppendEntry(MakeEntry(rect, picture));
}

void VPLTextureCollectionFromFile::SetEntry(MMResourceId id, const UURect& rect, int32_t picture) {
  ReplaceEntry(id, MakeEntry(rect, picture));
}

bool VPLTextureCollectionFromFile::DrawEntry(int16_t i, MMSurface* surface) {
  const VPLUserTexture* picture = PictureOf(i);
  return picture != nullptr && picture->Draw(surface);
}
