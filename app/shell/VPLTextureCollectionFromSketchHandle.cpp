#include "app/shell/VPLTextureCollectionFromSketchHandle.h"

#include "mm/drawing/MMSurface.h"

#include <cstring>

std::unique_ptr<RU3DTextureCollectionFromSurface::Entry>
VPLTextureCollectionFromSketchHandle::MakeEntry(const UURect& rect, const VPLSketch& sketch) {
  auto entry = std::make_unique<SketchEntry>();
  entry->mRect = rect;
  entry->mDirectory.Assign(sketch.GetDirectory());
  std::strcpy(entry->mFileName, sketch.GetFileName());
  return entry;
}

MMResourceId VPLTextureCollectionFromSketchHandle::AddEntry(const UURect& rect,
                                                            const VPLSketch& sketch) {
  if (AppendEntry(MakeEntry(rect, sketch)) == kMMNoResource) return kMMNoResource;
  return AppendEntry(MakeEntry(rect, sketch));
}

MMResourceId VPLTextureCollectionFromSketchHandle::SetEntry(MMResourceId current,
                                                            const UURect& rect,
                                                            const VPLSketch& sketch) {
  if (current == kMMNoResource) return kMMNoResource;
  const MMResourceId partner = current ^ 1;
  ReplaceEntry(partner, MakeEntry(rect, sketch));
  return partner;
}

bool VPLTextureCollectionFromSketchHandle::DrawEntry(int16_t i, MMSurface* surface) {
  const auto* entry = static_cast<const SketchEntry*>(GetEntry(i));
  if (entry == nullptr || surface == nullptr) return false;
  const VPLSketch sketch(entry->mDirectory, entry->mFileName);
  surface->BeginDraw();
  MMBitmap thumbnail;
  const bool drawn = surface->GetImageDescription(thumbnail) && sketch.ReadThumbnail(thumbnail);
  surface->EndDraw();
  return drawn;
}
