#include "ui/window_keys.h"

#include "ui/resource_ids.h"

namespace {

// The buttons that Enter presses; Enter anywhere else computes.
constexpr int kButtonsPressedByEnter[] = {IDC_PRINT_PREVIEW_BUTTON};

bool IsNavigationKey(const MSG& message) {
    if (message.message == WM_SYSKEYDOWN) return message.wParam == VK_MENU;
    if (message.message != WM_KEYDOWN) return false;
    switch (message.wParam) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            return true;
        default:
            return false;
    }
}

bool IsTabKey(const MSG& message) {
    return message.message == WM_KEYDOWN && message.wParam == VK_TAB;
}

bool IsReportBox(HWND control) {
    return control != nullptr && GetDlgCtrlID(control) == IDC_REPORT_BOX;
}

// A field entered from the keyboard has its whole text selected, so that
// typing replaces the value.
void SelectWholeText(HWND control) {
    if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

// The report box entered from the keyboard shows the report from its first
// line, the caret at its start and nothing selected: a long rota is read from
// its beginning, and Shift with the arrows still selects it. (The
// dialog manager selects a box's whole text, which scrolls to its end.)
void ShowFromStart(HWND report_box) {
    SendMessageW(report_box, EM_SETSEL, 0, 0);
    SendMessageW(report_box, EM_SCROLLCARET, 0, 0);
}

// The dialog manager's own answer for "no control yet" differs between
// systems: the first tab stop is found here.
HWND FirstTabStop(HWND main_window) {
    for (HWND child = GetWindow(main_window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if ((style & WS_TABSTOP) != 0 && (style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE)
            return child;
    }
    return nullptr;
}

}  // namespace

bool IsComputeShortcut(const MSG& message, HWND main_window) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_F5) return false;
    return IsChild(main_window, message.hwnd) != FALSE && !IsEnterOnOwnButton(message, main_window);
}

bool IsEnterOnOwnButton(const MSG& message, HWND main_window) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    if (IsChild(main_window, message.hwnd) == FALSE) return false;
    const int id = GetDlgCtrlID(message.hwnd);
    for (const int pressed : kButtonsPressedByEnter) {
        if (id == pressed) return true;
    }
    return false;
}

bool IsPrintShortcut(const MSG& message, HWND window) {
    if (message.message != WM_KEYDOWN || message.wParam != 'P') return false;
    return GetKeyState(VK_CONTROL) < 0 && IsChild(window, message.hwnd) != FALSE;
}

void DispatchWithDialogKeys(HWND main_window, MSG& message) {
    const bool aimed_here = message.hwnd == main_window || IsChild(main_window, message.hwnd);
    if (aimed_here && IsNavigationKey(message)) {
        SendMessageW(main_window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    HWND had_focus = GetFocus();
    if (aimed_here && IsDialogMessageW(main_window, &message)) {
        HWND focus = GetFocus();
        if (IsTabKey(message) && focus != had_focus && IsReportBox(focus)) ShowFromStart(focus);
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void EnterControl(HWND control) {
    if (control == nullptr) return;
    if (IsReportBox(control)) {
        ShowFromStart(control);
    } else {
        SelectWholeText(control);
    }
    SetFocus(control);
}

void MoveFocusToNextTabStop(HWND main_window, bool previous) {
    HWND focus = GetFocus();
    EnterControl(IsChild(main_window, focus)
                     ? GetNextDlgTabItem(main_window, focus, previous ? TRUE : FALSE)
                     : FirstTabStop(main_window));
}

void EnterFirstTabStop(HWND main_window) {
    EnterControl(FirstTabStop(main_window));
}

HWND ControlToFocus(HWND main_window, HWND had_focus) {
    if (had_focus != nullptr && IsChild(main_window, had_focus) && IsWindowEnabled(had_focus))
        return had_focus;
    return FirstTabStop(main_window);
}
