#include "generators/reference_sheets.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/generators/generator_test_support.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr ParamDef kKindParam[] = {{"kind", L"类别", nullptr, 1.0}};
constexpr ParamDef kPanelParam[] = {{"panel", L"套餐", nullptr, 1.0}};
constexpr ParamDef kBedsParam[] = {{"beds", L"床位数", L"床", 10.0}};
constexpr ParamDef kUnrelatedParam[] = {{"other", L"其他", nullptr, 0.0}};

GeneratorRun Sheet(GeneratorFunction generator, const ParamDef* param, double selector,
                   int32_t capacity = kRoomyReport) {
    const ParamValues values = {selector};
    return RunOnGuardedBuffers(generator, MakeTool(3, param, 1), values.data(), capacity);
}

// ---- line counts for every selector value ----

struct CountCase {
    const char* sheet;
    GeneratorFunction generator;
    const ParamDef* param;
    double selector;
    int32_t lines;
};

constexpr CountCase kCountCases[] = {
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 0, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 1, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 2, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 3, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 4, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 5, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 6, 9},
    {"tubes", GenerateSpecimenTubeOrder, kKindParam, 7, 9},
    {"critical", GenerateCriticalValueSheet, kKindParam, 0, 4},
    {"critical", GenerateCriticalValueSheet, kKindParam, 1, 6},
    {"critical", GenerateCriticalValueSheet, kKindParam, 2, 5},
    {"critical", GenerateCriticalValueSheet, kKindParam, 3, 5},
    {"critical", GenerateCriticalValueSheet, kKindParam, 4, 5},
    {"critical", GenerateCriticalValueSheet, kKindParam, 5, 5},
    {"critical", GenerateCriticalValueSheet, kKindParam, 6, 5},
    {"critical", GenerateCriticalValueSheet, kKindParam, 7, 4},
    {"high alert", GenerateHighAlertDrugSheet, kKindParam, 0, 3},
    {"high alert", GenerateHighAlertDrugSheet, kKindParam, 1, 3},
    {"high alert", GenerateHighAlertDrugSheet, kKindParam, 2, 3},
    {"high alert", GenerateHighAlertDrugSheet, kKindParam, 3, 3},
    {"high alert", GenerateHighAlertDrugSheet, kKindParam, 4, 3},
    {"checklist", GenerateSurgicalSafetyChecklist, kKindParam, 0, 6},
    {"checklist", GenerateSurgicalSafetyChecklist, kKindParam, 5, 6},
    {"handover", GenerateHandoverTemplate, kBedsParam, 0, 4},
    {"handover", GenerateHandoverTemplate, kBedsParam, 1, 4},
    {"handover", GenerateHandoverTemplate, kBedsParam, 12.7, 15},
    {"handover", GenerateHandoverTemplate, kBedsParam, 30, 33},
    {"handover", GenerateHandoverTemplate, kBedsParam, 31, 33},
    {"panels", GenerateLabPanelSheet, kPanelParam, 0, 2},
    {"panels", GenerateLabPanelSheet, kPanelParam, 1, 2},
    {"panels", GenerateLabPanelSheet, kPanelParam, 2, 2},
    {"panels", GenerateLabPanelSheet, kPanelParam, 3, 2},
    {"panels", GenerateLabPanelSheet, kPanelParam, 4, 2},
    {"panels", GenerateLabPanelSheet, kPanelParam, 5, 2},
    {"panels", GenerateLabPanelSheet, kPanelParam, 6, 2},
};

TEST(ReferenceSheets, LineCountForEverySelector) {
    for (const CountCase& c : kCountCases) {
        SCOPED_TRACE(testing::Message() << c.sheet << " selector " << c.selector);
        const GeneratorRun run = Sheet(c.generator, c.param, c.selector);
        EXPECT_EQ(CountLines(run.report), c.lines);
        EXPECT_TRUE(run.report.ends_with(L"\r\n"));
        EXPECT_EQ(run.level, 0);
    }
}

