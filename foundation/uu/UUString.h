#pragma once
// Text buffers of the ANSI code page: bounded copies and appends that never
// split a double-byte character and always terminate, and comparisons in
// the user's locale. Lengths are bytes; capacities include the terminator.

#include <cstdarg>
#include <cstddef>
#include <cstdint>

// The size of the system's string-resource and version-text buffers.
constexpr int32_t kUUStringCapacity = 256;

// A null or empty text empties the buffer. Answers true when the whole text
// was taken; a capacity below 1 leaves the buffer untouched.
bool UUCopyString(const char* text, char* buffer, int32_t capacity);
// Appends after the buffer's current text; when not one character fits the
// buffer is left untouched.
bool UUAppendString(const char* text, char* buffer, int32_t capacity);
// prefix + text built in scratch (of capacity bytes too), then copied back
// into text; true when both parts fitted.
bool UUPrependString(const char* prefix, char* text, int32_t capacity, char* scratch);

// printf-style formatting into a buffer of capacity bytes, cut like
// UUCopyString; true when the whole output fitted.
bool UUFormatStringV(char* buffer, int32_t capacity, const char* format, va_list arguments);
// Formatting into a buffer of kUUStringCapacity bytes.
bool UUFormatString(char* buffer, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Copies n bytes unless source and destination are the same address.
void UUCopyBytes(const void* source, void* destination, size_t n);

// Characters of a text, a double-byte character counting once.
int32_t UUCountCharacters(const char* text);
bool UUIsSingleByteChar(char byte);
const char* UUPreviousChar(const char* start, const char* current);
ptrdiff_t UUPreviousCharOffset(const char* start, ptrdiff_t offset);

// In place; the Make forms step through the text character by character.
void UUToUpper(char* text);
void UUToLower(char* text);
void UUMakeUpper(char* text);
void UUMakeLower(char* text);

// Negative, 0 or positive in the user's locale.
int UUCompareText(const char* a, const char* b);
int UUCompareTextN(const char* a, int16_t lengthA, const char* b, int16_t lengthB);
