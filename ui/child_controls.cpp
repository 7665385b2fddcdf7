#include "ui/child_controls.h"

#include "engine/bounded_text.h"
#include "ui/shell_text.h"

namespace {

// Tab visits the fields, the report box (so that a long rota can be scrolled
// and selected from the keyboard) and the buttons. Each of the three starts a
// group: the arrow keys move within the buttons, and the fields and the report
// box keep the arrows for their text.
constexpr DWORD kFirstOfGroup = WS_TABSTOP | WS_GROUP;

// One line, right-aligned, vertically centred; a record file's path is
// shortened in its middle, so that its file name stays.
constexpr DWORD kStatusLineStyle = SS_RIGHT | SS_CENTERIMAGE | SS_PATHELLIPSIS | SS_NOPREFIX;

// What creating a child control takes: its parent and the window's state (the
// instance, the fonts, the scale and the record of the controls).
struct ControlFactory {
    HWND parent;
    WindowState* state;
};

// Every control is created here and recorded with its design box, so that a
// new scale moves and sizes it; a full record leaves it at its first scale.
HWND CreateChild(const ControlFactory& factory, const wchar_t* class_name, const wchar_t* text,
                 DWORD style, DWORD ex_style, Box design_box, int32_t id) {
    WindowState& state = *factory.state;
    const Box box = Scaled(design_box, state.scale);
    HWND control =
        CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, box.x, box.y,
                        box.width, box.height, factory.parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), state.instance, nullptr);
    if (control != nullptr && state.childCount < kChildControlCapacity) {
        state.children[state.childCount++] = {control, design_box, kFontRoleCount};
    }
    return control;
}

// The control shows its text in the font of the role, now and at every scale.
void SetControlFont(const ControlFactory& factory, HWND control, FontRole role) {
    if (control == nullptr) return;
    WindowState& state = *factory.state;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.fonts[role]), TRUE);
    for (int32_t i = 0; i < state.childCount; ++i) {
        if (state.children[i].window == control) state.children[i].font = role;
    }
}

HWND CreateParamRow(const ControlFactory& factory, const ParamDef& param, int32_t index) {
    const ParamRowLayout row = ParamRow(index);
    SetControlFont(factory, CreateChild(factory, L"STATIC", param.label, SS_RIGHT, 0, row.label, 0),
                   kLabelFont);

    const DWORD tab_style = index == 0 ? kFirstOfGroup : WS_TABSTOP;
    HWND field = CreateChild(factory, L"EDIT", L"", ES_AUTOHSCROLL | tab_style, WS_EX_CLIENTEDGE,
                             row.field, ParamFieldId(index));
    SetControlFont(factory, field, kInputFont);
    wchar_t value_text[kDefaultValueTextCapacity];
    FormatDefaultValue(param.default_value, value_text, kDefaultValueTextCapacity);
    if (field != nullptr) SetWindowTextW(field, value_text);

    if (HasText(param.unit)) {
        SetControlFont(factory,
                       CreateChild(factory, L"STATIC", param.unit, SS_LEFT, 0, row.unit, 0),
                       kSmallFont);
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
        case ControlKind::kReportLabel:
            // Never shown: the title is painted, and this static only names the
            // report box to a screen reader.
            control = CreateChild(factory, L"STATIC", kResultPanelTitle, SS_LEFT, 0, layout.box,
                                  layout.id);
            if (control != nullptr) ShowWindow(control, SW_HIDE);
            break;
        case ControlKind::kReportBox:
            control = CreateChild(
                factory, L"EDIT", L"",
                ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL | kFirstOfGroup,
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
    SetControlFont(factory, control, layout.font);
}

}  // namespace

void CreateChildControls(WindowState& state, HWND window) {
    state.mainWindow = window;
    state.childCount = 0;
    const ControlFactory factory = {window, &state};
    for (int32_t i = 0; i < state.tool->param_count; ++i) {
        state.paramEdits[i] = CreateParamRow(factory, state.tool->params[i], i);
    }
    for (const ResultControlLayout& layout : kResultControls) {
        CreateResultControl(factory, state, layout);
        // A group of its own, so that the arrows on it stay off the report box.
        if (layout.kind == ControlKind::kReportBox) {
            CreateChild(factory, L"BUTTON", kPrintPreviewButton.caption,
                        BS_OWNERDRAW | kFirstOfGroup, 0, kPrintPreviewButton.box,
                        kPrintPreviewButton.id);
            CreateChild(factory, L"BUTTON", kMonthButton.caption, BS_OWNERDRAW | WS_TABSTOP, 0,
                        kMonthButton.box, kMonthButton.id);
        }
    }
    for (const ButtonLayout& button : kButtons) {
        const DWORD tab_style = &button == &kButtons[0] ? kFirstOfGroup : WS_TABSTOP;
        CreateChild(factory, L"BUTTON", button.caption, BS_OWNERDRAW | tab_style, 0, button.box,
                    button.id);
    }
    CopyText(state.statusText, kStatusTextCapacity, kReadyStatus);
    state.statusLine = CreateChild(factory, L"STATIC", state.statusText, kStatusLineStyle, 0,
                                   kStatusBox, IDC_STATUS_LINE);
    SetControlFont(factory, state.statusLine, kSmallFont);
}

void RescaleChildControls(const WindowState& state, const HFONT* fonts) {
    for (int32_t i = 0; i < state.childCount; ++i) {
        const ChildControl& child = state.children[i];
        if (child.font != kFontRoleCount) {
            SendMessageW(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[child.font]),
                         FALSE);
        }
        const Box box = Scaled(child.designBox, state.scale);
        SetWindowPos(child.window, nullptr, box.x, box.y, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
}

void ShowStatusText(const WindowState& state) {
    if (state.statusLine != nullptr) SetWindowTextW(state.statusLine, state.statusText);
}
