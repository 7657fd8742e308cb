#include "mm/drawing/MMPrintableSurface.h"

#include "foundation/af/AFPrintSessionBase.h"
#include "mm/drawing/MMDrawingSurface.h"

#include <cstring>

namespace {

// The surface's header followed by its palette as the colour table.
struct PrintBitmapInfo {
  BITMAPINFOHEADER mHeader;
  RGBQUAD mColors[AFPalette::kEntryCount];

  const BITMAPINFO* AsBitmapInfo() const { return reinterpret_cast<const BITMAPINFO*>(this); }
};

PrintBitmapInfo DescribeSurface(const MMDrawingSurface& surface) {
  PrintBitmapInfo info{};
  info.mHeader = surface.GetInfoHeader();
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    const AFPaletteEntry& entry = surface.GetPalette().mEntries[i];
    info.mColors[i] = RGBQUAD{entry.mBlue, entry.mGreen, entry.mRed, entry.mFlags};
  }
  return info;
}

}  // namespace

bool MMPrintableSurface::Draw(AFPrintSessionBase& session) {
  if (mSurface == nullptr) return false;
  const UURect rect = mSurface->GetRect();
  mSurface->BeginDraw();
  const PrintBitmapInfo info = DescribeSurface(*mSurface);
  // DIB rows count from the bottom.
  const int32_t sourceY = static_cast<int16_t>(info.mHeader.biHeight) - rect.mBottom;
  const int lines =
      StretchDIBits(session.GetDC(), mPageRect.mLeft, mPageRect.mTop, mPageRect.GetWidth(),
                    mPageRect.GetHeight(), rect.mLeft, sourceY, rect.GetWidth(), rect.GetHeight(),
                    mSurface->GetBits(), info.AsBitmapInfo(), DIB_RGB_COLORS, SRCCOPY);
  mSurface->EndDraw();
  return lines > 0;
}
