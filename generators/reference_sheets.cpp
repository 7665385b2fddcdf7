#include "generators/reference_sheets.h"

#include <span>

#include "engine/bounded_text.h"
#include "engine/report_text.h"

namespace {

using Lines = std::span<const wchar_t* const>;

// One variant of a sheet: the lines shown for one selector value.
struct SheetVariant {
    int32_t selector;
    Lines lines;
};

// A fixed sheet: heading lines, the variant chosen by the selector, closing lines.
// The last variant is the one for every value that no other variant lists.
struct ReferenceSheet {
    const IntParamRange* selector;  // null: the sheet has a single variant
    Lines heading;
    std::span<const SheetVariant> variants;
    Lines closing;
    const wchar_t* verdict;
};

// Selector of the last variant of a sheet: never compared, it stands for every other value.
constexpr int32_t kAnyOther = 0;

// ---- Specimen tube order (SpecialKind 3) ----

constexpr const wchar_t* kTubeHeading[] = {
    L"标准采血顺序（按添加剂，避免交叉污染）：",
    L"1 血培养瓶（需氧/厌氧）",
    L"2 凝血管 淡蓝（枸橼酸钠，凝血 PT/APTT）",
    L"3 促凝/血清管 红或金黄（生化、免疫）",
    L"4 肝素管 绿（血气、部分生化）",
    L"5 EDTA 紫（血常规、糖化、血型）",
    L"6 氟化钠 灰（血糖、乳酸）",
    L"",
};
constexpr const wchar_t* kTubeBloodCount[] = {
    L"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。"};
constexpr const wchar_t* kTubeCoagulation[] = {
    L"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。"};
constexpr const wchar_t* kTubeBiochemistry[] = {
    L"本次：生化 → 红/金黄管，避免溶血，采血后静置 30 分钟离心。"};
constexpr const wchar_t* kTubeBloodGas[] = {
    L"本次：血气 → 肝素化注射器，排气后立即送检，15 分钟内完成。"};
constexpr const wchar_t* kTubeBloodCulture[] = {
    L"本次：血培养 → 需氧+厌氧各 1 套，采血 2 套不同部位，先注入培养瓶。"};
constexpr const wchar_t* kTubeGlucoseLactate[] = {
    L"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。"};
constexpr const wchar_t* kTubeOther[] = {L"本次：其他项目，请按检验科项目手册执行。"};

constexpr SheetVariant kTubeVariants[] = {
    {1, kTubeBloodCount},   {2, kTubeCoagulation},    {3, kTubeBiochemistry},  {4, kTubeBloodGas},
    {5, kTubeBloodCulture}, {6, kTubeGlucoseLactate}, {kAnyOther, kTubeOther},
};

constexpr ReferenceSheet kTubeSheet = {
    &kSheetKindParam, kTubeHeading, kTubeVariants, {}, L"按标准顺序采血可减少溶血与交叉污染"};

// ---- Critical values (SpecialKind 4) ----

constexpr const wchar_t* kCriticalHeading[] = {
    L"常见检验危急值（参考，需以本院文件为准）：",
};
constexpr const wchar_t* kCriticalElectrolytes[] = {
    L"血钾 <2.5 或 >6.5 mmol/L",
    L"血钠 <120 或 >160 mmol/L",
    L"血钙 <1.5 或 >3.5 mmol/L",
};
constexpr const wchar_t* kCriticalGlucoseGas[] = {
    L"血糖 <2.8 或 >22.2 mmol/L",
    L"pH <7.20 或 >7.60；PaO2 <45 mmHg；PaCO2 >70 mmHg",
};
constexpr const wchar_t* kCriticalBloodCount[] = {
    L"白细胞 <1.0 或 >30.0 ×10^9/L",
    L"血红蛋白 <50 g/L；血小板 <20 或 >1000 ×10^9/L",
};
constexpr const wchar_t* kCriticalCoagulation[] = {
    L"INR >4.0；纤维蛋白原 <1.0 g/L",
    L"D-二聚体显著升高并伴临床血栓表现",
};
constexpr const wchar_t* kCriticalMicrobiology[] = {
    L"血培养阳性（无菌部位）",
    L"脑脊液培养阳性；HIV 初筛阳性需确认",
};
constexpr const wchar_t* kCriticalCardiacPancreas[] = {
    L"肌钙蛋白明显升高（高于第 99 百分位）",
    L"血淀粉酶/脂肪酶 >3 倍正常上限",
};
constexpr const wchar_t* kCriticalCatalogue[] = {L"请查阅本院《危急值报告目录》"};

constexpr SheetVariant kCriticalVariants[] = {
    {1, kCriticalElectrolytes},      {2, kCriticalGlucoseGas},   {3, kCriticalBloodCount},
    {4, kCriticalCoagulation},       {5, kCriticalMicrobiology}, {6, kCriticalCardiacPancreas},
    {kAnyOther, kCriticalCatalogue},
};

constexpr const wchar_t* kCriticalClosing[] = {
    L"",
    L"处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 分钟内处理并记录。",
};

constexpr ReferenceSheet kCriticalSheet = {&kSheetKindParam, kCriticalHeading, kCriticalVariants,
                                           kCriticalClosing,
                                           L"危急值必须闭环：报告、接收、处理、记录"};

// ---- High-alert drugs (SpecialKind 5) ----

constexpr const wchar_t* kHighAlertHeading[] = {L"高警示药品类别与要点："};
constexpr const wchar_t* kHighAlertElectrolytes[] = {
    L"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁",
    L"要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。",
};
constexpr const wchar_t* kHighAlertInsulin[] = {
    L"胰岛素与口服降糖药：胰岛素、格列本脲",
    L"要点：独立存放、专用注射器、剂量双人核对、低血糖监测与急救糖备用。",
};
constexpr const wchar_t* kHighAlertAnticoagulants[] = {
    L"抗凝与化疗药：肝素、华法林、低分子肝素、化疗药物",
    L"要点：化疗药集中配置与防护、抗凝药监测 INR/APTT、出血风险宣教。",
};
constexpr const wchar_t* kHighAlertAnaesthetics[] = {
    L"麻醉与肌松药：丙泊酚、维库溴铵、琥珀胆碱、阿片类",
    L"要点：专柜加锁、基数管理、使用后登记、拮抗剂（纳洛酮/新斯的明）备用。",
};

constexpr SheetVariant kHighAlertVariants[] = {
    {1, kHighAlertElectrolytes},
    {2, kHighAlertInsulin},
    {3, kHighAlertAnticoagulants},
    {kAnyOther, kHighAlertAnaesthetics},
};

constexpr ReferenceSheet kHighAlertSheet = {&kSheetKindParam,
                                            kHighAlertHeading,
                                            kHighAlertVariants,
                                            {},
                                            L"高警示药品须专区、专标识、双人核对"};

// ---- Surgical safety checklist (SpecialKind 8) ----

constexpr const wchar_t* kChecklistLines[] = {
    L"手术安全核查表（三步核查）：",
    L"【麻醉实施前】身份/部位/术式/"
    L"知情同意；过敏史；气道与插管风险；出血风险；影像与植入物；皮肤准备。",
    L"【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；抗菌药物已用；器械灭"
    L"菌合格；影像资料到位。",
    L"【患者离室前】手术名称与记录一致；标本标识与送检；器械敷料清点；皮肤与管路；恢复与转运方案。",
    L"",
    L"要求：三方（外科、麻醉、护理）共同口述确认并签字，任一环节缺失不得开台。",
};

constexpr ReferenceSheet kChecklistSheet = {
    nullptr, kChecklistLines, {}, {}, L"三方核查缺一不可，签字后归档"};

// ---- Handover template (SpecialKind 9) ----

constexpr const wchar_t kHandoverHeading[] =
    L"交班报告（床号 / 诊断 / 本班病情 / 治疗与管路 / 需下一班关注）：";
// A format: the row number goes in, "%%" gives the percent sign after SpO2.
constexpr const wchar_t kHandoverRowFormat[] =
    L"%02d 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%%；本班处置＿＿；"
    L"管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。";
constexpr const wchar_t kHandoverClosing[] =
    L"危重患者须床旁交接；新入院、手术、输血、病情变化患者逐一交接并双签名。";
constexpr const wchar_t kHandoverVerdict[] = L"模板已生成，床旁交接并双方签名";

// ---- Laboratory panels (SpecialKind 11) ----

constexpr const wchar_t* kPanelBloodCount[] = {
    L"血常规（紫管 EDTA）：WBC、RBC、Hb、Hct、PLT、MCV/MCH/MCHC、中性/淋巴/单核/嗜酸/嗜碱比例。",
    L"注意：剧烈运动、情绪、采血时间可影响结果；PLT 聚集需涂片复核。",
};
constexpr const wchar_t* kPanelBiochemistry[] = {
    L"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/"
    L"UA）、血糖、血脂、电解质。",
    L"注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。",
};
constexpr const wchar_t* kPanelCoagulation[] = {
    L"凝血四项（淡蓝管）：PT、INR、APTT、TT、纤维蛋白原、D-二聚体。",
    L"注意：采血量必须达刻度；肝素治疗中查 APTT。",
};
constexpr const wchar_t* kPanelThyroid[] = {
    L"甲状腺功能（红/金黄管）：TSH、FT3、FT4、TPOAb、TgAb。",
    L"注意：空腹；含碘造影剂后 1 周内避免复查。",
};
constexpr const wchar_t* kPanelCardiac[] = {
    L"心肌损伤标志物：cTnI/cTnT、CK-MB、肌红蛋白、BNP/NT-proBNP。",
    L"注意：胸痛发作后 2-4 小时开始升高；动态复查更有意义。",
};
constexpr const wchar_t* kPanelUrine[] = {
    L"尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。",
    L"注意：留取中段尿，1 小时内送检；月经期避免。",
};

constexpr SheetVariant kPanelVariants[] = {
    {1, kPanelBloodCount}, {2, kPanelBiochemistry}, {3, kPanelCoagulation},
    {4, kPanelThyroid},    {5, kPanelCardiac},      {kAnyOther, kPanelUrine},
};

constexpr ReferenceSheet kPanelSheet = {
    &kLabPanelParam, {}, kPanelVariants, {}, L"套餐与采血管已列出，按顺序采血"};

// ---- Writing ----

// Sheet lines are literal text: passed as an argument, never as the format.
void AppendLines(wchar_t* report, int32_t capacity, Lines lines) {
    for (const wchar_t* line : lines)
        AppendReportLine(report, capacity, L"%ls", line);
}

Lines ChooseVariantLines(std::span<const SheetVariant> variants, int32_t selector) {
    if (variants.empty()) return {};
    for (size_t i = 0; i + 1 < variants.size(); ++i) {
        if (variants[i].selector == selector) return variants[i].lines;
    }
    return variants.back().lines;
}

int32_t WriteSheet(const ReferenceSheet& sheet, const ToolDef& tool, const double* values,
                   wchar_t* report, int32_t report_capacity, wchar_t* verdict,
                   int32_t verdict_capacity) {
    const int32_t selector =
        sheet.selector != nullptr ? FindClampedIntParam(tool, values, *sheet.selector) : 0;
    AppendLines(report, report_capacity, sheet.heading);
    AppendLines(report, report_capacity, ChooseVariantLines(sheet.variants, selector));
    AppendLines(report, report_capacity, sheet.closing);
    CopyText(verdict, verdict_capacity, sheet.verdict);
    return 0;
}

int32_t ReadHandoverRows(const ToolDef& tool, const double* values) {
    return FindClampedIntParam(tool, values, kHandoverBedsParam);
}

}  // namespace

