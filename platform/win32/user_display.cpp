// Display settings and the cursor shown: both are recorded here and applied
// by the desktop on the main thread.

#include <SDL.h>

#include <atomic>
#include <mutex>

#include "platform/win32/CursorFile.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/DisplayState.h"
#include "platform/win32/WindowPixels.h"

namespace vpl::platform {
namespace {

struct RecordedMode {
  bool fullScreen = false;
  LONG width = 0;
  LONG height = 0;
};

std::mutex gModeMutex;
RecordedMode gMode;

// The desktop starts with the arrow.
std::atomic<HCURSOR> gCursor{reinterpret_cast<HCURSOR>(IDC_ARROW)};
HCURSOR gShownCursor = reinterpret_cast<HCURSOR>(IDC_ARROW);  // main thread only
SDL_Cursor* gSdlCursor = nullptr;                             // main thread only

bool IsSupportedDepth(DWORD bits) { return bits == 8 || bits == 16 || bits == 24 || bits == 32; }

SDL_SystemCursor SystemCursorOf(HCURSOR cursor) {
  if (cursor == reinterpret_cast<HCURSOR>(IDC_IBEAM)) return SDL_SYSTEM_CURSOR_IBEAM;
  if (cursor == reinterpret_cast<HCURSOR>(IDC_WAIT)) return SDL_SYSTEM_CURSOR_WAIT;
  return SDL_SYSTEM_CURSOR_ARROW;
}

SDL_Cursor* CreateSdlCursor(HCURSOR handle) {
  CursorImage image;
  if (!FileCursorImage(handle, image)) return SDL_CreateSystemCursor(SystemCursorOf(handle));
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      image.argb.data(), image.width, image.height, 32, image.width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return nullptr;
  SDL_Cursor* cursor = SDL_CreateColorCursor(surface, image.hotX, image.hotY);
  SDL_FreeSurface(surface);
  return cursor;
}

}  // namespace

SDL_Rect ScaledArea(SIZE client, SIZE shown) {
  if (client.cx <= 0 || client.cy <= 0) return SDL_Rect{0, 0, shown.cx, shown.cy};
  const int64_t byWidth = static_cast<int64_t>(shown.cx) * client.cy;
  const int64_t byHeight = static_cast<int64_t>(shown.cy) * client.cx;
  const int width = byWidth <= byHeight ? shown.cx : static_cast<int>(byHeight / client.cy);
  const int height = byWidth <= byHeight ? static_cast<int>(byWidth / client.cx) : shown.cy;
  return SDL_Rect{(shown.cx - width) / 2, (shown.cy - height) / 2, width, height};
}

bool IsFullScreenSize(LONG width, LONG height) {
  std::lock_guard lock(gModeMutex);
  return gMode.fullScreen && gMode.width == width && gMode.height == height;
}

void SyncDesktopCursor() {
  const HCURSOR wanted = gCursor.load();
  if (wanted == gShownCursor) return;
  gShownCursor = wanted;
  if (wanted == nullptr) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_Cursor* cursor = CreateSdlCursor(wanted);
  if (cursor != nullptr) {
    SDL_SetCursor(cursor);
    if (gSdlCursor != nullptr) SDL_FreeCursor(gSdlCursor);
    gSdlCursor = cursor;
  }
  SDL_ShowCursor(SDL_ENABLE);
}

void PresentScaled(SDL_Surface* target, const WindowPixels& pixels) {
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(pixels.pixels.data()), pixels.width, pixels.height, 32,
      pixels.width * 4, SDL_PIXELFORMAT_RGB888);
  if (source == nullptr) return;
  SDL_Rect area = ScaledArea(SIZE{pixels.width, pixels.height}, SIZE{target->w, target->h});
  SDL_BlitScaled(source, nullptr, target, &area);
  SDL_FreeSurface(source);
}

POINT ScaledToClient(POINT point, SIZE shown, SIZE client) {
  if (shown.cx == client.cx && shown.cy == client.cy) return point;
  const SDL_Rect area = ScaledArea(client, shown);
  if (area.w <= 0 || area.h <= 0) return point;
  return POINT{static_cast<LONG>(static_cast<int64_t>(point.x - area.x) * client.cx / area.w),
               static_cast<LONG>(static_cast<int64_t>(point.y - area.y) * client.cy / area.h)};
}

}  // namespace vpl::platform

using namespace vpl::platform;

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
  if (mode == nullptr) {
    std::lock_guard lock(gModeMutex);
    gMode = RecordedMode{};
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (mode->dmSize < sizeof(DEVMODEA)) return DISP_CHANGE_BADMODE;
  if ((flags & ~CDS_FULLSCREEN) != 0) return DISP_CHANGE_BADFLAGS;
  const DWORD needed = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  const SIZE screen = ScreenSizeForModeSwitch();
  if ((mode->dmFields & needed) != needed || !IsSupportedDepth(mode->dmBitsPerPel) ||
      mode->dmPelsWidth == 0 || mode->dmPelsHeight == 0 ||
      mode->dmPelsWidth > static_cast<DWORD>(screen.cx) ||
      mode->dmPelsHeight > static_cast<DWORD>(screen.cy)) {
    return DISP_CHANGE_BADMODE;
  }
  std::lock_guard lock(gModeMutex);
  gMode = RecordedMode{(flags & CDS_FULLSCREEN) != 0, static_cast<LONG>(mode->dmPelsWidth),
                       static_cast<LONG>(mode->dmPelsHeight)};
  return DISP_CHANGE_SUCCESSFUL;
}

HCURSOR SetCursor(HCURSOR cursor) { return gCursor.exchange(cursor); }

HCURSOR GetCursor() { return gCursor.load(); }
