#include "ui/shell_text.h"

#include "engine/bounded_text.h"
#include "tavomed_version.h"

void FormatDefaultValue(double value, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"%.6g", value);
}

void BuildReferenceLine(const ToolDef& tool, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"参考依据：%ls", OrEmpty(tool.reference));
}

void BuildCaptionLine(const ToolDef& tool, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"%ls  \u00B7  %ls", OrEmpty(tool.category), OrEmpty(tool.subtitle));
}

void BuildComputedStatus(const ToolDef& tool, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"计算完成  %ls", OrEmpty(tool.name));
}

void BuildInputErrorText(int32_t index, const wchar_t* label, const IntParamRange* range,
                         wchar_t* out, int32_t capacity) {
    const int32_t item = index + 1;
    if (range == nullptr) {
        FormatText(out, capacity, L"第 %d 项“%ls”请输入数字。", item, OrEmpty(label));
    } else if (range->high != kAnyIntHigh) {
        FormatText(out, capacity, L"第 %d 项“%ls”请输入 %d 到 %d 之间的整数。", item,
                   OrEmpty(label), range->low, range->high);
    } else if (range->low != kAnyIntLow) {
        FormatText(out, capacity, L"第 %d 项“%ls”请输入不小于 %d 的整数。", item, OrEmpty(label),
                   range->low);
    } else {
        FormatText(out, capacity, L"第 %d 项“%ls”请输入整数。", item, OrEmpty(label));
    }
}

void BuildCopyText(const ToolDef& tool, const wchar_t* report, const wchar_t* verdict, wchar_t* out,
                   int32_t capacity) {
    CopyText(out, capacity, report);
    if (tool.special_kind != kFormulaKind) return;
    AppendText(out, capacity, L"—— ");
    AppendText(out, capacity, OrEmpty(verdict));
}

int32_t ClipboardTextLength(const ToolDef& tool, const wchar_t* copy_text) {
    return TextLength(tool.name) + 2 + TextLength(copy_text);
}

void BuildClipboardText(const ToolDef& tool, const wchar_t* copy_text, wchar_t* out,
                        int32_t capacity) {
    CopyText(out, capacity, tool.name);
    AppendText(out, capacity, L"\r\n");
    AppendText(out, capacity, OrEmpty(copy_text));
}

void BuildSavedStatus(const wchar_t* path, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity, L"记录已保存：%ls", OrEmpty(path));
}

void BuildSaveFailedText(RecordSaveResult result, const wchar_t* path, wchar_t* out,
                         int32_t capacity) {
    const wchar_t* reason = L"";
    if (result == kRecordNoAppDataFolder) {
        reason = L"找不到本机的应用数据文件夹，";
    } else if (result == kRecordTooLong) {
        reason = L"记录内容超出长度上限，";
    }
    // A torn save must not pass for one that left the file as it was.
    const wchar_t* left = result == kRecordNotWrittenTorn
                              ? L"本次结果未保存，记录文件的最后一行可能不完整。"
                              : L"本次结果未保存。";
    FormatText(out, capacity, L"%ls无法写入记录文件：%ls\r\n%ls", reason, OrEmpty(path), left);
}

void BuildAboutText(const ToolDef& tool, wchar_t* out, int32_t capacity) {
    FormatText(out, capacity,
               L"%ls\r\n"
               L"\r\n"
               L"分类：%ls\r\n"
               L"参考依据：%ls\r\n"
               L"\r\n"
               L"本工具为临床辅助计算/记录工具，结果不能替代医师诊疗判断，\r\n"
               L"具体用药与处置请结合患者实际情况及本院规范执行。\r\n"
               L"\r\n"
               L"版本 V" TAVOMED_VERSION_SHORT L"    官网：%ls",
               OrEmpty(tool.name), OrEmpty(tool.category), OrEmpty(tool.reference), kWebAddress);
}
