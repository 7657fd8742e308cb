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

// The framebuffer-object and read-back calls behind bitmap contexts, and
// the blit and clear that show a window's picture scaled.
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
  void (*glBlitFramebuffer)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield,
                            GLenum);
  void (*glClear)(GLbitfield);
  void (*glClearColor)(GLclampf, GLclampf, GLclampf, GLclampf);
  void (*glColorMask)(GLboolean, GLboolean, GLboolean, GLboolean);
  void (*glGetBooleanv)(GLenum, GLboolean*);
  void (*glGetFloatv)(GLenum, GLfloat*);
  GLboolean (*glIsEnabled)(GLenum);
  void (*glEnable)(GLenum);
  void (*glDisable)(GLenum);
};

// Null when one of them is missing.
const OpenGLHelperCalls* HelperCalls();

}  // namespace vpl::platform
