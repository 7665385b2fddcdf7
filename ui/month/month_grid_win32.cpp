// The month's grid: a window of its own that draws the month as a table
// (frozen dates and names, scrolled cells), keeps the current cell, takes the
// keys a spreadsheet takes and tells a screen reader what the current cell is.
#include "engine/bounded_text.h"
#include "ui/gdi_guards.h"
#include "ui/commands.h"
#include "ui/month/month_window_state.h"
#include "ui/painting.h"
#include "ui/shell_text.h"

namespace {

constexpr int32_t kWheelRows = 3;
constexpr UINT kEndNameEditMessage = WM_APP + 1;
// The corner mark of a reminder's cells, and the heavy outline of a hard
// breach's: both survive a black-and-white printout and a colour-blind eye.
constexpr int32_t kCornerMarkSize = 7;
constexpr int32_t kBreachOutlineWidth = 2;
constexpr Rgb kShadeColour = {226, 233, 239};

struct GridColours {
    Rgb back;
    Rgb line;
    Rgb text;
    Rgb header;
    Rgb shade;
    Rgb current;
    Rgb currentText;
    Rgb hard;
    Rgb soft;
};

// Under high contrast every colour is one of the system's; the shaded days
// take the button face, which the system keeps apart from the window colour.
GridColours ColoursOf(const Palette& palette) {
    return {Paint(palette, kPanelPaint),
            Paint(palette, kPanelOutlinePaint),
            Paint(palette, kOrdinaryTextPaint),
            Paint(palette, kFooterPaint),
            palette.fromSystem ? Paint(palette, kFooterPaint) : kShadeColour,
            Paint(palette, kHeaderPaint),
            Paint(palette, kToolNamePaint),
            VerdictPaint(palette, 3),
            VerdictPaint(palette, 2)};
}

struct GridPainter {
    const MonthWindowState& state;
    HDC context;
    GridColours colours;
    GridView view;
    int32_t width;
    int32_t height;
};

GridView CurrentView(const MonthWindowState& state) {
    RECT client{};
    GetClientRect(state.grid, &client);
    return ViewOfGrid(state.month, state.scroll, client.right, client.bottom, state.scale);
}

bool IsShadedDay(const RotaMonth& month, int32_t day) {
    return day < month.days && (IsWeekendDay(month, day) || month.holiday[day]);
}

void DrawCornerMark(HDC context, Box box, Rgb colour, Scale scale) {
    const int32_t size = Scaled(kCornerMarkSize, scale);
    const POINT corner[3] = {{box.x + box.width - size, box.y},
                             {box.x + box.width, box.y},
                             {box.x + box.width, box.y + size}};
    OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(colour)));
    OwnedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ToColorRef(colour)));
    SelectionGuard brush_selection(context, brush.get());
    SelectionGuard pen_selection(context, pen.get());
    Polygon(context, corner, 3);
}

// A cell of the breaches' rules: a hard one outlined heavily, a reminder
// marked in its corner.
void MarkBreach(const GridPainter& p, Box box, RuleBits rules) {
    if (rules == 0) return;
    bool hard = false;
    for (int32_t rule = 0; rule < kMonthRuleCount; ++rule) {
        if ((rules & RuleBit(static_cast<MonthRule>(rule))) != 0 &&
            IsHardRule(static_cast<MonthRule>(rule)))
            hard = true;
    }
    if (hard) {
        FrameBox(p.context, box, p.colours.hard, ScaledLine(kBreachOutlineWidth, p.state.scale));
    } else {
        DrawCornerMark(p.context, box, p.colours.soft, p.state.scale);
    }
}

void DrawCell(const GridPainter& p, Box box, const wchar_t* text, bool shaded, bool current,
              FontRole font) {
    const GridColours& c = p.colours;
    FillBox(p.context, box, current ? c.current : shaded ? c.shade : c.back);
    FrameBox(p.context, {box.x, box.y, box.width + 1, box.height + 1}, c.line, 1);
    DrawTextBox(p.context, box, text, current ? c.currentText : c.text, p.state.fonts[font],
                DT_CENTER);
}

