// The CSV record lines over fuzzed names, labels, values, reports and clock
// fields: a line that is built reads back, cell by cell, as exactly the texts
// it was built from (quoting holds against commas, quotes, CR and LF); a line
// that does not fit is refused; no buffer is overrun, at any capacity.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "records/csv_record.h"

namespace {

// Splits one CSV line (which must end in CR LF outside quotes) into cells.
bool SplitLine(const std::wstring& line, std::vector<std::wstring>& cells) {
    if (line.size() < 2 || line.compare(line.size() - 2, 2, L"\r\n") != 0) return false;
    const std::wstring body = line.substr(0, line.size() - 2);
    std::wstring cell;
    size_t i = 0;
    for (;;) {
        cell.clear();
        if (i < body.size() && body[i] == L'"') {
            ++i;
            for (;;) {
                if (i >= body.size()) return false;  // unterminated quote
                if (body[i] == L'"') {
                    if (i + 1 < body.size() && body[i + 1] == L'"') {
                        cell.push_back(L'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell.push_back(body[i++]);
            }
            if (i < body.size() && body[i] != L',') return false;
        } else {
            while (i < body.size() && body[i] != L',') {
                const wchar_t c = body[i++];
                if (c == L'"' || c == L'\r' || c == L'\n') return false;
            }
            // Unquoted cell: taken as it stands.
            size_t start = i;
            while (start > 0 && body[start - 1] != L',')
                --start;
            cell = body.substr(start, i - start);
        }
        cells.push_back(cell);
        if (i >= body.size()) return true;
        ++i;  // the comma
    }
}

std::wstring Stored(const std::wstring& text) {
    return std::wstring(text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const int32_t param_count = data.ConsumeIntegralInRange<int32_t>(0, kMaxParams);
    const bool long_texts = data.ConsumeIntegral<uint8_t>() < 32;
    const size_t text_limit = long_texts ? 700 : 24;
    std::vector<std::wstring> labels;
    labels.reserve(kMaxParams);
    std::vector<ParamDef> params;
    for (int32_t i = 0; i < param_count; ++i) {
        labels.push_back(Stored(fuzz::ConsumeWideText(data, text_limit)));
        params.push_back({"p", labels.back().c_str(), nullptr, 0.0});
    }
    const std::wstring name = Stored(fuzz::ConsumeWideText(data, text_limit));
    const std::wstring report = Stored(fuzz::ConsumeWideText(data, long_texts ? 600 : 300));
    double values[kMaxParams];
    for (double& v : values)
        v = fuzz::ConsumeValue(data);
    RecordTime time{};
    if (data.ConsumeBool()) {
        time = {data.ConsumeIntegralInRange<int32_t>(1601, 30827),
                data.ConsumeIntegralInRange<int32_t>(1, 12),
                data.ConsumeIntegralInRange<int32_t>(1, 31),
                data.ConsumeIntegralInRange<int32_t>(0, 23),
                data.ConsumeIntegralInRange<int32_t>(0, 59),
                data.ConsumeIntegralInRange<int32_t>(0, 59)};
    } else {
        time = {data.ConsumeIntegral<int32_t>(), data.ConsumeIntegral<int32_t>(),
                data.ConsumeIntegral<int32_t>(), data.ConsumeIntegral<int32_t>(),
                data.ConsumeIntegral<int32_t>(), data.ConsumeIntegral<int32_t>()};
    }
    const ToolDef tool{
        187, name.c_str(), nullptr, L"类",   L"据", nullptr, param_count, params.data(),
        0,   nullptr,      0,       nullptr, 1};

    // Whole record: guarded behind the struct.
    struct Guarded {
        RecordText text;
        char guard[64];
    };
    std::unique_ptr<Guarded> record(new Guarded);  // not zero-filled: a missing terminator shows
    std::memset(record->guard, 0x5A, sizeof record->guard);
    const bool built = BuildRecordText(tool, values, report.c_str(), time, &record->text);
    for (char c : record->guard)
        FUZZ_CHECK(c == 0x5A);
    if (built) {
        FUZZ_CHECK(record->text.dataOffset > kUtf8BomSize);
        FUZZ_CHECK(record->text.dataOffset < record->text.newFileSize);
        FUZZ_CHECK(record->text.newFileSize <= kRecordBytesCapacity);
        std::vector<std::wstring> cells;
        FUZZ_CHECK(SplitLine(record->text.header, cells));
        FUZZ_CHECK(cells.size() == static_cast<size_t>(param_count) + 3);
        for (int32_t i = 0; i < param_count; ++i)
            FUZZ_CHECK(cells[2 + i] == labels[i]);
        cells.clear();
        FUZZ_CHECK(SplitLine(record->text.data, cells));
        FUZZ_CHECK(cells.size() == static_cast<size_t>(param_count) + 3);
        FUZZ_CHECK(cells[1] == name);
        FUZZ_CHECK(cells.back() == report);
    } else {
        // Only texts beyond the sizes the buffers promise may be refused.
        FUZZ_CHECK(long_texts);
    }

    // Each line at a fuzzed capacity: terminated, guarded, and either whole
    // (the same line as above) or refused.
    const int32_t capacity = data.ConsumeIntegralInRange<int32_t>(1, 2 * kRecordDataCapacity);
    fuzz::GuardedText header(capacity);
    const int32_t header_length = BuildHeaderLine(tool, header.data(), capacity);
    header.CheckTerminatedAndGuarded();
    if (header_length >= 0 && built) FUZZ_CHECK(header.Text() == record->text.header);
    fuzz::GuardedText line(capacity);
    const int32_t data_length =
        BuildDataLine(tool, values, report.c_str(), time, line.data(), capacity);
    line.CheckTerminatedAndGuarded();
    if (data_length >= 0 && built) FUZZ_CHECK(line.Text() == record->text.data);
    if (data_length >= 0) FUZZ_CHECK(static_cast<int32_t>(line.Text().size()) == data_length);
    return 0;
}
