// Direct3D 7 over OpenGL 1.1 fixed function. The device is a GL context on
// the window of the DirectDraw object's cooperative level; it makes its
// context current before every call, since its callers never do. Direct3D's
// conventions are mapped onto GL's: clip depth 0..w becomes -w..w, the
// viewport's origin is the top-left corner, clears stay inside the
// viewport, and row-vector matrices load as they are (GL reads them
// column by column, which is the transpose).

#include "platform/directx/DirectXObjects.h"

#include <EGL/egl.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace vpl::platform {
namespace {

constexpr GLenum kScissorTest = 0x0C11;
constexpr GLenum kClampToEdge = 0x812F;
constexpr GLenum kTextureMaxLevel = 0x813D;

struct DeviceCalls {
  void (*glBindTexture)(GLenum, GLuint);
  void (*glBlendFunc)(GLenum, GLenum);
  void (*glClear)(GLbitfield);
  void (*glClearColor)(GLclampf, GLclampf, GLclampf, GLclampf);
  void (*glClearDepth)(GLclampd);
  void (*glColorPointer)(GLint, GLenum, GLsizei, const void*);
  void (*glCullFace)(GLenum);
  void (*glDeleteTextures)(GLsizei, const GLuint*);
  void (*glDepthFunc)(GLenum);
  void (*glDepthMask)(GLboolean);
  void (*glDepthRange)(GLclampd, GLclampd);
  void (*glDisable)(GLenum);
  void (*glDisableClientState)(GLenum);
  void (*glDrawArrays)(GLenum, GLint, GLsizei);
  void (*glEnable)(GLenum);
  void (*glEnableClientState)(GLenum);
  void (*glFrontFace)(GLenum);
  void (*glGenTextures)(GLsizei, GLuint*);
  const GLubyte* (*glGetString)(GLenum);
  void (*glHint)(GLenum, GLenum);
  void (*glLoadMatrixf)(const GLfloat*);
  void (*glMatrixMode)(GLenum);
  void (*glMultMatrixf)(const GLfloat*);
  void (*glPixelStorei)(GLenum, GLint);
  void (*glPolygonMode)(GLenum, GLenum);
  void (*glScissor)(GLint, GLint, GLsizei, GLsizei);
  void (*glTexCoord2f)(GLfloat, GLfloat);
  void (*glTexCoordPointer)(GLint, GLenum, GLsizei, const void*);
  void (*glTexEnvi)(GLenum, GLenum, GLint);
  void (*glTexImage2D)(GLenum, GLint, GLint, GLsizei, GLsizei, GLint, GLenum, GLenum, const void*);
  void (*glTexParameteri)(GLenum, GLenum, GLint);
  void (*glVertexPointer)(GLint, GLenum, GLsizei, const void*);
  void (*glViewport)(GLint, GLint, GLsizei, GLsizei);
};

template <typename Function>
bool LookUpInto(Function& function, const char* name) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(eglGetProcAddress(name)));
  return function != nullptr;
}

