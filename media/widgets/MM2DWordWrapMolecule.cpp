#include "media/widgets/MM2DWordWrapMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/stage/MM2DTextVisual.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMStage.h"

#include <cstring>

namespace {

constexpr int16_t kColourUnset = -2;

}  // namespace

MM2DWordWrapMolecule::MM2DWordWrapMolecule(MMScene* scene, int16_t boxCount)
    : MMMolecule(scene),
      MMWordWrapper(boxCount),
      mBoxStates(static_cast<size_t>(GetBoxCount())),
      mColour(kColourUnset) {}

MM2DWordWrapMolecule::MM2DWordWrapMolecule(MMScene* scene, int16_t boxCount, const AFColor& colour,
                                           MMFont* font, int32_t depth, const char* text)
    : MM2DWordWrapMolecule(scene, boxCount) {
  mColour = colour;
  mFont = font;
  mDepth = depth;
  SetText(text);
}

MM2DWordWrapMolecule::MM2DWordWrapMolecule(MMScene* scene, const UURect& box, const AFColor& colour,
                                           MMFont* font, int32_t depth, const char* text)
    : MM2DWordWrapMolecule(scene, 1) {
  mColour = colour;
  mFont = font;
  mDepth = depth;
  MMWordWrapper::SetBox(0, box);
  SetText(text);
}

MM2DWordWrapMolecule::~MM2DWordWrapMolecule() { DeleteLines(); }

void MM2DWordWrapMolecule::StoreText(const char* text) {
  mText.reset();
  if (text == nullptr) return;
  const size_t size = std::strlen(text) + 1;
  mText = std::make_unique<char[]>(size);
  std::memcpy(mText.get(), text, size);
}

void MM2DWordWrapMolecule::SetText(const char* text) {
  StoreText(text);
  mRewrapNeeded = true;
  Rewrap();
}

void MM2DWordWrapMolecule::SetBox(int16_t index, const UURect& rect) {
  MMWordWrapper::SetBox(index, rect);
  mRewrapNeeded = true;
  Rewrap();
}

void MM2DWordWrapMolecule::SetFont(MMFont* font) {
  mFont = font;
  mRewrapNeeded = true;
  Rewrap();
}

MM2DWordWrapMolecule::BoxState* MM2DWordWrapMolecule::StateOf(int16_t index) {
  if (index < 0 || index >= GetBoxCount()) return nullptr;
  return &mBoxStates[static_cast<size_t>(index)];
}

void MM2DWordWrapMolecule::SetBoxShown(int16_t index, bool shown) {
  BoxState* state = StateOf(index);
  if (state == nullptr) return;
  state->mShown = shown;
  Rewrap();
}

bool MM2DWordWrapMolecule::IsBoxShown(int16_t index) const {
  return index >= 0 && index < GetBoxCount() && mBoxStates[static_cast<size_t>(index)].mShown;
}

void MM2DWordWrapMolecule::SetColour(const AFColor& colour) {
  mColour = colour;
  for (MM2DPointTextVisual* line : mLineVisuals) line->SetStyle(mFont, mColour, 0, 0);
}

void MM2DWordWrapMolecule::SetDepth(int32_t depth) {
  mDepth = depth;
  for (MM2DPointTextVisual* line : mLineVisuals) line->SetDepth(depth);
}

void MM2DWordWrapMolecule::ResumeRewrap() {
  if (mSuspendCount > 0) --mSuspendCount;
  Rewrap();
}

void MM2DWordWrapMolecule::Rewrap() {
  if (mSuspendCount > 0 || GetEnclosure() == nullptr) return;
  DeleteLines();
  if (mText != nullptr && mFont != nullptr && GetVisibility() == kMMShown) {
    MMSurface* surface = GetStage()->GetBackSurface();
    surface->BeginText(mFont);
    if (mRewrapNeeded) {
      mRewrapNeeded = false;
      for (BoxState& state : mBoxStates) state.mTextStart = state.mTextEnd = nullptr;
      WrapText(surface, mText.get());
    } else {
      for (int16_t i = 0; i < GetBoxCount(); ++i) {
        const BoxState& state = mBoxStates[static_cast<size_t>(i)];
        if (state.mShown && state.mTextStart != nullptr) FillBox(surface, state.mTextStart, i);
      }
    }
    surface->EndText();
  }
  AddLinesToEnclosure();
}

void MM2DWordWrapMolecule::AddLinesToEnclosure() {
  for (MM2DPointTextVisual* line : mLineVisuals) {
    if (line->GetEnclosure() == nullptr) GetEnclosure()->AddVisual(line);
  }
}

void MM2DWordWrapMolecule::RemoveLinesFromEnclosure() {
  for (MM2DPointTextVisual* line : mLineVisuals) {
    if (line->GetEnclosure() != nullptr) line->GetEnclosure()->RemoveVisual(line);
  }
}

void MM2DWordWrapMolecule::DeleteLines() {
  RemoveLinesFromEnclosure();
  for (MM2DPointTextVisual* line : mLineVisuals) delete line;
  mLineVisuals.Clear();
}

void MM2DWordWrapMolecule::ApplyVisibility(MMVisibility visibility) {
  MMMolecule::ApplyVisibility(visibility);
  if (visibility == kMMShown) {
    Rewrap();
  } else {
    DeleteLines();
  }
}

void MM2DWordWrapMolecule::BeginBox(int16_t index, const char* text) {
  if (BoxState* state = StateOf(index)) state->mTextStart = text;
}

void MM2DWordWrapMolecule::EndBox(int16_t index, const char* text) {
  if (BoxState* state = StateOf(index)) state->mTextEnd = text;
}

void MM2DWordWrapMolecule::EmitLine(int16_t index, const char* text, int32_t length, int32_t x,
                                    int32_t y) {
  const BoxState* state = StateOf(index);
  if (state == nullptr || !state->mShown || length == 0) return;
  auto* line = new (ALGlobalAllocator) MM2DPointTextVisual(UUPoint{x, y}, mDepth);
  line->SetStyle(mFont, mColour, 0, 0);
  line->SetText(text, length);
  AddLineVisual(line);
}
