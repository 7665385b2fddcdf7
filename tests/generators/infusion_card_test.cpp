#include "generators/infusion_card.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/generators/generator_test_support.h"

namespace {

constexpr ParamDef kCardParams[] = {
    {"bed", L"床号", nullptr, 12.0},
    {"dose", L"医嘱药量", nullptr, 1.5},
    {"volume", L"溶媒", L"ml", 250.0},
    {"gtt", L"滴速", L"滴/分", 40.0},
};
const ToolDef kCardTool = MakeTool(10, kCardParams, 4);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr wchar_t kCheckLine[] = L"核对：药名/剂量/浓度/有效期/配伍；双人签名。";
constexpr wchar_t kObservationLine[] = L"观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。";
constexpr wchar_t kVerdict[] = L"输液卡已生成，双人核对后执行";

GeneratorRun Card(double bed, double dose, double volume, double gtt) {
    const ParamValues values = {bed, dose, volume, gtt};
    return RunOnGuardedBuffers(GenerateInfusionCard, kCardTool, values.data());
}

TEST(InfusionCard, WorkedExampleWholeText) {
    const GeneratorRun run = Card(12, 1.5, 250, 40);
    EXPECT_EQ(run.report, std::wstring(L"静脉输液卡\r\n"
                                       L"床号：12\r\n"
                                       L"药液：医嘱药量 1.50 ，加入溶媒 250 ml\r\n"
                                       L"滴速：40 滴/分（约 120 ml/h）\r\n") +
                              kCheckLine + L"\r\n" + kObservationLine + L"\r\n");
    EXPECT_EQ(run.verdict, kVerdict);
    EXPECT_EQ(run.level, 0);
    EXPECT_TRUE(run.guards_intact);
}

struct CardCase {
    const char* what;
    double bed;
    double dose;
    double volume;
    double gtt;
    const wchar_t* bed_line;
    const wchar_t* dose_line;
    const wchar_t* rate_line;
};

constexpr CardCase kCardCases[] = {
    {"zeros", 0, 0, 0, 0, L"床号：0", L"药液：医嘱药量 0.00 ，加入溶媒 0 ml",
     L"滴速：0 滴/分（约 0 ml/h）"},
    {"bed truncated", 7.9, 2, 100, 33, L"床号：7", L"药液：医嘱药量 2.00 ，加入溶媒 100 ml",
     L"滴速：33 滴/分（约 99 ml/h）"},
    {"negatives printed as they come", -2, -1.25, -50, -10, L"床号：-2",
     L"药液：医嘱药量 -1.25 ，加入溶媒 -50 ml", L"滴速：-10 滴/分（约 -30 ml/h）"},
    {"bed 1e10", 1e10, 1, 1, 1, L"床号：-2147483648", L"药液：医嘱药量 1.00 ，加入溶媒 1 ml",
     L"滴速：1 滴/分（约 3 ml/h）"},
    {"bed NaN", kNaN, 1, 1, 1, L"床号：-2147483648", L"药液：医嘱药量 1.00 ，加入溶媒 1 ml",
     L"滴速：1 滴/分（约 3 ml/h）"},
    {"rounded by the format", 1, 2.345678, 99.6, 20.4, L"床号：1",
     L"药液：医嘱药量 2.35 ，加入溶媒 100 ml", L"滴速：20 滴/分（约 61 ml/h）"},
};

TEST(InfusionCard, ValuesPrintedUnvalidated) {
    for (const CardCase& c : kCardCases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::wstring> lines =
            ReportLines(Card(c.bed, c.dose, c.volume, c.gtt).report);
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[1], c.bed_line);
        EXPECT_EQ(lines[2], c.dose_line);
        EXPECT_EQ(lines[3], c.rate_line);
    }
}

TEST(InfusionCard, AbsentParameters) {
    const GeneratorRun bare =
        RunOnGuardedBuffers(GenerateInfusionCard, MakeTool(10, nullptr, 0), nullptr);
    EXPECT_EQ(bare.report, std::wstring(L"静脉输液卡\r\n床号：0\r\n"
                                        L"药液：医嘱药量 0.00 ，加入溶媒 0 ml\r\n"
                                        L"滴速：0 滴/分（约 0 ml/h）\r\n") +
                               kCheckLine + L"\r\n" + kObservationLine + L"\r\n");
    EXPECT_EQ(bare.verdict, kVerdict);

    constexpr ParamDef kGttOnly[] = {{"gtt", L"滴速", nullptr, 0.0}};
    const GeneratorRun gtt_only = RunOnGuardedBuffers(
        GenerateInfusionCard, MakeTool(10, kGttOnly, 1), ParamValues{60}.data());
    EXPECT_EQ(ReportLines(gtt_only.report)[3], L"滴速：60 滴/分（约 180 ml/h）");
}

TEST(InfusionCard, HugeValuesCutAtTheLineScratch) {
    const std::vector<std::wstring> lines = ReportLines(Card(1, 1e300, 1e300, 1e300).report);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_LE(lines[2].size(), 511u);
    EXPECT_EQ(lines[4], kCheckLine);
}

}  // namespace