bool LoadDeviceCalls(DeviceCalls& c) {
  return LookUpInto(c.glBindTexture, "glBindTexture") &&
         LookUpInto(c.glDeleteTextures, "glDeleteTextures") &&
         LookUpInto(c.glGenTextures, "glGenTextures") &&
         LookUpInto(c.glPixelStorei, "glPixelStorei") &&
         LookUpInto(c.glTexCoord2f, "glTexCoord2f") &&
         LookUpInto(c.glTexCoordPointer, "glTexCoordPointer") &&
         LookUpInto(c.glTexEnvi, "glTexEnvi") && LookUpInto(c.glTexImage2D, "glTexImage2D") &&
         LookUpInto(c.glTexParameteri, "glTexParameteri") &&
         LookUpInto(c.glBlendFunc, "glBlendFunc") && LookUpInto(c.glClear, "glClear") &&
         LookUpInto(c.glClearColor, "glClearColor") && LookUpInto(c.glClearDepth, "glClearDepth") &&
         LookUpInto(c.glColorPointer, "glColorPointer") && LookUpInto(c.glCullFace, "glCullFace") &&
         LookUpInto(c.glDepthFunc, "glDepthFunc") && LookUpInto(c.glDepthMask, "glDepthMask") &&
         LookUpInto(c.glDepthRange, "glDepthRange") && LookUpInto(c.glDisable, "glDisable") &&
         LookUpInto(c.glDisableClientState, "glDisableClientState") &&
         LookUpInto(c.glDrawArrays, "glDrawArrays") && LookUpInto(c.glEnable, "glEnable") &&
         LookUpInto(c.glEnableClientState, "glEnableClientState") &&
         LookUpInto(c.glFrontFace, "glFrontFace") && LookUpInto(c.glGetString, "glGetString") &&
         LookUpInto(c.glHint, "glHint") && LookUpInto(c.glLoadMatrixf, "glLoadMatrixf") &&
         LookUpInto(c.glMatrixMode, "glMatrixMode") &&
         LookUpInto(c.glMultMatrixf, "glMultMatrixf") &&
         LookUpInto(c.glPolygonMode, "glPolygonMode") && LookUpInto(c.glScissor, "glScissor") &&
         LookUpInto(c.glVertexPointer, "glVertexPointer") && LookUpInto(c.glViewport, "glViewport");
}

const DeviceCalls* Calls() {
  static const DeviceCalls* calls = [] {
    static DeviceCalls loaded{};
    return LoadDeviceCalls(loaded) ? &loaded : nullptr;
  }();
  return calls;
}

// Direct3D's clip depth 0..w as GL's -w..w: z' = 2z - w (column-major).
constexpr GLfloat kDepthToGL[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 0, 0, -1, 1};

constexpr D3DMATRIX kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// The byte of a packed colour at the shift, 0..1.
GLfloat ColorByte(D3DCOLOR color, int shift) {
  return static_cast<GLfloat>((color >> shift) & 0xFF) / 255.0f;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  D3DMATRIX product{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      for (int k = 0; k < 4; ++k) product.m[row][column] += a.m[row][k] * b.m[k][column];
    }
  }
  return product;
}

GLenum CompareFunction(DWORD value) {
  constexpr GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
  return value >= D3DCMP_NEVER && value <= D3DCMP_ALWAYS ? kFunctions[value - D3DCMP_NEVER]
                                                         : GL_ALWAYS;
}

GLenum BlendFactor(DWORD value) {
  constexpr GLenum kFactors[] = {GL_ZERO,      GL_ONE,
                                 GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR,
                                 GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                 GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                 GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR};
  return value >= D3DBLEND_ZERO && value <= D3DBLEND_INVDESTCOLOR ? kFactors[value - D3DBLEND_ZERO]
                                                                  : GL_ONE;
}

