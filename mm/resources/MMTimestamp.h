#pragma once
// Build timestamps of the resource files, one per kind, packed into 32 bits:
// second (bits 0-5), minute (6-11), hour (12-16), day of the month (17-21),
// month from 0 (22-25), year - 1990 modulo 16 (26-29) and the daylight
// saving flag (30-31: 0 not given, 1 standard time, 2 saving time).

#include <cstdint>
#include <ctime>

// The size a timestamp key's buffer needs.
constexpr int32_t kMMTimestampKeySize = 32;

// Looks the file's kind and number up in the program's table. The stamp
// words of a file are not compared with anything: no file is refused and
// nothing is recorded.
void MMCheckTimestamp(const char* kindCode, int32_t number, uint32_t stamp1, uint32_t stamp2);
// "MM_TIMESTAMP_<kind>_<number as four upper-case hex digits>".
void MMFormatTimestampKey(char* buffer, const char* kindCode, int32_t number);
bool MMIsTimestampKey(const char* text);

uint32_t MMPackTimestamp(const std::tm& fields);
// Fills the calendar fields and normalises them (weekday, day of the year).
void MMUnpackTimestamp(std::tm* fields, uint32_t packed);
uint32_t MMCurrentTimestamp();
const char* MMRegisterTimestampName();
