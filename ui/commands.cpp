#include "ui/commands.h"

#include "engine/bounded_text.h"
#include "engine/compute.h"
#include "records/record_log.h"
#include "ui/clipboard_html.h"
#include "ui/clipboard_html_win32.h"
#include "ui/field_parser.h"
#include "ui/gdi_guards.h"
#include "ui/painting.h"
#include "ui/shell_text.h"

namespace {

// One character more than a field may hold, so that an overlong text is seen
// as such instead of being read cut.
constexpr int32_t kFieldReadCapacity = kFieldTextMaxLength + 2;
constexpr int32_t kButtonCaptionCapacity = 64;

// The status line is painted into the footer: a new text needs a repaint.
void SetStatus(WindowState& state, const wchar_t* text) {
    CopyText(state.statusText, kStatusTextCapacity, text);
    InvalidateRect(state.mainWindow, nullptr, FALSE);
}

void ShowBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT icon) {
    MessageBoxW(owner, text, caption, MB_OK | icon);
}

// A non-empty saved report is the one mark that a result exists.
bool HasResult(const WindowState& state) {
    return state.savedReport[0] != L'\0';
}

// All fields parse, or none of them changes `values`.
bool ReadParameterFields(WindowState& state) {
    const int32_t count = state.tool->param_count;
    wchar_t texts[kMaxParams][kFieldReadCapacity];
    const wchar_t* text_pointers[kMaxParams];
    for (int32_t i = 0; i < count; ++i) {
        texts[i][0] = L'\0';
        if (state.paramEdits[i] != nullptr) {
            GetWindowTextW(state.paramEdits[i], texts[i], kFieldReadCapacity);
        }
        text_pointers[i] = texts[i];
    }
    const int32_t refused = ParseFieldTexts(text_pointers, count, state.values);
    if (refused < 0) return true;

    wchar_t message[kInputErrorTextCapacity];
    BuildInputErrorText(refused, state.tool->params[refused].label, message,
                        kInputErrorTextCapacity);
    ShowBox(state.mainWindow, message, kInputErrorCaption, MB_ICONWARNING);
    SetFocus(state.paramEdits[refused]);
    return false;
}

// The clipboard is touched only once its data is ready, and emptied only when
// it is about to receive the new data. The plain text decides the outcome; the
// table is an extra that a spreadsheet pastes as rows and cells, and is freed
// here whenever the clipboard does not take it, an unopened clipboard included.
bool PlaceOnClipboard(HWND owner, HGLOBAL text, HGLOBAL table) {
    const bool opened = OpenClipboard(owner) != FALSE;
    const bool placed =
        opened && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, text) != nullptr;
    const UINT table_format = HtmlClipboardFormat();
    const bool table_placed = placed && table != nullptr && table_format != 0 &&
                              SetClipboardData(table_format, table) != nullptr;
    if (opened) CloseClipboard();
    if (table != nullptr && !table_placed) GlobalFree(table);
    return placed;
}

// While a save waits for the record file the window goes on handling its
// messages: it repaints, answers, and is never marked as not responding. A
// WM_QUIT taken out of the queue here is kept and posted again once the save is
// over, so that the message loop still ends.
struct SaveWaitPump {
    bool quitSeen;
    int exitCode;
};

void HandlePendingMessages(SaveWaitPump& pump) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            pump.quitSeen = true;
            pump.exitCode = static_cast<int>(message.wParam);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The record log's wait (records/record_wait.h): wakes for the object or for
