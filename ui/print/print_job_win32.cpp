#include "ui/print/print_job_win32.h"

#include "engine/bounded_text.h"
#include "platform/local_date.h"
#include "ui/commands.h"
#include "ui/newer_windows.h"
#include "ui/print/print_page_win32.h"
#include "ui/print/print_texts.h"
#include "ui/shell_text.h"
#include "ui/window_fonts.h"

namespace {

// The printing DLLs are not imported: an import is loaded before wWinMain
// narrows the DLL search, so a winspool.drv left beside the exe would be the
// one loaded. comdlg32.dll is a Known DLL on Windows 7 to 11 (the loader takes
// it from System32 whatever the search order), but winspool.drv is not, and
// comdlg32 loads it in turn; so both are loaded here, once the search is
// narrowed, and from System32 only.
constexpr wchar_t kDialogLibrary[] = L"comdlg32.dll";
constexpr wchar_t kSpoolerLibrary[] = L"winspool.drv";

constexpr int32_t kPreviewDpi = 300;
constexpr int32_t kPrinterNameCapacity = 256;
constexpr int32_t kMessageCapacity = 512;

using PrintDlgExFunction = HRESULT(WINAPI*)(LPPRINTDLGEXW);
using EnumPrintersFunction = BOOL(WINAPI*)(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

// The DLLs for one command, released when it ends.
class PrintLibraries {
public:
    PrintLibraries()
        : spooler_(LoadSystemLibrary(kSpoolerLibrary)),
          dialogs_(LoadSystemLibrary(kDialogLibrary)) {}
    ~PrintLibraries() {
        if (dialogs_ != nullptr) FreeLibrary(dialogs_);
        if (spooler_ != nullptr) FreeLibrary(spooler_);
    }
    PrintLibraries(const PrintLibraries&) = delete;
    PrintLibraries& operator=(const PrintLibraries&) = delete;

    // Asked before any dialog: comdlg32's own dialog would first offer to
    // install a printer, a box of the system's that says nothing of this
    // program's way out (copying the result).
    bool HasPrinter() const {
        const auto enum_printers = FindFunction<EnumPrintersFunction>(spooler_, "EnumPrintersW");
        if (enum_printers == nullptr) return false;
        DWORD needed = 0;
        DWORD returned = 0;
        enum_printers(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0,
                      &needed, &returned);
        return needed > 0;
    }
    PrintDlgExFunction PrintDialog() const {
        return FindFunction<PrintDlgExFunction>(dialogs_, "PrintDlgExW");
    }

private:
    HMODULE spooler_;
    HMODULE dialogs_;
};

// The printer's settings and name, as the dialog hands them over.
struct PrinterSetup {
    HGLOBAL devMode = nullptr;
    HGLOBAL devNames = nullptr;
    HDC context = nullptr;
    ~PrinterSetup() {
        if (context != nullptr) DeleteDC(context);
        if (devMode != nullptr) GlobalFree(devMode);
        if (devNames != nullptr) GlobalFree(devNames);
    }
};

PRINTDLGEXW DialogRequest(HWND owner, DWORD flags, const PrinterSetup& setup) {
    PRINTDLGEXW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hDevMode = setup.devMode;
    request.hDevNames = setup.devNames;
    // Page ranges are not offered: the pages are few, and a rota is one sheet.
    request.Flags = flags | PD_NOPAGENUMS | PD_NOSELECTION | PD_NOCURRENTPAGE;
    request.nStartPage = START_PAGE_GENERAL;
    return request;
}

void TakeDialogResult(const PRINTDLGEXW& request, PrinterSetup& setup) {
    setup.devMode = request.hDevMode;
    setup.devNames = request.hDevNames;
    setup.context = request.hDC;
}

// The default printer's settings, its paper kept and turned to the document's
// orientation: the dialog opens with them, the user may change them, and the
// page is laid out for the paper the context then has.
bool DefaultSetup(PrintDlgExFunction print_dialog, HWND owner, const PrintDocument& document,
                  DWORD flags, PrinterSetup& setup) {
    PRINTDLGEXW request = DialogRequest(owner, PD_RETURNDEFAULT | flags, setup);
    if (print_dialog == nullptr || FAILED(print_dialog(&request))) return false;
    TakeDialogResult(request, setup);
    auto* mode = static_cast<DEVMODEW*>(setup.devMode ? GlobalLock(setup.devMode) : nullptr);
    if (mode == nullptr) return false;
    const bool landscape = PrefersLandscape(*document.tool);
    mode->dmOrientation = static_cast<short>(landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
    mode->dmFields |= DM_ORIENTATION;
    GlobalUnlock(setup.devMode);
    if (setup.context != nullptr) ResetDCW(setup.context, mode);
    return true;
}

void PrinterName(const PrinterSetup& setup, wchar_t* name) {
    ClearText(name, kPrinterNameCapacity);
    const auto* names =
        static_cast<const DEVNAMES*>(setup.devNames ? GlobalLock(setup.devNames) : nullptr);
    if (names == nullptr) return;
    CopyText(name, kPrinterNameCapacity,
             reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset);
    GlobalUnlock(setup.devNames);
}

// Every page through StartDoc, StartPage, EndPage and EndDoc; the first that
// fails aborts the job, so that nothing half-printed is left in the queue.
bool PrintPages(HDC printer, const PrintDocument& document, const wchar_t* face) {
    const PageGeometry page = PrinterPageGeometry(printer);
    PrintPlan plan;
    if (!PlanPrint(document, page, &plan)) return false;
    DOCINFOW job{};
    job.cbSize = sizeof job;
    job.lpszDocName = document.tool->name;
    // StartDocW may leave a stale last error behind; its result is what counts.
    if (StartDocW(printer, &job) <= 0) return false;
    for (int32_t index = 0; index < plan.pageCount; ++index) {
        if (StartPage(printer) <= 0) {
            AbortDoc(printer);
            return false;
        }
        DrawPrintPage(printer, document, plan, index, PrinterTransform(page), face);
        if (EndPage(printer) <= 0) {
            AbortDoc(printer);
            return false;
        }
    }
    if (EndDoc(printer) <= 0) {
        AbortDoc(printer);
        return false;
    }
    return true;
}

void TellStatus(const PrintRequester& requester, const wchar_t* status) {
    if (requester.tellStatus != nullptr) requester.tellStatus(requester.context, status);
}

void ReportPrinted(const PrintRequester& requester, const wchar_t* printer) {
    wchar_t status[kStatusTextCapacity];
    FormatText(status, kStatusTextCapacity, kPrintedStatusFormat, printer);
    TellStatus(requester, status);
}

void ReportPrintFailed(const PrintRequester& requester, HWND owner, const wchar_t* printer) {
    wchar_t status[kStatusTextCapacity];
    FormatText(status, kStatusTextCapacity, kPrintFailedStatusFormat, printer);
    TellStatus(requester, status);
    wchar_t message[kMessageCapacity];
    FormatText(message, kMessageCapacity, kPrintFailedTextFormat, printer);
    ShowBox(owner, message, kPrintFailedCaption, MB_ICONWARNING);
}

void PrintThroughDialog(const PrintRequester& requester, const PrintDocument& document, HWND owner,
                        const PrintLibraries& libraries) {
    const PrintDlgExFunction print_dialog = libraries.PrintDialog();
    PrinterSetup setup;
    DefaultSetup(print_dialog, owner, document, 0, setup);
    PRINTDLGEXW request = DialogRequest(owner, PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE, setup);
    setup.devMode = nullptr;  // the dialog owns them now, and hands back its own
    setup.devNames = nullptr;
    const HRESULT shown = print_dialog != nullptr ? print_dialog(&request) : E_FAIL;
    TakeDialogResult(request, setup);
    if (FAILED(shown)) {
        TellStatus(requester, kPrintDialogFailedStatus);
        ShowBox(owner, kPrintDialogFailedText, kPrintFailedCaption, MB_ICONWARNING);
        return;
    }
    if (request.dwResultAction != PD_RESULT_PRINT) {
        TellStatus(requester, kPrintCancelledStatus);
        return;
    }
    wchar_t printer[kPrinterNameCapacity];
    PrinterName(setup, printer);
    wchar_t face[LF_FACESIZE];
    ChooseUiFace(face);
    if (setup.context != nullptr && PrintPages(setup.context, document, face)) {
        ReportPrinted(requester, printer);
    } else {
        ReportPrintFailed(requester, owner, printer);
    }
}

}  // namespace

void PrepareWindowDocument(const WindowState& state, PrintDocument* document) {
    const LocalCivilDate today = GetLocalCivilDate();
    PreparePrintDocument(*state.tool, state.values, state.savedReport, state.resultVerdict,
                         state.level, today.year, today.month, today.day, document);
}

PageGeometry DefaultPrinterPage(const PrintDocument& document, HWND owner) {
    const PageGeometry a4 = PaperPage(kA4Paper, PrefersLandscape(*document.tool), kPreviewDpi);
    const PrintLibraries libraries;
    if (!libraries.HasPrinter()) return a4;
    PrinterSetup setup;
    if (!DefaultSetup(libraries.PrintDialog(), owner, document, PD_RETURNDC, setup) ||
        setup.context == nullptr)
        return a4;
    const PageGeometry page = PrinterPageGeometry(setup.context);
    return page.width > 0 && page.height > 0 && page.dpi > 0 ? page : a4;
}

PrintRequester MainWindowRequester(WindowState& state) {
    return {state.instance,
            state.mainWindow,
            state.dpi,
            state.highContrastSource,
            [](void* context, const wchar_t* status) {
                SetStatus(*static_cast<WindowState*>(context), status);
            },
            &state};
}

void PrintDocumentCommand(const PrintRequester& requester, const PrintDocument& document,
                          HWND dialog_owner) {
    const PrintLibraries libraries;
    if (!libraries.HasPrinter()) {
        TellStatus(requester, kNoPrinterStatus);
        ShowBox(dialog_owner, kNoPrinterText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    PrintThroughDialog(requester, document, dialog_owner, libraries);
}

void PrintCommand(WindowState& state, HWND owner) {
    if (!HasResult(state)) {
        ShowBox(owner, kCopyNeedsResultText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    PrintDocument document;
    PrepareWindowDocument(state, &document);
    PrintDocumentCommand(MainWindowRequester(state), document, owner);
}
