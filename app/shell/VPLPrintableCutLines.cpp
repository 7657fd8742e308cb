#include "app/shell/VPLPrintableCutLines.h"

#include "foundation/af/AFPrintSessionBase.h"
#include "platform/win32/gdi.h"

namespace {

constexpr int kArmsPerInch = 8;

}  // namespace

bool VPLPrintableCutLines::Draw(AFPrintSessionBase& session) {
  const UUPoint resolution = session.GetResolution();
  const int armX = resolution.mX / kArmsPerInch;
  const int armY = resolution.mY / kArmsPerInch;
  const UURect& r = mRect;
  const POINT brackets[4][3] = {
      {{r.mLeft, r.mTop + armY}, {r.mLeft, r.mTop}, {r.mLeft + armX, r.mTop}},
      {{r.mRight - armX, r.mTop}, {r.mRight, r.mTop}, {r.mRight, r.mTop + armY}},
      {{r.mRight, r.mBottom - armY}, {r.mRight, r.mBottom}, {r.mRight - armX, r.mBottom}},
      {{r.mLeft + armX, r.mBottom}, {r.mLeft, r.mBottom}, {r.mLeft, r.mBottom - armY}}};
  HDC dc = session.GetDC();
  HPEN pen = CreatePen(PS_SOLID, 1, mColor.ToColorRef());
  SelectObject(dc, pen);
  for (const auto& bracket : brackets) Polyline(dc, bracket, 3);
  SelectObject(dc, GetStockObject(NULL_PEN));
  DeleteObject(pen);
  return true;
}
