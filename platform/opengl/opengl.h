#pragma once
// OpenGL 1.1 with wgl and the pixel-format functions, as the system's code
// calls them. The GL entry points are never linked: callers load
// "OPENGL32.DLL" with LoadLibraryA and look every function up by name with
// GetProcAddress; the types and constants here are those the calls take.
// Contexts are SDL GL contexts on a window (compatibility profile), and
// surfaceless EGL contexts drawing into a framebuffer object for a memory
// device context; SwapBuffers on a memory device context copies the picture
// into its bitmap.

#include "platform/win32/gdi.h"
#include "platform/win32/kernel.h"
#include "platform/win32/user.h"

#include <cstdint>

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLint = int;
using GLsizei = int;
using GLuint = unsigned int;
using GLubyte = unsigned char;
using GLfloat = float;
using GLclampf = float;
using GLdouble = double;
using GLclampd = double;
using GLvoid = void;

constexpr GLenum GL_NO_ERROR = 0;
constexpr GLboolean GL_FALSE = 0;
constexpr GLboolean GL_TRUE = 1;

// Primitives, client arrays and data types.
constexpr GLenum GL_TRIANGLES = 0x0004;
constexpr GLenum GL_VERTEX_ARRAY = 0x8074;
constexpr GLenum GL_COLOR_ARRAY = 0x8076;
constexpr GLenum GL_TEXTURE_COORD_ARRAY = 0x8078;
constexpr GLenum GL_UNSIGNED_BYTE = 0x1401;
constexpr GLenum GL_FLOAT = 0x1406;

// Buffers and capabilities.
constexpr GLbitfield GL_DEPTH_BUFFER_BIT = 0x00000100;
constexpr GLbitfield GL_COLOR_BUFFER_BIT = 0x00004000;
constexpr GLenum GL_CULL_FACE = 0x0B44;
constexpr GLenum GL_DEPTH_TEST = 0x0B71;
constexpr GLenum GL_DITHER = 0x0BD0;
constexpr GLenum GL_BLEND = 0x0BE2;
constexpr GLenum GL_TEXTURE_2D = 0x0DE1;

// Faces and polygon modes.
constexpr GLenum GL_FRONT = 0x0404;
constexpr GLenum GL_BACK = 0x0405;
constexpr GLenum GL_FRONT_AND_BACK = 0x0408;
constexpr GLenum GL_CW = 0x0900;
constexpr GLenum GL_CCW = 0x0901;
constexpr GLenum GL_LINE = 0x1B01;
constexpr GLenum GL_FILL = 0x1B02;

// Depth functions.
constexpr GLenum GL_NEVER = 0x0200;
constexpr GLenum GL_LESS = 0x0201;
constexpr GLenum GL_EQUAL = 0x0202;
constexpr GLenum GL_LEQUAL = 0x0203;
constexpr GLenum GL_GREATER = 0x0204;
constexpr GLenum GL_NOTEQUAL = 0x0205;
constexpr GLenum GL_GEQUAL = 0x0206;
constexpr GLenum GL_ALWAYS = 0x0207;

// Blend factors.
constexpr GLenum GL_ZERO = 0;
constexpr GLenum GL_ONE = 1;
constexpr GLenum GL_SRC_COLOR = 0x0300;
constexpr GLenum GL_ONE_MINUS_SRC_COLOR = 0x0301;
constexpr GLenum GL_SRC_ALPHA = 0x0302;
constexpr GLenum GL_ONE_MINUS_SRC_ALPHA = 0x0303;
constexpr GLenum GL_DST_ALPHA = 0x0304;
constexpr GLenum GL_ONE_MINUS_DST_ALPHA = 0x0305;
constexpr GLenum GL_DST_COLOR = 0x0306;
constexpr GLenum GL_ONE_MINUS_DST_COLOR = 0x0307;

// Matrices.
constexpr GLenum GL_MODELVIEW = 0x1700;
constexpr GLenum GL_PROJECTION = 0x1701;
constexpr GLenum GL_TEXTURE = 0x1702;

// Hints and strings.
constexpr GLenum GL_PERSPECTIVE_CORRECTION_HINT = 0x0C50;
constexpr GLenum GL_FASTEST = 0x1101;
constexpr GLenum GL_NICEST = 0x1102;
constexpr GLenum GL_VENDOR = 0x1F00;
constexpr GLenum GL_RENDERER = 0x1F01;
constexpr GLenum GL_VERSION = 0x1F02;