void DrawBodyCell(const GridPainter& p, const MonthCounts& counts, int32_t row, int32_t column,
                  Box box) {
    const MonthWindowState& s = p.state;
    const RotaMonth& month = s.month;
    wchar_t text[16];
    ClearText(text, 16);
    RuleBits rules = 0;
    const bool day = column < month.days;
    if (row < month.nurses && day) {
        FormatCellText(month.cell[row][column], text, 16);
        rules = s.check.cellRules[row][column];
    } else if (row < month.nurses) {
        FormatText(text, 16, L"%d", counts.nurse[row][column - month.days]);
    } else if (day) {
        const int32_t shift = row - month.nurses;
        FormatText(text, 16, L"%d", counts.day[column][shift]);
        rules = StaffingRowRules(s.check, column, shift);
    }
    const bool current = row == s.nurse && column == s.column;
    DrawCell(p, box, text, day && IsShadedDay(month, column), current, kInputFont);
    MarkBreach(p, box, rules);
}

void DrawBody(const GridPainter& p) {
    const MonthWindowState& s = p.state;
    MonthCounts counts;
    CountMonth(s.month, &counts);
    for (int32_t row = s.scroll.firstRow; row < BodyRowCount(s.month); ++row) {
        const Box row_box = BodyRowBox(s.scroll, row, s.scale);
        if (row_box.y >= p.height) break;
        for (int32_t column = s.scroll.firstColumn; column < BodyColumnCount(s.month); ++column) {
            const Box column_box = BodyColumnBox(s.month, s.scroll, column, s.scale);
            if (column_box.x >= p.width) break;
            DrawBodyCell(p, counts, row, column,
                         {column_box.x, row_box.y, column_box.width, row_box.height});
        }
    }
}

void DrawNameColumn(const GridPainter& p) {
    const MonthWindowState& s = p.state;
    for (int32_t row = s.scroll.firstRow; row < BodyRowCount(s.month); ++row) {
        const Box row_box = BodyRowBox(s.scroll, row, s.scale);
        if (row_box.y >= p.height) break;
        wchar_t name[kNurseNameCapacity + 8];
        if (row < s.month.nurses) {
            FormatNameCell(s.month.nurse[row], name, kNurseNameCapacity + 8);
        } else {
            CopyText(name, kNurseNameCapacity + 8, kMonthStaffingNames[row - s.month.nurses]);
        }
        const Box box = {0, row_box.y, p.view.frozenWidth, row_box.height};
        const bool current = row == s.nurse && s.column == kNameColumn;
        FillBox(p.context, box, current ? p.colours.current : p.colours.header);
        FrameBox(p.context, {box.x, box.y, box.width + 1, box.height + 1}, p.colours.line, 1);
        const Box inset = {box.x + Scaled(6, s.scale), box.y, box.width - Scaled(8, s.scale),
                           box.height};
        DrawTextBox(p.context, inset, name, current ? p.colours.currentText : p.colours.text,
                    s.fonts[kLabelFont], 0);
    }
}

void DrawHeader(const GridPainter& p) {
    const MonthWindowState& s = p.state;
    const RotaMonth& month = s.month;
    const int32_t row_height = p.view.frozenHeight / 2;
    FillBox(p.context, {0, 0, p.width, p.view.frozenHeight}, p.colours.header);
    for (int32_t column = s.scroll.firstColumn; column < BodyColumnCount(month); ++column) {
        const Box box = BodyColumnBox(month, s.scroll, column, s.scale);
        if (box.x >= p.width) break;
        const Box top = {box.x, 0, box.width, row_height};
        const Box bottom = {box.x, row_height, box.width, p.view.frozenHeight - row_height};
        wchar_t date[8];
        const wchar_t* weekday = L"";
        if (column < month.days) {
            FormatText(date, 8, L"%d", DateOfDay(month, column).day);
            weekday = WeekdayName(WeekdayOfDay(month, column));
        } else {
            CopyText(date, 8, kCountColumnNames[column - month.days]);
        }
        const bool shaded = IsShadedDay(month, column);
        DrawCell(p, top, date, shaded, false, kSmallFont);
        DrawCell(p, bottom, weekday, shaded, false, kSmallFont);
        // A holiday's date is underlined: the shade alone would not tell it
        // from a weekend.
        if (column < month.days && month.holiday[column]) {
            FillBox(p.context,
                    {top.x + Scaled(6, s.scale), top.y + top.height - ScaledLine(2, s.scale),
                     top.width - Scaled(12, s.scale), ScaledLine(2, s.scale)},
                    p.colours.text);
        }
    }
    const Box corner = {0, 0, p.view.frozenWidth, p.view.frozenHeight};
    FillBox(p.context, corner, p.colours.header);
    FrameBox(p.context, {0, 0, corner.width + 1, corner.height + 1}, p.colours.line, 1);
    DrawTextBox(p.context, corner, kNameHeader, p.colours.text, s.fonts[kLabelFont], DT_CENTER);
}

