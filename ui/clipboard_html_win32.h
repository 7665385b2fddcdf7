// Clipboard handles for the "HTML Format" payload of ui/clipboard_html.h.
#pragma once

#include <windows.h>

#include <cstdint>

// The registered clipboard format "HTML Format"; 0 when it cannot be registered.
UINT HtmlClipboardFormat();

// Movable global memory holding the size bytes and a terminating NUL, ready
// for SetClipboardData; null when it cannot be allocated or locked. The caller
// frees it with GlobalFree unless the clipboard has taken it.
HGLOBAL MakeHtmlClipboardData(const char* bytes, int64_t size);
