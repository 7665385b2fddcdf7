// The one state record of the main window, handed to everything that works on
// the window: the procedure, the commands and the painting.
#pragma once

#include <windows.h>

#include <cstdint>
#include <iterator>

#include "engine/result_texts.h"
#include "engine/tool_def.h"
#include "ui/clipboard_html.h"
#include "ui/layout.h"
#include "ui/palette_win32.h"
#include "ui/window_scale.h"

constexpr int32_t kReportCapacity = kSavedReportCapacity;
// The copy text holds the whole saved report, and for a formula tool "—— " and
// the verdict after it.
constexpr int32_t kCopyTextCapacity = kSavedReportCapacity + kVerdictCapacity + 8;
constexpr int32_t kStatusTextCapacity = 256;

// A child control as it was created: its box at 96 DPI and the font it shows
// its text in, from which it is moved, sized and given its font again at every
// new scale.
struct ChildControl {
    HWND window;
    Box designBox;
    FontRole font;  // kFontRoleCount: none of its own (an owner-drawn button)
};

// Three controls a parameter row, the result area, the buttons, the status line
// and room for more.
constexpr int32_t kChildControlCapacity = 64;
static_assert(kMaxParams * 3 + std::ssize(kResultControls) + std::ssize(kButtons) + 1 <
              kChildControlCapacity);

// Room that the commands build a result's texts in before they hand them on.
struct ResultScratch {
    wchar_t report[kReportCapacity];              // the compute command's report
    char clipboardTable[kClipboardHtmlCapacity];  // the copy command's table
};

struct WindowState {
    HINSTANCE instance;
    HWND mainWindow;
    // The DPI of the monitor the window is on, and the scale chosen for it and
    // for that monitor's work area: every layout figure is scaled by it, and
    // the window is held at the placement's size.
    int32_t dpi;
    Scale scale;
    WindowPlacement placement;
    const ToolDef* tool;
    int32_t level;
    HWND paramEdits[kMaxParams];
    HWND reportBox;
    HWND verdictLine;
    HWND noteLine;
    HWND statusLine;
    ChildControl children[kChildControlCapacity];
    int32_t childCount;
    HFONT fonts[kFontRoleCount];
    // The colours of the window, and brushes of its panel and footer colours
    // for the controls that ask; the class background brush stays the page's.
    HighContrastSource highContrastSource;
    Palette palette;
    HBRUSH panelBrush;
    HBRUSH footerBrush;
    HBRUSH backgroundBrush;
    wchar_t savedReport[kSavedReportCapacity];
    wchar_t copyText[kCopyTextCapacity];
    // Verdict of the last result: with savedReport and values it is the data
    // the clipboard's table is built from.
    wchar_t resultVerdict[kVerdictCapacity];
    // What the status line shows.
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
