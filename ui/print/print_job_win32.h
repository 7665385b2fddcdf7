// Printing the last result: the print dialog, the job and what the user is
// told of its outcome. The printing DLLs are loaded at run time, from System32
// only (see print_job_win32.cpp).
#pragma once

#include <windows.h>

#include "ui/print/print_layout.h"
#include "ui/window_state.h"

// Who asks for a print: the window that owns the boxes and the preview, at
// its DPI and in its colours, and that tells the outcome in its status line.
struct PrintRequester {
    HINSTANCE instance;
    HWND owner;
    int32_t dpi;
    HighContrastSource highContrast;
    void (*tellStatus)(void* context, const wchar_t* status);
    void* context;
};

// The main window as the requester of its own result's print.
PrintRequester MainWindowRequester(WindowState& state);

// Without a printer, a box that says what to do; otherwise the system's print
// dialog, owned by dialog_owner, then the job. The outcome goes to the
// requester's status line; a failed job is aborted and named in a box.
void PrintDocumentCommand(const PrintRequester& requester, const PrintDocument& document,
                          HWND dialog_owner);

// Ctrl+P in the window and 打印 in the preview. Without a result, the "提示"
// box that copy and save use; without a printer, a box that says what to do;
// otherwise the system's print dialog, owned by owner, then the job. The
// outcome goes to the status line; a failed job is aborted and named in a box.
// The result, the fields and the record file are never touched.
void PrintCommand(WindowState& state, HWND owner);

// The window's last result as a document to print, dated today.
void PrepareWindowDocument(const WindowState& state, PrintDocument* document);

// The sheet the default printer would print the document on (its paper in
// the document's orientation, its margins and resolution), or an A4 sheet at
// 300 DPI when there is no printer.
PageGeometry DefaultPrinterPage(const PrintDocument& document, HWND owner);
