#include "media/transitions/MM2DTransitionOperations.h"

#include "media/transitions/MMPixelSequencer.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

constexpr int32_t kGridSide = 64;
constexpr int32_t kGridEntries = kGridSide * kGridSide;
constexpr int32_t kBlockSide = 16;
constexpr int32_t kTileSide = 32;
constexpr int32_t kTileRects = 80;
constexpr int32_t kBlindsRows = 24;
constexpr int32_t kIrisLeastOperations = 11;

// The edge an effect starts from.
enum class Edge { kLeft, kTop, kRight, kBottom };

bool IsHorizontal(Edge edge) { return edge == Edge::kLeft || edge == Edge::kRight; }
bool IsForward(Edge edge) { return edge == Edge::kLeft || edge == Edge::kTop; }
int32_t ExtentAlong(const UURect& rect, Edge edge) {
  return IsHorizontal(edge) ? rect.GetWidth() : rect.GetHeight();
}

// The band of the rectangle from `from` to `to` pixels away from the edge.
UURect Band(const UURect& rect, Edge edge, int32_t from, int32_t to) {
  UURect band = rect;
  int32_t& low = IsHorizontal(edge) ? band.mLeft : band.mTop;
  int32_t& high = IsHorizontal(edge) ? band.mRight : band.mBottom;
  const int32_t start = low;
  const int32_t end = high;
  if (IsForward(edge)) {
    low = start + from;
    high = start + to;
  } else {
    low = end - to;
    high = end - from;
  }
  return band;
}

UURect Clipped(UURect rect, const UURect& clip) {
  rect.Intersect(clip);
  return rect;
}

// 0 to 4095 in a scattered order: the cells of a 64 x 64 grid as the
// sequencer gives them (entry = row x 64 + column), then (0, 0).
const std::array<int16_t, kGridEntries>& Permutation() {
  static const std::array<int16_t, kGridEntries> permutation = [] {
    std::array<int16_t, kGridEntries> entries{};
    MMPixelSequencer sequencer;
    sequencer.Init(kGridSide, kGridSide);
    size_t i = 0;
    while (!sequencer.IsDone()) {
      const UUPoint cell = sequencer.Next();
      entries[i++] = static_cast<int16_t>(cell.mY * kGridSide + cell.mX);
    }
    entries[i] = 0;
    return entries;
  }();
  return permutation;
}

// 80 rectangles that tile a 32 x 32 tile: 10 columns by 8 rows of sides 2
// to 6, ordered by area so that small ones come first and last and larger
// ones in the middle, neighbours apart.
const std::array<UURect, kTileRects>& TileRects() {
  static const std::array<UURect, kTileRects> rects = [] {
    constexpr int32_t kWidths[] = {2, 3, 3, 4, 4, 4, 4, 3, 3, 2};
    constexpr int32_t kHeights[] = {2, 3, 5, 6, 6, 5, 3, 2};
    std::vector<UURect> cells;
    int32_t top = 0;
    for (int32_t height : kHeights) {
      int32_t left = 0;
      for (int32_t width : kWidths) {
        cells.emplace_back(left, top, left + width, top + height);
        left += width;
      }
      top += height;
    }
    const auto key = [](const UURect& r) {
      const int32_t scatter = (r.mLeft * 7 + r.mTop * 13) % 31;
      return r.GetWidth() * r.GetHeight() * 32 + scatter;
    };
    std::sort(cells.begin(), cells.end(),
              [&](const UURect& a, const UURect& b) { return key(a) < key(b); });
    std::array<UURect, kTileRects> ordered{};
    for (int32_t i = 0; i < kTileRects; ++i) {
      const int32_t place = i % 2 == 0 ? i / 2 : kTileRects - 1 - i / 2;
      ordered[static_cast<size_t>(place)] = cells[static_cast<size_t>(i)];
    }
    return ordered;
  }();
  return rects;
}

