#include "mm3d/MM3DModDatabase.h"

namespace {

constexpr char kSignature[] = "mod ";
constexpr int16_t kFormatCode = 16;
constexpr int16_t kVersion = 0;
constexpr int32_t kEndTag = 0;

}  // namespace

MM3DModDatabase::MM3DModDatabase() : MM3DDatabase(kSignature, kFormatCode, kVersion, kEndTag) {}

bool MM3DModDatabase::ReadRecord(UUReader& reader, int32_t) { return RejectRecord(reader); }
