#include "tests/app/support/DialogData.h"

#include "app/objects/VPLServices.h"

namespace dialog_data {

namespace {

using app_fixtures::ExtraTables;
using app_fixtures::RawTable;
using app_fixtures::RawTables;

constexpr uint32_t kQuad = static_cast<uint32_t>(app_fixtures::ModelId(app_fixtures::kQuadItem));
constexpr uint32_t Reference(MMResourceId entry) { return static_cast<uint32_t>(entry + 1); }

// Option toggles (their other look is themselves) and message buttons by
// kind, in free entries.
constexpr MMResourceId kFirstOption = 60;
constexpr int kOptionCount = 4;
constexpr MMResourceId kKindButton = 70;  // kind k at kKindButton + k
constexpr MMResourceId kKindlessButton = 69;
constexpr uint32_t kOutOfRangeKind = 9;
// The credits: script 646 names the page 647, whose rows name the lines
// 648 and 650 and the gap 649.
constexpr MMResourceId kCredits = 646;
constexpr MMResourceId kPage = 647;
constexpr MMResourceId kFirstLine = 648;
constexpr MMResourceId kGap = 649;
constexpr MMResourceId kSecondLine = 650;

// The definitions of the settings dialogs' buttons, toggles and labels.
constexpr uint32_t kTexturedQuad =
    static_cast<uint32_t>(app_fixtures::ModelId(app_fixtures::kTexturedQuadItem));
// The AutoSave label shows its text on a textured quad.
constexpr MMResourceId kAutoSaveLabel = 45;
constexpr MMResourceId kPlainDefinitions[] = {43, 44,  46,  47,  48,  49,  50,  51, 52,
                                              53, 328, 329, 330, 332, 333, 342, 343};

std::vector<uint8_t> Row(std::initializer_list<int16_t> values) {
  std::vector<uint8_t> row;
  for (int16_t value : values) {
    row.push_back(static_cast<uint8_t>(value & 0xFF));
    row.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
  }
  return row;
}

// A credits line: its text at offset 0, colour at 4, 6, 8, height at 10.
RawTable CreditsLine(const std::string& text, int16_t red) {
  std::vector<uint8_t> row = Row({0, 0, red, 255, 255, kCreditsHeight});
  return RawTable{{row}, text + '\0'};
}

}  // namespace

RawTables Tables(const std::string& fontSize) {
  RawTables tables;
  tables[kStringList] = app_fixtures::TaggedTexts({{12, "vpl3d"},
                                                   {16, ".ini"},
                                                   {kAutoSaveText, "Save"},
                                                   {25, "Ask"},
                                                   {26, "Print"},
                                                   {kBackgroundText, "Background"},
                                                   {45, "DejaVu Sans"},
                                                   {51, fontSize}});
  tables[kTextColorScript] = app_fixtures::Int16Row({kTextRed, kTextGreen, kTextBlue});
  tables[kCredits] = RawTable{{Row({0, static_cast<int16_t>(Reference(kPage))})}, {}};
  tables[kPage] = RawTable{{Row({1, static_cast<int16_t>(Reference(kFirstLine))}),
                            Row({2, static_cast<int16_t>(Reference(kGap))}),
                            Row({1, static_cast<int16_t>(Reference(kSecondLine))})},
                           {}};
  tables[kFirstLine] = CreditsLine("First", 255);
  tables[kGap] = app_fixtures::Int16Row({kCreditsGap});
  tables[kSecondLine] = CreditsLine("Second", 128);
  return tables;
}

ExtraTables TaggedTables() {
  ExtraTables tables;
  for (MMResourceId definition : kPlainDefinitions) tables[definition] = {{0, kQuad}};
  tables[kAutoSaveLabel] = {{0, kTexturedQuad}};
  for (MMResourceId i = 0; i < kOptionCount; ++i) {
    tables[kFirstOption + i] = {{0, kQuad}, {8, Reference(kFirstOption + i)}};
  }
  for (uint32_t kind = 0; kind < 6; ++kind) {
    tables[kKindButton + static_cast<MMResourceId>(kind)] = {{0, kQuad}, {5, kind}};
  }
  tables[kKindlessButton] = {{0, kQuad}};
  tables[kKindButton + 6] = {{0, kQuad}, {5, kOutOfRangeKind}};
  for (MMResourceId layout : {54, 334, 344}) tables[layout] = {{0, kQuad}};
  tables[331] = {{0, kQuad}, {9, Reference(kFirstOption)}, {9, Reference(kFirstOption + 1)}};
  tables[341] = {{0, kQuad}};
  for (MMResourceId i = 0; i < kOptionCount; ++i) {
    tables[341].push_back({9, Reference(kFirstOption + i)});
  }
  tables[kYesNoLayout] = {
      {0, kQuad}, {8, kQuad}, {9, Reference(kKindButton + 0)}, {9, Reference(kKindButton + 1)}};
  tables[kNoKeysLayout] = {
      {0, kQuad}, {8, kQuad}, {9, Reference(kKindButton + 2)}, {9, Reference(kKindButton + 5)}};
  tables[kMixedLayout] = {{0, kQuad},
                          {9, Reference(kKindlessButton)},
                          {9, Reference(kKindButton + 0)},
                          {9, Reference(kKindButton + 6)},
                          {9, Reference(kKindButton + 1)}};
  tables[kNoPanelLayout] = {{0, kQuad}, {9, Reference(kKindButton + 0)}};
  return tables;
}

VPLSceneUIBase* MakeRecordingScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view) {
  return new RecordingScene(host, enclosure, view);
}

DialogServices::DialogServices(MM3DDriverTextureMap* map, bool movieExporter) {
  mPreferences.Open();
  VPLServices& services = VPLGetServices();
  services.mTextureMap = map;
  services.mStringTextures = &mStrings;
  services.mImageTextures = &mImages;
  services.mPreferences = &mPreferences;
  services.mMovieExporterStarted = movieExporter;
}

DialogServices::~DialogServices() {
  VPLServices& services = VPLGetServices();
  services.mTextureMap = nullptr;
  services.mStringTextures = nullptr;
  services.mImageTextures = nullptr;
  services.mPreferences = nullptr;
  services.mMovieExporterStarted = false;
}

}  // namespace dialog_data
