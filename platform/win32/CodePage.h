#pragma once
// Internal to the platform layer: the two single-byte code pages the system
// uses (Windows-1252 for its own texts, Mac Roman for texts written on a
// Macintosh) and UTF-8, which the host uses for file names.

#include <string>
#include <string_view>

namespace vpl::platform {

// The Unicode character of a byte. The five bytes 1252 leaves undefined map
// to the control characters of the same value, so every byte round-trips.
char32_t Cp1252ToUnicode(unsigned char byte);
char32_t MacRomanToUnicode(unsigned char byte);
// The byte of a Unicode character, or -1 when the code page has none.
int UnicodeToCp1252(char32_t character);
int UnicodeToMacRoman(char32_t character);

// Case mapping within 1252 (letters with accents included).
unsigned char Cp1252ToUpper(unsigned char byte);
unsigned char Cp1252ToLower(unsigned char byte);
// True when the texts are equal without regard to 1252 case.
bool Cp1252EqualIgnoringCase(std::string_view a, std::string_view b);

// Host file names are UTF-8; characters that 1252 lacks become '?'.
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);

}  // namespace vpl::platform
