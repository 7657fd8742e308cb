#include "app/creation/VPLToolShapePrimitive.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int16_t kLibraryListKind = 2;
constexpr int16_t kModelIdOffset = 2;
// The object starts this small and hidden until a drag sizes it.
constexpr float kStartScale = 0.1f;
constexpr float kLeastExtent = 0.1f;
constexpr float kMostExtent = 10.0f;
// A third of the pointer's travel becomes the extent.
constexpr float kExtentPerUnit = 0.333333f;

float Capped(float extent) { return extent < kMostExtent ? extent : kMostExtent; }

float Extent(float travel) { return Capped(std::fabs(travel) * kExtentPerUnit); }

}  // namespace

VPLToolShapePrimitive::VPLToolShapePrimitive(MMView* view, VPLCreation* creation,
                                             VPLSceneCreationArea* area, MMResourceId soundScript)
    : VPLTool(view, creation, area, soundScript) {}

VPLToolShapePrimitive::~VPLToolShapePrimitive() { DeleteNewObject(); }

void VPLToolShapePrimitive::DeleteNewObject() {
  if (!mNewObject) return;
  mNewObject->Detach();
  mNewObject.reset();
}

bool VPLToolShapePrimitive::OnMouse(const VPLPickEvent& event) {
  const bool alternate = event.Has(kVPLAlternate);
  UpdateCursor(alternate);
  const VPLSegment segment = SegmentAt(event);
  if (event.Has(kVPLPress) && !event.Has(kVPLDoubleClick)) {
    OnPress(event, segment, alternate);
  } else if (mEngaged && event.Has(kVPLHeld)) {
    if (mPhase == kSizing) Drag(segment, alternate);
  } else if (mEngaged && event.Has(kVPLRelease) && mPhase == kSizing) {
    OnRelease(event, segment, alternate);
  } else if (mEngaged && event.mX > 0 && event.mY > 0) {
    ShapeDepth(segment, alternate);
  }
  if (!mEngaged) mPhase = kIdle;
  return mEngaged;
}

void VPLToolShapePrimitive::OnPress(const VPLPickEvent& event, const VPLSegment& segment,
                                    bool alternate) {
  if (mPhase == kIdle && !mEngaged) {
    mPressX = event.mX;
    mPressY = event.mY;
    mEngaged = true;
    Begin(segment, alternate);
    mPhase = kSizing;
  } else if (mPhase == kShapingDepth) {
    mEngaged = false;
    Place(segment, alternate);
    mPhase = kIdle;
  }
}

void VPLToolShapePrimitive::OnRelease(const VPLPickEvent& event, const VPLSegment& segment,
                                      bool alternate) {
  if (event.mX == mPressX && event.mY == mPressY) {
    Discard(alternate);
    return;
  }
  mEngaged = true;
  End(segment, alternate);
  mPhase = kShapingDepth;
  FinishSizing(segment, alternate);
}

void VPLToolShapePrimitive::Discard(bool alternate) {
  if (mNewObject) SoundEnd(mNewObject->GetWorldPosition(), alternate);
  DeleteNewObject();
  mEngaged = false;
  mPhase = kIdle;
}

UURefCount<MM3DModel> VPLToolShapePrimitive::SelectedModel() const {
  const VPLScript library(mArea->GetLibraryList(), kLibraryListKind);
  const int32_t row = mArea->GetSelectedModel();
  if (row < 0 || row >= library.GetScript().GetRowCount()) return {};
  const auto id = static_cast<MMResourceId>(library.GetScript().GetUInt32(row, kModelIdOffset));
  // The stage's map, as for the library models the area adds.
  MMStage* stage = mArea->GetStage();
  return MM3DGetModel(id, stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap);
}

