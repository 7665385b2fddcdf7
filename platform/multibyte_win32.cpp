#include <windows.h>

#include "platform/multibyte.h"

namespace {

constexpr UINT kChineseCodePage = 936;

}  // namespace

// MB_ERR_INVALID_CHARS: a byte that is no GBK is refused rather than read as
// a default character, so that a file in some other encoding is not taken in.
int32_t GbkToWide(const char* bytes, int32_t length, wchar_t* out, int32_t capacity) {
    if (length == 0) return 0;  // MultiByteToWideChar fails on empty text
    if (length < 0 || capacity <= 0) return -1;
    const int written =
        MultiByteToWideChar(kChineseCodePage, MB_ERR_INVALID_CHARS, bytes, length, out, capacity);
    return written > 0 ? written : -1;
}
