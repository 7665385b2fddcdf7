// The result as an HTML table in the clipboard's "HTML Format" layout, so that a
// spreadsheet or word processor pastes it as a real table rather than as one
// text line per cell. Built from the same data the report is built from, never
// by reading the report text back, wherever that data has a grid.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

// Room for every payload the window can produce whole: the largest rota
// (40 nurses by 31 days) needs about 16 KiB; a generator report of a full
// 8192-character saved report needs at most 10 bytes per character (an empty
// line becomes a whole table row), about 80 KiB.
constexpr int64_t kClipboardHtmlCapacity = 96 * 1024;

// Writes the payload, UTF-8 without a terminator, into out: the header with the
// byte offsets StartHTML, EndHTML, StartFragment and EndFragment, then the
// document with the table between the fragment markers.
// - Nursing rota (SpecialKind 1): the rule line, a table of one row per nurse
//   (shift letter per day, then the counts of day shifts, night shifts and
//   rest days), the hint line.
// - Formula tool (SpecialKind 0): one row per output (label, value text, unit),
//   the note row when an output failed, then the verdict row.
// - Any other kind: one row of one cell per line of report.
// report and verdict are terminated texts (null counts as empty); values is the
// table of parameter values the result was computed from.
// Returns the number of bytes written, or -1 when the payload does not fit in
// capacity bytes (nothing is ever written past out + capacity).
int64_t BuildClipboardHtml(const ToolDef& tool, const double* values, const wchar_t* report,
                           const wchar_t* verdict, char* out, int64_t capacity);
