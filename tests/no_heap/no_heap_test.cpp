// Proves that the core allocates nothing: every operator new and every malloc
// family call of the process is counted, and the count must not move across
// calls into the core, at their largest inputs.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

#include "app/command_line.h"
#include "app/self_test_text.h"
#include "engine/compute.h"
#include "expr/day_number.h"
#include "expr/evaluator.h"
#include "generators/follow_up_schedule.h"
#include "generators/nursing_rota.h"
#include "month/arrange.h"
#include "platform/local_date.h"
#include "records/csv_record.h"
#include "ui/clipboard_html.h"
#include "ui/field_parser.h"
#include "ui/shell_text.h"

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void __libc_free(void* pointer);
}

namespace {
std::atomic<long> g_allocations{0};
}

extern "C" void* malloc(size_t size) {
    ++g_allocations;
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    ++g_allocations;
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, size_t size) {
    ++g_allocations;
    return __libc_realloc(pointer, size);
}
extern "C" void free(void* pointer) {
    __libc_free(pointer);
}

void* operator new(size_t size) {
    ++g_allocations;
    if (void* p = __libc_malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete(void* pointer) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, size_t) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, size_t) noexcept {
    __libc_free(pointer);
}

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Buffers live outside the measured calls.
wchar_t g_report[8192];
wchar_t g_verdict[512];
wchar_t g_saved[8192];

template <typename Work>
long AllocationsDuring(Work work) {
    const long before = g_allocations.load();
    work();
    return g_allocations.load() - before;
}

constexpr ParamDef kParams[] = {
    {"nurses", L"护士人数", L"人", 40}, {"days", L"排班天数", L"天", 31},
    {"start", L"起始", nullptr, 7.5},   {"interval", L"间隔", nullptr, 1.5},
    {"times", L"次数", nullptr, 30},    {"kind", L"类别", nullptr, 1},
    {"drugA", L"药A", nullptr, 1},      {"drugB", L"药B", nullptr, 2},
    {"gap", L"间隔天", nullptr, 30},    {"beds", L"床位", nullptr, 30},
    {"bed", L"床号", nullptr, 12},      {"dose", L"剂量", nullptr, 1.5},
    {"volume", L"溶媒", nullptr, 250},  {"gtt", L"滴速", nullptr, 40},
    {"panel", L"套餐", nullptr, 2},     {"x", L"x", nullptr, 3},
};

constexpr OutputDef kOutputs[] = {
    {"a", L"甲", L"mg", "(x+1)*(nurses-2)/(days+3)+sqrt(x*x+days*days)", "f2"},
    {"b", L"乙", nullptr, "a > 3 ? cbrt(-8) : round(2.5)", "int"},
    {"c", L"丙", L"%", "max(a, b) + min(a, b) * 2.25 + mod(days, 7)", "pct"},
    {"d", L"丁", nullptr, "19000.9 + a", "date"},
    {"e", L"戊", nullptr, "1/0", "f1"},
    {"f", L"己", nullptr, "exp(1000)", "f3"},
    {"g", L"庚", nullptr, "unknown + 1", nullptr},
    {"h", L"辛", nullptr, "0x1A + 1e3 + .5 + log10(1000) + log(exp(2)) + pow(2, 10)", "f0"},
};

constexpr VerdictRule kRules[] = {
    {"a < 0", 3, L"不会"},
    {"missing > 1", 2, L"不会"},
    {"b >= 1 && c != 0", 1, L"结论"},
    {"", 0, L""},
};

ToolDef ToolOfKind(int32_t kind) {
    return ToolDef{999,     L"名称", L"副题",  L"类别", L"依据", L"说明", 16,
                   kParams, 8,       kOutputs, 4,       kRules,  kind};
}

// glibc loads the time zone once per process, on the first localtime_r, and
// keeps it: an allocation of the C library's, not of the core (the Windows
// build reads the clock with GetLocalTime, which allocates nothing). Loaded
// before measuring; every later reading of the date must allocate nothing.
void LoadTimeZoneOnce() {
    static const LocalCivilDate first = GetLocalCivilDate();
    (void)first;
}

TEST(NoHeap, LocalDateAfterTheTimeZoneIsLoaded) {
    LoadTimeZoneOnce();
    EXPECT_EQ(AllocationsDuring([] { GetLocalCivilDate(); }), 0);
}

TEST(NoHeap, ComputeToolForEveryKindAtTheLargestInputs) {
    LoadTimeZoneOnce();
    double values[kMaxParams];
    for (int i = 0; i < kMaxParams; ++i)
        values[i] = kParams[i].default_value;
    for (int32_t kind = -1; kind <= 12; ++kind) {
        const ToolDef tool = ToolOfKind(kind);
        int32_t level = 0;
        const long count = AllocationsDuring([&] {
            ComputeTool(tool, values, g_report, 8192, g_verdict, 512, &level, g_saved, 8192);
            ComputeTool(tool, values, g_report, 64, g_verdict, 3, &level, g_saved, 17);
        });
        EXPECT_EQ(count, 0) << "kind " << kind;
    }
    int32_t level = 0;
    const ToolDef& builtin = GetBuiltinTool();
    EXPECT_EQ(
        AllocationsDuring([&] {
            ComputeTool(builtin, values, g_report, 8192, g_verdict, 512, &level, g_saved, 8192);
            GenerateFollowUpScheduleOn(19000, builtin, values, g_report, 8192, g_verdict, 512);
        }),
        0);
}

