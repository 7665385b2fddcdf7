// Speed of the two hot paths, each next to a reference in the same run:
// - EvaluateExpression per call (text to number) against muparser's SetExpr +
//   Eval per call, and against the byte floor: one loop reading each byte of
//   the same text once;
// - ComputeTool for the built-in tool's defaults, for the largest rota and for
//   a formula tool of 16 outputs and 8 rules, against the floor of writing the
//   same number of characters.
// scripts/bench.sh runs it and puts the ratios into a table.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdint>
#include <cwchar>

#include "engine/compute.h"
#include "engine/tool_def.h"
#include "expr/evaluator.h"

namespace {

constexpr const char* kExpressions[] = {
    "2+3*4",
    "x*y+z",
    "(x+1)*(y-2)/(z+3)",
    "sqrt(x*x+y*y)",
    "max(x,y)+min(y,z)",
    "x^2+y^2",
    "abs(x-y)/(abs(x)+abs(y)+1)",
    "exp(-x/10)*100",
    "(x+1)*(y-2)/(z+3)+sqrt(x*x+y*y)*exp(-x/10)-max(x,y)+min(y,z)*2.25+abs(x-y)/"
    "(abs(x)+abs(y)+1)+x^2+y^2-17.25*z/(3+x*0.125)",
};
constexpr int kExpressionCount = sizeof kExpressions / sizeof kExpressions[0];

constexpr ParamDef kXyzParams[] = {
    {"x", L"x", nullptr, 3.0},
    {"y", L"y", nullptr, 4.0},
    {"z", L"z", nullptr, 5.0},
};
constexpr ToolDef kXyzTool = {1,          L"基准", nullptr, L"类", L"据",   nullptr, 3,
                              kXyzParams, 0,       nullptr, 0,     nullptr, 0};
const double kXyzValues[] = {3.0, 4.0, 5.0};

void Evaluator(benchmark::State& state) {
    const char* text = kExpressions[state.range(0)];
    const double outputs[1] = {};
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        int32_t error = 0;
        const double value = EvaluateExpression(kXyzTool, text, kXyzValues, outputs, &error);
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(error);
    }
    state.SetLabel(text);
}

void Muparser(benchmark::State& state) {
    const char* text = kExpressions[state.range(0)];
    double x = 3.0, y = 4.0, z = 5.0;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.DefineVar("z", &z);
    for (auto _ : state) {
        parser.SetExpr(text);
        const double value = parser.Eval();
        benchmark::DoNotOptimize(value);
    }
    state.SetLabel(text);
}

// The least any evaluator must do: look at every byte of the text once.
void ByteFloor(benchmark::State& state) {
    const char* text = kExpressions[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        uint32_t sum = 0;
        for (const char* p = text; *p != '\0'; ++p)
            sum += static_cast<unsigned char>(*p);
        benchmark::DoNotOptimize(sum);
    }
    state.SetLabel(text);
}

// --- ComputeTool ---

wchar_t g_report[8192];
wchar_t g_verdict[512];
wchar_t g_saved[8192];
wchar_t g_copy[16384];