// Textures.
constexpr GLenum GL_TEXTURE_ENV = 0x2300;
constexpr GLenum GL_TEXTURE_ENV_MODE = 0x2200;
constexpr GLenum GL_MODULATE = 0x2100;
constexpr GLenum GL_REPLACE = 0x1E01;
constexpr GLenum GL_TEXTURE_MAG_FILTER = 0x2800;
constexpr GLenum GL_TEXTURE_MIN_FILTER = 0x2801;
constexpr GLenum GL_TEXTURE_WRAP_S = 0x2802;
constexpr GLenum GL_TEXTURE_WRAP_T = 0x2803;
constexpr GLenum GL_NEAREST = 0x2600;
constexpr GLenum GL_LINEAR = 0x2601;
constexpr GLenum GL_NEAREST_MIPMAP_NEAREST = 0x2700;
constexpr GLenum GL_LINEAR_MIPMAP_NEAREST = 0x2701;
constexpr GLenum GL_NEAREST_MIPMAP_LINEAR = 0x2702;
constexpr GLenum GL_LINEAR_MIPMAP_LINEAR = 0x2703;
constexpr GLenum GL_CLAMP = 0x2900;
constexpr GLenum GL_REPEAT = 0x2901;
constexpr GLenum GL_UNPACK_ALIGNMENT = 0x0CF5;
constexpr GLenum GL_RGB = 0x1907;
constexpr GLenum GL_RGBA = 0x1908;
constexpr GLenum GL_RGBA4 = 0x8056;
constexpr GLenum GL_RGB5_A1 = 0x8057;
constexpr GLenum GL_RGB8 = 0x8051;
constexpr GLenum GL_RGBA8 = 0x8058;

// ---- Pixel formats (GDI) ----------------------------------------------------

constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_DRAW_TO_BITMAP = 0x00000008;
constexpr DWORD PFD_SUPPORT_GDI = 0x00000010;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
constexpr BYTE PFD_TYPE_RGBA = 0;
constexpr BYTE PFD_MAIN_PLANE = 0;
constexpr DWORD ERROR_INVALID_PIXEL_FORMAT = 2000;

struct PIXELFORMATDESCRIPTOR {
  WORD nSize;
  WORD nVersion;
  DWORD dwFlags;
  BYTE iPixelType;
  BYTE cColorBits;
  BYTE cRedBits;
  BYTE cRedShift;
  BYTE cGreenBits;
  BYTE cGreenShift;
  BYTE cBlueBits;
  BYTE cBlueShift;
  BYTE cAlphaBits;
  BYTE cAlphaShift;
  BYTE cAccumBits;
  BYTE cAccumRedBits;
  BYTE cAccumGreenBits;
  BYTE cAccumBlueBits;
  BYTE cAccumAlphaBits;
  BYTE cDepthBits;
  BYTE cStencilBits;
  BYTE cAuxBuffers;
  BYTE iLayerType;
  BYTE bReserved;
  DWORD dwLayerMask;
  DWORD dwVisibleMask;
  DWORD dwDamageMask;
};
using LPPIXELFORMATDESCRIPTOR = PIXELFORMATDESCRIPTOR*;

// Formats are numbered from 1. Window formats are RGBA and double-buffered,
// bitmap formats draw to a bitmap with GDI; each kind exists accelerated and
// generic (software) with 16, 24 or 32 colour bits and 0, 16 or 32 depth
// bits. ChoosePixelFormat answers the first format of the asked kind with at
// least the asked colour and depth bits, accelerated ones first; 0 when none
// or for a bad handle.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
// Fills the descriptor of format index when one is given (size bytes at
// most); answers the number of formats, 0 for a bad index or handle.
int DescribePixelFormat(HDC dc, int index, UINT size, LPPIXELFORMATDESCRIPTOR descriptor);
// The format set on the device context's window or bitmap, 0 when none.
int GetPixelFormat(HDC dc);
// Sets the format once per window or bitmap (setting the same one again
// succeeds). A window's format sticks until its last context is deleted:
// while it holds one, the desktop shows the window through OpenGL.
BOOL SetPixelFormat(HDC dc, int index, const PIXELFORMATDESCRIPTOR* descriptor);
// Shows the back buffer of a window; for a memory device context copies the
// picture of the context current on the thread into the selected bitmap.
BOOL SwapBuffers(HDC dc);

// ---- wgl --------------------------------------------------------------------

using HGLRC = struct HGLRC__*;

// A context for the device context's pixel format; null when none is set.
HGLRC wglCreateContext(HDC dc);
// Releases the context from the thread first when it is current there.
BOOL wglDeleteContext(HGLRC context);
// A null context releases the thread's current context.
BOOL wglMakeCurrent(HDC dc, HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
