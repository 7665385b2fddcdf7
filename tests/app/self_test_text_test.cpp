#include "app/self_test_text.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/bounded_text.h"

namespace {

constexpr wchar_t kGuard = L'\x2603';

// What the rota of the built-in tool's defaults (8 nurses, 7 days) reads,
// flattened: label lines and row lines, each ending where its LF was.
std::wstring DefaultRotaFlattened() {
    static const wchar_t* const kRows[3] = {
        L"  1日D 2日R 3日N 4日D 5日R 6日N 7日D ",
        L"  1日N 2日D 3日R 4日N 5日D 6日R 7日N ",
        L"  1日R 2日N 3日D 4日R 5日N 6日D 7日R ",
    };
    std::wstring text =
        L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。 "
        L"人员：8 人；周期：7 天  ";
    for (int i = 0; i < 8; ++i) {
        wchar_t label[16];
        FormatText(label, 16, L"护士%02d：", i + 1);
        text += label;
        text += L" ";
        text += kRows[i % 3];
        text += L" ";
    }
    text += L" 提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。 ";
    return text;
}

TEST(SelfTestText, BuiltInToolGivesSixLines) {
    static wchar_t text[kSelfTestTextCapacity];
    EXPECT_EQ(0, ComposeSelfTestText(GetBuiltinTool(), text, kSelfTestTextCapacity));
    const std::wstring expected =
        L"TOOL|187|护理排班表生成|护理管理\r\n"
        L"LEVEL|0\r\n"
        L"OUT|报告文本|见 DETAIL|\r\n"
        L"VERDICT|已生成轮转排班表，可复制到排班本或表格\r\n"
        L"DETAIL|" +
        DefaultRotaFlattened() +
        L"\r\n"
        L"ERRORS|0\r\n";
    EXPECT_EQ(expected, text);
    EXPECT_LT(std::wstring(text).size(), 600u);
}

TEST(SelfTestText, DetailFlattening) {
    struct Case {
        const wchar_t* report;
        const wchar_t* detail;
    };
    constexpr Case kCases[] = {
        {L"", L""},
        {L"a\r\nb\r\n", L"a b "},
        {L"a\nb", L"a b"},
        {L"\r\r\r", L""},
        {L"a\r\n\r\nb", L"a  b"},
        {L"|x|\t", L"|x|\t"},  // other characters stay as they are
    };
    for (const Case& c : kCases) {
        wchar_t text[64];
        ClearText(text, 64);
        AppendFlattenedReport(text, 64, c.report, kDetailMaxCharacters);
        EXPECT_EQ(std::wstring(c.detail), text);
    }
}

TEST(SelfTestText, DetailIsCutAt8000CharactersNotCountingCRs) {
    std::wstring report;
    for (int i = 0; i < 3000; ++i)
        report += L"ab\r\n";  // 9000 counted characters
    static wchar_t text[kSelfTestTextCapacity];
    ClearText(text, kSelfTestTextCapacity);
    AppendFlattenedReport(text, kSelfTestTextCapacity, report.c_str(), kDetailMaxCharacters);
    std::wstring expected;
    for (int i = 0; i < 2666; ++i)
        expected += L"ab ";
    expected += L"ab";
    EXPECT_EQ(8000u, expected.size());
    EXPECT_EQ(expected, text);
}

// Cut by the character limit, then by the room left: the pair goes whole or not at all.
TEST(SelfTestText, DetailCutNeverSplitsASurrogatePair) {
    if constexpr (sizeof(wchar_t) != 2) GTEST_SKIP() << "a wchar_t holds a whole character here";
    const std::wstring report = {L'a', L'\r', L'\n', wchar_t(0xD83D), wchar_t(0xDE00)};
    for (const int32_t capacity : {8, 4}) {
        wchar_t text[8];
        ClearText(text, capacity);
        AppendFlattenedReport(text, capacity, report.c_str(), capacity == 8 ? 3 : 8000);
        EXPECT_EQ(std::wstring(L"a "), text) << capacity;
    }
}

constexpr ParamDef kParams[] = {{"x", L"体重", L"kg", 50.0}};
constexpr OutputDef kOutputs[] = {
    {"a", L"剂量", L"mg", "x*2", "f1"},
    {"b", L"加一", nullptr, "a+1", "f0"},  // reads 0 for a here, 101 in the report
    {"c", L"未知", L"", "nosuchname", "f2"},
    {"d", L"除零", L"次", "1/0", "f2"},
};
constexpr VerdictRule kRules[] = {{"a>50", 1, L"偏高"}};
constexpr ToolDef kFormulaTool = {
    902, L"测试工具", nullptr, L"测试", L"无", nullptr, 1, kParams, 4, kOutputs, 1, kRules, 0,
};

TEST(SelfTestText, FormulaToolEvaluatesEachOutputOnItsOwn) {
    static wchar_t text[kSelfTestTextCapacity];
    const int32_t errors = ComposeSelfTestText(kFormulaTool, text, kSelfTestTextCapacity);
    EXPECT_EQ(2, errors);
    EXPECT_EQ(std::wstring(L"TOOL|902|测试工具|测试\r\n"
                           L"LEVEL|1\r\n"
                           L"OUT|剂量|100.0|mg\r\n"
                           L"OUT|加一|1|\r\n"
                           L"OUT|未知|0.00|\r\n"
                           L"OUT|除零|0.00|次\r\n"
                           L"VERDICT|偏高\r\n"
                           L"DETAIL|剂量：100.0 mg 加一：101 未知：0.00 除零：0.00 次 "
                           L"（部分结果无法计算，请检查输入是否合理） \r\n"
                           L"ERRORS|2\r\n"),
              text);
}

TEST(SelfTestText, FormulaToolWithoutOutputsHasNoOutLine) {
    constexpr ToolDef kEmptyTool = {
        903, L"空", nullptr, L"测试", L"无", nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0,
    };
    wchar_t text[256];
    EXPECT_EQ(0, ComposeSelfTestText(kEmptyTool, text, 256));
    EXPECT_EQ(std::wstring(L"TOOL|903|空|测试\r\n"
                           L"LEVEL|0\r\n"
                           L"VERDICT|请核对输入参数后重新计算\r\n"
                           L"DETAIL|\r\n"
                           L"ERRORS|0\r\n"),
              text);
}

// Too long for the buffer: the earlier lines give way, the DETAIL line still
// ends its line and the ERRORS line stands whole at the end.
TEST(SelfTestText, ShortenedTextKeepsItsLastLine) {
    std::wstring report(9000, L'r');
    wchar_t text[101];
    text[100] = kGuard;
    BuildSelfTestText(GetBuiltinTool(), nullptr, 0, L"v", report.c_str(), text, 100);
    const std::wstring built = text;
    EXPECT_EQ(
        L"TOOL|187|护理排班表生成|护理管理\r\n"
        L"LEVEL|0\r\n"
        L"OUT|报告文本|见 DETAIL|\r\n"
        L"VERDICT|v\r\n"
        L"DETAIL|" +
            std::wstring(13, L'r') +
            L"\r\n"
            L"ERRORS|0\r\n",
        built);
    EXPECT_EQ(kGuard, text[100]);
}

TEST(SelfTestText, ExitCodes) {
    EXPECT_EQ(0, SelfTestExitCode(0, true));
    EXPECT_EQ(2, SelfTestExitCode(1, true));
    EXPECT_EQ(2, SelfTestExitCode(16, true));
    EXPECT_EQ(3, SelfTestExitCode(0, false));
    EXPECT_EQ(3, SelfTestExitCode(2, false));
}

}  // namespace
