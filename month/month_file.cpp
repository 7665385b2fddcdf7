#include "month/month_file.h"

#include <cstdarg>

#include "engine/bounded_text.h"
#include "platform/multibyte.h"
#include "platform/utf8.h"

namespace {

// The file's words: the head lines' keys, the table's and the foot lines'.
constexpr const wchar_t* kTitleKey = L"排班表";
constexpr const wchar_t* kFirstDateKey = L"起始日期";
constexpr const wchar_t* kDaysKey = L"天数";
constexpr const wchar_t* kHolidaysKey = L"节假日";
constexpr const wchar_t* kNameKey = L"姓名";
constexpr const wchar_t* kWeekdayKey = L"星期";
constexpr const wchar_t* kGradeHead = L"能级";
constexpr const wchar_t* kNoNightsHead = L"不排夜班";
constexpr const wchar_t* kNoNightsMark = L"是";

// The limits' lines, in the file's order.
struct LimitLine {
    const wchar_t* key;
    int32_t MonthLimits::*value;
    MonthLimitRange range;
};
constexpr LimitLine kLimitLines[] = {
    {L"连续夜班上限", &MonthLimits::maxNightRun, kMaxNightRunRange},
    {L"连续上班上限", &MonthLimits::maxWorkRun, kMaxWorkRunRange},
    {L"白班每日最少", &MonthLimits::minDay, kMinStaffRange},
    {L"夜班每日最少", &MonthLimits::minNight, kMinStaffRange},
};

// The staffing lines under the table, one per shift in MonthShift order.
constexpr const wchar_t* kStaffKeys[kMonthShiftCount] = {
    kMonthStaffingNames[0], kMonthStaffingNames[1], kMonthStaffingNames[2], kMonthStaffingNames[3]};

// A cell the head nurse set is written with this mark behind its shift.
constexpr wchar_t kByHandMark = L'*';

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int32_t kByteOrderMarkSize = 3;

// ---------------------------------------------------------------------------
// Writing

struct ByteSink {
    char* out;
    int32_t capacity;
    int32_t length;
    bool cut;
};

void PutBytes(ByteSink* sink, const char* bytes, int32_t count) {
    if (sink->cut || count > sink->capacity - sink->length) {
        sink->cut = true;
        return;
    }
    for (int32_t i = 0; i < count; ++i)
        sink->out[sink->length + i] = bytes[i];
    sink->length += count;
}

void PutWide(ByteSink* sink, const wchar_t* text, int32_t count) {
    if (sink->cut) return;
    const int64_t written =
        WideToUtf8(text, count, sink->out + sink->length, sink->capacity - sink->length);
    if (written < 0) {
        sink->cut = true;
        return;
    }
    sink->length += static_cast<int32_t>(written);
}

void PutComma(ByteSink* sink) {
    PutBytes(sink, ",", 1);
}

void PutLineEnd(ByteSink* sink) {
    PutBytes(sink, "\r\n", 2);
}

bool NeedsQuotes(const wchar_t* text) {
    for (; *text != L'\0'; ++text) {
        if (*text == L',' || *text == L'"' || *text == L'\r' || *text == L'\n') return true;
    }
    return false;
}

// Only a cell that needs them is quoted (RFC 4180): every other cell reads in
// a text editor as it does in the spreadsheet.
void PutText(ByteSink* sink, const wchar_t* text) {
    if (!NeedsQuotes(text)) {
        PutWide(sink, text, TextLength(text));
        return;
    }
    PutBytes(sink, "\"", 1);
    const wchar_t* run = text;
    for (const wchar_t* p = text;; ++p) {
        if (*p != L'"' && *p != L'\0') continue;
        PutWide(sink, run, static_cast<int32_t>(p - run));
        if (*p == L'\0') break;
        PutBytes(sink, "\"\"", 2);
        run = p + 1;
    }
    PutBytes(sink, "\"", 1);
}

void PutFormatted(ByteSink* sink, const wchar_t* format, ...) {
    wchar_t text[32];
    va_list args;
    va_start(args, format);
    const int32_t length = FormatTextV(text, 32, format, args);
    va_end(args);
    if (length < 0) {
        sink->cut = true;
        return;
    }
    PutWide(sink, text, length);
}

void PutDate(ByteSink* sink, MonthDate date) {
    PutFormatted(sink, L"%04d-%02d-%02d", date.year, date.month, date.day);
}

void PutEmptyCells(ByteSink* sink, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        PutComma(sink);
}

void PutHeadLines(ByteSink* sink, const RotaMonth& month) {
    PutText(sink, kTitleKey);
    PutComma(sink);
    PutText(sink, month.ward);
    PutLineEnd(sink);
    PutText(sink, kFirstDateKey);
    PutComma(sink);
    PutDate(sink, month.first);
    PutLineEnd(sink);
    PutText(sink, kDaysKey);
    PutFormatted(sink, L",%d", month.days);
    PutLineEnd(sink);
    for (const LimitLine& limit : kLimitLines) {
        PutText(sink, limit.key);
        PutFormatted(sink, L",%d", month.limits.*limit.value);
        PutLineEnd(sink);
    }
    PutText(sink, kHolidaysKey);
    for (int32_t d = 0; d < month.days; ++d) {
        if (!month.holiday[d]) continue;
        PutComma(sink);
        PutDate(sink, DateOfDay(month, d));
    }
    PutLineEnd(sink);
    PutLineEnd(sink);
}

// The two head lines of the table: the columns' names, then the weekdays (the
// columns of the counts left empty, so that every line has as many cells).
void PutTableHead(ByteSink* sink, const RotaMonth& month) {
    PutText(sink, kNameKey);
    PutComma(sink);
    PutText(sink, kGradeHead);
    PutComma(sink);
    PutText(sink, kNoNightsHead);
    for (int32_t d = 0; d < month.days; ++d)
        PutFormatted(sink, L",%d", d + 1);
    for (const auto& name : kMonthShiftNames) {
        PutComma(sink);
        PutText(sink, name);
    }
    PutLineEnd(sink);
    PutText(sink, kWeekdayKey);
    PutEmptyCells(sink, 2);
    for (int32_t d = 0; d < month.days; ++d) {
        PutComma(sink);
        PutText(sink, WeekdayName(WeekdayOfDay(month, d)));
    }
    PutEmptyCells(sink, kMonthShiftCount);
    PutLineEnd(sink);
}

void PutShiftCell(ByteSink* sink, MonthCell cell) {
    const wchar_t text[3] = {cell.shift < kMonthShiftCount ? kMonthShiftLetters[cell.shift] : L'?',
                             cell.byHand ? kByHandMark : L'\0', L'\0'};
    PutText(sink, text);
}

void PutNurseLine(ByteSink* sink, const RotaMonth& month, const MonthCounts& counts, int32_t n) {
    const MonthNurse& nurse = month.nurse[n];
    PutText(sink, nurse.name);
    PutComma(sink);
    PutText(sink, GradeName(nurse.grade));
    PutComma(sink);
    if (nurse.noNights) PutText(sink, kNoNightsMark);
    for (int32_t d = 0; d < month.days; ++d) {
        PutComma(sink);
        PutShiftCell(sink, month.cell[n][d]);
    }
    for (int32_t s = 0; s < kMonthShiftCount; ++s)
        PutFormatted(sink, L",%d", counts.nurse[n][s]);
    PutLineEnd(sink);
}

void PutStaffLines(ByteSink* sink, const RotaMonth& month, const MonthCounts& counts) {
    for (int32_t s = 0; s < kMonthShiftCount; ++s) {
        PutText(sink, kStaffKeys[s]);
        PutEmptyCells(sink, 2);
        for (int32_t d = 0; d < month.days; ++d)
            PutFormatted(sink, L",%d", counts.day[d][s]);
        PutEmptyCells(sink, kMonthShiftCount);
        PutLineEnd(sink);
    }
}

// ---------------------------------------------------------------------------
// Reading: bytes to lines (records), lines to cells, cells to the month.

// One code point of UTF-8 at s, or 0 bytes when there is none there (a
// stray, overlong or cut sequence, a surrogate, beyond U+10FFFF).
int32_t NextUtf8(const unsigned char* s, int32_t left, char32_t* c) {
    if (s[0] < 0x80) {
        *c = s[0];
        return 1;
    }
    int32_t size = 0;
    char32_t low = 0;
    if ((s[0] & 0xE0) == 0xC0) {
        size = 2, low = 0x80, *c = s[0] & 0x1F;
    } else if ((s[0] & 0xF0) == 0xE0) {
        size = 3, low = 0x800, *c = s[0] & 0x0F;
    } else if ((s[0] & 0xF8) == 0xF0) {
        size = 4, low = 0x10000, *c = s[0] & 0x07;
    } else {
        return 0;
    }
    if (size > left) return 0;
    for (int32_t i = 1; i < size; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        *c = (*c << 6) | (s[i] & 0x3F);
    }
    if (*c < low || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF)) return 0;
    return size;
}

