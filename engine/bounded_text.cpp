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

// Once cut, nothing more goes in: the text ends where the room did, or one
// unit earlier where the cut would have split a surrogate pair.
void Put(TextSink& sink, wchar_t c) {
    if (sink.cut) return;
    if (sink.length < sink.capacity - 1) {
        sink.out[sink.length++] = c;
        return;
    }
    if (sink.length > 0 && IsSurrogatePair(sink.out[sink.length - 1], c)) --sink.length;
    sink.cut = true;
}

void PutRepeated(TextSink& sink, wchar_t c, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        Put(sink, c);
}

struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int32_t width = 0;
    int32_t precision = -1;
    int32_t longCount = 0;    // 0 int, 1 long, 2 long long
    int32_t shortCount = 0;   // 1 short, 2 char: the int argument is narrowed as printf does
    bool sizeLength = false;  // z, j, t: 64-bit here
    bool narrowText = false;  // "%hs"
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
void ParseDirective(const wchar_t*& p, va_list& args, Directive& directive) {
    for (;; ++p) {
        if (*p == L'-')
            directive.left = true;
        else if (*p == L'+')
            directive.plus = true;
        else if (*p == L' ')
            directive.space = true;
        else if (*p == L'#')
            directive.alternate = true;
        else if (*p == L'0')
            directive.zero = true;
        else
            break;
    }
    if (*p == L'*') {
        int w = va_arg(args, int);
        if (w < 0) {
            directive.left = true;
            w = w == -2147483647 - 1 ? 2147483647 : -w;
        }
        directive.width = ClampCount(w);
        ++p;
    } else {
        directive.width = ReadCount(p);
    }
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            int prec = va_arg(args, int);
            directive.precision = prec < 0 ? -1 : ClampCount(prec);
            ++p;
        } else {
            directive.precision = ReadCount(p);
        }
    }
    for (;; ++p) {
        if (*p == L'l')
            ++directive.longCount;
        else if (*p == L'h')
            ++directive.shortCount;
        else if (*p == L'z' || *p == L'j' || *p == L't')
            directive.sizeLength = true;
        else if (*p == L'L') {
        } else
            break;
    }
    if (directive.shortCount > 0 && *p == L's') directive.narrowText = true;
    directive.conversion = *p;
}

void PutPadded(TextSink& sink, const Directive& directive, int32_t text_length, const wchar_t* wide,
               const char* narrow) {
    const int32_t pad = directive.width > text_length ? directive.width - text_length : 0;
    if (!directive.left) PutRepeated(sink, L' ', pad);
    for (int32_t i = 0; i < text_length; ++i) {
        Put(sink, wide != nullptr ? wide[i]
                                  : static_cast<wchar_t>(static_cast<unsigned char>(narrow[i])));
    }
    if (directive.left) PutRepeated(sink, L' ', pad);
}

void PutWideText(TextSink& sink, const Directive& directive, const wchar_t* text) {
    if (text == nullptr) text = L"(null)";
    int32_t n = 0;
    while (text[n] != L'\0' && (directive.precision < 0 || n < directive.precision))
        ++n;
    PutPadded(sink, directive, n, text, nullptr);
}

void PutNarrowText(TextSink& sink, const Directive& directive, const char* text) {
    if (text == nullptr) text = "(null)";
    int32_t n = 0;
    while (text[n] != '\0' && (directive.precision < 0 || n < directive.precision))
        ++n;
    PutPadded(sink, directive, n, nullptr, text);
}

// Rebuilds the narrow conversion for snprintf, with the argument type fixed.
void BuildNarrowDirective(const Directive& directive, const char* length, char conversion,
                          char* out, size_t size) {
    std::snprintf(out, size, "%%%s%s%s%s%s%d.%d%s%c", directive.left ? "-" : "",
                  directive.plus ? "+" : "", directive.space ? " " : "",
                  directive.alternate ? "#" : "", directive.zero ? "0" : "", directive.width,
                  directive.precision, length, conversion);
    if (directive.precision < 0) {
        // Drop the ".-1": rebuild without a precision.
        std::snprintf(out, size, "%%%s%s%s%s%s%d%s%c", directive.left ? "-" : "",
                      directive.plus ? "+" : "", directive.space ? " " : "",
                      directive.alternate ? "#" : "", directive.zero ? "0" : "", directive.width,
                      length, conversion);
    }
}

