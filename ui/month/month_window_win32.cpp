#include "ui/month/month_window_win32.h"

#include <commctrl.h>

#include <cwchar>

#include "engine/bounded_text.h"
#include "generators/nursing_rota.h"
#include "platform/local_date.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/month/month_commands_win32.h"
#include "ui/month/month_window_state.h"
#include "ui/month/roster_dialog_win32.h"
#include "ui/newer_windows.h"
#include "ui/painting.h"
#include "ui/palette_win32.h"
#include "ui/shell_text.h"
#include "ui/window_dpi.h"
#include "ui/window_fonts.h"
#include "ui/window_keys.h"
#include "ui/window_user_data.h"

namespace {

constexpr wchar_t kMonthClassName[] = L"TavoMedMonthWindow";
constexpr DWORD kMonthStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// The month window and its month, history and scratch: about a megabyte,
// from the first month window to process end. Only the openers below name it.
MonthWindowState g_month_window;

// ---- Layout, at 96 DPI -----------------------------------------------------------

struct MonthButtonDef {
    const wchar_t* caption;
    int32_t width;
    int32_t id;
};

// Left to right on the command row; the holiday button stands on the second.
constexpr MonthButtonDef kMonthButtons[kMonthButtonCount] = {
    {L"名单", 64, kRosterCommand},         {L"打开 (Ctrl+O)", 112, kOpenCommand},
    {L"保存 (Ctrl+S)", 112, kSaveCommand}, {L"另存为", 76, kSaveAsCommand},
    {L"打印预览", 84, kPreviewCommand},    {L"打印 (Ctrl+P)", 112, kPrintCommand},
    {L"复制 (Ctrl+C)", 112, kCopyCommand}, {L"按规则排班 (F9)", 136, kArrangeCommand},
    {L"关闭 (Esc)", 96, kCloseCommand},    {L"节假日 (Ctrl+H)", 132, kHolidayCommand},
};

constexpr int32_t kMargin = 8;
constexpr int32_t kGap = 8;
constexpr int32_t kCommandRowTop = 8;
constexpr int32_t kButtonHeight = 30;
constexpr int32_t kFieldRowTop = 46;
constexpr int32_t kLimitRowTop = 80;
constexpr int32_t kFieldHeight = 26;
constexpr int32_t kGridTop = 116;
constexpr int32_t kListHeight = 112;
constexpr int32_t kSummaryPartWidth = 260;
constexpr int32_t kFilePartWidth = 420;

constexpr Box kWardLabelBox = {8, kFieldRowTop, 40, kFieldHeight};
constexpr Box kWardEditBox = {52, kFieldRowTop, 180, kFieldHeight};
constexpr Box kDateLabelBox = {244, kFieldRowTop, 64, kFieldHeight};
constexpr Box kDatePickerBox = {312, kFieldRowTop, 140, kFieldHeight};
constexpr Box kHolidayButtonBox = {464, kFieldRowTop - 2, 132, kButtonHeight};
constexpr int32_t kLimitPitch = 172;
constexpr Box kLimitLabelInRow = {8, kLimitRowTop, 100, kFieldHeight};
constexpr Box kLimitEditInRow = {112, kLimitRowTop, 48, kFieldHeight};

constexpr wchar_t kWardLabel[] = L"科室";
constexpr wchar_t kDateLabel[] = L"起始日期";
constexpr wchar_t kKeysHint[] =
    L"D/N/R/J 或 白/夜/休/假 设置班次  Delete 恢复  F2 改姓名  "
    L"Ctrl+Z 撤销  Ctrl+Y 重做";
constexpr wchar_t kNoBreachItem[] = L"没有违规";
constexpr wchar_t kBreachListName[] = L"违规与提醒";

Box MovedRight(Box box, int32_t dx) {
    return {box.x + dx, box.y, box.width, box.height};
}

// ---- Controls ----------------------------------------------------------------------

HWND CreateControl(MonthWindowState& s, const wchar_t* class_name, const wchar_t* text, DWORD style,
                   DWORD ex_style, int32_t id, FontRole font) {
    HWND control =
        CreateWindowExW(ex_style, class_name, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                        s.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        s.main->instance, id == kGridId ? &s : nullptr);
    if (control != nullptr && font != kFontRoleCount) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(s.fonts[font]), FALSE);
    }
    return control;
}

