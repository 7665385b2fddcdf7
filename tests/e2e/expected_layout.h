// The controls of the built-in tool's window as they stand at 100 %, written out
// here (not taken from the program) so that the tests check the program.
#pragma once

#include <windows.h>

#include "tests/e2e/expected_texts.h"

namespace e2e {

inline constexpr int kOuterWidth = 1036;
inline constexpr int kOuterHeight = 780;

struct ExpectedControl {
    const wchar_t* className;
    const wchar_t* text;
    int x, y, width, height;
    int id;
    DWORD style;    // bits that must be set
    DWORD exStyle;  // bits that must be set
    bool shown = true;
};

inline constexpr DWORD kEditField = ES_AUTOHSCROLL;
inline constexpr DWORD kReportStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | WS_VSCROLL;

// The built-in tool's window, in creation order.
inline const ExpectedControl kControls[] = {
    {L"STATIC", L"护士人数", 24, 151, 184, 22, 0, SS_RIGHT, 0},
    {L"EDIT", L"8", 216, 146, 152, 27, 2000, kEditField, WS_EX_CLIENTEDGE},
    {L"STATIC", L"人", 374, 150, 78, 22, 0, 0, 0},
    {L"STATIC", L"排班天数", 24, 185, 184, 22, 0, SS_RIGHT, 0},
    {L"EDIT", L"7", 216, 180, 152, 27, 2001, kEditField, WS_EX_CLIENTEDGE},
    {L"STATIC", L"天", 374, 184, 78, 22, 0, 0, 0},
    {L"STATIC", kVerdictPrompt, 492, 142, 492, 46, 0, 0, 0},
    {L"STATIC", L"计算结果", 492, 104, 300, 30, 0, 0, 0, false},
    {L"EDIT", L"", 492, 196, 492, 232, 3000, kReportStyle, WS_EX_CLIENTEDGE},
    {L"BUTTON", L"打印预览", 888, 102, 96, 28, 1006, BS_OWNERDRAW, 0},
    {L"BUTTON", L"排班表", 808, 102, 72, 28, 1008, BS_OWNERDRAW, 0},
    {L"STATIC", kNote, 492, 444, 492, 120, 0, 0, 0},
    {L"STATIC", kReferenceLine, 492, 576, 492, 56, 0, 0, 0},
    {L"BUTTON", L"计算 (F5)", 20, 668, 152, 40, 1001, BS_OWNERDRAW, 0},
    {L"BUTTON", L"保存记录", 184, 668, 132, 40, 1002, BS_OWNERDRAW, 0},
    {L"BUTTON", L"复制结果", 328, 668, 132, 40, 1003, BS_OWNERDRAW, 0},
    {L"BUTTON", L"清空重填", 472, 668, 132, 40, 1004, BS_OWNERDRAW, 0},
    {L"BUTTON", L"关于", 616, 668, 110, 40, 1005, BS_OWNERDRAW, 0},
    {L"STATIC", kReadyStatus, 740, 704, 264, 16, 3001, SS_RIGHT, 0},
};

}  // namespace e2e