bool Wipe(MM2DTransitionEffect& effect, const UURect& rect, Edge edge) {
  const int32_t extent = ExtentAlong(rect, edge);
  if (extent <= 0) return true;
  const int32_t strip = std::max(1, effect.GetStepDistance(rect, extent));
  const int32_t steps = (extent + strip - 1) / strip;
  return MMPacedSteps(effect, steps, 0, [&](int32_t i) {
    effect.CopyRect(Band(rect, edge, i * strip, std::min(extent, (i + 1) * strip)));
  });
}

// The new picture enters by the edge, pushing the old one across.
bool Slide(MM2DTransitionEffect& effect, const UURect& rect, Edge edge) {
  const int32_t extent = ExtentAlong(rect, edge);
  const int32_t step = effect.GetScrollStep(rect, extent);
  if (step * 2 >= extent) {
    MM2DTransitionEffect::Timing().mCalibrating = false;
    return false;
  }
  const int32_t sign = IsForward(edge) ? 1 : -1;
  bool onlyStrips = true;
  for (int32_t covered = 0; covered < extent;) {
    const int32_t distance = std::min(step, extent - covered);
    const int32_t moved = sign * distance;
    onlyStrips &=
        effect.ScrollFront(rect, IsHorizontal(edge) ? moved : 0, IsHorizontal(edge) ? 0 : moved);
    covered += distance;
    // The strip shows the slice of the new picture that follows the part
    // already in: the new picture's far end comes in first.
    const UURect strip = Band(rect, edge, 0, distance);
    const UURect slice = Band(rect, edge, extent - covered, extent - covered + distance);
    effect.GetFrontSurface()->CopyFromAt(*effect.GetBackSurface(), slice.GetTopLeft(), strip);
    if (!effect.WaitForStep(covered, extent)) {
      effect.EndCalibration();
      return false;
    }
  }
  effect.EndCalibration();
  return onlyStrips;
}

bool EightBitPixels(MMSurface* surface, MMBitmap& bitmap) {
  return surface->GetImageDescription(bitmap) && bitmap.mFormat == kMMFormat8 &&
         bitmap.mPixels != nullptr;
}

// Each of the 4096 passes visits the pixels at (column + 64i, row + 64j)
// of the part of the rectangle that lies in the area.
template <typename Write>
bool PixelPasses(MM2DTransitionEffect& effect, const UURect& rect, Write write) {
  const auto& permutation = Permutation();
  return MMPacedSteps(effect, kGridEntries, 0, [&](int32_t i) {
    const int32_t entry = permutation[static_cast<size_t>(i)];
    for (int32_t y = rect.mTop + entry / kGridSide; y < rect.mBottom; y += kGridSide) {
      for (int32_t x = rect.mLeft + entry % kGridSide; x < rect.mRight; x += kGridSide) {
        write(x, y);
      }
    }
  });
}

}  // namespace

bool WipeRight(MM2DTransitionEffect& effect, const UURect& rect) {
  return Wipe(effect, rect, Edge::kLeft);
}
bool WipeLeft(MM2DTransitionEffect& effect, const UURect& rect) {
  return Wipe(effect, rect, Edge::kRight);
}
bool WipeDown(MM2DTransitionEffect& effect, const UURect& rect) {
  return Wipe(effect, rect, Edge::kTop);
}
bool WipeUp(MM2DTransitionEffect& effect, const UURect& rect) {
  return Wipe(effect, rect, Edge::kBottom);
}

bool SlideInFromLeft(MM2DTransitionEffect& effect, const UURect& rect) {
  return Slide(effect, rect, Edge::kLeft);
}
bool SlideInFromTop(MM2DTransitionEffect& effect, const UURect& rect) {
  return Slide(effect, rect, Edge::kTop);
}
bool SlideInFromRight(MM2DTransitionEffect& effect, const UURect& rect) {
  return Slide(effect, rect, Edge::kRight);
}
bool SlideInFromBottom(MM2DTransitionEffect& effect, const UURect& rect) {
  return Slide(effect, rect, Edge::kBottom);
}

