// The screens drawn from the built files through the offscreen driver, as
// the program draws them: every object shows mostly inside its layout
// rectangle on the screen (layout x grows to the right of the screen),
// and the meadow's sky stays out of the interface yet fills the file
// screen and the creation area. With VPL_SCREENSHOT_DIR set, each screen
// is kept there as a PNG to be looked at.

#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/check/ScreenShot.h"
#include "tools/databuilder/check/ScriptView.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

using content_check::DrawScreen;
using content_check::kClearColor;
using content_check::PlacedModel;
using content_check::ScreenPicture;
using content_check::ScreenView;

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
// Where the interface's controls lie, and how much of x and y the view
// spans there.
constexpr float kControlDepth = 45.0f;
constexpr float kHalfWidth = 20.4f;
constexpr float kHalfHeight = 15.3f;
constexpr float kHalfTurn = std::numbers::pi_v<float>;

const ScreenView kInterface{{0, 0, 0}, {0, 0, -1}, 37.534f, 40.01f, 200.0f};
const ScreenView kFiles{{0, 0, 0}, {0, 0, -1}, 37.534f, 1.0f, 300.0f};
const ScreenView kCreation{{0, 36, -70}, {0, 4, 0}, 45.0f, 1.0f, 300.0f};

int16_t ModelId(const std::string& symbol) {
  return static_cast<int16_t>(
      content_fixtures::SourceManifest().Resolve(databuilder::ItemKind::kModel, symbol));
}

PlacedModel InPlace(const std::string& symbol) { return PlacedModel{ModelId(symbol)}; }

void Keep(const ScreenPicture& picture, const std::string& name) {
  const char* folder = std::getenv("VPL_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') return;
  EXPECT_TRUE(content_check::WritePng(picture, std::filesystem::path(folder) / (name + ".png")));
}

int32_t ClearedPixels(const ScreenPicture& picture) {
  int32_t cleared = 0;
  for (uint32_t pixel : picture.mPixels) cleared += pixel == kClearColor ? 1 : 0;
  return cleared;
}

// The drawn pixels inside the object's layout rectangle, a pixel in from
// its edges. The layout's x grows to the right of the screen, whatever
// the world's x does there.
int32_t PixelsInside(const ScreenPicture& picture, const databuilder::LayoutObject& object) {
  const float scale = kControlDepth / static_cast<float>(-object.mZ);
  const auto toX = [&](double x) {
    return static_cast<int32_t>((0.5 + x * scale / kHalfWidth * 0.5) * kWidth);
  };
  const auto toY = [&](double y) {
    return static_cast<int32_t>((0.5 - y * scale / kHalfHeight * 0.5) * kHeight);
  };
  int32_t drawn = 0;
  for (int32_t y = toY(object.mY + object.mHeight / 2) + 1;
       y < toY(object.mY - object.mHeight / 2) - 1; ++y) {
    for (int32_t x = toX(object.mX - object.mWidth / 2) + 1;
         x < toX(object.mX + object.mWidth / 2) - 1; ++x) {
      if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) drawn += picture.At(x, y) != kClearColor;
    }
  }
  return drawn;
}

struct ShownObject {
  const char* model;
  const char* layout;
  // Placed by the program at the layout's spot, turned a half turn for
  // the pad bases. A one-cell chooser's frame is placed by its item's
  // definition, the spinning choosers' items by their selector; nothing
  // places the other choosers' cells or the spinning choosers' frames.
  bool placedAtSpot = false;
  float turn = 0.0f;
  // Otherwise moved by the program by this much: the model carries the
  // rest of its place.
  std::array<float, 3> moveByCode{};
};

// The screen states shown whole: what each shows besides the palette.
struct ScreenState {
  const char* name;
  std::vector<std::string> prefixes;
};

const ScreenState kStates[] = {
    {"palette-select", {"select.", "path."}},
    {"palette-draw", {"size.", "profile."}},
    {"palette-fill", {"fill.", "texture.", "label."}},
    {"palette-preferences", {"select.", "path.", "prefs.", "checkbox."}},
    {"palette-quit", {"select.", "path.", "quit.", "message."}},
};

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

// The palette itself: the tools, the screen buttons and the pads.
bool InPalette(const std::string& model) {
  for (const char* prefix : {"palette.", "tool.", "button.", "pad.", "ground.toggle.shown"}) {
    if (StartsWith(model, prefix)) return true;
  }
  return false;
}