TEST(NoHeap, EvaluatorFormatterAndReportHelpers) {
    const ToolDef tool = ToolOfKind(0);
    double values[kMaxParams] = {};
    const double outputs[kMaxOutputs] = {};
    const char* texts[] = {"2+3*4",
                           "x*days+nurses",
                           "(x+1)*(days-2)/(nurses+3)",
                           "1 ? 2 : 3",
                           "sqrt(-1)",
                           "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnop",
                           "",
                           "(((1)",
                           "1e999 - 1e999"};
    wchar_t value_text[128];
    const long count = AllocationsDuring([&] {
        for (const char* text : texts) {
            int32_t error = 0;
            EvaluateExpression(tool, text, values, outputs, &error);
        }
        for (const char* code : {"f0", "f1", "f2", "f3", "int", "pct", "date", "zz"}) {
            for (double v : {0.0, -1.0, 19000.9, 1e300, -1e80, kNaN, kInf}) {
                FormatValue(code, v, value_text, 128);
                FormatValue(code, v, value_text, 3);
            }
        }
        g_report[0] = L'\0';
        AppendReportLine(g_report, 8192, L"%ls：%d %.2f %g %%", L"标签", 7, 1.5, 1e-5);
        FormatDayNumber(-719529, value_text, 128);
        CivilFromDays(DaysFromCivil(2024, 2, 29));
    });
    EXPECT_EQ(count, 0);
}

// 按规则排班 of a 40 × 31 ward, and of one whose minimums no month meets.
RotaMonth g_month;
TEST(NoHeap, ArrangeMonthArrangedAndRefused) {
    g_month.first = {2027, 1, 1};
    g_month.days = kMonthMaxDays;
    g_month.nurses = kMonthMaxNurses;
    g_month.limits = {2, 5, 12, 4};
    for (int32_t i = 0; i < g_month.nurses; ++i) {
        FormatRotaNurseLabel(i, g_month.nurse[i].name, kNurseNameCapacity);
        g_month.nurse[i].grade = static_cast<int8_t>(i % 5);
        g_month.cell[i][i % kMonthMaxDays] = {kShiftLeave, false};
    }
    EXPECT_EQ(AllocationsDuring([] { EXPECT_TRUE(ArrangeMonth(&g_month).arranged); }), 0);
    g_month.limits.minDay = kMonthMaxNurses;
    EXPECT_EQ(AllocationsDuring([] { EXPECT_FALSE(ArrangeMonth(&g_month).arranged); }), 0);
}

TEST(NoHeap, CounterSeesAllocations) {
    EXPECT_GT(AllocationsDuring([] {
                  void* volatile p = std::malloc(16);
                  std::free(p);
                  delete new int(3);
              }),
              1);
}

}  // namespace

// The shell's text builders work in the same fixed buffers: reading fields,
// the command line, the record lines, the clipboard payload, the self-test
// report and the window's own texts allocate nothing either.
RecordText g_record;
char g_clipboard[kClipboardHtmlCapacity];
wchar_t g_self_test[kSelfTestTextCapacity];
wchar_t g_text[kAboutTextCapacity];

TEST(NoHeap, ShellTextBuilders) {
    LoadTimeZoneOnce();
    double values[kMaxParams];
    for (int i = 0; i < kMaxParams; ++i)
        values[i] = kParams[i].default_value;
    const ToolDef rota = ToolOfKind(1);  // 40 nurses, 31 days: the largest grid
    const ToolDef formula = ToolOfKind(0);
    const ToolDef sheet = ToolOfKind(11);
    const wchar_t* fields[] = {L" 12.5 ", L"\xFF11\xFF10\xFF0E\xFF15", L"-1e-3", L"", L"abc"};
    const RecordTime time{2024, 2, 29, 23, 59, 59};
    int32_t level = 0;
    ComputeTool(rota, values, g_report, 8192, g_verdict, 512, &level, g_saved, 8192);

    const long count = AllocationsDuring([&] {
        for (const wchar_t* field : fields) {
            double value = 0;
            ParseFieldValue(field, &value);
        }
        double parsed[kMaxParams];
        ParseFieldTexts(rota, fields, parsed);
        ParseFieldTexts(formula, fields, parsed);
        wchar_t path[kSelfTestPathCapacity];
        ParseSelfTestOption(L"app.exe --selftest \"C:\\out dir\\r.txt\"", path,
                            kSelfTestPathCapacity);
        BuildRecordText(rota, values, g_saved, time, &g_record);
        for (const ToolDef* tool : {&rota, &formula, &sheet}) {
            BuildClipboardHtml(*tool, values, g_saved, g_verdict, g_clipboard,
                               kClipboardHtmlCapacity);
            BuildClipboardHtml(*tool, values, g_saved, g_verdict, g_clipboard, 100);
            ComposeSelfTestText(*tool, g_self_test, kSelfTestTextCapacity);
            BuildCopyText(*tool, g_saved, g_verdict, g_self_test, kSelfTestTextCapacity);
        }
        BuildClipboardText(rota, g_saved, g_self_test, kSelfTestTextCapacity);
        BuildAboutText(rota, g_text, kAboutTextCapacity);
        BuildReferenceLine(rota, g_text, kReferenceLineCapacity);
        BuildCaptionLine(rota, g_text, kCaptionLineCapacity);
        BuildInputErrorText(3, L"标签", FindIntParamRange(rota, 0), g_text,
                            kInputErrorTextCapacity);
        FormatDefaultValue(1e6, g_text, kDefaultValueTextCapacity);
    });
    EXPECT_EQ(count, 0);
}
