// wgl contexts. A window's context is an SDL GL context on the desktop
// window of its top-level window. A memory device context's context is a
// surfaceless EGL context drawing into a framebuffer object of the bitmap's
// size: it needs no display at all, so pictures for export, printing and
// thumbnails render on every machine, with or without an X server.
// SwapBuffers copies the framebuffer into the bitmap. A window shown larger
// than its client area (full screen on a bigger screen) draws into a
// framebuffer object of the client's size too, which SwapBuffers shows
// scaled with its proportions kept, centred between black bars.

#include "platform/opengl/OpenGLLibrary.h"
#include "platform/opengl/OpenGLTargets.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/DisplayState.h"
#include "platform/win32/XErrorTrap.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VPL_LEAK_CHECKED 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define VPL_LEAK_CHECKED 1
#endif
#ifdef VPL_LEAK_CHECKED
#include <sanitizer/lsan_interface.h>
#endif

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <SDL.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace vpl::platform {
namespace {

constexpr GLenum kFramebuffer = 0x8D40;
constexpr GLenum kRenderbuffer = 0x8D41;
constexpr GLenum kColorAttachment = 0x8CE0;
constexpr GLenum kDepthAttachment = 0x8D00;
constexpr GLenum kFramebufferComplete = 0x8CD5;
constexpr GLenum kDepthComponent16 = 0x81A5;
constexpr GLenum kDepthComponent24 = 0x81A6;
constexpr GLenum kBgra = 0x80E1;
constexpr GLenum kPackAlignment = 0x0D05;
constexpr GLenum kReadFramebuffer = 0x8CA8;
constexpr GLenum kDrawFramebuffer = 0x8CA9;
constexpr GLenum kScissorTest = 0x0C11;
constexpr GLenum kColorClearValue = 0x0C22;
constexpr GLenum kColorWritemask = 0x0C23;

struct Context {
  OpenGLTarget target;
  HDC dc = nullptr;  // the device context it was made for
  int format = 0;
  SDL_Window* window = nullptr;  // window contexts
  SDL_GLContext sdlContext = nullptr;
  EGLContext eglContext = EGL_NO_CONTEXT;  // bitmap contexts
  GLuint framebuffer = 0;
  GLuint renderbuffers[2] = {};  // colour, depth
  int width = 0;                 // of the framebuffer's storage
  int height = 0;
  bool scaled = false;            // a window context drawing into its framebuffer
  std::vector<uint8_t> readBack;  // the framebuffer's pixels as GL reads them
};

std::mutex gContextsMutex;
std::map<HGLRC, std::unique_ptr<Context>>& Contexts() {
  static auto* contexts = new std::map<HGLRC, std::unique_ptr<Context>>;
  return *contexts;
}

// The thread's current context and the device context it was made current
// with.
thread_local Context* tCurrent = nullptr;
thread_local HDC tCurrentDC = nullptr;

Context* FindContext(HGLRC handle) {
  std::lock_guard lock(gContextsMutex);
  const auto found = Contexts().find(handle);
  return found != Contexts().end() ? found->second.get() : nullptr;
}

EGLDisplay BitmapDisplay() {
  static const EGLDisplay display = [] {
    auto getDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    EGLDisplay made = getDisplay
                          ? getDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr)
                          : EGL_NO_DISPLAY;
    EGLint major = 0;
    EGLint minor = 0;
    return made != EGL_NO_DISPLAY && eglInitialize(made, &major, &minor) ? made : EGL_NO_DISPLAY;
  }();
  return display;
}

// SDL_GL_MakeCurrent, a request the server refuses failing it too.
bool MakeWindowCurrent(SDL_Window* window, SDL_GLContext context) {
  XErrorTrap trap(DesktopXDisplay());
  return SDL_GL_MakeCurrent(window, context) == 0 && !trap.Caught();
}

void Release(Context* context) {
  if (context == nullptr) return;
  if (context->sdlContext != nullptr) {
    MakeWindowCurrent(context->window, nullptr);
  } else {
    eglBindAPI(EGL_OPENGL_API);
    eglMakeCurrent(BitmapDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
}

// Gives the framebuffer storage of the size, made or remade when the size
// changed, and binds it; the context is current.
bool PrepareFramebuffer(Context& context, int width, int height) {
  const OpenGLHelperCalls* gl = HelperCalls();
  if (gl == nullptr || width <= 0 || height <= 0) return false;
  if (context.framebuffer == 0) {
    gl->glGenFramebuffers(1, &context.framebuffer);
    gl->glGenRenderbuffers(2, context.renderbuffers);
  }
  gl->glBindFramebuffer(kFramebuffer, context.framebuffer);
  if (context.width == width && context.height == height) return true;
  OpenGLFormat format;
  OpenGLFormatOf(context.format, format);
  gl->glBindRenderbuffer(kRenderbuffer, context.renderbuffers[0]);
  gl->glRenderbufferStorage(kRenderbuffer, GL_RGBA8, width, height);
  gl->glFramebufferRenderbuffer(kFramebuffer, kColorAttachment, kRenderbuffer,
                                context.renderbuffers[0]);
  if (format.depthBits != 0) {
    gl->glBindRenderbuffer(kRenderbuffer, context.renderbuffers[1]);
    gl->glRenderbufferStorage(kRenderbuffer,
                              format.depthBits > 16 ? kDepthComponent24 : kDepthComponent16, width,
                              height);
    gl->glFramebufferRenderbuffer(kFramebuffer, kDepthAttachment, kRenderbuffer,
                                  context.renderbuffers[1]);
  }
  context.width = width;
  context.height = height;
  return gl->glCheckFramebufferStatus(kFramebuffer) == kFramebufferComplete;
}

SIZE ClientSize(HWND topLevel) {
  RECT client{};
  GetClientRect(topLevel, &client);
  return SIZE{client.right, client.bottom};
}

SIZE DrawableSize(const Context& context) {
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(context.window, &width, &height);
  return SIZE{width, height};
}

// A window context draws into its framebuffer of the client's size while
// the window shows more than that, into the window itself otherwise (and
// when no framebuffer can be had). The context is current.
void AimWindowContext(Context& context) {
  const SIZE client = ClientSize(context.target.topLevel);
  const SIZE shown = DrawableSize(context);
  const bool larger =
      client.cx > 0 && client.cy > 0 && (client.cx != shown.cx || client.cy != shown.cy);
  context.scaled = larger && PrepareFramebuffer(context, client.cx, client.cy);
  if (!context.scaled && context.framebuffer != 0)
    HelperCalls()->glBindFramebuffer(kFramebuffer, 0);
}

// Clears to black whatever the caller's scissor, colour mask and clear
// colour, which are given back afterwards.
class BlackClear {
 public:
  explicit BlackClear(const OpenGLHelperCalls& gl) : mGl(gl) {
    mScissor = gl.glIsEnabled(kScissorTest);
    gl.glGetBooleanv(kColorWritemask, mMask);
    gl.glGetFloatv(kColorClearValue, mColour);
    gl.glDisable(kScissorTest);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);
  }
  ~BlackClear() {
    if (mScissor != GL_FALSE) mGl.glEnable(kScissorTest);
    mGl.glColorMask(mMask[0], mMask[1], mMask[2], mMask[3]);
    mGl.glClearColor(mColour[0], mColour[1], mColour[2], mColour[3]);
  }
  BlackClear(const BlackClear&) = delete;
  BlackClear& operator=(const BlackClear&) = delete;

 private:
  const OpenGLHelperCalls& mGl;
  GLboolean mScissor = GL_FALSE;
  GLboolean mMask[4] = {};
  GLfloat mColour[4] = {};
};

// The GL driver keeps state of its own for a scaled blit and lets go of it
// only as it is unloaded, after which the leak checker can no longer tell
// whose it was: under the checker, what the blit keeps is not counted.
class DriverStateScope {
 public:
#ifdef VPL_LEAK_CHECKED
  DriverStateScope() { __lsan_disable(); }
  ~DriverStateScope() { __lsan_enable(); }
#else
  DriverStateScope() {}
  ~DriverStateScope() {}
#endif
  DriverStateScope(const DriverStateScope&) = delete;
  DriverStateScope& operator=(const DriverStateScope&) = delete;
};

// The framebuffer's picture onto the window's back buffer, scaled into the
// largest area of its proportions; GL counts rows from the bottom.
void ShowScaled(const Context& context) {
  const OpenGLHelperCalls& gl = *HelperCalls();
  const SIZE shown = DrawableSize(context);
  const SDL_Rect area = ScaledArea(SIZE{context.width, context.height}, shown);
  gl.glBindFramebuffer(kReadFramebuffer, context.framebuffer);
  gl.glBindFramebuffer(kDrawFramebuffer, 0);
  {
    const BlackClear clear(gl);
    const DriverStateScope driverState;
    gl.glBlitFramebuffer(0, 0, context.width, context.height, area.x, shown.cy - area.y - area.h,
                         area.x + area.w, shown.cy - area.y, GL_COLOR_BUFFER_BIT, GL_LINEAR);
  }
  gl.glBindFramebuffer(kFramebuffer, context.framebuffer);
}

bool MakeCurrent(Context& context) {
  if (context.sdlContext != nullptr) {
    if (!MakeWindowCurrent(context.window, context.sdlContext)) return false;
    AimWindowContext(context);
    return true;
  }
  eglBindAPI(EGL_OPENGL_API);
  const GdiPixels pixels = context.target.bitmap->Pixels();
  return eglMakeCurrent(BitmapDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, context.eglContext) &&
         !pixels.Empty() && PrepareFramebuffer(context, pixels.width, pixels.height);
}

// Switches the thread to the context (null: none); another kind of context
// is released first, as the GL libraries require.
bool Switch(Context* context, HDC dc) {
  if (tCurrent != nullptr && tCurrent != context) Release(tCurrent);
  tCurrent = nullptr;
  tCurrentDC = nullptr;
  if (context == nullptr) return true;
  if (!MakeCurrent(*context)) {
    Release(context);
    return false;
  }
  tCurrent = context;
  tCurrentDC = dc;
  return true;
}

bool CreateWindowContext(Context& context) {
  context.window = DesktopSdlWindow(context.target.topLevel);
  if (context.window == nullptr || (SDL_GetWindowFlags(context.window) & SDL_WINDOW_OPENGL) == 0) {
    return false;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  // SDL catches the server's refusal of the context itself, not of making
  // it current, which it does next.
  XErrorTrap trap(DesktopXDisplay());
  context.sdlContext = SDL_GL_CreateContext(context.window);
  return context.sdlContext != nullptr && !trap.Caught();
}

bool CreateBitmapContext(Context& context) {
  const EGLDisplay display = BitmapDisplay();
  if (display == EGL_NO_DISPLAY || eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) return false;
  const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                               EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  context.eglContext = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
  return context.eglContext != EGL_NO_CONTEXT;
}

void Destroy(Context& context) {
  if (context.sdlContext != nullptr) {
    // A context the server refused is unknown to it.
    XErrorTrap trap(DesktopXDisplay());
    SDL_GL_DeleteContext(context.sdlContext);
  }
  if (context.eglContext != EGL_NO_CONTEXT) eglDestroyContext(BitmapDisplay(), context.eglContext);
}

// One row of the framebuffer as the bitmap holds it: 32-bit pixels keep
// their unused fourth byte zero.
void CopyRow(const uint8_t* in, uint8_t* out, int32_t width, GdiPixelFormat format) {
  if (format == GdiPixelFormat::kBgrx32) {
    for (int32_t x = 0; x < width; ++x, in += 4, out += 4) {
      uint32_t pixel;
      std::memcpy(&pixel, in, 4);
      pixel &= 0x00FFFFFFu;
      std::memcpy(out, &pixel, 4);
    }
    return;
  }
  for (int32_t x = 0; x < width; ++x, in += 4, out += 3) std::memcpy(out, in, 3);
}

// Copies the framebuffer into the bitmap, bottom row of the picture first
// as GL reads it, through the context's own buffer, kept for the next
// picture of the size.
bool CopyToBitmap(Context& context) {
  const OpenGLHelperCalls* gl = HelperCalls();
  const GdiPixels pixels = context.target.bitmap->Pixels();
  if (gl == nullptr || pixels.width != context.width || pixels.height != context.height) {
    return false;
  }
  // OpenGL draws only into true-colour bitmaps.
  if (pixels.format != GdiPixelFormat::kBgrx32 && pixels.format != GdiPixelFormat::kBgr24) {
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(pixels.width) * 4;
  context.readBack.resize(rowBytes * static_cast<size_t>(pixels.height));
  gl->glFinish();
  gl->glPixelStorei(kPackAlignment, 1);
  gl->glReadPixels(0, 0, pixels.width, pixels.height, kBgra, GL_UNSIGNED_BYTE,
                   context.readBack.data());
  for (int32_t y = 0; y < pixels.height; ++y) {
    const uint8_t* in =
        context.readBack.data() + static_cast<size_t>(pixels.height - 1 - y) * rowBytes;
    CopyRow(in, pixels.At(0, y), pixels.width, pixels.format);
  }
  return true;
}

}  // namespace

bool IsShownThroughOpenGL(HWND topLevel) {
  SDL_Window* shown = DesktopSdlWindow(topLevel);
  return shown != nullptr && (SDL_GetWindowFlags(shown) & SDL_WINDOW_OPENGL) != 0;
}

}  // namespace vpl::platform

using namespace vpl::platform;

HGLRC wglCreateContext(HDC dc) {
  OpenGLTarget target;
  if (!OpenGLTargetOf(dc, target)) return nullptr;
  auto context = std::make_unique<Context>();
  context->target = target;
  context->dc = dc;
  context->format = PixelFormatOfTarget(dc, target);
  Context* previous = tCurrent;
  HDC previousDC = tCurrentDC;
  Switch(nullptr, nullptr);
  const bool made = context->format != 0 && (target.topLevel ? CreateWindowContext(*context)
                                                             : CreateBitmapContext(*context));
  // Making an SDL context makes it current; the thread keeps what it had.
  if (context->sdlContext != nullptr) MakeWindowCurrent(context->window, nullptr);
  if (previous != nullptr) Switch(previous, previousDC);
  if (!made) {
    Destroy(*context);
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return nullptr;
  }
  auto handle = reinterpret_cast<HGLRC>(context.get());
  std::lock_guard lock(gContextsMutex);
  Contexts()[handle] = std::move(context);
  return handle;
}

BOOL wglDeleteContext(HGLRC handle) {
  std::unique_ptr<Context> context;
  {
    std::lock_guard lock(gContextsMutex);
    const auto found = Contexts().find(handle);
    if (found == Contexts().end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    context = std::move(found->second);
    Contexts().erase(found);
  }
  if (tCurrent == context.get()) Switch(nullptr, nullptr);
  Destroy(*context);
  {
    std::lock_guard lock(gContextsMutex);
    for (const auto& [other, record] : Contexts()) {
      const bool sameTarget = context->target.topLevel != nullptr
                                  ? record->target.topLevel == context->target.topLevel
                                  : record->dc == context->dc;
      if (sameTarget) return TRUE;
    }
  }
  ForgetPixelFormat(context->dc, context->target);
  return TRUE;
}

BOOL wglMakeCurrent(HDC dc, HGLRC handle) {
  if (handle == nullptr) return Switch(nullptr, nullptr);
  Context* context = FindContext(handle);
  OpenGLTarget target;
  if (context == nullptr || !OpenGLTargetOf(dc, target)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (target.topLevel != context->target.topLevel) {
    SetLastError(ERROR_INVALID_PIXEL_FORMAT);
    return FALSE;
  }
  // A memory device context may have had another bitmap selected since.
  if (target.bitmap) context->target.bitmap = target.bitmap;
  return Switch(context, dc);
}

HGLRC wglGetCurrentContext() { return reinterpret_cast<HGLRC>(tCurrent); }

HDC wglGetCurrentDC() { return tCurrentDC; }

BOOL SwapBuffers(HDC dc) {
  OpenGLTarget target;
  if (!OpenGLTargetOf(dc, target)) return FALSE;
  if (target.topLevel != nullptr) {
    SDL_Window* window = tCurrent != nullptr && tCurrent->target.topLevel == target.topLevel
                             ? tCurrent->window
                             : nullptr;
    if (window == nullptr) return FALSE;
    if (tCurrent->scaled) ShowScaled(*tCurrent);
    SDL_GL_SwapWindow(window);
    // The window may have changed its size meanwhile.
    AimWindowContext(*tCurrent);
    return TRUE;
  }
  return tCurrent != nullptr && tCurrent->target.bitmap == target.bitmap && CopyToBitmap(*tCurrent);
}