const ShownObject kObjects[] = {
    {"palette.backdrop", "palette.panel"},
    {"tool.select", "tool.select"},
    {"tool.freehand", "tool.freehand"},
    {"tool.draw", "tool.draw"},
    {"tool.primitive", "tool.primitive"},
    {"tool.fill", "tool.fill"},
    {"tool.magnet", "tool.magnet"},
    {"tool.pomble", "tool.pomble"},
    {"button.new", "button.new"},
    {"button.clear", "button.clear"},
    {"button.undo", "button.undo"},
    {"button.files", "button.files"},
    {"button.export", "button.export"},
    {"button.print", "button.print"},
    {"button.quit", "button.quit"},
    {"ground.toggle.shown", "ground.toggle"},
    {"ground.toggle.hidden", "ground.toggle"},
    {"pad.rotate.base", "pad.rotate.base", true, kHalfTurn},
    {"pad.rotate", "pad.rotate", true},
    {"pad.zoom.base", "pad.zoom.base", true, kHalfTurn},
    {"pad.zoom", "pad.zoom", true},
    {"pad.reset.base", "pad.reset.base", true, kHalfTurn},
    {"pad.reset", "pad.reset"},
    {"select.move", "select.move"},
    {"select.rotate", "select.rotate"},
    {"select.scale", "select.scale"},
    {"select.mirror", "select.mirror"},
    {"select.align", "select.align"},
    {"select.group", "select.group"},
    {"select.delete", "select.delete"},
    {"path.chooser", "path.frame", true},
    {"path.icon.circle", "path.cell"},
    {"path.back", "path.back"},
    {"path.forward", "path.forward"},
    {"freehand.flat", "freehand.toggle"},
    {"freehand.rounded", "freehand.toggle"},
    {"size.frame", "size.frame"},
    {"size.dot.0", "size.dot.0"},
    {"size.dot.4", "size.dot.4"},
    {"profile.chooser", "profile.frame"},
    {"profile.back", "profile.back"},
    {"profile.forward", "profile.forward"},
    {"profile.icon.round", "profile.cell", true},
    {"magnet.pull", "magnet.toggle"},
    {"magnet.push", "magnet.toggle"},
    {"catalogue.off", "catalogue.toggle"},
    {"primitive.chooser", "primitive.frame"},
    {"primitive.back", "primitive.back"},
    {"fill.wheel", "fill.wheel", false, 0.0f, {-0.75f, 6.5f, -45.0f}},
    {"fill.pedestal", "fill.pedestal", false, 0.0f, {-1.0f, 0.0f, -2.0f}},
    {"fill.grey", "fill.grey"},
    {"texture.chooser", "texture.frame"},
    {"texture.swatch", "texture.cell"},
    {"texture.back", "texture.back"},
    {"label.intensity", "label.intensity"},
    {"label.opacity", "label.opacity"},
    {"prefs.backdrop", "prefs.backdrop"},
    {"checkbox.on", "prefs.autosave", true},
    {"prefs.label", "prefs.autosave.label", true},
    {"prefs.ok", "prefs.ok"},
    {"prefs.cancel", "prefs.cancel"},
    {"print.backdrop", "print.backdrop"},
    {"print.modes", "print.modes"},
    {"print.big.on", "print.big"},
    {"print.four.off", "print.four"},
    {"export.kinds", "export.kinds"},
    {"export.picture.on", "export.picture"},
    {"export.movie.off", "export.movie"},
    {"quit.backdrop", "quit.backdrop"},
    {"message.panel", "quit.panel"},
    {"quit.yes", "quit.yes"},
    {"quit.no", "quit.no"},
    {"quit.credits", "quit.credits"},
};

PlacedModel Place(const ShownObject& shown, const databuilder::LayoutObject& spot) {
  PlacedModel placed = InPlace(shown.model);
  if (shown.placedAtSpot) {
    const auto centre = spot.Centre();
    for (size_t i = 0; i < 3; ++i) placed.mPosition[i] = static_cast<float>(centre[i]);
    placed.mTurnY = shown.turn;
  } else {
    for (size_t i = 0; i < 3; ++i) placed.mPosition[i] = shown.moveByCode[i];
  }
  return placed;
}

class ShownObjectTest : public testing::TestWithParam<ShownObject> {};

