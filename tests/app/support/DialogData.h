#pragma once
// The dialogs' test data and services: the string list, the text colour,
// the button definitions and layouts of the preference, print and export
// dialogs, three message layouts and a credits page, all over the quad;
// the application's text and image texture collections on the stage's
// texture map; a preferences store in the test's own registry; and an
// interface scene that records what the dialogs ask of it.

#include "app/objects/RU3DTextureCollectionFromCreditsScript.h"
#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLPreferences.h"
#include "app/objects/VPLSceneUIBase.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/foundation/win/ScratchRegistry.h"

#include <string>
#include <vector>

class MM3DDriverTextureMap;

namespace dialog_data {

constexpr MMResourceId kStringList = 8;
constexpr MMResourceId kTextColorScript = 431;
// The interface's text colour in script 431.
constexpr uint8_t kTextRed = 200;
constexpr uint8_t kTextGreen = 30;
constexpr uint8_t kTextBlue = 40;
constexpr int16_t kFontSize = 24;
// String-list entries.
constexpr int16_t kAutoSaveText = 24;
constexpr int16_t kBackgroundText = 27;
// Message layouts: kinds 0 and 1 with a text panel; kinds 2 and 5; a
// definition without tag 5, kind 0, kind 9 and kind 1; kind 0 without a
// text panel row.
constexpr MMResourceId kYesNoLayout = 438;
constexpr MMResourceId kNoKeysLayout = 439;
constexpr MMResourceId kMixedLayout = 440;
constexpr MMResourceId kNoPanelLayout = 441;
// The credits page: a line, a gap, a line.
constexpr int16_t kCreditsGap = 20;
constexpr int16_t kCreditsHeight = 18;

// Every table above; extra string-list texts and a size text may be given.
app_fixtures::RawTables Tables(const std::string& fontSize = std::to_string(kFontSize));
app_fixtures::ExtraTables TaggedTables();

// An interface scene that logs what the dialogs ask of it, each as one
// word and its arguments.
class RecordingScene : public VPLSceneUIBase {
 public:
  RecordingScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view)
      : VPLSceneUIBase(host, enclosure, view, 0) {}
  using VPLSceneUIBase::AppendInterfaceObject;

  void ShowPrintButton(bool show) override { Log("ShowPrintButton " + std::to_string(show)); }
  bool Print(int32_t option, bool white) override {
    Log("Print " + std::to_string(option) + " " + std::to_string(white));
    return true;
  }
  bool ExportBmp() override { return Exported("ExportBmp"); }
  bool ExportJpeg() override { return Exported("ExportJpeg"); }
  bool ExportMovie() override { return Exported("ExportMovie"); }
  bool ExportUnsupported() override { return Exported("ExportUnsupported"); }
  void AskUser(int32_t kind) override { Log("AskUser " + std::to_string(kind)); }
  void ReportPreferencesNotSaved() override { Log("ReportPreferencesNotSaved"); }
  void DialogResult(VPL3DCallbackDialog* dialog, int32_t response) override {
    Log("DialogResult " + std::to_string(response));
    VPLSceneUIBase::DialogResult(dialog, response);
  }

  std::vector<std::string> mLog;
  bool mExportsSucceed = true;

 private:
  void Log(const std::string& entry) { mLog.push_back(entry); }
  bool Exported(const char* name) {
    Log(name);
    return mExportsSucceed;
  }
};

VPLSceneUIBase* MakeRecordingScene(MMSceneServices* host, MMEnclosure* enclosure, MMView* view);

// The application's services for dialogs, for the life of the object: the
// texture map given, collections 2 and 3, and an opened preferences store
// in a registry of the test's own.
class DialogServices {
 public:
  explicit DialogServices(MM3DDriverTextureMap* map, bool movieExporter = false);
  ~DialogServices();
  DialogServices(const DialogServices&) = delete;
  DialogServices& operator=(const DialogServices&) = delete;

  VPLPreferences& Preferences() { return mPreferences; }
  RU3DTextureCollectionFromString& Strings() { return mStrings; }
  RU3DTextureCollectionFromCreditsScript& Images() { return mImages; }
  const ScratchRegistry& Registry() const { return mRegistry; }

 private:
  ScratchRegistry mRegistry;
  RU3DTextureCollectionFromString mStrings{2};
  RU3DTextureCollectionFromCreditsScript mImages{3};
  VPLPreferences mPreferences;
};

}  // namespace dialog_data
