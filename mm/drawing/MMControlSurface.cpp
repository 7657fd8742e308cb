#include "mm/drawing/MMControlSurface.h"

MMControlSurface::MMControlSurface(HWND window) : mWindow(window) { mDC = ::GetDC(window); }

MMControlSurface::~MMControlSurface() {
  if (mDC != nullptr) ::ReleaseDC(mWindow, mDC);
}

UURect MMControlSurface::GetRect() const {
  RECT client{};
  GetClientRect(mWindow, &client);
  return UURect(client.left, client.top, client.right, client.bottom);
}

int32_t MMControlSurface::GetPixelFormat() const {
  return GetDeviceCaps(mDC, BITSPIXEL) == 8 ? kMMFormat8 : 3;
}

int32_t MMControlSurface::CopyFrom(MMDrawingSurface& source, const UURect& rect) {
  return CopyFromAt(source, rect.GetTopLeft(), rect);
}

int32_t MMControlSurface::CopyFromAt(MMDrawingSurface& source, const UUPoint& sourcePoint,
                                     const UURect& rect) {
  BeginDraw();
  source.BeginDraw();
  const int32_t result = BitBlt(GetDC(), rect.mLeft, rect.mTop, rect.GetWidth(), rect.GetHeight(),
                                source.GetDC(), sourcePoint.mX, sourcePoint.mY, SRCCOPY);
  source.EndDraw();
  EndDraw();
  return result;
}

bool MMControlSurface::Scroll(const UURect& rect, int32_t dx, int32_t dy) {
  if (dx == 0 && dy == 0) return true;
  const RECT area{rect.mLeft, rect.mTop, rect.mRight, rect.mBottom};
  RECT update{};
  BeginDraw();
  ScrollDC(GetDC(), dx, dy, &area, &area, nullptr, &update);
  EndDraw();
  UURect strip = rect;
  if (dx > 0) {
    strip.mRight = rect.mLeft + dx;
  } else if (dx < 0) {
    strip.mLeft = rect.mRight + dx;
  } else if (dy > 0) {
    strip.mBottom = rect.mTop + dy;
  } else {
    strip.mTop = rect.mBottom + dy;
  }
  return UURect(update.left, update.top, update.right, update.bottom) == strip;
}
