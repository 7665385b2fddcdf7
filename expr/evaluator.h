// Expression evaluator for output formulas and verdict conditions.
#pragma once

#include <cstdint>

#include "engine/tool_def.h"

double EvaluateExpression(const ToolDef& tool, const char* text,
                          const double* param_values, const double* output_values,
                          int32_t* error);
