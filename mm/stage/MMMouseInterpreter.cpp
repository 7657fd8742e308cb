#include "mm/stage/MMMouseInterpreter.h"

#include "mm/stage/MMAct.h"
#include "mm/stage/MMHighlightable.h"
#include "mm/stage/MMStage.h"

namespace {

constexpr int32_t kArrowCursorId = 0;

}  // namespace

MMMouseInterpreter::MMMouseInterpreter(MMAct* act, MMCursor* cursor)
    : mAct(act), mCursor(cursor != nullptr ? cursor : act->GetStage()->GetCursor(kArrowCursorId)) {}

MMStage* MMMouseInterpreter::GetStage() const { return mAct->GetStage(); }

void MMMouseInterpreter::ReleaseMouseTarget() {
  if (mAct->GetMouseTarget().mTarget == this) mAct->SetMouseTarget(MMMouseTarget());
}

MMStandardMouseInterpreter::MMStandardMouseInterpreter(MMAct* act, const MMTaskCallback& binding,
                                                       MMCursor* cursor)
    : MMMouseInterpreter(act, cursor), mBinding(binding) {}

bool MMSingleEventInterpreter::HandleMouse(const MMMouseEvent& event) {
  if (Matches(event)) Fire();
  return false;
}

void MMHighlightInterpreter::MouseEnter() {
  if (mHighlight != nullptr) mHighlight->SetHighlight(1);
}

void MMHighlightInterpreter::MouseLeave() {
  if (mHighlight != nullptr) mHighlight->SetHighlight(0);
}
