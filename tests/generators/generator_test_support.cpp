#include "tests/generators/generator_test_support.h"

#include "engine/bounded_text.h"

namespace {

constexpr int32_t kGuardCount = 8;
constexpr wchar_t kGuard = L'\x2603';
// Stale text left in the buffer beyond the emptied first character.
constexpr wchar_t kStale = L'#';

struct GuardedBuffer {
    std::vector<wchar_t> storage;
    int32_t capacity;

    explicit GuardedBuffer(int32_t capacity_in)
        : storage(static_cast<size_t>(capacity_in + kGuardCount), kGuard), capacity(capacity_in) {
        for (int32_t i = 0; i < capacity; ++i)
            storage[static_cast<size_t>(i)] = kStale;
        if (capacity > 0) storage[0] = L'\0';
    }

    wchar_t* data() { return storage.data(); }

    bool GuardsIntact() const {
        for (int32_t i = capacity; i < capacity + kGuardCount; ++i) {
            if (storage[static_cast<size_t>(i)] != kGuard) return false;
        }
        return true;
    }

    bool Terminated() const {
        return capacity > 0 && BoundedLength(storage.data(), capacity) < capacity;
    }

    std::wstring Text() const {
        if (!Terminated()) return L"";
        return std::wstring(storage.data(),
                            static_cast<size_t>(BoundedLength(storage.data(), capacity)));
    }
};

}  // namespace

GeneratorRun RunOnGuardedBuffers(int32_t report_capacity, int32_t verdict_capacity,
                                 const std::function<int32_t(wchar_t*, wchar_t*)>& write) {
    GuardedBuffer report(report_capacity);
    GuardedBuffer verdict(verdict_capacity);
    GeneratorRun run;
    run.level = write(report.data(), verdict.data());
    run.report = report.Text();
    run.verdict = verdict.Text();
    run.report_terminated = report.Terminated();
    run.verdict_terminated = verdict.Terminated();
    run.guards_intact = report.GuardsIntact() && verdict.GuardsIntact();
    return run;
}

ToolDef MakeTool(int32_t special_kind, const ParamDef* params, int32_t param_count) {
    ToolDef tool{};
    tool.id = 900 + special_kind;
    tool.name = L"测试工具";
    tool.category = L"测试";
    tool.reference = L"测试";
    tool.param_count = param_count;
    tool.params = params;
    tool.special_kind = special_kind;
    return tool;
}

GeneratorRun RunOnGuardedBuffers(GeneratorFunction generator, const ToolDef& tool,
                                 const double* values, int32_t report_capacity,
                                 int32_t verdict_capacity) {
    return RunOnGuardedBuffers(
        report_capacity, verdict_capacity, [&](wchar_t* report, wchar_t* verdict) {
            return generator(tool, values, report, report_capacity, verdict, verdict_capacity);
        });
}

GeneratorRun RunDispatchOnGuardedBuffers(const ToolDef& tool, const double* values,
                                         int32_t report_capacity, int32_t verdict_capacity) {
    return RunOnGuardedBuffers(report_capacity, verdict_capacity,
                               [&](wchar_t* report, wchar_t* verdict) {
                                   return RunGenerator(tool.special_kind, tool, values, report,
                                                       report_capacity, verdict, verdict_capacity);
                               });
}

std::vector<std::wstring> ReportLines(const std::wstring& report) {
    std::vector<std::wstring> lines;
    size_t begin = 0;
    for (size_t end = report.find(L"\r\n"); end != std::wstring::npos;
         end = report.find(L"\r\n", begin)) {
        lines.push_back(report.substr(begin, end - begin));
        begin = end + 2;
    }
    return lines;
}

int32_t CountLines(const std::wstring& report) {
    return static_cast<int32_t>(ReportLines(report).size());
}
