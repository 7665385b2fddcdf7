#include "records/csv_record.h"

#include "engine/bounded_text.h"
#include "platform/utf8.h"

namespace {

// A line being assembled; once a piece has not fit, the line stays marked cut.
struct LineBuilder {
    wchar_t* text;
    int32_t capacity;
    int32_t length;
    bool cut;
};

LineBuilder StartLine(wchar_t* line, int32_t capacity) {
    ClearText(line, capacity);
    return LineBuilder{line, capacity, 0, capacity < 1};
}

void AppendPiece(LineBuilder& line, const wchar_t* piece, int32_t piece_length) {
    if (line.cut) return;
    const int32_t wanted = line.length + piece_length;
    line.length = AppendText(line.text, line.capacity, piece, piece_length);
    if (line.length != wanted) line.cut = true;
}

void AppendLiteral(LineBuilder& line, const wchar_t* piece) {
    AppendPiece(line, piece, TextLength(piece));
}

void AppendCell(LineBuilder& line, const wchar_t* cell, int32_t length) {
    if (!CellNeedsQuotes(cell, length)) {
        AppendPiece(line, cell, length);
        return;
    }
    AppendPiece(line, L"\"", 1);
    int32_t run_start = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (cell[i] != L'"') continue;
        // The quote goes in twice: once ending the run, once starting the next.
        AppendPiece(line, cell + run_start, i + 1 - run_start);
        run_start = i;
    }
    AppendPiece(line, cell + run_start, length - run_start);
    AppendPiece(line, L"\"", 1);
}

// A cell that was itself cut while being formatted cuts the line.
void AppendFormattedCell(LineBuilder& line, const wchar_t* cell, int32_t formatted_length) {
    if (formatted_length < 0) {
        line.cut = true;
        return;
    }
    AppendCell(line, cell, formatted_length);
}

// The window keeps values for at most kMaxParams parameters; header and data
// lines take the same ones so that every row has the header's field count.
int32_t RecordedParamCount(const ToolDef& tool) {
    if (tool.param_count < 0 || tool.params == nullptr) return 0;
    return tool.param_count < kMaxParams ? tool.param_count : kMaxParams;
}

int32_t FinishLine(LineBuilder& line) {
    AppendPiece(line, L"\r\n", 2);
    return line.cut ? -1 : line.length;
}

}  // namespace

bool CellNeedsQuotes(const wchar_t* cell, int32_t length) {
    for (int32_t i = 0; i < length; ++i) {
        const wchar_t c = cell[i];
        if (c == L',' || c == L'"' || c == L'\r' || c == L'\n') return true;
    }
    return false;
}

int32_t BuildHeaderLine(const ToolDef& tool, wchar_t* line_text, int32_t capacity) {
    LineBuilder line = StartLine(line_text, capacity);
    AppendLiteral(line, L"时间,工具");
    for (int32_t i = 0; i < RecordedParamCount(tool); ++i) {
        const wchar_t* label = OrEmpty(tool.params[i].label);
        AppendPiece(line, L",", 1);
        AppendCell(line, label, TextLength(label));
    }
    AppendLiteral(line, L",结果");
    return FinishLine(line);
}

int32_t BuildDataLine(const ToolDef& tool, const double* values, const wchar_t* report,
                      const RecordTime& time, wchar_t* line_text, int32_t capacity) {
    LineBuilder line = StartLine(line_text, capacity);

    wchar_t timestamp[kRecordTimestampUnits];
    AppendFormattedCell(
        line, timestamp,
        FormatText(timestamp, kRecordTimestampUnits, L"%04d-%02d-%02d %02d:%02d:%02d", time.year,
                   time.month, time.day, time.hour, time.minute, time.second));

    const wchar_t* name = OrEmpty(tool.name);
    AppendPiece(line, L",", 1);
    AppendCell(line, name, TextLength(name));

    for (int32_t i = 0; i < RecordedParamCount(tool); ++i) {
        wchar_t cell[kRecordTextUnits + 1 + kRecordValueUnits + 1];
        const int32_t length = FormatText(cell, static_cast<int32_t>(sizeof cell / sizeof *cell),
                                          L"%ls=%g", OrEmpty(tool.params[i].label), values[i]);
        AppendPiece(line, L",", 1);
        AppendFormattedCell(line, cell, length);
    }

    const wchar_t* result = OrEmpty(report);
    AppendPiece(line, L",", 1);
    const int32_t result_length = CutLength(result, kRecordResultUnits + 1);
    if (result_length > kRecordResultUnits) line.cut = true;
    AppendCell(line, result, result_length);
    return FinishLine(line);
}

bool BuildRecordText(const ToolDef& tool, const double* values, const wchar_t* report,
                     const RecordTime& time, RecordText* text) {
    const int32_t header_length = BuildHeaderLine(tool, text->header, kRecordHeaderCapacity);
    const int32_t data_length =
        BuildDataLine(tool, values, report, time, text->data, kRecordDataCapacity);
    text->dataOffset = 0;
    text->newFileSize = 0;
    if (header_length < 0 || data_length < 0) return false;

    char* out = text->bytes;
    out[0] = '\xEF';
    out[1] = '\xBB';
    out[2] = '\xBF';
    const int64_t header_bytes = WideToUtf8(text->header, header_length, out + kUtf8BomSize,
                                            kRecordBytesCapacity - kUtf8BomSize);
    if (header_bytes < 0) return false;
    const int64_t data_offset = kUtf8BomSize + header_bytes;
    const int64_t data_bytes =
        WideToUtf8(text->data, data_length, out + data_offset, kRecordBytesCapacity - data_offset);
    if (data_bytes < 0) return false;
    text->dataOffset = data_offset;
    text->newFileSize = data_offset + data_bytes;
    return true;
}
