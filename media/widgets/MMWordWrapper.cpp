#include "media/widgets/MMWordWrapper.h"

#include "foundation/uu/UUString.h"
#include "mm/drawing/MMSurface.h"

namespace {

constexpr char kBlank = ' ';
constexpr char kLineFeed = '\n';

const char* SkipBlanks(const char* text) {
  while (*text == kBlank) ++text;
  return text;
}

bool EndsWord(char c) { return c == '\0' || c == kBlank || c == kLineFeed; }

int32_t Length(const char* begin, const char* end) { return static_cast<int32_t>(end - begin); }

}  // namespace

MMWordWrapper::MMWordWrapper(int16_t boxCount)
    : mBoxes(static_cast<size_t>(boxCount < 0 ? 0 : boxCount)) {}

void MMWordWrapper::SetBox(int16_t index, const UURect& rect) {
  if (index >= 0 && index < GetBoxCount()) mBoxes[static_cast<size_t>(index)] = rect;
}

UURect MMWordWrapper::GetBox(int16_t index) const {
  if (index < 0 || index >= GetBoxCount()) return UURect();
  return mBoxes[static_cast<size_t>(index)];
}

void MMWordWrapper::WrapText(MMSurface* surface, const char* text) {
  mBoxesUsed = 0;
  mWordBroken = false;
  mAllFitted = true;
  if (text == nullptr) return;
  while (*text != '\0') {
    if (mBoxesUsed == GetBoxCount()) {
      mAllFitted = false;
      return;
    }
    text = FillBox(surface, text, mBoxesUsed);
    ++mBoxesUsed;
  }
}

const char* MMWordWrapper::FillBox(MMSurface* surface, const char* text, int16_t index) {
  BeginBox(index, text);
  const UURect box = GetBox(index);
  int32_t y = box.mTop + surface->GetTextAscent();
  const auto width = static_cast<int16_t>(box.mRight - box.mLeft);
  while (*text != '\0' && box.mBottom >= y + surface->GetTextDescent()) {
    const char* next = WrapLine(surface, index, text, box.mLeft, y, width);
    // A box too narrow for one character takes no more of the text.
    if (next == text) break;
    text = next;
    y += surface->GetLineSpacing();
  }
  EndBox(index, text);
  return text;
}

const char* MMWordWrapper::WrapLine(MMSurface* surface, int16_t index, const char* begin, int32_t x,
                                    int32_t y, int32_t width) {
  const char* end = begin;
  int32_t fitted = 0;
  for (;;) {
    const char* word = SkipBlanks(end);
    if (*word == '\0' || *word == kLineFeed) break;
    const char* wordEnd = word;
    while (!EndsWord(*wordEnd)) ++wordEnd;
    const int32_t measured = surface->GetTextWidth(begin, Length(begin, wordEnd));
    if (measured > width) {
      if (fitted < 1) {
        end = LongestFittingPiece(surface, begin, wordEnd, width);
        mWordBroken = true;
      }
      break;
    }
    end = wordEnd;
    fitted = measured;
    if (measured == width) break;
  }
  EmitLine(index, begin, Length(begin, end), x, y);
  const char* next = SkipBlanks(end);
  return *next == kLineFeed ? next + 1 : next;
}

const char* MMWordWrapper::LongestFittingPiece(MMSurface* surface, const char* begin,
                                               const char* wordEnd, int32_t width) const {
  for (ptrdiff_t length = UUPreviousCharOffset(begin, wordEnd - begin); length > 0;
       length = UUPreviousCharOffset(begin, length)) {
    if (surface->GetTextWidth(begin, static_cast<int32_t>(length)) <= width) return begin + length;
  }
  return begin;
}