void DrawFocus(const GridPainter& p) {
    const MonthWindowState& s = p.state;
    if (GetFocus() != s.grid || s.nurse < s.scroll.firstRow) return;
    const Box row = BodyRowBox(s.scroll, s.nurse, s.scale);
    Box box = {0, row.y, p.view.frozenWidth, row.height};
    if (s.column != kNameColumn) {
        if (s.column < s.scroll.firstColumn) return;
        const Box column = BodyColumnBox(s.month, s.scroll, s.column, s.scale);
        box = {column.x, row.y, column.width, row.height};
    }
    const int32_t inset = ScaledLine(2, s.scale);
    FrameBox(p.context,
             {box.x + inset, box.y + inset, box.width - 2 * inset + 1, box.height - 2 * inset + 1},
             p.colours.currentText, 1);
}

void PaintGrid(const MonthWindowState& state, HDC context, int32_t width, int32_t height) {
    const GridPainter painter = {state, context, ColoursOf(state.palette), CurrentView(state),
                                 width, height};
    FillBox(context, {0, 0, width, height}, painter.colours.back);
    DrawBody(painter);
    DrawNameColumn(painter);
    DrawHeader(painter);
    DrawFocus(painter);
}

// Drawn off screen and copied at once, so that scrolling does not flicker.
void OnPaint(const MonthWindowState& state) {
    PaintScope paint(state.grid);
    RECT client{};
    GetClientRect(state.grid, &client);
    HDC memory = CreateCompatibleDC(paint.context());
    OwnedGdiObject<HBITMAP> bitmap(
        CreateCompatibleBitmap(paint.context(), client.right, client.bottom));
    if (memory == nullptr || bitmap.get() == nullptr) {
        if (memory != nullptr) DeleteDC(memory);
        PaintGrid(state, paint.context(), client.right, client.bottom);
        return;
    }
    {
        SelectionGuard selection(memory, bitmap.get());
        PaintGrid(state, memory, client.right, client.bottom);
        BitBlt(paint.context(), 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
    DeleteDC(memory);
}

// ---- Scrolling ------------------------------------------------------------------

void SetScroll(MonthWindowState& state, GridScroll scroll) {
    state.scroll = ClampScroll(state.month, scroll, CurrentView(state));
    UpdateGridScrollBars(state);
    InvalidateRect(state.grid, nullptr, FALSE);
}

int32_t ScrolledTo(HWND grid, int bar, int32_t position, int32_t page, WPARAM wparam) {
    switch (LOWORD(wparam)) {
        case SB_LINEUP:
            return position - 1;
        case SB_LINEDOWN:
            return position + 1;
        case SB_PAGEUP:
            return position - page;
        case SB_PAGEDOWN:
            return position + page;
        case SB_TOP:
            return 0;
        case SB_BOTTOM:
            return INT32_MAX / 2;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(grid, bar, &info);
            return info.nTrackPos;
        }
        default:
            return position;
    }
}

void OnScroll(MonthWindowState& state, int bar, WPARAM wparam) {
    const GridView view = CurrentView(state);
    GridScroll scroll = state.scroll;
    if (bar == SB_VERT) {
        scroll.firstRow = ScrolledTo(state.grid, bar, scroll.firstRow, view.rows, wparam);
    } else {
        scroll.firstColumn = ScrolledTo(state.grid, bar, scroll.firstColumn, view.columns, wparam);
    }
    SetScroll(state, scroll);
}

// ---- Keys and the mouse ------------------------------------------------------------

bool ControlHeld() {
    return GetKeyState(VK_CONTROL) < 0;
}

// The key moves the current cell, or changes it; false for any other key.
bool OnKeyDown(MonthWindowState& state, WPARAM key) {
    const int32_t last_day = state.month.days - 1;
    const int32_t last_nurse = state.month.nurses - 1;
    const int32_t page = CurrentView(state).rows;
    const int32_t n = state.nurse;
    const int32_t c = state.column;
    switch (key) {
        case VK_LEFT:
            MoveCurrentCell(state, n, c - 1);
            return true;
        case VK_RIGHT:
            MoveCurrentCell(state, n, c + 1);
            return true;
        case VK_UP:
            MoveCurrentCell(state, n - 1, c);
            return true;
        case VK_DOWN:
            MoveCurrentCell(state, n + 1, c);
            return true;
        case VK_PRIOR:
            MoveCurrentCell(state, n - page, c);
            return true;
        case VK_NEXT:
            MoveCurrentCell(state, n + page, c);
            return true;
        case VK_HOME:
            MoveCurrentCell(state, ControlHeld() ? 0 : n, 0);
            return true;
        case VK_END:
            MoveCurrentCell(state, ControlHeld() ? last_nurse : n, last_day);
            return true;
        case VK_F2:
            BeginNameEdit(state);
            return true;
        case VK_DELETE:
            if (c < 0) return true;
            state.change = state.month;
            ResetCell(&state.change, n, c);
            CommitMonthChange(state);
            return true;
        default:
            return false;
    }
}

void OnCharacter(MonthWindowState& state, wchar_t character) {
    uint8_t shift = 0;
    if (state.column < 0 || !ShiftOfSpelling(character, &shift)) return;
    state.change = state.month;
    SetCellByHand(&state.change, state.nurse, state.column, shift);
    CommitMonthChange(state);
}

void OnClick(MonthWindowState& state, LPARAM lparam, bool twice) {
    SetFocus(state.grid);
    const GridHit hit = HitTestGrid(state.month, state.scroll, static_cast<int16_t>(LOWORD(lparam)),
                                    static_cast<int16_t>(HIWORD(lparam)), state.scale);
    if (hit.row < 0 || hit.row >= state.month.nurses || hit.column == -2) return;
    if (hit.column >= state.month.days) return;
    MoveCurrentCell(state, hit.row, hit.column);
    if (twice && hit.column == kNameColumn) BeginNameEdit(state);
}

LRESULT HandleGridMessage(MonthWindowState& state, HWND grid, UINT message, WPARAM wparam,
                          LPARAM lparam) {
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_PAINT:
            OnPaint(state);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            SetScroll(state, state.scroll);
            return 0;
        case WM_SETFOCUS:
            InvalidateRect(grid, nullptr, FALSE);
            NotifyWinEvent(EVENT_OBJECT_FOCUS, grid, OBJID_CLIENT, CHILDID_SELF);
            return 0;
        case WM_KILLFOCUS:
            InvalidateRect(grid, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            if (OnKeyDown(state, wparam)) return 0;
            break;
        case WM_CHAR:
            OnCharacter(state, static_cast<wchar_t>(wparam));
            return 0;
        case WM_LBUTTONDOWN:
            OnClick(state, lparam, false);
            return 0;
        case WM_LBUTTONDBLCLK:
            OnClick(state, lparam, true);
            return 0;
        case WM_VSCROLL:
            OnScroll(state, SB_VERT, wparam);
            return 0;
        case WM_HSCROLL:
            OnScroll(state, SB_HORZ, wparam);
            return 0;
        case WM_MOUSEWHEEL: {
            GridScroll scroll = state.scroll;
            scroll.firstRow -= GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA * kWheelRows;
            SetScroll(state, scroll);
            return 0;
        }
        case WM_COMMAND:
            // The in-place name edit lost the focus: what it holds is kept,
            // once the edit is done telling (it is not destroyed from
            // within its own message).
            if (HIWORD(wparam) == EN_KILLFOCUS) PostMessageW(grid, kEndNameEditMessage, 0, 0);
            return 0;
        case kEndNameEditMessage:
            EndNameEdit(state, true);
            return 0;
        case WM_CTLCOLOREDIT:
            SetTextColor(reinterpret_cast<HDC>(wparam),
                         ToColorRef(Paint(state.palette, kOrdinaryTextPaint)));
            SetBkColor(reinterpret_cast<HDC>(wparam),
                       ToColorRef(Paint(state.palette, kPanelPaint)));
            return reinterpret_cast<LRESULT>(state.panelBrush);
        default:
            break;
    }
    return DefWindowProcW(grid, message, wparam, lparam);
}

LRESULT CALLBACK GridWindowProc(HWND grid, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(grid, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* state = reinterpret_cast<MonthWindowState*>(GetWindowLongPtrW(grid, GWLP_USERDATA));
    if (state == nullptr || state->grid != grid)
        return DefWindowProcW(grid, message, wparam, lparam);
    return HandleGridMessage(*state, grid, message, wparam, lparam);
}

Box NameCellBox(const MonthWindowState& state) {
    const Box row = BodyRowBox(state.scroll, state.nurse, state.scale);
    return {0, row.y, Scaled(kGridMetrics.nameWidth, state.scale), row.height};
}

// A screen reader hears the current cell as the grid's own name.
void TellScreenReader(MonthWindowState& state) {
    BuildCellSentence(state.month, state.check, state.nurse, state.column, state.sentence,
                      kCellSentenceCapacity);
    SetWindowTextW(state.grid, state.sentence);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, state.grid, OBJID_CLIENT, CHILDID_SELF);
    if (GetFocus() == state.grid)
        NotifyWinEvent(EVENT_OBJECT_FOCUS, state.grid, OBJID_CLIENT, CHILDID_SELF);
}

int32_t InRange(int32_t value, int32_t low, int32_t high) {
    if (value > high) value = high;
    return value < low ? low : value;
}

}  // namespace

