#include "ui/newer_windows.h"

#include "engine/bounded_text.h"

namespace {

enum NewerFunction : int32_t {
    kSetDefaultDllDirectories,
    kGetDpiForSystem,
    kGetDpiForWindow,
    kAdjustWindowRectExForDpi,
    kNewerFunctionCount,
};

struct FunctionName {
    const wchar_t* module;
    const char* name;
};

// Indexed by NewerFunction; the system each came with, by its documentation.
// Both DLLs are loaded before the program's first line runs.
constexpr FunctionName kNewerFunctions[kNewerFunctionCount] = {
    {L"kernel32.dll", "SetDefaultDllDirectories"},  // Windows 8, 7 with KB2533623
    {L"user32.dll", "GetDpiForSystem"},             // Windows 10, version 1607
    {L"user32.dll", "GetDpiForWindow"},             // Windows 10, version 1607
    {L"user32.dll", "AdjustWindowRectExForDpi"},    // Windows 10, version 1607
};

// The function, or nullptr on a system without it.
template <typename Function>
Function Find(NewerFunction which) {
    const FunctionName& wanted = kNewerFunctions[which];
    return FindFunction<Function>(GetModuleHandleW(wanted.module), wanted.name);
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    AppendText(path, MAX_PATH, L"\\");
    if (AppendText(path, MAX_PATH, name) != TextLength(path)) return nullptr;
    return LoadLibraryW(path);
}

void NarrowDllSearch() {
    const auto set_default_dll_directories = Find<BOOL(WINAPI*)(DWORD)>(kSetDefaultDllDirectories);
    if (set_default_dll_directories != nullptr &&
        set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    SetDllDirectoryW(L"");
}

int32_t SystemDpi() {
    const auto get_dpi_for_system = Find<UINT(WINAPI*)()>(kGetDpiForSystem);
    if (get_dpi_for_system != nullptr) return static_cast<int32_t>(get_dpi_for_system());
    HDC screen = GetDC(nullptr);
    const int32_t dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi;
}

int32_t WindowDpi(HWND window, int32_t otherwise) {
    const auto get_dpi_for_window = Find<UINT(WINAPI*)(HWND)>(kGetDpiForWindow);
    const int32_t dpi =
        get_dpi_for_window != nullptr ? static_cast<int32_t>(get_dpi_for_window(window)) : 0;
    return dpi > 0 ? dpi : otherwise;
}

FrameSize FrameAtDpi(DWORD style, int32_t dpi) {
    const auto adjust_for_dpi =
        Find<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(kAdjustWindowRectExForDpi);
    RECT frame = {0, 0, 0, 0};
    if (adjust_for_dpi == nullptr || !adjust_for_dpi(&frame, style, FALSE, 0, dpi)) {
        frame = {0, 0, 0, 0};
        AdjustWindowRect(&frame, style, FALSE);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}
