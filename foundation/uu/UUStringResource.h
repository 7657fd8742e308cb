#pragma once
// Texts of the program's string table, loaded by id into buffers of
// kUUStringCapacity bytes. An id is often group x 1000 + item; the table's
// keys are 16-bit, so the id is looked up modulo 65536.

#include <cstdint>

// True and the text when the table has the id; false and an empty buffer.
bool UULoadString(uint32_t id, char* buffer);
// As UULoadString; when absent the default is copied and the answer is false.
bool UULoadStringWithDefault(uint32_t id, char* buffer, const char* defaultText);
bool UULoadStringItem(uint32_t group, uint32_t item, char* buffer);
bool UULoadStringItemWithDefault(uint32_t group, uint32_t item, char* buffer,
                                 const char* defaultText);
