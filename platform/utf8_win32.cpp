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

// WideCharToMultiByte gives 0 only when it failed (a slice is never empty):
// such a text has no size and no UTF-8 form, rather than a short one.
int64_t Utf8Size(const wchar_t* text, int64_t length) {
    int64_t size = 0;
    for (int64_t done = 0; done < length;) {
        const int n = SliceLength(text + done, length - done);
        const int slice_size =
            WideCharToMultiByte(CP_UTF8, 0, text + done, n, nullptr, 0, nullptr, nullptr);
        if (slice_size <= 0) return -1;
        size += slice_size;
        done += n;
    }
    return size;
}

int64_t WideToUtf8(const wchar_t* text, int64_t length, char* out, int64_t capacity) {
    const int64_t size = Utf8Size(text, length);
    if (size < 0 || size > capacity) return -1;
    int64_t written = 0;
    for (int64_t done = 0; done < length;) {
        const int n = SliceLength(text + done, length - done);
        const int64_t room = capacity - written;
        const int slice_size = WideCharToMultiByte(
            CP_UTF8, 0, text + done, n, out + written,
            static_cast<int>(room < INT32_MAX ? room : INT32_MAX), nullptr, nullptr);
        if (slice_size <= 0) return -1;
        written += slice_size;
        done += n;
    }
    return written;
}
