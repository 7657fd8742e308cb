#pragma once

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUPoint.h"
#include "media/widgets/MM2DTextEditVisuals.h"
#include "mm/stage/MMMolecule.h"
#include "mm/tasks/MMLightweightThread.h"

#include <cstdint>
#include <memory>

class MMFont;
class MMSingleEventInterpreter;

// Blinks a text field's cursor: shown and hidden for 200 ms each.
class MM2DTEditCursorThread : public MMLightweightThread {
 public:
  static constexpr int32_t kBlinkInterval = 200;

  MM2DTEditCursorThread(MMTaskClient* client, MM2DTEditCursorVisual* cursor)
      : MMLightweightThread(client), mCursor(cursor) {}

  bool Step() override;

 private:
  MM2DTEditCursorVisual* mCursor;
};

// A one-line text field of bounded length: a click gives it the keyboard
// focus, typed characters (double-byte ones included) are appended,
// backspace removes the last character, and while it has the focus a
// cursor blinks at the end of the text.
class MM2DTextEditMolecule : public MMMolecule {
 public:
  static constexpr int16_t kCharacterKey = 0;
  static constexpr int16_t kBackspaceKey = 2;

  struct Description {
    MMScene* mScene;
    int32_t mCapacity;  // bytes
    UUPoint mAnchor;
    int32_t mMaximumWidth;
    int32_t mVerticalAlignment;
    AFColor mColour;
    MMFont* mFont;
    AFColor mCursorColour;
    int32_t mDepth;
  };

  // Takes both visuals.
  MM2DTextEditMolecule(MMScene* scene, int32_t capacity, MM2DTEditTextVisual* text,
                       MM2DTEditCursorVisual* cursor);
  // The standard visuals: the text at the depth, the cursor in front of it.
  explicit MM2DTextEditMolecule(const Description& description);
  ~MM2DTextEditMolecule() override;

  void GainFocus() override;
  void LoseFocus() override;
  bool HandleKey(const MMKeyEvent& event) override;

  // At most capacity bytes of the text are kept.
  void SetText(const char* text);
  void SetDepth(int32_t depth);
  int32_t GetDepth() const { return mTextVisual->GetDepth(); }
  // The cursor moved to the end of the text.
  void UpdateCursor();

  const char* GetText() const { return mText.get(); }
  int32_t GetLength() const { return mLength; }
  MM2DTEditTextVisual* GetTextVisual() const { return mTextVisual; }
  MM2DTEditCursorVisual* GetCursorVisual() const { return mCursorVisual; }
  MM2DTEditCursorThread* GetCursorThread() const { return mCursorThread; }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  // Nothing when there is no room.
  void Append(uint8_t character, uint8_t secondByte);
  void Backspace();

  int32_t mCapacity;
  int32_t mLength = 0;
  std::unique_ptr<char[]> mText;
  MM2DTEditTextVisual* mTextVisual;
  MM2DTEditCursorVisual* mCursorVisual;
  MM2DTEditCursorThread* mCursorThread = nullptr;
  MMSingleEventInterpreter* mInterpreter = nullptr;
};
