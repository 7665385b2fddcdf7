/* Reference for the window's whole-process time: a bare window of the
   program's size with as many controls of the same classes (six for the two
   parameters, the verdict line, the report box, two text lines, five buttons),
   shown, painted and closed like the program's window. DPI-aware like the
   program, so that at any DPI both draw in device pixels. */
#include <windows.h>

static LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

static void Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD ex,
                  int x, int y, int w, int h) {
    CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, NULL,
                    GetModuleHandleW(NULL), NULL);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command_line, int show) {
    (void)previous;
    (void)command_line;
    SetProcessDPIAware();
    WNDCLASSEXW wc = {sizeof wc};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"BareToolWnd";
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, L"BareToolWnd", L"bare", WS_OVERLAPPED | WS_CAPTION |
                                  WS_SYSMENU | WS_MINIMIZEBOX, 100, 100, 960, 640, NULL, NULL,
                                  instance, NULL);
    if (window == NULL) return 1;
    for (int i = 0; i < 2; ++i) {
        Child(window, L"STATIC", L"label", SS_RIGHT, 0, 20, 80 + 40 * i, 120, 24);
        Child(window, L"EDIT", L"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 150, 80 + 40 * i, 120, 24);
        Child(window, L"STATIC", L"unit", SS_LEFT, 0, 280, 80 + 40 * i, 60, 24);
    }
    Child(window, L"STATIC", L"verdict", SS_LEFT, 0, 360, 80, 560, 24);
    Child(window, L"EDIT", L"", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
          WS_EX_CLIENTEDGE, 360, 120, 560, 380);
    Child(window, L"STATIC", L"note", SS_LEFT, 0, 20, 520, 900, 24);
    Child(window, L"STATIC", L"reference", SS_LEFT, 0, 20, 550, 900, 24);
    for (int i = 0; i < 5; ++i)
        Child(window, L"BUTTON", L"button", BS_PUSHBUTTON, 0, 20 + 120 * i, 590, 110, 30);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
