#include "mm3d/drivers/win/WinMM3DGLDriverBase.h"

#include "mm3d/drivers/win/WinMM3DGLTriangleBuffer.h"

namespace {

constexpr float kByteToUnit = 0.00392156862745098f;  // 1/255

constexpr GLenum kDepthFunctions[] = {GL_ALWAYS,  GL_NEVER,  GL_LESS,  GL_LEQUAL,
                                      GL_GREATER, GL_GEQUAL, GL_EQUAL, GL_NOTEQUAL};
constexpr GLenum kBlendFactors[] = {GL_ZERO,      GL_ONE,
                                    GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                                    GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                    GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR,
                                    GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR};

GLenum BlendFactorOf(int32_t code) {
  return code >= 0 && code <= kMM3DBlendInvSourceColor ? kBlendFactors[code] : GL_ONE;
}

}  // namespace

void WinMM3DGLProjectionMatrix(const MM3DProjectionVolume& volume, float out[16]) {
  const float n = volume.GetNear();
  const float f = volume.GetFar();
  const float l = volume.GetLeft();
  const float r = volume.GetRight();
  const float b = volume.GetBottom();
  const float t = volume.GetTop();
  std::fill(out, out + 16, 0.0f);
  if (volume.IsPerspective()) {
    out[0] = 2 * n / (r - l);
    out[5] = 2 * n / (t - b);
    out[10] = (f + n) / (f - n);
    out[11] = 1;
    out[14] = -2 * f * n / (f - n);
  } else {
    out[0] = 2 / (r - l);
    out[5] = 2 / (t - b);
    out[10] = 2 / (f - n);
    out[12] = -(r + l) / (r - l);
    out[13] = -(t + b) / (t - b);
    out[14] = -(f + n) / (f - n);
    out[15] = 1;
  }
}

WinMM3DGLDriverBase::WinMM3DGLDriverBase(const MM3DDeviceMode& mode,
                                         const WinMM3DGLDispatch& dispatch)
    : MM3DDriver(mode), mDispatch(dispatch), mTextures(mDispatch) {
  for (GLenum matrix : {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE}) {
    mDispatch.glMatrixMode(matrix);
    mDispatch.glLoadIdentity();
  }
  for (GLenum array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY}) {
    mDispatch.glEnableClientState(array);
  }
}

WinMM3DGLDriverBase::~WinMM3DGLDriverBase() {
  if (!mTexture.IsEmpty()) {
    mTexture.Release();
    mTextures.Unselect();
  }
  if (mDispatch.mContext != nullptr) {
    mDispatch.wglMakeCurrent(nullptr, nullptr);
    mDispatch.wglDeleteContext(mDispatch.mContext);
  }
}

void WinMM3DGLDriverBase::BeginScene() { GdiFlush(); }

// OpenGL clears only the depth it may write: a depth mode that does not
// write would otherwise keep the last frame's depth.
void WinMM3DGLDriverBase::Clear() {
  const bool depth = mMode.mDepthBufferCode != 0;
  const bool masked =
      mStateCache.mDepthMode == kMM3DDepthOff || mStateCache.mDepthMode == kMM3DDepthTestOnly;
  if (depth && masked) mDispatch.glDepthMask(GL_TRUE);
  mDispatch.glClear(GL_COLOR_BUFFER_BIT | (depth ? GL_DEPTH_BUFFER_BIT : 0));
  if (depth && masked) mDispatch.glDepthMask(GL_FALSE);
}

void WinMM3DGLDriverBase::SetClearColor(uint32_t color) {
  mDispatch.glClearColor(static_cast<float>(color & 0xFF) * kByteToUnit,
                         static_cast<float>(color >> 8 & 0xFF) * kByteToUnit,
                         static_cast<float>(color >> 16 & 0xFF) * kByteToUnit,
                         static_cast<float>(color >> 24) * kByteToUnit);
}

void WinMM3DGLDriverBase::SetCullMode(int32_t mode) {
  if (mode == kMM3DCullNone) {
    mDispatch.glDisable(GL_CULL_FACE);
    return;
  }
  mDispatch.glEnable(GL_CULL_FACE);
  mDispatch.glFrontFace(GL_CCW);
  mDispatch.glCullFace(mode == kMM3DCullClockwise ? GL_BACK : GL_FRONT);
}

void WinMM3DGLDriverBase::SetFillMode(int32_t mode) {
  mDispatch.glPolygonMode(GL_FRONT_AND_BACK, mode != kMM3DFillSolid ? GL_LINE : GL_FILL);
}

