#include "app/creation/VPLToolShapeFreehand.h"

#include "app/creation/RU3DPolyLineVisual.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLToolSoundArcade.h"
#include "mm/stage/MMEnclosure.h"

#include <algorithm>
#include <cmath>

namespace {

const MM3DColor kStrokeColor{1.0f, 0.0f, 0.0f, 0.0f};
// A cell this small comes from a camera on an axis, where the plane has no
// extent along that axis: it takes the plane's pitch instead.
constexpr float kLeastCell = 1e-4f;
// Distances from the last grid point: below one cell nothing is new;
// below a diagonal cell the point is the next one on its own.
constexpr float kOneCell = 0.5f;
constexpr float kDiagonalCell = 0.75f;

float Length(const MM3DVector& d) { return std::sqrt(d.mX * d.mX + d.mY * d.mY + d.mZ * d.mZ); }

float CellOrPitch(float cell) {
  return std::fabs(cell) < kLeastCell ? VPLToolShapeFreehand::kCell : cell;
}

MM3DVector Step(const MM3DVector& d, int32_t n) {
  if (n == 0) return {0.0f, 0.0f, 0.0f, 0.0f};
  const auto count = static_cast<float>(n);
  return {d.mX / count, d.mY / count, d.mZ / count, 0.0f};
}

MM3DVector Along(const MM3DVector& from, const MM3DVector& step, int32_t i) {
  const auto k = static_cast<float>(i);
  return {from.mX + k * step.mX, from.mY + k * step.mY, from.mZ + k * step.mZ, 1.0f};
}

}  // namespace

VPLToolShapeFreehand::VPLToolShapeFreehand(MMView* view, VPLCreation* creation,
                                           VPLSceneCreationArea* area, MMResourceId soundScript)
    : VPLTool(view, creation, area, soundScript) {
  SetSound(std::make_unique<VPLToolSoundFreehandShape>(area, soundScript));
  SetCursors(kCursor, kCursor);
}

VPLToolShapeFreehand::~VPLToolShapeFreehand() { RemoveStroke(); }

float VPLToolShapeFreehand::Snap(float v, float cell) {
  const float size = std::fabs(cell);
  const float t = v >= 0.0f ? v + size / 2 : v - size / 2;
  return t - std::fmod(t, size);
}

MM3DVector VPLToolShapeFreehand::SnapPoint(const MM3DVector& p) const {
  return {Snap(p.mX, mCellSize.mX), Snap(p.mY, mCellSize.mY), Snap(p.mZ, mCellSize.mZ), 1.0f};
}

bool VPLToolShapeFreehand::OnMouse(const VPLPickEvent& event) {
  const bool alternate = event.Has(kVPLAlternate);
  UpdateCursor(alternate);
  const auto segment = [&] { return VPLScreenToWorldSegment(*mView, event.mX, event.mY, false); };
  if (event.Has(kVPLPress) && !event.Has(kVPLDoubleClick)) {
    mEngaged = true;
    Begin(segment(), alternate);
  } else if (event.Has(kVPLHeld) && mEngaged) {
    Drag(segment(), alternate);
  } else if (event.Has(kVPLRelease) && mEngaged) {
    End(segment(), alternate);
    mEngaged = false;
  }
  return mEngaged;
}

void VPLToolShapeFreehand::FaceCamera() {
  mCellSize = {CellOrPitch(kCell * std::cos(mPlane.mYaw)), kCell,
               CellOrPitch(kCell * std::sin(mPlane.mYaw)), 0.0f};
}

void VPLToolShapeFreehand::Begin(const VPLSegment& segment, bool /*alternate*/) {
  // A press that comes before the release of the last one starts afresh.
  RemoveStroke();
  MM3DVector hit;
  if (mArea == nullptr || !mPlane.Face(mArea->GetCamera()->GetPosition()) ||
      !mPlane.Intersect(segment, hit)) {
    mEngaged = false;
    return;
  }
  FaceCamera();
  mStartPoint = SnapPoint(hit);
  mLastPoint = mStartPoint;
}