// any message, whichever comes first.
bool WaitHandlingMessages(void* context, void* object, uint32_t milliseconds) {
    HANDLE handle = static_cast<HANDLE>(object);
    const DWORD count = handle != nullptr ? 1 : 0;
    const DWORD result =
        MsgWaitForMultipleObjectsEx(count, &handle, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (count == 1 && (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0)) return true;
    if (result == WAIT_OBJECT_0 + count)
        HandlePendingMessages(*static_cast<SaveWaitPump*>(context));
    return false;
}

void ShowSaveOutcome(WindowState& state, const RecordSaveOutcome& outcome) {
    if (outcome.result != kRecordSaved) {
        wchar_t message[kSaveFailedTextCapacity];
        BuildSaveFailedText(outcome.result, outcome.path, message, kSaveFailedTextCapacity);
        SetStatus(state, kSaveFailedStatus);
        ShowBox(state.mainWindow, message, kSaveFailedCaption, MB_ICONWARNING);
        return;
    }
    wchar_t status[kStatusTextCapacity];
    BuildSavedStatus(outcome.path, status, kStatusTextCapacity);
    SetStatus(state, status);
    ShowBox(state.mainWindow, kSavedText, kSavedCaption, MB_ICONINFORMATION);
}

HGLOBAL PrepareClipboardTable(WindowState& state) {
    char* payload = state.scratch.clipboardTable;
    const int64_t size = BuildClipboardHtml(*state.tool, state.values, state.savedReport,
                                            state.resultVerdict, payload, kClipboardHtmlCapacity);
    return size < 0 ? nullptr : MakeHtmlClipboardData(payload, size);
}

HGLOBAL PrepareClipboardText(const WindowState& state) {
    const int32_t capacity = ClipboardTextLength(*state.tool, state.copyText) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(capacity) * sizeof(wchar_t));
    if (memory == nullptr) return nullptr;
    auto* text = static_cast<wchar_t*>(GlobalLock(memory));
    if (text == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    BuildClipboardText(*state.tool, state.copyText, text, capacity);
    GlobalUnlock(memory);
    return memory;
}

void DrawOwnerButton(const DRAWITEMSTRUCT& item, HFONT font, int32_t line_width) {
    const ButtonColours& colours = ColoursOfButton(static_cast<int32_t>(item.CtlID));
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const Box box = {item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
                     item.rcItem.bottom - item.rcItem.top};
    FillBox(item.hDC, box, pressed ? colours.pressedFill : colours.fill);
    FrameBox(item.hDC, box, colours.outline, line_width);
    wchar_t caption[kButtonCaptionCapacity];
    caption[0] = L'\0';
    GetWindowTextW(item.hwndItem, caption, kButtonCaptionCapacity);
    DrawTextBox(item.hDC, box, caption, colours.caption, font, DT_CENTER);
}

LRESULT OnStaticColour(const WindowState& state, HDC context, HWND control) {
    Rgb colour = kDimmedTextColour;
    if (control == state.verdictLine) {
        colour = VerdictColour(state.level);
    } else if (control == state.reportBox || control == state.noteLine) {
        colour = kOrdinaryTextColour;
    }
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, ToColorRef(colour));
    return reinterpret_cast<LRESULT>(state.whiteBrush);
}

LRESULT OnEditColour(HDC context, HBRUSH white_brush) {
    SetTextColor(context, ToColorRef(kOrdinaryTextColour));
    SetBkColor(context, ToColorRef(kWhite));
    return reinterpret_cast<LRESULT>(white_brush);
}

// The window keeps the size it was created at.
void OnGetMinMaxInfo(MINMAXINFO* info, const WindowPlacement& placement) {
    info->ptMinTrackSize = {placement.width, placement.height};
    info->ptMaxTrackSize = {placement.width, placement.height};
}

bool OnCommand(WindowState& state, int32_t id) {
    switch (id) {
        case IDC_COMPUTE_BUTTON:
            ComputeCommand(state);
            return true;
        case IDC_SAVE_BUTTON:
            SaveRecordCommand(state);
            return true;
        case IDC_COPY_BUTTON:
            CopyCommand(state);
            return true;
        case IDC_RESET_BUTTON:
            ResetCommand(state);
            return true;
        case IDC_ABOUT_BUTTON:
            AboutCommand(state);
            return true;
        default:
            return false;
    }
}

