#pragma once
// A texture collection whose items are not stored pictures but images
// drawn on demand into an offscreen surface of the item's size and turned
// into 32-bit texels. Nothing is cached: every load draws the item again
// (the engine keeps the driver texture it makes).

#include "foundation/uu/UURect.h"
#include "mm3d/MM3DTextureCollection.h"
#include "mm3d/drivers/MM3DDriverTypes.h"

#include "mm/drawing/MMBitmap.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

class MMSurface;

class RU3DTextureCollectionFromSurface : public MM3DTextureCollection {
 public:
  // Every item begins with its rectangle: the texture's size and the
  // surface's coordinate frame.
  struct Entry {
    virtual ~Entry() = default;
    UURect mRect;
  };

  explicit RU3DTextureCollectionFromSurface(uint16_t collectionNumber);
  ~RU3DTextureCollectionFromSurface() override;

  bool LoadReferenced() override { return true; }
  void EndLoadReferenced(bool /*success*/) override {}
  void PurgeUnreferenced() override {}
  // Draws the item and converts it; false past the end or when no surface
  // can be made, the image then empty.
  bool LoadImage(int16_t i, MM3DDriverTextureImage& image) override;
  // The rectangle's size; (0, 0) past the end.
  UUPoint GetSize(int16_t i) override;
  // Draws the item to answer; 0 past the end or on failure.
  int32_t GetPaletteCount(int16_t i) override;
  bool IsOpaque(int16_t i) override;
  int32_t GetBitsPerPixel(int16_t /*i*/) override { return 32; }
  uint16_t FindByName(const char* /*name*/) override { return kMM3DTextureNotFound; }
  char* GetName(char* buffer, int16_t i) override;

  virtual MM3DBlendFactors GetBlendFactors(int16_t i) = 0;
  // Draws the item into a surface covering its rectangle.
  virtual bool DrawEntry(int16_t i, MMSurface* surface) = 0;
  // The surface's pixels; a sub-format other than 0 makes the fourth byte
  // of each pixel a transparency.
  virtual bool GetImage(int16_t i, MMSurface* surface, MMBitmap& description);

  int16_t GetEntryCount() const { return static_cast<int16_t>(mEntries.size()); }
  // Frees the item of the id once nothing shows it any more; the next item
  // added takes its place. Ids of other collections change nothing.
  void ReleaseEntry(MMResourceId id);

  // Gives every 32-bit pixel of the description (bytes b, g, r, x as one
  // little-endian word) the function's answer for it, several at a time.
  template <typename Function>
  static void TransformPixels(const MMBitmap& description, Function function);
  // The same for count pixels in a row.
  template <typename Function>
  static void TransformRow(uint8_t* row, int32_t count, Function function);

 protected:
  // Null past the end.
  Entry* GetEntry(int16_t i) const;
  // The id of the new item, in the first place a released item left;
  // -1 when the collection is full.
  MMResourceId AppendEntry(std::unique_ptr<Entry> entry);
  // Replaces the item of the id (appends when the index is past the end);
  // -1 changes nothing.
  void ReplaceEntry(MMResourceId id, std::unique_ptr<Entry> entry);

 private:
  std::vector<std::unique_ptr<Entry>> mEntries;
};

template <typename Function>
void RU3DTextureCollectionFromSurface::TransformRow(uint8_t* row, int32_t count,
                                                    Function function) {
  // Runs of a length known when compiling, through a local copy nothing
  // else can alias, let the compiler work on several pixels at once.
  constexpr int32_t kRun = 8;
  int32_t x = 0;
  for (; x + kRun <= count; x += kRun) {
    uint32_t run[kRun];
    std::memcpy(run, row + static_cast<ptrdiff_t>(x) * 4, sizeof run);
    for (uint32_t& pixel : run) pixel = function(pixel);
    std::memcpy(row + static_cast<ptrdiff_t>(x) * 4, run, sizeof run);
  }
  for (; x < count; ++x) {
    uint32_t pixel;
    std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, sizeof pixel);
    pixel = function(pixel);
    std::memcpy(row + static_cast<ptrdiff_t>(x) * 4, &pixel, sizeof pixel);
  }
}

template <typename Function>
void RU3DTextureCollectionFromSurface::TransformPixels(const MMBitmap& description,
                                                       Function function) {
  for (int32_t y = description.mRect.mTop; y < description.mRect.mBottom; ++y) {
    TransformRow(description.GetPixelAddress(description.mRect.mLeft, y), description.GetWidth(),
                 function);
  }
}
