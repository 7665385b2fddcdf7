#include "ui/commands.h"

#include "engine/bounded_text.h"
#include "engine/compute.h"
#include "records/record_log.h"
#include "ui/child_controls.h"
#include "ui/clipboard_html.h"
#include "ui/clipboard_html_win32.h"
#include "ui/field_parser.h"
#include "ui/shell_text.h"
#include "ui/window_keys.h"

namespace {

// One character more than a field may hold, so that an overlong text is seen
// as such instead of being read cut.
constexpr int32_t kFieldReadCapacity = kFieldTextMaxLength + 2;

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
    const int32_t refused = ParseFieldTexts(*state.tool, text_pointers, state.values);
    if (refused < 0) return true;

    wchar_t message[kInputErrorTextCapacity];
    BuildInputErrorText(refused, state.tool->params[refused].label,
                        FindIntParamRange(*state.tool, refused), message, kInputErrorTextCapacity);
    ShowBox(state.mainWindow, message, kInputErrorCaption, MB_ICONWARNING);
    // Selected whole, so that what is typed next replaces the refused text.
    EnterControl(state.paramEdits[refused]);
    return false;
}

// While a save waits for the record file the window goes on handling its
// messages: it repaints, answers, and is never marked as not responding. A
// WM_QUIT taken out of the queue here is kept and posted again once the save is
// over, so that the message loop still ends. The keys that would compute are
// dropped meanwhile.
struct SaveWaitPump {
    HWND mainWindow;
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
        if (IsComputeShortcut(message, pump.mainWindow)) continue;
        if (IsPrintShortcut(message, pump.mainWindow)) continue;
        DispatchWithDialogKeys(pump.mainWindow, message);
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

}  // namespace

void SetStatus(WindowState& state, const wchar_t* text) {
    CopyText(state.statusText, kStatusTextCapacity, text);
    ShowStatusText(state);
    InvalidateRect(state.mainWindow, nullptr, FALSE);
}

void ShowBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT icon) {
    HWND focus = GetFocus();
    MessageBoxW(owner, text, caption, MB_OK | icon);
    if (focus != nullptr && IsChild(owner, focus)) SetFocus(focus);
}

bool HasResult(const WindowState& state) {
    return state.savedReport[0] != L'\0';
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
    wchar_t status[kStatusTextCapacity];
    BuildComputedStatus(*state.tool, status, kStatusTextCapacity);
    SetStatus(state, status);
}

void SaveRecordCommand(WindowState& state) {
    if (!HasResult(state)) {
        ShowBox(state.mainWindow, kSaveNeedsResultText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    SaveWaitPump pump{state.mainWindow, false, 0};
    state.saveWaiting = true;
    SetStatus(state, kSavingStatus);
    const RecordSaveOutcome outcome = SaveRecord(*state.tool, state.values, state.savedReport,
                                                 RecordWaiter{WaitHandlingMessages, &pump});
    ShowSaveOutcome(state, outcome);
    state.saveWaiting = false;
    // Only now: a quit message would end the outcome's box at once.
    if (pump.quitSeen) PostQuitMessage(pump.exitCode);
}

// The clipboard is touched only once its data is ready, and emptied only when
// it is about to receive the new data. The plain text decides the outcome; the
// table is an extra that a spreadsheet pastes as rows and cells, and is freed
// here whenever the clipboard does not take it, an unopened clipboard included.
bool PlaceOnOpenedClipboard(bool opened, HGLOBAL text, HGLOBAL table) {
    const bool placed =
        opened && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, text) != nullptr;
    const UINT table_format = HtmlClipboardFormat();
    const bool table_placed = placed && table != nullptr && table_format != 0 &&
                              SetClipboardData(table_format, table) != nullptr;
    if (opened) CloseClipboard();
    if (table != nullptr && !table_placed) GlobalFree(table);
    return placed;
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
    const bool placed = PlaceOnOpenedClipboard(OpenClipboard(state.mainWindow) != FALSE, text,
                                               PrepareClipboardTable(state));
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
