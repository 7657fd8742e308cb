#include "app/objects/RU3DTextureCollectionFromString.h"

#include "app/objects/RU3DTextureCollectionFromCreditsScript.h"
#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"
#include "tests/app/support/DialogData.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr uint16_t kStrings = 2;
constexpr uint16_t kImages = 3;
constexpr int32_t kSide = 256;
const UURect kSquare(0, 0, kSide, kSide);
const UUPoint kCentre{kSide / 2, kSide / 2};
constexpr int32_t kLimit = kSide - RU3DTextureCollectionFromString::kWrapMargin;

AFColor Colour(uint8_t red, uint8_t green, uint8_t blue) {
  AFColor color;
  color.mRed = red;
  color.mGreen = green;
  color.mBlue = blue;
  return color;
}

RU3DTextStyle Style(const AFColor& color) {
  return RU3DTextStyle{std::make_shared<MMSystemFont>("DejaVu Sans", 24, 400, false, false), color,
                       1, 1};
}

// The rows of the image holding an opaque texel of the colour.
std::vector<int32_t> RowsOf(const MM3DDriverTextureImage& image, uint8_t red) {
  std::vector<int32_t> rows;
  for (int32_t y = 0; y < image.GetHeight(); ++y) {
    for (int32_t x = 0; x < image.GetWidth(); ++x) {
      const uint8_t* texel = image.PixelAddress(x, y);
      if (texel[3] == 255 && texel[0] == red) {
        rows.push_back(y);
        break;
      }
    }
  }
  return rows;
}

class RU3DTextureCollectionFromStringTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  int32_t Width(const std::string& text, const MMTextStyle& style) {
    return mSurface->GetTextBounds(text.c_str(), kCentre.mX, kCentre.mY, style).GetWidth();
  }

  app_fixtures::AppFiles mFiles{{}, dialog_data::Tables()};
  RU3DTextureCollectionFromString mStrings{kStrings};
  std::unique_ptr<WinMMOffscreenSurface> mSurface{
      WinMMCreateOffscreenSurface(32, kSquare, AFPalette())};
};

