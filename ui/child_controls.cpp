#include "ui/child_controls.h"

#include "engine/bounded_text.h"
#include "ui/shell_text.h"

namespace {

// Tab visits the fields, the report box (so that a long rota can be scrolled
// and selected from the keyboard) and the buttons. Each of the three starts a
// group: the arrow keys move within the buttons, and the fields and the report
// box keep the arrows for their text.
constexpr DWORD kFirstOfGroup = WS_TABSTOP | WS_GROUP;

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

    const DWORD tab_style = index == 0 ? kFirstOfGroup : WS_TABSTOP;
    HWND field = CreateChild(factory, L"EDIT", L"", ES_AUTOHSCROLL | tab_style, WS_EX_CLIENTEDGE,
                             row.field, ParamFieldId(index));
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
    SetControlFont(control, factory.fonts[layout.font]);
}

}  // namespace

void CreateChildControls(WindowState& state, HWND window) {
    state.mainWindow = window;
    const ControlFactory factory = {window, state.instance, state.fonts, state.scale};
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
        }
    }
    for (const ButtonLayout& button : kButtons) {
        const DWORD tab_style = &button == &kButtons[0] ? kFirstOfGroup : WS_TABSTOP;
        CreateChild(factory, L"BUTTON", button.caption, BS_OWNERDRAW | tab_style, 0, button.box,
                    button.id);
    }
    CopyText(state.statusText, kStatusTextCapacity, kReadyStatus);
}