class Direct3DDevice : public DirectXObject<IDirect3DDevice7> {
 public:
  Direct3DDevice(DirectDrawSurface& target, HDC dc, HGLRC context)
      : mTarget(target), mWindow(target.Owner().Window()), mDC(dc), mContext(context) {
    mTarget.AddRef();
    mTarget.mDeviceDC = dc;
    mTarget.mDeviceContext = context;
    mTarget.Owner().mDeviceDC = dc;
    mTarget.Owner().mDeviceContext = context;
    mStageStates[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    mStageStates[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    mStageStates[D3DTSS_ADDRESS] = D3DTADDRESS_WRAP;
    mStageStates[D3DTSS_MAGFILTER] = D3DTFG_POINT;
    mStageStates[D3DTSS_MINFILTER] = D3DTFN_POINT;
    mStageStates[D3DTSS_MIPFILTER] = D3DTFP_NONE;
  }

  ~Direct3DDevice() override {
    if (mTexture != nullptr) mTexture->Release();
    mTarget.Owner().mDeviceDC = nullptr;
    mTarget.Owner().mDeviceContext = nullptr;
    mTarget.mDeviceDC = nullptr;
    mTarget.mDeviceContext = nullptr;
    wglDeleteContext(mContext);
    ReleaseDC(mWindow, mDC);
    mTarget.Release();
  }

  // Sets the initial states of a Direct3D device.
  bool Start() {
    if (!Bind()) return false;
    const DeviceCalls& gl = *Calls();
    gl.glEnableClientState(GL_VERTEX_ARRAY);
    gl.glEnableClientState(GL_COLOR_ARRAY);
    gl.glDisable(GL_DITHER);
    gl.glEnable(GL_CULL_FACE);
    gl.glFrontFace(GL_CW);  // Direct3D culls counter-clockwise triangles first
    gl.glDepthFunc(GL_LEQUAL);
    gl.glEnable(GL_DEPTH_TEST);
    gl.glBlendFunc(GL_ONE, GL_ZERO);
    LoadTransforms();
    return true;
  }

  HRESULT QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT BeginScene() override { return Bind() ? D3D_OK : DDERR_GENERIC; }
  HRESULT EndScene() override { return D3D_OK; }

  HRESULT Clear(DWORD count, D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                DWORD) override {
    if (!Bind() || (count > 0 && rects == nullptr)) return DDERR_INVALIDPARAMS;
    const DeviceCalls& gl = *Calls();
    gl.glClearColor(ColorByte(color, 16), ColorByte(color, 8), ColorByte(color, 0),
                    ColorByte(color, 24));
    gl.glClearDepth(z);
    // Clears write depth whatever the depth-write state is.
    gl.glDepthMask(GL_TRUE);
    gl.glEnable(kScissorTest);
    const GLbitfield buffers = ((flags & D3DCLEAR_TARGET) != 0 ? GL_COLOR_BUFFER_BIT : 0) |
                               ((flags & D3DCLEAR_ZBUFFER) != 0 ? GL_DEPTH_BUFFER_BIT : 0);
    for (DWORD i = 0; i < count || (count == 0 && i == 0); ++i) {
      const D3DRECT area =
          count > 0 ? rects[i]
                    : D3DRECT{static_cast<LONG>(mViewport.dwX), static_cast<LONG>(mViewport.dwY),
                              static_cast<LONG>(mViewport.dwX + mViewport.dwWidth),
                              static_cast<LONG>(mViewport.dwY + mViewport.dwHeight)};
      ScissorTo(area);
      gl.glClear(buffers);
    }
    gl.glDisable(kScissorTest);
    gl.glDepthMask(mDepthWrite ? GL_TRUE : GL_FALSE);
    return D3D_OK;
  }

  HRESULT SetViewport(D3DVIEWPORT7* viewport) override {
    if (viewport == nullptr || !Bind()) return DDERR_INVALIDPARAMS;
    mViewport = *viewport;
    const DeviceCalls& gl = *Calls();
    gl.glViewport(static_cast<GLint>(viewport->dwX),
                  WindowHeight() - static_cast<GLint>(viewport->dwY + viewport->dwHeight),
                  static_cast<GLsizei>(viewport->dwWidth),
                  static_cast<GLsizei>(viewport->dwHeight));
    gl.glDepthRange(viewport->dvMinZ, viewport->dvMaxZ);
    return D3D_OK;
  }

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) override {
    if (matrix == nullptr || type < D3DTRANSFORMSTATE_WORLD ||
        type > D3DTRANSFORMSTATE_PROJECTION || !Bind()) {
      return DDERR_INVALIDPARAMS;
    }
    mTransforms[type - D3DTRANSFORMSTATE_WORLD] = *matrix;
    LoadTransforms();
    return D3D_OK;
  }

  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    if (!Bind()) return DDERR_GENERIC;
    const DeviceCalls& gl = *Calls();
    switch (state) {
      case D3DRENDERSTATE_ZENABLE:
        Enable(GL_DEPTH_TEST, value != 0);
        break;
      case D3DRENDERSTATE_ZWRITEENABLE:
        mDepthWrite = value != 0;
        gl.glDepthMask(mDepthWrite ? GL_TRUE : GL_FALSE);
        break;
      case D3DRENDERSTATE_ZFUNC:
        gl.glDepthFunc(CompareFunction(value));
        break;
      case D3DRENDERSTATE_FILLMODE:
        gl.glPolygonMode(GL_FRONT_AND_BACK, value == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
        break;
      case D3DRENDERSTATE_CULLMODE:
        Enable(GL_CULL_FACE, value != D3DCULL_NONE);
        // The winding culled is the one Direct3D names; GL culls back faces.
        gl.glFrontFace(value == D3DCULL_CW ? GL_CCW : GL_CW);
        break;
      case D3DRENDERSTATE_ALPHABLENDENABLE:
        Enable(GL_BLEND, value != 0);
        break;
      case D3DRENDERSTATE_SRCBLEND:
        mSourceBlend = BlendFactor(value);
        gl.glBlendFunc(mSourceBlend, mDestinationBlend);
        break;
      case D3DRENDERSTATE_DESTBLEND:
        mDestinationBlend = BlendFactor(value);
        gl.glBlendFunc(mSourceBlend, mDestinationBlend);
        break;
      case D3DRENDERSTATE_DITHERENABLE:
        Enable(GL_DITHER, value != 0);
        break;
      case D3DRENDERSTATE_TEXTUREPERSPECTIVE:
        gl.glHint(GL_PERSPECTIVE_CORRECTION_HINT, value != 0 ? GL_NICEST : GL_FASTEST);
        break;
      case D3DRENDERSTATE_LIGHTING:
      case D3DRENDERSTATE_SPECULARENABLE:
        break;  // vertices carry their colour; nothing is lit
      default:
        return DDERR_INVALIDPARAMS;
    }
    return D3D_OK;
  }

  HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) override {
    auto* surface = static_cast<DirectDrawSurface*>(texture);
    if (stage != 0 || (surface != nullptr && surface->Texture() == nullptr)) {
      return DDERR_INVALIDPARAMS;
    }
    if (surface != nullptr) surface->AddRef();
    if (mTexture != nullptr) mTexture->Release();
    mTexture = surface;
    return D3D_OK;
  }

  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override {
    if (stage != 0 || state >= std::size(mStageStates)) return DDERR_INVALIDPARAMS;
    mStageStates[state] = value;
    return D3D_OK;
  }

  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                        DWORD vertexCount, DWORD) override {
    constexpr DWORD kNeeded = D3DFVF_XYZ | D3DFVF_DIFFUSE;
    if (type != D3DPT_TRIANGLELIST || (vertexFormat & kNeeded) != kNeeded ||
        (vertexCount > 0 && vertices == nullptr) || !Bind()) {
      return DDERR_INVALIDPARAMS;
    }
    const size_t sets = (vertexFormat & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    const size_t stride = 16 + 8 * sets;
    // The diffuse word is alpha, red, green, blue from the top byte down;
    // GL 1.1 takes the bytes red, green, blue, alpha.
    mColors.resize(static_cast<size_t>(vertexCount) * 4);
    const auto* bytes = static_cast<const uint8_t*>(vertices);
    for (size_t i = 0; i < vertexCount; ++i) {
      uint32_t word = 0;
      std::memcpy(&word, bytes + i * stride + 12, sizeof word);
      mColors[i * 4] = static_cast<uint8_t>(word >> 16);
      mColors[i * 4 + 1] = static_cast<uint8_t>(word >> 8);
      mColors[i * 4 + 2] = static_cast<uint8_t>(word);
      mColors[i * 4 + 3] = static_cast<uint8_t>(word >> 24);
    }
    const DeviceCalls& gl = *Calls();
    gl.glVertexPointer(3, GL_FLOAT, static_cast<GLsizei>(stride), vertices);
    gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, mColors.data());
    PrepareTexture(bytes, stride, sets);
    gl.glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertexCount));
    return D3D_OK;
  }

 private:
  bool Bind() { return wglGetCurrentContext() == mContext || wglMakeCurrent(mDC, mContext); }

  // Binds the stage-0 texture with its states and points the coordinates
  // at the set the stage reads, or draws untextured. A stage reading a set
  // the vertices lack samples the texture at (0, 0).
  void PrepareTexture(const uint8_t* vertices, size_t stride, size_t sets) {
    const DeviceCalls& gl = *Calls();
    DirectDrawTexture* texture = mTexture != nullptr ? mTexture->Texture() : nullptr;
    const bool textured = texture != nullptr && mStageStates[D3DTSS_COLOROP] != D3DTOP_DISABLE;
    const size_t set = mStageStates[D3DTSS_TEXCOORDINDEX];
    const bool fromVertices = textured && set < sets;
    Enable(GL_TEXTURE_2D, textured);
    (fromVertices ? gl.glEnableClientState : gl.glDisableClientState)(GL_TEXTURE_COORD_ARRAY);
    if (!textured) return;
    Upload(*texture);
    if (fromVertices) {
      gl.glTexCoordPointer(2, GL_FLOAT, static_cast<GLsizei>(stride), vertices + 16 + 8 * set);
    } else {
      gl.glTexCoord2f(0, 0);
    }
    const bool replace = mStageStates[D3DTSS_COLOROP] == D3DTOP_SELECTARG1 &&
                         mStageStates[D3DTSS_COLORARG1] == D3DTA_TEXTURE;
    gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, replace ? GL_REPLACE : GL_MODULATE);
    const GLint wrap = mStageStates[D3DTSS_ADDRESS] == D3DTADDRESS_CLAMP ? kClampToEdge : GL_REPEAT;
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                       mStageStates[D3DTSS_MAGFILTER] == D3DTFG_LINEAR ? GL_LINEAR : GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, MinFilter(texture->levels.size()));
  }

  GLint MinFilter(size_t levels) const {
    const bool linear = mStageStates[D3DTSS_MINFILTER] == D3DTFN_LINEAR;
    const DWORD mip = levels > 1 ? mStageStates[D3DTSS_MIPFILTER] : D3DTFP_NONE;
    if (mip == D3DTFP_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (mip == D3DTFP_LINEAR) return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR : GL_NEAREST;
  }

  // Binds the texture's GL name, made in this context when needed, and
  // sends the levels changed since; the chain may stop before 1 x 1.
  void Upload(DirectDrawTexture& texture) {
    const DeviceCalls& gl = *Calls();
    if (texture.madeIn != mContext) {
      gl.glGenTextures(1, &texture.name);
      texture.madeIn = mContext;
      for (DirectDrawTexture::Level& level : texture.levels) level.changed = true;
    }
    gl.glBindTexture(GL_TEXTURE_2D, texture.name);
    gl.glTexParameteri(GL_TEXTURE_2D, kTextureMaxLevel,
                       static_cast<GLint>(texture.levels.size()) - 1);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (size_t i = 0; i < texture.levels.size(); ++i) {
      DirectDrawTexture::Level& level = texture.levels[i];
      if (!level.changed) continue;
      gl.glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), texture.hasAlpha ? GL_RGBA8 : GL_RGB8,
                      level.width, level.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.pixels.data());
      level.changed = false;
    }
  }

  void Enable(GLenum capability, bool on) {
    (on ? Calls()->glEnable : Calls()->glDisable)(capability);
  }

  GLint WindowHeight() const {
    RECT client{};
    GetClientRect(mWindow, &client);
    return client.bottom;
  }

  void ScissorTo(const D3DRECT& area) {
    Calls()->glScissor(area.x1, WindowHeight() - area.y2, area.x2 - area.x1, area.y2 - area.y1);
  }

  // Modelview = world x view (row vectors); projection with the depth map.
  void LoadTransforms() {
    const DeviceCalls& gl = *Calls();
    const D3DMATRIX modelView = Multiply(mTransforms[0], mTransforms[1]);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadMatrixf(&modelView.m[0][0]);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadMatrixf(kDepthToGL);
    gl.glMultMatrixf(&mTransforms[2].m[0][0]);
  }

  DirectDrawSurface& mTarget;
  HWND mWindow;
  HDC mDC;
  HGLRC mContext;
  D3DVIEWPORT7 mViewport{};
  D3DMATRIX mTransforms[3] = {kIdentity, kIdentity, kIdentity};  // world, view, projection
  bool mDepthWrite = true;
  GLenum mSourceBlend = GL_ONE;
  GLenum mDestinationBlend = GL_ZERO;
  std::vector<uint8_t> mColors;
  DWORD mStageStates[D3DTSS_MIPFILTER + 1] = {};
  DirectDrawSurface* mTexture = nullptr;  // stage 0, referenced
};

