// The one state record of the main window, handed to everything that works on
// the window: the procedure, the commands and the painting.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/result_texts.h"
#include "engine/tool_def.h"
#include "ui/clipboard_html.h"
#include "ui/layout.h"
#include "ui/window_scale.h"

constexpr int32_t kReportCapacity = kSavedReportCapacity;
// The copy text holds the whole saved report, and for a formula tool "—— " and
// the verdict after it.
constexpr int32_t kCopyTextCapacity = kSavedReportCapacity + kVerdictCapacity + 8;
constexpr int32_t kStatusTextCapacity = 256;

// Room that the commands build a result's texts in before they hand them on.
struct ResultScratch {
    wchar_t report[kReportCapacity];              // the compute command's report
    char clipboardTable[kClipboardHtmlCapacity];  // the copy command's table
};

struct WindowState {
    HINSTANCE instance;
    HWND mainWindow;
    // Fixed when the window is created: every layout figure is scaled by it,
    // and the window is held at the placement's size.
    Scale scale;
    WindowPlacement placement;
    const ToolDef* tool;
    int32_t level;
    HWND paramEdits[kMaxParams];
    HWND reportBox;
    HWND verdictLine;
    HWND noteLine;
    HFONT fonts[kFontRoleCount];
    HBRUSH whiteBrush;
    HBRUSH backgroundBrush;
    wchar_t savedReport[kSavedReportCapacity];
    wchar_t copyText[kCopyTextCapacity];
    // Verdict of the last result: with savedReport and values it is the data
    // the clipboard's table is built from.
    wchar_t resultVerdict[kVerdictCapacity];
    wchar_t statusText[kStatusTextCapacity];
    double values[kMaxParams];
    ResultScratch scratch;
    // The control that had the keyboard focus when the window was last
    // deactivated (a message box, another program): it gets it back.
    HWND focusToRestore;
    // A save waits for the record file and then shows its outcome: no other
    // command runs meanwhile, and the window does not close.
    bool saveWaiting;
};
