#pragma once
// The row layouts of the script file and where each field of a row lies.
// One 6-byte tagged layout serves every tagged table (tag, then a 32-bit
// value whose low half is also read as a 16-bit number or reference).

#include <cstdint>
#include <string>
#include <vector>

namespace databuilder {

struct RowField {
  int16_t mOffset;
  int16_t mWidth;  // 2 or 4 bytes, little-endian
};

struct ScriptRowLayout {
  const char* mName;
  int16_t mRowSize;
  std::vector<RowField> mFields;
};

enum ScriptRowLayoutIndex : int16_t {
  kLayoutTag,
  kLayoutU32,
  kLayoutVec,
  kLayoutIntro,
  kLayoutAnim,
  kLayoutLine,
  kLayoutI16,
  kLayoutRgb,
  kLayoutCam,
  kLayoutPage,
};

const std::vector<ScriptRowLayout>& ScriptRowLayouts();
// The index of the named layout, or -1.
int16_t FindScriptRowLayout(const std::string& name);

// A vector table's divisor: values are stored as thousandths.
constexpr int32_t kVectorDivisor = 1000;

}  // namespace databuilder
