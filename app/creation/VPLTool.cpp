#include "app/creation/VPLTool.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLToolSoundGeneric.h"

VPLTool::VPLTool(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                 MMResourceId soundScript)
    : mView(view),
      mCreation(creation),
      mArea(area),
      mSound(std::make_unique<VPLToolSoundGeneric>(area, soundScript)) {}

VPLTool::~VPLTool() = default;

void VPLTool::UpdateCursor(bool alternate) {
  if (mArea != nullptr) mArea->SetCursor(alternate ? mAlternateCursor : mNormalCursor);
}

void VPLTool::SetCursors(int32_t normal, int32_t alternate) {
  mNormalCursor = normal;
  mAlternateCursor = alternate;
}

void VPLTool::SetSound(std::unique_ptr<VPLToolSound> sound) { mSound = std::move(sound); }

VPLSegment VPLTool::SegmentAt(const VPLPickEvent& event) const {
  return VPLScreenToWorldSegment(*mView, event.mX, event.mY, true);
}

void VPLTool::MarkChanged() {
  mCreation->SetModified(true);
  mArea->TakeSnapshot();
}

void VPLTool::SoundBegin(const MM3DVector& position, bool alternate) {
  if (mSound) mSound->Begin(position, alternate);
}

void VPLTool::SoundDrag(const MM3DVector& position, bool alternate) {
  if (mSound) mSound->Drag(position, alternate);
}

void VPLTool::SoundEnd(const MM3DVector& position, bool alternate) {
  if (mSound) mSound->End(position, alternate);
}

void VPLTool::SoundAct(const MM3DVector& position, bool alternate) {
  if (mSound) mSound->Act(position, alternate);
}

bool VPLToolObjectBased::OnMouse(const VPLPickEvent& event) {
  return RunPressDragRelease(event, [this](const VPLSegment& segment) {
    MM3DVector hit(0.0f, 0.0f, 0.0f, 1.0f);
    mPicked = mCreation->PickObject(segment.mStart, segment.mEnd, &hit, &mHitVertex);
    return mPicked != nullptr;
  });
}

MM3DVector VPLToolObjectBasedOnUpAction::PickedPosition() const {
  return mPicked->GetWorldPosition();
}

void VPLToolObjectBasedOnUpAction::Begin(const VPLSegment& /*segment*/, bool alternate) {
  if (mPicked != nullptr) SoundBegin(PickedPosition(), alternate);
}

void VPLToolObjectBasedOnUpAction::Drag(const VPLSegment& /*segment*/, bool alternate) {
  if (mPicked != nullptr) SoundDrag(PickedPosition(), alternate);
}

void VPLToolObjectBasedOnUpAction::End(const VPLSegment& segment, bool alternate) {
  if (mPicked != nullptr && mPicked->IntersectsBounds(segment.mStart, segment.mEnd)) {
    Act(segment, alternate);
  }
  if (mPicked != nullptr) SoundEnd(PickedPosition(), alternate);
  mPicked = nullptr;
}

void VPLToolObjectBasedOnUpAction::Act(const VPLSegment& /*segment*/, bool alternate) {
  if (mPicked != nullptr) SoundAct(PickedPosition(), alternate);
}
