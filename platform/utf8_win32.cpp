#include <windows.h>

#include "platform/utf8.h"

// WideCharToMultiByte takes int lengths: longer texts go in slices that never
// split a surrogate pair.
namespace {

constexpr int64_t kSlice = 1 << 20;

int SliceLength(const wchar_t* text, int64_t remaining) {
    int64_t n = remaining < kSlice ? remaining : kSlice;
    if (n < remaining && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    return static_cast<int>(n);
}

}  // namespace

int64_t Utf8Size(const wchar_t* text, int64_t length) {
    int64_t size = 0;
    for (int64_t done = 0; done < length;) {
        const int n = SliceLength(text + done, length - done);
        size += WideCharToMultiByte(CP_UTF8, 0, text + done, n, nullptr, 0, nullptr, nullptr);
        done += n;
    }
    return size;
}

int64_t WideToUtf8(const wchar_t* text, int64_t length, char* out, int64_t capacity) {
    if (Utf8Size(text, length) > capacity) return -1;
    int64_t written = 0;
    for (int64_t done = 0; done < length;) {
        const int n = SliceLength(text + done, length - done);
        const int64_t room = capacity - written;
        written += WideCharToMultiByte(CP_UTF8, 0, text + done, n, out + written,
                                       static_cast<int>(room < INT32_MAX ? room : INT32_MAX),
                                       nullptr, nullptr);
        done += n;
    }
    return written;
}
