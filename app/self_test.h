// The self-test run: no window, one report file, an exit code.
#pragma once

#include <cstdint>

// Computes the built-in tool with its defaults and writes the report to path.
// Returns 0, 2 when an output failed, 3 when the file could not be written whole.
int32_t RunSelfTest(const wchar_t* path);

// Writes text as UTF-8 (no byte order mark) to path, replacing earlier content.
// Returns false when the file could not be created or written whole.
bool WriteUtf8File(const wchar_t* path, const wchar_t* text);