bool BlockDissolve(MM2DTransitionEffect& effect, const UURect& rect) {
  const auto& permutation = Permutation();
  const bool played = MMPacedSteps(effect, kGridEntries, 0, [&](int32_t i) {
    const int32_t entry = permutation[static_cast<size_t>(i)];
    UURect block;
    block.FromPointAndSize(UUPoint{rect.mLeft + entry % kGridSide * kBlockSide,
                                   rect.mTop + entry / kGridSide * kBlockSide},
                           kBlockSide, kBlockSide);
    block.Intersect(rect);
    if (!block.IsEmpty()) effect.CopyRect(block);
  });
  // The grid of blocks covers 1024 x 1024 pixels; the rest of a larger
  // rectangle is left to the caller's copy.
  constexpr int32_t kCovered = kGridSide * kBlockSide;
  return played && rect.GetWidth() <= kCovered && rect.GetHeight() <= kCovered;
}

bool DissolvePixels(MM2DTransitionEffect& effect, const UURect& rect) {
  MMBitmap front;
  MMBitmap back;
  if (!EightBitPixels(effect.GetFrontSurface(), front) ||
      !EightBitPixels(effect.GetBackSurface(), back)) {
    return false;
  }
  const UURect area = Clipped(Clipped(rect, front.mRect), back.mRect);
  return PixelPasses(effect, area, [&](int32_t x, int32_t y) {
    *front.GetPixelAddress(x, y) = *back.GetPixelAddress(x, y);
  });
}

bool FillPixels(MM2DTransitionEffect& effect, const UURect& rect, uint8_t value) {
  MMBitmap front;
  if (!EightBitPixels(effect.GetFrontSurface(), front)) return false;
  return PixelPasses(effect, Clipped(rect, front.mRect),
                     [&](int32_t x, int32_t y) { *front.GetPixelAddress(x, y) = value; });
}

bool ForEachTileRect(MM2DTransitionEffect& effect, const UURect& rect, MMTileOperation operation) {
  const auto& tileRects = TileRects();
  return MMPacedSteps(effect, kTileRects, 0, [&](int32_t i) {
    for (int32_t top = rect.mTop; top < rect.mBottom; top += kTileSide) {
      for (int32_t left = rect.mLeft; left < rect.mRight; left += kTileSide) {
        const UURect part =
            Clipped(tileRects[static_cast<size_t>(i)].OffsetBy(UUPoint{left, top}), rect);
        if (part.IsEmpty()) continue;
        if (operation == MMTileOperation::kCopy) {
          effect.CopyRect(part);
        } else {
          effect.BlackRect(part);
        }
      }
    }
  });
}

bool Dissolve(MM2DTransitionEffect& effect, const UURect& rect) {
  MMBitmap front;
  if (EightBitPixels(effect.GetFrontSurface(), front)) return DissolvePixels(effect, rect);
  return ForEachTileRect(effect, rect, MMTileOperation::kCopy);
}

bool DissolveThroughBlack(MM2DTransitionEffect& effect, const UURect& rect) {
  const int32_t duration = effect.GetDuration();
  effect.SetDuration(duration / 2);
  MMBitmap front;
  const bool black = EightBitPixels(effect.GetFrontSurface(), front)
                         ? FillPixels(effect, rect, 0)
                         : ForEachTileRect(effect, rect, MMTileOperation::kBlack);
  if (!black) effect.BlackRect(rect);
  effect.RestartClock();
  const bool played = Dissolve(effect, rect);
  effect.SetDuration(duration);
  return played;
}

bool IrisOpen(MM2DTransitionEffect& effect, const UURect& rect) {
  const int32_t operations = effect.GetStepCount(rect, 2 * rect.GetWidth());
  if (effect.GetRemainingTime(rect) <= 0 || operations <= kIrisLeastOperations) return false;
  const int32_t steps = operations / 4;
  const UUPoint centre{rect.mLeft + rect.GetWidth() / 2, rect.mTop + rect.GetHeight() / 2};
  const auto opening = [&](int32_t i) {
    return UURect(centre.mX - (centre.mX - rect.mLeft) * i / steps,
                  centre.mY - (centre.mY - rect.mTop) * i / steps,
                  centre.mX + (rect.mRight - centre.mX) * i / steps,
                  centre.mY + (rect.mBottom - centre.mY) * i / steps);
  };
  return MMPacedSteps(effect, steps, 0, [&](int32_t i) {
    const UURect inner = opening(i);
    const UURect outer = opening(i + 1);
    const UURect ring[] = {
        {outer.mLeft, outer.mTop, outer.mRight, inner.mTop},
        {outer.mLeft, inner.mBottom, outer.mRight, outer.mBottom},
        {outer.mLeft, inner.mTop, inner.mLeft, inner.mBottom},
        {inner.mRight, inner.mTop, outer.mRight, inner.mBottom},
    };
    for (const UURect& part : ring) {
      if (!part.IsEmpty()) effect.CopyRect(part);
    }
  });
}

