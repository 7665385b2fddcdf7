// Constant tool definition records and the built-in tool.
#pragma once

#include <cstdint>

struct ParamDef {
    const char* var;
    const wchar_t* label;
    const wchar_t* unit;  // may be null
    double default_value;
};

struct OutputDef {
    const char* key;
    const wchar_t* label;
    const wchar_t* unit;  // may be null
    const char* expr;
    const char* format_code;  // may be null
};

struct VerdictRule {
    const char* condition;  // never null; "" always applies
    int32_t level;
    const wchar_t* verdict_text;
};

struct ToolDef {
    int32_t id;
    const wchar_t* name;
    const wchar_t* subtitle;  // may be null
    const wchar_t* category;
    const wchar_t* reference;
    const wchar_t* note;  // may be null
    int32_t param_count;
    const ParamDef* params;
    int32_t output_count;
    const OutputDef* outputs;
    int32_t rule_count;
    const VerdictRule* rules;
    int32_t special_kind;
};

// The values of ToolDef::special_kind: 0 a formula tool, 1 to 11 the built-in
// generator that writes the whole report; any other value has no generator.
enum SpecialKindValue : int32_t {
    kFormulaKind = 0,
    kNursingRotaKind = 1,
    kDosingTimetableKind = 2,
    kSpecimenTubeOrderKind = 3,
    kCriticalValueSheetKind = 4,
    kHighAlertDrugSheetKind = 5,
    kInfusionCompatibilityKind = 6,
    kFollowUpScheduleKind = 7,
    kSurgicalSafetyChecklistKind = 8,
    kHandoverTemplateKind = 9,
    kInfusionCardKind = 10,
    kLabPanelSheetKind = 11,
};

// Tables of parameter values and output results hold this many entries.
constexpr int32_t kMaxParams = 16;
constexpr int32_t kMaxOutputs = 16;

const ToolDef& GetBuiltinTool();
