#include "expr/evaluator.h"

double EvaluateExpression(const ToolDef&, const char*, const double*, const double*,
                          int32_t* error) {
    if (error != nullptr) *error = 1;
    return 0.0;
}
