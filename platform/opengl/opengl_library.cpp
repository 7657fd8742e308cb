// The system's libGL behind "OPENGL32.DLL": reached through SDL once its
// video is up, through EGL otherwise (both hand out the same dispatching
// entry points), so that drawing into bitmaps works without any display.

#include "platform/opengl/OpenGLLibrary.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/XErrorTrap.h"

#include <EGL/egl.h>
#include <SDL.h>

#include <cstring>
#include <mutex>

namespace vpl::platform {
namespace {

// The module's own functions: wgl, and the pixel-format functions under
// their wgl names, which a vendor library would export.
BOOL WglSetPixelFormat(HDC dc, int index, const PIXELFORMATDESCRIPTOR* descriptor) {
  return SetPixelFormat(dc, index, descriptor);
}
int WglChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) {
  return ChoosePixelFormat(dc, descriptor);
}
int WglDescribePixelFormat(HDC dc, int index, UINT size, LPPIXELFORMATDESCRIPTOR descriptor) {
  return DescribePixelFormat(dc, index, size, descriptor);
}
int WglGetPixelFormat(HDC dc) { return GetPixelFormat(dc); }
BOOL WglSwapBuffers(HDC dc) { return SwapBuffers(dc); }

struct OwnFunction {
  const char* name;
  FARPROC function;
};

const OwnFunction kOwnFunctions[] = {
    {"wglCreateContext", reinterpret_cast<FARPROC>(&wglCreateContext)},
    {"wglDeleteContext", reinterpret_cast<FARPROC>(&wglDeleteContext)},
    {"wglMakeCurrent", reinterpret_cast<FARPROC>(&wglMakeCurrent)},
    {"wglGetCurrentContext", reinterpret_cast<FARPROC>(&wglGetCurrentContext)},
    {"wglGetCurrentDC", reinterpret_cast<FARPROC>(&wglGetCurrentDC)},
    {"wglSetPixelFormat", reinterpret_cast<FARPROC>(&WglSetPixelFormat)},
    {"wglChoosePixelFormat", reinterpret_cast<FARPROC>(&WglChoosePixelFormat)},
    {"wglDescribePixelFormat", reinterpret_cast<FARPROC>(&WglDescribePixelFormat)},
    {"wglGetPixelFormat", reinterpret_cast<FARPROC>(&WglGetPixelFormat)},
    {"wglSwapBuffers", reinterpret_cast<FARPROC>(&WglSwapBuffers)},
};

// The OpenGL 1.1 functions the module exports: those the program calls.
// (The system's libGL hands out a dispatching entry for any name at all.)
constexpr const char* kExportedGL[] = {
    "glBegin",        "glBindTexture",        "glBlendFunc",
    "glClear",        "glClearColor",         "glColor4ub",
    "glColorPointer", "glCullFace",           "glDeleteTextures",
    "glDepthFunc",    "glDepthMask",          "glDepthRange",
    "glDisable",      "glDisableClientState", "glDrawArrays",
    "glEnable",       "glEnableClientState",  "glEnd",
    "glFinish",       "glFrontFace",          "glGenTextures",
    "glGetError",     "glGetString",          "glHint",
    "glLoadIdentity", "glLoadMatrixf",        "glMatrixMode",
    "glPixelStorei",  "glPolygonMode",        "glReadPixels",
    "glTexCoord2f",   "glTexCoordPointer",    "glTexEnvi",
    "glTexImage2D",   "glTexParameteri",      "glTexSubImage2D",
    "glVertex3f",     "glVertex4f",           "glVertexPointer",
    "glViewport",
};

bool IsExportedGL(const char* name) {
  for (const char* exported : kExportedGL) {
    if (std::strcmp(exported, name) == 0) return true;
  }
  return false;
}

std::once_flag gOpenOnce;
bool gThroughSdl = false;

bool gRefused = false;

// SDL makes and drops a context of its own as it loads the library: a
// server that refuses it (an indirect context where it serves none, say)
// leaves no OpenGL to draw with, and must not end the process.
void Open() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  XErrorTrap trap(DesktopXDisplay());
  gThroughSdl = SDL_GL_LoadLibrary(nullptr) == 0;
  gRefused = trap.Caught();
}

FARPROC LookUpGL(const char* name) {
  void* found =
      gThroughSdl ? SDL_GL_GetProcAddress(name) : reinterpret_cast<void*>(eglGetProcAddress(name));
  return reinterpret_cast<FARPROC>(found);
}

template <typename Function>
bool LookUpInto(Function& function, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(eglGetProcAddress(name)));
  return function != nullptr;
}

bool LoadHelperCalls(OpenGLHelperCalls& calls) {
  return LookUpInto(calls.glGenFramebuffers, "glGenFramebuffers") &&
         LookUpInto(calls.glBindFramebuffer, "glBindFramebuffer") &&
         LookUpInto(calls.glDeleteFramebuffers, "glDeleteFramebuffers") &&
         LookUpInto(calls.glGenRenderbuffers, "glGenRenderbuffers") &&
         LookUpInto(calls.glBindRenderbuffer, "glBindRenderbuffer") &&
         LookUpInto(calls.glDeleteRenderbuffers, "glDeleteRenderbuffers") &&
         LookUpInto(calls.glRenderbufferStorage, "glRenderbufferStorage") &&
         LookUpInto(calls.glFramebufferRenderbuffer, "glFramebufferRenderbuffer") &&
         LookUpInto(calls.glCheckFramebufferStatus, "glCheckFramebufferStatus") &&
         LookUpInto(calls.glReadPixels, "glReadPixels") &&
         LookUpInto(calls.glPixelStorei, "glPixelStorei") &&
         LookUpInto(calls.glFinish, "glFinish") &&
         LookUpInto(calls.glBlitFramebuffer, "glBlitFramebuffer") &&
         LookUpInto(calls.glClear, "glClear") && LookUpInto(calls.glClearColor, "glClearColor") &&
         LookUpInto(calls.glColorMask, "glColorMask") &&
         LookUpInto(calls.glGetBooleanv, "glGetBooleanv") &&
         LookUpInto(calls.glGetFloatv, "glGetFloatv") &&
         LookUpInto(calls.glIsEnabled, "glIsEnabled") && LookUpInto(calls.glEnable, "glEnable") &&
         LookUpInto(calls.glDisable, "glDisable");
}

}  // namespace

bool OpenOpenGLLibrary() {
  std::call_once(gOpenOnce, Open);
  return !gRefused && (gThroughSdl || eglGetProcAddress("glGetString") != nullptr);
}

FARPROC LookUpOpenGLFunction(const char* name) {
  if (name == nullptr) return nullptr;
  for (const OwnFunction& own : kOwnFunctions) {
    if (std::strcmp(own.name, name) == 0) return own.function;
  }
  return IsExportedGL(name) ? LookUpGL(name) : nullptr;
}

const OpenGLHelperCalls* HelperCalls() {
  static const OpenGLHelperCalls* calls = [] {
    static OpenGLHelperCalls loaded{};
    return LoadHelperCalls(loaded) ? &loaded : nullptr;
  }();
  return calls;
}

}  // namespace vpl::platform
