// The main window and its one state record.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/result_texts.h"
#include "engine/tool_def.h"
#include "ui/clipboard_html.h"
#include "ui/layout.h"
#include "ui/window_scale.h"

constexpr int32_t kSavedReportCapacity = 8192;
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
    bool saveWaiting;  // a save waits for the record file: no second one starts, no close
};

// Opens the window on the tool and runs its message loop: 0 when the window has
// been closed, 1 when it could not be created.
int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool);

// The state the window was created with, kept with the window itself from its
// first WM_NCCREATE on; null before.
void AttachWindowState(HWND window, const CREATESTRUCTW& creation);
WindowState* AttachedWindowState(HWND window);

// Builds the child controls of the main window (its WM_CREATE).
void CreateChildControls(WindowState& state, HWND window);
