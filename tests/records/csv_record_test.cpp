#include "records/csv_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/utf8.h"

namespace {

constexpr RecordTime kMoment{2026, 3, 5, 7, 8, 9};
constexpr double kDefaults[kMaxParams] = {8.0, 7.0};
constexpr wchar_t kGuard = L'\x7777';

// A line buffer of the given capacity with guard characters behind it.
struct LineBuffer {
    explicit LineBuffer(int32_t capacity_)
        : capacity(capacity_), storage(static_cast<size_t>(capacity_) + 8, kGuard) {}
    wchar_t* data() { return storage.data(); }
    std::wstring Text() const { return std::wstring(storage.data()); }
    bool GuardsIntact() const {
        for (size_t i = static_cast<size_t>(capacity); i < storage.size(); ++i) {
            if (storage[i] != kGuard) return false;
        }
        return true;
    }
    int32_t capacity;
    std::vector<wchar_t> storage;
};

std::wstring DataLine(const ToolDef& tool, const double* values, const std::wstring& report) {
    LineBuffer line(kRecordDataCapacity);
    const int32_t length =
        BuildDataLine(tool, values, report.c_str(), kMoment, line.data(), line.capacity);
    EXPECT_EQ(length, static_cast<int32_t>(line.Text().size()));
    EXPECT_TRUE(line.GuardsIntact());
    return line.Text();
}

std::wstring HeaderLine(const ToolDef& tool) {
    LineBuffer line(kRecordHeaderCapacity);
    const int32_t length = BuildHeaderLine(tool, line.data(), line.capacity);
    EXPECT_EQ(length, static_cast<int32_t>(line.Text().size()));
    EXPECT_TRUE(line.GuardsIntact());
    return line.Text();
}

// A one-parameter tool whose name and label are the given texts.
struct OneParamTool {
    OneParamTool(std::wstring name_, std::wstring label_)
        : name(std::move(name_)), label(std::move(label_)) {
        param = ParamDef{"x", label.c_str(), nullptr, 0.0};
        tool = ToolDef{7, name.c_str(), nullptr, L"",     L"", nullptr, 1, &param,
                       0, nullptr,      0,       nullptr, 0};
    }
    std::wstring name;
    std::wstring label;
    ParamDef param{};
    ToolDef tool{};
};

// --- the built-in tool -----------------------------------------------------

TEST(RecordLinesOfTheBuiltinTool, HeaderNamesTimeToolEveryLabelAndResult) {
    EXPECT_EQ(HeaderLine(GetBuiltinTool()), L"时间,工具,护士人数,排班天数,结果\r\n");
}

TEST(RecordLinesOfTheBuiltinTool, DataLineHoldsStampNameParametersAndResult) {
    EXPECT_EQ(DataLine(GetBuiltinTool(), kDefaults, L"白班 D 夜班 N 休息 R"),
              L"2026-03-05 07:08:09,护理排班表生成,护士人数=8,排班天数=7,白班 D 夜班 N 休息 R\r\n");
}

TEST(RecordLinesOfTheBuiltinTool, TimestampFieldsArePaddedToTheirWidth) {
    LineBuffer line(kRecordDataCapacity);
    BuildDataLine(GetBuiltinTool(), kDefaults, L"r", RecordTime{987, 12, 31, 23, 59, 0},
                  line.data(), line.capacity);
    EXPECT_EQ(line.Text().substr(0, 20), L"0987-12-31 23:59:00,");
}

// --- values ------------------------------------------------------------------

struct ValueCase {
    double value;
    const wchar_t* cell;
};

constexpr ValueCase kValueCases[] = {
    {8.0, L"护士人数=8"},       {0.25, L"护士人数=0.25"},
    {1e-05, L"护士人数=1e-05"}, {1234567.0, L"护士人数=1.23457e+06"},
    {-3.5, L"护士人数=-3.5"},   {0.0, L"护士人数=0"},
};

TEST(RecordValues, PrintWithSixSignificantDigitsInShortestForm) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(c.value);
        const double values[kMaxParams] = {c.value, 7.0};
        EXPECT_EQ(
            DataLine(GetBuiltinTool(), values, L"r"),
            std::wstring(L"2026-03-05 07:08:09,护理排班表生成,") + c.cell + L",排班天数=7,r\r\n");
    }
}

// --- the result cell ---------------------------------------------------------

std::wstring ResultCell(const std::wstring& report) {
    const std::wstring line = DataLine(GetBuiltinTool(), kDefaults, report);
    const std::wstring prefix = L"2026-03-05 07:08:09,护理排班表生成,护士人数=8,排班天数=7,";
    EXPECT_EQ(line.substr(0, prefix.size()), prefix);
    EXPECT_EQ(line.substr(line.size() - 2), L"\r\n");
    return line.substr(prefix.size(), line.size() - prefix.size() - 2);
}

