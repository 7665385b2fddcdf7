#include "ui/month/roster_dialog_win32.h"

#include "engine/bounded_text.h"
#include "month/roster_text.h"
#include "records/month_store.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/newer_windows.h"
#include "ui/shell_text.h"
#include "ui/window_dpi.h"
#include "ui/window_fonts.h"

namespace {

constexpr wchar_t kRosterTitle[] = L"名单";
constexpr wchar_t kWardLabel[] = L"科室";
constexpr wchar_t kNursesLabel[] = L"护士（每行一人）";
constexpr wchar_t kRosterHint[] =
    L"每行：姓名，可再加 Tab 和能级（N0～N4）、Tab 和“不排夜班”；"
    L"可从 Excel 或 WPS 粘贴一至三列。框内按 Ctrl+Tab 输入 Tab。";
constexpr wchar_t kOkCaption[] = L"确定";
constexpr wchar_t kCancelCaption[] = L"取消";
// The parser's text names the line ("第 2 行：…").
constexpr wchar_t kRosterLineErrorFormat[] = L"名单%ls\r\n\r\n请改正该行后再按“确定”。";
constexpr wchar_t kRosterTooLongFormat[] =
    L"名单过长：最多 %d 名护士，每行一人。\r\n\r\n请删去多余的行后再按“确定”。";
constexpr wchar_t kRosterSaveFailedFormat[] =
    L"名单未能保存到：\r\n%ls\r\n\r\n原有名单未改动。请检查该文件夹是否可写后重试。";

constexpr int32_t kRosterMessageCapacity = 512;
// Room for the longest roster the parser takes, with slack for blank lines
// and spaces; a longer text is refused as a whole, never read cut.
constexpr int32_t kNursesTextCapacity = 2 * kRosterTextCapacity;

// ---- Layout, at 96 DPI ----------------------------------------------------

constexpr DWORD kRosterDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr int32_t kClientWidth = 480;
constexpr int32_t kClientHeight = 440;

enum RosterControl : int32_t {
    kWardLabelControl,
    kWardField,
    kNursesLabelControl,
    kNursesBox,
    kHintLine,
    kOkButton,
    kCancelButton,
    kRosterControlCount,
};

constexpr int32_t kNoControlId = -1;
constexpr int32_t kWardFieldId = 100;
constexpr int32_t kNursesBoxId = 101;

constexpr wchar_t kStaticClass[] = L"STATIC";
constexpr wchar_t kEditClass[] = L"EDIT";  // framed by a client edge
constexpr wchar_t kButtonClass[] = L"BUTTON";

constexpr DWORD kLabelStyle = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kFieldLabelStyle = kLabelStyle | SS_CENTERIMAGE;
constexpr DWORD kFieldStyle = ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP;
// Scrolled, never wrapped: a line of the box is a line of the text.
constexpr DWORD kBoxStyle = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                            ES_NOHIDESEL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_GROUP;
constexpr DWORD kOkStyle = BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kCancelStyle = BS_PUSHBUTTON | WS_TABSTOP;

struct RosterControlDef {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    Box box;
    int32_t id;
    FontRole font;
};

// In tab order; each label comes just before its field, which names the field
// to a screen reader. The nurses box gives Tab to the dialog (it moves on) and
// takes Enter for its lines; Enter in the ward field presses 确定.
constexpr RosterControlDef kRosterControls[kRosterControlCount] = {
    {kStaticClass, kWardLabel, kFieldLabelStyle, {16, 14, 52, 27}, kNoControlId, kLabelFont},
    {kEditClass, L"", kFieldStyle, {72, 14, 392, 27}, kWardFieldId, kInputFont},
    {kStaticClass, kNursesLabel, kLabelStyle, {16, 54, 448, 22}, kNoControlId, kLabelFont},
    {kEditClass, L"", kBoxStyle, {16, 78, 448, 256}, kNursesBoxId, kInputFont},
    {kStaticClass, kRosterHint, kLabelStyle, {16, 342, 448, 40}, kNoControlId, kSmallFont},
    {kButtonClass, kOkCaption, kOkStyle, {264, 394, 96, 30}, IDOK, kButtonFont},
    {kButtonClass, kCancelCaption, kCancelStyle, {368, 394, 96, 30}, IDCANCEL, kButtonFont},
};

// An empty dialog in memory: its controls are created at the owner's scale.
struct alignas(4) RosterDialogTemplate {
    DLGTEMPLATE head;
    WORD menu;
    WORD windowClass;
    wchar_t title[3];
};
constexpr RosterDialogTemplate kRosterTemplate = {
    {kRosterDialogStyle, 0, 0, 0, 0, 0, 0}, 0, 0, {L'名', L'单', L'\0'}};

struct RosterDialog {
    HWND owner;
    HWND window;
    HighContrastSource contrast;
    WardRoster* roster;  // shown when it opens; replaced on a saved OK
    int32_t dpi;
    Scale scale;
    HFONT fonts[kFontRoleCount];
    Palette palette;
    HBRUSH panelBrush;
    HWND controls[kRosterControlCount];
    wchar_t text[kNursesTextCapacity];
};

// ---- Scale and colours ----------------------------------------------------

void DeleteFonts(HFONT* fonts) {
    for (int32_t role = 0; role < kFontRoleCount; ++role) {
        if (fonts[role] != nullptr) DeleteObject(fonts[role]);
        fonts[role] = nullptr;
    }
}

void ChoosePalette(RosterDialog& dialog) {
    dialog.palette = WindowPalette(HighContrastIsOn(dialog.contrast));
    if (dialog.panelBrush != nullptr) DeleteObject(dialog.panelBrush);
    dialog.panelBrush = CreateSolidBrush(ToColorRef(Paint(dialog.palette, kPanelPaint)));
}

// The DPI's own scale, lowered where the dialog would not fit the work area
// (a small screen at a large DPI), so that its buttons stay on the screen.
Scale FittingScale(int32_t dpi, Box work, FrameSize frame) {
    Scale scale = {dpi, 96};
    const Scale rooms[] = {{work.width - frame.width, kClientWidth},
                           {work.height - frame.height, kClientHeight}};
    for (const Scale room : rooms) {
        const bool smaller = int64_t{room.numerator} * scale.denominator <
                             int64_t{scale.numerator} * room.denominator;
        if (room.numerator > 0 && smaller) scale = room;
    }
    return scale;
}

// Every control at the scale for the DPI and the work area of the dialog's
// monitor, in its new font; the old fonts go once no control holds them.
void ScaleControls(RosterDialog& dialog, int32_t dpi, HWND on_monitor) {
    dialog.dpi = dpi;
    dialog.scale =
        FittingScale(dpi, MonitorWorkArea(on_monitor), FrameAtDpi(kRosterDialogStyle, dpi));
    HFONT old_fonts[kFontRoleCount];
    for (int32_t role = 0; role < kFontRoleCount; ++role)
        old_fonts[role] = dialog.fonts[role];
    CreateWindowFonts(dialog.scale, dialog.fonts);
    for (int32_t i = 0; i < kRosterControlCount; ++i) {
        const RosterControlDef& def = kRosterControls[i];
        const Box box = Scaled(def.box, dialog.scale);
        SendMessageW(dialog.controls[i], WM_SETFONT,
                     reinterpret_cast<WPARAM>(dialog.fonts[def.font]), FALSE);
        SetWindowPos(dialog.controls[i], nullptr, box.x, box.y, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    DeleteFonts(old_fonts);
}

// The dialog's outer size at its scale.
SIZE OuterSize(const RosterDialog& dialog) {
    const FrameSize frame = FrameAtDpi(kRosterDialogStyle, dialog.dpi);
    return {Scaled(kClientWidth, dialog.scale) + frame.width,
            Scaled(kClientHeight, dialog.scale) + frame.height};
}

// The dialog at its size with its top left at (x, y), moved where it would
// stick out of the work area of the monitor that on_monitor is on.
void PlaceInside(const RosterDialog& dialog, HWND on_monitor, int32_t x, int32_t y) {
    const auto [width, height] = OuterSize(dialog);
    const Box work = MonitorWorkArea(on_monitor);
    if (x + width > work.x + work.width) x = work.x + work.width - width;
    if (y + height > work.y + work.height) y = work.y + work.height - height;
    if (x < work.x) x = work.x;
    if (y < work.y) y = work.y;
    SetWindowPos(dialog.window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Centred on the owner (on its screen's work area without one).
void PlaceOverOwner(const RosterDialog& dialog) {
    const auto [width, height] = OuterSize(dialog);
    const Box work = MonitorWorkArea(dialog.owner);
    RECT owner = {work.x, work.y, work.x + work.width, work.y + work.height};
    if (dialog.owner != nullptr) GetWindowRect(dialog.owner, &owner);
    PlaceInside(dialog, dialog.owner, owner.left + (owner.right - owner.left - width) / 2,
                owner.top + (owner.bottom - owner.top - height) / 2);
}

// Moved to a monitor of another DPI: where the system suggests, the controls
// and fonts at the new scale.
void OnDpiChanged(RosterDialog& dialog, int32_t dpi, const RECT& suggested) {
    ScaleControls(dialog, dpi, dialog.window);
    PlaceInside(dialog, dialog.window, suggested.left, suggested.top);
    InvalidateRect(dialog.window, nullptr, TRUE);
}

INT_PTR ControlColours(const RosterDialog& dialog, HDC context, HWND control) {
    const bool hint = control == dialog.controls[kHintLine];
    SetTextColor(context,
                 ToColorRef(Paint(dialog.palette, hint ? kDimmedTextPaint : kOrdinaryTextPaint)));
    SetBkColor(context, ToColorRef(Paint(dialog.palette, kPanelPaint)));
    return reinterpret_cast<INT_PTR>(dialog.panelBrush);
}

// ---- Texts ----------------------------------------------------------------

void ShowRoster(const RosterDialog& dialog, const WardRoster& roster) {
    SetWindowTextW(dialog.controls[kWardField], roster.ward);
    wchar_t text[kRosterTextCapacity];
    if (FormatRosterText(roster.roster, text, kRosterTextCapacity) < 0) text[0] = L'\0';
    SetWindowTextW(dialog.controls[kNursesBox], text);
}

// The ward as one line: a tab or line break pasted into it would split the
// roster file's first line.
void ReadWard(const RosterDialog& dialog, wchar_t* ward) {
    GetWindowTextW(dialog.controls[kWardField], ward, kWardNameCapacity);
    for (wchar_t* c = ward; *c != L'\0'; ++c) {
        if (*c < L' ') *c = L' ';
    }
}

// The offsets of line (from 1) in the text, its line break left out.
void FindLine(const wchar_t* text, int32_t line, int32_t* start, int32_t* end) {
    int32_t at = 0;
    for (int32_t n = 1; n < line && text[at] != L'\0'; ++at) {
        if (text[at] == L'\n') ++n;
    }
    *start = at;
    while (text[at] != L'\0' && text[at] != L'\r' && text[at] != L'\n')
        ++at;
    *end = at;
}

void SelectNursesLine(const RosterDialog& dialog, int32_t line) {
    HWND box = dialog.controls[kNursesBox];
    int32_t start = 0;
    int32_t end = 0;
    FindLine(dialog.text, line, &start, &end);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(start), end);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

void ShowMessage(const RosterDialog& dialog, const wchar_t* text, const wchar_t* caption) {
    ShowBox(dialog.window, text, caption, MB_ICONWARNING);
}

// The whole text of the nurses box, or false (and a box) when it is longer
// than any roster.
bool ReadNursesText(RosterDialog& dialog) {
    HWND box = dialog.controls[kNursesBox];
    if (GetWindowTextLengthW(box) < kNursesTextCapacity) {
        GetWindowTextW(box, dialog.text, kNursesTextCapacity);
        return true;
    }
    wchar_t message[kRosterMessageCapacity];
    FormatText(message, kRosterMessageCapacity, kRosterTooLongFormat, kRosterMaxNurses);
    ShowMessage(dialog, message, kInputErrorCaption);
    SetFocus(box);
    return false;
}

// ---- Commands -------------------------------------------------------------

// Parsed whole and saved whole before the caller's roster changes: a bad line
// or a failed save leaves the dialog open and the roster file as it was.
void OnOk(RosterDialog& dialog) {
    if (!ReadNursesText(dialog)) return;
    WardRoster typed{};
    ReadWard(dialog, typed.ward);
    if (StartsAsAFormula(typed.ward, TextLength(typed.ward))) {
        wchar_t message[kRosterMessageCapacity];
        FormatText(message, kRosterMessageCapacity, L"科室“%ls”%ls", typed.ward, kFormulaStartText);
        ShowMessage(dialog, message, kInputErrorCaption);
        SetFocus(dialog.controls[kWardField]);
        return;
    }
    RosterError error{};
    if (!ParseRosterText(dialog.text, &typed.roster, &error)) {
        wchar_t message[kRosterMessageCapacity];
        FormatText(message, kRosterMessageCapacity, kRosterLineErrorFormat, error.text);
        ShowMessage(dialog, message, kInputErrorCaption);
        SelectNursesLine(dialog, error.line);
        return;
    }
    if (!WriteRosterFile(typed.ward, typed.roster)) {
        wchar_t path[MAX_PATH];
        if (!RosterFilePath(path, MAX_PATH)) CopyText(path, MAX_PATH, kRosterTitle);
        wchar_t message[kRosterMessageCapacity];
        FormatText(message, kRosterMessageCapacity, kRosterSaveFailedFormat, path);
        ShowMessage(dialog, message, kSaveFailedCaption);
        return;
    }
    *dialog.roster = typed;
    EndDialog(dialog.window, IDOK);
}

// Entered from the keyboard the nurses box would have all its lines selected,
// and the first key typed would replace them: the caret goes to the end.
void OnNursesBoxFocus(const RosterDialog& dialog) {
    HWND box = dialog.controls[kNursesBox];
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(box));
    if (length > 0 && start == 0 && end == length) SendMessageW(box, EM_SETSEL, length, length);
}

// Tab leaves the nurses box as it leaves every field, on every system; Ctrl+Tab
// types the tab that parts a name from its grade (a paste brings its own).
LRESULT CALLBACK NursesBoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto edit_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_USERDATA));
    const bool control_tab = wparam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
    if (message == WM_KEYDOWN && control_tab) {
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
        return 0;
    }
    if (message == WM_CHAR && control_tab) return 0;  // typed above
    return CallWindowProcW(edit_proc, box, message, wparam, lparam);
}

void OnCommand(RosterDialog& dialog, WPARAM wparam) {
    switch (LOWORD(wparam)) {
        case IDOK:
            OnOk(dialog);
            break;
        case IDCANCEL:
            EndDialog(dialog.window, IDCANCEL);
            break;
        case kNursesBoxId:
            if (HIWORD(wparam) == EN_SETFOCUS) OnNursesBoxFocus(dialog);
            break;
        default:
            break;
    }
}

// ---- Dialog ---------------------------------------------------------------

void CreateControls(RosterDialog& dialog) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (int32_t i = 0; i < kRosterControlCount; ++i) {
        const RosterControlDef& def = kRosterControls[i];
        const DWORD edge = def.className == kEditClass ? WS_EX_CLIENTEDGE : 0;
        dialog.controls[i] = CreateWindowExW(
            edge, def.className, def.text, WS_CHILD | WS_VISIBLE | def.style, 0, 0, 0, 0,
            dialog.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)), instance,
            nullptr);
    }
    SendMessageW(dialog.controls[kWardField], EM_SETLIMITTEXT, kWardNameMaxLength, 0);
    HWND box = dialog.controls[kNursesBox];
    SetWindowLongPtrW(box, GWLP_USERDATA, GetWindowLongPtrW(box, GWLP_WNDPROC));
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NursesBoxProc));
}

