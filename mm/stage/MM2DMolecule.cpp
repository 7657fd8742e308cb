#include "mm/stage/MM2DMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "mm/stage/MM2DPictureVisual.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMModalInterpreter.h"

namespace {

// Detach first, so the act holds no pointer to it.
void DeleteInterpreter(MMMouseInterpreter* interpreter) {
  if (interpreter == nullptr) return;
  interpreter->Detach();
  delete interpreter;
}

MM2DPictureButtonVisual* NewButtonVisual(UUPoint position, MMResourceId normal,
                                         MMResourceId highlighted, int32_t depth) {
  return new (ALGlobalAllocator) MM2DPictureButtonVisual(
      MMPictureReference(normal), MMPictureReference(highlighted), position, depth);
}

}  // namespace

MM2DVisualMolecule::MM2DVisualMolecule(MMScene* scene, MMPlanarVisual* visual)
    : MMMolecule(scene), mVisual(visual) {
  GetEnclosure()->AddVisual(mVisual);
}

MM2DVisualMolecule::~MM2DVisualMolecule() {
  GetEnclosure()->RemoveVisual(mVisual);
  delete mVisual;
}

int32_t MM2DVisualMolecule::GetDepth() const { return mVisual->GetDepth(); }

void MM2DVisualMolecule::SetDepth(int32_t depth) { mVisual->SetDepth(depth); }

UUPoint MM2DVisualMolecule::GetPosition() const { return mVisual->GetPosition(); }

void MM2DVisualMolecule::MoveTo(UUPoint point) { mVisual->MoveTo(point); }

void MM2DVisualMolecule::ApplyVisibility(MMVisibility visibility) {
  mVisual->SetVisibility(visibility);
  MMMolecule::ApplyVisibility(visibility);
}

MM2DMouseVisualMolecule::MM2DMouseVisualMolecule(MMScene* scene, const MMTaskCallback& binding,
                                                 const UURect& box, int32_t depth, MMCursor* cursor)
    : MM2DMouseVisualMolecule(scene, nullptr, box, depth) {
  mInterpreter = new (ALGlobalAllocator) MMSingleEventInterpreter(GetAct(), binding, cursor);
  GetVisual()->SetInterpreter(mInterpreter);
}

MM2DMouseVisualMolecule::MM2DMouseVisualMolecule(MMScene* scene, MMMouseInterpreter* interpreter,
                                                 const UURect& box, int32_t depth)
    : MM2DMouseVisualMolecule(scene, interpreter,
                              new (ALGlobalAllocator) MM2DBoxVisual(box, depth)) {}

MM2DMouseVisualMolecule::MM2DMouseVisualMolecule(MMScene* scene, MMMouseInterpreter* interpreter,
                                                 MMPlanarVisual* visual)
    : MM2DVisualMolecule(scene, visual), mInterpreter(interpreter) {
  visual->SetInterpreter(mInterpreter);
}

MM2DMouseVisualMolecule::~MM2DMouseVisualMolecule() {
  GetVisual()->SetInterpreter(nullptr);
  DeleteInterpreter(mInterpreter);
}

void MM2DMouseVisualMolecule::ApplyVisibility(MMVisibility visibility) {
  if (visibility == kMMHidden && mInterpreter != nullptr) mInterpreter->ReleaseMouseTarget();
  MM2DVisualMolecule::ApplyVisibility(visibility);
}

MM2DPictureButtonMolecule::MM2DPictureButtonMolecule(MMScene* scene, UUPoint position,
                                                     MMResourceId normal, MMResourceId highlighted,
                                                     int32_t depth, const MMTaskCallback& binding,
                                                     MMCursor* cursor)
    : MM2DPictureButtonMolecule(scene, NewButtonVisual(position, normal, highlighted, depth),
                                binding, cursor) {}

MM2DPictureButtonMolecule::MM2DPictureButtonMolecule(MMScene* scene, UUPoint position,
                                                     MMResourceId normal, MMResourceId highlighted,
                                                     int32_t depth, MMMouseInterpreter* interpreter)
    : MM2DPictureButtonMolecule(scene, NewButtonVisual(position, normal, highlighted, depth),
                                interpreter) {}

MM2DPictureButtonMolecule::MM2DPictureButtonMolecule(MMScene* scene,
                                                     MM2DPictureButtonVisual* visual,
                                                     const MMTaskCallback& binding,
                                                     MMCursor* cursor)
    : MMMolecule(scene), mVisual(visual) {
  mInterpreter =
      new (ALGlobalAllocator) MM2DPushButtonInterpreter(GetAct(), binding, visual, cursor);
  AttachVisual();
}

MM2DPictureButtonMolecule::MM2DPictureButtonMolecule(MMScene* scene,
                                                     MM2DPictureButtonVisual* visual,
                                                     MMMouseInterpreter* interpreter)
    : MMMolecule(scene), mVisual(visual), mInterpreter(interpreter) {
  AttachVisual();
}

MM2DPictureButtonMolecule::~MM2DPictureButtonMolecule() {
  GetEnclosure()->RemoveVisual(mVisual);
  mVisual->SetInterpreter(nullptr);
  DeleteInterpreter(mInterpreter);
  delete mVisual;
}

void MM2DPictureButtonMolecule::AttachVisual() {
  mVisual->SetInterpreter(mInterpreter);
  GetEnclosure()->AddVisual(mVisual);
}

void MM2DPictureButtonMolecule::SetInterpreter(MMMouseInterpreter* interpreter) {
  DeleteInterpreter(mInterpreter);
  mInterpreter = interpreter;
  mVisual->SetInterpreter(mInterpreter);
}

void MM2DPictureButtonMolecule::ApplyVisibility(MMVisibility visibility) {
  mVisual->SetVisibility(visibility);
  MMMolecule::ApplyVisibility(visibility);
}

MM2DPictureMolecule::MM2DPictureMolecule(MMScene* scene, MM2DPictureVisual* visual)
    : MMMolecule(scene), mVisual(visual) {
  GetEnclosure()->AddVisual(mVisual);
}

MM2DPictureMolecule::MM2DPictureMolecule(MMScene* scene, UUPoint position, int32_t depth)
    : MM2DPictureMolecule(scene, new (ALGlobalAllocator) MM2DPictureVisual(position, depth)) {}

MM2DPictureMolecule::MM2DPictureMolecule(MMScene* scene, const MMPictureReference& picture,
                                         UUPoint position, int32_t depth)
    : MM2DPictureMolecule(scene,
                          new (ALGlobalAllocator) MM2DPictureVisual(position, picture, depth)) {}

MM2DPictureMolecule::MM2DPictureMolecule(MMScene* scene, MMResourceId picture, UUPoint position,
                                         int32_t depth)
    : MM2DPictureMolecule(scene, MMPictureReference(picture), position, depth) {}

MM2DPictureMolecule::~MM2DPictureMolecule() {
  GetEnclosure()->RemoveVisual(mVisual);
  delete mVisual;
}

void MM2DPictureMolecule::ApplyVisibility(MMVisibility visibility) {
  mVisual->SetVisibility(visibility);
  MMMolecule::ApplyVisibility(visibility);
}
