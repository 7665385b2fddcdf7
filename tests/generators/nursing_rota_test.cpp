#include "generators/nursing_rota.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/generators/generator_test_support.h"

namespace {

constexpr ParamDef kRotaParams[] = {
    {"nurses", L"护士人数", L"人", 8.0},
    {"days", L"排班天数", L"天", 7.0},
};
const ToolDef kRotaTool = MakeTool(1, kRotaParams, 2);

constexpr wchar_t kVerdict[] = L"已生成轮转排班表，可复制到排班本或表格";
constexpr wchar_t kRuleLine[] =
    L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。";
constexpr wchar_t kHintLine[] =
    L"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。";

GeneratorRun Rota(double nurses, double days, int32_t capacity = kRoomyReport) {
    const ParamValues values = {nurses, days};
    return RunOnGuardedBuffers(GenerateNursingRota, kRotaTool, values.data(), capacity);
}

TEST(NursingRota, ThreeNursesFourDaysWholeText) {
    const GeneratorRun run = Rota(3, 4);
    EXPECT_EQ(run.report,
              L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。\r\n"
              L"人员：3 人；周期：4 天\r\n"
              L"\r\n"
              L"护士01：\r\n"
              L"  1日D 2日R 3日N 4日D \r\n"
              L"护士02：\r\n"
              L"  1日N 2日D 3日R 4日N \r\n"
              L"护士03：\r\n"
              L"  1日R 2日N 3日D 4日R \r\n"
              L"\r\n"
              L"提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。\r\n");
    EXPECT_EQ(run.verdict, kVerdict);
    EXPECT_EQ(run.level, 0);
    EXPECT_TRUE(run.guards_intact);
}

TEST(NursingRota, DefaultsGiveEightRowsRepeatingEveryThirdNurse) {
    const GeneratorRun run = Rota(8, 7);
    EXPECT_EQ(run.report.size(), 420u);
    const std::vector<std::wstring> lines = ReportLines(run.report);
    ASSERT_EQ(lines.size(), 3u + 2u * 8u + 2u);
    EXPECT_EQ(lines[1], L"人员：8 人；周期：7 天");
    EXPECT_EQ(lines[3], L"护士01：");
    EXPECT_EQ(lines[4], L"  1日D 2日R 3日N 4日D 5日R 6日N 7日D ");
    EXPECT_EQ(lines[6], L"  1日N 2日D 3日R 4日N 5日D 6日R 7日N ");
    EXPECT_EQ(lines[8], L"  1日R 2日N 3日D 4日R 5日N 6日D 7日R ");
    for (size_t nurse = 3; nurse < 8; ++nurse) {
        EXPECT_EQ(lines[4 + 2 * nurse], lines[4 + 2 * (nurse - 3)]) << "nurse " << nurse + 1;
    }
    EXPECT_EQ(lines[17], L"护士08：");
    EXPECT_EQ(lines[19], L"");
    EXPECT_EQ(lines[20], kHintLine);
}

TEST(NursingRota, TwoDigitLabelsAndUnpaddedDays) {
    const std::vector<std::wstring> lines = ReportLines(Rota(10, 10).report);
    EXPECT_EQ(lines[3], L"护士01：");
    EXPECT_EQ(lines[21], L"护士10：");
    EXPECT_EQ(lines[4], L"  1日D 2日R 3日N 4日D 5日R 6日N 7日D 8日R 9日N 10日D ");
}

struct SizeCase {
    double nurses;
    double days;
    int32_t expected_nurses;
    int32_t expected_days;
};

// Truncation toward zero, clamps, and values outside 32 bits falling to the lower clamp.
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr SizeCase kSizeCases[] = {
    {8, 7, 8, 7},
    {0, 0, 1, 1},
    {-3, -1, 1, 1},
    {41, 32, 40, 31},
    {40, 31, 40, 31},
    {1, 1, 1, 1},
    {8.9, 7.9, 8, 7},
    {-0.5, -0.5, 1, 1},
    {1e10, 1e10, 1, 1},
    {kNaN, kNaN, 1, 1},
    {kInf, kInf, 1, 1},
    {-1e10, -1e10, 1, 1},
    {2147483647.0, 2147483647.0, 40, 31},
};

TEST(NursingRota, SizeTruncatedAndClamped) {
    for (const SizeCase& c : kSizeCases) {
        SCOPED_TRACE(testing::Message() << "nurses " << c.nurses << " days " << c.days);
        const ParamValues values = {c.nurses, c.days};
        const RotaSize size = ReadRotaSize(kRotaTool, values.data());
        EXPECT_EQ(size.nurses, c.expected_nurses);
        EXPECT_EQ(size.days, c.expected_days);
        const std::vector<std::wstring> lines = ReportLines(Rota(c.nurses, c.days).report);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[1], L"人员：" + std::to_wstring(c.expected_nurses) + L" 人；周期：" +
                                std::to_wstring(c.expected_days) + L" 天");
        EXPECT_EQ(lines.size(), static_cast<size_t>(5 + 2 * c.expected_nurses));
    }
}