BOOL OnInitDialog(RosterDialog& dialog, HWND window) {
    dialog.window = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&dialog));
    ChoosePalette(dialog);
    CreateControls(dialog);
    ScaleControls(dialog, WindowDpi(dialog.owner, SystemDpi()), dialog.owner);
    PlaceOverOwner(dialog);
    ShowRoster(dialog, *dialog.roster);
    HWND ward = dialog.controls[kWardField];
    SendMessageW(ward, EM_SETSEL, 0, -1);
    SetFocus(ward);
    return FALSE;  // the focus is set
}

INT_PTR HandleRosterMessage(RosterDialog& dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(dialog, wparam);
            return TRUE;
        case WM_CTLCOLORDLG:
            return reinterpret_cast<INT_PTR>(dialog.panelBrush);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ControlColours(dialog, reinterpret_cast<HDC>(wparam),
                                  reinterpret_cast<HWND>(lparam));
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            ChoosePalette(dialog);
            InvalidateRect(dialog.window, nullptr, TRUE);
            return FALSE;
        case WM_DPICHANGED:
            OnDpiChanged(dialog, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            SetWindowLongPtrW(dialog.window, DWLP_MSGRESULT, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK RosterDialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog(*reinterpret_cast<RosterDialog*>(lparam), window);
    auto* dialog = reinterpret_cast<RosterDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    return HandleRosterMessage(*dialog, message, wparam, lparam);
}

}  // namespace

bool LoadWardRoster(WardRoster* roster) {
    if (ReadRosterFile(roster->ward, kWardNameCapacity, &roster->roster) == kRosterFileRead)
        return true;
    *roster = WardRoster{};
    return false;
}

bool RunRosterDialog(HWND owner, WardRoster* roster) {
    return RunRosterDialog(owner, HighContrastSource::kSystem, roster);
}

bool RunRosterDialog(HWND owner, HighContrastSource contrast, WardRoster* roster) {
    RosterDialog dialog{};
    dialog.owner = owner;
    dialog.contrast = contrast;
    dialog.roster = roster;
    const INT_PTR answer =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &kRosterTemplate.head, owner,
                                RosterDialogProc, reinterpret_cast<LPARAM>(&dialog));
    DeleteFonts(dialog.fonts);
    if (dialog.panelBrush != nullptr) DeleteObject(dialog.panelBrush);
    return answer == IDOK;
}