// ---- the variant chosen: selector values, truncation, absence ----

struct VariantCase {
    const char* what;
    GeneratorFunction generator;
    const ParamDef* param;  // null: a tool without the selector
    double selector;
    size_t line_index;
    const wchar_t* line;
};

constexpr wchar_t kTubeOther[] = L"本次：其他项目，请按检验科项目手册执行。";
constexpr wchar_t kTubeBloodCount[] =
    L"本次：血常规 → 紫管 EDTA，采血后 8 次颠倒混匀，2 小时内送检。";
constexpr wchar_t kCriticalCatalogue[] = L"请查阅本院《危急值报告目录》";
constexpr wchar_t kAnaesthetics[] = L"麻醉与肌松药：丙泊酚、维库溴铵、琥珀胆碱、阿片类";
constexpr wchar_t kUrinePanel[] =
    L"尿常规（清洁中段尿）：尿蛋白、尿糖、尿潜血、白细胞、亚硝酸盐、比重、pH、镜检。";

constexpr VariantCase kVariantCases[] = {
    {"tubes 1", GenerateSpecimenTubeOrder, kKindParam, 1, 8, kTubeBloodCount},
    {"tubes 1.8", GenerateSpecimenTubeOrder, kKindParam, 1.8, 8, kTubeBloodCount},
    {"tubes 2", GenerateSpecimenTubeOrder, kKindParam, 2, 8,
     L"本次：凝血 → 淡蓝管，需采满刻度线（约 2.0ml），采血后立即轻柔颠倒 3-4 次。"},
    {"tubes 6", GenerateSpecimenTubeOrder, kKindParam, 6, 8,
     L"本次：血糖/乳酸 → 灰管，需冰浴送检，30 分钟内完成。"},
    {"tubes -0.5", GenerateSpecimenTubeOrder, kKindParam, -0.5, 8, kTubeOther},
    {"tubes 7", GenerateSpecimenTubeOrder, kKindParam, 7, 8, kTubeOther},
    {"tubes 1e10", GenerateSpecimenTubeOrder, kKindParam, 1e10, 8, kTubeOther},
    {"tubes NaN", GenerateSpecimenTubeOrder, kKindParam, kNaN, 8, kTubeOther},
    {"tubes absent", GenerateSpecimenTubeOrder, kUnrelatedParam, 1, 8, kTubeOther},
    {"tubes no params", GenerateSpecimenTubeOrder, nullptr, 1, 8, kTubeOther},
    {"critical 1", GenerateCriticalValueSheet, kKindParam, 1, 3, L"血钙 <1.5 或 >3.5 mmol/L"},
    {"critical 6", GenerateCriticalValueSheet, kKindParam, 6, 2, L"血淀粉酶/脂肪酶 >3 倍正常上限"},
    {"critical 0", GenerateCriticalValueSheet, kKindParam, 0, 1, kCriticalCatalogue},
    {"critical absent", GenerateCriticalValueSheet, kUnrelatedParam, 2, 1, kCriticalCatalogue},
    {"critical no params", GenerateCriticalValueSheet, nullptr, 2, 1, kCriticalCatalogue},
    {"high alert 2", GenerateHighAlertDrugSheet, kKindParam, 2, 1,
     L"胰岛素与口服降糖药：胰岛素、格列本脲"},
    {"high alert 3", GenerateHighAlertDrugSheet, kKindParam, 3, 2,
     L"要点：化疗药集中配置与防护、抗凝药监测 INR/APTT、出血风险宣教。"},
    {"high alert 0", GenerateHighAlertDrugSheet, kKindParam, 0, 1, kAnaesthetics},
    {"high alert 4", GenerateHighAlertDrugSheet, kKindParam, 4, 1, kAnaesthetics},
    {"high alert 6", GenerateHighAlertDrugSheet, kKindParam, 6, 1, kAnaesthetics},
    {"high alert absent", GenerateHighAlertDrugSheet, kUnrelatedParam, 1, 1, kAnaesthetics},
    {"high alert no params", GenerateHighAlertDrugSheet, nullptr, 1, 1, kAnaesthetics},
    {"panel 1", GenerateLabPanelSheet, kPanelParam, 1, 1,
     L"注意：剧烈运动、情绪、采血时间可影响结果；PLT 聚集需涂片复核。"},
    {"panel 5", GenerateLabPanelSheet, kPanelParam, 5, 0,
     L"心肌损伤标志物：cTnI/cTnT、CK-MB、肌红蛋白、BNP/NT-proBNP。"},
    {"panel 0", GenerateLabPanelSheet, kPanelParam, 0, 0, kUrinePanel},
    {"panel 6", GenerateLabPanelSheet, kPanelParam, 6, 0, kUrinePanel},
    {"panel 7", GenerateLabPanelSheet, kPanelParam, 7, 0, kUrinePanel},
    {"panel absent", GenerateLabPanelSheet, kKindParam, 1, 0, kUrinePanel},
    {"panel no params", GenerateLabPanelSheet, nullptr, 1, 0, kUrinePanel},
    {"handover 12.7", GenerateHandoverTemplate, kBedsParam, 12.7, 12,
     L"12 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%；本班处置＿＿；"
     L"管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。"},
    {"handover -5", GenerateHandoverTemplate, kBedsParam, -5, 2, L""},
    {"handover 1e10", GenerateHandoverTemplate, kBedsParam, 1e10, 2, L""},
    {"handover NaN", GenerateHandoverTemplate, kBedsParam, kNaN, 2, L""},
    {"handover absent", GenerateHandoverTemplate, kUnrelatedParam, 20, 2, L""},
    {"handover no params", GenerateHandoverTemplate, nullptr, 20, 2, L""},
};

