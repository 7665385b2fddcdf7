#include "ui/main_window.h"

#include "engine/bounded_text.h"
#include "ui/child_controls.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/painting.h"
#include "ui/print/print_job_win32.h"
#include "ui/print/print_preview_win32.h"
#include "ui/window_dpi.h"
#include "ui/window_fonts.h"
#include "ui/window_keys.h"
#include "ui/window_state.h"

namespace {

constexpr wchar_t kWindowClassName[] = L"TavoMedToolWnd";

// The one window of the process and everything it shows, from RunMainWindow to
// process end. Only RunMainWindow names it; everything else is handed it.
WindowState g_window_state;

// ---- Start ------------------------------------------------------------------

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

void RegisterMainWindowClass(HINSTANCE instance, HBRUSH background) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = 0;
    window_class.lpfnWndProc = MainWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = background;
    window_class.lpszClassName = kWindowClassName;
    RegisterClassExW(&window_class);
}

// The window is created at the outer size that WM_GETMINMAXINFO then holds it
// at. (The first WM_GETMINMAXINFO comes before the window has its state, so the
// size is given here rather than left to the platform's clamping.)
HWND CreateMainWindow(WindowState& state) {
    const WindowPlacement& place = state.placement;
    return CreateWindowExW(0, kWindowClassName, state.tool->name, kMainWindowStyle, place.x,
                           place.y, place.width, place.height, nullptr, nullptr, state.instance,
                           &state);
}

// ---- Commands -----------------------------------------------------------------

// Every command, from a button or from the keyboard, comes through here. While
// a save waits for the record file and shows its outcome, none runs: what the
// user sees when that outcome shows is the result that was saved.
bool RunCommand(WindowState& state, int32_t id) {
    if (state.saveWaiting) return id >= IDC_COMPUTE_BUTTON && id <= IDC_PRINT_COMMAND;
    switch (id) {
        case IDC_COMPUTE_BUTTON:
            ComputeCommand(state);
            return true;
        case IDC_SAVE_BUTTON:
            SaveRecordCommand(state);
            return true;
        case IDC_COPY_BUTTON:
            CopyCommand(state);
            return true;
        case IDC_RESET_BUTTON:
            ResetCommand(state);
            return true;
        case IDC_ABOUT_BUTTON:
            AboutCommand(state);
            return true;
        case IDC_PRINT_PREVIEW_BUTTON:
            PrintPreviewCommand(state);
            return true;
        case IDC_PRINT_COMMAND:
            PrintCommand(state, state.mainWindow);
            return true;
        default:
            return false;
    }
}

// ---- Window procedure ---------------------------------------------------------

void AttachWindowState(HWND window, const CREATESTRUCTW& creation) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
}

WindowState* AttachedWindowState(HWND window) {
    return reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT OnStaticColour(const WindowState& state, HDC context, HWND control) {
    const Palette& palette = state.palette;
    Rgb colour = Paint(palette, kDimmedTextPaint);
    HBRUSH background = state.panelBrush;
    if (control == state.verdictLine) {
        colour = VerdictPaint(palette, state.level);
    } else if (control == state.reportBox || control == state.noteLine) {
        colour = Paint(palette, kOrdinaryTextPaint);
    } else if (control == state.statusLine) {
        colour = Paint(palette, kStatusPaint);
        background = state.footerBrush;
    }
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, ToColorRef(colour));
    return reinterpret_cast<LRESULT>(background);
}

LRESULT OnEditColour(const WindowState& state, HDC context) {
    SetTextColor(context, ToColorRef(Paint(state.palette, kOrdinaryTextPaint)));
    SetBkColor(context, ToColorRef(Paint(state.palette, kPanelPaint)));
    return reinterpret_cast<LRESULT>(state.panelBrush);
}

// The palette for the user's contrast setting, and brushes of its panel and
// footer colours for the controls; the old brushes go once the new ones are
// the state's. False when nothing changed.
bool TakePalette(WindowState& state) {
    const Palette palette = WindowPalette(HighContrastIsOn(state.highContrastSource));
    if (state.panelBrush != nullptr && SamePalette(palette, state.palette)) return false;
    HBRUSH old_panel = state.panelBrush;
    HBRUSH old_footer = state.footerBrush;
    state.palette = palette;
    state.panelBrush = CreateSolidBrush(ToColorRef(Paint(palette, kPanelPaint)));
    state.footerBrush = CreateSolidBrush(ToColorRef(Paint(palette, kFooterPaint)));
    if (old_panel != nullptr) DeleteObject(old_panel);
    if (old_footer != nullptr) DeleteObject(old_footer);
    return true;
}