TEST(NursingRota, AbsentParametersCountAsZero) {
    constexpr ParamDef kDaysOnly[] = {{"days", L"排班天数", L"天", 7.0}};
    const ToolDef days_only = MakeTool(1, kDaysOnly, 1);
    const ParamValues values = {5};
    EXPECT_EQ(ReadRotaSize(days_only, values.data()).nurses, 1);
    EXPECT_EQ(ReadRotaSize(days_only, values.data()).days, 5);

    constexpr ParamDef kNursesOnly[] = {{"nurses", L"护士人数", L"人", 8.0}};
    const ToolDef nurses_only = MakeTool(1, kNursesOnly, 1);
    const GeneratorRun one_day =
        RunOnGuardedBuffers(GenerateNursingRota, nurses_only, ParamValues{2}.data());
    const std::vector<std::wstring> lines = ReportLines(one_day.report);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[4], L"  1日D ");
    EXPECT_EQ(lines[6], L"  1日N ");

    const ToolDef no_params = MakeTool(1, nullptr, 0);
    const GeneratorRun bare = RunOnGuardedBuffers(GenerateNursingRota, no_params, nullptr);
    EXPECT_EQ(bare.report, std::wstring(kRuleLine) +
                               L"\r\n人员：1 人；周期：1 天\r\n\r\n护士01：\r\n  1日D \r\n\r\n" +
                               kHintLine + L"\r\n");
    EXPECT_EQ(bare.verdict, kVerdict);
}

TEST(NursingRota, ParameterMatchIsExactAndFirstWins) {
    constexpr ParamDef kOddNames[] = {{"Nurses", L"甲", nullptr, 0},
                                      {"nurses", L"乙", nullptr, 0},
                                      {"nurses", L"丙", nullptr, 0}};
    const ToolDef tool = MakeTool(1, kOddNames, 3);
    const ParamValues values = {30, 4, 20};
    EXPECT_EQ(ReadRotaSize(tool, values.data()).nurses, 4);
}

TEST(NursingRota, ShiftLetterFollowsDayRestNightCycle) {
    EXPECT_EQ(RotaShiftLetter(0, 0), L'D');
    EXPECT_EQ(RotaShiftLetter(1, 0), L'N');
    EXPECT_EQ(RotaShiftLetter(2, 0), L'R');
    for (int32_t nurse = 0; nurse < kRotaMaxNurses; ++nurse) {
        for (int32_t day = 0; day + 1 < kRotaMaxDays; ++day) {
            const wchar_t today = RotaShiftLetter(nurse, day);
            const wchar_t next = RotaShiftLetter(nurse, day + 1);
            const wchar_t expected = today == L'D' ? L'R' : today == L'R' ? L'N' : L'D';
            EXPECT_EQ(next, expected) << "nurse " << nurse << " day " << day;
            EXPECT_EQ(RotaShiftLetter(nurse + 3, day), today);
        }
    }
    // Any index pair has a letter, far outside the rota too.
    EXPECT_EQ(RotaShiftLetter(-1, 0), L'R');
    EXPECT_EQ(RotaShiftLetter(INT32_MAX, INT32_MAX), RotaShiftLetter(0, 0));
}

TEST(NursingRota, FixedLinesAreTheNamedConstants) {
    EXPECT_STREQ(kRotaRuleLine, kRuleLine);
    EXPECT_STREQ(kRotaHintLine, kHintLine);
    EXPECT_STREQ(kRotaVerdict, kVerdict);
}

TEST(NursingRota, SizesAtTheLimits) {
    EXPECT_EQ(Rota(40, 31).report.size(), 6390u);
    const GeneratorRun fits = Rota(25, 31, kWindowReport);
    EXPECT_EQ(fits.report.size(), 4035u);
    EXPECT_EQ(fits.report, Rota(25, 31).report);
    const GeneratorRun cut = Rota(26, 31, kWindowReport);
    EXPECT_EQ(cut.report.size(), 4095u);
    EXPECT_EQ(cut.report, Rota(26, 31).report.substr(0, 4095));
    EXPECT_EQ(cut.report.find(kHintLine), std::wstring::npos);
    EXPECT_EQ(cut.verdict, kVerdict);
    EXPECT_EQ(cut.level, 0);
    EXPECT_TRUE(cut.guards_intact);
}

}  // namespace