bool Blinds(MM2DTransitionEffect& effect, const UURect& rect) {
  return MMPacedSteps(effect, kBlindsRows, 0, [&](int32_t pass) {
    for (int32_t y = rect.mTop + pass; y < rect.mBottom; y += kBlindsRows) {
      effect.CopyRect(UURect(rect.mLeft, y, rect.mRight, y + 1));
    }
  });
}

bool RandomRows(MM2DTransitionEffect& effect, const UURect& rect) {
  const int32_t height = std::max(0, rect.GetHeight());
  std::vector<int32_t> rows(static_cast<size_t>(height));
  std::iota(rows.begin(), rows.end(), rect.mTop);
  for (size_t i = rows.size(); i > 1; --i) {
    std::swap(rows[i - 1], rows[static_cast<size_t>(std::rand()) % i]);
  }
  return MMPacedSteps(effect, height, 0, [&](int32_t i) {
    const int32_t y = rows[static_cast<size_t>(i)];
    effect.CopyRect(UURect(rect.mLeft, y, rect.mRight, y + 1));
  });
}

bool ThreeStageDissolve(MM2DTransitionEffect& effect, const UURect& rect) {
  const int64_t area = int64_t{rect.GetWidth()} * rect.GetHeight();
  const auto perStage = static_cast<int32_t>(area / 16);
  const int32_t total = 3 * perStage;
  const int32_t every = 1 << MMPixelSequencer::Bits(static_cast<uint32_t>(3 * area / 16000));
  int32_t done = 0;
  // Draws perStage cells of side `side` in sequencer order; false when the
  // time limit passed.
  const auto stage = [&](int32_t side, auto draw) {
    MMPixelSequencer sequencer;
    sequencer.Init((rect.GetWidth() + side - 1) / side, (rect.GetHeight() + side - 1) / side);
    for (int32_t n = 0; n < perStage && !sequencer.IsDone(); ++n) {
      const UUPoint cell = sequencer.Next();
      draw(UUPoint{rect.mLeft + cell.mX * side, rect.mTop + cell.mY * side});
      if (++done % every == 0 && !effect.WaitForStep(done, total)) return false;
    }
    return true;
  };
  MMBitmap back;
  MMDrawingSurface* source = effect.GetBackSurface();
  if (source->GetImageDescription(back) && back.mPixels != nullptr) {
    const UURect inside = Clipped(rect, back.mRect);
    const bool played = stage(1, [&](UUPoint p) {
      if (p.mX >= inside.mLeft && p.mX < inside.mRight && p.mY >= inside.mTop &&
          p.mY < inside.mBottom) {
        effect.GetFrontSurface()->SetPixel(p.mX, p.mY, MMPixelColor(back, p.mX, p.mY));
      }
    });
    if (!played) return false;
  }
  for (int32_t side : {2, 4}) {
    const bool played = stage(side, [&](UUPoint p) {
      UURect block;
      block.FromPointAndSize(p, side, side);
      effect.CopyRect(Clipped(block, rect));
    });
    if (!played) return false;
  }
  effect.CopyRect(rect);
  return true;
}

bool MMTransitionReturnTrue(MM2DTransitionEffect&, const UURect&) { return true; }

AFColor MMPixelColor(const MMBitmap& bitmap, int32_t x, int32_t y) {
  const uint8_t* pixel = bitmap.GetPixelAddress(x, y);
  if (bitmap.mFormat == kMMFormat8) return AFColor(static_cast<int16_t>(pixel[0]));
  return AFColor(AFRGB(pixel[2], pixel[1], pixel[0]));
}
