#pragma once
// Internal to the platform layer: the "OPENGL32.DLL" module of the module
// table, and the few GL calls the layer itself makes for bitmap contexts.

#include "platform/opengl/opengl.h"

namespace vpl::platform {

// Makes the system's libGL usable; false when it cannot be loaded.
bool OpenOpenGLLibrary();
// A GL entry point, or one of the module's wgl functions; null when the
// library has no such name.
FARPROC LookUpOpenGLFunction(const char* name);

// The framebuffer-object and read-back calls behind bitmap contexts.
struct OpenGLHelperCalls {
  void (*glGenFramebuffers)(GLsizei, GLuint*);
  void (*glBindFramebuffer)(GLenum, GLuint);
  void (*glDeleteFramebuffers)(GLsizei, const GLuint*);
  void (*glGenRenderbuffers)(GLsizei, GLuint*);
  void (*glBindRenderbuffer)(GLenum, GLuint);
  void (*glDeleteRenderbuffers)(GLsizei, const GLuint*);
  void (*glRenderbufferStorage)(GLenum, GLenum, GLsizei, GLsizei);
  void (*glFramebufferRenderbuffer)(GLenum, GLenum, GLenum, GLuint);
  GLenum (*glCheckFramebufferStatus)(GLenum);
  void (*glReadPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
  void (*glPixelStorei)(GLenum, GLint);
  void (*glFinish)();
};

// Null when one of them is missing.
const OpenGLHelperCalls* HelperCalls();

}  // namespace vpl::platform
