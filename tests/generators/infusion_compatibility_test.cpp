#include "generators/infusion_compatibility.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/generators/generator_test_support.h"

namespace {

constexpr ParamDef kDrugParams[] = {
    {"drugA", L"药品A编号", nullptr, 1.0},
    {"drugB", L"药品B编号", nullptr, 2.0},
};
const ToolDef kCompatibilityTool = MakeTool(6, kDrugParams, 2);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr wchar_t kLegend[] =
    L"\r\n"
    L"编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索\r\n"
    L"      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺\r\n"
    L"\r\n";

constexpr wchar_t kContraindicatedLine[] =
    L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。";
constexpr wchar_t kContraindicatedVerdict[] = L"禁忌：不可同瓶输注，需间隔冲管";
constexpr wchar_t kVancomycinLine[] =
    L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。";
constexpr wchar_t kVancomycinVerdict[] = L"不宜同瓶，分开输注并冲管";
constexpr wchar_t kFurosemideLine[] =
    L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。";
constexpr wchar_t kFurosemideVerdict[] = L"不宜同瓶，建议分开输注";
constexpr wchar_t kOmeprazoleLine[] =
    L"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。";
constexpr wchar_t kOmeprazoleVerdict[] = L"建议分开输注";
constexpr wchar_t kNoRecordLine[] =
    L"结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。";
constexpr wchar_t kNoRecordVerdict[] = L"未收录明确禁忌，仍需核对院内配伍表";

GeneratorRun Check(double a, double b) {
    const ParamValues values = {a, b};
    return RunOnGuardedBuffers(CheckInfusionCompatibility, kCompatibilityTool, values.data());
}

TEST(InfusionCompatibility, ContraindicatedPairWholeText) {
    const GeneratorRun run = Check(1, 2);
    EXPECT_EQ(run.report, std::wstring(L"待查：1 号 头孢曲松  +  2 号 葡萄糖酸钙\r\n") + kLegend +
                              kContraindicatedLine + L"\r\n");
    EXPECT_EQ(run.verdict, kContraindicatedVerdict);
    EXPECT_EQ(run.level, 3);
    EXPECT_TRUE(run.guards_intact);
}

struct PairCase {
    double a;
    double b;
    const wchar_t* conclusion;
    const wchar_t* verdict;
    int32_t level;
};

constexpr PairCase kPairCases[] = {
    {1, 2, kContraindicatedLine, kContraindicatedVerdict, 3},
    {2, 9, kContraindicatedLine, kContraindicatedVerdict, 3},
    {3, 6, kVancomycinLine, kVancomycinVerdict, 2},
    {3, 9, kVancomycinLine, kVancomycinVerdict, 2},
    {4, 10, kFurosemideLine, kFurosemideVerdict, 2},
    {5, 9, kFurosemideLine, kFurosemideVerdict, 2},
    {6, 7, kOmeprazoleLine, kOmeprazoleVerdict, 1},
    {1, 9, kNoRecordLine, kNoRecordVerdict, 0},
    {6, 9, kNoRecordLine, kNoRecordVerdict, 0},
    {7, 10, kNoRecordLine, kNoRecordVerdict, 0},
    {1.9, 2.9, kContraindicatedLine, kContraindicatedVerdict, 3},
};

TEST(InfusionCompatibility, RuleTableInBothOrders) {
    for (const PairCase& c : kPairCases) {
        for (const bool swapped : {false, true}) {
            const double a = swapped ? c.b : c.a;
            const double b = swapped ? c.a : c.b;
            SCOPED_TRACE(testing::Message() << "drugs " << a << " + " << b);
            const GeneratorRun run = Check(a, b);
            const std::vector<std::wstring> lines = ReportLines(run.report);
            ASSERT_EQ(lines.size(), 6u);
            EXPECT_EQ(lines[5], c.conclusion);
            EXPECT_EQ(run.verdict, c.verdict);
            EXPECT_EQ(run.level, c.level);
        }
    }
}

TEST(InfusionCompatibility, DrugWithItselfAndInsulinHaveNoRecord) {
    for (int32_t drug = 1; drug <= 10; ++drug) {
        SCOPED_TRACE(testing::Message() << "drug " << drug);
        EXPECT_EQ(Check(drug, drug).level, 0);
        EXPECT_EQ(Check(drug, drug).verdict, kNoRecordVerdict);
        EXPECT_EQ(Check(8, drug).level, 0);
        EXPECT_EQ(Check(drug, 8).level, 0);
        EXPECT_EQ(ReportLines(Check(drug, 8).report)[5], kNoRecordLine);
    }
}

struct PairLineCase {
    double a;
    double b;
    const wchar_t* pair_line;
};

// Numbers outside the list never pass for a listed drug.
constexpr PairLineCase kPairLineCases[] = {
    {2, 1, L"待查：2 号 葡萄糖酸钙  +  1 号 头孢曲松"},
    {8, 10, L"待查：8 号 胰岛素  +  10 号 多巴胺"},
    {7, 9, L"待查：7 号 维生素C  +  9 号 碳酸氢钠"},
    {0, 11, L"待查：0 号 未知药品  +  11 号 未知药品"},
    {-0.5, 1.9, L"待查：0 号 未知药品  +  1 号 头孢曲松"},
    {-3, 5, L"待查：-3 号 未知药品  +  5 号 氨溴索"},
    {1e10, kNaN, L"待查：-2147483648 号 未知药品  +  -2147483648 号 未知药品"},
};

TEST(InfusionCompatibility, PairLineNamesEachNumber) {
    for (const PairLineCase& c : kPairLineCases) {
        SCOPED_TRACE(testing::Message() << "drugs " << c.a << " + " << c.b);
        const GeneratorRun run = Check(c.a, c.b);
        const std::vector<std::wstring> lines = ReportLines(run.report);
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[0], c.pair_line);
    }
    EXPECT_EQ(Check(0, 11).level, 0);
    EXPECT_EQ(Check(0, 11).verdict, kNoRecordVerdict);
}

TEST(InfusionCompatibility, AbsentParameters) {
    const GeneratorRun bare =
        RunOnGuardedBuffers(CheckInfusionCompatibility, MakeTool(6, nullptr, 0), nullptr);
    EXPECT_EQ(bare.report, std::wstring(L"待查：0 号 未知药品  +  0 号 未知药品\r\n") + kLegend +
                               kNoRecordLine + L"\r\n");
    EXPECT_EQ(bare.verdict, kNoRecordVerdict);
    EXPECT_EQ(bare.level, 0);

    constexpr ParamDef kOnlyB[] = {{"drugB", L"药品B编号", nullptr, 2.0}};
    const GeneratorRun only_b = RunOnGuardedBuffers(CheckInfusionCompatibility,
                                                    MakeTool(6, kOnlyB, 1), ParamValues{2}.data());
    EXPECT_EQ(ReportLines(only_b.report)[0], L"待查：0 号 未知药品  +  2 号 葡萄糖酸钙");
    EXPECT_EQ(only_b.level, 0);
}

}  // namespace
