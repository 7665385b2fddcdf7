// The texts the program must show and write, built here from the rota's rules so
// that the tests do not share code with the program.
#pragma once

#include <string>

namespace e2e {

inline constexpr wchar_t kToolName[] = L"护理排班表生成";
inline constexpr wchar_t kVerdictPrompt[] = L"填写左侧参数，点击“计算”";
inline constexpr wchar_t kRotaVerdict[] = L"已生成轮转排班表，可复制到排班本或表格";
inline constexpr wchar_t kNote[] = L"需按护士能级、连续夜班上限与休息要求人工调整后执行。";
inline constexpr wchar_t kReferenceLine[] = L"参考依据：科室排班常规：白班 D、夜班 N、休息 R 轮转";
inline constexpr wchar_t kReadyStatus[] = L"就绪：填写参数后按 F5 或点击“计算”";
inline constexpr wchar_t kComputedStatus[] = L"计算完成  护理排班表生成";
inline constexpr wchar_t kCopiedStatus[] = L"结果已复制到剪贴板";
inline constexpr wchar_t kResetStatus[] = L"已恢复默认值";

// The rota report for counts already inside 1..40 nurses and 1..31 days.
std::wstring ExpectedRota(int nurses, int days);
// The self-test report file of the built-in tool with its defaults, as UTF-8 bytes.
std::string ExpectedSelfTestBytes();
std::string Utf8Of(const std::wstring& text);

}  // namespace e2e