void VPLToolShapePrimitive::Begin(const VPLSegment& segment, bool alternate) {
  mPlane = VPLToolDragPlane::ThroughAxis(mCreation->GetCamera().GetEye());
  const MM3DVector across = mPlane.A().Direction(mPlane.C());
  const VPLFlatDirection facing(across.mX, across.mZ);
  mFacing = VPLYaw(facing, facing.mX, facing.mX > 0.0f);
  const UURefCount<MM3DModel> model = SelectedModel();
  if (!mPlane.Meet(segment, mStart) || !model) {
    mEngaged = false;
    return;
  }
  DeleteNewObject();
  mNewObject = std::make_unique<VPLObjCreationUser>(mArea, model, nullptr);
  mNewObject->SetVisibility(kMMHidden);
  mNewObject->SetLocation(mStart);
  mNewObject->RotateBy(0.0f, mFacing, 0.0f);
  mNewObject->SetScale(kStartScale, kStartScale, kStartScale);
  if (mArea->GetMaterializer() != nullptr) mArea->GetMaterializer()->Apply(mNewObject.get());
  SoundBegin(mStart, alternate);
}

void VPLToolShapePrimitive::Drag(const VPLSegment& segment, bool alternate) {
  MM3DVector h;
  if (!mPlane.Meet(segment, h)) return;
  const MM3DVector d = h.Direction(mStart);
  if (mNewObject && std::sqrt(d.LengthSquared()) > kLeastExtent) {
    const float horizontal = std::sqrt(d.mX * d.mX + d.mZ * d.mZ);
    const float vertical = mStart.mY - h.mY;
    const float ex = Extent(horizontal);
    const float ey = Extent(vertical);
    const float ez = Extent((horizontal + vertical) / 2.0f);
    if (alternate) {
      if (ex > kLeastExtent && ey > kLeastExtent && ez > kLeastExtent)
        mNewObject->SetScale(ex, ey, ez);
    } else if (const float m = std::max(ex, ey); m > kLeastExtent) {
      mNewObject->SetScale(m, m, m);
    }
    mNewObject->SetVisibility(kMMShown);
  }
  SoundDrag(h, alternate);
}

void VPLToolShapePrimitive::End(const VPLSegment& segment, bool alternate) {
  if (!mPlane.Meet(segment, mRelease)) {
    SoundEnd(mRelease, alternate);
    return;
  }
  if (alternate) return;
  Place(segment, false);
  mPhase = kIdle;
  mEngaged = false;
}

void VPLToolShapePrimitive::FinishSizing(const VPLSegment& segment, bool alternate) {
  if (!alternate) {
    Place(segment, false);
    mPhase = kIdle;
    mEngaged = false;
    return;
  }
  if (!mNewObject) return;
  const MM3DMatrix scale = mNewObject->GetScaleMatrix();
  const float width = scale.mElement[0][0];
  const float height = scale.mElement[1][1];
  mWidth = Capped(std::fabs(width));
  mHeight = Capped(std::fabs(height));
  mDepth = Capped(std::fabs((width + height) / 2.0f));
  if (mWidth > kLeastExtent && mHeight > kLeastExtent && mDepth > kLeastExtent)
    mNewObject->SetScale(mWidth, mHeight, mDepth);
}

void VPLToolShapePrimitive::ShapeDepth(const VPLSegment& segment, bool /*alternate*/) {
  MM3DVector h;
  if (!mNewObject || !mPlane.Meet(segment, h)) return;
  // Measured from the release point every time: the stored depth stays.
  float depth = std::fabs(h.mY - mRelease.mY) + mDepth;
  if (!(depth > kLeastExtent)) depth = kLeastExtent;
  if (mWidth > kLeastExtent && mHeight > kLeastExtent) mNewObject->SetScale(mWidth, mHeight, depth);
}

void VPLToolShapePrimitive::Place(const VPLSegment& /*segment*/, bool alternate) {
  if (!mNewObject) return;
  mNewObject->SetCreation(mCreation);
  mNewObject->RefreshBounds();
  // The checkpoint holds the creation without the new object.
  MarkChanged();
  VPLObjCreationUser* placed = mNewObject.release();
  mCreation->AddObject(placed);
  SoundEnd(placed->GetWorldPosition(), alternate);
}
