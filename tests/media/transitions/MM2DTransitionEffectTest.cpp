// Transitions on a small framework window: the back surface holds a new
// picture of distinct colours, the window shows an old grey one, and the
// program clock is frozen and moves on by a millisecond at every reading,
// so that paced effects run their course without real waiting.

#include "mm/stage/MM2DTransitionEffect.h"

#include "foundation/af/AFWindow.h"
#include "foundation/al/ALMilliseconds.h"
#include "media/transitions/MM2DTransitionOperations.h"
#include "media/transitions/WinMM2DTransitionBufferDissolve.h"
#include "media/transitions/WinMM2DTransitionPaletteFades.h"
#include "media/transitions/WinMM2DTransitionRandomDissolve.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MM2DTransitionCut.h"
#include "platform/win32/testhooks.h"
#include "tests/mm/stage/StageTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UURect kWhole(0, 0, 40, 30);
constexpr COLORREF kOld = RGB(128, 128, 128);
constexpr int32_t kNoLimit = 1000000;

using Operation = std::function<bool(MM2DTransitionEffect&, const UURect&)>;

// Remembers what its effect answered.
struct Played {
  bool mPlayed = false;
};

template <typename Effect>
class Recorded : public Effect, public Played {
 public:
  using Effect::Effect;
  bool PlayEffect(const UURect& rect) override {
    mPlayed = Effect::PlayEffect(rect);
    return mPlayed;
  }
};

// Plays one of the effect operations.
class OperationEffect : public MM2DTransitionEffect, public Played {
 public:
  explicit OperationEffect(Operation operation) : mOperation(std::move(operation)) {}
  bool PlayEffect(const UURect& rect) override {
    mPlayed = mOperation(*this, rect);
    return mPlayed;
  }

 private:
  Operation mOperation;
};

// A back surface that hides its pixels, as a window's surface would.
class PixellessSurface : public MMDrawingSurface {
 public:
  explicit PixellessSurface(MMDrawingSurface& real) : MMDrawingSurface(real.GetDC()) {
    mBitmap.mRect = real.GetRect();
  }
  bool GetImageDescription(MMBitmap&) const override { return false; }
};

// The pictures are small enough for every channel to stay within a byte.
COLORREF NewColour(int32_t x, int32_t y) {
  return RGB(static_cast<BYTE>(x * 6), static_cast<BYTE>(y * 8),
             static_cast<BYTE>(255 - (x + y) * 3));
}

