// The window's own texts and the texts it builds from a tool and a result.
// Portable: the window only moves these texts into controls, boxes and the
// clipboard.
#pragma once

#include <cstdint>

#include "engine/report_text.h"
#include "engine/tool_def.h"
#include "records/record_log.h"
#include "ui/resource_ids.h"

constexpr wchar_t kMakerName[] = L"" TAVOMED_MAKER_NAME;
constexpr wchar_t kWebAddress[] = L"" TAVOMED_WEB_ADDRESS;

constexpr wchar_t kVerdictPrompt[] = L"填写左侧参数，点击“计算”";
constexpr wchar_t kReadyStatus[] = L"就绪：填写参数后按 F5 或点击“计算”";
constexpr wchar_t kCopiedStatus[] = L"结果已复制到剪贴板";
constexpr wchar_t kCopyFailedStatus[] = L"复制失败，请重试";
constexpr wchar_t kResetStatus[] = L"已恢复默认值";
// The "提示" box of a command that needs a result when there is none.
constexpr wchar_t kNoResultCaption[] = L"提示";
constexpr wchar_t kCopyNeedsResultText[] = L"请先点击“计算”生成结果。";
constexpr wchar_t kSaveNeedsResultText[] = L"请先点击“计算”生成结果，再保存记录。";
constexpr wchar_t kInputErrorCaption[] = L"输入有误";
constexpr wchar_t kAboutCaption[] = L"关于本工具";
constexpr wchar_t kSavedCaption[] = L"已保存";
constexpr wchar_t kSavedText[] = L"本次结果已追加保存到本地记录（CSV，可用 Excel 打开）。";
constexpr wchar_t kSavingStatus[] = L"正在保存记录…";
constexpr wchar_t kSaveFailedCaption[] = L"保存失败";
constexpr wchar_t kSaveFailedStatus[] = L"保存失败";

constexpr int32_t kDefaultValueTextCapacity = 64;
constexpr int32_t kReferenceLineCapacity = 512;
constexpr int32_t kCaptionLineCapacity = 256;
constexpr int32_t kInputErrorTextCapacity = 256;
constexpr int32_t kAboutTextCapacity = 1400;
// A record file's path and the sentences around it.
constexpr int32_t kSaveFailedTextCapacity = kRecordPathCapacity + 128;

// A default value as the fields show it ("%.6g": 8, 0.5, 1e+06).
void FormatDefaultValue(double value, wchar_t* out, int32_t capacity);

// "参考依据：" and the tool's reference.
void BuildReferenceLine(const ToolDef& tool, wchar_t* out, int32_t capacity);

// The header's caption: category, two spaces, a middle dot, two spaces, subtitle.
void BuildCaptionLine(const ToolDef& tool, wchar_t* out, int32_t capacity);

// "计算完成  " and the tool's name.
void BuildComputedStatus(const ToolDef& tool, wchar_t* out, int32_t capacity);

// The text of the "输入有误" box for field index (0-based) with its label: a
// number, or a whole number within the range the tool reads it in (null: any).
void BuildInputErrorText(int32_t index, const wchar_t* label, const IntParamRange* range,
                         wchar_t* out, int32_t capacity);

// What a copy puts after the tool's name: a generator's report as it is; a
// formula tool's report followed by "—— " and the verdict.
void BuildCopyText(const ToolDef& tool, const wchar_t* report, const wchar_t* verdict, wchar_t* out,
                   int32_t capacity);

// The clipboard's text: the tool's name, CR LF, the copy text. Its length in
// characters without the terminator, and the text itself.
int32_t ClipboardTextLength(const ToolDef& tool, const wchar_t* copy_text);
void BuildClipboardText(const ToolDef& tool, const wchar_t* copy_text, wchar_t* out,
                        int32_t capacity);

// "记录已保存：" and the record file's path.
void BuildSavedStatus(const wchar_t* path, wchar_t* out, int32_t capacity);

// Why a save failed (any result but kRecordSaved), naming the record file, and
// that the result was not saved; after a torn save, that the file's last line
// may be incomplete.
void BuildSaveFailedText(RecordSaveResult result, const wchar_t* path, wchar_t* out,
                         int32_t capacity);

// The nine lines of the about box.
void BuildAboutText(const ToolDef& tool, wchar_t* out, int32_t capacity);
