#include "generators/follow_up_schedule.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/generators/generator_test_support.h"

namespace {

constexpr ParamDef kFollowUpParams[] = {
    {"start", L"首次随访", L"天后", 1.0},
    {"gap", L"间隔", L"天", 30.0},
    {"times", L"次数", L"次", 3.0},
};
const ToolDef kFollowUpTool = MakeTool(7, kFollowUpParams, 3);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr wchar_t kContentLine[] =
    L"内容：症状与体征、用药依从性、复查项目、并发症预警、是否需要提前复诊。";
constexpr wchar_t kVerdict[] = L"随访计划已生成，可按日期短信提醒患者";

GeneratorRun FollowUpOn(DayNumber today, const ToolDef& tool, const double* values,
                        int32_t capacity = kRoomyReport) {
    return RunOnGuardedBuffers(capacity, kVerdictCapacity, [&](wchar_t* report, wchar_t* verdict) {
        return GenerateFollowUpScheduleOn(today, tool, values, report, capacity, verdict,
                                          kVerdictCapacity);
    });
}

GeneratorRun FollowUpOn(DayNumber today, double start, double gap, double times) {
    const ParamValues values = {start, gap, times};
    return FollowUpOn(today, kFollowUpTool, values.data());
}

TEST(FollowUpSchedule, LeapYearExampleWholeText) {
    const GeneratorRun run = FollowUpOn(DaysFromCivil(2024, 1, 30), 1, 30, 3);
    EXPECT_EQ(run.report,
              std::wstring(L"随访节点（以今天为基准，起始第 1 天，间隔 30 天，共 3 次）：\r\n"
                           L"第 1 次：2024-01-31\r\n"
                           L"第 2 次：2024-03-01\r\n"
                           L"第 3 次：2024-03-31\r\n") +
                  kContentLine + L"\r\n");
    EXPECT_EQ(run.verdict, kVerdict);
    EXPECT_EQ(run.level, 0);
    EXPECT_TRUE(run.guards_intact);
}

TEST(FollowUpSchedule, NothingSetIsOneContactToday) {
    const std::wstring expected =
        std::wstring(
            L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 1 次）：\r\n"
            L"第 1 次：2023-12-30\r\n") +
        kContentLine + L"\r\n";
    const DayNumber today = DaysFromCivil(2023, 12, 30);
    EXPECT_EQ(FollowUpOn(today, MakeTool(7, nullptr, 0), nullptr).report, expected);
    EXPECT_EQ(FollowUpOn(today, 0, 0, 0).report, expected);
}

struct ScheduleCase {
    const char* what;
    double start;
    double gap;
    double times;
    const wchar_t* header;
    const wchar_t* first;
    const wchar_t* last;  // null: a single contact
};

// All run on 2024-12-31.
constexpr ScheduleCase kScheduleCases[] = {
    {"gap negative", 0, -5, 2, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 2 次）：",
     L"第 1 次：2024-12-31", L"第 2 次：2025-01-07"},
    {"gap 365", 0, 365, 2, L"随访节点（以今天为基准，起始第 0 天，间隔 365 天，共 2 次）：",
     L"第 1 次：2024-12-31", L"第 2 次：2025-12-31"},
    {"gap NaN", 0, kNaN, 2, L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 2 次）：",
     L"第 1 次：2024-12-31", L"第 2 次：2025-01-07"},
    {"start yesterday", -1, 7, 1, L"随访节点（以今天为基准，起始第 -1 天，间隔 7 天，共 1 次）：",
     L"第 1 次：2024-12-30", nullptr},
    {"times truncated", 1, 1, 3.7, L"随访节点（以今天为基准，起始第 1 天，间隔 1 天，共 3 次）：",
     L"第 1 次：2025-01-01", L"第 3 次：2025-01-03"},
    {"times 25", 0, 1, 25, L"随访节点（以今天为基准，起始第 0 天，间隔 1 天，共 20 次）：",
     L"第 1 次：2024-12-31", L"第 20 次：2025-01-19"},
    {"times 1e10", 0, 1, 1e10, L"随访节点（以今天为基准，起始第 0 天，间隔 1 天，共 1 次）：",
     L"第 1 次：2024-12-31", nullptr},
    {"times NaN", 0, 1, kNaN, L"随访节点（以今天为基准，起始第 0 天，间隔 1 天，共 1 次）：",
     L"第 1 次：2024-12-31", nullptr},
    {"largest gap", 0, 2147483647.0, 2,
     L"随访节点（以今天为基准，起始第 0 天，间隔 2147483647 天，共 2 次）：",
     L"第 1 次：2024-12-31", L"第 2 次：5881635-07-11"},
};

TEST(FollowUpSchedule, SpacingCountAndOffset) {
    const DayNumber today = DaysFromCivil(2024, 12, 31);
    for (const ScheduleCase& c : kScheduleCases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::wstring> lines =
            ReportLines(FollowUpOn(today, c.start, c.gap, c.times).report);
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.front(), c.header);
        EXPECT_EQ(lines[1], c.first);
        EXPECT_EQ(lines[lines.size() - 2], c.last != nullptr ? c.last : c.first);
        EXPECT_EQ(lines.back(), kContentLine);
    }
}

TEST(FollowUpSchedule, SameParametersOtherDayOnlyDatesDiffer) {
    const GeneratorRun monday = FollowUpOn(DaysFromCivil(2024, 2, 28), 0, 1, 2);
    const GeneratorRun tuesday = FollowUpOn(DaysFromCivil(2024, 2, 29), 0, 1, 2);
    const std::vector<std::wstring> a = ReportLines(monday.report);
    const std::vector<std::wstring> b = ReportLines(tuesday.report);
    EXPECT_EQ(a[0], b[0]);
    EXPECT_EQ(a[2], L"第 2 次：2024-02-29");
    EXPECT_EQ(b[2], L"第 2 次：2024-03-01");
}

TEST(FollowUpSchedule, DaysAtTheEndsOfTheRangeDoNotWrap) {
    const std::vector<std::wstring> late = ReportLines(FollowUpOn(INT64_MAX - 3, 2, 2, 3).report);
    ASSERT_EQ(late.size(), 5u);
    EXPECT_EQ(late[2].substr(5),
              late[3].substr(5));  // held at the last day rather than wrapped into the past
    const std::vector<std::wstring> early = ReportLines(FollowUpOn(INT64_MIN + 1, -5, 7, 1).report);
    ASSERT_EQ(early.size(), 3u);
    EXPECT_TRUE(early[1].starts_with(L"第 1 次：-")) << early[1];
}

TEST(FollowUpSchedule, TodayFromTheClockThroughTheDispatch) {
    const ParamValues values = {0, 7, 2};
    const GeneratorRun run = RunDispatchOnGuardedBuffers(kFollowUpTool, values.data());
    const std::vector<std::wstring> lines = ReportLines(run.report);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], L"随访节点（以今天为基准，起始第 0 天，间隔 7 天，共 2 次）：");
    EXPECT_EQ(lines[1].size(), std::wstring(L"第 1 次：2024-01-01").size());
    EXPECT_EQ(run.verdict, kVerdict);
}

}  // namespace
