// Pixel formats: a fixed list of window and bitmap formats, accelerated and
// generic, and the format each window or memory device context holds. A
// window that holds a format is shown through OpenGL by the desktop.

#include "platform/opengl/OpenGLTargets.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/KernelObject.h"
#include "platform/win32/WindowManager.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace vpl::platform {
namespace {

constexpr int kColorBits[] = {16, 24, 32};
constexpr int kDepthBits[] = {0, 16, 32};
constexpr int kFormatsPerKind = 3 * 3;
constexpr int kFormatCount = 4 * kFormatsPerKind;
constexpr DWORD kWindowFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
constexpr DWORD kBitmapFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;

std::mutex gFormatsMutex;
std::map<HWND, int>& WindowFormats() {
  static auto* formats = new std::map<HWND, int>;
  return *formats;
}
std::map<HDC, int>& BitmapFormats() {
  static auto* formats = new std::map<HDC, int>;
  return *formats;
}

DWORD FlagsOf(const OpenGLFormat& format) {
  return (format.window ? kWindowFlags : kBitmapFlags) |
         (format.accelerated ? 0 : PFD_GENERIC_FORMAT);
}

PIXELFORMATDESCRIPTOR DescriptorOf(const OpenGLFormat& format) {
  const bool wide = format.colorBits != 16;
  return PIXELFORMATDESCRIPTOR{.nSize = sizeof(PIXELFORMATDESCRIPTOR),
                               .nVersion = 1,
                               .dwFlags = FlagsOf(format),
                               .iPixelType = PFD_TYPE_RGBA,
                               .cColorBits = static_cast<BYTE>(format.colorBits),
                               .cRedBits = static_cast<BYTE>(wide ? 8 : 5),
                               .cRedShift = static_cast<BYTE>(wide ? 16 : 11),
                               .cGreenBits = static_cast<BYTE>(wide ? 8 : 6),
                               .cGreenShift = static_cast<BYTE>(wide ? 8 : 5),
                               .cBlueBits = static_cast<BYTE>(wide ? 8 : 5),
                               .cDepthBits = static_cast<BYTE>(format.depthBits),
                               .iLayerType = PFD_MAIN_PLANE};
}

// The window's desktop shows it with OpenGL for its format, or plainly.
void ShowWindowFormat(HWND topLevel, int index) {
  OpenGLFormat format;
  if (index != 0 && OpenGLFormatOf(index, format)) {
    const DesktopGLFormat shown{format.colorBits, format.depthBits};
    SetDesktopOpenGL(topLevel, &shown);
  } else {
    SetDesktopOpenGL(topLevel, nullptr);
  }
}

}  // namespace

// Window formats first, then bitmap formats; within each, accelerated
// before generic, then ascending colour and depth bits.
bool OpenGLFormatOf(int index, OpenGLFormat& format) {
  if (index < 1 || index > kFormatCount) return false;
  const int i = index - 1;
  const int kind = i / kFormatsPerKind;
  const int variant = i % kFormatsPerKind;
  format = OpenGLFormat{.window = kind < 2,
                        .accelerated = kind % 2 == 0,
                        .colorBits = kColorBits[variant / 3],
                        .depthBits = kDepthBits[variant % 3]};
  return true;
}

int OpenGLFormatCount() { return kFormatCount; }

bool OpenGLTargetOf(HDC dc, OpenGLTarget& target) {
  const auto gdi = LookUpGdi<GdiDC>(dc);
  if (gdi && gdi->mWindow.pixels) {
    std::lock_guard lock(WaitMutex());
    for (HWND handle : TopLevelWindows()) {
      const WindowRecord* record = FindWindowRecord(handle);
      if (record != nullptr && record->pixels == gdi->mWindow.pixels) {
        target = OpenGLTarget{.topLevel = handle};
        return true;
      }
    }
  } else if (gdi && gdi->mBitmap && gdi->mBitmap->mBits) {
    target = OpenGLTarget{.bitmap = gdi->mBitmap};
    return true;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

int PixelFormatOfTarget(HDC dc, const OpenGLTarget& target) {
  std::lock_guard lock(gFormatsMutex);
  const auto found =
      target.topLevel ? WindowFormats().find(target.topLevel) : WindowFormats().end();
  if (found != WindowFormats().end()) return found->second;
  const auto bitmap = BitmapFormats().find(dc);
  return !target.topLevel && bitmap != BitmapFormats().end() ? bitmap->second : 0;
}

void ForgetPixelFormat(HDC dc, const OpenGLTarget& target) {
  {
    std::lock_guard lock(gFormatsMutex);
    if (!target.topLevel) {
      BitmapFormats().erase(dc);
      return;
    }
    if (WindowFormats().erase(target.topLevel) == 0) return;
  }
  ShowWindowFormat(target.topLevel, 0);
}

}  // namespace vpl::platform

using namespace vpl::platform;

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  OpenGLTarget target;
  if (descriptor == nullptr || !OpenGLTargetOf(dc, target)) return 0;
  for (int index = 1; index <= kFormatCount; ++index) {
    OpenGLFormat format;
    OpenGLFormatOf(index, format);
    const DWORD required = descriptor->dwFlags & (kWindowFlags | kBitmapFlags);
    if ((FlagsOf(format) & required) == required && format.colorBits >= descriptor->cColorBits &&
        format.depthBits >= descriptor->cDepthBits && descriptor->iPixelType == PFD_TYPE_RGBA) {
      return index;
    }
  }
  return 0;
}

int DescribePixelFormat(HDC dc, int index, UINT size, LPPIXELFORMATDESCRIPTOR descriptor) {
  OpenGLTarget target;
  OpenGLFormat format;
  if (!OpenGLTargetOf(dc, target)) return 0;
  if (descriptor == nullptr) return kFormatCount;
  if (!OpenGLFormatOf(index, format) || size < sizeof(PIXELFORMATDESCRIPTOR)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  *descriptor = DescriptorOf(format);
  return kFormatCount;
}

int GetPixelFormat(HDC dc) {
  OpenGLTarget target;
  return OpenGLTargetOf(dc, target) ? PixelFormatOfTarget(dc, target) : 0;
}

BOOL SetPixelFormat(HDC dc, int index, const PIXELFORMATDESCRIPTOR*) {
  OpenGLTarget target;
  OpenGLFormat format;
  if (!OpenGLTargetOf(dc, target)) return FALSE;
  const int current = PixelFormatOfTarget(dc, target);
  if (!OpenGLFormatOf(index, format) || format.window != (target.topLevel != nullptr) ||
      (current != 0 && current != index)) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  if (current == index) return TRUE;
  {
    std::lock_guard lock(gFormatsMutex);
    if (target.topLevel) {
      WindowFormats()[target.topLevel] = index;
    } else {
      BitmapFormats()[dc] = index;
    }
  }
  if (target.topLevel) ShowWindowFormat(target.topLevel, index);
  return TRUE;
}
