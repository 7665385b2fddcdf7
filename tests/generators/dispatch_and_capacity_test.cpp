// Every generator through the dispatch, on buffers of every size from nothing up.
#include <gtest/gtest.h>

#include <string>

#include "engine/compute.h"
#include "generators/follow_up_schedule.h"
#include "tests/generators/generator_test_support.h"

namespace {

// One tool carrying every parameter any generator reads, so that each kind can be run on it.
constexpr ParamDef kAllParams[] = {
    {"nurses", L"护士人数", L"人", 8.0}, {"days", L"排班天数", L"天", 7.0},
    {"start", L"开始", nullptr, 7.5},    {"interval", L"间隔", nullptr, 8.0},
    {"times", L"次数", nullptr, 3.0},    {"kind", L"类别", nullptr, 1.0},
    {"drugA", L"药品A", nullptr, 6.0},   {"drugB", L"药品B", nullptr, 7.0},
    {"gap", L"间隔天数", nullptr, 30.0}, {"beds", L"床位", nullptr, 3.0},
    {"bed", L"床号", nullptr, 12.0},     {"dose", L"药量", nullptr, 1.5},
    {"volume", L"溶媒", nullptr, 250.0}, {"gtt", L"滴速", nullptr, 40.0},
    {"panel", L"套餐", nullptr, 2.0},
};
constexpr int32_t kAllParamCount = static_cast<int32_t>(std::size(kAllParams));
const ParamValues kAllValues = {8, 7, 7.5, 8, 3, 1, 6, 7, 30, 3, 12, 1.5, 250, 40, 2};

struct KindCase {
    int32_t kind;
    const wchar_t* verdict;
    int32_t level;
    int32_t lines;
};

constexpr KindCase kKinds[] = {
    {1, L"已生成轮转排班表，可复制到排班本或表格", 0, 21},
    {2, L"给药时间表已生成，注意首剂与夜间给药时间", 0, 3},
    {3, L"按标准顺序采血可减少溶血与交叉污染", 0, 9},
    {4, L"危急值必须闭环：报告、接收、处理、记录", 0, 6},
    {5, L"高警示药品须专区、专标识、双人核对", 0, 3},
    {6, L"建议分开输注", 1, 6},
    {7, L"随访计划已生成，可按日期短信提醒患者", 0, 5},
    {8, L"三方核查缺一不可，签字后归档", 0, 6},
    {9, L"模板已生成，床旁交接并双方签名", 0, 6},
    {10, L"输液卡已生成，双人核对后执行", 0, 6},
    {11, L"套餐与采血管已列出，按顺序采血", 0, 2},
};

ToolDef KindTool(int32_t kind) {
    return MakeTool(kind, kAllParams, kAllParamCount);
}

TEST(GeneratorDispatch, EveryKindThroughRunGenerator) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        const GeneratorRun run = RunDispatchOnGuardedBuffers(KindTool(c.kind), kAllValues.data());
        EXPECT_EQ(run.verdict, c.verdict);
        EXPECT_EQ(run.level, c.level);
        EXPECT_EQ(CountLines(run.report), c.lines);
        EXPECT_TRUE(run.report.ends_with(L"\r\n"));
        EXPECT_TRUE(run.guards_intact);
    }
}

TEST(GeneratorDispatch, EveryKindThroughComputeTool) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        const ToolDef tool = KindTool(c.kind);
        std::wstring report(kWindowReport, L'#');
        std::wstring verdict(kVerdictCapacity, L'#');
        std::wstring saved(kRoomyReport, L'#');
        int32_t level = -1;
        const int32_t returned =
            ComputeTool(tool, kAllValues.data(), report.data(), kWindowReport, verdict.data(),
                        kVerdictCapacity, &level, saved.data(), kRoomyReport);
        EXPECT_EQ(returned, c.level);
        EXPECT_EQ(level, c.level);
        EXPECT_STREQ(verdict.c_str(), c.verdict);
        EXPECT_STREQ(saved.c_str(), report.c_str());
        EXPECT_EQ(CountLines(report.c_str()), c.lines);
    }
}

TEST(GeneratorDispatch, BuiltinToolDefaultsGiveTheDefaultRota) {
    const ToolDef& tool = GetBuiltinTool();
    ParamValues values{};
    for (int32_t i = 0; i < tool.param_count; ++i)
        values[i] = tool.params[i].default_value;
    const GeneratorRun run = RunDispatchOnGuardedBuffers(tool, values.data(), kWindowReport);
    EXPECT_EQ(run.report.size(), 420u);
    EXPECT_EQ(run.verdict, L"已生成轮转排班表，可复制到排班本或表格");
}