int32_t VPLToolShapeFreehand::FillCount(const MM3DVector& d) const {
  const float steps = std::max({std::fabs(d.mX / mCellSize.mX), std::fabs(d.mY / mCellSize.mY),
                                std::fabs(d.mZ / mCellSize.mZ)});
  // Never more points than the stroke can still take, however fine the
  // grid or far the jump (and none for a distance that is not a number).
  const int32_t room = RU3DPolyLineVisual::kMaxPoints - (mStroke ? mStroke->GetCount() : 1);
  if (!(steps >= 0.0f)) return 0;
  return steps >= static_cast<float>(room) ? room : static_cast<int32_t>(std::floor(steps));
}

void VPLToolShapeFreehand::AddStrokePoint(const MM3DVector& q, const MM3DVector& p,
                                          bool alternate) {
  if (!mStroke) {
    mStroke = std::make_unique<RU3DPolyLineVisual>(mStartPoint, q, kStrokeColor, kStrokeWidth, 0);
    mArea->GetEnclosure()->AddVisual(mStroke.get());
    mStroke->SetVisibility(kMMShown);
    SoundBegin(mStartPoint, alternate);
  } else if (mStroke->AddPoint(q)) {
    SoundDrag(p, alternate);
  } else if (mSound) {
    mSound->StopLoopHere();
  }
}

void VPLToolShapeFreehand::Drag(const VPLSegment& segment, bool alternate) {
  MM3DVector hit;
  if (!mPlane.Intersect(segment, hit)) return;
  const MM3DVector p = SnapPoint(hit);
  const MM3DVector d = p.Direction(mLastPoint);
  const float distance = Length(d);
  if (!(distance >= kOneCell)) return;
  if (distance < kDiagonalCell) {
    AddStrokePoint(p, p, alternate);
  } else {
    const int32_t n = FillCount(d);
    const MM3DVector step = Step(d, n);
    for (int32_t i = 1; i <= n; ++i) {
      const MM3DVector q = SnapPoint(Along(mLastPoint, step, i));
      if (!q.Equals(mLastPoint)) AddStrokePoint(q, p, alternate);
    }
  }
  mLastPoint = p;
}

void VPLToolShapeFreehand::CloseStroke(const VPLSegment& segment) {
  MM3DVector hit;
  if (!mPlane.Intersect(segment, hit)) return;
  const MM3DVector r = SnapPoint(hit);
  const MM3DVector d = mStartPoint.Direction(r);
  if (Length(d) > kDiagonalCell) {
    const int32_t n = FillCount(d);
    const MM3DVector step = Step(d, n);
    for (int32_t i = 0; i < n; ++i) {
      const MM3DVector q = SnapPoint(Along(r, step, i));
      if (!q.Equals(mLastPoint)) mStroke->AddPoint(q);
      mLastPoint = q;
    }
  }
  mLastPoint = r;
}

void VPLToolShapeFreehand::End(const VPLSegment& segment, bool /*alternate*/) {
  if (!mStroke) return;
  CloseStroke(segment);
  std::vector<MM3DVector> points(static_cast<size_t>(RU3DPolyLineVisual::kMaxPoints));
  const int16_t n = mStroke->GetPoints(points.data(), RU3DPolyLineVisual::kMaxPoints);
  if (n >= kLeastOutline) BuildShape(points.data(), n);
  // The release sound tells the two styles apart, whatever Shift says.
  SoundEnd(mStartPoint, mArea->GetFreehandMode() != kRoundedMode);
  RemoveStroke();
}

void VPLToolShapeFreehand::RemoveStroke() {
  if (!mStroke) return;
  if (MMEnclosure* enclosure = mStroke->GetEnclosure()) enclosure->RemoveVisual(mStroke.get());
  mStroke.reset();
}