// The line (from 1) of the first byte that is no UTF-8, or 0 when all are.
int32_t FirstLineNotUtf8(const char* bytes, int32_t length) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    char32_t c = 0;
    int32_t line = 1;
    for (int32_t i = 0; i < length;) {
        const int32_t size = NextUtf8(s + i, length - i, &c);
        if (size == 0) return line;
        if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == length || s[i + 1] != '\n'))) ++line;
        i += size;
    }
    return 0;
}

// Where a wchar_t is a UTF-16 unit, a code point beyond the Basic
// Multilingual Plane takes two.
int32_t PutCodePoint(char32_t c, wchar_t* out, int32_t room) {
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        if (room < 2) return -1;
        out[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        out[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        return 2;
    }
    if (room < 1) return -1;
    out[0] = static_cast<wchar_t>(c);
    return 1;
}

int32_t Utf8ToWide(const char* bytes, int32_t length, wchar_t* out, int32_t capacity) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes);
    int32_t written = 0;
    char32_t c = 0;
    for (int32_t i = 0; i < length;) {
        const int32_t size = NextUtf8(s + i, length - i, &c);
        const int32_t units = size > 0 ? PutCodePoint(c, out + written, capacity - written) : -1;
        if (units < 0) return -1;
        i += size;
        written += units;
    }
    return written;
}

