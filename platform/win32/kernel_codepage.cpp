// The ANSI code page 1252: characters, case, comparison, and conversion to
// and from UTF-16 for 1252 and Mac Roman. Tests may give it lead bytes, so
// that code that steps through double-byte characters can be exercised.

#include "platform/win32/CodePage.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <atomic>
#include <cstring>
#include <string_view>

using namespace vpl::platform;

namespace {

// The lead bytes of double-byte characters; none while first > last, as in
// Windows-1252.
std::atomic<BYTE> gLeadFirst{1};
std::atomic<BYTE> gLeadLast{0};

// The base letter of each byte from 0xC0 to 0xFF, for the first pass of
// comparisons; '\0' keeps the byte itself.
constexpr char kBaseLetters[] =
    "AAAAAAACEEEEIIII"
    "DNOOOOO\0OUUUUY\0S"
    "AAAAAAACEEEEIIII"
    "DNOOOOO\0OUUUUY\0Y";

// Bytes of letters with a base letter elsewhere in 0x80 to 0x9F.
unsigned char BaseLetterOf(unsigned char upper) {
  switch (upper) {
    case 0x8A:
      return 'S';
    case 0x8C:
      return 'O';
    case 0x8E:
      return 'Z';
    case 0x9F:
      return 'Y';
    default:
      break;
  }
  if (upper >= 0xC0 && kBaseLetters[upper - 0xC0] != '\0') {
    return static_cast<unsigned char>(kBaseLetters[upper - 0xC0]);
  }
  return upper;
}

// Three passes: base letters, then the accented form, then case (lower
// before upper). A shorter text that is a prefix goes first.
int ComparePass(std::string_view a, std::string_view b, int pass) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    int wa;
    int wb;
    if (pass == 0) {
      wa = BaseLetterOf(Cp1252ToUpper(ca));
      wb = BaseLetterOf(Cp1252ToUpper(cb));
    } else if (pass == 1) {
      wa = Cp1252ToUpper(ca);
      wb = Cp1252ToUpper(cb);
    } else {
      wa = ca == Cp1252ToUpper(ca) ? 1 : 0;
      wb = cb == Cp1252ToUpper(cb) ? 1 : 0;
    }
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string_view TextOf(LPCSTR text, int length) {
  return length < 0 ? std::string_view(text) : std::string_view(text, static_cast<size_t>(length));
}

bool IsSingleCharacter(LPSTR text) { return reinterpret_cast<uintptr_t>(text) <= 0xFFFF; }

template <typename Map>
LPSTR MapCase(LPSTR text, Map map) {
  if (IsSingleCharacter(text)) {
    const auto c = static_cast<unsigned char>(reinterpret_cast<uintptr_t>(text));
    return reinterpret_cast<LPSTR>(static_cast<uintptr_t>(map(c)));
  }
  for (char* p = text; *p != '\0'; ++p) *p = static_cast<char>(map(static_cast<unsigned char>(*p)));
  return text;
}

bool IsMacRoman(UINT codePage) { return codePage == CP_MACROMAN || codePage == CP_MACCP; }
bool IsKnownCodePage(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_WINDOWS_1252 || IsMacRoman(codePage);
}

int SourceLength(int length, size_t terminated) {
  return length < 0 ? static_cast<int>(terminated + 1) : length;
}

size_t WideLength(LPCWSTR wide) {
  size_t n = 0;
  while (wide[n] != 0) ++n;
  return n;
}

}  // namespace

UINT GetACP() { return CP_WINDOWS_1252; }

BOOL IsDBCSLeadByte(BYTE byte) {
  return byte >= gLeadFirst.load() && byte <= gLeadLast.load() ? TRUE : FALSE;
}

LPSTR CharNextA(LPCSTR current) {
  if (*current == '\0') return const_cast<LPSTR>(current);
  const bool pair = IsDBCSLeadByte(static_cast<BYTE>(*current)) && current[1] != '\0';
  return const_cast<LPSTR>(current + (pair ? 2 : 1));
}

LPSTR CharPrevA(LPCSTR start, LPCSTR current) {
  if (current <= start) return const_cast<LPSTR>(start);
  if (gLeadFirst.load() > gLeadLast.load()) return const_cast<LPSTR>(current - 1);
  // A trail byte may look like a lead byte: only a walk from the start
  // tells where characters begin.
  LPCSTR previous = start;
  for (LPCSTR p = start; p < current; p = CharNextA(p)) previous = p;
  return const_cast<LPSTR>(previous);
}

namespace vpl::platform {

void SetDoubleByteLeadRange(BYTE first, BYTE last) {
  gLeadFirst = first;
  gLeadLast = last;
}

}  // namespace vpl::platform

LPSTR CharUpperA(LPSTR text) { return MapCase(text, Cp1252ToUpper); }
LPSTR CharLowerA(LPSTR text) { return MapCase(text, Cp1252ToLower); }

int CompareStringA(LCID, DWORD flags, LPCSTR a, int lengthA, LPCSTR b, int lengthB) {
  if (a == nullptr || b == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string_view textA = TextOf(a, lengthA);
  const std::string_view textB = TextOf(b, lengthB);
  const int passes = (flags & NORM_IGNORECASE) != 0 ? 2 : 3;
  for (int pass = 0; pass < passes; ++pass) {
    const int order = ComparePass(textA, textB, pass);
    if (order != 0) return order < 0 ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
  }
  return CSTR_EQUAL;
}

int lstrcmpiA(LPCSTR a, LPCSTR b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a ? a : "", -1, b ? b : "", -1) - 2;
}

int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR text, int length, LPWSTR wide, int wideSize) {
  if (!IsKnownCodePage(codePage) || text == nullptr || wideSize < 0 ||
      (wide == nullptr && wideSize > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int count = SourceLength(length, length < 0 ? std::strlen(text) : 0);
  if (wideSize == 0) return count;
  if (count > wideSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  for (int i = 0; i < count; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    wide[i] =
        static_cast<WCHAR>(IsMacRoman(codePage) ? MacRomanToUnicode(byte) : Cp1252ToUnicode(byte));
  }
  return count;
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int length, LPSTR text, int textSize,
                        LPCSTR defaultChar, BOOL* usedDefault) {
  if (!IsKnownCodePage(codePage) || wide == nullptr || textSize < 0 ||
      (text == nullptr && textSize > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int count = SourceLength(length, length < 0 ? WideLength(wide) : 0);
  if (usedDefault != nullptr) *usedDefault = FALSE;
  if (textSize == 0) return count;
  if (count > textSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const char fallback = defaultChar != nullptr ? *defaultChar : '?';
  for (int i = 0; i < count; ++i) {
    const int byte = IsMacRoman(codePage) ? UnicodeToMacRoman(wide[i]) : UnicodeToCp1252(wide[i]);
    if (byte < 0 && usedDefault != nullptr) *usedDefault = TRUE;
    text[i] = byte < 0 ? fallback : static_cast<char>(byte);
  }
  return count;
}
