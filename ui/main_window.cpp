#include "ui/main_window.h"

#include "engine/bounded_text.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/shell_text.h"

namespace {

constexpr wchar_t kWindowClassName[] = L"TavoMedToolWnd";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The one window of the process and everything it shows, from RunMainWindow to
// process end. Only RunMainWindow names it; everything else is handed it.
WindowState g_window_state;

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
    for (int32_t role = 0; role < kFontRoleCount; ++role) {
        const FontDef& font = kFontDefs[role];
        const int32_t height = Scaled(font.height, state.scale);
        state.fonts[role] = CreateFontW(-height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face);
    }
    state.whiteBrush = CreateSolidBrush(ToColorRef(kWhite));
    state.backgroundBrush = CreateSolidBrush(ToColorRef(kPageColour));
}

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

// What creating a child control takes: its parent, the instance, the fonts and
// the scale of its design box.
struct ControlFactory {
    HWND parent;
    HINSTANCE instance;
    const HFONT* fonts;
    Scale scale;
};

HWND CreateChild(const ControlFactory& factory, const wchar_t* class_name, const wchar_t* text,
                 DWORD style, DWORD ex_style, Box design_box, int32_t id) {
    const Box box = Scaled(design_box, factory.scale);
    return CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, box.x, box.y,
                           box.width, box.height, factory.parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), factory.instance,
                           nullptr);
}

void SetControlFont(HWND control, HFONT font) {
    if (control == nullptr) return;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HWND CreateParamRow(const ControlFactory& factory, const ParamDef& param, int32_t index) {
    const ParamRowLayout row = ParamRow(index);
    SetControlFont(CreateChild(factory, L"STATIC", param.label, SS_RIGHT, 0, row.label, 0),
                   factory.fonts[kLabelFont]);

    HWND field = CreateChild(factory, L"EDIT", L"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, row.field,
                             ParamFieldId(index));
    SetControlFont(field, factory.fonts[kInputFont]);
    wchar_t value_text[kDefaultValueTextCapacity];
    FormatDefaultValue(param.default_value, value_text, kDefaultValueTextCapacity);
    if (field != nullptr) SetWindowTextW(field, value_text);

    if (HasText(param.unit)) {
        SetControlFont(CreateChild(factory, L"STATIC", param.unit, SS_LEFT, 0, row.unit, 0),
                       factory.fonts[kSmallFont]);
    }
    return field;
}

void CreateResultControl(const ControlFactory& factory, WindowState& state,
                         const ResultControlLayout& layout) {
    HWND control = nullptr;
    switch (layout.kind) {
        case ControlKind::kVerdictLine:
            control =
                CreateChild(factory, L"STATIC", kVerdictPrompt, SS_LEFT, 0, layout.box, layout.id);
            state.verdictLine = control;
            break;
        case ControlKind::kReportBox:
            control = CreateChild(factory, L"EDIT", L"",
                                  ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
                                  WS_EX_CLIENTEDGE, layout.box, layout.id);
            state.reportBox = control;
            break;
        case ControlKind::kNoteLine:
            control = CreateChild(factory, L"STATIC", OrEmpty(state.tool->note), SS_LEFT, 0,
                                  layout.box, layout.id);
            state.noteLine = control;
            break;
        case ControlKind::kReferenceLine: {
            wchar_t reference[kReferenceLineCapacity];
            BuildReferenceLine(*state.tool, reference, kReferenceLineCapacity);
            control = CreateChild(factory, L"STATIC", reference, SS_LEFT, 0, layout.box, layout.id);
            break;
        }
    }
    SetControlFont(control, factory.fonts[layout.font]);
}

// Enter or F5 pressed in any control of the window computes; the main window's
// own key-downs pass on unchanged.
bool IsComputeShortcut(const MSG& message, HWND main_window) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_F5) return false;
    return IsChild(main_window, message.hwnd) != FALSE;
}

int32_t RunMessageLoop(WindowState& state) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsComputeShortcut(message, state.mainWindow)) {
            ComputeCommand(state);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

void AttachWindowState(HWND window, const CREATESTRUCTW& creation) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
}

WindowState* AttachedWindowState(HWND window) {
    return reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void CreateChildControls(WindowState& state, HWND window) {
    state.mainWindow = window;
    const ControlFactory factory = {window, state.instance, state.fonts, state.scale};
    for (int32_t i = 0; i < state.tool->param_count; ++i) {
        state.paramEdits[i] = CreateParamRow(factory, state.tool->params[i], i);
    }
    for (const ResultControlLayout& layout : kResultControls)
        CreateResultControl(factory, state, layout);
    for (const ButtonLayout& button : kButtons) {
        CreateChild(factory, L"BUTTON", button.caption, BS_OWNERDRAW, 0, button.box, button.id);
    }
    CopyText(state.statusText, kStatusTextCapacity, kReadyStatus);
}

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
    SetFocus(tool->param_count > 0 ? state.paramEdits[0] : nullptr);
    return RunMessageLoop(state);
}
