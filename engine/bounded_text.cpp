#include "engine/bounded_text.h"

#include <cstddef>
#include <cstdio>

namespace {

// Destination of one formatting call: characters past the room are dropped
// and remembered as a cut.
struct TextSink {
    wchar_t* out;
    int32_t capacity;
    int32_t length;
    bool cut;
};

void Put(TextSink& sink, wchar_t c) {
    if (sink.length < sink.capacity - 1) {
        sink.out[sink.length++] = c;
    } else {
        sink.cut = true;
    }
}

void PutRepeated(TextSink& sink, wchar_t c, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        Put(sink, c);
}

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int32_t width = 0;
    int32_t precision = -1;
    int32_t long_count = 0;  // 0 int, 1 long, 2 long long
    bool short_length = false;
    bool size_length = false;  // z, j, t: 64-bit here
    bool narrow_text = false;  // "%hs"
    wchar_t conversion = 0;
};

// Widths and precisions are cut to this so that a number's text always fits
// the narrow scratch below (the longest "%f" of a double has 309 digits).
constexpr int32_t kMaxWidth = 400;
constexpr int32_t kNumberScratch = 1100;

int32_t ReadCount(const wchar_t*& p) {
    int32_t n = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (n < kMaxWidth) n = n * 10 + static_cast<int32_t>(*p - L'0');
        ++p;
    }
    return n < kMaxWidth ? n : kMaxWidth;
}

int32_t ClampCount(int value) {
    if (value > kMaxWidth) return kMaxWidth;
    return value;
}

// Parses flags, width, precision and length; leaves p on the conversion.
void ParseSpec(const wchar_t*& p, va_list& args, Spec& spec) {
    for (;; ++p) {
        if (*p == L'-')
            spec.left = true;
        else if (*p == L'+')
            spec.plus = true;
        else if (*p == L' ')
            spec.space = true;
        else if (*p == L'#')
            spec.alternate = true;
        else if (*p == L'0')
            spec.zero = true;
        else
            break;
    }
    if (*p == L'*') {
        int w = va_arg(args, int);
        if (w < 0) {
            spec.left = true;
            w = w == -2147483647 - 1 ? 2147483647 : -w;
        }
        spec.width = ClampCount(w);
        ++p;
    } else {
        spec.width = ReadCount(p);
    }
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            int prec = va_arg(args, int);
            spec.precision = prec < 0 ? -1 : ClampCount(prec);
            ++p;
        } else {
            spec.precision = ReadCount(p);
        }
    }
    for (;; ++p) {
        if (*p == L'l')
            ++spec.long_count;
        else if (*p == L'h')
            spec.short_length = true;
        else if (*p == L'z' || *p == L'j' || *p == L't')
            spec.size_length = true;
        else if (*p == L'L') {
        } else
            break;
    }
    if (spec.short_length && *p == L's') spec.narrow_text = true;
    spec.conversion = *p;
}

void PutPadded(TextSink& sink, const Spec& spec, int32_t text_length, const wchar_t* wide,
               const char* narrow) {
    const int32_t pad = spec.width > text_length ? spec.width - text_length : 0;
    if (!spec.left) PutRepeated(sink, L' ', pad);
    for (int32_t i = 0; i < text_length; ++i) {
        Put(sink, wide != nullptr ? wide[i]
                                  : static_cast<wchar_t>(static_cast<unsigned char>(narrow[i])));
    }
    if (spec.left) PutRepeated(sink, L' ', pad);
}

void PutWideText(TextSink& sink, const Spec& spec, const wchar_t* text) {
    if (text == nullptr) text = L"(null)";
    int32_t n = 0;
    while (text[n] != L'\0' && (spec.precision < 0 || n < spec.precision))
        ++n;
    PutPadded(sink, spec, n, text, nullptr);
}

void PutNarrowText(TextSink& sink, const Spec& spec, const char* text) {
    if (text == nullptr) text = "(null)";
    int32_t n = 0;
    while (text[n] != '\0' && (spec.precision < 0 || n < spec.precision))
        ++n;
    PutPadded(sink, spec, n, nullptr, text);
}

// Rebuilds the narrow conversion for snprintf, with the argument type fixed.
void BuildNarrowSpec(const Spec& spec, const char* length, char conversion, char* out,
                     size_t size) {
    std::snprintf(out, size, "%%%s%s%s%s%s%d.%d%s%c", spec.left ? "-" : "", spec.plus ? "+" : "",
                  spec.space ? " " : "", spec.alternate ? "#" : "", spec.zero ? "0" : "",
                  spec.width, spec.precision, length, conversion);
    if (spec.precision < 0) {
        // Drop the ".-1": rebuild without a precision.
        std::snprintf(out, size, "%%%s%s%s%s%s%d%s%c", spec.left ? "-" : "", spec.plus ? "+" : "",
                      spec.space ? " " : "", spec.alternate ? "#" : "", spec.zero ? "0" : "",
                      spec.width, length, conversion);
    }
}

