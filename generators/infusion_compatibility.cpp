#include "generators/infusion_compatibility.h"

#include <iterator>

#include "engine/bounded_text.h"
#include "engine/report_text.h"

namespace {

// Indexed by drug number - 1.
constexpr const wchar_t* kDrugNames[] = {
    L"头孢曲松", L"葡萄糖酸钙", L"万古霉素", L"呋塞米",   L"氨溴索",
    L"奥美拉唑", L"维生素C",    L"胰岛素",   L"碳酸氢钠", L"多巴胺",
};
constexpr int32_t kDrugCount = static_cast<int32_t>(std::size(kDrugNames));
// A number outside the list must not pass for one of the listed drugs.
constexpr wchar_t kUnknownDrugName[] = L"未知药品";

constexpr const wchar_t* kLegendLines[] = {
    L"",
    L"编号：1头孢曲松 2葡萄糖酸钙 3万古霉素 4呋塞米 5氨溴索",
    L"      6奥美拉唑 7维生素C 8胰岛素 9碳酸氢钠 10多巴胺",
    L"",
};

struct Conclusion {
    const wchar_t* line;
    const wchar_t* verdict;
    int32_t level;
};

constexpr Conclusion kContraindicated = {
    L"结论：禁忌配伍。头孢曲松与含钙注射液可形成不溶性沉淀；钙剂与碳酸氢钠亦不宜同瓶。",
    L"禁忌：不可同瓶输注，需间隔冲管", 3};
constexpr Conclusion kVancomycinUnstable = {
    L"结论：不宜同瓶。万古霉素与碱性药物/奥美拉唑配伍稳定性差，应分开输注并冲管。",
    L"不宜同瓶，分开输注并冲管", 2};
constexpr Conclusion kFurosemideAmbroxolUnstable = {
    L"结论：不宜同瓶。呋塞米与多巴胺、氨溴索与碱性液混合易发生理化变化。",
    L"不宜同瓶，建议分开输注", 2};
constexpr Conclusion kOmeprazoleAscorbicConflict = {
    L"结论：奥美拉唑与维生素C 同瓶 pH 冲突，稳定性下降，建议分开。", L"建议分开输注", 1};
constexpr Conclusion kNoRecord = {
    L"结论：本工具库内未收录该组合的明确禁忌，但仍须查本院配伍表并现配现用、注意冲管。",
    L"未收录明确禁忌，仍需核对院内配伍表", 0};

// Pairs on record, by the smaller and the larger drug number.
struct PairRule {
    int32_t lo;
    int32_t hi;
    const Conclusion* conclusion;
};

constexpr PairRule kPairRules[] = {
    {1, 2, &kContraindicated},
    {2, 9, &kContraindicated},
    {3, 6, &kVancomycinUnstable},
    {3, 9, &kVancomycinUnstable},
    {4, 10, &kFurosemideAmbroxolUnstable},
    {5, 9, &kFurosemideAmbroxolUnstable},
    {6, 7, &kOmeprazoleAscorbicConflict},
};

const wchar_t* DrugName(int32_t number) {
    if (number < 1 || number > kDrugCount) return kUnknownDrugName;
    return kDrugNames[number - 1];
}

const Conclusion& JudgePair(int32_t a, int32_t b) {
    const int32_t lo = a < b ? a : b;
    const int32_t hi = a < b ? b : a;
    for (const PairRule& rule : kPairRules) {
        if (rule.lo == lo && rule.hi == hi) return *rule.conclusion;
    }
    return kNoRecord;
}

}  // namespace

int32_t CheckInfusionCompatibility(const ToolDef& tool, const double* values, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity) {
    const int32_t a = FindClampedIntParam(tool, values, kDrugAParam);
    const int32_t b = FindClampedIntParam(tool, values, kDrugBParam);
    AppendReportLine(report, report_capacity, L"待查：%d 号 %ls  +  %d 号 %ls", a, DrugName(a), b,
                     DrugName(b));
    for (const wchar_t* line : kLegendLines) {
        AppendReportLine(report, report_capacity, L"%ls", line);
    }
    const Conclusion& conclusion = JudgePair(a, b);
    AppendReportLine(report, report_capacity, L"%ls", conclusion.line);
    CopyText(verdict, verdict_capacity, conclusion.verdict);
    return conclusion.level;
}