// Longer than any line of a month's file, with room for a spreadsheet's
// trailing empty cells.
constexpr int32_t kLineCapacity = 2048;
// Longer than any text a cell may hold (the ward's name), so that one too
// long is still shown in the box.
constexpr int32_t kCellCapacity = kWardNameCapacity + 8;

struct Line {
    wchar_t text[kLineCapacity];
    int32_t length;
    int32_t number;  // the file's line where it starts, from 1
};

struct Cell {
    wchar_t text[kCellCapacity];  // cut to the capacity
    int32_t length;               // the whole cell's
};

// A spreadsheet that saved the file chose its encoding: UTF-8 (with or without
// the mark), or the Chinese ANSI code page.
enum class FileEncoding { kUtf8, kGbk };

struct FileReader {
    const char* bytes;
    int32_t length;
    int32_t pos;
    int32_t nextLine;  // the number of the line at pos
    FileEncoding encoding;
    // Where a file that is no UTF-8 stops being UTF-8: a UTF-8 file with a
    // damaged line is told as such rather than as GBK that fails earlier.
    int32_t firstLineNotUtf8;
    Line line;  // the line read last
    MonthFileError* error;
    bool failed;
};

bool FailV(FileReader* reader, int32_t line, const wchar_t* format, va_list args) {
    MonthFileError& error = *reader->error;
    error.line = line;
    int32_t length = 0;
    if (line > 0) length = FormatText(error.text, kMonthFileErrorCapacity, L"第 %d 行：", line);
    if (length >= 0)
        FormatTextV(error.text + length, kMonthFileErrorCapacity - length, format, args);
    reader->failed = true;
    return false;
}

bool Fail(FileReader* reader, int32_t line, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FailV(reader, line, format, args);
    va_end(args);
    return false;
}

// Fails on the line read last.
bool FailHere(FileReader* reader, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FailV(reader, reader->line.number, format, args);
    va_end(args);
    return false;
}

// The bytes of the next record: up to a line end outside quotes (a name may
// hold one inside them). LF, CR LF and a lone CR all end a line.
bool NextRecordBytes(FileReader* reader, const char** start, int32_t* size) {
    if (reader->pos >= reader->length) return false;
    const char* bytes = reader->bytes;
    int32_t i = reader->pos;
    bool quoted = false;
    reader->line.number = reader->nextLine;
    for (; i < reader->length; ++i) {
        const char c = bytes[i];
        if (c == '"') quoted = !quoted;
        if (c != '\r' && c != '\n') continue;
        if (!quoted) break;
        ++reader->nextLine;
        if (c == '\r' && i + 1 < reader->length && bytes[i + 1] == '\n') ++i;
    }
    *start = bytes + reader->pos;
    *size = i - reader->pos;
    if (i < reader->length) {
        const bool pair = bytes[i] == '\r' && i + 1 < reader->length && bytes[i + 1] == '\n';
        i += pair ? 2 : 1;
        ++reader->nextLine;
    }
    reader->pos = i;
    return true;
}

