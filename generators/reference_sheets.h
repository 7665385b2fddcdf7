// Fixed reference sheets (SpecialKinds 3, 4, 5, 8, 9 and 11).
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"

// The variant a sheet shows, chosen by a whole number (any number that no
// variant lists chooses the sheet's last one), and the handover's bed rows.
constexpr IntParamRange kSheetKindParam = {"kind", kAnyIntLow, kAnyIntHigh};
constexpr IntParamRange kLabPanelParam = {"panel", kAnyIntLow, kAnyIntHigh};
constexpr IntParamRange kHandoverBedsParam = {"beds", 1, 30};
constexpr IntParamRange kSheetKindIntParams[] = {kSheetKindParam};
constexpr IntParamRange kLabPanelIntParams[] = {kLabPanelParam};
constexpr IntParamRange kHandoverIntParams[] = {kHandoverBedsParam};

int32_t GenerateSpecimenTubeOrder(const ToolDef& tool, const double* values, wchar_t* report,
                                  int32_t report_capacity, wchar_t* verdict,
                                  int32_t verdict_capacity);
int32_t GenerateCriticalValueSheet(const ToolDef& tool, const double* values, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity);
int32_t GenerateHighAlertDrugSheet(const ToolDef& tool, const double* values, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity);
int32_t GenerateSurgicalSafetyChecklist(const ToolDef& tool, const double* values, wchar_t* report,
                                        int32_t report_capacity, wchar_t* verdict,
                                        int32_t verdict_capacity);
int32_t GenerateHandoverTemplate(const ToolDef& tool, const double* values, wchar_t* report,
                                 int32_t report_capacity, wchar_t* verdict,
                                 int32_t verdict_capacity);
int32_t GenerateLabPanelSheet(const ToolDef& tool, const double* values, wchar_t* report,
                              int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity);