// Tab visits the grid, the breach list, the commands and then the fields, in
// creation order.
void CreateMonthControls(MonthWindowState& s) {
    s.grid =
        CreateControl(s, kMonthGridClassName, L"", WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_HSCROLL,
                      WS_EX_CLIENTEDGE, kGridId, kFontRoleCount);
    // Never shown: it names the breach list for a screen reader, as the
    // list's own text does where the reader takes that.
    HWND list_name = CreateControl(s, L"STATIC", kBreachListName, 0, 0, 0, kFontRoleCount);
    ShowWindow(list_name, SW_HIDE);
    s.breachList =
        CreateControl(s, L"LISTBOX", kBreachListName,
                      WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      WS_EX_CLIENTEDGE, kBreachListId, kLabelFont);
    for (int32_t i = 0; i < kMonthButtonCount; ++i) {
        const DWORD group = i == 0 || i == kMonthButtonCount - 1 ? WS_GROUP : 0;
        s.buttons[i] =
            CreateControl(s, L"BUTTON", kMonthButtons[i].caption, BS_OWNERDRAW | WS_TABSTOP | group,
                          0, kMonthButtons[i].id, kFontRoleCount);
    }
    // A screen reader names each field by the static created just before it.
    s.labels[0] = CreateControl(s, L"STATIC", kWardLabel, SS_CENTERIMAGE, 0, 0, kLabelFont);
    s.wardEdit = CreateControl(s, L"EDIT", L"", WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL,
                               WS_EX_CLIENTEDGE, kWardEditId, kInputFont);
    SendMessageW(s.wardEdit, EM_LIMITTEXT, kWardNameMaxLength, 0);
    s.labels[1] = CreateControl(s, L"STATIC", kDateLabel, SS_CENTERIMAGE, 0, 0, kLabelFont);
    s.firstDate =
        CreateControl(s, DATETIMEPICK_CLASSW, L"", WS_TABSTOP | WS_GROUP | DTS_SHORTDATEFORMAT, 0,
                      kFirstDateId, kInputFont);
    for (int32_t f = 0; f < kMonthLimitFieldCount; ++f) {
        s.labels[2 + f] = CreateControl(s, L"STATIC", kMonthLimitDefs[f].label,
                                        SS_CENTERIMAGE | SS_RIGHT, 0, 0, kLabelFont);
        s.limitEdits[f] = CreateControl(s, L"EDIT", L"", WS_TABSTOP | WS_GROUP | ES_NUMBER,
                                        WS_EX_CLIENTEDGE, kFirstLimitEditId + f, kInputFont);
        SendMessageW(s.limitEdits[f], EM_LIMITTEXT, 3, 0);
    }
    s.statusBar =
        CreateControl(s, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, 0, kStatusBarId, kSmallFont);
}

