// The one place where the engine names its generators.
#include "engine/compute.h"

#include <cstring>
#include <iterator>
#include <span>

#include "engine/bounded_text.h"
#include "generators/dosing_timetable.h"
#include "generators/follow_up_schedule.h"
#include "generators/infusion_card.h"
#include "generators/infusion_compatibility.h"
#include "generators/nursing_rota.h"
#include "generators/reference_sheets.h"

namespace {

constexpr wchar_t kPlaceholderReport[] = L"（该工具暂无自定义报告）";
constexpr wchar_t kPlaceholderVerdict[] = L"暂无报告内容";

struct GeneratorEntry {
    SpecialKindValue kind;
    GeneratorFunction generate;
    std::span<const IntParamRange> intParams;  // the parameters it reads as whole numbers
};

constexpr GeneratorEntry kGenerators[] = {
    {kNursingRotaKind, GenerateNursingRota, kNursingRotaIntParams},
    {kDosingTimetableKind, GenerateDosingTimetable, kDosingTimetableIntParams},
    {kSpecimenTubeOrderKind, GenerateSpecimenTubeOrder, kSheetKindIntParams},
    {kCriticalValueSheetKind, GenerateCriticalValueSheet, kSheetKindIntParams},
    {kHighAlertDrugSheetKind, GenerateHighAlertDrugSheet, kSheetKindIntParams},
    {kInfusionCompatibilityKind, CheckInfusionCompatibility, kInfusionCompatibilityIntParams},
    {kFollowUpScheduleKind, GenerateFollowUpSchedule, kFollowUpScheduleIntParams},
    {kSurgicalSafetyChecklistKind, GenerateSurgicalSafetyChecklist, {}},
    {kHandoverTemplateKind, GenerateHandoverTemplate, kHandoverIntParams},
    {kInfusionCardKind, GenerateInfusionCard, kInfusionCardIntParams},
    {kLabPanelSheetKind, GenerateLabPanelSheet, kLabPanelIntParams},
};

constexpr int32_t kFirstGeneratorKind = kNursingRotaKind;
constexpr int32_t kLastGeneratorKind = kLabPanelSheetKind;

// Entry i serves kind kFirstGeneratorKind + i, so a kind finds its generator by
// position; the table must hold every kind in order, which is checked here.
constexpr bool GeneratorsStandInKindOrder() {
    constexpr auto count = static_cast<int32_t>(std::size(kGenerators));
    if (count != kLastGeneratorKind - kFirstGeneratorKind + 1) return false;
    for (int32_t i = 0; i < count; ++i) {
        if (kGenerators[i].kind != kFirstGeneratorKind + i) return false;
    }
    return true;
}
static_assert(GeneratorsStandInKindOrder(), "one generator per kind, in kind order");

const GeneratorEntry* GeneratorEntryOf(int32_t special_kind) {
    if (special_kind < kFirstGeneratorKind || special_kind > kLastGeneratorKind) return nullptr;
    return &kGenerators[special_kind - kFirstGeneratorKind];
}

GeneratorFunction GeneratorOf(int32_t special_kind) {
    const GeneratorEntry* entry = GeneratorEntryOf(special_kind);
    return entry != nullptr ? entry->generate : nullptr;
}

bool NameTakenBefore(const ToolDef& tool, int32_t param_index) {
    for (int32_t i = 0; i < param_index; ++i) {
        if (std::strcmp(tool.params[i].var, tool.params[param_index].var) == 0) return true;
    }
    return false;
}

}  // namespace

int32_t RunGenerator(int32_t special_kind, const ToolDef& tool, const double* values,
                     wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                     int32_t verdict_capacity) {
    ClearText(report, report_capacity);
    ClearText(verdict, verdict_capacity);
    const GeneratorFunction generate = GeneratorOf(special_kind);
    if (generate != nullptr) {
        return generate(tool, values, report, report_capacity, verdict, verdict_capacity);
    }
    AppendText(report, report_capacity, kPlaceholderReport);
    CopyText(verdict, verdict_capacity, kPlaceholderVerdict);
    return 0;
}

const IntParamRange* FindIntParamRange(const ToolDef& tool, int32_t param_index) {
    const GeneratorEntry* entry = GeneratorEntryOf(tool.special_kind);
    if (entry == nullptr || param_index < 0 || param_index >= tool.param_count ||
        param_index >= kMaxParams || tool.params == nullptr)
        return nullptr;
    if (NameTakenBefore(tool, param_index)) return nullptr;
    for (const IntParamRange& range : entry->intParams) {
        if (std::strcmp(range.var, tool.params[param_index].var) == 0) return &range;
    }
    return nullptr;
}
