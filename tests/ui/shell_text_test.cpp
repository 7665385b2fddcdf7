#include "ui/shell_text.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/compute.h"

namespace {

constexpr wchar_t kGuard = L'\x2603';

constexpr ParamDef kFormulaParams[] = {{"x", L"体重", L"kg", 60.0}};
constexpr OutputDef kFormulaOutputs[] = {{"a", L"剂量", L"mg", "x*2", "f1"}};
constexpr VerdictRule kFormulaRules[] = {{"a>100", 2, L"偏高"}, {"", 0, L"正常"}};
constexpr ToolDef kFormulaTool = {
    901, L"剂量计算",     nullptr, L"药学",       L"说明书", nullptr, 1, kFormulaParams,
    1,   kFormulaOutputs, 2,       kFormulaRules, 0,
};

TEST(ShellText, DefaultValuesInSixSignificantDigits) {
    struct Case {
        double value;
        const wchar_t* text;
    };
    constexpr Case kCases[] = {
        {8.0, L"8"}, {0.5, L"0.5"}, {1e6, L"1e+06"}, {123456.0, L"123456"}, {-2.25, L"-2.25"},
    };
    for (const Case& c : kCases) {
        wchar_t text[kDefaultValueTextCapacity];
        FormatDefaultValue(c.value, text, kDefaultValueTextCapacity);
        EXPECT_EQ(std::wstring(c.text), text);
    }
}

TEST(ShellText, FixedLinesOfTheBuiltInTool) {
    const ToolDef& tool = GetBuiltinTool();
    wchar_t text[kReferenceLineCapacity];
    BuildReferenceLine(tool, text, kReferenceLineCapacity);
    EXPECT_EQ(std::wstring(L"参考依据：科室排班常规：白班 D、夜班 N、休息 R 轮转"), text);
    BuildCaptionLine(tool, text, kCaptionLineCapacity);
    EXPECT_EQ(std::wstring(L"护理管理  \u00B7  按人数与天数生成三班轮转表"), text);
    BuildComputedStatus(tool, text, 256);
    EXPECT_EQ(std::wstring(L"计算完成  护理排班表生成"), text);
    // Without a subtitle the separator still stands.
    BuildCaptionLine(kFormulaTool, text, kCaptionLineCapacity);
    EXPECT_EQ(std::wstring(L"药学  \u00B7  "), text);
}

// The rota's own ranges are read in its refusal box end to end.
TEST(ShellText, InputErrorSaysWhatTheItemTakes) {
    constexpr IntParamRange kFromOne = {"gap", 1, kAnyIntHigh};
    constexpr IntParamRange kAnyWhole = {"bed", kAnyIntLow, kAnyIntHigh};
    wchar_t text[kInputErrorTextCapacity];
    BuildInputErrorText(1, L"剂量", nullptr, text, kInputErrorTextCapacity);
    EXPECT_EQ(std::wstring(L"第 2 项“剂量”请输入数字。"), text);
    BuildInputErrorText(1, L"间隔天数", &kFromOne, text, kInputErrorTextCapacity);
    EXPECT_EQ(std::wstring(L"第 2 项“间隔天数”请输入不小于 1 的整数。"), text);
    BuildInputErrorText(0, L"床号", &kAnyWhole, text, kInputErrorTextCapacity);
    EXPECT_EQ(std::wstring(L"第 1 项“床号”请输入整数。"), text);
}

TEST(ShellText, SaveOutcomesNameTheRecordFile) {
    struct Case {
        RecordSaveResult result;
        const wchar_t* text;
    };
    constexpr Case kCases[] = {
        {kRecordNotWritten, L"无法写入记录文件：D:\\r\\T187.csv\r\n本次结果未保存。"},
        {kRecordNotWrittenTorn,
         L"无法写入记录文件：D:\\r\\T187.csv\r\n本次结果未保存，记录文件的最后一行可能不完整。"},
        {kRecordTooLong,
         L"记录内容超出长度上限，无法写入记录文件：D:\\r\\T187.csv\r\n本次结果未保存。"},
        {kRecordNoAppDataFolder,
         L"找不到本机的应用数据文件夹，无法写入记录文件：D:\\r\\T187.csv\r\n本次结果未保存。"},
    };
    wchar_t text[kSaveFailedTextCapacity];
    for (const Case& c : kCases) {
        BuildSaveFailedText(c.result, L"D:\\r\\T187.csv", text, kSaveFailedTextCapacity);
        EXPECT_EQ(std::wstring(c.text), text);
    }
    BuildSavedStatus(L"D:\\r\\T187.csv", text, kSaveFailedTextCapacity);
    EXPECT_EQ(std::wstring(L"记录已保存：D:\\r\\T187.csv"), text);
}

TEST(ShellText, AboutBoxHasNineLines) {
    wchar_t text[kAboutTextCapacity];
    BuildAboutText(GetBuiltinTool(), text, kAboutTextCapacity);
    EXPECT_EQ(std::wstring(L"护理排班表生成\r\n"
                           L"\r\n"
                           L"分类：护理管理\r\n"
                           L"参考依据：科室排班常规：白班 D、夜班 N、休息 R 轮转\r\n"
                           L"\r\n"
                           L"本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
                           L"具体用药与处置请结合患者实际情况及本院规范执行。\r\n"
                           L"\r\n"
                           L"版本 V1.0    官网：www.tavomed.example"),
              text);
}

// A month's rota for the largest ward: the whole report reaches the copy text.
TEST(ShellText, CopyTextHoldsTheWholeRota) {
    const ToolDef& tool = GetBuiltinTool();
    const double values[kMaxParams] = {40.0, 31.0};
    static wchar_t report[8192];
    static wchar_t saved[8192];
    wchar_t verdict[512];
    int32_t level = -1;
    ComputeTool(tool, values, report, 8192, verdict, 512, &level, saved, 8192);
    const std::wstring whole = report;
    ASSERT_GT(whole.size(), 1023u);

    static wchar_t copy[8192 + 512 + 8 + 1];
    copy[8192 + 512 + 8] = kGuard;
    BuildCopyText(tool, report, verdict, copy, 8192 + 512 + 8);
    EXPECT_EQ(whole, copy);  // a generator's copy is its report, nothing added
    EXPECT_EQ(kGuard, copy[8192 + 512 + 8]);

    const int32_t length = ClipboardTextLength(tool, copy);
    EXPECT_EQ(static_cast<int32_t>(7 + 2 + whole.size()), length);
    static wchar_t clip[8192 + 600];
    clip[length + 1] = kGuard;
    BuildClipboardText(tool, copy, clip, length + 1);
    EXPECT_EQ(L"护理排班表生成\r\n" + whole, clip);
    EXPECT_EQ(kGuard, clip[length + 1]);
}

TEST(ShellText, FormulaToolCopyEndsWithTheVerdict) {
    wchar_t copy[256];
    BuildCopyText(kFormulaTool, L"剂量：120.0 mg\r\n", L"偏高", copy, 256);
    EXPECT_EQ(std::wstring(L"剂量：120.0 mg\r\n—— 偏高"), copy);

    wchar_t clip[256];
    BuildClipboardText(kFormulaTool, copy, clip, ClipboardTextLength(kFormulaTool, copy) + 1);
    EXPECT_EQ(std::wstring(L"剂量计算\r\n剂量：120.0 mg\r\n—— 偏高"), clip);
}

TEST(ShellText, ShortBuffersAreCutNeverOverflowed) {
    wchar_t copy[8];
    copy[7] = kGuard;
    BuildCopyText(kFormulaTool, L"剂量：120.0 mg\r\n", L"偏高", copy, 7);
    EXPECT_EQ(std::wstring(L"剂量：120"), copy);
    EXPECT_EQ(kGuard, copy[7]);

    wchar_t about[13];
    about[12] = kGuard;
    BuildAboutText(GetBuiltinTool(), about, 12);
    EXPECT_EQ(std::wstring(L"护理排班表生成\r\n\r\n"), about);
    EXPECT_EQ(kGuard, about[12]);
}

TEST(ShellText, WebAddressAndMaker) {
    EXPECT_EQ(std::wstring(L"www.tavomed.example"), kWebAddress);
    EXPECT_EQ(std::wstring(L"TavoMed"), kMakerName);
}

}  // namespace
