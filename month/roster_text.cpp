#include "month/roster_text.h"

#include <cstdarg>

#include "engine/bounded_text.h"

namespace {

constexpr const wchar_t* kNoNightsMark = L"不排夜班";
// A column pasted with its head: that line is no nurse.
constexpr const wchar_t* kNameHead = L"姓名";
// The roster file's first line names the ward.
constexpr const wchar_t* kWardKey = L"科室";

// A name too long for the roster is shown this far in the box.
constexpr int32_t kShownNameLength = 24;

// A span of the text: a line, or a cell of it.
struct Span {
    const wchar_t* text;
    int32_t length;
};

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\x3000' || c == L'\xA0';
}

Span Trim(Span span) {
    while (span.length > 0 && IsSpace(span.text[0]))
        ++span.text, --span.length;
    while (span.length > 0 && IsSpace(span.text[span.length - 1]))
        --span.length;
    return span;
}

bool SpanIs(Span span, const wchar_t* text) {
    for (int32_t i = 0; i < span.length; ++i) {
        if (text[i] == L'\0' || text[i] != span.text[i]) return false;
    }
    return text[span.length] == L'\0';
}

// The next line at *pos (LF, CR LF or a lone CR ends it, as pasted from any
// spreadsheet); false at the end of the text.
bool NextLineOf(const wchar_t* text, int32_t* pos, Span* line) {
    if (text[*pos] == L'\0') return false;
    int32_t end = *pos;
    while (text[end] != L'\0' && text[end] != L'\r' && text[end] != L'\n')
        ++end;
    *line = Span{text + *pos, end - *pos};
    if (text[end] == L'\r' && text[end + 1] == L'\n') ++end;
    *pos = text[end] == L'\0' ? end : end + 1;
    return true;
}

// The line's cells, split at tabs, each trimmed; false after the last one.
bool NextCellOf(Span line, int32_t* pos, Span* cell) {
    if (*pos > line.length) return false;
    int32_t end = *pos;
    while (end < line.length && line.text[end] != L'\t')
        ++end;
    *cell = Trim(Span{line.text + *pos, end - *pos});
    *pos = end + 1;
    return true;
}

bool ReadGrade(Span cell, int8_t* grade) {
    if (cell.length != 2 || (cell.text[0] != L'N' && cell.text[0] != L'n')) return false;
    if (cell.text[1] < L'0' || cell.text[1] > L'0' + kMaxGrade) return false;
    *grade = static_cast<int8_t>(cell.text[1] - L'0');
    return true;
}

bool Fail(RosterError* error, int32_t line, const wchar_t* format, ...) {
    error->line = line;
    const int32_t length = FormatText(error->text, kRosterErrorCapacity, L"第 %d 行：", line);
    va_list args;
    va_start(args, format);
    if (length >= 0) FormatTextV(error->text + length, kRosterErrorCapacity - length, format, args);
    va_end(args);
    return false;
}

// "“name”" or, for a name too long to show whole, its start and "…".
void QuoteName(Span name, wchar_t* out, int32_t capacity) {
    const int32_t shown = name.length < kShownNameLength ? name.length : kShownNameLength;
    FormatText(out, capacity, L"“%.*ls%ls”", shown, name.text, shown < name.length ? L"…" : L"");
}

bool ReadName(Span cell, int32_t line, MonthNurse* nurse, RosterError* error) {
    wchar_t quoted[kShownNameLength + 8];
    QuoteName(cell, quoted, kShownNameLength + 8);
    int8_t grade = kNoGrade;
    if (cell.length == 0) return Fail(error, line, L"没有姓名。");
    // A column's head is taken for one only on the first line: "姓名" on any
    // other would be written back there and then passed over.
    if (ReadGrade(cell, &grade) || SpanIs(cell, kNoNightsMark) || SpanIs(cell, kNameHead)) {
        return Fail(error, line, L"%ls不是姓名（姓名应在第一列）。", quoted);
    }
    if (cell.length > kNurseNameMaxLength) {
        return Fail(error, line, L"%ls超过 %d 个字。", quoted, kNurseNameMaxLength);
    }
    if (StartsAsAFormula(cell.text, cell.length))
        return Fail(error, line, L"姓名%ls%ls", quoted, kFormulaStartText);
    for (int32_t i = 0; i < cell.length; ++i)
        nurse->name[i] = cell.text[i];
    nurse->name[cell.length] = L'\0';
    return true;
}

// A nurse's line: her name, then in any order her grade and the mark, or
// empty cells (a spreadsheet's empty column).
bool ReadNurseLine(Span text, int32_t line, MonthNurse* nurse, RosterError* error) {
    int32_t pos = 0;
    Span cell{};
    NextCellOf(text, &pos, &cell);
    if (!ReadName(cell, line, nurse, error)) return false;
    nurse->grade = kNoGrade;
    nurse->noNights = false;
    while (NextCellOf(text, &pos, &cell)) {
        if (cell.length == 0 || ReadGrade(cell, &nurse->grade)) continue;
        if (SpanIs(cell, kNoNightsMark)) {
            nurse->noNights = true;
            continue;
        }
        wchar_t quoted[kShownNameLength + 8];
        QuoteName(cell, quoted, kShownNameLength + 8);
        return Fail(error, line, L"%ls既不是能级（N0～N4）也不是“不排夜班”。", quoted);
    }
    return true;
}

