#include "ui/field_parser.h"

#include <cmath>
#include <cstdlib>

#include "engine/compute.h"

namespace {

bool IsFieldSpace(wchar_t c) {
    // ASCII white space and the ideographic space of Chinese input methods.
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' ||
           c == L'\x3000';
}

struct WidthFold {
    wchar_t fullWidth;
    wchar_t ascii;
};

constexpr WidthFold kWidthFolds[] = {
    {L'\xFF0E', L'.'}, {L'\xFF0B', L'+'}, {L'\xFF0D', L'-'}, {L'\xFF45', L'e'}, {L'\xFF25', L'E'},
};

wchar_t FoldToAscii(wchar_t c) {
    if (c >= L'\xFF10' && c <= L'\xFF19') return static_cast<wchar_t>(L'0' + (c - L'\xFF10'));
    for (const WidthFold& fold : kWidthFolds) {
        if (c == fold.fullWidth) return fold.ascii;
    }
    return c;
}

// Only characters that can stand in a number written with digits reach the
// conversion: decimal and hexadecimal forms ("0x1A"), never the words inf,
// infinity and nan, whose acceptance differs between C runtimes (their values
// would be refused anyway).
bool IsNumberCharacter(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F') ||
           c == L'.' || c == L'+' || c == L'-' || c == L'x' || c == L'X' || c == L'p' || c == L'P';
}

bool IsWholeNumberWithin(double value, const IntParamRange& range) {
    return value == std::trunc(value) && value >= range.low && value <= range.high;
}

}  // namespace

bool ParseFieldValue(const wchar_t* text, double* value) {
    if (text == nullptr || value == nullptr) return false;
    int32_t length = 0;
    while (text[length] != L'\0') {
        if (length == kFieldTextMaxLength) return false;
        ++length;
    }
    int32_t begin = 0;
    int32_t end = length;
    while (begin < end && IsFieldSpace(text[begin]))
        ++begin;
    while (end > begin && IsFieldSpace(text[end - 1]))
        --end;
    if (begin == end) return false;
    // The number is read from its ASCII form with strtod, as the C locale
    // reads it (wcstod would give the same number; strtod reads hexadecimal
    // forms alike with every C runtime this program is built with).
    char ascii[kFieldTextMaxLength + 1];
    int32_t n = 0;
    for (int32_t i = begin; i < end; ++i) {
        const wchar_t c = FoldToAscii(text[i]);
        if (!IsNumberCharacter(c)) return false;
        ascii[n++] = static_cast<char>(c);
    }
    ascii[n] = '\0';
    char* stop = nullptr;
    const double parsed = std::strtod(ascii, &stop);
    if (stop != ascii + n) return false;
    if (!std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

int32_t ParseFieldTexts(const ToolDef& tool, const wchar_t* const* texts, double* values) {
    const int32_t count = tool.param_count < kMaxParams ? tool.param_count : kMaxParams;
    double scratch[kMaxParams] = {};
    for (int32_t i = 0; i < count; ++i) {
        if (!ParseFieldValue(texts[i], &scratch[i])) return i;
        const IntParamRange* range = FindIntParamRange(tool, i);
        if (range != nullptr && !IsWholeNumberWithin(scratch[i], *range)) return i;
    }
    for (int32_t i = 0; i < count; ++i)
        values[i] = scratch[i];
    return -1;
}
