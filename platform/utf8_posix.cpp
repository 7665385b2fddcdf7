#include "platform/utf8.h"

namespace {

// On these systems a wchar_t holds a whole code point (UTF-32); the Windows
// build, whose wchar_t is a UTF-16 unit, converts with the system instead.
static_assert(sizeof(wchar_t) == 4, "the POSIX conversion reads UTF-32 text");

// Reads one code point starting at text[i]; advances i past it.
char32_t NextCodePoint(const wchar_t* text, int64_t& i) {
    const auto unit = static_cast<char32_t>(text[i++]);
    if ((unit >= 0xD800 && unit <= 0xDFFF) || unit > 0x10FFFF) return 0xFFFD;
    return unit;
}

int EncodedSize(char32_t c) {
    if (c < 0x80) return 1;
    if (c < 0x800) return 2;
    if (c < 0x10000) return 3;
    return 4;
}

void Encode(char32_t c, char* out) {
    switch (EncodedSize(c)) {
        case 1:
            out[0] = static_cast<char>(c);
            break;
        case 2:
            out[0] = static_cast<char>(0xC0 | (c >> 6));
            out[1] = static_cast<char>(0x80 | (c & 0x3F));
            break;
        case 3:
            out[0] = static_cast<char>(0xE0 | (c >> 12));
            out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out[2] = static_cast<char>(0x80 | (c & 0x3F));
            break;
        default:
            out[0] = static_cast<char>(0xF0 | (c >> 18));
            out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out[3] = static_cast<char>(0x80 | (c & 0x3F));
            break;
    }
}

}  // namespace

int64_t Utf8Size(const wchar_t* text, int64_t length) {
    int64_t size = 0;
    for (int64_t i = 0; i < length;)
        size += EncodedSize(NextCodePoint(text, i));
    return size;
}

int64_t WideToUtf8(const wchar_t* text, int64_t length, char* out, int64_t capacity) {
    if (Utf8Size(text, length) > capacity) return -1;
    int64_t written = 0;
    for (int64_t i = 0; i < length;) {
        const char32_t c = NextCodePoint(text, i);
        Encode(c, out + written);
        written += EncodedSize(c);
    }
    return written;
}