// Whatever the capacities, the report is the beginning of the whole report (cut anywhere,
// mid-line and between CR and LF included), both texts are terminated, nothing is written
// past either buffer, and the verdict is the beginning of the whole verdict with the level
// unchanged.
TEST(GeneratorCapacity, EveryKindCutAtEveryReportCapacity) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        const ToolDef tool = KindTool(c.kind);
        const std::wstring whole = RunDispatchOnGuardedBuffers(tool, kAllValues.data()).report;
        const int32_t length = static_cast<int32_t>(whole.size());
        for (int32_t capacity = 0; capacity <= length + 2; ++capacity) {
            const GeneratorRun run = RunDispatchOnGuardedBuffers(tool, kAllValues.data(), capacity);
            const size_t kept = capacity > 0 ? static_cast<size_t>(capacity - 1) : 0;
            ASSERT_TRUE(run.guards_intact) << "capacity " << capacity;
            ASSERT_EQ(run.report_terminated, capacity > 0) << "capacity " << capacity;
            ASSERT_EQ(run.report, whole.substr(0, kept)) << "capacity " << capacity;
            ASSERT_EQ(run.verdict, c.verdict) << "capacity " << capacity;
            ASSERT_EQ(run.level, c.level) << "capacity " << capacity;
        }
    }
}

TEST(GeneratorCapacity, TinyVerdictBuffersCutTheVerdict) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        const ToolDef tool = KindTool(c.kind);
        const std::wstring whole_report =
            RunDispatchOnGuardedBuffers(tool, kAllValues.data()).report;
        for (const int32_t capacity : {0, 1, 2, 5, 12}) {
            const GeneratorRun run =
                RunDispatchOnGuardedBuffers(tool, kAllValues.data(), kRoomyReport, capacity);
            const size_t kept = capacity > 0 ? static_cast<size_t>(capacity - 1) : 0;
            EXPECT_TRUE(run.guards_intact) << "capacity " << capacity;
            EXPECT_EQ(run.verdict_terminated, capacity > 0) << "capacity " << capacity;
            EXPECT_EQ(run.verdict, std::wstring(c.verdict).substr(0, kept))
                << "capacity " << capacity;
            EXPECT_EQ(run.level, c.level) << "capacity " << capacity;
            EXPECT_EQ(run.report, whole_report) << "capacity " << capacity;
        }
    }
}

TEST(GeneratorCapacity, LoneCarriageReturnWhenOneCharacterIsLeft) {
    // The infusion card's title line is five characters: with capacity 7 it and the CR fit.
    const GeneratorRun run = RunDispatchOnGuardedBuffers(KindTool(10), kAllValues.data(), 7);
    EXPECT_EQ(run.report, L"静脉输液卡\r");
    EXPECT_EQ(run.verdict, L"输液卡已生成，双人核对后执行");
}

TEST(GeneratorCapacity, FollowUpOnCutLikeTheOthers) {
    const ToolDef tool = KindTool(7);
    const DayNumber day = DaysFromCivil(2024, 1, 30);
    const GeneratorRun whole = RunOnGuardedBuffers(kRoomyReport, 2, [&](wchar_t* r, wchar_t* v) {
        return GenerateFollowUpScheduleOn(day, tool, kAllValues.data(), r, kRoomyReport, v, 2);
    });
    EXPECT_EQ(whole.verdict, L"随");
    const GeneratorRun cut = RunOnGuardedBuffers(30, 1, [&](wchar_t* r, wchar_t* v) {
        return GenerateFollowUpScheduleOn(day, tool, kAllValues.data(), r, 30, v, 1);
    });
    EXPECT_EQ(cut.report, whole.report.substr(0, 29));
    EXPECT_EQ(cut.verdict, L"");
    EXPECT_TRUE(cut.guards_intact);
}

TEST(GeneratorDispatch, KindsWithoutGeneratorGetThePlaceholder) {
    for (const int32_t kind : {12, -1, 1000}) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        const GeneratorRun run = RunDispatchOnGuardedBuffers(KindTool(kind), kAllValues.data());
        EXPECT_EQ(run.report, L"（该工具暂无自定义报告）");
        EXPECT_EQ(run.verdict, L"暂无报告内容");
        EXPECT_EQ(run.level, 0);
    }
}

}  // namespace
