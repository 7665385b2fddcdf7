// UTF-16 (or, on Linux, 32-bit wchar_t) text to UTF-8.
#pragma once

#include <cstdint>

// Number of UTF-8 bytes that the first length characters of text need, or -1
// when the system's conversion fails.
int64_t Utf8Size(const wchar_t* text, int64_t length);

// Converts the first length characters of text into out. Returns the number of
// bytes written, or -1 when they need more than capacity bytes (nothing is
// written then) or the system's conversion fails (what is in out is then no
// result). No terminator is written. A lone surrogate becomes U+FFFD.
int64_t WideToUtf8(const wchar_t* text, int64_t length, char* out, int64_t capacity);
