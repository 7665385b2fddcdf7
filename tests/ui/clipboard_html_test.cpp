#include "ui/clipboard_html.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "ui/clipboard_html_win32.h"
#endif

namespace {

constexpr char kGuardByte = '\x5A';
constexpr size_t kGuardCount = 16;

struct Payload {
    int64_t result;
    std::string bytes;  // the first result bytes written (empty on failure)
    bool guards_intact;
};

Payload Build(const ToolDef& tool, const double* values, const wchar_t* report,
              const wchar_t* verdict, int64_t capacity = kClipboardHtmlCapacity) {
    std::string storage(static_cast<size_t>(capacity) + kGuardCount, kGuardByte);
    const int64_t result =
        BuildClipboardHtml(tool, values, report, verdict, storage.data(), capacity);
    bool guards_intact = true;
    for (size_t i = static_cast<size_t>(capacity); i < storage.size(); ++i) {
        if (storage[i] != kGuardByte) guards_intact = false;
    }
    const size_t size = result > 0 ? static_cast<size_t>(result) : 0;
    return {result, storage.substr(0, size), guards_intact};
}

struct Offsets {
    int64_t start_html;
    int64_t end_html;
    int64_t start_fragment;
    int64_t end_fragment;
};

// Reads the value after "name:" in the header; -1 when absent.
int64_t HeaderValue(const std::string& payload, const std::string& name) {
    const size_t at = payload.find(name + ":");
    if (at == std::string::npos) return -1;
    return std::strtoll(payload.c_str() + at + name.size() + 1, nullptr, 10);
}

Offsets ReadOffsets(const std::string& payload) {
    return {HeaderValue(payload, "StartHTML"), HeaderValue(payload, "EndHTML"),
            HeaderValue(payload, "StartFragment"), HeaderValue(payload, "EndFragment")};
}

std::string Fragment(const std::string& payload) {
    const Offsets o = ReadOffsets(payload);
    return payload.substr(static_cast<size_t>(o.start_fragment),
                          static_cast<size_t>(o.end_fragment - o.start_fragment));
}

constexpr ParamDef kRotaParams[] = {
    {"nurses", L"护士人数", L"人", 8.0},
    {"days", L"排班天数", L"天", 7.0},
};

ToolDef RotaTool() {
    return ToolDef{187, L"护理排班表生成", nullptr, L"护理", L"排班", nullptr, 2, kRotaParams,
                   0,   nullptr,           0,       nullptr, 1};
}

constexpr char kRuleParagraph[] =
    "<p>排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。</p>\r\n";
constexpr char kHintParagraph[] =
    "<p>提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。</p>\r\n";

// The head row written out independently of the code under test.
std::string RotaHeadRow(int32_t days) {
    std::string row = "<tr><th>姓名</th>";
    for (int32_t day = 1; day <= days; ++day) {
        row += "<th>" + std::to_string(day) + "日</th>";
    }
    return row + "<th>白班</th><th>夜班</th><th>休息</th></tr>\r\n";
}

// Nurse i's shift on day j is (i - j) mod 3 in D, N, R: the same rotation as
// the report's (i + 2j) mod 3, written the other way round.
std::string RotaNurseRow(int32_t nurse_index, int32_t days) {
    const int32_t number = nurse_index + 1;
    std::string row =
        "<tr><td>护士" + std::string(number < 10 ? "0" : "") + std::to_string(number) + "</td>";
    int counts[3] = {};
    for (int32_t day_index = 0; day_index < days; ++day_index) {
        const int shift = ((nurse_index - day_index) % 3 + 3) % 3;
        ++counts[shift];
        row += std::string("<td>") + "DNR"[shift] + "</td>";
    }
    for (int count : counts) {
        row += "<td>" + std::to_string(count) + "</td>";
    }
    return row + "</tr>\r\n";
}

// Under the grid, per shift, how many nurses have it on each day.
std::string RotaStaffingRows(int32_t nurses, int32_t days) {
    std::string rows;
    const char* heads[] = {"白班人数", "夜班人数", "休息人数"};
    for (int shift = 0; shift < 3; ++shift) {
        rows += std::string("<tr><td>") + heads[shift] + "</td>";
        for (int32_t day_index = 0; day_index < days; ++day_index) {
            int count = 0;
            for (int32_t i = 0; i < nurses; ++i)
                count += ((i - day_index) % 3 + 3) % 3 == shift;
            rows += "<td>" + std::to_string(count) + "</td>";
        }
        rows += "</tr>\r\n";
    }
    return rows;
}

std::string RotaFragment(int32_t nurses, int32_t days) {
    std::string fragment = std::string(kRuleParagraph) + "<table>\r\n" + RotaHeadRow(days);
    for (int32_t i = 0; i < nurses; ++i) {
        fragment += RotaNurseRow(i, days);
    }
    return fragment + RotaStaffingRows(nurses, days) + "</table>\r\n" + kHintParagraph;
}

// --- The rota grid ---

TEST(ClipboardHtmlRota, ThreeNursesFourDaysCellByCell) {
    const double values[kMaxParams] = {3.0, 4.0};
    const Payload p = Build(RotaTool(), values, L"(report text is not read)", L"");
    ASSERT_GT(p.result, 0);
    EXPECT_EQ(
        Fragment(p.bytes),
        "<p>排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。"
        "</p>\r\n"
        "<table>\r\n"
        "<tr><th>姓名</th><th>1日</th><th>2日</th><th>3日</th><th>4日</th>"
        "<th>白班</th><th>夜班</th><th>休息</th></tr>\r\n"
        "<tr><td>护士01</td><td>D</td><td>R</td><td>N</td><td>D</td>"
        "<td>2</td><td>1</td><td>1</td></tr>\r\n"
        "<tr><td>护士02</td><td>N</td><td>D</td><td>R</td><td>N</td>"
        "<td>1</td><td>2</td><td>1</td></tr>\r\n"
        "<tr><td>护士03</td><td>R</td><td>N</td><td>D</td><td>R</td>"
        "<td>1</td><td>1</td><td>2</td></tr>\r\n"
        "<tr><td>白班人数</td><td>1</td><td>1</td><td>1</td><td>1</td></tr>\r\n"
        "<tr><td>夜班人数</td><td>1</td><td>1</td><td>1</td><td>1</td></tr>\r\n"
        "<tr><td>休息人数</td><td>1</td><td>1</td><td>1</td><td>1</td></tr>\r\n"
        "</table>\r\n"
        "<p>提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。</p>\r\n");
    EXPECT_TRUE(p.guards_intact);
}

TEST(ClipboardHtmlRota, GridFollowsTheClampedSize) {
    struct Case {
        const char* trace;
        double nurses;
        double days;
        int32_t expected_nurses;
        int32_t expected_days;
    };
    const Case cases[] = {
        {"largest rota", 40, 31, 40, 31},
        {"above the limits", 99, 99, 40, 31},
        {"zero counts", 0, 0, 1, 1},
        {"fractions truncate", 8.9, 7.9, 8, 7},
        {"too large for int32", 1e10, 5, 1, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        const double values[kMaxParams] = {c.nurses, c.days};
        const Payload p = Build(RotaTool(), values, L"", L"");
        ASSERT_GT(p.result, 0);
        EXPECT_EQ(Fragment(p.bytes), RotaFragment(c.expected_nurses, c.expected_days));
        EXPECT_TRUE(p.guards_intact);
    }
}

TEST(ClipboardHtmlRota, LargestRotaIsWholeAndFitsTheNamedCapacity) {
    const double values[kMaxParams] = {40.0, 31.0};
    const Payload p = Build(RotaTool(), values, L"", L"");
    ASSERT_GT(p.result, 0);
    EXPECT_LT(p.result, kClipboardHtmlCapacity / 4);
    const std::string fragment = Fragment(p.bytes);
    EXPECT_NE(fragment.find(RotaNurseRow(39, 31) + "<tr><td>白班人数</td>"), std::string::npos);
    // Nurse 40 rotates like nurse 1: 11 day shifts, 10 nights, 10 rest days.
    EXPECT_NE(fragment.find("<td>护士40</td><td>D</td><td>R</td><td>N</td>"), std::string::npos);
    EXPECT_NE(fragment.find("<td>D</td><td>11</td><td>10</td><td>10</td></tr>"), std::string::npos);
}

// --- Formula tool ---

constexpr ParamDef kXParam[] = {{"x", L"甲", L"mg", 3.0}};

TEST(ClipboardHtmlFormula, RowsOfLabelValueUnitThenVerdictAllEscaped) {
    struct Case {
        const char* trace;
        OutputDef outputs[2];
        int32_t output_count;
        const wchar_t* verdict;
        const char* fragment;
    };
    const Case cases[] = {
        {"markup characters in label, unit and verdict",
         {{"a", L"剂量<&>", L"m<g>&", "x*2", "f1"}},
         1,
         L"注意 <b>&amp;\"引号\"",
         "<table>\r\n"
         "<tr><td>剂量&lt;&amp;&gt;</td><td>6.0</td><td>m&lt;g&gt;&amp;</td></tr>\r\n"
         "<tr><td>注意 &lt;b&gt;&amp;amp;\"引号\"</td></tr>\r\n"
         "</table>\r\n"},
        {"no unit gives an empty cell; value through its format code",
         {{"a", L"比例", nullptr, "x/2", "pct"}, {"b", L"整数", L"", "a+1.2", "int"}},
         2,
         L"正常",
         "<table>\r\n"
         "<tr><td>比例</td><td>1.5%</td><td></td></tr>\r\n"
         "<tr><td>整数</td><td>3</td><td></td></tr>\r\n"
         "<tr><td>正常</td></tr>\r\n"
         "</table>\r\n"},
        {"a failed output keeps the report's warning row",
         {{"a", L"甲值", L"mg", "", "f2"}, {"b", L"乙值", L"mg", "1/0", "f2"}},
         2,
         L"请核对输入参数后重新计算",
         "<table>\r\n"
         "<tr><td>甲值</td><td>0.00</td><td>mg</td></tr>\r\n"
         "<tr><td>乙值</td><td>0.00</td><td>mg</td></tr>\r\n"
         "<tr><td>（部分结果无法计算，请检查输入是否合理）</td></tr>\r\n"
         "<tr><td>请核对输入参数后重新计算</td></tr>\r\n"
         "</table>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        const ToolDef tool{900,     L"测试",        nullptr,   L"测试", L"无",   nullptr, 1,
                           kXParam, c.output_count, c.outputs, 0,       nullptr, 0};
        const double values[kMaxParams] = {3.0};
        const Payload p = Build(tool, values, L"(report text is not read)", c.verdict);
        ASSERT_GT(p.result, 0);
        EXPECT_EQ(Fragment(p.bytes), c.fragment);
        EXPECT_TRUE(p.guards_intact);
    }
}

// --- Other generators: the report's lines ---

TEST(ClipboardHtmlReportLines, OneRowOfOneCellPerLine) {
    struct Case {
        const char* trace;
        int32_t kind;
        const wchar_t* report;
        const char* fragment;
    };
    const Case cases[] = {
        {"lines, an empty one kept, markup escaped", 3, L"采血顺序\r\n\r\n1. <蓝头> & 红头\r\n",
         "<table>\r\n<tr><td>采血顺序</td></tr>\r\n<tr><td></td></tr>\r\n"
         "<tr><td>1. &lt;蓝头&gt; &amp; 红头</td></tr>\r\n</table>\r\n"},
        {"placeholder report without a line break", 12, L"（该工具暂无自定义报告）",
         "<table>\r\n<tr><td>（该工具暂无自定义报告）</td></tr>\r\n</table>\r\n"},
        {"report cut after its CR", 7, L"第一行\r\n第二行\r",
         "<table>\r\n<tr><td>第一行</td></tr>\r\n<tr><td>第二行</td></tr>\r\n</table>\r\n"},
        {"character outside the BMP", 9, L"交班\U0001F600\r\n",
         "<table>\r\n<tr><td>交班\xF0\x9F\x98\x80</td></tr>\r\n</table>\r\n"},
        {"empty report", 5, L"", "<table>\r\n</table>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trace);
        const ToolDef tool{900,     L"测试", nullptr, L"测试", L"无",   nullptr, 0,
                           nullptr, 0,       nullptr, 0,       nullptr, c.kind};
        const Payload p = Build(tool, nullptr, c.report, L"verdict is not read");
        ASSERT_GT(p.result, 0);
        EXPECT_EQ(Fragment(p.bytes), c.fragment);
        EXPECT_TRUE(p.guards_intact);
    }
}

// --- Header and capacity ---

TEST(ClipboardHtmlHeader, OffsetsCountUtf8BytesAndPointAtTheMarkers) {
    const double values[kMaxParams] = {3.0, 4.0};
    const Payload p = Build(RotaTool(), values, L"", L"");
    ASSERT_GT(p.result, 0);
    // The fragment is mostly Chinese: bytes, not characters, must be counted.
    const int64_t fragment_bytes = static_cast<int64_t>(RotaFragment(3, 4).size());
    const Offsets o = ReadOffsets(p.bytes);
    EXPECT_EQ(o.start_html, 105);
    EXPECT_EQ(o.start_fragment, 139);
    EXPECT_EQ(o.end_fragment, 139 + fragment_bytes);
    EXPECT_EQ(o.end_html, 139 + fragment_bytes + 34);
    EXPECT_EQ(o.end_html, p.result);

    char header[160];
    std::snprintf(header, sizeof header,
                  "Version:0.9\r\nStartHTML:%010lld\r\nEndHTML:%010lld\r\n"
                  "StartFragment:%010lld\r\nEndFragment:%010lld\r\n",
                  static_cast<long long>(o.start_html), static_cast<long long>(o.end_html),
                  static_cast<long long>(o.start_fragment), static_cast<long long>(o.end_fragment));
    EXPECT_EQ(p.bytes.substr(0, 105), header);
    EXPECT_EQ(p.bytes.substr(105, 14), "<html><body>\r\n");
    EXPECT_EQ(p.bytes.substr(119, 20), "<!--StartFragment-->");
    EXPECT_EQ(p.bytes.substr(static_cast<size_t>(o.end_fragment)),
              "<!--EndFragment-->\r\n</body></html>");
}

TEST(ClipboardHtmlCapacity, TooSmallBufferFailsWithoutWritingPastIt) {
    const double values[kMaxParams] = {40.0, 31.0};
    const int64_t whole = Build(RotaTool(), values, L"", L"").result;
    ASSERT_GT(whole, 0);
    const int64_t capacities[] = {0, 1, 104, 105, 139, whole / 2, whole - 1};
    for (const int64_t capacity : capacities) {
        SCOPED_TRACE(capacity);
        const Payload p = Build(RotaTool(), values, L"", L"", capacity);
        EXPECT_EQ(p.result, -1);
        EXPECT_TRUE(p.guards_intact);
    }
    const Payload exact = Build(RotaTool(), values, L"", L"", whole);
    EXPECT_EQ(exact.result, whole);
    EXPECT_TRUE(exact.guards_intact);
}

TEST(ClipboardHtmlCapacity, NoBufferOrNegativeCapacityFails) {
    const double values[kMaxParams] = {3.0, 4.0};
    EXPECT_EQ(BuildClipboardHtml(RotaTool(), values, L"", L"", nullptr, 100), -1);
    char one[1] = {kGuardByte};
    EXPECT_EQ(BuildClipboardHtml(RotaTool(), values, L"", L"", one, -5), -1);
    EXPECT_EQ(one[0], kGuardByte);
}

// Leaves payloads beside the test's temporary files for the outside check
// (tests/ui/check_clipboard_html.py, which parses them with Python's parser).
TEST(ClipboardHtmlPayloadFiles, WritesRotaPayloadsForTheOutsideCheck) {
    const double sizes[][2] = {{3.0, 4.0}, {40.0, 31.0}};
    for (const auto& size : sizes) {
        const double values[kMaxParams] = {size[0], size[1]};
        const Payload p = Build(RotaTool(), values, L"", L"");
        ASSERT_GT(p.result, 0);
        const std::string path = ::testing::TempDir() + "clipboard_html_rota_" +
                                 std::to_string(static_cast<int>(size[0])) + "x" +
                                 std::to_string(static_cast<int>(size[1])) + ".bin";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr) << path;
        EXPECT_EQ(std::fwrite(p.bytes.data(), 1, p.bytes.size(), file), p.bytes.size());
        std::fclose(file);
        std::printf("payload written: %s\n", path.c_str());
    }
}

#ifdef _WIN32
TEST(ClipboardHtmlWin32, FormatIsRegisteredOnceUnderItsName) {
    const UINT format = HtmlClipboardFormat();
    EXPECT_GE(format, 0xC000u);
    EXPECT_EQ(HtmlClipboardFormat(), format);
    wchar_t name[32] = {};
    ASSERT_GT(GetClipboardFormatNameW(format, name, 32), 0);
    EXPECT_STREQ(name, L"HTML Format");
}

TEST(ClipboardHtmlWin32, MemoryHoldsThePayloadAndATerminator) {
    const double values[kMaxParams] = {40.0, 31.0};
    const Payload p = Build(RotaTool(), values, L"", L"");
    ASSERT_GT(p.result, 0);
    HGLOBAL memory = MakeHtmlClipboardData(p.bytes.data(), p.result);
    ASSERT_NE(memory, nullptr);
    EXPECT_GE(GlobalSize(memory), static_cast<SIZE_T>(p.result) + 1);
    const auto* data = static_cast<const char*>(GlobalLock(memory));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, static_cast<size_t>(p.result)), p.bytes);
    EXPECT_EQ(data[p.result], '\0');
    GlobalUnlock(memory);
    GlobalFree(memory);
    EXPECT_EQ(MakeHtmlClipboardData(nullptr, 10), nullptr);
    EXPECT_EQ(MakeHtmlClipboardData(p.bytes.data(), -1), nullptr);
}
#endif

}  // namespace
