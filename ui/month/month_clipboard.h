// The ward's month on the clipboard: one table, written as the "HTML Format"
// payload (a spreadsheet pastes it as the grid, weekends and holidays shaded,
// breached cells outlined) and as tab-separated text (CF_UNICODETEXT). Both
// are walked from the same rows, so they never disagree: the title, the head
// with dates and weekdays, a row per nurse (name, grade, the cells as set with
// hand-set ones marked "*", her counts), the staffing rows, the breach summary
// and the signature line.
#pragma once

#include <cstdint>

#include "month/month_rules.h"
#include "month/rota_month.h"

constexpr int64_t kMonthClipboardHtmlCapacity = 160 * 1024;
constexpr int32_t kMonthClipboardTextCapacity = 16 * 1024;

// Bytes written (UTF-8, no terminator), or -1 when the payload does not fit.
int64_t BuildMonthClipboardHtml(const RotaMonth& month, const MonthCheck& check, char* out,
                                int64_t capacity);

// Characters written (terminated), or -1 when the text was cut.
int32_t BuildMonthClipboardText(const RotaMonth& month, const MonthCheck& check, wchar_t* out,
                                int32_t capacity);