class Direct3D : public DirectXObject<IDirect3D7> {
 public:
  explicit Direct3D(DirectDrawObject& directDraw) : mDirectDraw(directDraw) {
    mDirectDraw.AddRef();
  }
  ~Direct3D() override { mDirectDraw.Release(); }

  HRESULT QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT CreateDevice(REFIID type, IDirectDrawSurface7* renderTarget,
                       IDirect3DDevice7** device) override {
    if (device == nullptr) return DDERR_INVALIDPARAMS;
    *device = nullptr;
    auto* target = static_cast<DirectDrawSurface*>(renderTarget);
    const bool known =
        IsEqualGUID(type, IID_IDirect3DHALDevice) || IsEqualGUID(type, IID_IDirect3DRGBDevice);
    if (!known || target == nullptr || (target->Caps() & DDSCAPS_3DDEVICE) == 0 ||
        target->mDeviceContext != nullptr || Calls() == nullptr) {
      return DDERR_INVALIDPARAMS;
    }
    HWND window = mDirectDraw.Window();
    HDC dc = GetDC(window);
    HGLRC context = CreateContext(dc, target->AttachedDepthBits());
    if (context == nullptr) {
      ReleaseDC(window, dc);
      return DDERR_GENERIC;
    }
    auto* made = new Direct3DDevice(*target, dc, context);
    if (!made->Start()) {
      made->Release();
      return DDERR_GENERIC;
    }
    *device = made;
    return D3D_OK;
  }