LRESULT HandleMessage(WindowState& state, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            CreateChildControls(state, window);
            return 0;
        case WM_CLOSE:
            // The window stays until its waiting save has shown how it ended.
            if (state.saveWaiting) return 0;
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT:
            PaintMainWindow(state, window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lparam), state.placement);
            return 0;
        case WM_DRAWITEM:
            DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam),
                            state.fonts[kButtonFont], ScaledLine(1, state.scale));
            return 1;
        case WM_COMMAND:
            if (OnCommand(state, LOWORD(wparam))) return 0;
            break;
        case WM_CTLCOLOREDIT:
            return OnEditColour(reinterpret_cast<HDC>(wparam), state.whiteBrush);
        case WM_CTLCOLORSTATIC:
            return OnStaticColour(state, reinterpret_cast<HDC>(wparam),
                                  reinterpret_cast<HWND>(lparam));
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        AttachWindowState(window, *reinterpret_cast<const CREATESTRUCTW*>(lparam));
    }
    WindowState* state = AttachedWindowState(window);
    // Only the first WM_GETMINMAXINFO comes before WM_NCCREATE; the window's
    // creation gives its size itself.
    if (state == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    return HandleMessage(*state, window, message, wparam, lparam);
}

void ComputeCommand(WindowState& state) {
    if (!ReadParameterFields(state)) return;

    wchar_t* report = state.scratch.report;
    wchar_t verdict[kVerdictCapacity];
    ComputeTool(*state.tool, state.values, report, kReportCapacity, verdict, kVerdictCapacity,
                &state.level, state.savedReport, kSavedReportCapacity);

    ClearText(state.copyText, kCopyTextCapacity);
    SetWindowTextW(state.reportBox, report);
    SetWindowTextW(state.verdictLine, verdict);
    CopyText(state.resultVerdict, kVerdictCapacity, verdict);
    BuildCopyText(*state.tool, report, verdict, state.copyText, kCopyTextCapacity);

    // The verdict line's background is erased so that its new colour shows.
    InvalidateRect(state.verdictLine, nullptr, TRUE);
    BuildComputedStatus(*state.tool, state.statusText, kStatusTextCapacity);
    InvalidateRect(state.mainWindow, nullptr, FALSE);
    SetFocus(state.mainWindow);
}

void SaveRecordCommand(WindowState& state) {
    // A click while a save waits comes through the wait's own message handling.
    if (state.saveWaiting) return;
    if (!HasResult(state)) {
        ShowBox(state.mainWindow, kSaveNeedsResultText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    SaveWaitPump pump{false, 0};
    state.saveWaiting = true;
    const RecordSaveOutcome outcome = SaveRecord(*state.tool, state.values, state.savedReport,
                                                 RecordWaiter{WaitHandlingMessages, &pump});
    state.saveWaiting = false;
    ShowSaveOutcome(state, outcome);
    // Only now: a quit message would end the outcome's box at once.
    if (pump.quitSeen) PostQuitMessage(pump.exitCode);
}

void CopyCommand(WindowState& state) {
    if (!HasResult(state)) {
        ShowBox(state.mainWindow, kCopyNeedsResultText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    HGLOBAL text = PrepareClipboardText(state);
    if (text == nullptr) {
        SetStatus(state, kCopyFailedStatus);
        return;
    }
    const bool placed = PlaceOnClipboard(state.mainWindow, text, PrepareClipboardTable(state));
    if (!placed) GlobalFree(text);
    SetStatus(state, placed ? kCopiedStatus : kCopyFailedStatus);
}

void ResetCommand(WindowState& state) {
    for (int32_t i = 0; i < state.tool->param_count; ++i) {
        wchar_t value_text[kDefaultValueTextCapacity];
        FormatDefaultValue(state.tool->params[i].default_value, value_text,
                           kDefaultValueTextCapacity);
        SetWindowTextW(state.paramEdits[i], value_text);
    }
    SetWindowTextW(state.reportBox, L"");
    SetWindowTextW(state.verdictLine, kVerdictPrompt);
    SetWindowTextW(state.noteLine, OrEmpty(state.tool->note));
    ClearText(state.savedReport, kSavedReportCapacity);
    state.level = 0;
    InvalidateRect(state.verdictLine, nullptr, TRUE);
    SetStatus(state, kResetStatus);
}

void AboutCommand(const WindowState& state) {
    wchar_t text[kAboutTextCapacity];
    BuildAboutText(*state.tool, text, kAboutTextCapacity);
    ShowBox(state.mainWindow, text, kAboutCaption, MB_ICONINFORMATION);
}