// A report longer than the window keeps is never written cut.
TEST(RecordResultCell, HoldsTheWholeReportAndRefusesALongerOne) {
    const std::wstring longest(kRecordResultUnits, L'班');
    EXPECT_EQ(ResultCell(longest), longest);
    EXPECT_EQ(ResultCell(L""), L"");
    LineBuffer data(kRecordDataCapacity);
    EXPECT_EQ(BuildDataLine(GetBuiltinTool(), kDefaults, (longest + L"X").c_str(), kMoment,
                            data.data(), data.capacity),
              -1);
    EXPECT_TRUE(data.GuardsIntact());
}

// --- quoting -------------------------------------------------------------------

struct QuotingCase {
    const wchar_t* text;
    const wchar_t* cell;
    const wchar_t* valueCell;  // the text as a label, with "=2.5" after it
};

constexpr QuotingCase kQuotingCases[] = {
    {L"白班 D；夜班 N（共 7 天）", L"白班 D；夜班 N（共 7 天）", L"白班 D；夜班 N（共 7 天）=2.5"},
    {L"a,b", L"\"a,b\"", L"\"a,b=2.5\""},
    {L"他说\"好\"", L"\"他说\"\"好\"\"\"", L"\"他说\"\"好\"\"=2.5\""},
    {L"\"", L"\"\"\"\"", L"\"\"\"=2.5\""},
    {L"第一行\r第二行", L"\"第一行\r第二行\"", L"\"第一行\r第二行=2.5\""},
    {L"第一行\n第二行", L"\"第一行\n第二行\"", L"\"第一行\n第二行=2.5\""},
    {L"规则：D/N/R\r\n护士 1,D,N\r\n", L"\"规则：D/N/R\r\n护士 1,D,N\r\n\"",
     L"\"规则：D/N/R\r\n护士 1,D,N\r\n=2.5\""},
    {L"，全角逗号与“全角引号”", L"，全角逗号与“全角引号”", L"，全角逗号与“全角引号”=2.5"},
};

TEST(RecordQuoting, ResultCellIsQuotedWhenItHoldsCommaQuoteCrOrLf) {
    for (const QuotingCase& c : kQuotingCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(std::wstring(c.text).size()));
        EXPECT_EQ(ResultCell(c.text), c.cell);
    }
}

TEST(RecordQuoting, ToolNameAndLabelsAreQuotedTheSameWay) {
    for (const QuotingCase& c : kQuotingCases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(std::wstring(c.text).size()));
        OneParamTool custom(c.text, c.text);
        const double values[kMaxParams] = {2.5};
        EXPECT_EQ(HeaderLine(custom.tool), std::wstring(L"时间,工具,") + c.cell + L",结果\r\n");
        EXPECT_EQ(DataLine(custom.tool, values, L"r"),
                  std::wstring(L"2026-03-05 07:08:09,") + c.cell + L"," + c.valueCell + L",r\r\n");
    }
}

TEST(RecordQuoting, TheBuiltinToolsRealReportStaysOneCell) {
    const std::wstring report = L"轮转规则：白班 D → 夜班 N → 休息 R\r\n护士 1  D N R\r\n";
    EXPECT_EQ(ResultCell(report), L"\"" + report + L"\"");
}

// --- bytes -------------------------------------------------------------------

