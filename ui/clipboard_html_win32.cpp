#include "ui/clipboard_html_win32.h"

UINT HtmlClipboardFormat() {
    return RegisterClipboardFormatW(L"HTML Format");
}

HGLOBAL MakeHtmlClipboardData(const char* bytes, int64_t size) {
    if (bytes == nullptr || size < 0 || static_cast<uint64_t>(size) >= SIZE_MAX) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(size) + 1);
    if (memory == nullptr) return nullptr;
    auto* data = static_cast<char*>(GlobalLock(memory));
    if (data == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    for (int64_t i = 0; i < size; ++i)
        data[i] = bytes[i];
    // Readers that ignore EndHTML stop at the NUL.
    data[size] = '\0';
    GlobalUnlock(memory);
    return memory;
}