void PutNarrowNumber(TextSink& sink, const char* text, int n) {
    if (n < 0) return;
    if (n >= kNumberScratch) n = kNumberScratch - 1;
    for (int i = 0; i < n; ++i) {
        Put(sink, static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    }
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif

void PutInteger(TextSink& sink, const Spec& spec, va_list& args) {
    char narrow_spec[64];
    char text[kNumberScratch];
    const char conversion = static_cast<char>(spec.conversion);
    const bool is_signed = conversion == 'd' || conversion == 'i';
    long long value = 0;
    unsigned long long unsigned_value = 0;
    if (spec.long_count >= 2 || spec.size_length) {
        if (is_signed)
            value = va_arg(args, long long);
        else
            unsigned_value = va_arg(args, unsigned long long);
    } else if (spec.long_count == 1) {
        if (is_signed)
            value = va_arg(args, long);
        else
            unsigned_value = va_arg(args, unsigned long);
    } else {
        if (is_signed)
            value = va_arg(args, int);
        else
            unsigned_value = va_arg(args, unsigned int);
    }
    BuildNarrowSpec(spec, "ll", conversion, narrow_spec, sizeof narrow_spec);
    const int n = is_signed ? std::snprintf(text, sizeof text, narrow_spec, value)
                            : std::snprintf(text, sizeof text, narrow_spec, unsigned_value);
    PutNarrowNumber(sink, text, n);
}

void PutFloating(TextSink& sink, const Spec& spec, va_list& args) {
    char narrow_spec[64];
    char text[kNumberScratch];
    const double value = va_arg(args, double);
    BuildNarrowSpec(spec, "", static_cast<char>(spec.conversion), narrow_spec, sizeof narrow_spec);
    const int n = std::snprintf(text, sizeof text, narrow_spec, value);
    PutNarrowNumber(sink, text, n);
}

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

void PutCharacter(TextSink& sink, const Spec& spec, va_list& args) {
    const wchar_t c[1] = {static_cast<wchar_t>(va_arg(args, int))};
    PutPadded(sink, spec, 1, c, nullptr);
}

// Handles one conversion; returns false for an unknown one, which ends the
// formatting (the text so far stays).
bool PutConversion(TextSink& sink, const Spec& spec, va_list& args) {
    switch (spec.conversion) {
        case L'%':
            Put(sink, L'%');
            return true;
        case L'd':
        case L'i':
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            PutInteger(sink, spec, args);
            return true;
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            PutFloating(sink, spec, args);
            return true;
        case L'c':
            PutCharacter(sink, spec, args);
            return true;
        case L's':
            if (spec.narrow_text)
                PutNarrowText(sink, spec, va_arg(args, const char*));
            else
                PutWideText(sink, spec, va_arg(args, const wchar_t*));
            return true;
        default:
            return false;
    }
}

}  // namespace

int32_t FormatTextV(wchar_t* out, int32_t capacity, const wchar_t* format, va_list args) {
    if (out == nullptr || capacity < 1) return -1;
    TextSink sink{out, capacity, 0, false};
    va_list local;
    va_copy(local, args);
    const wchar_t* p = format != nullptr ? format : L"";
    while (*p != L'\0') {
        if (*p != L'%') {
            Put(sink, *p++);
            continue;
        }
        ++p;
        Spec spec;
        ParseSpec(p, local, spec);
        if (!PutConversion(sink, spec, local)) break;
        ++p;
    }
    va_end(local);
    out[sink.length] = L'\0';
    return sink.cut ? -1 : sink.length;
}

int32_t FormatText(wchar_t* out, int32_t capacity, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const int32_t n = FormatTextV(out, capacity, format, args);
    va_end(args);
    return n;
}

int32_t BoundedLength(const wchar_t* text, int32_t capacity) {
    int32_t n = 0;
    if (text == nullptr) return 0;
    while (n < capacity && text[n] != L'\0')
        ++n;
    return n;
}

int32_t AppendText(wchar_t* buffer, int32_t capacity, const wchar_t* piece, int32_t piece_length) {
    if (buffer == nullptr || capacity < 1) return 0;
    int32_t length = BoundedLength(buffer, capacity - 1);
    if (piece == nullptr) {
        buffer[length] = L'\0';
        return length;
    }
    for (int32_t i = 0;
         length < capacity - 1 && (piece_length < 0 || i < piece_length) && piece[i] != L'\0';
         ++i) {
        buffer[length++] = piece[i];
    }
    buffer[length] = L'\0';
    return length;
}

void CopyText(wchar_t* dst, int32_t capacity, const wchar_t* src) {
    if (dst == nullptr || capacity < 1) return;
    dst[0] = L'\0';
    AppendText(dst, capacity, src);
}

void WidenAscii(wchar_t* dst, int32_t capacity, const char* src) {
    if (dst == nullptr || capacity < 1) return;
    int32_t n = 0;
    if (src != nullptr) {
        for (; n < capacity - 1 && src[n] != '\0'; ++n) {
            dst[n] = static_cast<wchar_t>(static_cast<unsigned char>(src[n]));
        }
    }
    dst[n] = L'\0';
}
