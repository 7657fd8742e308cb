#include "mm3d/drivers/win/WinMM3DGLDispatch.h"

#include <cstring>

namespace {

constexpr char kSystemLibrary[] = "OPENGL32.DLL";

template <typename Function>
bool LookUp(HMODULE module, Function& function, const char* name) {
  function = reinterpret_cast<Function>(GetProcAddress(module, name));
  return function != nullptr;
}

// Takes the library's function under its plain or its wgl name, when it
// has one.
template <typename Function>
void Replace(HMODULE module, Function& function, const char* name, const char* wglName) {
  Function found = nullptr;
  if (LookUp(module, found, name) || LookUp(module, found, wglName)) function = found;
}

}  // namespace

WinMM3DGLDispatch::WinMM3DGLDispatch(const char* libraryName) { Load(libraryName); }

WinMM3DGLDispatch::WinMM3DGLDispatch(const WinMM3DGLDispatch& other) {
  Load(other.mLibraryName);
  mContext = other.mContext;
  mDesktopWidth = other.mDesktopWidth;
  mDesktopHeight = other.mDesktopHeight;
  mDesktopBits = other.mDesktopBits;
}

void WinMM3DGLDispatch::Load(const char* libraryName) {
  mContext = nullptr;
  std::strncpy(mLibraryName, libraryName, kWinMM3DGLNameSize - 1);
  mModule = LoadLibraryA(mLibraryName);
  if (mModule == nullptr) return;
  LookUpPixelFormatFunctions();
  if (!LookUpAll()) mModule = nullptr;
}

// The system library leaves pixel formats and buffer swaps to GDI; a
// vendor library brings its own.
void WinMM3DGLDispatch::LookUpPixelFormatFunctions() {
  GetPixelFormat = &::GetPixelFormat;
  SetPixelFormat = &::SetPixelFormat;
  ChoosePixelFormat = &::ChoosePixelFormat;
  DescribePixelFormat = &::DescribePixelFormat;
  SwapBuffers = &::SwapBuffers;
  if (std::strcmp(mLibraryName, kSystemLibrary) == 0) return;
  Replace(mModule, GetPixelFormat, "GetPixelFormat", "wglGetPixelFormat");
  Replace(mModule, SetPixelFormat, "SetPixelFormat", "wglSetPixelFormat");
  Replace(mModule, ChoosePixelFormat, "ChoosePixelFormat", "wglChoosePixelFormat");
  Replace(mModule, DescribePixelFormat, "DescribePixelFormat", "wglDescribePixelFormat");
  Replace(mModule, SwapBuffers, "SwapBuffers", "wglSwapBuffers");
}

bool WinMM3DGLDispatch::LookUpAll() {
  const HMODULE m = mModule;
  return LookUp(m, wglCreateContext, "wglCreateContext") &&
         LookUp(m, wglDeleteContext, "wglDeleteContext") &&
         LookUp(m, wglMakeCurrent, "wglMakeCurrent") &&
         LookUp(m, wglGetCurrentContext, "wglGetCurrentContext") &&
         LookUp(m, wglGetCurrentDC, "wglGetCurrentDC") && LookUp(m, glBegin, "glBegin") &&
         LookUp(m, glBindTexture, "glBindTexture") && LookUp(m, glBlendFunc, "glBlendFunc") &&
         LookUp(m, glClear, "glClear") && LookUp(m, glClearColor, "glClearColor") &&
         LookUp(m, glColor4ub, "glColor4ub") && LookUp(m, glColorPointer, "glColorPointer") &&
         LookUp(m, glCullFace, "glCullFace") && LookUp(m, glDeleteTextures, "glDeleteTextures") &&
         LookUp(m, glDepthFunc, "glDepthFunc") && LookUp(m, glDepthMask, "glDepthMask") &&
         LookUp(m, glDepthRange, "glDepthRange") && LookUp(m, glDisable, "glDisable") &&
         LookUp(m, glDisableClientState, "glDisableClientState") &&
         LookUp(m, glDrawArrays, "glDrawArrays") && LookUp(m, glEnable, "glEnable") &&
         LookUp(m, glEnableClientState, "glEnableClientState") && LookUp(m, glEnd, "glEnd") &&
         LookUp(m, glFinish, "glFinish") && LookUp(m, glFrontFace, "glFrontFace") &&
         LookUp(m, glGenTextures, "glGenTextures") && LookUp(m, glGetError, "glGetError") &&
         LookUp(m, glGetString, "glGetString") && LookUp(m, glHint, "glHint") &&
         LookUp(m, glLoadIdentity, "glLoadIdentity") && LookUp(m, glLoadMatrixf, "glLoadMatrixf") &&
         LookUp(m, glMatrixMode, "glMatrixMode") && LookUp(m, glPixelStorei, "glPixelStorei") &&
         LookUp(m, glPolygonMode, "glPolygonMode") && LookUp(m, glTexCoord2f, "glTexCoord2f") &&
         LookUp(m, glTexCoordPointer, "glTexCoordPointer") && LookUp(m, glTexEnvi, "glTexEnvi") &&
         LookUp(m, glTexImage2D, "glTexImage2D") && LookUp(m, glTexParameteri, "glTexParameteri") &&
         LookUp(m, glTexSubImage2D, "glTexSubImage2D") && LookUp(m, glVertex3f, "glVertex3f") &&
         LookUp(m, glVertex4f, "glVertex4f") && LookUp(m, glVertexPointer, "glVertexPointer") &&
         LookUp(m, glViewport, "glViewport");
}