// High contrast turned on or off, or its colours changed: the whole window is
// painted again in the new colours at once.
void OnColoursChanged(WindowState& state, HWND window) {
    if (TakePalette(state)) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void OnSettingChange(WindowState& state, HWND window, WPARAM setting) {
    if (setting == SPI_SETWORKAREA) FitToWorkArea(state);
    if (setting == SPI_SETHIGHCONTRAST) OnColoursChanged(state, window);
}

// The window keeps the size it was created at.
void OnGetMinMaxInfo(MINMAXINFO* info, const WindowPlacement& placement) {
    info->ptMinTrackSize = {placement.width, placement.height};
    info->ptMaxTrackSize = {placement.width, placement.height};
}

// As in a dialog box, the focus never rests on the window itself: the control
// that had it when the window was deactivated (Alt+Tab, a message box) gets it
// back when the window receives it again.
void OnDeactivate(WindowState& state, HWND window) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus)) state.focusToRestore = focus;
}

LRESULT HandleMessage(WindowState& state, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            CreateChildControls(state, window);
            return 0;
        case WM_CLOSE:
            // The window stays until its waiting save has shown how it ended.
            if (state.saveWaiting) return 0;
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            PaintMainWindow(state, window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lparam), state.placement);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) OnDeactivate(state, window);
            break;
        case WM_SETFOCUS:
            SetFocus(ControlToFocus(window, state.focusToRestore));
            return 0;
        case WM_NEXTDLGCTL:
            if (LOWORD(lparam) == 0) MoveFocusToNextTabStop(window, wparam != 0);
            return 0;
        case WM_DRAWITEM:
            DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam),
                            state.fonts[kButtonFont], state.scale, state.palette);
            return 1;
        case WM_COMMAND:
            if (RunCommand(state, LOWORD(wparam))) return 0;
            break;
        case WM_CTLCOLOREDIT:
            return OnEditColour(state, reinterpret_cast<HDC>(wparam));
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(state, reinterpret_cast<HDC>(wparam),
                                  reinterpret_cast<HWND>(lparam));
        case WM_DPICHANGED:
            OnDpiChanged(state, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_DISPLAYCHANGE:
            FitToWorkArea(state);
            break;
        case WM_SETTINGCHANGE:
            OnSettingChange(state, window, wparam);
            break;
        case WM_SYSCOLORCHANGE:
            OnColoursChanged(state, window);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        AttachWindowState(window, *reinterpret_cast<const CREATESTRUCTW*>(lparam));
    }
    WindowState* state = AttachedWindowState(window);
    // Only the first WM_GETMINMAXINFO comes before WM_NCCREATE; the window's
    // creation gives its size itself.
    if (state == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    return HandleMessage(*state, window, message, wparam, lparam);
}

// ---- Message loop -------------------------------------------------------------

int32_t RunMessageLoop(WindowState& state) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsEnterOnOwnButton(message, state.mainWindow)) {
            SendMessageW(message.hwnd, BM_CLICK, 0, 0);
            continue;
        }
        if (IsComputeShortcut(message, state.mainWindow)) {
            RunCommand(state, IDC_COMPUTE_BUTTON);
            continue;
        }
        if (IsPrintShortcut(message, state.mainWindow)) {
            RunCommand(state, IDC_PRINT_COMMAND);
            continue;
        }
        DispatchWithDialogKeys(state.mainWindow, message);
    }
    return 0;
}

}  // namespace

HWND OpenMainWindow(WindowState& state, HINSTANCE instance, const ToolDef* tool) {
    // The window holds 16 fields and values; a larger definition is refused
    // rather than shown in part.
    if (tool == nullptr || tool->param_count < 0 || tool->param_count > kMaxParams) return nullptr;
    state.instance = instance;
    state.tool = tool;
    state.level = 0;
    ClearText(state.savedReport, kSavedReportCapacity);
    ChooseOpeningScale(state);
    CreateWindowFonts(state.scale, state.fonts);
    state.backgroundBrush = CreateSolidBrush(ToColorRef(kPageColour));
    TakePalette(state);
    RegisterMainWindowClass(state.instance, state.backgroundBrush);
    HWND window = CreateMainWindow(state);
    if (window == nullptr) return nullptr;
    state.mainWindow = window;
    MatchMonitorDpi(state);

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    EnterFirstTabStop(window);
    // The focus mark shows once the keyboard is used (or always, where the
    // user has asked the system for keyboard cues): the system decides from
    // the input that opened the window.
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    return window;
}

int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool) {
    if (OpenMainWindow(g_window_state, instance, tool) == nullptr) return 1;
    return RunMessageLoop(g_window_state);
}
