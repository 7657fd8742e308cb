#pragma once
// Internal to the platform layer: the pixel formats offered, and what a
// device context draws into as OpenGL sees it: a top-level window's desktop
// window, or the bitmap selected into a memory device context.

#include "platform/opengl/opengl.h"
#include "platform/win32/GdiObjects.h"

#include <memory>

namespace vpl::platform {

struct OpenGLFormat {
  bool window = false;  // a double-buffered window format, else a bitmap one
  bool accelerated = false;
  int colorBits = 32;
  int depthBits = 0;
};

// Formats are numbered from 1; false for a number out of range.
bool OpenGLFormatOf(int index, OpenGLFormat& format);
int OpenGLFormatCount();

struct OpenGLTarget {
  HWND topLevel = nullptr;            // a window's device context
  std::shared_ptr<GdiBitmap> bitmap;  // a memory device context's bitmap
};

// False, with ERROR_INVALID_HANDLE, for a bad handle or a memory device
// context without a bitmap.
bool OpenGLTargetOf(HDC dc, OpenGLTarget& target);

// The format set on a window or memory device context (0 none).
int PixelFormatOfTarget(HDC dc, const OpenGLTarget& target);
// A format goes with the last context made on its window or memory device
// context, so that the window can be shown without OpenGL again and the
// device context can take another format.
void ForgetPixelFormat(HDC dc, const OpenGLTarget& target);

// Whether the desktop shows the top-level window through OpenGL now, after
// a pump of the main thread; tests check the switch between 2D and 3D.
bool IsShownThroughOpenGL(HWND topLevel);

}  // namespace vpl::platform