void RegisterMonthGridClass(HINSTANCE instance) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = GridWindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kMonthGridClassName;
    RegisterClassExW(&window_class);
}

void UpdateGridScrollBars(MonthWindowState& state) {
    const GridView view = CurrentView(state);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = BodyRowCount(state.month) - 1;
    info.nPage = static_cast<UINT>(view.rows);
    info.nPos = state.scroll.firstRow;
    SetScrollInfo(state.grid, SB_VERT, &info, TRUE);
    info.nMax = BodyColumnCount(state.month) - 1;
    info.nPage = static_cast<UINT>(view.columns);
    info.nPos = state.scroll.firstColumn;
    SetScrollInfo(state.grid, SB_HORZ, &info, TRUE);
}

void MoveCurrentCell(MonthWindowState& state, int32_t nurse, int32_t column) {
    state.nurse = InRange(nurse, 0, state.month.nurses - 1);
    state.column = InRange(column, kNameColumn, state.month.days - 1);
    state.scroll =
        ScrollToShow(state.month, state.scroll, CurrentView(state), state.nurse, state.column);
    SetScroll(state, state.scroll);
    TellScreenReader(state);
}

void BeginNameEdit(MonthWindowState& state) {
    if (state.nameEdit != nullptr) return;
    MoveCurrentCell(state, state.nurse, kNameColumn);
    const Box box = NameCellBox(state);
    state.editedNurse = state.nurse;
    state.nameEdit = CreateWindowExW(0, L"EDIT", state.month.nurse[state.nurse].name,
                                     WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, box.x,
                                     box.y, box.width, box.height, state.grid,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNameEditId)),
                                     state.main->instance, nullptr);
    if (state.nameEdit == nullptr) return;
    SendMessageW(state.nameEdit, WM_SETFONT, reinterpret_cast<WPARAM>(state.fonts[kLabelFont]),
                 TRUE);
    SendMessageW(state.nameEdit, EM_LIMITTEXT, kNurseNameMaxLength, 0);
    SendMessageW(state.nameEdit, EM_SETSEL, 0, -1);
    SetFocus(state.nameEdit);
}

void EndNameEdit(MonthWindowState& state, bool keep) {
    HWND edit = state.nameEdit;
    if (edit == nullptr) return;
    // Cleared first: destroying the edit takes its focus, which asks again.
    state.nameEdit = nullptr;
    wchar_t name[kNurseNameCapacity];
    ClearText(name, kNurseNameCapacity);
    GetWindowTextW(edit, name, kNurseNameCapacity);
    if (GetFocus() == edit) SetFocus(state.grid);
    DestroyWindow(edit);
    const int32_t n = state.editedNurse;
    if (!keep || !HasText(name) || n < 0 || n >= state.month.nurses) return;
    if (StartsAsAFormula(name, TextLength(name))) {
        wchar_t message[kNurseNameCapacity + 64];
        FormatText(message, kNurseNameCapacity + 64, L"姓名“%ls”%ls", name, kFormulaStartText);
        ShowBox(state.window, message, kInputErrorCaption, MB_ICONWARNING);
        return;
    }
    state.change = state.month;
    CopyText(state.change.nurse[n].name, kNurseNameCapacity, name);
    CommitMonthChange(state);
}