TEST(ReferenceSheets, SelectorChoosesVariant) {
    for (const VariantCase& c : kVariantCases) {
        SCOPED_TRACE(c.what);
        const ParamValues values = {c.selector};
        const ToolDef tool = MakeTool(3, c.param, c.param != nullptr ? 1 : 0);
        const GeneratorRun run = RunOnGuardedBuffers(c.generator, tool, values.data());
        const std::vector<std::wstring> lines = ReportLines(run.report);
        ASSERT_GT(lines.size(), c.line_index);
        EXPECT_EQ(lines[c.line_index], c.line);
    }
}

// ---- whole sheets, character for character ----

TEST(ReferenceSheets, SpecimenTubeSheetWholeText) {
    const GeneratorRun run = Sheet(GenerateSpecimenTubeOrder, kKindParam, 4);
    EXPECT_EQ(run.report,
              L"标准采血顺序（按添加剂，避免交叉污染）：\r\n"
              L"1 血培养瓶（需氧/厌氧）\r\n"
              L"2 凝血管 淡蓝（枸橼酸钠，凝血 PT/APTT）\r\n"
              L"3 促凝/血清管 红或金黄（生化、免疫）\r\n"
              L"4 肝素管 绿（血气、部分生化）\r\n"
              L"5 EDTA 紫（血常规、糖化、血型）\r\n"
              L"6 氟化钠 灰（血糖、乳酸）\r\n"
              L"\r\n"
              L"本次：血气 → 肝素化注射器，排气后立即送检，15 分钟内完成。\r\n");
    EXPECT_EQ(run.verdict, L"按标准顺序采血可减少溶血与交叉污染");
}

TEST(ReferenceSheets, CriticalValueSheetWholeText) {
    const GeneratorRun run = Sheet(GenerateCriticalValueSheet, kKindParam, 2);
    EXPECT_EQ(run.report,
              L"常见检验危急值（参考，需以本院文件为准）：\r\n"
              L"血糖 <2.8 或 >22.2 mmol/L\r\n"
              L"pH <7.20 或 >7.60；PaO2 <45 mmHg；PaCO2 >70 mmHg\r\n"
              L"\r\n"
              L"处置要求：核实标本→15 分钟内电话报告临床→记录报告与接听人→医师 30 "
              L"分钟内处理并记录。\r\n");
    EXPECT_EQ(run.verdict, L"危急值必须闭环：报告、接收、处理、记录");
}

