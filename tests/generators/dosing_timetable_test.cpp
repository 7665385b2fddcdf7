#include "generators/dosing_timetable.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/generators/generator_test_support.h"

namespace {

constexpr ParamDef kDosingParams[] = {
    {"start", L"首剂时间", L"时", 8.0},
    {"interval", L"间隔", L"小时", 8.0},
    {"times", L"次数", L"次", 3.0},
};
const ToolDef kDosingTool = MakeTool(2, kDosingParams, 3);

constexpr wchar_t kExplanation[] = L"说明：按等间隔给药；抗菌药物需结合半衰期与肾肝功能调整。";
constexpr wchar_t kVerdict[] = L"给药时间表已生成，注意首剂与夜间给药时间";
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

GeneratorRun Dosing(double start, double interval, double times, int32_t capacity = kRoomyReport) {
    const ParamValues values = {start, interval, times};
    return RunOnGuardedBuffers(GenerateDosingTimetable, kDosingTool, values.data(), capacity);
}

TEST(DosingTimetable, WorkedExamplesWholeText) {
    const GeneratorRun eight = Dosing(8, 8, 3);
    EXPECT_EQ(eight.report, std::wstring(L"首剂时间 8:00，间隔 8 小时，共 3 次：\r\n"
                                         L"第1天 08:00  |  第1天 16:00  |  第2天 00:00\r\n") +
                                kExplanation + L"\r\n");
    EXPECT_EQ(eight.verdict, kVerdict);
    EXPECT_EQ(eight.level, 0);
    EXPECT_TRUE(eight.guards_intact);

    EXPECT_EQ(Dosing(22, 12, 2).report, std::wstring(L"首剂时间 22:00，间隔 12 小时，共 2 次：\r\n"
                                                     L"第1天 22:00  |  第2天 10:00\r\n") +
                                            kExplanation + L"\r\n");
}

struct DosingCase {
    const char* what;
    double start;
    double interval;
    double times;
    const wchar_t* header;
    const wchar_t* doses;
};

constexpr DosingCase kDosingCases[] = {
    {"nothing set", 0, 0, 0, L"首剂时间 0:00，间隔 8 小时，共 1 次：", L"第1天 00:00"},
    {"negative start", -3, 6, 2, L"首剂时间 0:00，间隔 6 小时，共 2 次：",
     L"第1天 00:00  |  第1天 06:00"},
    {"start past midnight", 30, 8, 1, L"首剂时间 30:00，间隔 8 小时，共 1 次：", L"第2天 06:00"},
    {"negative interval", 8, -4, 2, L"首剂时间 8:00，间隔 8 小时，共 2 次：",
     L"第1天 08:00  |  第1天 16:00"},
    {"fractional interval", 0, 1.5, 3, L"首剂时间 0:00，间隔 1.5 小时，共 3 次：",
     L"第1天 00:00  |  第1天 01:30  |  第1天 03:00"},
    {"fractional start", 7.5, 8, 1, L"首剂时间 7:30，间隔 8 小时，共 1 次：", L"第1天 07:30"},
    {"start truncated, not rounded", 7.99, 8, 1, L"首剂时间 7:59，间隔 8 小时，共 1 次：",
     L"第1天 07:59"},
    {"exactly one day later", 12, 12, 2, L"首剂时间 12:00，间隔 12 小时，共 2 次：",
     L"第1天 12:00  |  第2天 00:00"},
    {"times truncated", 0, 24, 2.9, L"首剂时间 0:00，间隔 24 小时，共 2 次：",
     L"第1天 00:00  |  第2天 00:00"},
    {"times negative", 6, 8, -2, L"首剂时间 6:00，间隔 8 小时，共 1 次：", L"第1天 06:00"},
    {"times 1e10", 6, 8, 1e10, L"首剂时间 6:00，间隔 8 小时，共 1 次：", L"第1天 06:00"},
    {"times NaN", 6, 8, kNaN, L"首剂时间 6:00，间隔 8 小时，共 1 次：", L"第1天 06:00"},
    {"start NaN", kNaN, 8, 1, L"首剂时间 0:00，间隔 8 小时，共 1 次：", L"第1天 00:00"},
    {"interval NaN", 1, kNaN, 2, L"首剂时间 1:00，间隔 8 小时，共 2 次：",
     L"第1天 01:00  |  第1天 09:00"},
    {"start held at 1e9 hours", kInf, 8, 1, L"首剂时间 1000000000:00，间隔 8 小时，共 1 次：",
     L"第41666667天 16:00"},
    {"interval held at 1e9 hours", 0, 1e300, 2, L"首剂时间 0:00，间隔 1e+09 小时，共 2 次：",
     L"第1天 00:00  |  第41666667天 16:00"},
};

TEST(DosingTimetable, ReplacementsClampsAndFractions) {
    for (const DosingCase& c : kDosingCases) {
        SCOPED_TRACE(c.what);
        const GeneratorRun run = Dosing(c.start, c.interval, c.times);
        const std::vector<std::wstring> lines = ReportLines(run.report);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], c.header);
        EXPECT_EQ(lines[1], c.doses);
        EXPECT_EQ(lines[2], kExplanation);
        EXPECT_EQ(run.verdict, kVerdict);
    }
}

TEST(DosingTimetable, ThirtyDosesAtMost) {
    const std::vector<std::wstring> lines = ReportLines(Dosing(0, 6, 31).report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"首剂时间 0:00，间隔 6 小时，共 30 次：");
    EXPECT_TRUE(lines[1].starts_with(L"第1天 00:00  |  第1天 06:00  |  ")) << lines[1];
    EXPECT_TRUE(lines[1].ends_with(L"  |  第8天 06:00")) << lines[1];
    EXPECT_EQ(lines[1].size(), 30 * 9 + 29 * 5u);
}

TEST(DosingTimetable, LastDoseOfHugestPlanStillHasItsDay) {
    // 1e9 + 29 × 1e9 hours: day 1,250,000,001 fits 32 bits.
    const std::vector<std::wstring> lines = ReportLines(Dosing(1e300, 1e300, 30).report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[1].ends_with(L"  |  第1250000001天 00:00")) << lines[1];
}

TEST(DosingTimetable, AbsentParameters) {
    constexpr ParamDef kTimesOnly[] = {{"times", L"次数", L"次", 3.0}};
    const GeneratorRun run = RunOnGuardedBuffers(GenerateDosingTimetable,
                                                 MakeTool(2, kTimesOnly, 1), ParamValues{2}.data());
    EXPECT_EQ(ReportLines(run.report)[1], L"第1天 00:00  |  第1天 08:00");

    const GeneratorRun bare =
        RunOnGuardedBuffers(GenerateDosingTimetable, MakeTool(2, nullptr, 0), nullptr);
    EXPECT_EQ(bare.report,
              std::wstring(L"首剂时间 0:00，间隔 8 小时，共 1 次：\r\n第1天 00:00\r\n") +
                  kExplanation + L"\r\n");
    EXPECT_EQ(bare.verdict, kVerdict);
}

}  // namespace