struct MM2DTransitionEffectTest : ::testing::Test {
  void SetUp() override {
    MM2DTransitionEffect::Timing() = MM2DTransitionTiming{};
    vpl::platform::FreezeClock();
    vpl::platform::SetFrozenClockStep(1);
    Open(kWhole);
  }
  void TearDown() override {
    vpl::platform::SetFrozenClockStep(0);
    vpl::platform::ThawClock();
  }
  // A window and a 32-bit back surface of the rectangle's size.
  void Open(const UURect& rect, int32_t bits = 32, const AFPalette& palette = AFPalette()) {
    mBack.reset();
    mFront.reset();
    mWindow = std::make_unique<AFWindow>(
        AFWindowDescription{&AFDefaultWindowClass, 0, 0, rect.mRight, rect.mBottom, WS_POPUP, 0});
    mFront = std::make_unique<MMControlSurface>(mWindow->GetHandle());
    mBack.reset(WinMMCreateOffscreenSurface(bits, rect, palette));
    ASSERT_NE(mBack, nullptr);
    mRect = rect;
    MMBitmap pixels;
    ASSERT_TRUE(mBack->GetImageDescription(pixels));
    for (int32_t y = rect.mTop; y < rect.mBottom; ++y) {
      for (int32_t x = rect.mLeft; x < rect.mRight; ++x) {
        uint8_t* p = pixels.GetPixelAddress(x, y);
        if (bits == 8) {
          p[0] = static_cast<uint8_t>(x + y * 7);
        } else {
          const COLORREF c = NewColour(x, y);
          p[0] = GetBValue(c);
          p[1] = GetGValue(c);
          p[2] = GetRValue(c);
        }
      }
    }
    mFront->FillRect(rect, AFColor(AFRGB(GetRValue(kOld), GetGValue(kOld), GetBValue(kOld))));
  }
  // The first pixel of the window that differs from the expected picture.
  std::string Difference(const std::function<COLORREF(int32_t, int32_t)>& expected) {
    HDC dc = mFront->GetDC();
    for (int32_t y = mRect.mTop; y < mRect.mBottom; ++y) {
      for (int32_t x = mRect.mLeft; x < mRect.mRight; ++x) {
        if (GetPixel(dc, x, y) != expected(x, y)) {
          return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
      }
    }
    return "";
  }
  std::string NewPictureDifference() { return Difference(NewColour); }
  void Run(MM2DTransitionEffect& effect, const AFPalette* palette = nullptr) {
    effect.Run(mFront.get(), mBack.get(), mRect, palette);
  }

  std::unique_ptr<AFWindow> mWindow;
  std::unique_ptr<MMControlSurface> mFront;
  std::unique_ptr<WinMMOffscreenSurface> mBack;
  UURect mRect;
};

TEST_F(MM2DTransitionEffectTest, TheCutCopiesAndMeasuresTheCopyingSpeeds) {
  const MM2DTransitionTiming& timing = MM2DTransitionEffect::Timing();
  MM2DTransitionCut cut;
  cut.Run(mFront.get(), mBack.get(), UURect(0, 0, 10, 10), nullptr);
  // Every clock reading moves the clock on by one: each timing takes 1 ms.
  EXPECT_EQ(timing.mLargestTimedArea, 100);
  EXPECT_EQ(timing.mCopyCost, 1000);
  EXPECT_EQ(timing.mSingleCopyCost, 1);
  EXPECT_FALSE(timing.mMeasureSingleCopies);
  cut.Run(mFront.get(), mBack.get(), kWhole, nullptr);
  EXPECT_EQ(timing.mLargestTimedArea, 1200);
  EXPECT_EQ(timing.mCopyCost, 100000 / 1200);
  cut.Run(mFront.get(), mBack.get(), UURect(5, 5, 25, 25), nullptr);
  EXPECT_EQ(timing.mLargestTimedArea, 1200);
  EXPECT_EQ(timing.mCopyCost, 100000 / 1200);
  EXPECT_EQ(NewPictureDifference(), "");
}

struct EffectCase {
  const char* name;
  std::function<std::unique_ptr<MM2DTransitionEffect>()> make;
};

std::unique_ptr<MM2DTransitionEffect> Playing(Operation operation) {
  return std::make_unique<OperationEffect>(std::move(operation));
}

template <typename Effect, typename... Arguments>
std::unique_ptr<MM2DTransitionEffect> Make(Arguments... arguments) {
  return std::make_unique<Recorded<Effect>>(arguments...);
}

TEST_F(MM2DTransitionEffectTest, EveryEffectRunToItsEndLeavesExactlyTheNewPicture) {
  const EffectCase cases[] = {
      {"wipe right", [] { return Playing(WipeRight); }},
      {"wipe left", [] { return Playing(WipeLeft); }},
      {"wipe down", [] { return Playing(WipeDown); }},
      {"wipe up", [] { return Playing(WipeUp); }},
      {"slide from left", [] { return Playing(SlideInFromLeft); }},
      {"slide from top", [] { return Playing(SlideInFromTop); }},
      {"slide from right", [] { return Playing(SlideInFromRight); }},
      {"slide from bottom", [] { return Playing(SlideInFromBottom); }},
      {"block dissolve", [] { return Playing(BlockDissolve); }},
      {"dissolve", [] { return Playing(Dissolve); }},
      {"dissolve through black", [] { return Playing(DissolveThroughBlack); }},
      {"iris", [] { return Playing(IrisOpen); }},
      {"blinds", [] { return Playing(Blinds); }},
      {"random rows", [] { return Playing(RandomRows); }},
      {"three stages", [] { return Playing(ThreeStageDissolve); }},
      {"random pixels", [] { return Make<WinMM2DTransitionRandomDissolve>(1, 1); }},
      {"random cells", [] { return Make<WinMM2DTransitionRandomDissolve>(3, 4); }},
      {"buffer", [] { return Make<WinMM2DTransitionBufferDissolve>(20); }},
  };
  for (const EffectCase& c : cases) {
    mFront->FillRect(kWhole, AFColor(AFRGB(128, 128, 128)));
    std::unique_ptr<MM2DTransitionEffect> effect = c.make();
    effect->SetTimeLimit(kNoLimit);
    Run(*effect);
    EXPECT_TRUE(dynamic_cast<Played*>(effect.get())->mPlayed) << c.name;
    EXPECT_EQ(NewPictureDifference(), "") << c.name;
  }
}

TEST_F(MM2DTransitionEffectTest, PacedStepsAreNeverDrawnBeforeTheirShareOfTheDuration) {
  constexpr int32_t kSteps = 8;
  std::vector<uint32_t> drawn;
  OperationEffect effect([&](MM2DTransitionEffect& e, const UURect&) {
    return MMPacedSteps(e, kSteps, 0, [&](int32_t) { drawn.push_back(ALMilliseconds()); });
  });
  const uint32_t start = ALMilliseconds();
  Run(effect);
  const uint32_t elapsed = ALMilliseconds() - start;
  ASSERT_EQ(drawn.size(), size_t{kSteps});
  for (int32_t i = 0; i < kSteps; ++i) {
    EXPECT_GE(drawn[static_cast<size_t>(i)] - start,
              static_cast<uint32_t>(i * MM2DTransitionEffect::kDefaultDuration / kSteps))
        << i;
  }
  EXPECT_GE(elapsed, uint32_t{MM2DTransitionEffect::kDefaultDuration});
  EXPECT_LT(elapsed, uint32_t{MM2DTransitionEffect::kDefaultDuration + 20});
}

TEST_F(MM2DTransitionEffectTest, AnEffectTakesAboutItsDuration) {
  for (const Operation& operation : {Operation(Blinds), Operation(WipeDown)}) {
    OperationEffect effect(operation);
    const uint32_t start = ALMilliseconds();
    Run(effect);
    const uint32_t elapsed = ALMilliseconds() - start;
    EXPECT_TRUE(effect.mPlayed);
    EXPECT_GE(elapsed, uint32_t{MM2DTransitionEffect::kDefaultDuration});
    EXPECT_LT(elapsed, uint32_t{MM2DTransitionEffect::kDefaultDuration + 100});
  }
}

TEST_F(MM2DTransitionEffectTest, AnEffectPastItsTimeLimitStopsAndTheRectangleIsCopiedWhole) {
  OperationEffect effect(Blinds);
  effect.SetDuration(2 * MM2DTransitionEffect::kDefaultTimeLimit);
  const uint32_t start = ALMilliseconds();
  Run(effect);
  const uint32_t elapsed = ALMilliseconds() - start;
  EXPECT_FALSE(effect.mPlayed);
  EXPECT_GE(elapsed, uint32_t{MM2DTransitionEffect::kDefaultTimeLimit});
  EXPECT_LT(elapsed, uint32_t{MM2DTransitionEffect::kDefaultTimeLimit + 300});
  EXPECT_EQ(NewPictureDifference(), "");
}

TEST_F(MM2DTransitionEffectTest, RandomPixelsWithoutTheBackPixelsLetRunCopyTheRectangle) {
  PixellessSurface pixelless(*mBack);
  Recorded<WinMM2DTransitionRandomDissolve> effect(1, 1);
  effect.Run(mFront.get(), &pixelless, kWhole, nullptr);
  EXPECT_FALSE(effect.mPlayed);
  EXPECT_EQ(NewPictureDifference(), "");
}

TEST_F(MM2DTransitionEffectTest, ASlideWhoseStepIsHalfTheExtentCopiesAtOnce) {
  Open(UURect(0, 0, 3, 30));
  OperationEffect effect(SlideInFromLeft);
  Run(effect);
  EXPECT_FALSE(effect.mPlayed);
  EXPECT_FALSE(MM2DTransitionEffect::Timing().mCalibrating);
  EXPECT_EQ(NewPictureDifference(), "");
}

TEST_F(MM2DTransitionEffectTest, RandomRowsCoverRectanglesOfMoreThan480Rows) {
  Open(UURect(0, 0, 4, 600));
  OperationEffect effect(RandomRows);
  effect.SetTimeLimit(kNoLimit);
  Run(effect);
  EXPECT_TRUE(effect.mPlayed);
  EXPECT_EQ(NewPictureDifference(), "");
}

// A palette of the 8-bit pictures, and the colour the picture's index at a
// point stands for in it.
AFPalette PictureColours() {
  AFPalette palette;
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    palette.mEntries[i] =
        AFPaletteEntry{100, static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i), 0};
  }
  return palette;
}
COLORREF InPictureColours(int32_t x, int32_t y) {
  static const AFPalette palette = PictureColours();
  const AFPaletteEntry& e = palette.mEntries[static_cast<uint8_t>(x + y * 7)];
  return RGB(e.mRed, e.mGreen, e.mBlue);
}

