#include "engine/tool_def.h"

namespace {

constexpr ParamDef kRotaParams[] = {
    {"nurses", L"护士人数", L"人", 8.0},
    {"days", L"排班天数", L"天", 7.0},
};

// Never read: the output count is 0 and the generator writes the report.
constexpr OutputDef kRotaOutputs[] = {
    {"none", L"-", L"", "0", "f0"},
};

// Never scanned either: a generator tool gets its generator's verdict.
constexpr VerdictRule kRotaRules[] = {
    {"", 0, L"已生成轮转排班表"},
};

constexpr ToolDef kNursingRotaTool = {
    187,
    L"护理排班表生成",
    L"按人数与天数生成三班轮转表",
    L"护理管理",
    L"科室排班常规：白班 D、夜班 N、休息 R 轮转",
    L"需按护士能级、连续夜班上限与休息要求人工调整后执行。",
    2,
    kRotaParams,
    0,
    kRotaOutputs,
    1,
    kRotaRules,
    1,
};

}  // namespace

const ToolDef& GetBuiltinTool() {
    return kNursingRotaTool;
}
