/* Times a window program from start to its first paint and its close, the
   same way for every program: starts it, waits until its message loop first
   waits for input (the window is shown and painted by then), asks its window
   to close and waits for the process to end. Exits with the program's code.
   With a second argument "print" it first computes, asks for the print
   command (which loads the printing DLLs) and closes the box that answers
   (the test prefix has no printer). */
#include <windows.h>

static DWORD g_process_id;
static HWND g_window;

static BOOL CALLBACK FindProcessWindow(HWND window, LPARAM unused) {
    (void)unused;
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    if (process_id == g_process_id && IsWindowVisible(window)) {
        g_window = window;
        return FALSE;
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 10;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessW(argv[1], NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 11;
    if (WaitForInputIdle(process.hProcess, 20000) != 0) return 12;
    g_process_id = process.dwProcessId;
    for (int tries = 0; g_window == NULL && tries < 2000; ++tries) {
        EnumWindows(FindProcessWindow, 0);
        if (g_window == NULL) Sleep(1);
    }
    if (g_window == NULL) return 13;
    if (argc > 2 && lstrcmpW(argv[2], L"print") == 0) {
        PostMessageW(GetDlgItem(g_window, 2000), WM_KEYDOWN, VK_F5, 0);
        PostMessageW(g_window, WM_COMMAND, 1007, 0);
        HWND box = NULL;
        for (int tries = 0; box == NULL && tries < 10000; ++tries) {
            while ((box = FindWindowExW(NULL, box, L"#32770", NULL)) != NULL &&
                   GetWindow(box, GW_OWNER) != g_window) {
            }
            if (box == NULL) Sleep(1);
        }
        if (box == NULL) return 16;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    PostMessageW(g_window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) return 14;
    DWORD code = 15;
    GetExitCodeProcess(process.hProcess, &code);
    return (int)code;
}