// A line of empty cells is what a spreadsheet writes for an empty line.
bool IsBlank(const Line& line) {
    for (int32_t i = 0; i < line.length; ++i) {
        const wchar_t c = line.text[i];
        if (c != L',' && c != L'"' && c != L' ' && c != L'\t') return false;
    }
    return true;
}

// No text file holds a NUL; a UTF-16 one (a spreadsheet's "Unicode text")
// holds one in every other byte.
bool HoldsNul(const Line& line) {
    for (int32_t i = 0; i < line.length; ++i) {
        if (line.text[i] == L'\0') return true;
    }
    return false;
}

// Reads the next line that is not blank; false at the end of the file or
// when the line cannot be read (reader->failed then).
bool NextLine(FileReader* reader) {
    const char* start = nullptr;
    int32_t size = 0;
    while (NextRecordBytes(reader, &start, &size)) {
        Line& line = reader->line;
        // Neither encoding takes more characters than bytes.
        if (size >= kLineCapacity) return FailHere(reader, L"这一行太长，不是排班表的一行。");
        line.length = reader->encoding == FileEncoding::kUtf8
                          ? Utf8ToWide(start, size, line.text, kLineCapacity)
                          : GbkToWide(start, size, line.text, kLineCapacity);
        if (line.length < 0 || HoldsNul(line)) {
            const int32_t at =
                reader->firstLineNotUtf8 > line.number ? reader->firstLineNotUtf8 : line.number;
            return Fail(reader, at, L"文字无法识别（应为 UTF-8 或 GBK 编码）。");
        }
        if (!IsBlank(line)) return true;
    }
    return false;
}

struct CellCursor {
    const Line* line;
    int32_t pos;
    int32_t column;  // of the cell read last, from 1
    bool done;
};

CellCursor CellsOf(const Line& line) {
    return CellCursor{&line, 0, 0, false};
}

void AddToCell(Cell* cell, wchar_t c) {
    if (cell->length < kCellCapacity - 1) cell->text[cell->length] = c;
    ++cell->length;
}

