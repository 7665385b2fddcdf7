#include "ui/rota_texts.h"

#include "engine/bounded_text.h"
#include "generators/nursing_rota.h"

void FormatRotaDayHead(int32_t day_index, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"%d日", day_index + 1);
}

void FormatRotaDayCountHead(int32_t shift, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"%ls人数", kRotaShiftNames[shift]);
}