TEST_P(ShownObjectTest, DrawsMostlyInsideItsLayoutRectangleOnTheScreen) {
  const databuilder::InterfaceLayout layout =
      databuilder::InterfaceLayout::Read(content_fixtures::SourceDirectory() / "layout");
  const databuilder::LayoutObject& spot = layout.Get(GetParam().layout);
  const std::optional<ScreenPicture> picture =
      DrawScreen(content_fixtures::DataDirectory(),
                 {InPlace("sky.meadow"), Place(GetParam(), spot)}, kInterface, kWidth, kHeight);
  ASSERT_TRUE(picture.has_value());
  // The sky leaves the interface clear: every drawn pixel is the object's.
  const int32_t drawn = kWidth * kHeight - ClearedPixels(*picture);
  EXPECT_GT(PixelsInside(*picture, spot), 0);
  // Most of it, so that a near miss shows too.
  EXPECT_GE(PixelsInside(*picture, spot) * 2, drawn);
}

INSTANTIATE_TEST_SUITE_P(Interface, ShownObjectTest, testing::ValuesIn(kObjects),
                         [](const testing::TestParamInfo<ShownObject>& test) {
                           std::string name = test.param.model;
                           for (char& c : name) c = c == '.' ? '_' : c;
                           return name;
                         });

TEST(ScreenTest, TheMeadowSkyLeavesTheInterfaceUntouched) {
  const std::optional<ScreenPicture> picture = DrawScreen(
      content_fixtures::DataDirectory(), {InPlace("sky.meadow")}, kInterface, kWidth, kHeight);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(ClearedPixels(*picture), kWidth * kHeight);
}

TEST(ScreenTest, TheMeadowSkyFillsTheFileScreen) {
  const std::optional<ScreenPicture> picture = DrawScreen(
      content_fixtures::DataDirectory(), {InPlace("sky.meadow")}, kFiles, kWidth, kHeight);
  ASSERT_TRUE(picture.has_value());
  Keep(*picture, "files-sky");
  EXPECT_EQ(ClearedPixels(*picture), 0);
}

TEST(ScreenTest, EachBackgroundFillsTheHomeCreationView) {
  const char* const backgrounds[][2] = {
      {"sky.meadow", "ground.meadow"}, {"sky.beach", "ground.beach"}, {"sky.snow", "ground.snow"}};
  for (const auto& [sky, ground] : backgrounds) {
    const std::optional<ScreenPicture> picture = DrawScreen(
        content_fixtures::DataDirectory(),
        {InPlace(sky), InPlace(ground), InPlace("primitive.ball")}, kCreation, kWidth, kHeight);
    ASSERT_TRUE(picture.has_value());
    Keep(*picture, std::string("creation-") + ground);
    EXPECT_EQ(ClearedPixels(*picture), 0) << sky;
  }
}

// Whole screens to look at: the palette with a sub-palette, and with a
// dialog over it.
TEST(ScreenTest, ThePaletteScreensDraw) {
  const databuilder::InterfaceLayout layout =
      databuilder::InterfaceLayout::Read(content_fixtures::SourceDirectory() / "layout");
  for (const ScreenState& state : kStates) {
    // The sub-palettes' frame, which the program moves 10 toward the viewer.
    PlacedModel frame = InPlace("palette.frame");
    frame.mPosition[2] = -10.0f;
    std::vector<PlacedModel> models{InPlace("sky.meadow"), frame};
    for (const ShownObject& shown : kObjects) {
      bool shows = InPalette(shown.model);
      for (const std::string& prefix : state.prefixes)
        shows = shows || StartsWith(shown.model, prefix);
      if (shows) models.push_back(Place(shown, layout.Get(shown.layout)));
    }
    const std::optional<ScreenPicture> picture =
        DrawScreen(content_fixtures::DataDirectory(), models, kInterface, kWidth, kHeight);
    ASSERT_TRUE(picture.has_value()) << state.name;
    Keep(*picture, state.name);
    EXPECT_LT(ClearedPixels(*picture), kWidth * kHeight) << state.name;
  }
}

}  // namespace

