// The roster (名单) as text: a line per nurse, the name, then optionally a tab
// and the grade (N0 to N4), a tab and "不排夜班": what the head nurse types
// or pastes as columns from a spreadsheet, and what the roster file holds.
#pragma once

#include <cstdint>

#include "month/rota_month.h"

constexpr int32_t kRosterErrorCapacity = 128;
struct RosterError {
    int32_t line;  // from 1
    wchar_t text[kRosterErrorCapacity];
};

// Reads the whole text; blank lines are passed over. A name longer than 16
// characters, a duplicate, a line that is no name, a grade that is none or
// more than kRosterMaxNurses lines refuse the whole text: roster untouched,
// error names the line.
bool ParseRosterText(const wchar_t* text, Roster* roster, RosterError* error);

// The roster as that text, lines ending in CR LF. Returns the length, or -1
// when it was cut.
int32_t FormatRosterText(const Roster& roster, wchar_t* out, int32_t capacity);

// The longest roster text: kRosterMaxNurses lines of a name, a grade and the
// mark, and the roster file's first line, with room to spare.
constexpr int32_t kRosterTextCapacity = 4096;

// The roster file's text: a first line "科室<TAB><ward>", then the roster's
// lines as FormatRosterText writes them. Returns the length, or -1 when cut.
int32_t FormatRosterFileText(const wchar_t* ward, const Roster& roster, wchar_t* out,
                             int32_t capacity);

// Reads the roster file's text (its first line may be missing: the ward is
// then empty). On failure ward and roster are untouched and error names the
// line.
bool ParseRosterFileText(const wchar_t* text, wchar_t* ward, int32_t ward_capacity, Roster* roster,
                         RosterError* error);
