// Lines of the per-tool CSV record file and their UTF-8 bytes.
#pragma once

#include <cstdint>

#include "engine/result_texts.h"
#include "engine/tool_def.h"

// The local moment a record is stamped with.
struct RecordTime {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
};

// The result cell holds the whole report, as long as the window keeps one.
constexpr int32_t kRecordResultUnits = kSavedReportCapacity - 1;

// The line buffers are sized so that a tool whose name and labels stay within
// kRecordTextUnits units each always fits, even with every cell quoted and every
// unit a doubled quote. A longer text fits as long as the line as a whole does;
// a line that does not fit is reported as cut and never written.
constexpr int32_t kRecordTextUnits = 256;
constexpr int32_t kRecordValueUnits = 16;      // "%g" of any double, sign and exponent included
constexpr int32_t kRecordTimestampUnits = 72;  // six 32-bit fields and their separators

constexpr int32_t QuotedCellUnits(int32_t units) {
    return 2 * units + 2;
}

constexpr int32_t kRecordHeaderCapacity = 5  // 时间,工具
                                          + kMaxParams * (1 + QuotedCellUnits(kRecordTextUnits)) +
                                          3         // ,结果
                                          + 2 + 1;  // CR LF, NUL
constexpr int32_t kRecordDataCapacity =
    kRecordTimestampUnits + 1 + QuotedCellUnits(kRecordTextUnits) +
    kMaxParams * (1 + QuotedCellUnits(kRecordTextUnits + 1 + kRecordValueUnits)) + 1 +
    QuotedCellUnits(kRecordResultUnits) + 2 + 1;

// Every UTF-16 unit needs at most 3 UTF-8 bytes (a pair of surrogates 4 for two
// units); a 32-bit wchar_t at most 4.
constexpr int64_t kUtf8BytesPerUnit = sizeof(wchar_t) == 2 ? 3 : 4;
constexpr int64_t kUtf8BomSize = 3;
constexpr int64_t kRecordBytesCapacity =
    kUtf8BomSize + (kRecordHeaderCapacity + kRecordDataCapacity) * kUtf8BytesPerUnit;

// Both lines of one save and their UTF-8 form: bytes[0, newFileSize) is what a
// file created by this save holds (byte order mark, header, data line), and
// bytes[dataOffset, newFileSize) the data line alone that an existing file gets.
struct RecordText {
    wchar_t header[kRecordHeaderCapacity];
    wchar_t data[kRecordDataCapacity];
    char bytes[kRecordBytesCapacity];
    int64_t dataOffset;
    int64_t newFileSize;
};

// True when the cell must be quoted to stay one cell: it holds a comma, a double
// quote, a CR or an LF.
bool CellNeedsQuotes(const wchar_t* cell, int32_t length);

// The header line: 时间,工具, each parameter's label, 结果, CR LF. Returns its
// length, or -1 when it did not fit (the cut line must not be written).
int32_t BuildHeaderLine(const ToolDef& tool, wchar_t* line, int32_t capacity);

// One data line: the timestamp, the tool's name, "label=%g" per parameter, the
// report (quoted as one cell, its line breaks inside it), CR LF. Returns its
// length, or -1 when it did not fit (a report longer than kRecordResultUnits
// included: the cut line must not be written).
int32_t BuildDataLine(const ToolDef& tool, const double* values, const wchar_t* report,
                      const RecordTime& time, wchar_t* line, int32_t capacity);

// Builds both lines and their bytes. Returns false when a line did not fit; the
// record must then not be written at all.
bool BuildRecordText(const ToolDef& tool, const double* values, const wchar_t* report,
                     const RecordTime& time, RecordText* text);
