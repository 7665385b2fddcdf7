// The main window and its one process-wide state record.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/tool_def.h"
#include "ui/layout.h"

constexpr int32_t kSavedReportCapacity = 8192;
constexpr int32_t kVerdictCapacity = 512;
constexpr int32_t kReportCapacity = kSavedReportCapacity;
// The copy text holds the whole saved report, and for a formula tool "—— " and
// the verdict after it.
constexpr int32_t kCopyTextCapacity = kSavedReportCapacity + kVerdictCapacity + 8;
constexpr int32_t kStatusTextCapacity = 256;

struct WindowState {
    HINSTANCE instance;
    HWND mainWindow;
    const ToolDef* tool;
    int32_t level;
    HWND paramEdits[kMaxParams];
    HWND reportBox;
    HWND verdictLine;
    HWND noteLine;
    HFONT fonts[FontRoleCount];
    HBRUSH whiteBrush;
    HBRUSH backgroundBrush;
    wchar_t savedReport[kSavedReportCapacity];
    wchar_t copyText[kCopyTextCapacity];
    // Verdict of the last result: with savedReport and values it is the data
    // the clipboard's table is built from.
    wchar_t resultVerdict[kVerdictCapacity];
    wchar_t statusText[kStatusTextCapacity];
    double values[kMaxParams];
};

// The one instance, alive from RunMainWindow to process end.
WindowState& GetWindowState();

int32_t RunMainWindow(HINSTANCE instance, const ToolDef* tool);

// Builds the child controls of the main window (its WM_CREATE).
void CreateChildControls(HWND window);