int32_t FindName(const Roster& roster, const wchar_t* name) {
    const Span wanted{name, TextLength(name)};
    for (int32_t i = 0; i < roster.count; ++i) {
        if (SpanIs(wanted, roster.nurse[i].name)) return i;
    }
    return -1;
}

// A column pasted with its head starts with a line that is no nurse.
bool IsHeadLine(Span line) {
    int32_t pos = 0;
    Span first{};
    NextCellOf(line, &pos, &first);
    return SpanIs(first, kNameHead);
}

// Reads the roster's lines from *pos on; first_line is the number of the
// line at *pos. The whole text or nothing: read into a local roster.
bool ParseRosterLines(const wchar_t* text, int32_t pos, int32_t first_line, Roster* roster,
                      RosterError* error) {
    Roster read{};
    int32_t lines[kRosterMaxNurses] = {};  // each nurse's line, for a duplicate's box
    Span line{};
    for (int32_t number = first_line; NextLineOf(text, &pos, &line); ++number) {
        if (Trim(line).length == 0 || (number == first_line && IsHeadLine(line))) continue;
        if (read.count == kRosterMaxNurses) {
            return Fail(error, number, L"名单超过 %d 人。", kRosterMaxNurses);
        }
        MonthNurse& nurse = read.nurse[read.count];
        if (!ReadNurseLine(line, number, &nurse, error)) return false;
        const int32_t same = FindName(read, nurse.name);
        if (same >= 0) {
            return Fail(error, number, L"“%ls”与第 %d 行重名。", nurse.name, lines[same]);
        }
        lines[read.count++] = number;
    }
    *roster = read;
    return true;
}

// The grade's column stays, empty, before the mark: pasted back into a
// spreadsheet, each goes into its own column.
int32_t AppendNurseLine(const MonthNurse& nurse, wchar_t* out, int32_t capacity) {
    AppendText(out, capacity, nurse.name);
    if (nurse.grade != kNoGrade || nurse.noNights) {
        AppendText(out, capacity, L"\t");
        AppendText(out, capacity, GradeName(nurse.grade));
    }
    if (nurse.noNights) {
        AppendText(out, capacity, L"\t");
        AppendText(out, capacity, kNoNightsMark);
    }
    return AppendText(out, capacity, L"\r\n");
}

}  // namespace

bool ParseRosterText(const wchar_t* text, Roster* roster, RosterError* error) {
    return ParseRosterLines(text, 0, 1, roster, error);
}

int32_t FormatRosterText(const Roster& roster, wchar_t* out, int32_t capacity) {
    if (capacity < 1) return -1;
    out[0] = L'\0';
    int32_t length = 0;
    for (int32_t i = 0; i < roster.count; ++i) {
        length = AppendNurseLine(roster.nurse[i], out, capacity);
    }
    // Every append stops at capacity - 1: a text of that length may have been cut.
    return length < capacity - 1 ? length : -1;
}

int32_t FormatRosterFileText(const wchar_t* ward, const Roster& roster, wchar_t* out,
                             int32_t capacity) {
    const int32_t head = FormatText(out, capacity, L"%ls\t%ls\r\n", kWardKey, OrEmpty(ward));
    if (head < 0) return -1;
    const int32_t body = FormatRosterText(roster, out + head, capacity - head);
    return body < 0 ? -1 : head + body;
}

bool ParseRosterFileText(const wchar_t* text, wchar_t* ward, int32_t ward_capacity, Roster* roster,
                         RosterError* error) {
    int32_t pos = 0;
    Span line{};
    Span ward_name{};
    if (NextLineOf(text, &pos, &line)) {
        int32_t cell_pos = 0;
        Span key{};
        NextCellOf(line, &cell_pos, &key);
        if (SpanIs(key, kWardKey)) {
            NextCellOf(line, &cell_pos, &ward_name);
            if (ward_name.length > kWardNameMaxLength) {
                return Fail(error, 1, L"科室名称超过 %d 个字。", kWardNameMaxLength);
            }
        } else {
            pos = 0;  // no ward line: the roster starts at once
        }
    }
    if (!ParseRosterLines(text, pos, pos == 0 ? 1 : 2, roster, error)) return false;
    const int32_t length = ward_name.length < ward_capacity ? ward_name.length : ward_capacity - 1;
    for (int32_t i = 0; i < length; ++i)
        ward[i] = ward_name.text[i];
    if (ward_capacity > 0) ward[length < 0 ? 0 : length] = L'\0';
    return true;
}