TEST(ReferenceSheets, HighAlertPercentSignsKeptLiterally) {
    const GeneratorRun run = Sheet(GenerateHighAlertDrugSheet, kKindParam, 1);
    EXPECT_EQ(run.report,
              L"高警示药品类别与要点：\r\n"
              L"高浓度电解质：10% 氯化钾、10% 氯化钠、25% 硫酸镁\r\n"
              L"要点：专用标识、专区存放、双人核对、禁止直接静脉推注（钾）。\r\n");
    EXPECT_EQ(run.verdict, L"高警示药品须专区、专标识、双人核对");
}

TEST(ReferenceSheets, SurgicalChecklistWholeText) {
    const GeneratorRun run =
        RunOnGuardedBuffers(GenerateSurgicalSafetyChecklist, MakeTool(8, nullptr, 0), nullptr);
    EXPECT_EQ(run.report,
              L"手术安全核查表（三步核查）：\r\n"
              L"【麻醉实施前】身份/部位/术式/知情同意；过敏史；气道与插管风险；出血风险；"
              L"影像与植入物；皮肤准备。\r\n"
              L"【手术开始前】团队自我介绍；确认患者、部位、术式；预计手术时间与失血量；"
              L"抗菌药物已用；器械灭菌合格；影像资料到位。\r\n"
              L"【患者离室前】手术名称与记录一致；标本标识与送检；器械敷料清点；皮肤与管路；"
              L"恢复与转运方案。\r\n"
              L"\r\n"
              L"要求：三方（外科、麻醉、护理）共同口述确认并签字，任一环节缺失不得开台。\r\n");
    EXPECT_EQ(run.verdict, L"三方核查缺一不可，签字后归档");
}

TEST(ReferenceSheets, HandoverOneRowWholeText) {
    const GeneratorRun run = Sheet(GenerateHandoverTemplate, kBedsParam, 1);
    EXPECT_EQ(run.report,
              L"交班报告（床号 / 诊断 / 本班病情 / 治疗与管路 / 需下一班关注）：\r\n"
              L"01 床：诊断＿＿；体温＿℃ 脉搏＿次/分 呼吸＿次/分 血压＿/＿mmHg SpO2＿%；"
              L"本班处置＿＿；管路（静脉/引流/导尿/吸氧）＿＿；下一班关注＿＿。\r\n"
              L"\r\n"
              L"危重患者须床旁交接；新入院、手术、输血、病情变化患者逐一交接并双签名。\r\n");
    EXPECT_EQ(run.verdict, L"模板已生成，床旁交接并双方签名");
}

TEST(ReferenceSheets, HandoverThirtyRowsIsLongestSheet) {
    const GeneratorRun run = Sheet(GenerateHandoverTemplate, kBedsParam, 31);
    EXPECT_EQ(run.report.size(), 2509u);
    const std::vector<std::wstring> lines = ReportLines(run.report);
    EXPECT_TRUE(lines[1].starts_with(L"01 床：")) << lines[1];
    EXPECT_TRUE(lines[30].starts_with(L"30 床：")) << lines[30];
    EXPECT_EQ(Sheet(GenerateHandoverTemplate, kBedsParam, 30, kWindowReport).report, run.report);
}

TEST(ReferenceSheets, LabPanelWholeText) {
    const GeneratorRun run = Sheet(GenerateLabPanelSheet, kPanelParam, 2);
    EXPECT_EQ(run.report,
              L"生化全套（红/金黄管）：肝功（ALT/AST/ALP/GGT/胆红素/白蛋白）、肾功（BUN/Cr/UA）"
              L"、血糖、血脂、电解质。\r\n"
              L"注意：空腹 8-12 小时；溶血标本钾、AST 假性升高。\r\n");
    EXPECT_EQ(run.verdict, L"套餐与采血管已列出，按顺序采血");
}

}  // namespace