void PutNarrowNumber(TextSink& sink, const char* text, int n) {
    if (n < 0) return;
    if (n >= kNumberScratch) n = kNumberScratch - 1;
    for (int i = 0; i < n; ++i) {
        Put(sink, static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    }
}

// "h" and "hh": the promoted int argument is converted to short or char first.
long long NarrowSigned(int value, int32_t short_count) {
    if (short_count == 1) return static_cast<short>(value);
    if (short_count >= 2) return static_cast<signed char>(value);
    return value;
}

unsigned long long NarrowUnsigned(unsigned int value, int32_t short_count) {
    if (short_count == 1) return static_cast<unsigned short>(value);
    if (short_count >= 2) return static_cast<unsigned char>(value);
    return value;
}

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif

void PutInteger(TextSink& sink, const Directive& directive, va_list& args) {
    char narrow_directive[64];
    char text[kNumberScratch];
    const char conversion = static_cast<char>(directive.conversion);
    const bool is_signed = conversion == 'd' || conversion == 'i';
    long long value = 0;
    unsigned long long unsigned_value = 0;
    if (directive.longCount >= 2 || directive.sizeLength) {
        if (is_signed)
            value = va_arg(args, long long);
        else
            unsigned_value = va_arg(args, unsigned long long);
    } else if (directive.longCount == 1) {
        if (is_signed)
            value = va_arg(args, long);
        else
            unsigned_value = va_arg(args, unsigned long);
    } else if (is_signed) {
        value = NarrowSigned(va_arg(args, int), directive.shortCount);
    } else {
        unsigned_value = NarrowUnsigned(va_arg(args, unsigned int), directive.shortCount);
    }
    BuildNarrowDirective(directive, "ll", conversion, narrow_directive, sizeof narrow_directive);
    const int n = is_signed ? std::snprintf(text, sizeof text, narrow_directive, value)
                            : std::snprintf(text, sizeof text, narrow_directive, unsigned_value);
    PutNarrowNumber(sink, text, n);
}

void PutFloating(TextSink& sink, const Directive& directive, va_list& args) {
    char narrow_directive[64];
    char text[kNumberScratch];
    const double value = va_arg(args, double);
    BuildNarrowDirective(directive, "", static_cast<char>(directive.conversion), narrow_directive,
                         sizeof narrow_directive);
    const int n = std::snprintf(text, sizeof text, narrow_directive, value);
    PutNarrowNumber(sink, text, n);
}

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

void PutCharacter(TextSink& sink, const Directive& directive, va_list& args) {
    const wchar_t c[1] = {static_cast<wchar_t>(va_arg(args, int))};
    PutPadded(sink, directive, 1, c, nullptr);
}

// Handles one conversion; returns false for an unknown one, which ends the
// formatting (the text so far stays).
bool PutConversion(TextSink& sink, const Directive& directive, va_list& args) {
    switch (directive.conversion) {
        case L'%':
            Put(sink, L'%');
            return true;
        case L'd':
        case L'i':
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            PutInteger(sink, directive, args);
            return true;
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            PutFloating(sink, directive, args);
            return true;
        case L'c':
            PutCharacter(sink, directive, args);
            return true;
        case L's':
            if (directive.narrowText)
                PutNarrowText(sink, directive, va_arg(args, const char*));
            else
                PutWideText(sink, directive, va_arg(args, const wchar_t*));
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
        Directive directive;
        ParseDirective(p, local, directive);
        if (!PutConversion(sink, directive, local)) break;
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

int32_t CutLength(const wchar_t* text, int32_t max_length) {
    const int32_t length = BoundedLength(text, max_length);
    if (length < max_length || length == 0) return length;
    return IsSurrogatePair(text[length - 1], text[length]) ? length - 1 : length;
}

int32_t AppendText(wchar_t* buffer, int32_t capacity, const wchar_t* piece, int32_t piece_length) {
    if (buffer == nullptr || capacity < 1) return 0;
    int32_t length = BoundedLength(buffer, capacity - 1);
    if (piece == nullptr) {
        buffer[length] = L'\0';
        return length;
    }
    int32_t i = 0;
    for (; length < capacity - 1 && (piece_length < 0 || i < piece_length) && piece[i] != L'\0';
         ++i) {
        buffer[length++] = piece[i];
    }
    const bool cut = (piece_length < 0 || i < piece_length) && piece[i] != L'\0';
    if (cut && length > 0 && IsSurrogatePair(buffer[length - 1], piece[i])) --length;
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
