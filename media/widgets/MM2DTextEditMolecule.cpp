#include "media/widgets/MM2DTextEditMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUString.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMMouseInterpreter.h"
#include "mm/stage/MMScene.h"
#include "mm/tasks/MMTaskTime.h"

#include <cstring>

namespace {

constexpr uint8_t kFirstPrintable = 32;

}  // namespace

bool MM2DTEditCursorThread::Step() {
  if (GetState() == kStopping) return false;
  mCursor->Blink();
  Sleep(kBlinkInterval);
  return true;
}

MM2DTextEditMolecule::MM2DTextEditMolecule(MMScene* scene, int32_t capacity,
                                           MM2DTEditTextVisual* text, MM2DTEditCursorVisual* cursor)
    : MMMolecule(scene),
      mCapacity(capacity < 0 ? 0 : capacity),
      mText(std::make_unique<char[]>(static_cast<size_t>(mCapacity) + 1)),
      mTextVisual(text),
      mCursorVisual(cursor) {
  mCursorThread = new (ALGlobalAllocator) MM2DTEditCursorThread(GetTaskClient(), mCursorVisual);
  mCursorThread->Start();
  mCursorThread->WakeAt(kMMNever);
  mInterpreter = new (ALGlobalAllocator) MMSingleEventInterpreter(GetAct());
  mInterpreter->SetBinding(MakeTakeFocusCallback());
  mTextVisual->SetTextSource(this);
  mTextVisual->SetInterpreter(mInterpreter);
  GetEnclosure()->AddVisual(mTextVisual);
  GetEnclosure()->AddVisual(mCursorVisual);
  mCursorVisual->SetVisibility(kMMHidden);
  mCursorVisual->MoveTo(mTextVisual->GetCursorPosition());
}

MM2DTextEditMolecule::MM2DTextEditMolecule(const Description& d)
    : MM2DTextEditMolecule(
          d.mScene, d.mCapacity,
          new (ALGlobalAllocator) MM2DStandardTEditTextVisual(
              d.mMaximumWidth, d.mVerticalAlignment, d.mColour, d.mFont, d.mAnchor, d.mDepth),
          new (ALGlobalAllocator)
              MM2DStandardTEditCursorVisual(d.mCursorColour, d.mFont, d.mDepth + 1)) {}

MM2DTextEditMolecule::~MM2DTextEditMolecule() {
  GetEnclosure()->RemoveVisual(mTextVisual);
  GetEnclosure()->RemoveVisual(mCursorVisual);
  mTextVisual->SetInterpreter(nullptr);
  mInterpreter->Detach();
  delete mInterpreter;
  mCursorThread->Terminate();
  delete mCursorThread;
  delete mCursorVisual;
  delete mTextVisual;
}

void MM2DTextEditMolecule::SetText(const char* text) {
  UUCopyString(text, mText.get(), mCapacity + 1);
  mLength = static_cast<int32_t>(std::strlen(mText.get()));
  UpdateCursor();
}

void MM2DTextEditMolecule::SetDepth(int32_t depth) {
  mTextVisual->SetDepth(depth);
  mCursorVisual->SetDepth(depth + 1);
}

void MM2DTextEditMolecule::UpdateCursor() {
  mTextVisual->InvalidateBounds();
  mCursorVisual->MoveTo(mTextVisual->GetCursorPosition());
}

void MM2DTextEditMolecule::GainFocus() {
  MMMolecule::GainFocus();
  mCursorThread->WakeIn(0);
}

void MM2DTextEditMolecule::LoseFocus() {
  mCursorThread->WakeAt(kMMNever);
  mCursorVisual->SetVisibility(kMMHidden);
  MMMolecule::LoseFocus();
}

bool MM2DTextEditMolecule::HandleKey(const MMKeyEvent& event) {
  if (event.mKeyCode == kCharacterKey) {
    if (event.mCharacter < kFirstPrintable) return false;
    Append(event.mCharacter, event.mSecondByte);
    return true;
  }
  if (event.mKeyCode == kBackspaceKey) {
    Backspace();
    return true;
  }
  return false;
}

void MM2DTextEditMolecule::Append(uint8_t character, uint8_t secondByte) {
  const int32_t bytes = secondByte != 0 ? 2 : 1;
  if (mLength + bytes > mCapacity) return;
  mText[static_cast<size_t>(mLength++)] = static_cast<char>(character);
  if (secondByte != 0) mText[static_cast<size_t>(mLength++)] = static_cast<char>(secondByte);
  mText[static_cast<size_t>(mLength)] = '\0';
  UpdateCursor();
}

void MM2DTextEditMolecule::Backspace() {
  if (mLength == 0) return;
  mLength = static_cast<int32_t>(UUPreviousCharOffset(mText.get(), mLength));
  mText[static_cast<size_t>(mLength)] = '\0';
  UpdateCursor();
}

void MM2DTextEditMolecule::ApplyVisibility(MMVisibility visibility) {
  if (visibility == kMMHidden) {
    mInterpreter->ReleaseMouseTarget();
    if (HasFocus()) GetScene()->SetFocusMolecule(nullptr);
  }
  MMMolecule::ApplyVisibility(visibility);
  mTextVisual->SetVisibility(visibility);
}
