// The rota's head and row texts that its table views share (the pasted table
// and the printed page), so that both name the columns and rows alike.
#pragma once

#include <cstdint>

// Over the names column.
constexpr wchar_t kRotaNameHead[] = L"姓名";

// Day column day_index (from 0): "1日" to "31日".
void FormatRotaDayHead(int32_t day_index, wchar_t* out, int32_t capacity);

// The row of a shift's daily staffing under the grid: "白班人数" and so on.
void FormatRotaDayCountHead(int32_t shift, wchar_t* out, int32_t capacity);
