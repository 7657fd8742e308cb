#include "app/objects/VPLScript.h"

VPLScript::VPLScript() : mScript(kMMNoResource) {}

VPLScript::VPLScript(MMResourceId id, int16_t kind) : VPLScript() { Open(id, kind); }

void VPLScript::Open(MMResourceId id, int16_t kind) {
  mScript = MMScript(id);
  mKind = kind;
}

int32_t VPLScript::FindTag(int16_t tag, int32_t start, int32_t n) const {
  return mScript.FindRow(start, kTagOffset, n, tag);
}

int32_t VPLScript::CountTag(int16_t tag) const { return mScript.CountRows(0, kTagOffset, tag); }

int16_t VPLScript::GetTagInt16(int16_t tag, int32_t start, int32_t n) const {
  const int32_t row = FindTag(tag, start, n);
  return row < 0 ? int16_t{-1} : mScript.GetInt16(row, kValueOffset);
}

int32_t VPLScript::GetTagInt32(int16_t tag, int32_t start, int32_t n) const {
  return static_cast<int32_t>(GetTagUInt32(tag, start, n));
}

uint32_t VPLScript::GetTagUInt32(int16_t tag, int32_t start, int32_t n) const {
  const int32_t row = FindTag(tag, start, n);
  return row < 0 ? UINT32_MAX : mScript.GetUInt32(row, kValueOffset);
}

MMResourceId VPLScript::GetTagScriptId(int16_t tag, int32_t start, int32_t n) const {
  const int32_t row = FindTag(tag, start, n);
  return row < 0 ? kMMNoResource : mScript.GetScriptId(row, kValueOffset);
}

const char* VPLScript::GetTagString(int16_t tag, int32_t start, int32_t n) const {
  const int32_t row = FindTag(tag, start, n);
  return row < 0 ? "" : mScript.GetString(row, kValueOffset);
}

bool VPLReadVectorTable(MMResourceId id, MM3DVector& out, int32_t row) {
  if (id == kMMNoResource || row < 0) return false;
  const MMScript table(id);
  if (table.GetRowCount() <= row) return false;
  const auto d = static_cast<float>(table.GetInt32(row, 16));
  if (d == 0.0f) return false;
  for (int i = 0; i < 4; ++i) {
    out.SetComponent(i, static_cast<float>(table.GetInt32(row, static_cast<int16_t>(4 * i))) / d);
  }
  return true;
}
