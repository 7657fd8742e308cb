#pragma once

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUList.h"
#include "media/widgets/MMWordWrapper.h"
#include "mm/stage/MMMolecule.h"

#include <cstdint>
#include <memory>
#include <vector>

class MMFont;
class MM2DPointTextVisual;

// A text wrapped through boxes and shown as one point-text visual per line
// in the scene's enclosure; the lines are made again whenever the text, a
// box, the font or the visibility changes.
class MM2DWordWrapMolecule : public MMMolecule, public MMWordWrapper {
 public:
  // No text, no font, colour unset, depth 1.
  MM2DWordWrapMolecule(MMScene* scene, int16_t boxCount);
  // These copy the text and wrap at once; the latter has one box.
  MM2DWordWrapMolecule(MMScene* scene, int16_t boxCount, const AFColor& colour, MMFont* font,
                       int32_t depth, const char* text);
  MM2DWordWrapMolecule(MMScene* scene, const UURect& box, const AFColor& colour, MMFont* font,
                       int32_t depth, const char* text);
  ~MM2DWordWrapMolecule() override;

  // Null for none.
  void SetText(const char* text);
  void SetBox(int16_t index, const UURect& rect);
  void SetFont(MMFont* font);
  // Rewraps with the same split of the text into boxes.
  void SetBoxShown(int16_t index, bool shown);
  bool IsBoxShown(int16_t index) const;
  void SetColour(const AFColor& colour);
  void SetDepth(int32_t depth);
  // Nested; nothing is rewrapped until the last resume.
  void SuspendRewrap() { ++mSuspendCount; }
  void ResumeRewrap();

  void AddLinesToEnclosure();
  void RemoveLinesFromEnclosure();
  void AddLineVisual(MM2DPointTextVisual* visual) { mLineVisuals.PushBack(visual); }
  const UUList<MM2DPointTextVisual*>& GetLineVisuals() const { return mLineVisuals; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;
  void BeginBox(int16_t index, const char* text) override;
  void EmitLine(int16_t index, const char* text, int32_t length, int32_t x, int32_t y) override;
  void EndBox(int16_t index, const char* text) override;

 private:
  struct BoxState {
    const char* mTextStart = nullptr;  // null until a wrap reaches the box
    const char* mTextEnd = nullptr;
    bool mShown = true;
  };

  void StoreText(const char* text);
  void Rewrap();
  void DeleteLines();
  BoxState* StateOf(int16_t index);

  std::vector<BoxState> mBoxStates;
  std::unique_ptr<char[]> mText;
  MMFont* mFont = nullptr;
  AFColor mColour;
  int32_t mDepth = 1;
  int16_t mSuspendCount = 0;
  bool mRewrapNeeded = false;
  UUList<MM2DPointTextVisual*> mLineVisuals;
};
