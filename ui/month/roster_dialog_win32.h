// The roster dialog (名单): the ward's name and its nurses typed, or pasted as
// columns from a spreadsheet, one line per nurse (name, optionally a tab and
// the grade, a tab and "不排夜班"). Kept per user in the roster file, written
// whole or not at all, so that next month starts with the same names.
#pragma once

#include <windows.h>

#include "month/rota_month.h"
#include "ui/palette_win32.h"

// The roster as the user keeps it: ward name and nurses.
struct WardRoster {
    wchar_t ward[kWardNameCapacity];
    Roster roster;
};

// Reads the user's roster file; an absent or unreadable one gives an empty
// roster (no ward name, no nurses), and false.
bool LoadWardRoster(WardRoster* roster);

// Shows the dialog over owner at the owner's DPI and palette. On OK the typed
// text is parsed; a bad line gets a box naming it and the dialog stays open
// with that line selected. A roster that parses is saved to the roster file
// (whole or not at all; a failed save is told in a box and the dialog stays),
// then copied to *roster and true is returned. Cancel or Esc: false, *roster
// untouched.
bool RunRosterDialog(HWND owner, WardRoster* roster);

// The same in the palette of the owner's contrast setting as its window takes
// it (the system's, or forced by a test).
bool RunRosterDialog(HWND owner, HighContrastSource contrast, WardRoster* roster);