std::string Utf8(const std::wstring& text) {
    std::string out(static_cast<size_t>(text.size()) * 4, '\0');
    const int64_t n = WideToUtf8(text.c_str(), static_cast<int64_t>(text.size()), out.data(),
                                 static_cast<int64_t>(out.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}

TEST(RecordBytes, NewFileIsBomHeaderAndDataLineAndAnAppendIsTheDataLineAlone) {
    auto text = std::make_unique<RecordText>();
    ASSERT_TRUE(BuildRecordText(GetBuiltinTool(), kDefaults, L"甲,乙\r\n", kMoment, text.get()));
    const std::string header = "\xEF\xBB\xBF" + Utf8(L"时间,工具,护士人数,排班天数,结果") + "\r\n";
    const std::string data =
        Utf8(L"2026-03-05 07:08:09,护理排班表生成,护士人数=8,排班天数=7,\"甲,乙") + "\r\n\"\r\n";
    EXPECT_EQ(std::string(text->bytes, static_cast<size_t>(text->newFileSize)), header + data);
    EXPECT_EQ(text->dataOffset, static_cast<int64_t>(header.size()));
    EXPECT_EQ(std::string(text->bytes + text->dataOffset,
                          static_cast<size_t>(text->newFileSize - text->dataOffset)),
              data);
}

TEST(RecordBytes, ExactBytesOfTheBuiltinLinesEndInCrLf) {
    auto text = std::make_unique<RecordText>();
    ASSERT_TRUE(BuildRecordText(GetBuiltinTool(), kDefaults, L"R", kMoment, text.get()));
    const std::string expected =
        "\xEF\xBB\xBF"
        "\xE6\x97\xB6\xE9\x97\xB4,\xE5\xB7\xA5\xE5\x85\xB7,"  // 时间,工具,
        "\xE6\x8A\xA4\xE5\xA3\xAB\xE4\xBA\xBA\xE6\x95\xB0,"   // 护士人数,
        "\xE6\x8E\x92\xE7\x8F\xAD\xE5\xA4\xA9\xE6\x95\xB0,"   // 排班天数,
        "\xE7\xBB\x93\xE6\x9E\x9C\r\n"                        // 结果
        "2026-03-05 07:08:09,"
        "\xE6\x8A\xA4\xE7\x90\x86\xE6\x8E\x92\xE7\x8F\xAD\xE8\xA1\xA8\xE7\x94\x9F\xE6\x88\x90,"
        "\xE6\x8A\xA4\xE5\xA3\xAB\xE4\xBA\xBA\xE6\x95\xB0=8,"
        "\xE6\x8E\x92\xE7\x8F\xAD\xE5\xA4\xA9\xE6\x95\xB0=7,R\r\n";
    EXPECT_EQ(std::string(text->bytes, static_cast<size_t>(text->newFileSize)), expected);
}

// --- limits --------------------------------------------------------------------

// A tool of kMaxParams parameters whose name and labels are all one text.
struct WideTool {
    explicit WideTool(std::wstring text_, int32_t param_count = kMaxParams)
        : text(std::move(text_)), params(static_cast<size_t>(param_count)) {
        for (ParamDef& p : params)
            p = ParamDef{"x", text.c_str(), nullptr, 0.0};
        tool =
            ToolDef{187, text.c_str(), nullptr, L"",     L"", nullptr, param_count, params.data(),
                    0,   nullptr,      0,       nullptr, 1};
    }
    std::wstring text;
    std::vector<ParamDef> params;
    ToolDef tool{};
};

TEST(RecordLimits, LongestTextsTheBuffersAreSizedForFitWithEveryUnitQuoted) {
    WideTool worst(std::wstring(kRecordTextUnits, L'"'));
    const double values[kMaxParams] = {-1.7976931348623157e308, -2.2250738585072014e-308};
    auto text = std::make_unique<RecordText>();
    const std::wstring report(kRecordResultUnits, L'"');
    ASSERT_TRUE(BuildRecordText(worst.tool, values, report.c_str(), kMoment, text.get()));
    EXPECT_GT(text->newFileSize, text->dataOffset);
    const std::wstring data = text->data;
    EXPECT_NE(data.find(L"=-1.79769e+308\""), std::wstring::npos);
    EXPECT_EQ(data.substr(data.size() - 2 - (2 * report.size() + 2)),
              L"\"" + report + report + L"\"\r\n");
}

TEST(RecordLimits, LineThatDoesNotFitIsReportedCutAndNeverOverflows) {
    WideTool huge(std::wstring(2000, L'长'));
    LineBuffer header(kRecordHeaderCapacity);
    EXPECT_EQ(BuildHeaderLine(huge.tool, header.data(), header.capacity), -1);
    EXPECT_TRUE(header.GuardsIntact());
    LineBuffer data(kRecordDataCapacity);
    EXPECT_EQ(BuildDataLine(huge.tool, kDefaults, L"r", kMoment, data.data(), data.capacity), -1);
    EXPECT_TRUE(data.GuardsIntact());

    auto text = std::make_unique<RecordText>();
    EXPECT_FALSE(BuildRecordText(huge.tool, kDefaults, L"r", kMoment, text.get()));
    EXPECT_EQ(text->newFileSize, 0);
}

TEST(RecordLimits, SmallBufferCutsAndStaysTerminated) {
    for (int32_t capacity : {1, 2, 10, 20}) {
        SCOPED_TRACE(capacity);
        LineBuffer data(capacity);
        EXPECT_EQ(BuildDataLine(GetBuiltinTool(), kDefaults, L"r", kMoment, data.data(), capacity),
                  -1);
        EXPECT_TRUE(data.GuardsIntact());
        EXPECT_LT(data.Text().size(), static_cast<size_t>(capacity));
        LineBuffer header(capacity);
        EXPECT_EQ(BuildHeaderLine(GetBuiltinTool(), header.data(), capacity), -1);
        EXPECT_TRUE(header.GuardsIntact());
    }
}

TEST(RecordLimits, MoreParametersThanTheWindowKeepsRecordOnlyItsSixteen) {
    WideTool many(L"p", kMaxParams + 4);
    std::wstring expected_header = L"时间,工具";
    for (int32_t i = 0; i < kMaxParams; ++i)
        expected_header += L",p";
    EXPECT_EQ(HeaderLine(many.tool), expected_header + L",结果\r\n");
    const double values[kMaxParams] = {};
    const std::wstring data = DataLine(many.tool, values, L"r");
    EXPECT_EQ(std::count(data.begin(), data.end(), L','), 2 + kMaxParams);
}

}  // namespace
