// The checks on whole files: their headers and counts, the ids the code
// names, and the program's string table.

#include "foundation/uu/UUDirectory.h"
#include "media/films/MM2DFilmResourceFile.h"
#include "media/sound/MMSoundResourceFile.h"
#include "media/startup/MMResourceFiles.h"
#include "mm/resources/MMPictureResourceFile.h"
#include "mm/resources/MMScriptFile.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "mm3d/MM3DTextureResourceFile.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/user.h"
#include "tools/databuilder/DataFiles.h"
#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/ScriptView.h"

#include <memory>

namespace content_check {

namespace {

using databuilder::ItemKind;

std::unique_ptr<MMGenericResourceFile> MakeReader(ItemKind kind) {
  switch (kind) {
    case ItemKind::kScript:
      return std::make_unique<MMScriptFile>();
    case ItemKind::kPicture:
      return std::make_unique<MMPictureResourceFile>();
    case ItemKind::kSound:
      return std::make_unique<MMSoundResourceFile>();
    case ItemKind::kFilm:
      return std::make_unique<MM2DFilmResourceFile>();
    case ItemKind::kTexture:
      return std::make_unique<MM3DTextureResourceFile>();
    case ItemKind::kModel:
      return std::make_unique<MM3DModelResourceFile>();
  }
  return nullptr;
}

UUDirectory DirectoryOf(const std::filesystem::path& folder) {
  return UUDirectory(vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
}

// The subfile count of the file, or -1 (with a finding) when it does not
// open with its reader and a good checksum in collection 0.
int32_t OpenCount(const std::filesystem::path& folder, const databuilder::DataFile& data,
                  Findings& findings) {
  const std::unique_ptr<MMGenericResourceFile> file = MakeReader(data.mKind);
  if (!file->Open(DirectoryOf(folder), data.mName, true, true)) {
    findings.push_back(std::string(data.mName) + " does not open with a good checksum");
    return -1;
  }
  if (file->GetCollectionNumber() != 0) {
    findings.push_back(std::string(data.mName) + " is not in collection 0");
  }
  const int32_t count = file->GetSubfileCount();
  file->Close(false);
  return count;
}

// The subfile counts of the six files, -1 for one that does not open.
int32_t CountOf(const std::filesystem::path& folder, ItemKind kind, Findings& findings) {
  for (const databuilder::DataFile& data : databuilder::kDataFiles) {
    if (data.mKind == kind) return OpenCount(folder, data, findings);
  }
  return -1;
}

// Script entries the code opens by id, models and sounds it loads by id.
constexpr int32_t kCodeModels[] = {10, 12, 14, 78, 155, 174, 219, 243, 451};
constexpr int32_t kFirstPadSound = 46;
constexpr int32_t kLastPadSound = 55;

// The string table: each kind's group names its one file, in the order of
// the data files; the lists end after item 0.
constexpr uint32_t kNameGroups[] = {475, 476, 477, 481, 482, 483};
constexpr UINT kFolderStrings[] = {102, 103, 104};
constexpr UINT kAbsentStrings[] = {475, 47320, 47321};

bool HasString(UINT id) {
  char text[512];
  return LoadStringA(nullptr, id, text, sizeof text) > 0;
}

}  // namespace

Findings CheckFileHeaders(const std::filesystem::path& folder,
                          const databuilder::Manifest& manifest) {
  Findings findings;
  for (const databuilder::DataFile& data : databuilder::kDataFiles) {
    const int32_t count = OpenCount(folder, data, findings);
    const int32_t expected = manifest.GetCount(data.mKind);
    const bool scriptsGrow = data.mKind == ItemKind::kScript && count >= expected;
    if (count >= 0 && count != expected && !scriptsGrow) {
      findings.push_back(std::string(data.mName) + " holds " + std::to_string(count) +
                         " items, not " + std::to_string(expected));
    }
  }
  return findings;
}

Findings CheckCodeIds(const std::filesystem::path& folder, const databuilder::Manifest& manifest) {
  Findings findings;
  const ScriptView scripts(folder);
  for (const databuilder::ManifestItem& item : manifest.GetItems(ItemKind::kScript)) {
    if (item.mFixed && scripts.Get(item.mId).GetRowCount() == 0 && item.mId != 1) {
      findings.push_back(ScriptName(item.mId) + " (" + item.mName + ") has no rows");
    }
  }
  const int32_t models = CountOf(folder, ItemKind::kModel, findings);
  for (int32_t id : kCodeModels) {
    if (id >= models) findings.push_back("model " + std::to_string(id) + " is missing");
  }
  if (CountOf(folder, ItemKind::kSound, findings) <= kLastPadSound) {
    findings.push_back("the camera pads' sounds " + std::to_string(kFirstPadSound) + "-" +
                       std::to_string(kLastPadSound) + " are missing");
  }
  return findings;
}

Findings CheckStringTable(const std::filesystem::path& folder) {
  Findings findings;
  for (UINT id : kFolderStrings) {
    if (!HasString(id)) findings.push_back("string " + std::to_string(id) + " is missing");
  }
  for (UINT id : kAbsentStrings) {
    if (HasString(id)) findings.push_back("string " + std::to_string(id) + " should be absent");
  }
  for (size_t i = 0; i < std::size(kNameGroups); ++i) {
    const std::string group = "string group " + std::to_string(kNameGroups[i]);
    const char* built = databuilder::kDataFiles[i].mName;
    char name[kUUPathCapacity];
    if (!MMLoadResourceFileName(kNameGroups[i], 0, name) || std::string(name) != built) {
      findings.push_back(group + " does not name " + built);
    } else if (!std::filesystem::exists(folder / name)) {
      findings.push_back(group + " names " + name + ", which was not built");
    }
    if (MMLoadResourceFileName(kNameGroups[i], 1, name))
      findings.push_back(group + " has an item 1");
  }
  return findings;
}

}  // namespace content_check
