// Reading the parameter fields: a typo must never become a different number.
#pragma once

#include <cstdint>

// The longest field text that is read; a longer one is refused rather than
// read cut, since its cut form would be a different number.
constexpr int32_t kFieldTextMaxLength = 127;

// Reads one field. White space around the text is ignored; an empty text is 0.
// Otherwise the text must be one number as the C locale's conversion reads it
// (decimal, or hexadecimal such as 0x1A), consumed to its end; full-width
// digits, point, plus, minus and e/E (as a Chinese input method types them)
// count as their ASCII forms. Refused, with *value left alone: any other text,
// texts longer than kFieldTextMaxLength, and numbers that are infinite or NaN
// (1e999, inf, nan).
bool ParseFieldValue(const wchar_t* text, double* value);

// Reads count field texts into values. Values are committed only when every
// field parsed; otherwise values is untouched and the index of the first
// refused field is returned. Returns -1 on success.
int32_t ParseFieldTexts(const wchar_t* const* texts, int32_t count, double* values);
