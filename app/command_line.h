// The self-test option of the command line.
#pragma once

#include <cstdint>

constexpr int32_t kSelfTestPathCapacity = 520;

// Finds "--selftest" anywhere in the command line. When found, writes the report
// path that follows it into path (quoted or up to the next space, at most 519
// characters, "selftest.txt" when empty) and returns true.
bool ParseSelfTestOption(const wchar_t* command_line, wchar_t* path, int32_t capacity);

// The month file that "Open with" names after the program's path: the first
// argument, quoted or up to the next space, when it is no option (does not
// start with "-"). False when there is none.
constexpr int32_t kMonthFileArgumentCapacity = 520;
bool ParseMonthFileArgument(const wchar_t* command_line, wchar_t* path, int32_t capacity);
