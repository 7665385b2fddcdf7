// Reading the parameter fields: a typo must never become a different number.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

// The longest field text that is read; a longer one is refused rather than
// read cut, since its cut form would be a different number.
constexpr int32_t kFieldTextMaxLength = 127;

// Reads one field. White space around the text is ignored, and what is left
// must be one number as the C locale's conversion reads it
// (decimal, or hexadecimal such as 0x1A), consumed to its end; full-width
// digits, point, plus, minus and e/E (as a Chinese input method types them)
// count as their ASCII forms. Refused, with *value left alone: an empty field,
// any other text, texts longer than kFieldTextMaxLength, and numbers that are
// infinite or NaN (1e999, inf, nan).
bool ParseFieldValue(const wchar_t* text, double* value);

// Reads the tool's field texts (one per parameter) into values. A parameter
// that the tool reads as a whole number within a range (FindIntParamRange)
// must be typed as such: a value it would cut or clamp is refused, so that
// what is computed, shown and saved is what was typed. Values are committed
// only when every field is taken; otherwise values is untouched and the index
// of the first refused field is returned. Returns -1 on success.
int32_t ParseFieldTexts(const ToolDef& tool, const wchar_t* const* texts, double* values);