namespace {

// The file screen, with and without the cover picker, to look at.
TEST(ScreenTest, TheFileScreenDraws) {
  const std::vector<std::string> shown = {
      "sky.meadow",    "title.badge",     "files.back",    "button.quit",    "sketch.grid",
      "sketch.cell.0", "sketch.cell.1",   "sketch.cell.2", "sketch.cell.3",  "sketch.cell.4",
      "sketch.cell.5", "sketch.marker.0", "sketch.back",   "sketch.forward", "files.sketch.icon",
      "files.copy",    "files.trash",     "book.grid",     "book.cell.0",    "book.cell.1",
      "book.cell.2",   "book.marker.1",   "book.back",     "book.forward",   "files.book.icon",
      "files.new.book"};
  const std::vector<std::string> covers = {"cover.grid",   "cover.cell.0", "cover.cell.1",
                                           "cover.cell.2", "cover.cell.3", "cover.marker.0",
                                           "cover.back",   "cover.forward"};
  std::vector<PlacedModel> models;
  for (const std::string& symbol : shown) models.push_back(InPlace(symbol));
  for (bool withCovers : {false, true}) {
    if (withCovers) {
      for (const std::string& symbol : covers) models.push_back(InPlace(symbol));
    }
    const std::optional<ScreenPicture> picture =
        DrawScreen(content_fixtures::DataDirectory(), models, kFiles, kWidth, kHeight);
    ASSERT_TRUE(picture.has_value());
    Keep(*picture, withCovers ? "files-covers" : "files");
    EXPECT_EQ(ClearedPixels(*picture), 0);
  }
}

}  // namespace

namespace {

// Both primitive catalogues in two rows on the meadow, to look at; each
// shows where it stands.
TEST(ScreenTest, TheCataloguesDraw) {
  const char* const primitives[] = {"primitive.cube",  "primitive.ball",  "primitive.cylinder",
                                    "primitive.cone",  "primitive.ring",  "primitive.pyramid",
                                    "primitive.wedge", "primitive.star",  "primitive.heart",
                                    "primitive.arch",  "primitive.tree",  "primitive.house",
                                    "primitive.cloud", "primitive.flower"};
  std::vector<PlacedModel> models{InPlace("sky.meadow"), InPlace("ground.meadow")};
  for (size_t i = 0; i < std::size(primitives); ++i) {
    PlacedModel placed = InPlace(primitives[i]);
    placed.mPosition[0] = (static_cast<float>(i % 7) - 3.0f) * 5.0f;
    placed.mPosition[1] = 2.5f;
    placed.mPosition[2] = i < 7 ? -10.0f : 2.0f;
    placed.mScale = 2.0f;
    models.push_back(placed);
  }
  const ScreenView close{{0, 14, -38}, {0, 2, -4}, 45.0f, 1.0f, 300.0f};
  const std::optional<ScreenPicture> picture =
      DrawScreen(content_fixtures::DataDirectory(), models, close, kWidth, kHeight);
  ASSERT_TRUE(picture.has_value());
  Keep(*picture, "catalogues");
  EXPECT_EQ(ClearedPixels(*picture), 0);
}

}  // namespace

namespace {

// The places the scripts give (tag 2 of a definition, in thousandths) lie
// at the layout's spots mirrored into the world: the interface camera
// shows world +x on the left, the layout's x grows to the right.
TEST(ScreenTest, ScriptPlacesMirrorTheLayoutIntoTheWorld) {
  constexpr int16_t kPositionTag = 2;
  const content_check::ScriptView scripts(content_fixtures::DataDirectory());
  ASSERT_TRUE(scripts.IsOpen());
  const databuilder::InterfaceLayout layout =
      databuilder::InterfaceLayout::Read(content_fixtures::SourceDirectory() / "layout");
  const char* const placed[][2] = {{"logo", "logo"},
                                   {"pad.rotate.place", "pad.rotate.base"},
                                   {"pad.zoom.place", "pad.zoom.base"},
                                   {"pad.reset.place", "pad.reset.base"},
                                   {"pad.rotate", "pad.rotate"}};
  for (const auto& [definition, spot] : placed) {
    const int32_t entry =
        content_fixtures::SourceManifest().Resolve(databuilder::ItemKind::kScript, definition);
    const int32_t vector = content_check::TagEntry(scripts.Get(entry), kPositionTag);
    ASSERT_GE(vector, 0) << definition;
    EXPECT_EQ(scripts.Get(vector).GetInt32(0, 0),
              static_cast<int32_t>(std::lround(-layout.Get(spot).mX * 1000)))
        << definition;
  }
}

}  // namespace
