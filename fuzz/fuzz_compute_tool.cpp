// ComputeTool over tool definitions built from the input: formula tools with
// fuzzed formulas, conditions, format codes and units, and every SpecialKind
// (-1 and 12 included) with hostile parameter values, at fuzzed capacities.
// Every buffer must be terminated within its capacity with its guards intact,
// the level must be a generator's 0..3 (or the chosen rule's), a smaller
// capacity must give the start of the same report, and the saved report must
// be the report cut to its own capacity.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/compute.h"
#include "fuzz_support.h"

namespace {

// Every parameter name a generator reads, and a few a formula might.
constexpr const char* kVars[] = {"nurses", "days",  "start", "interval", "times", "kind",
                                 "drugA",  "drugB", "gap",   "beds",     "bed",   "dose",
                                 "volume", "gtt",   "panel", "x",        "y",     "a"};
constexpr const char* kCodes[] = {"f0", "f1", "f2", "f3", "int", "pct", "date", "zz", "", nullptr};
constexpr const wchar_t* kUnits[] = {nullptr, L"", L"mg", L"%", L"%ls", L"ml/h", L"人"};
constexpr const char* kFormulas[] = {
    "nurses*days",        "x/0",       "exp(1000)", "a+1",      "sqrt(x)", "days > 7 ? 1 : 0",
    "round(x)",           "19000.9+x", "",          "1e308*10", "-(x)",    "mod(x, y)",
    "cbrt(-8)+min(x, y)", "x^y",       "log(0)"};
constexpr int32_t kLevels[] = {0, 1, 2, 3, -1, 4, INT32_MIN, INT32_MAX};
// Larger than any report: the whole text, never cut.
constexpr int32_t kFullCapacity = 16384;

struct FuzzedTool {
    std::vector<std::string> names;
    std::vector<std::string> texts;
    std::vector<std::wstring> labels;
    std::vector<ParamDef> params;
    std::vector<OutputDef> outputs;
    std::vector<VerdictRule> rules;
    ToolDef tool{};
};

const char* Formula(FuzzedDataProvider& data, std::vector<std::string>& store) {
    if (data.ConsumeBool()) return data.PickValueInArray(kFormulas);
    store.push_back(data.ConsumeRandomLengthString(48));
    return store.back().c_str();
}

const wchar_t* Label(FuzzedDataProvider& data, std::vector<std::wstring>& store) {
    store.push_back(fuzz::ConsumeWideText(data, data.ConsumeBool() ? 8 : 300));
    return store.back().c_str();
}

void BuildTool(FuzzedDataProvider& data, FuzzedTool& t) {
    // Reserve so that the pointers handed out stay valid.
    t.names.reserve(64);
    t.texts.reserve(64);
    t.labels.reserve(64);
    const int32_t param_count = data.ConsumeIntegralInRange<int32_t>(0, kMaxParams);
    const int32_t output_count = data.ConsumeIntegralInRange<int32_t>(0, kMaxOutputs);
    const int32_t rule_count = data.ConsumeIntegralInRange<int32_t>(0, 8);
    for (int32_t i = 0; i < param_count; ++i) {
        const char* var = data.PickValueInArray(kVars);
        if (data.ConsumeIntegral<uint8_t>() < 16) {
            t.names.push_back(data.ConsumeRandomLengthString(8));
            var = t.names.back().c_str();
        }
        t.params.push_back({var, Label(data, t.labels), data.PickValueInArray(kUnits), 0.0});
    }
    for (int32_t j = 0; j < output_count; ++j) {
        const char* key = data.PickValueInArray(kVars);
        const char* code = data.PickValueInArray(kCodes);
        if (data.ConsumeIntegral<uint8_t>() < 16) {
            t.names.push_back(data.ConsumeRandomLengthString(6));
            code = t.names.back().c_str();
        }
        t.outputs.push_back({key, Label(data, t.labels), data.PickValueInArray(kUnits),
                             Formula(data, t.texts), code});
    }
    for (int32_t r = 0; r < rule_count; ++r) {
        const char* condition = data.ConsumeBool() ? "" : Formula(data, t.texts);
        t.rules.push_back({condition, data.PickValueInArray(kLevels), Label(data, t.labels)});
    }
    int32_t kind = data.ConsumeIntegralInRange<int32_t>(-1, 12);
    if (data.ConsumeIntegral<uint8_t>() < 8) kind = data.ConsumeIntegral<int32_t>();
    t.tool = ToolDef{data.ConsumeIntegral<int32_t>(),
                     L"模糊工具",
                     nullptr,
                     L"类别",
                     L"依据",
                     nullptr,
                     param_count,
                     t.params.data(),
                     output_count,
                     t.outputs.data(),
                     rule_count,
                     t.rules.data(),
                     kind};
}

bool IsRuleLevel(const FuzzedTool& t, int32_t level) {
    if (level == 0) return true;  // no rule chosen
    for (const VerdictRule& rule : t.rules)
        if (rule.level == level) return true;
    return false;
}

struct Results {
    fuzz::GuardedText report;
    fuzz::GuardedText verdict;
    fuzz::GuardedText saved;
    int32_t level = -12345;
    int32_t returned = 0;
};

void Compute(const FuzzedTool& t, const double* values, Results& r) {
    r.returned = ComputeTool(t.tool, values, r.report.data(), r.report.capacity, r.verdict.data(),
                             r.verdict.capacity, &r.level, r.saved.data(), r.saved.capacity);
    r.report.CheckTerminatedAndGuarded();
    r.verdict.CheckTerminatedAndGuarded();
    r.saved.CheckTerminatedAndGuarded();
    FUZZ_CHECK(r.returned == r.level);
}

std::wstring Cut(const std::wstring& text, int32_t capacity) {
    return text.substr(0, static_cast<size_t>(capacity - 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    FuzzedTool t;
    BuildTool(data, t);
    double values[kMaxParams];
    for (double& v : values)
        v = fuzz::ConsumeValue(data);

    Results small{fuzz::GuardedText(data.ConsumeIntegralInRange<int32_t>(1, 9000)),
                  fuzz::GuardedText(data.ConsumeIntegralInRange<int32_t>(1, 600)),
                  fuzz::GuardedText(data.ConsumeIntegralInRange<int32_t>(1, 9000))};
    Results full{fuzz::GuardedText(kFullCapacity), fuzz::GuardedText(512),
                 fuzz::GuardedText(kFullCapacity)};
    Compute(t, values, small);
    Compute(t, values, full);

    const int32_t kind = t.tool.special_kind;
    if (kind >= 1 && kind <= 11) {
        FUZZ_CHECK(full.level >= 0 && full.level <= 3);
        FUZZ_CHECK(!full.verdict.Text().empty());
    } else if (kind != 0) {
        FUZZ_CHECK(full.level == 0);
        FUZZ_CHECK(full.report.Text() == L"（该工具暂无自定义报告）");
        FUZZ_CHECK(full.verdict.Text() == L"暂无报告内容");
    } else {
        FUZZ_CHECK(IsRuleLevel(t, full.level));
        FUZZ_CHECK(!full.verdict.Text().empty());
    }
    FUZZ_CHECK(small.level == full.level);
    FUZZ_CHECK(small.report.Text() == Cut(full.report.Text(), small.report.capacity));
    FUZZ_CHECK(small.saved.Text() == Cut(small.report.Text(), small.saved.capacity));
    FUZZ_CHECK(full.saved.Text() == full.report.Text());
    // The verdict is one piece: cutting it never changes what is chosen.
    FUZZ_CHECK(small.verdict.Text() == Cut(full.verdict.Text(), small.verdict.capacity));
    return 0;
}
