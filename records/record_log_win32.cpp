#include "records/record_log.h"

#include "ui/main_window.h"

void SaveRecord() {
    WindowState& state = GetWindowState();
    if (state.savedReport[0] == L'\0') {
        MessageBoxW(state.mainWindow, L"请先点击“计算”生成结果，再保存记录。", L"提示",
                    MB_OK | MB_ICONINFORMATION);
    }
}