TEST_F(RU3DTextureCollectionFromStringTest, ATextComesOutInItsColourOpaqueAsFarAsItCovers) {
  for (const AFColor& color : {Colour(255, 255, 255), Colour(200, 30, 40)}) {
    const MMResourceId id = mStrings.AddText(kSquare, "Hello", kCentre, Style(color));
    MM3DDriverTextureImage image;
    ASSERT_TRUE(mStrings.LoadImage(MMItemOf(id), image));
    ASSERT_EQ(image.GetWidth(), kSide);
    int32_t opaque = 0;
    int32_t edge = 0;
    for (int32_t y = 0; y < kSide; ++y) {
      for (int32_t x = 0; x < kSide; ++x) {
        const uint8_t* texel = image.PixelAddress(x, y);
        ASSERT_EQ(texel[0], color.mRed);
        ASSERT_EQ(texel[1], color.mGreen);
        ASSERT_EQ(texel[2], color.mBlue);
        if (texel[3] == 255) ++opaque;
        if (texel[3] != 0 && texel[3] != 255) ++edge;
      }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_LT(opaque, kSide * kSide / 8);
    // The letters' smoothed edges stay, partly opaque, rather than fall away.
    EXPECT_GT(edge, 0);
    EXPECT_FALSE(mStrings.IsOpaque(MMItemOf(id)));
  }
}

TEST_F(RU3DTextureCollectionFromStringTest, TextsBreakAtSpacesOrAtTheLongestPrefixThatFits) {
  const RU3DTextStyle style = Style(Colour(0, 0, 0));
  const MMTextStyle surfaceStyle{style.mFont.get(), style.mColor, 1, 1};
  EXPECT_EQ(
      RU3DTextureCollectionFromString::WrapText(*mSurface, "Hi", kCentre, surfaceStyle, kLimit),
      std::vector<std::string>{"Hi"});
  const std::vector<std::string> words = RU3DTextureCollectionFromString::WrapText(
      *mSurface, "one two three four five six", kCentre, surfaceStyle, kLimit);
  ASSERT_GE(words.size(), 2u);
  std::string joined;
  for (const std::string& line : words) {
    EXPECT_LE(Width(line, surfaceStyle), kLimit) << line;
    joined += (joined.empty() ? "" : " ") + line;
  }
  EXPECT_EQ(joined, "one two three four five six");
  const std::string word(40, 'W');
  const std::vector<std::string> broken =
      RU3DTextureCollectionFromString::WrapText(*mSurface, word, kCentre, surfaceStyle, kLimit);
  ASSERT_GE(broken.size(), 2u);
  EXPECT_LE(Width(broken[0], surfaceStyle), kLimit);
  EXPECT_GT(Width(broken[0] + "W", surfaceStyle), kLimit);
}

TEST_F(RU3DTextureCollectionFromStringTest, NarrowRectanglesDrawNothingAndReadNothingOutside) {
  for (int32_t width : {RU3DTextureCollectionFromString::kWrapMargin, 60, 8}) {
    const UURect narrow(0, 0, width, kSide);
    const MMResourceId id = mStrings.AddText(narrow, "A long text for a narrow rectangle",
                                             UUPoint{width / 2, kSide / 2}, Style(Colour(0, 0, 0)));
    MM3DDriverTextureImage image;
    ASSERT_TRUE(mStrings.LoadImage(MMItemOf(id), image)) << width;
    EXPECT_TRUE(RowsOf(image, 0).empty()) << width;
  }
}

TEST_F(RU3DTextureCollectionFromStringTest, ReplacingKeepsTheIdAndItemsPastTheEndFailToLoad) {
  const RU3DTextStyle style = Style(Colour(0, 0, 0));
  const MMResourceId id = mStrings.AddText(kSquare, "First", kCentre, style);
  mStrings.ReplaceText(id, kSquare, "Second", kCentre, style);
  mStrings.ReplaceText(kMMNoResource, kSquare, "Ignored", kCentre, style);
  EXPECT_EQ(mStrings.GetEntryCount(), 1);
  MM3DDriverTextureImage image;
  EXPECT_FALSE(mStrings.LoadImage(1, image));
  EXPECT_FALSE(image.HasPixels());
  EXPECT_EQ(mStrings.GetSize(1), (UUPoint{0, 0}));
}

// A text nothing shows any more gives its place to the next one; ids of
// another collection or of none free nothing.
TEST_F(RU3DTextureCollectionFromStringTest, AReleasedTextFailsToLoadAndTheNextTextTakesItsPlace) {
  const RU3DTextStyle style = Style(Colour(0, 0, 0));
  const MMResourceId first = mStrings.AddText(kSquare, "First", kCentre, style);
  const MMResourceId second = mStrings.AddText(kSquare, "Second", kCentre, style);
  for (MMResourceId other :
       {kMMNoResource, MMMakeResourceId(kImages, static_cast<uint16_t>(MMItemOf(first)))}) {
    mStrings.ReleaseEntry(other);
  }
  MM3DDriverTextureImage image;
  EXPECT_TRUE(mStrings.LoadImage(MMItemOf(first), image));
  mStrings.ReleaseEntry(first);
  EXPECT_FALSE(mStrings.LoadImage(MMItemOf(first), image));
  EXPECT_EQ(mStrings.GetSize(MMItemOf(first)), (UUPoint{0, 0}));
  EXPECT_EQ(mStrings.AddText(kSquare, "Third", kCentre, style), first);
  EXPECT_EQ(mStrings.GetEntryCount(), 2);
  EXPECT_TRUE(mStrings.LoadImage(MMItemOf(second), image));
}

TEST(RU3DTextureCollectionFromCreditsScriptTest, APageDrawsItsLinesWithTheGapBetween) {
  const app_fixtures::AppFiles files{{}, dialog_data::Tables()};
  ASSERT_TRUE(files.Ready());
  RU3DTextureCollectionFromCreditsScript images(kImages);
  const MMResourceId id = images.AddEntry(kSquare, 0);
  MM3DDriverTextureImage image;
  ASSERT_TRUE(images.LoadImage(MMItemOf(id), image));
  const std::vector<int32_t> first = RowsOf(image, 255);
  const std::vector<int32_t> second = RowsOf(image, 128);
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_GE(second.front() - first.back(), dialog_data::kCreditsGap);
  EXPECT_LT(second.front() - first.back(),
            dialog_data::kCreditsGap + 2 * dialog_data::kCreditsHeight);
  images.SetEntry(id, kSquare, 5);
  ASSERT_TRUE(images.LoadImage(MMItemOf(id), image));
  EXPECT_TRUE(RowsOf(image, 255).empty());
}

}  // namespace
