#include "engine/tool_def.h"

#include <iterator>

namespace {

constexpr ParamDef kRotaParams[] = {
    {.var = "nurses", .label = L"护士人数", .unit = L"人", .default_value = 8.0},
    {.var = "days", .label = L"排班天数", .unit = L"天", .default_value = 7.0},
};

// Never scanned: a generator tool gets its generator's verdict.
constexpr VerdictRule kRotaRules[] = {
    {.condition = "", .level = 0, .verdict_text = L"已生成轮转排班表"},
};

constexpr ToolDef kNursingRotaTool = {
    .id = 187,
    .name = L"护理排班表生成",
    .subtitle = L"按人数与天数生成三班轮转表",
    .category = L"护理管理",
    .reference = L"科室排班常规：白班 D、夜班 N、休息 R 轮转",
    .note = L"需按护士能级、连续夜班上限与休息要求人工调整后执行。",
    .param_count = static_cast<int32_t>(std::size(kRotaParams)),
    .params = kRotaParams,
    // The generator writes the whole report: no formula outputs.
    .output_count = 0,
    .outputs = nullptr,
    .rule_count = static_cast<int32_t>(std::size(kRotaRules)),
    .rules = kRotaRules,
    .special_kind = kNursingRotaKind,
};

}  // namespace

const ToolDef& GetBuiltinTool() {
    return kNursingRotaTool;
}