TEST_F(MM2DTransitionEffectTest, PaletteFadesEndOnThePictureInItsOwnPalette) {
  const AFPalette palette = PictureColours();
  const auto inPalette = InPictureColours;
  const EffectCase cases[] = {
      {"cut to black", [] { return Make<WinMM2DTransitionCutToBlackThenPaletteFadeIn>(4); }},
      {"fade to black", [] { return Make<WinMM2DTransitionFadeToBlackThenPaletteFadeIn>(6); }},
  };
  for (const EffectCase& c : cases) {
    Open(kWhole, 8, palette);
    std::unique_ptr<MM2DTransitionEffect> effect = c.make();
    Run(*effect);
    EXPECT_TRUE(dynamic_cast<Played*>(effect.get())->mPlayed) << c.name;
    EXPECT_EQ(Difference(inPalette), "") << c.name;
    EXPECT_TRUE(mWindow->GetPalette() == palette) << c.name;
  }
}

// Through black, the effect itself never plays: the window goes black,
// takes the new palette, and the new picture is copied in whole.
TEST_F(MM2DTransitionEffectTest, RunningThroughBlackShowsTheNewPictureInTheNewPalette) {
  const AFPalette palette = PictureColours();
  Open(kWhole, 8, palette);
  std::unique_ptr<MM2DTransitionEffect> effect = Playing(WipeRight);
  effect->RunThroughBlack(mFront.get(), mBack.get(), mRect, &palette);
  EXPECT_FALSE(dynamic_cast<Played*>(effect.get())->mPlayed);
  EXPECT_EQ(Difference(InPictureColours), "");
  EXPECT_TRUE(mWindow->GetPalette() == palette);
}

TEST_F(MM2DTransitionEffectTest, RunningThroughBlackWithoutAPaletteCopiesThePicture) {
  std::unique_ptr<MM2DTransitionEffect> effect = Playing(WipeRight);
  effect->RunThroughBlack(mFront.get(), mBack.get(), mRect, nullptr);
  EXPECT_FALSE(dynamic_cast<Played*>(effect.get())->mPlayed);
  EXPECT_EQ(NewPictureDifference(), "");
}

}  // namespace

namespace {

TEST(MM2DActPresentTest, WithoutATransitionTheActPresentsThroughTheMeasuringCut) {
  MM2DTransitionEffect::Timing() = MM2DTransitionTiming{};
  StageOnTestThread run([&run](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, run.mLog, "act");
  });
  run.Start();
  const MM2DTransitionTiming& timing = MM2DTransitionEffect::Timing();
  EXPECT_FALSE(timing.mMeasureSingleCopies);
  EXPECT_EQ(timing.mLargestTimedArea,
            run.mStage->GetLocalRect().GetWidth() * run.mStage->GetLocalRect().GetHeight());
}

}  // namespace