int32_t GenerateSpecimenTubeOrder(const ToolDef& tool, const double* values, wchar_t* report,
                                  int32_t report_capacity, wchar_t* verdict,
                                  int32_t verdict_capacity) {
    return WriteSheet(kTubeSheet, tool, values, report, report_capacity, verdict, verdict_capacity);
}

int32_t GenerateCriticalValueSheet(const ToolDef& tool, const double* values, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity) {
    return WriteSheet(kCriticalSheet, tool, values, report, report_capacity, verdict,
                      verdict_capacity);
}

int32_t GenerateHighAlertDrugSheet(const ToolDef& tool, const double* values, wchar_t* report,
                                   int32_t report_capacity, wchar_t* verdict,
                                   int32_t verdict_capacity) {
    return WriteSheet(kHighAlertSheet, tool, values, report, report_capacity, verdict,
                      verdict_capacity);
}

int32_t GenerateSurgicalSafetyChecklist(const ToolDef& tool, const double* values, wchar_t* report,
                                        int32_t report_capacity, wchar_t* verdict,
                                        int32_t verdict_capacity) {
    return WriteSheet(kChecklistSheet, tool, values, report, report_capacity, verdict,
                      verdict_capacity);
}

int32_t GenerateHandoverTemplate(const ToolDef& tool, const double* values, wchar_t* report,
                                 int32_t report_capacity, wchar_t* verdict,
                                 int32_t verdict_capacity) {
    const int32_t rows = ReadHandoverRows(tool, values);
    AppendReportLine(report, report_capacity, L"%ls", kHandoverHeading);
    for (int32_t row = 1; row <= rows; ++row) {
        AppendReportLine(report, report_capacity, kHandoverRowFormat, row);
    }
    AppendReportLine(report, report_capacity, L"");
    AppendReportLine(report, report_capacity, L"%ls", kHandoverClosing);
    CopyText(verdict, verdict_capacity, kHandoverVerdict);
    return 0;
}

int32_t GenerateLabPanelSheet(const ToolDef& tool, const double* values, wchar_t* report,
                              int32_t report_capacity, wchar_t* verdict, int32_t verdict_capacity) {
    return WriteSheet(kPanelSheet, tool, values, report, report_capacity, verdict,
                      verdict_capacity);
}