// Sixteen outputs that build on each other and eight rules of which only the
// last applies, so every condition is read.
constexpr ParamDef kFormulaParams[] = {
    {"weight", L"体重", L"kg", 62.5}, {"height", L"身高", L"cm", 168},
    {"age", L"年龄", L"岁", 57},      {"scr", L"肌酐", L"μmol/L", 88},
    {"sbp", L"收缩压", L"mmHg", 132}, {"dbp", L"舒张压", L"mmHg", 84},
    {"hr", L"心率", L"次/分", 78},    {"dose", L"剂量", L"mg/kg", 1.5},
};
constexpr OutputDef kFormulaOutputs[] = {
    {"bmi", L"体重指数", L"kg/m²", "weight/((height/100)^2)", "f1"},
    {"bsa", L"体表面积", L"m²", "sqrt(height*weight/3600)", "f2"},
    {"ibw", L"理想体重", L"kg", "height-105", "f1"},
    {"crcl", L"肌酐清除率", L"ml/min", "(140-age)*weight/(0.818*scr)", "f1"},
    {"map", L"平均动脉压", L"mmHg", "(sbp+2*dbp)/3", "f0"},
    {"pp", L"脉压", L"mmHg", "sbp-dbp", "f0"},
    {"shock", L"休克指数", nullptr, "hr/sbp", "f2"},
    {"total", L"单次剂量", L"mg", "dose*weight", "f1"},
    {"daily", L"日剂量", L"mg", "total*3", "f0"},
    {"ratio", L"实际/理想", nullptr, "weight/ibw", "pct"},
    {"adj", L"校正剂量", L"mg", "crcl < 50 ? total*0.5 : total", "f1"},
    {"obese", L"肥胖", nullptr, "bmi >= 28 ? 1 : 0", "int"},
    {"risk", L"风险分", nullptr, "(age>65)+(map>105)+(shock>0.9)+(crcl<30)", "int"},
    {"vol", L"补液量", L"ml", "round(weight*30/50)*50", "f0"},
    {"rate", L"滴速", L"ml/h", "vol/24", "f1"},
    {"next", L"复查", nullptr, "19000 + max(1, min(14, floor(crcl/10)))", "date"},
};
constexpr VerdictRule kFormulaRules[] = {
    {"risk >= 4", 3, L"高危：立即处理"},
    {"crcl < 15", 3, L"肾功能衰竭：停药"},
    {"shock > 1.3", 3, L"休克：抢救"},
    {"map > 130 || map < 50", 2, L"血压异常"},
    {"bmi >= 40 && age > 70", 2, L"高龄重度肥胖"},
    {"adj != total && daily > 1000", 1, L"减量"},
    {"ratio > 2", 1, L"体重异常"},
    {"", 0, L"各项指标在常规范围内"},
};
constexpr ToolDef kFormulaTool = {
    901, L"综合评估",     nullptr, L"基准",       L"基准", nullptr, 8, kFormulaParams,
    16,  kFormulaOutputs, 8,       kFormulaRules, 0};

struct ComputeCase {
    const char* name;
    const ToolDef* tool;
    double values[kMaxParams];
};

const ComputeCase kComputeCases[] = {
    {"builtin defaults (8 nurses x 7 days)", &GetBuiltinTool(), {8, 7}},
    {"rota 40 nurses x 31 days", &GetBuiltinTool(), {40, 31}},
    {"formula tool 16 outputs 8 rules", &kFormulaTool, {62.5, 168, 57, 88, 132, 84, 78, 1.5}},
};

int32_t ComputeOnce(const ComputeCase& c) {
    int32_t level = 0;
    return ComputeTool(*c.tool, c.values, g_report, 8192, g_verdict, 512, &level, g_saved, 8192);
}

void Compute(benchmark::State& state) {
    const ComputeCase& c = kComputeCases[state.range(0)];
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeOnce(c));
        benchmark::ClobberMemory();
    }
    state.counters["chars"] = static_cast<double>(std::wcslen(g_report));
    state.SetLabel(c.name);
}

// The floor of a computation: writing its report's characters (and the saved
// copy's, which ComputeTool writes as well) one by one into a buffer.
void WriteFloor(benchmark::State& state) {
    const ComputeCase& c = kComputeCases[state.range(0)];
    ComputeOnce(c);
    const int64_t count = static_cast<int64_t>(std::wcslen(g_report)) * 2;
    for (auto _ : state) {
        wchar_t* out = g_copy;
        for (int64_t i = 0; i < count; ++i) {
            out[i] = static_cast<wchar_t>(L'0' + (i & 7));
            benchmark::ClobberMemory();
        }
    }
    state.counters["chars"] = static_cast<double>(count / 2);
    state.SetLabel(c.name);
}

}  // namespace

BENCHMARK(Evaluator)->DenseRange(0, kExpressionCount - 1);
BENCHMARK(Muparser)->DenseRange(0, kExpressionCount - 1);
BENCHMARK(ByteFloor)->DenseRange(0, kExpressionCount - 1);
BENCHMARK(Compute)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(WriteFloor)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
