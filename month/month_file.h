// The month file: a CSV that Excel and WPS open as the rota itself (UTF-8 with
// a byte order mark, CR LF, RFC 4180 quoting), and that the program reads back,
// also after a spreadsheet saved it again (UTF-8 with or without the mark, or
// GBK; quoted or not; trailing empty cells; CR LF or LF). The counts and
// staffing lines are for the spreadsheet's reader: recomputed, never trusted.
#pragma once

#include <cstdint>

#include "month/rota_month.h"

// Every month's file fits: 40 nurses of 31 cells and the head and foot lines.
constexpr int32_t kMonthFileCapacity = 64 * 1024;

// The file's bytes, or -1 when they need more than capacity (nothing usable).
int32_t WriteMonthFile(const RotaMonth& month, char* out, int32_t capacity);

// Why a file was refused: the line (from 1; 0 for the file as a whole) and
// what is wrong with it, in words for the box.
constexpr int32_t kMonthFileErrorCapacity = 160;
struct MonthFileError {
    int32_t line;
    wchar_t text[kMonthFileErrorCapacity];  // "第 12 行：……"
};

// Reads a month from the file's bytes. On failure month is untouched and
// error says which line and what is wrong.
bool ReadMonthFile(const char* bytes, int32_t length, RotaMonth* month, MonthFileError* error);
