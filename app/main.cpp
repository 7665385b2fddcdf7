#include <windows.h>

#include "app/command_line.h"
#include "app/self_test.h"
#include "engine/tool_def.h"
#include "ui/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    wchar_t report_path[kSelfTestPathCapacity];
    if (ParseSelfTestOption(GetCommandLineW(), report_path, kSelfTestPathCapacity)) {
        return RunSelfTest(report_path);
    }
    SetProcessDPIAware();
    return RunMainWindow(instance, &GetBuiltinTool());
}