void Place(HWND control, Box box) {
    SetWindowPos(control, nullptr, box.x, box.y, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The bar takes its height from its font and its width from the window.
void LayOutStatusBar(const MonthWindowState& s) {
    SendMessageW(s.statusBar, WM_SIZE, 0, 0);
    const int parts[3] = {Scaled(kSummaryPartWidth, s.scale),
                          Scaled(kSummaryPartWidth + kFilePartWidth, s.scale), -1};
    SendMessageW(s.statusBar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

void LayOutMonthWindow(MonthWindowState& s) {
    RECT client{};
    GetClientRect(s.window, &client);
    const Scale scale = s.scale;
    int32_t x = kMargin;
    for (int32_t i = 0; i + 1 < kMonthButtonCount; ++i) {
        Place(s.buttons[i],
              Scaled(Box{x, kCommandRowTop, kMonthButtons[i].width, kButtonHeight}, scale));
        x += kMonthButtons[i].width + kGap;
    }
    Place(s.buttons[kMonthButtonCount - 1], Scaled(kHolidayButtonBox, scale));
    Place(s.labels[0], Scaled(kWardLabelBox, scale));
    Place(s.wardEdit, Scaled(kWardEditBox, scale));
    Place(s.labels[1], Scaled(kDateLabelBox, scale));
    Place(s.firstDate, Scaled(kDatePickerBox, scale));
    for (int32_t f = 0; f < kMonthLimitFieldCount; ++f) {
        Place(s.labels[2 + f], Scaled(MovedRight(kLimitLabelInRow, f * kLimitPitch), scale));
        Place(s.limitEdits[f], Scaled(MovedRight(kLimitEditInRow, f * kLimitPitch), scale));
    }
    LayOutStatusBar(s);
    RECT status{};
    GetWindowRect(s.statusBar, &status);
    const int32_t status_height = status.bottom - status.top;
    const int32_t margin = Scaled(kMargin, scale);
    const int32_t list_height = Scaled(kListHeight, scale);
    const int32_t grid_top = Scaled(kGridTop, scale);
    const int32_t list_top = client.bottom - status_height - margin - list_height;
    int32_t grid_height = list_top - margin - grid_top;
    if (grid_height < 0) grid_height = 0;
    Place(s.grid, {margin, grid_top, client.right - 2 * margin, grid_height});
    Place(s.breachList, {margin, list_top, client.right - 2 * margin, list_height});
}

// ---- Showing the month -------------------------------------------------------------

void ShowText(HWND control, const wchar_t* text) {
    wchar_t shown[kMonthWindowTitleCapacity];
    ClearText(shown, kMonthWindowTitleCapacity);
    GetWindowTextW(control, shown, kMonthWindowTitleCapacity);
    if (TextLength(shown) != TextLength(text) || wcscmp(shown, text) != 0)
        SetWindowTextW(control, text);
}

void ShowFields(const MonthWindowState& s) {
    ShowText(s.wardEdit, s.month.ward);
    for (int32_t f = 0; f < kMonthLimitFieldCount; ++f) {
        wchar_t value[16];
        FormatText(value, 16, L"%d", LimitValue(s.month.limits, static_cast<MonthLimitField>(f)));
        ShowText(s.limitEdits[f], value);
    }
    SYSTEMTIME first{};
    first.wYear = static_cast<WORD>(s.month.first.year);
    first.wMonth = static_cast<WORD>(s.month.first.month);
    first.wDay = static_cast<WORD>(s.month.first.day);
    SendMessageW(s.firstDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&first));
}

void ShowBreachList(const MonthWindowState& s) {
    HWND list = s.breachList;
    const LRESULT selected = SendMessageW(list, LB_GETCURSEL, 0, 0);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (int32_t i = 0; i < s.check.breachCount; ++i) {
        const MonthBreach& breach = s.check.breach[i];
        wchar_t text[kBreachTextCapacity + 8];
        // A reminder's words begin with 提醒 already.
        CopyText(text, kBreachTextCapacity + 8, IsHardRule(breach.rule) ? L"违规  " : L"");
        wchar_t words[kBreachTextCapacity];
        FormatBreach(s.month, breach, words, kBreachTextCapacity);
        AppendText(text, kBreachTextCapacity + 8, words);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    if (s.check.breachCount == 0)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoBreachItem));
    if (selected >= 0) SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

bool HasUnsavedChanges(const MonthWindowState& s) {
    return !SameMonth(s.month, s.saved);
}

void ShowStatus(const MonthWindowState& s) {
    wchar_t summary[kStatusTextCapacity];
    FormatBreachSummary(s.check, summary, kStatusTextCapacity);
    SendMessageW(s.statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(summary));
    wchar_t file[kMonthPathCapacity + 16];
    CopyText(file, kMonthPathCapacity + 16, HasText(s.path) ? s.path : L"尚未保存");
    if (HasText(s.path) && HasUnsavedChanges(s))
        AppendText(file, kMonthPathCapacity + 16, L"（有未保存的修改）");
    SendMessageW(s.statusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(file));
    SendMessageW(s.statusBar, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(kKeysHint));
    wchar_t title[kMonthWindowTitleCapacity];
    BuildMonthWindowTitle(s.month, s.path, title, kMonthWindowTitleCapacity);
    if (HasUnsavedChanges(s)) AppendText(title, kMonthWindowTitleCapacity, L" *");
    ShowText(s.window, title);
}

// ---- Keys ----------------------------------------------------------------------------

bool IsEdit(const MonthWindowState& s, HWND control) {
    if (control == nullptr) return false;
    if (control == s.wardEdit || control == s.nameEdit) return true;
    for (HWND edit : s.limitEdits) {
        if (control == edit) return true;
    }
    return false;
}

void GoToBreach(MonthWindowState& s) {
    const LRESULT index = SendMessageW(s.breachList, LB_GETCURSEL, 0, 0);
    if (index < 0 || index >= s.check.breachCount) return;
    const MonthBreach& breach = s.check.breach[index];
    const int32_t nurse = breach.nurse >= 0 ? breach.nurse : s.nurse;
    const int32_t day = breach.rule == kRuleNightSpread ? s.column : breach.first;
    SetFocus(s.grid);
    MoveCurrentCell(s, nurse, day < 0 ? 0 : day);
}

bool OnEnter(MonthWindowState& s, HWND focus) {
    if (focus == s.nameEdit) {
        EndNameEdit(s, true);
        SetFocus(s.grid);
    } else if (focus == s.breachList) {
        GoToBreach(s);
    } else if (IsEdit(s, focus)) {
        TakeFields(s);
    } else if (focus == s.grid) {
        MoveCurrentCell(s, s.nurse + 1, s.column);
    } else if (IsChild(s.window, focus) && GetDlgCtrlID(focus) >= kRosterCommand &&
               GetDlgCtrlID(focus) <= kHolidayCommand) {
        SendMessageW(focus, BM_CLICK, 0, 0);
    } else {
        return false;
    }
    return true;
}

// Ctrl with a letter; in a field, Ctrl+C, Ctrl+Z and Ctrl+Y stay the field's.
int32_t ControlShortcut(WPARAM key, bool in_edit) {
    switch (key) {
        case 'O':
            return kOpenCommand;
        case 'S':
            return kSaveCommand;
        case 'P':
            return kPrintCommand;
        case 'H':
            return kHolidayCommand;
        case 'C':
            return in_edit ? 0 : kCopyCommand;
        case 'Z':
            return in_edit ? 0 : kUndoCommand;
        case 'Y':
            return in_edit ? 0 : kRedoCommand;
        default:
            return 0;
    }
}

// The window's keys, before the dialog keys: the commands' shortcuts, Esc,
// Enter on the list, a field, the name being edited or a button.
bool HandleMonthKey(MonthWindowState& s, const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.hwnd != s.window && !IsChild(s.window, message.hwnd)) return false;
    HWND focus = GetFocus();
    if (message.wParam == VK_ESCAPE) {
        if (focus == s.nameEdit) {
            EndNameEdit(s, false);
        } else {
            CloseMonthWindow(s);
        }
        return true;
    }
    if (message.wParam == VK_RETURN) return OnEnter(s, focus);
    if (message.wParam == VK_F9) return RunMonthCommand(s, kArrangeCommand);
    if (GetKeyState(VK_CONTROL) >= 0) return false;
    const int32_t id = ControlShortcut(message.wParam, IsEdit(s, focus));
    return id != 0 && RunMonthCommand(s, id);
}

// ---- Window procedure ----------------------------------------------------------

// The palette for the user's contrast setting and the brushes of its page
// and panel colours; the old brushes go once the new ones are the state's.
void TakeMonthPalette(MonthWindowState& s) {
    s.palette = WindowPalette(HighContrastIsOn(s.main->highContrastSource));
    HBRUSH old_page = s.pageBrush;
    HBRUSH old_panel = s.panelBrush;
    s.pageBrush = CreateSolidBrush(ToColorRef(Paint(s.palette, kPagePaint)));
    s.panelBrush = CreateSolidBrush(ToColorRef(Paint(s.palette, kPanelPaint)));
    if (old_page != nullptr) DeleteObject(old_page);
    if (old_panel != nullptr) DeleteObject(old_panel);
}

void OnColoursChanged(MonthWindowState& s) {
    TakeMonthPalette(s);
    RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SetControlFonts(const MonthWindowState& s) {
    for (HWND child = GetWindow(s.window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int32_t id = GetDlgCtrlID(child);
        FontRole role = kLabelFont;
        if (id == kWardEditId || id == kFirstDateId ||
            (id >= kFirstLimitEditId && id < kNameEditId))
            role = kInputFont;
        if (id == kStatusBarId) role = kSmallFont;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(s.fonts[role]), FALSE);
    }
}

// A new DPI: new fonts for every control, then the suggested place.
void OnDpiChanged(MonthWindowState& s, int32_t dpi, const RECT& suggested) {
    HFONT old_fonts[kFontRoleCount];
    for (int32_t role = 0; role < kFontRoleCount; ++role)
        old_fonts[role] = s.fonts[role];
    s.dpi = dpi;
    s.scale = {dpi, 96};
    CreateWindowFonts(s.scale, s.fonts);
    SetControlFonts(s);
    for (HFONT font : old_fonts)
        DeleteObject(font);
    SetWindowPos(s.window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOutMonthWindow(s);
    ShowMonth(s);
    RedrawWindow(s.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OnNotify(MonthWindowState& s, const NMHDR& header) {
    if (header.idFrom != kFirstDateId || header.code != DTN_DATETIMECHANGE) return;
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    if (change.dwFlags != GDT_VALID) return;
    const MonthDate first = {change.st.wYear, change.st.wMonth, change.st.wDay};
    // A date the month cannot start on (before 1900): the picker shows the
    // month's own again.
    if (!IsValidMonthDate(first)) {
        ShowFields(s);
        return;
    }
    s.change = s.month;
    s.change.first = first;
    CommitMonthChange(s);
}

void OnCommand(MonthWindowState& s, WPARAM wparam) {
    const int32_t id = LOWORD(wparam);
    const int32_t code = HIWORD(wparam);
    if (id == kBreachListId) {
        if (code == LBN_DBLCLK) GoToBreach(s);
        return;
    }
    if (code == EN_KILLFOCUS &&
        (id == kWardEditId || (id >= kFirstLimitEditId && id < kNameEditId))) {
        TakeFields(s);
        return;
    }
    if (code == BN_CLICKED || code == 0) RunMonthCommand(s, id);
}

LRESULT OnStaticColour(const MonthWindowState& s, HDC context) {
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, ToColorRef(Paint(s.palette, kOrdinaryTextPaint)));
    return reinterpret_cast<LRESULT>(s.pageBrush);
}

LRESULT OnEditColour(const MonthWindowState& s, HDC context) {
    SetTextColor(context, ToColorRef(Paint(s.palette, kOrdinaryTextPaint)));
    SetBkColor(context, ToColorRef(Paint(s.palette, kPanelPaint)));
    return reinterpret_cast<LRESULT>(s.panelBrush);
}

LRESULT HandleMonthMessage(MonthWindowState& s, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND window = s.window;
    switch (message) {
        case WM_CREATE:
            CreateMonthControls(s);
            return 0;
        case WM_CLOSE:
            CloseMonthWindow(s);
            return 0;
        case WM_DESTROY:
            s.closed = true;
            return 0;
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window, &client);
            FillRect(reinterpret_cast<HDC>(wparam), &client, s.pageBrush);
            return 1;
        }
        case WM_SIZE:
            LayOutMonthWindow(s);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(window, focus)) s.focusToRestore = focus;
            }
            break;
        case WM_SETFOCUS:
            SetFocus(s.focusToRestore != nullptr && IsWindow(s.focusToRestore) ? s.focusToRestore
                                                                               : s.grid);
            return 0;
        case WM_DRAWITEM:
            DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), s.fonts[kButtonFont],
                            s.scale, s.palette);
            return 1;
        case WM_COMMAND:
            OnCommand(s, wparam);
            return 0;
        case WM_NOTIFY:
            OnNotify(s, *reinterpret_cast<const NMHDR*>(lparam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(s, reinterpret_cast<HDC>(wparam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return OnEditColour(s, reinterpret_cast<HDC>(wparam));
        case WM_DPICHANGED:
            OnDpiChanged(s, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_SETTINGCHANGE:
            if (wparam == SPI_SETHIGHCONTRAST) OnColoursChanged(s);
            break;
        case WM_SYSCOLORCHANGE:
            OnColoursChanged(s);
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK MonthWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* state = StateOfWindow(window, message, lparam, &MonthWindowState::window);
    if (state == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    return HandleMonthMessage(*state, message, wparam, lparam);
}

// ---- Opening ---------------------------------------------------------------------

// The date picker and the status bar are common controls: their DLL is loaded
// when the month window first opens, so that the exe imports none of it.
bool LoadCommonControls() {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init =
        FindFunction<InitFunction>(LoadSystemLibrary(L"comctl32.dll"), "InitCommonControlsEx");
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    return init(&classes) != FALSE;
}

void RegisterMonthClass(HINSTANCE instance) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = MonthWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kMonthClassName;
    RegisterClassExW(&window_class);
    RegisterMonthGridClass(instance);
}

// Nine tenths of the work area of the main window's screen, centred in it.
RECT OpeningRect(HWND main_window) {
    const Box work = MonitorWorkArea(main_window);
    const int32_t width = work.width * 9 / 10;
    const int32_t height = work.height * 9 / 10;
    const int32_t x = work.x + (work.width - width) / 2;
    const int32_t y = work.y + (work.height - height) / 2;
    return {x, y, x + width, y + height};
}

// A fresh state on the main window; the month is the caller's to set.
void PrepareState(MonthWindowState& s, WindowState& main) {
    s.main = &main;
    s.window = nullptr;
    s.nameEdit = nullptr;
    s.focusToRestore = nullptr;
    s.nurse = 0;
    s.column = 0;
    s.scroll = {0, 0};
    s.closed = false;
    ClearText(s.path, kMonthPathCapacity);
    s.stamp = {};
    ClearHistory(&s.history);
}

// The month window's own loop while the main window is disabled; a quit
// message that arrives meanwhile is posted again for the main loop.
void RunMonthLoop(MonthWindowState& s) {
    MSG message;
    while (!s.closed) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            EnableWindow(s.main->mainWindow, TRUE);
            DestroyWindow(s.window);
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (HandleMonthKey(s, message)) continue;
        DispatchWithDialogKeys(s.window, message);
    }
}

void RunMonthWindow(MonthWindowState& s) {
    WindowState& main = *s.main;
    if (!LoadCommonControls()) {
        ShowBox(main.mainWindow, L"无法打开排班表窗口：系统缺少通用控件（comctl32）。",
                kMonthWindowTitlePrefix, MB_ICONWARNING);
        return;
    }
    s.saved = s.month;
    HWND focus = GetFocus();
    s.dpi = main.dpi;
    s.scale = {main.dpi, 96};
    CreateWindowFonts(s.scale, s.fonts);
    TakeMonthPalette(s);
    RegisterMonthClass(main.instance);
    const RECT place = OpeningRect(main.mainWindow);
    HWND window =
        CreateWindowExW(0, kMonthClassName, kMonthWindowTitlePrefix, kMonthStyle, place.left,
                        place.top, place.right - place.left, place.bottom - place.top,
                        main.mainWindow, nullptr, main.instance, &s);
    if (window != nullptr) {
        const int32_t dpi = WindowDpi(window, s.dpi);
        if (dpi != s.dpi) OnDpiChanged(s, dpi, place);
        LayOutMonthWindow(s);
        ShowMonth(s);
        EnableWindow(main.mainWindow, FALSE);
        ShowWindow(window, SW_SHOW);
        SetFocus(s.grid);
        MoveCurrentCell(s, 0, 0);
        SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
        RunMonthLoop(s);
    }
    for (HFONT font : s.fonts)
        DeleteObject(font);
    if (focus != nullptr && IsChild(main.mainWindow, focus)) SetFocus(focus);
}

}  // namespace

void CommitMonthChange(MonthWindowState& state) {
    if (SameMonth(state.change, state.month)) return;
    RecordStep(&state.history, state.month, state.change);
    state.month = state.change;
    ShowMonth(state);
}

void ShowMonth(MonthWindowState& state) {
    CheckMonth(state.month, &state.check);
    if (state.window == nullptr) return;
    ShowFields(state);
    ShowBreachList(state);
    ShowStatus(state);
    MoveCurrentCell(state, state.nurse, state.column);
    InvalidateRect(state.grid, nullptr, FALSE);
}

void CloseMonthWindow(MonthWindowState& state) {
    EndNameEdit(state, true);
    if (!TakeFields(state) || !MayPutMonthAway(state)) return;
    // The owner is enabled first, so that it, not another program, is
    // activated when the month window goes.
    EnableWindow(state.main->mainWindow, TRUE);
    DestroyWindow(state.window);
}

void MonthWindowCommand(WindowState& state) {
    if (!HasResult(state)) {
        ShowBox(state.mainWindow, kCopyNeedsResultText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    MonthWindowState& s = g_month_window;
    PrepareState(s, state);
    RotaTable rota;
    BuildRotaTable(*state.tool, state.values, &rota);
    WardRoster roster;
    LoadWardRoster(&roster);
    const LocalCivilDate today = GetLocalCivilDate();
    const MonthDate first = FirstOfNextMonth(today.year, today.month, today.day);
    MakeMonthFromRota(rota, &roster.roster, roster.ward, first, &s.month);
    RunMonthWindow(s);
}

void OpenMonthFileWindow(WindowState& state, const wchar_t* path) {
    MonthWindowState& s = g_month_window;
    PrepareState(s, state);
    if (!LoadMonthFile(s, state.mainWindow, path)) return;
    RunMonthWindow(s);
}
