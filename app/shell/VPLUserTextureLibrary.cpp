#include "app/shell/VPLUserTextureLibrary.h"

#include "app/objects/VPLStringList.h"
#include "app/shell/VPLPictureImport.h"
#include "mm/drawing/MMDrawingSurfaceBlitRequest.h"

#include <strings.h>

#include <cstring>

namespace {

// The last bytes of the name equal the extension, whatever their case.
bool EndsWith(const char* name, const std::string& extension) {
  const size_t length = std::strlen(name);
  return !extension.empty() && length >= extension.size() &&
         strcasecmp(name + length - extension.size(), extension.c_str()) == 0;
}

}  // namespace

VPLUserTexture::VPLUserTexture(const UUDirectory& directory, const char* fileName) {
  mDirectory.Assign(directory);
  const size_t length = strnlen(fileName, kUUPathCapacity - 1);
  std::memcpy(mFileName, fileName, length);
}

bool VPLUserTexture::Draw(MMSurface* surface) const {
  if (surface == nullptr) return false;
  const UURect target = surface->GetRect();
  UUOwned<MMSurface> picture = VPLLoadPictureToFit(mDirectory, mFileName, target);
  if (!picture) return false;
  picture->BeginDraw();
  MMBitmap image;
  if (picture->GetImageDescription(image)) {
    MMDrawingSurfaceBlitRequest blit;
    if (blit.Prepare(&image, surface, target)) blit.Execute();
  }
  picture->EndDraw();
  return true;
}

VPLUserTextureLibrary::VPLUserTextureLibrary(const UUDirectory& directory) {
  mDirectory.Assign(directory);
}

VPLUserTextureLibrary::~VPLUserTextureLibrary() { Clear(); }

void VPLUserTextureLibrary::Clear() {
  for (VPLUserTexture* texture : mTextures) delete texture;
  mTextures.Clear();
}

bool VPLUserTextureLibrary::Scan() {
  const VPLStringList strings;
  mBmpExtension = strings.GetText(kVPLTextBmpExtension);
  mJpegExtension = strings.GetText(kVPLTextJpegExtension);
  Clear();
  return UUForEachDirectoryEntry(mDirectory, *this);
}

bool VPLUserTextureLibrary::ProcessEntry(const UUDirectoryEntry& entry) {
  if (entry.mIsFile &&
      (EndsWith(entry.mName, mBmpExtension) || EndsWith(entry.mName, mJpegExtension))) {
    AddTexture(mDirectory, entry.mName);
  }
  return true;
}

void VPLUserTextureLibrary::AddTexture(const UUDirectory& directory, const char* fileName) {
  mTextures.PushBack(new VPLUserTexture(directory, fileName));
}

const VPLUserTexture* VPLUserTextureLibrary::GetTextureAt(int32_t n) const {
  int32_t i = 0;
  for (VPLUserTexture* texture : mTextures) {
    if (i++ == n) return texture;
  }
  return nullptr;
}

int32_t VPLUserTextureLibrary::FindByName(const char* name) const {
  int32_t i = 0;
  for (VPLUserTexture* texture : mTextures) {
    if (strcasecmp(texture->GetFileName(), name) == 0) return i;
    ++i;
  }
  return -1;
}