 private:
  static HGLRC CreateContext(HDC dc, int depthBits) {
    const PIXELFORMATDESCRIPTOR wanted{
        .nSize = sizeof(PIXELFORMATDESCRIPTOR),
        .nVersion = 1,
        .dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
        .iPixelType = PFD_TYPE_RGBA,
        .cColorBits = 32,
        .cDepthBits = static_cast<BYTE>(depthBits)};
    const int format = ChoosePixelFormat(dc, &wanted);
    if (format == 0 || !SetPixelFormat(dc, format, &wanted)) return nullptr;
    return wglCreateContext(dc);
  }

  DirectDrawObject& mDirectDraw;
};

}  // namespace

IDirect3D7* CreateDirect3D(DirectDrawObject& directDraw) { return new Direct3D(directDraw); }

void DeleteTextureName(GLuint name) {
  if (Calls() != nullptr) Calls()->glDeleteTextures(1, &name);
}

const char* DirectDrawRendererName() {
  const GLubyte* renderer = wglGetCurrentContext() != nullptr && Calls() != nullptr
                                ? Calls()->glGetString(GL_RENDERER)
                                : nullptr;
  return renderer != nullptr ? reinterpret_cast<const char*>(renderer) : "OpenGL";
}

}  // namespace vpl::platform