// OpenGL writes no depth while its test is off, so writing without testing
// is a test that always passes; the cached function returns with the
// next mode.
void WinMM3DGLDriverBase::SetDepthMode(int32_t mode) {
  const bool writeOnly = mode == kMM3DDepthWriteOnly;
  const bool test = mode == kMM3DDepthTestOnly || mode == kMM3DDepthTestAndWrite || writeOnly;
  const bool write = mode == kMM3DDepthTestAndWrite || writeOnly;
  test ? mDispatch.glEnable(GL_DEPTH_TEST) : mDispatch.glDisable(GL_DEPTH_TEST);
  mDispatch.glDepthMask(write ? GL_TRUE : GL_FALSE);
  if (writeOnly == mWriteOnlyDepth) return;
  mWriteOnlyDepth = writeOnly;
  if (writeOnly) {
    mDispatch.glDepthFunc(GL_ALWAYS);
  } else if (mStateCache.mDepthFunction != kMM3DStateUnset) {
    SetDepthFunction(mStateCache.mDepthFunction);
  }
}

void WinMM3DGLDriverBase::SetDepthFunction(int32_t function) {
  if (mWriteOnlyDepth) return;
  const bool known = function >= kMM3DDepthAlways && function <= kMM3DDepthNotEqual;
  mDispatch.glDepthFunc(known ? kDepthFunctions[function] : GL_ALWAYS);
}

void WinMM3DGLDriverBase::SetBlending(int32_t opaque) {
  opaque != kMM3DBlendingOn ? mDispatch.glDisable(GL_BLEND) : mDispatch.glEnable(GL_BLEND);
}

void WinMM3DGLDriverBase::SetBlendFactors(int32_t source, int32_t destination) {
  mDispatch.glBlendFunc(BlendFactorOf(source), BlendFactorOf(destination));
}

void WinMM3DGLDriverBase::SetTextureMode(int32_t mode) {
  mDispatch.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE,
                      mode != kMM3DTextureModulate ? GL_REPLACE : GL_MODULATE);
}

void WinMM3DGLDriverBase::SetPerspectiveHint(int32_t hint) {
  mDispatch.glHint(GL_PERSPECTIVE_CORRECTION_HINT,
                   hint != kMM3DPerspectiveCorrect ? GL_FASTEST : GL_NICEST);
}

void WinMM3DGLDriverBase::SetDithering(int32_t dithering) {
  if (dithering == kMM3DDitheringOn) mDispatch.glEnable(GL_DITHER);
  if (dithering == kMM3DDitheringOff) mDispatch.glDisable(GL_DITHER);
}

void WinMM3DGLDriverBase::SetViewport(const UURect& viewport) {
  mDispatch.glViewport(viewport.mLeft, mMode.mHeight - viewport.mBottom, viewport.GetWidth(),
                       viewport.GetHeight());
}

void WinMM3DGLDriverBase::SetDepthRange(const MM3DDepthRange& range) {
  mDispatch.glDepthRange(range.mNear, range.mFar);
}

void WinMM3DGLDriverBase::SetProjection(const MM3DProjectionVolume& volume) {
  float matrix[16];
  WinMM3DGLProjectionMatrix(volume, matrix);
  mDispatch.glMatrixMode(GL_PROJECTION);
  mDispatch.glLoadMatrixf(matrix);
}

void WinMM3DGLDriverBase::SetViewMatrix(const MM3DMatrix& matrix) {
  float rows[16];
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) rows[r * 4 + c] = matrix.mElement[r][c];
    rows[r * 4 + 3] = r == 3 ? 1.0f : 0.0f;
  }
  mDispatch.glMatrixMode(GL_MODELVIEW);
  mDispatch.glLoadMatrixf(rows);
}

MM3DTriangleBuffer* WinMM3DGLDriverBase::CreateTriangleBuffer(int32_t capacity,
                                                              int32_t texCoordSets) {
  return WinMM3DGLTriangleBuffer::Create(capacity, texCoordSets);
}

void WinMM3DGLDriverBase::DestroyTriangleBuffer(MM3DTriangleBuffer* buffer) { delete buffer; }

void WinMM3DGLDriverBase::DrawTriangleBuffer(const MM3DRenderStateBlock& block,
                                             MM3DTriangleBuffer& buffer, int32_t first,
                                             int32_t count) {
  auto* triangles = dynamic_cast<WinMM3DGLTriangleBuffer*>(&buffer);
  if (triangles == nullptr || !triangles->HoldsRange(first, count)) return;
  mDispatch.glVertexPointer(3, GL_FLOAT, sizeof(MM3DVector), triangles->PositionsOf(first));
  mDispatch.glColorPointer(4, GL_UNSIGNED_BYTE, 0, triangles->ColorsOf(first));
  for (int32_t stage = 0; stage < block.mStageCount && stage < kMM3DMaxStages; ++stage) {
    block.ApplyStage(*this, stage);
    mDispatch.glTexCoordPointer(2, GL_FLOAT, 0, triangles->TexCoordsOf(stage, first));
    mDispatch.glDrawArrays(GL_TRIANGLES, 0, 3 * count);
  }
}
