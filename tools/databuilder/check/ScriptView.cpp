#include "tools/databuilder/check/ScriptView.h"

#include "foundation/uu/UUDirectory.h"
#include "platform/win32/PathMapping.h"

namespace content_check {

namespace {

constexpr int16_t kTagOffset = 0;
constexpr int16_t kValueOffset = 2;

}  // namespace

ScriptView::ScriptView(const std::filesystem::path& folder) {
  const std::string windows = vpl::platform::ToWindowsPath(std::filesystem::absolute(folder));
  mLoader = MMOpenScriptFile(UUDirectory(windows.c_str()), "Hd.mms");
}

ScriptView::~ScriptView() { delete mLoader; }

int32_t ScriptView::GetEntryCount() const {
  return mLoader == nullptr ? 0 : mLoader->GetFile()->GetSubfileCount();
}

MMScript ScriptView::Get(int32_t entry) const {
  return MMScript(MMMakeScriptId(mLoader, static_cast<int16_t>(entry)));
}

int32_t ScriptView::GetDeclaredRowCount(int32_t entry) const {
  return mLoader->GetFile()->GetEntryRowCount(entry);
}

int32_t EntryOf(MMResourceId id) { return id < 0 ? -1 : static_cast<int32_t>(id & 0xFFFF); }

int32_t CountTag(const MMScript& script, int16_t tag) {
  return script.CountRows(0, kTagOffset, tag);
}

int32_t FindTag(const MMScript& script, int16_t tag, int32_t n) {
  return script.FindRow(0, kTagOffset, n, tag);
}

int32_t TagValue(const MMScript& script, int16_t tag, int32_t n) {
  const int32_t row = FindTag(script, tag, n);
  return row < 0 ? 0 : script.GetInt32(row, kValueOffset);
}

int32_t TagEntry(const MMScript& script, int16_t tag, int32_t n) {
  const int32_t row = FindTag(script, tag, n);
  return row < 0 ? -1 : EntryOf(script.GetScriptId(row, kValueOffset));
}

std::string ScriptName(int32_t entry) { return "script " + std::to_string(entry); }

}  // namespace content_check
