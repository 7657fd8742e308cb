#pragma once
// The entry points of one OpenGL driver library, every one looked up by
// name at run time, so that the program never links OpenGL itself.

#include "platform/opengl/opengl.h"

#include <cstdint>

constexpr int32_t kWinMM3DGLNameSize = 256;

class WinMM3DGLDispatch {
 public:
  // Loads the library and looks everything up; the module handle stays
  // null when the library or an entry point is missing.
  explicit WinMM3DGLDispatch(const char* libraryName);
  // Loads the library again and looks everything up again; keeps the
  // context and the saved desktop mode.
  WinMM3DGLDispatch(const WinMM3DGLDispatch& other);
  WinMM3DGLDispatch& operator=(const WinMM3DGLDispatch&) = delete;

  bool IsLoaded() const { return mModule != nullptr; }

  int (*GetPixelFormat)(HDC) = nullptr;
  BOOL (*SetPixelFormat)(HDC, int, const PIXELFORMATDESCRIPTOR*) = nullptr;
  int (*ChoosePixelFormat)(HDC, const PIXELFORMATDESCRIPTOR*) = nullptr;
  int (*DescribePixelFormat)(HDC, int, UINT, LPPIXELFORMATDESCRIPTOR) = nullptr;
  BOOL (*SwapBuffers)(HDC) = nullptr;
  HGLRC (*wglCreateContext)(HDC) = nullptr;
  BOOL (*wglDeleteContext)(HGLRC) = nullptr;
  BOOL (*wglMakeCurrent)(HDC, HGLRC) = nullptr;
  HGLRC (*wglGetCurrentContext)() = nullptr;
  HDC (*wglGetCurrentDC)() = nullptr;
  void (*glBegin)(GLenum) = nullptr;
  void (*glBindTexture)(GLenum, GLuint) = nullptr;
  void (*glBlendFunc)(GLenum, GLenum) = nullptr;
  void (*glClear)(GLbitfield) = nullptr;
  void (*glClearColor)(GLclampf, GLclampf, GLclampf, GLclampf) = nullptr;
  void (*glColor4ub)(GLubyte, GLubyte, GLubyte, GLubyte) = nullptr;
  void (*glColorPointer)(GLint, GLenum, GLsizei, const GLvoid*) = nullptr;
  void (*glCullFace)(GLenum) = nullptr;
  void (*glDeleteTextures)(GLsizei, const GLuint*) = nullptr;
  void (*glDepthFunc)(GLenum) = nullptr;
  void (*glDepthMask)(GLboolean) = nullptr;
  void (*glDepthRange)(GLclampd, GLclampd) = nullptr;
  void (*glDisable)(GLenum) = nullptr;
  void (*glDisableClientState)(GLenum) = nullptr;
  void (*glDrawArrays)(GLenum, GLint, GLsizei) = nullptr;
  void (*glEnable)(GLenum) = nullptr;
  void (*glEnableClientState)(GLenum) = nullptr;
  void (*glEnd)() = nullptr;
  void (*glFinish)() = nullptr;
  void (*glFrontFace)(GLenum) = nullptr;
  void (*glGenTextures)(GLsizei, GLuint*) = nullptr;
  GLenum (*glGetError)() = nullptr;
  const GLubyte* (*glGetString)(GLenum) = nullptr;
  void (*glHint)(GLenum, GLenum) = nullptr;
  void (*glLoadIdentity)() = nullptr;
  void (*glLoadMatrixf)(const GLfloat*) = nullptr;
  void (*glMatrixMode)(GLenum) = nullptr;
  void (*glPixelStorei)(GLenum, GLint) = nullptr;
  void (*glPolygonMode)(GLenum, GLenum) = nullptr;
  void (*glTexCoord2f)(GLfloat, GLfloat) = nullptr;
  void (*glTexCoordPointer)(GLint, GLenum, GLsizei, const GLvoid*) = nullptr;
  void (*glTexEnvi)(GLenum, GLenum, GLint) = nullptr;
  void (*glTexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum,
                       const GLvoid*) = nullptr;
  void (*glTexParameteri)(GLenum, GLenum, GLint) = nullptr;
  void (*glTexSubImage2D)(GLenum, GLint, GLint, GLint, GLsizei, GLsizei, GLenum, GLenum,
                          const GLvoid*) = nullptr;
  void (*glVertex3f)(GLfloat, GLfloat, GLfloat) = nullptr;
  void (*glVertex4f)(GLfloat, GLfloat, GLfloat, GLfloat) = nullptr;
  void (*glVertexPointer)(GLint, GLenum, GLsizei, const GLvoid*) = nullptr;
  void (*glViewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;

  HGLRC mContext = nullptr;
  int32_t mDesktopWidth = 0;
  int32_t mDesktopHeight = 0;
  int32_t mDesktopBits = 0;
  char mLibraryName[kWinMM3DGLNameSize] = {};
  HMODULE mModule = nullptr;

 private:
  void Load(const char* libraryName);
  bool LookUpAll();
  void LookUpPixelFormatFunctions();
};
