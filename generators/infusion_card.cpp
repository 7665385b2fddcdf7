#include "generators/infusion_card.h"

#include "engine/bounded_text.h"
#include "engine/report_text.h"

namespace {

constexpr wchar_t kTitleLine[] = L"静脉输液卡";
constexpr wchar_t kCheckLine[] = L"核对：药名/剂量/浓度/有效期/配伍；双人签名。";
constexpr wchar_t kObservationLine[] = L"观察：穿刺点、滴速、输注反应；每 30 分钟巡视并记录。";
constexpr wchar_t kVerdict[] = L"输液卡已生成，双人核对后执行";

// A standard giving set delivers 20 drops per ml: drops per minute × 60 ÷ 20.
constexpr double kMlPerHourPerDropPerMinute = 3.0;

struct InfusionOrder {
    int32_t bed;
    double dose;
    double volumeMl;
    double dropsPerMinute;
};

InfusionOrder ReadInfusionOrder(const ToolDef& tool, const double* values) {
    InfusionOrder order{};
    order.bed = FindClampedIntParam(tool, values, kInfusionCardBedParam);
    order.dose = FindParamValue(tool, values, "dose");
    order.volumeMl = FindParamValue(tool, values, "volume");
    order.dropsPerMinute = FindParamValue(tool, values, "gtt");
    return order;
}

}  // namespace

int32_t GenerateInfusionCard(const ToolDef& tool, const double* values, wchar_t* report,
                             int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity) {
    const InfusionOrder order = ReadInfusionOrder(tool, values);
    AppendReportLine(report, report_capacity, L"%ls", kTitleLine);
    AppendReportLine(report, report_capacity, L"床号：%d", order.bed);
    AppendReportLine(report, report_capacity, L"药液：医嘱药量 %.2f ，加入溶媒 %.0f ml", order.dose,
                     order.volumeMl);
    AppendReportLine(report, report_capacity, L"滴速：%.0f 滴/分（约 %.0f ml/h）",
                     order.dropsPerMinute, order.dropsPerMinute * kMlPerHourPerDropPerMinute);
    AppendReportLine(report, report_capacity, L"%ls", kCheckLine);
    AppendReportLine(report, report_capacity, L"%ls", kObservationLine);
    CopyText(verdict, verdict_capacity, kVerdict);
    return 0;
}
