#include "generators/infusion_compatibility.h"

#include "engine/bounded_text.h"

int32_t CheckInfusionCompatibility(const ToolDef&, const double*, wchar_t* report, int32_t report_capacity,
        wchar_t* verdict, int32_t verdict_capacity) {
    AppendText(report, report_capacity, L"（该工具暂无自定义报告）");
    CopyText(verdict, verdict_capacity, L"暂无报告内容");
    return 0;
}