// Reads the next cell, quoted or not (RFC 4180; what follows a closing quote
// before the comma is kept, as spreadsheets do); false after the last one.
bool NextCell(CellCursor* cursor, Cell* cell) {
    cell->length = 0;
    cell->text[0] = L'\0';
    if (cursor->done) return false;
    const wchar_t* text = cursor->line->text;
    const int32_t length = cursor->line->length;
    int32_t& i = cursor->pos;
    if (i < length && text[i] == L'"') {
        for (++i; i < length; ++i) {
            if (text[i] == L'"') {
                if (i + 1 < length && text[i + 1] == L'"') {
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            AddToCell(cell, text[i]);
        }
    }
    for (; i < length && text[i] != L','; ++i)
        AddToCell(cell, text[i]);
    cell->text[cell->length < kCellCapacity ? cell->length : kCellCapacity - 1] = L'\0';
    if (i < length) {
        ++i;  // the comma: another cell follows, if only an empty one
    } else {
        cursor->done = true;
    }
    ++cursor->column;
    return true;
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\x3000';
}

// The cell's text without the spaces around it, as a value is read.
struct Trimmed {
    const wchar_t* text;
    int32_t length;
};

Trimmed TrimmedOf(const Cell& cell) {
    int32_t end = cell.length < kCellCapacity - 1 ? cell.length : kCellCapacity - 1;
    int32_t start = 0;
    while (start < end && IsSpace(cell.text[start]))
        ++start;
    while (end > start && IsSpace(cell.text[end - 1]))
        --end;
    return Trimmed{cell.text + start, end - start};
}

bool CellIs(const Cell& cell, const wchar_t* text) {
    const Trimmed value = TrimmedOf(cell);
    for (int32_t i = 0; i < value.length; ++i) {
        if (text[i] == L'\0' || text[i] != value.text[i]) return false;
    }
    return text[value.length] == L'\0';
}

bool IsEmptyCell(const Cell& cell) {
    return TrimmedOf(cell).length == 0;
}

bool ReadNumber(const Cell& cell, int32_t* value) {
    const Trimmed digits = TrimmedOf(cell);
    if (digits.length == 0 || digits.length > 9) return false;
    int32_t number = 0;
    for (int32_t i = 0; i < digits.length; ++i) {
        if (digits.text[i] < L'0' || digits.text[i] > L'9') return false;
        number = number * 10 + (digits.text[i] - L'0');
    }
    *value = number;
    return true;
}

// Reads digits at *i; their count in [1, max_digits].
bool ReadDigits(const Trimmed& text, int32_t* i, int32_t max_digits, int32_t* value) {
    int32_t count = 0;
    *value = 0;
    while (*i < text.length && text.text[*i] >= L'0' && text.text[*i] <= L'9') {
        *value = *value * 10 + (text.text[(*i)++] - L'0');
        if (++count > max_digits) return false;
    }
    return count > 0;
}

// "2027-01-01" as written, and "2027/1/1", as a spreadsheet that took the
// cell for a date writes it back.
bool ReadDateText(const Cell& cell, MonthDate* date) {
    const Trimmed text = TrimmedOf(cell);
    int32_t i = 0;
    if (!ReadDigits(text, &i, 4, &date->year) || i != 4 || i >= text.length) return false;
    const wchar_t separator = text.text[i++];
    if (separator != L'-' && separator != L'/' && separator != L'.') return false;
    if (!ReadDigits(text, &i, 2, &date->month)) return false;
    if (i >= text.length || text.text[i++] != separator) return false;
    return ReadDigits(text, &i, 2, &date->day) && i == text.length;
}

bool ReadDate(FileReader* reader, const Cell& cell, MonthDate* date) {
    if (!ReadDateText(cell, date)) {
        return FailHere(reader, L"“%ls”不是日期（应写作 2027-01-01）。", cell.text);
    }
    if (!IsValidMonthDate(*date)) return FailHere(reader, L"日期“%ls”不存在。", cell.text);
    return true;
}

// Reads the next line and its first cell, which must be key.
bool ReadKeyLine(FileReader* reader, const wchar_t* key, CellCursor* cells) {
    Cell first{};
    if (!NextLine(reader)) {
        if (reader->failed) return false;
        return Fail(reader, 0, L"文件不完整：缺少“%ls”一行。", key);
    }
    *cells = CellsOf(reader->line);
    NextCell(cells, &first);
    if (!CellIs(first, key)) return FailHere(reader, L"这一行应为“%ls”。", key);
    return true;
}

bool ReadNumberLine(FileReader* reader, const wchar_t* key, MonthLimitRange range, int32_t* value) {
    CellCursor cells{};
    Cell cell{};
    if (!ReadKeyLine(reader, key, &cells)) return false;
    NextCell(&cells, &cell);
    if (!ReadNumber(cell, value) || *value < range.low || *value > range.high) {
        return FailHere(reader, L"%ls“%ls”应为 %d～%d 的整数。", key, cell.text, range.low,
                        range.high);
    }
    return true;
}

int32_t DayIndexOfDate(const RotaMonth& month, MonthDate date) {
    for (int32_t d = 0; d < month.days; ++d) {
        const MonthDate day = DateOfDay(month, d);
        if (day.year == date.year && day.month == date.month && day.day == date.day) return d;
    }
    return -1;
}

bool ReadHolidays(FileReader* reader, RotaMonth* month) {
    CellCursor cells{};
    Cell cell{};
    if (!ReadKeyLine(reader, kHolidaysKey, &cells)) return false;
    while (NextCell(&cells, &cell)) {
        if (IsEmptyCell(cell)) continue;
        MonthDate date{};
        if (!ReadDate(reader, cell, &date)) return false;
        const int32_t d = DayIndexOfDate(*month, date);
        if (d < 0) return FailHere(reader, L"节假日“%ls”不在排班的日期内。", cell.text);
        month->holiday[d] = true;
    }
    return true;
}

bool ReadHead(FileReader* reader, RotaMonth* month) {
    CellCursor cells{};
    Cell cell{};
    if (!NextLine(reader)) {
        if (reader->failed) return false;
        return Fail(reader, 0, L"文件是空的，不是排班表。");
    }
    cells = CellsOf(reader->line);
    NextCell(&cells, &cell);
    if (!CellIs(cell, kTitleKey)) return FailHere(reader, L"不是排班表（应以“排班表”开头）。");
    NextCell(&cells, &cell);
    if (cell.length > kWardNameMaxLength) {
        return FailHere(reader, L"科室“%ls”超过 %d 个字。", cell.text, kWardNameMaxLength);
    }
    if (StartsAsAFormula(cell.text, cell.length))
        return FailHere(reader, L"科室“%ls”%ls", cell.text, kFormulaStartText);
    CopyText(month->ward, kWardNameCapacity, cell.text);

    if (!ReadKeyLine(reader, kFirstDateKey, &cells)) return false;
    NextCell(&cells, &cell);
    if (!ReadDate(reader, cell, &month->first)) return false;
    if (!ReadNumberLine(reader, kDaysKey, MonthLimitRange{1, kMonthMaxDays}, &month->days)) {
        return false;
    }
    for (const LimitLine& limit : kLimitLines) {
        if (!ReadNumberLine(reader, limit.key, limit.range, &(month->limits.*limit.value))) {
            return false;
        }
    }
    return ReadHolidays(reader, month);
}

// The columns' names: the dates 1 to the number of days, no more, no fewer.
bool ReadTableHead(FileReader* reader, const RotaMonth& month) {
    CellCursor cells{};
    Cell cell{};
    if (!ReadKeyLine(reader, kNameKey, &cells)) return false;
    NextCell(&cells, &cell);  // 能级
    NextCell(&cells, &cell);  // 不排夜班
    int32_t dates = 0;
    int32_t date = 0;
    while (NextCell(&cells, &cell) && ReadNumber(cell, &date) && date == dates + 1)
        ++dates;
    if (dates != month.days) {
        return FailHere(reader, L"天数为 %d，表头却有 %d 个日期。", month.days, dates);
    }
    return true;
}

bool ReadShift(const Cell& cell, MonthCell* shift) {
    Trimmed text = TrimmedOf(cell);
    shift->byHand = text.length == 2 && text.text[1] == kByHandMark;
    if (text.length != (shift->byHand ? 2 : 1)) return false;
    return ShiftOfSpelling(text.text[0], &shift->shift);
}

bool ReadGrade(const Cell& cell, int8_t* grade) {
    const Trimmed text = TrimmedOf(cell);
    if (text.length == 0) {
        *grade = kNoGrade;
        return true;
    }
    if (text.length != 2 || (text.text[0] != L'N' && text.text[0] != L'n')) return false;
    if (text.text[1] < L'0' || text.text[1] > L'0' + kMaxGrade) return false;
    *grade = static_cast<int8_t>(text.text[1] - L'0');
    return true;
}

bool ReadNurseHead(FileReader* reader, CellCursor* cells, MonthNurse* nurse) {
    Cell cell{};
    NextCell(cells, &cell);
    if (IsEmptyCell(cell)) return FailHere(reader, L"缺少姓名。");
    if (cell.length > kNurseNameMaxLength) {
        return FailHere(reader, L"姓名“%ls”超过 %d 个字。", cell.text, kNurseNameMaxLength);
    }
    if (StartsAsAFormula(cell.text, cell.length))
        return FailHere(reader, L"姓名“%ls”%ls", cell.text, kFormulaStartText);
    CopyText(nurse->name, kNurseNameCapacity, cell.text);
    NextCell(cells, &cell);
    if (!ReadGrade(cell, &nurse->grade)) {
        return FailHere(reader, L"能级“%ls”应为 N0～N4 或空。", cell.text);
    }
    NextCell(cells, &cell);
    nurse->noNights = CellIs(cell, kNoNightsMark);
    if (!nurse->noNights && !IsEmptyCell(cell)) {
        return FailHere(reader, L"不排夜班一栏的“%ls”应为“是”或空。", cell.text);
    }
    return true;
}

// A nurse's line: her name, grade and mark, a shift for each day, and then
// only her counts (numbers, recomputed) or empty cells.
bool ReadNurse(FileReader* reader, RotaMonth* month, int32_t n) {
    CellCursor cells = CellsOf(reader->line);
    Cell cell{};
    if (!ReadNurseHead(reader, &cells, &month->nurse[n])) return false;
    for (int32_t d = 0; d < month->days; ++d) {
        wchar_t day[16];
        FormatMonthDay(*month, d, day, 16);
        if (!NextCell(&cells, &cell) || IsEmptyCell(cell)) {
            return FailHere(reader, L"缺少%ls的班次（天数为 %d）。", day, month->days);
        }
        if (!ReadShift(cell, &month->cell[n][d])) {
            return FailHere(reader, L"%ls的“%ls”不是班次（应为 D、N、R 或 假）。", day, cell.text);
        }
    }
    int32_t count = 0;
    while (NextCell(&cells, &cell)) {
        if (!IsEmptyCell(cell) && !ReadNumber(cell, &count)) {
            return FailHere(reader, L"班次多于天数 %d：第 %d 列为“%ls”。", month->days,
                            cells.column, cell.text);
        }
    }
    return true;
}

// A derived line starts with its key and holds no shift on the first day: a
// nurse who happens to be named "星期" or "白班人数" still reads as a nurse.
bool IsDerivedLine(const Line& line, const wchar_t* const* keys, int32_t key_count) {
    CellCursor cells = CellsOf(line);
    Cell cell{};
    NextCell(&cells, &cell);
    bool keyed = false;
    for (int32_t k = 0; k < key_count; ++k)
        keyed = keyed || CellIs(cell, keys[k]);
    for (int32_t column = 1; column <= 3; ++column)
        NextCell(&cells, &cell);
    MonthCell shift{};
    return keyed && !ReadShift(cell, &shift);
}

bool IsStaffLine(const Line& line) {
    return IsDerivedLine(line, kStaffKeys, kMonthShiftCount);
}

bool IsWeekdayLine(const Line& line) {
    return IsDerivedLine(line, &kWeekdayKey, 1);
}

// The weekday line (optional: derived), the nurses, then only staffing lines
// (derived as well) to the end.
bool ReadTableBody(FileReader* reader, RotaMonth* month) {
    const int32_t head_line = reader->line.number;
    bool more = NextLine(reader);
    if (more && IsWeekdayLine(reader->line)) more = NextLine(reader);
    month->nurses = 0;
    for (; more && !IsStaffLine(reader->line); more = NextLine(reader)) {
        if (month->nurses == kMonthMaxNurses) {
            return FailHere(reader, L"护士超过 %d 人。", kMonthMaxNurses);
        }
        if (!ReadNurse(reader, month, month->nurses)) return false;
        ++month->nurses;
    }
    if (reader->failed) return false;
    if (month->nurses == 0) return Fail(reader, head_line, L"表头下没有护士。");
    for (; more; more = NextLine(reader)) {
        if (!IsStaffLine(reader->line))
            return FailHere(reader, L"人数行之后不应再有护士或其他内容。");
    }
    return !reader->failed;
}

}  // namespace

int32_t WriteMonthFile(const RotaMonth& month, char* out, int32_t capacity) {
    ByteSink sink{out, capacity, 0, false};
    MonthCounts counts{};
    CountMonth(month, &counts);
    PutBytes(&sink, kByteOrderMark, kByteOrderMarkSize);
    PutHeadLines(&sink, month);
    PutTableHead(&sink, month);
    for (int32_t n = 0; n < month.nurses; ++n)
        PutNurseLine(&sink, month, counts, n);
    PutStaffLines(&sink, month, counts);
    return sink.cut ? -1 : sink.length;
}

bool ReadMonthFile(const char* bytes, int32_t length, RotaMonth* month, MonthFileError* error) {
    FileReader reader{};
    reader.bytes = bytes;
    reader.length = length;
    reader.nextLine = 1;
    reader.error = error;
    if (length > kMonthFileCapacity) return Fail(&reader, 0, L"文件太大，不是排班表。");
    if (length >= kByteOrderMarkSize && bytes[0] == kByteOrderMark[0] &&
        bytes[1] == kByteOrderMark[1] && bytes[2] == kByteOrderMark[2]) {
        reader.pos = kByteOrderMarkSize;
    }
    reader.firstLineNotUtf8 = FirstLineNotUtf8(bytes + reader.pos, length - reader.pos);
    reader.encoding = reader.firstLineNotUtf8 == 0 ? FileEncoding::kUtf8 : FileEncoding::kGbk;
    RotaMonth read{};
    if (!ReadHead(&reader, &read) || !ReadTableHead(&reader, read) ||
        !ReadTableBody(&reader, &read)) {
        return false;
    }
    *month = read;
    return true;
}
