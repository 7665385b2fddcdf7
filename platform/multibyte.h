// Text in the Chinese ANSI code page (936, GBK) to wchar_t: what a spreadsheet's
// plain "CSV" writes on a Chinese Windows.
#pragma once

#include <cstdint>

// Converts length bytes of GBK text into out. Returns the number of characters
// written, or -1 when the bytes are no GBK text or need more than capacity
// characters (what is in out is then no result). No terminator is written.
int32_t GbkToWide(const char* bytes, int32_t length, wchar_t* out, int32_t capacity);
