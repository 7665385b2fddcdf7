#include <windows.h>

#include "app/command_line.h"
#include "app/self_test.h"
#include "engine/tool_def.h"
#include "ui/main_window.h"

namespace {

// A DLL that a system DLL loads by name later on (the theme DLL when the window
// opens, say) comes from System32 alone, never from the exe's folder, which may
// be a Downloads folder or a shared drive where anyone can leave a DLL.
// SetDefaultDllDirectories exists from Windows 8 on, and on Windows 7 with
// update KB2533623 only; without it, SetDllDirectoryW(L"") takes at least the
// current folder out of the search.
void NarrowDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found =
        kernel32 != nullptr ? GetProcAddress(kernel32, "SetDefaultDllDirectories") : nullptr;
    if (found != nullptr) {
        const auto set_default_dll_directories =
            reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
        if (set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    }
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    NarrowDllSearch();
    wchar_t report_path[kSelfTestPathCapacity];
    if (ParseSelfTestOption(GetCommandLineW(), report_path, kSelfTestPathCapacity)) {
        return RunSelfTest(report_path);
    }
    SetProcessDPIAware();
    return RunMainWindow(instance, &GetBuiltinTool());
}
