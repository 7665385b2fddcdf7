#include "tests/e2e/expected_texts.h"

#include <windows.h>

#include <cstdio>

namespace e2e {
namespace {

constexpr wchar_t kShiftLetters[] = L"DNR";

std::wstring TwoDigits(int number) {
    wchar_t text[8];
    swprintf(text, 8, L"%02d", number);
    return text;
}

// A report's line breaks as the self-test's DETAIL line writes them.
std::wstring Flattened(const std::wstring& report) {
    std::wstring line;
    for (wchar_t c : report) {
        if (c == L'\r') continue;
        line += c == L'\n' ? L' ' : c;
    }
    return line;
}

}  // namespace

std::wstring ExpectedRota(int nurses, int days) {
    std::wstring report =
        L"排班规则：三班轮转（白班 D / 夜班 N / 休息 R），每日每班 1 人，按人员顺序滚动。\r\n";
    report += L"人员：" + std::to_wstring(nurses) + L" 人；周期：" + std::to_wstring(days) +
              L" 天\r\n\r\n";
    for (int i = 0; i < nurses; ++i) {
        report += L"护士" + TwoDigits(i + 1) + L"：\r\n  ";
        for (int j = 0; j < days; ++j) {
            report += std::to_wstring(j + 1) + L"日" + kShiftLetters[(i + 2 * j) % 3] + L" ";
        }
        report += L"\r\n";
    }
    report += L"\r\n提示：连续夜班不超过 2 个，夜班后应安排休息；请按科室实际人数与能级调整。\r\n";
    return report;
}

std::string Utf8Of(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

std::string ExpectedSelfTestBytes() {
    std::wstring text = L"TOOL|187|护理排班表生成|护理管理\r\n";
    text += L"LEVEL|0\r\n";
    text += L"OUT|报告文本|见 DETAIL|\r\n";
    text += std::wstring(L"VERDICT|") + kRotaVerdict + L"\r\n";
    text += L"DETAIL|" + Flattened(ExpectedRota(8, 7)) + L"\r\n";
    text += L"ERRORS|0\r\n";
    return Utf8Of(text);
}

}  // namespace e2e
