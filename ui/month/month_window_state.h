// The one state record of the month window, handed to everything that works
// on it: the window, its grid, its commands. It holds the month's history
// (about a megabyte), so it lives in static storage, never on a stack.
#pragma once

#include <windows.h>

#include <cstdint>

#include "month/month_history.h"
#include "month/month_file.h"
#include "month/month_rules.h"
#include "month/rota_month.h"
#include "records/month_store.h"
#include "ui/month/month_clipboard.h"
#include "ui/month/month_view.h"
#include "ui/palette.h"
#include "ui/print/print_layout.h"
#include "ui/window_state.h"

constexpr int32_t kMonthPathCapacity = MAX_PATH;

enum MonthCommandId : int32_t {
    kRosterCommand = 200,
    kOpenCommand,
    kSaveCommand,
    kSaveAsCommand,
    kPreviewCommand,
    kPrintCommand,
    kCopyCommand,
    kArrangeCommand,
    kCloseCommand,
    kHolidayCommand,
    kUndoCommand,
    kRedoCommand,
    kGridId = 300,
    kBreachListId,
    kStatusBarId,
    kWardEditId,
    kFirstDateId,
    kFirstLimitEditId,  // one per MonthLimitField
    kNameEditId = kFirstLimitEditId + kMonthLimitFieldCount,
};

constexpr int32_t kMonthButtonCount = 10;  // kRosterCommand .. kHolidayCommand

struct MonthWindowState {
    WindowState* main;  // the owner: instance and high-contrast setting
    HWND window;
    HWND grid;
    HWND breachList;
    HWND statusBar;
    HWND wardEdit;
    HWND firstDate;
    HWND limitEdits[kMonthLimitFieldCount];
    HWND nameEdit;  // while a name is edited in place
    HWND buttons[kMonthButtonCount];
    HWND labels[2 + kMonthLimitFieldCount];
    // The window's own DPI, scale and fonts: it may stand on another monitor
    // than the main window.
    int32_t dpi;
    Scale scale;
    HFONT fonts[kFontRoleCount];
    Palette palette;
    HBRUSH pageBrush;
    HBRUSH panelBrush;
    // The control that had the focus when the window was deactivated.
    HWND focusToRestore;
    // What is shown; as it was last read or written (a month that differs has
    // unsaved changes); a change being made, before it is recorded.
    RotaMonth month;
    RotaMonth saved;
    RotaMonth change;
    MonthCheck check;
    MonthHistory history;
    // The current cell: a nurse and a day, or her name (kNameColumn).
    int32_t nurse;
    int32_t column;
    int32_t editedNurse;  // the nurse whose name the in-place edit holds
    GridScroll scroll;
    // The file the month was read from or last written to, and its stamp
    // then; empty for a month never saved.
    wchar_t path[kMonthPathCapacity];
    FileStamp stamp;
    bool closed;
    char fileBytes[kMonthFileCapacity];
    wchar_t copyText[kMonthClipboardTextCapacity];
    char copyTable[kMonthClipboardHtmlCapacity];
    PrintDocument printDocument;
    wchar_t sentence[kCellSentenceCapacity];
};

// Records the change (state.change against state.month) as one step and
// shows it; a change that changes nothing is dropped.
void CommitMonthChange(MonthWindowState& state);

// The month was replaced or changed: checked again, and every view of it
// (grid, list, status bar, title, fields) shows it.
void ShowMonth(MonthWindowState& state);

// Moves the current cell (kept in range and scrolled into view) and tells a
// screen reader.
void MoveCurrentCell(MonthWindowState& state, int32_t nurse, int32_t column);

// The grid's own window class, registered once per process.
void RegisterMonthGridClass(HINSTANCE instance);
constexpr wchar_t kMonthGridClassName[] = L"TavoMedMonthGrid";

// Sets the grid's scroll bars from the state's scroll and view.
void UpdateGridScrollBars(MonthWindowState& state);

// Starts or ends the in-place edit of the current nurse's name (F2).
void BeginNameEdit(MonthWindowState& state);
void EndNameEdit(MonthWindowState& state, bool keep);
