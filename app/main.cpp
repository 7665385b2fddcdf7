#include <windows.h>

#include "app/command_line.h"
#include "app/self_test.h"
#include "engine/tool_def.h"
#include "ui/main_window.h"
#include "ui/newer_windows.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    NarrowDllSearch();
    wchar_t report_path[kSelfTestPathCapacity];
    if (ParseSelfTestOption(GetCommandLineW(), report_path, kSelfTestPathCapacity)) {
        return RunSelfTest(report_path);
    }
    // The manifest has made the process DPI-aware (per monitor where the system
    // can); the system refuses this call then. It stands for a manifest unread.
    SetProcessDPIAware();
    wchar_t month_file[kMonthFileArgumentCapacity];
    const bool has_month_file =
        ParseMonthFileArgument(GetCommandLineW(), month_file, kMonthFileArgumentCapacity);
    return RunMainWindow(instance, &GetBuiltinTool(), has_month_file ? month_file : nullptr);
}
