#include "ui/main_window.h"

#include "engine/bounded_text.h"
#include "ui/child_controls.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/painting.h"
#include "ui/print_job_win32.h"
#include "ui/print_preview_win32.h"
#include "ui/window_fonts.h"
#include "ui/window_keys.h"
#include "ui/window_state.h"

namespace {

constexpr wchar_t kWindowClassName[] = L"TavoMedToolWnd";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The one window of the process and everything it shows, from RunMainWindow to
// process end. Only RunMainWindow names it; everything else is handed it.
WindowState g_window_state;

// ---- Start ------------------------------------------------------------------

// The DPI that the system draws this (system-aware) process at. GetDpiForSystem
// exists from Windows 10 on; older systems tell it through the screen's context.
int32_t SystemDpi() {
    using GetDpiForSystemFunction = UINT(WINAPI*)();
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 != nullptr ? GetProcAddress(user32, "GetDpiForSystem") : nullptr;
    if (found != nullptr) {
        const auto get_dpi =
            reinterpret_cast<GetDpiForSystemFunction>(reinterpret_cast<void (*)()>(found));
        return static_cast<int32_t>(get_dpi());
    }
    HDC screen = GetDC(nullptr);
    const int32_t dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi;
}

// The primary screen without its taskbar, where the window opens.
Box WorkArea() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {work.left, work.top, work.right - work.left, work.bottom - work.top};
}

FrameSize MainWindowFrame() {
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRect(&frame, kMainWindowStyle, FALSE);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Fonts and brushes live until the process ends; they are never deleted.
void CreateFontsAndBrushes(WindowState& state) {
    CreateWindowFonts(state.scale, state.fonts);
    state.whiteBrush = CreateSolidBrush(ToColorRef(kWhite));
    state.backgroundBrush = CreateSolidBrush(ToColorRef(kPageColour));
}

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
    Rgb colour = kDimmedTextColour;
    if (control == state.verdictLine) {
        colour = VerdictColour(state.level);
    } else if (control == state.reportBox || control == state.noteLine) {
        colour = kOrdinaryTextColour;
    }
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, ToColorRef(colour));
    return reinterpret_cast<LRESULT>(state.whiteBrush);
}

LRESULT OnEditColour(HDC context, HBRUSH white_brush) {
    SetTextColor(context, ToColorRef(kOrdinaryTextColour));
    SetBkColor(context, ToColorRef(kWhite));
    return reinterpret_cast<LRESULT>(white_brush);
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
                            state.fonts[kButtonFont], state.scale);
            return 1;
        case WM_COMMAND:
            if (RunCommand(state, LOWORD(wparam))) return 0;
            break;
        case WM_CTLCOLOREDIT:
            return OnEditColour(reinterpret_cast<HDC>(wparam), state.whiteBrush);
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(state, reinterpret_cast<HDC>(wparam),
                                  reinterpret_cast<HWND>(lparam));
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

int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool) {
    // The window holds 16 fields and values; a larger definition is refused
    // rather than shown in part.
    if (tool == nullptr || tool->param_count < 0 || tool->param_count > kMaxParams) return 1;
    WindowState& state = g_window_state;
    state.instance = instance;
    state.tool = tool;
    state.level = 0;
    ClearText(state.savedReport, kSavedReportCapacity);
    const Box work_area = WorkArea();
    const FrameSize frame = MainWindowFrame();
    state.scale = ChooseWindowScale(SystemDpi(), work_area, frame);
    state.placement = PlaceMainWindow(state.scale, work_area, frame);

    CreateFontsAndBrushes(state);
    RegisterMainWindowClass(state.instance, state.backgroundBrush);
    HWND window = CreateMainWindow(state);
    if (window == nullptr) return 1;
    state.mainWindow = window;

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    EnterFirstTabStop(window);
    // The focus mark shows once the keyboard is used (or always, where the
    // user has asked the system for keyboard cues): the system decides from
    // the input that opened the window.
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    return RunMessageLoop(state);
}
