// EvaluateExpression over arbitrary text: the error flag is 0 or 1, the value
// finite whenever the flag is 0, and a text that is one plain number gives
// exactly the double strtod reads from it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/tool_def.h"
#include "expr/evaluator.h"
#include "fuzz_support.h"

namespace {

constexpr ParamDef kParams[] = {
    {"x", L"x", nullptr, 3},        {"y", L"y", nullptr, 4},      {"z", L"z", nullptr, 5},
    {"nurses", L"护士", L"人", 10}, {"days", L"天数", L"天", 14}, {"drugA", L"药A", nullptr, 1},
    {"sqrt", L"遮蔽", nullptr, 2},  {"x", L"重名", nullptr, 99},
};
constexpr OutputDef kOutputs[] = {
    {"a", L"甲", nullptr, "x+1", "f2"},
    {"b", L"乙", nullptr, "a*2", "f1"},
    {"x", L"同名", nullptr, "7", "f0"},
    {"total_dose_mg", L"总量", L"mg", "b", nullptr},
};
constexpr ToolDef kTool = {1,       L"模糊", nullptr,  L"类", L"据",   nullptr, 8,
                           kParams, 4,       kOutputs, 0,     nullptr, 0};

constexpr double kOrdinaryParams[] = {3, 4, 5, 10, 14, 1, 2, 99};
constexpr double kOrdinaryOutputs[] = {4, 8, 7, 8};
constexpr double kHostileParams[] = {std::numeric_limits<double>::quiet_NaN(),
                                     std::numeric_limits<double>::infinity(),
                                     -0.0,
                                     1e308,
                                     -1e308,
                                     2147483648.0,
                                     -2147483649.0,
                                     std::numeric_limits<double>::denorm_min()};
constexpr double kHostileOutputs[] = {-std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN(), 1e-308, -0.0};

void CheckOne(const char* text, const double* params, const double* outputs) {
    int32_t error = 12345;
    const double value = EvaluateExpression(kTool, text, params, outputs, &error);
    FUZZ_CHECK(error == 0 || error == 1);
    if (error == 0) FUZZ_CHECK(std::isfinite(value));
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A text that strtod reads whole, starting as a number does, must evaluate to
// strtod's own double: the evaluator's fast path may not round differently.
void CheckPlainNumber(const char* text) {
    if (!((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return;
    char* end = nullptr;
    const double expected = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(expected)) return;
    int32_t error = 1;
    const double value = EvaluateExpression(kTool, text, kOrdinaryParams, kOrdinaryOutputs, &error);
    FUZZ_CHECK(error == 0);
    FUZZ_CHECK(SameBits(value, expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    CheckOne(text.c_str(), kOrdinaryParams, kOrdinaryOutputs);
    CheckOne(text.c_str(), kHostileParams, kHostileOutputs);
    CheckPlainNumber(text.c_str());
    return 0;
}
