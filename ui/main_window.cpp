#include "ui/main_window.h"

#include "engine/bounded_text.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/shell_text.h"

namespace {

constexpr wchar_t kWindowClassName[] = L"TavoMedToolWnd";
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

WindowState g_state;

// Fonts and brushes live until the process ends; they are never deleted.
void CreateFontsAndBrushes(WindowState& state) {
    for (int32_t role = 0; role < FontRoleCount; ++role) {
        const FontDef& font = kFontDefs[role];
        state.fonts[role] = CreateFontW(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face);
    }
    state.whiteBrush = CreateSolidBrush(ToColorRef(kWhite));
    state.backgroundBrush = CreateSolidBrush(ToColorRef(kPageColour));
}

void RegisterMainWindowClass(const WindowState& state) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = 0;
    window_class.lpfnWndProc = MainWindowProc;
    window_class.hInstance = state.instance;
    window_class.hIcon = LoadIconW(state.instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = state.backgroundBrush;
    window_class.lpszClassName = kWindowClassName;
    RegisterClassExW(&window_class);
}

HWND CreateMainWindow(const WindowState& state) {
    RECT outer = {0, 0, kDesignClientWidth, kDesignClientHeight};
    AdjustWindowRect(&outer, kMainWindowStyle, FALSE);
    const int32_t width = outer.right - outer.left;
    const int32_t height = outer.bottom - outer.top;
    const int32_t x = CentredOrigin(GetSystemMetrics(SM_CXSCREEN), width);
    const int32_t y = CentredOrigin(GetSystemMetrics(SM_CYSCREEN), height);
    return CreateWindowExW(0, kWindowClassName, state.tool->name, kMainWindowStyle, x, y, width,
                           height, nullptr, nullptr, state.instance, nullptr);
}

HWND CreateChild(const wchar_t* class_name, const wchar_t* text, DWORD style, DWORD ex_style,
                 Box box, int32_t id) {
    const WindowState& state = GetWindowState();
    return CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, box.x, box.y,
                           box.width, box.height, state.mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), state.instance,
                           nullptr);
}

void SetControlFont(HWND control, FontRole role) {
    if (control == nullptr) return;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetWindowState().fonts[role]), TRUE);
}

void CreateParamRow(WindowState& state, int32_t index) {
    const ParamDef& param = state.tool->params[index];
    const ParamRowLayout row = ParamRow(index);
    SetControlFont(CreateChild(L"STATIC", param.label, SS_RIGHT, 0, row.label, 0), LabelFont);

    HWND field =
        CreateChild(L"EDIT", L"", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, row.field, ParamFieldId(index));
    SetControlFont(field, InputFont);
    wchar_t value_text[kDefaultValueTextCapacity];
    FormatDefaultValue(param.default_value, value_text, kDefaultValueTextCapacity);
    if (field != nullptr) SetWindowTextW(field, value_text);
    state.paramEdits[index] = field;

    if (param.unit != nullptr && param.unit[0] != L'\0') {
        SetControlFont(CreateChild(L"STATIC", param.unit, SS_LEFT, 0, row.unit, 0), SmallFont);
    }
}

void CreateResultControl(WindowState& state, const ResultControlLayout& layout) {
    HWND control = nullptr;
    switch (layout.kind) {
        case ControlKind::VerdictLine:
            control = CreateChild(L"STATIC", kVerdictPrompt, SS_LEFT, 0, layout.box, layout.id);
            state.verdictLine = control;
            break;
        case ControlKind::ReportBox:
            control =
                CreateChild(L"EDIT", L"", ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL,
                            WS_EX_CLIENTEDGE, layout.box, layout.id);
            state.reportBox = control;
            break;
        case ControlKind::NoteLine:
            control = CreateChild(L"STATIC", state.tool->note != nullptr ? state.tool->note : L"",
                                  SS_LEFT, 0, layout.box, layout.id);
            state.noteLine = control;
            break;
        case ControlKind::ReferenceLine: {
            wchar_t reference[kReferenceLineCapacity];
            BuildReferenceLine(*state.tool, reference, kReferenceLineCapacity);
            control = CreateChild(L"STATIC", reference, SS_LEFT, 0, layout.box, layout.id);
            break;
        }
        default:
            return;
    }
    SetControlFont(control, layout.font);
}

// Enter or F5 pressed in any control of the window computes; the main window's
// own key-downs pass on unchanged.
bool IsComputeShortcut(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_F5) return false;
    return IsChild(GetWindowState().mainWindow, message.hwnd) != FALSE;
}

int32_t RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsComputeShortcut(message)) {
            ComputeCommand();
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

WindowState& GetWindowState() {
    return g_state;
}

void CreateChildControls(HWND window) {
    WindowState& state = GetWindowState();
    state.mainWindow = window;
    for (int32_t i = 0; i < state.tool->param_count; ++i)
        CreateParamRow(state, i);
    for (const ResultControlLayout& layout : kResultControls)
        CreateResultControl(state, layout);
    for (const ButtonLayout& button : kButtons) {
        CreateChild(L"BUTTON", button.caption, BS_OWNERDRAW, 0, button.box, button.id);
    }
    CopyText(state.statusText, kStatusTextCapacity, kReadyStatus);
}

int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool) {
    // The window holds 16 fields and values; a larger definition is refused
    // rather than shown in part.
    if (tool == nullptr || tool->param_count < 0 || tool->param_count > kMaxParams) return 1;
    WindowState& state = GetWindowState();
    state.instance = instance;
    state.tool = tool;
    state.level = 0;
    ClearText(state.savedReport, kSavedReportCapacity);

    CreateFontsAndBrushes(state);
    RegisterMainWindowClass(state);
    HWND window = CreateMainWindow(state);
    if (window == nullptr) return 1;
    state.mainWindow = window;

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetFocus(tool->param_count > 0 ? state.paramEdits[0] : nullptr);
    return RunMessageLoop();
}
