#include "ui/month/month_commands_win32.h"

#include <commctrl.h>

#include "engine/bounded_text.h"
#include "month/arrange.h"
#include "platform/local_date.h"
#include "ui/clipboard_html_win32.h"
#include "ui/commands.h"
#include "ui/shell_text.h"
#include "ui/month/file_dialogs_win32.h"
#include "ui/month/roster_dialog_win32.h"
#include "ui/print/print_preview_win32.h"

namespace {

constexpr wchar_t kMonthCaption[] = L"排班表";
constexpr wchar_t kOpenFailedCaption[] = L"无法打开排班表";
constexpr wchar_t kSaveFailedCaption[] = L"保存失败";
constexpr wchar_t kArrangeFailedCaption[] = L"无法按规则排班";
constexpr wchar_t kLimitCaption[] = L"输入有误";
constexpr int32_t kBoxTextCapacity = kMonthPathCapacity + 200;

// ---- Boxes with buttons named for what they do -----------------------------------------

// A message box's buttons are the system's (是 / 否 / 取消); a box that asks
// "save or not" names them after the choice. The hook lives only while the
// box is shown, and the names are handed to it through this one pointer.
struct ButtonNames {
    const wchar_t* ok;
    const wchar_t* yes;
    const wchar_t* no;
    const wchar_t* cancel;
};
const ButtonNames* g_button_names = nullptr;

LRESULT CALLBACK NameBoxButtons(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && g_button_names != nullptr) {
        HWND box = reinterpret_cast<HWND>(wparam);
        if (g_button_names->ok != nullptr) SetDlgItemTextW(box, IDOK, g_button_names->ok);
        if (g_button_names->yes != nullptr) SetDlgItemTextW(box, IDYES, g_button_names->yes);
        if (g_button_names->no != nullptr) SetDlgItemTextW(box, IDNO, g_button_names->no);
        if (g_button_names->cancel != nullptr)
            SetDlgItemTextW(box, IDCANCEL, g_button_names->cancel);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

int AskWithBox(HWND owner, const wchar_t* text, UINT buttons, const ButtonNames& names) {
    HWND focus = GetFocus();
    g_button_names = &names;
    HHOOK hook = SetWindowsHookExW(WH_CBT, NameBoxButtons, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxW(owner, text, kMonthCaption, buttons | MB_ICONQUESTION);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    g_button_names = nullptr;
    if (focus != nullptr && IsChild(owner, focus)) SetFocus(focus);
    return answer;
}

// ---- The month file -------------------------------------------------------------------

const wchar_t* FileNameOf(const wchar_t* path) {
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/') name = p + 1;
    }
    return name;
}

// Written whole or not at all; on failure the box says so and the month
// stays unsaved.
// What is saved must open again: a month the file would refuse (a text that
// no check caught on its way in) is not written at all, and the box says why.
bool ReopensAsSaved(MonthWindowState& s, int32_t length) {
    RotaMonth reread;
    MonthFileError error{};
    if (length < 0 || ReadMonthFile(s.fileBytes, length, &reread, &error)) return true;
    wchar_t text[kBoxTextCapacity];
    FormatText(text, kBoxTextCapacity, L"排班表未保存：保存后将无法再打开。\r\n%ls", error.text);
    ShowBox(s.window, text, kSaveFailedCaption, MB_ICONWARNING);
    return false;
}

bool SaveMonthTo(MonthWindowState& s, const wchar_t* path) {
    const int32_t length = WriteMonthFile(s.month, s.fileBytes, kMonthFileCapacity);
    if (!ReopensAsSaved(s, length)) return false;
    FileStamp stamp{};
    if (length < 0 || !WriteWholeFile(path, s.fileBytes, length, &stamp)) {
        wchar_t text[kBoxTextCapacity];
        FormatText(text, kBoxTextCapacity,
                   L"排班表未能保存到：\r\n%"
                   L"ls\r\n磁盘上的文件保持原样，修改仍在窗口中，请另存到其他位置。",
                   path);
        ShowBox(s.window, text, kSaveFailedCaption, MB_ICONWARNING);
        return false;
    }
    CopyText(s.path, kMonthPathCapacity, path);
    s.stamp = stamp;
    s.saved = s.month;
    ShowMonth(s);
    return true;
}

bool SaveAs(MonthWindowState& s) {
    wchar_t suggested[kMonthPathCapacity];
    if (HasText(s.path)) {
        CopyText(suggested, kMonthPathCapacity, s.path);
    } else {
        wchar_t name[kMonthPathCapacity];
        FormatMonthFileName(s.month, name, kMonthPathCapacity);
        ClearText(suggested, kMonthPathCapacity);
        if (DocumentsFolder(suggested, kMonthPathCapacity))
            AppendText(suggested, kMonthPathCapacity, L"\\");
        AppendText(suggested, kMonthPathCapacity, name);
    }
    wchar_t path[kMonthPathCapacity];
    if (!AskMonthFileToSave(s.window, suggested, path, kMonthPathCapacity)) return false;
    return SaveMonthTo(s, path);
}

// Always writes: to the file the month came from or last went to, unless
// another PC saved that file since; then 另存为 is offered instead.
bool Save(MonthWindowState& s) {
    if (!HasText(s.path)) return SaveAs(s);
    if (!SameStamp(StampOfFile(s.path), s.stamp)) {
        wchar_t text[kBoxTextCapacity];
        FormatText(text, kBoxTextCapacity,
                   L"“%ls”在打开或上次保存之后已被修改（可能是其他电脑保存的）。"
                   L"\r\n为免覆盖别人的修改，请另存为新文件。",
                   FileNameOf(s.path));
        const int answer =
            AskWithBox(s.window, text, MB_OKCANCEL, {L"另存为", nullptr, nullptr, L"取消"});
        return answer == IDOK && SaveAs(s);
    }
    return SaveMonthTo(s, s.path);
}

void Open(MonthWindowState& s) {
    if (!MayPutMonthAway(s)) return;
    wchar_t path[kMonthPathCapacity];
    if (!AskMonthFileToOpen(s.window, path, kMonthPathCapacity)) return;
    if (LoadMonthFile(s, s.window, path)) {
        MoveCurrentCell(s, 0, 0);
        SetFocus(s.grid);
    }
}

// ---- The roster, the arrangement, undo and redo ------------------------------------------

void TakeRoster(MonthWindowState& s) {
    WardRoster roster;
    LoadWardRoster(&roster);
    if (!RunRosterDialog(s.window, s.main->highContrastSource, &roster)) return;
    s.change = s.month;
    ApplyRoster(roster.roster, roster.ward, &s.change);
    CommitMonthChange(s);
    // The names are seen, and worked on, in the grid.
    SetFocus(s.grid);
}

void Arrange(MonthWindowState& s) {
    s.change = s.month;
    const ArrangeOutcome outcome = ArrangeMonth(&s.change);
    if (!outcome.arranged) {
        ShowBox(s.window, outcome.reason, kArrangeFailedCaption, MB_ICONWARNING);
        return;
    }
    CommitMonthChange(s);
}

void Undo(MonthWindowState& s, bool redo) {
    if (redo ? RedoStep(&s.history, &s.month) : UndoStep(&s.history, &s.month)) ShowMonth(s);
}

void ToggleHoliday(MonthWindowState& s) {
    if (s.column < 0) return;
    s.change = s.month;
    s.change.holiday[s.column] = !s.change.holiday[s.column];
    CommitMonthChange(s);
}

// ---- Print, preview and copy ---------------------------------------------------------------
// Each through one function: the month's printed page and its pasted table
// are printing's and the clipboard's, handed the month and its check.

// The month window asks for its prints: boxes over it, the outcome in its
// status bar.
PrintRequester MonthRequester(MonthWindowState& s) {
    return {s.main->instance,
            s.window,
            s.dpi,
            s.main->highContrastSource,
            [](void* context, const wchar_t* status) {
                const auto& state = *static_cast<const MonthWindowState*>(context);
                SendMessageW(state.statusBar, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(status));
            },
            &s};
}

void PrepareMonthDocument(MonthWindowState& s) {
    const LocalCivilDate today = GetLocalCivilDate();
    PrepareMonthPrintDocument(*s.main->tool, s.month, s.check, today.year, today.month, today.day,
                              &s.printDocument);
}

void PreviewMonth(MonthWindowState& s) {
    PrepareMonthDocument(s);
    wchar_t title[kMonthWindowTitleCapacity];
    FormatMonthTitle(s.month, title, kMonthWindowTitleCapacity);
    PreviewDocumentCommand(MonthRequester(s), s.printDocument, title);
}

void PrintMonth(MonthWindowState& s) {
    PrepareMonthDocument(s);
    PrintDocumentCommand(MonthRequester(s), s.printDocument, s.window);
}

// Global memory holding the bytes, ready for SetClipboardData; null when it
// cannot be had.
HGLOBAL MakeClipboardData(const void* bytes, SIZE_T size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (target == nullptr) {
        if (memory != nullptr) GlobalFree(memory);
        return nullptr;
    }
    memcpy(target, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

// Another program may hold the clipboard open for a moment (a clipboard
// manager reading what was copied last): it is asked again a few times.
bool OpenClipboardPatiently(HWND owner) {
    constexpr int32_t kAttempts = 10;
    constexpr DWORD kPauseMs = 20;
    for (int32_t i = 0; i < kAttempts; ++i) {
        if (OpenClipboard(owner)) return true;
        Sleep(kPauseMs);
    }
    return false;
}

// The month as the grid a spreadsheet pastes ("HTML Format") and as
// tab-separated text; the text decides the outcome, the table is an extra.
void CopyMonth(MonthWindowState& s) {
    const int32_t length =
        BuildMonthClipboardText(s.month, s.check, s.copyText, kMonthClipboardTextCapacity);
    const int64_t table_size =
        BuildMonthClipboardHtml(s.month, s.check, s.copyTable, kMonthClipboardHtmlCapacity);
    HGLOBAL text = length < 0 ? nullptr
                              : MakeClipboardData(
                                    s.copyText, static_cast<SIZE_T>(length + 1) * sizeof(wchar_t));
    HGLOBAL table = table_size < 0 ? nullptr : MakeHtmlClipboardData(s.copyTable, table_size);
    const bool placed =
        PlaceOnOpenedClipboard(text != nullptr && OpenClipboardPatiently(s.window), text, table);
    if (text != nullptr && !placed) GlobalFree(text);
    if (!placed) ShowBox(s.window, L"复制失败，请重试。", kMonthCaption, MB_ICONWARNING);
}

bool TakeLimit(MonthWindowState& s, MonthLimitField field) {
    wchar_t text[16];
    ClearText(text, 16);
    GetWindowTextW(s.limitEdits[field], text, 16);
    int32_t value = 0;
    if (ParseLimitText(text, field, &value)) {
        SetLimitValue(&s.change.limits, field, value);
        return true;
    }
    FormatText(text, 16, L"%d", LimitValue(s.month.limits, field));
    SetWindowTextW(s.limitEdits[field], text);
    wchar_t message[kLimitErrorCapacity];
    BuildLimitErrorText(field, message, kLimitErrorCapacity);
    ShowBox(s.window, message, kLimitCaption, MB_ICONWARNING);
    return false;
}

}  // namespace

bool TakeFields(MonthWindowState& s) {
    s.change = s.month;
    GetWindowTextW(s.wardEdit, s.change.ward, kWardNameCapacity);
    bool taken = true;
    if (StartsAsAFormula(s.change.ward, TextLength(s.change.ward))) {
        wchar_t message[kBoxTextCapacity];
        FormatText(message, kBoxTextCapacity, L"科室“%ls”%ls", s.change.ward, kFormulaStartText);
        CopyText(s.change.ward, kWardNameCapacity, s.month.ward);
        SetWindowTextW(s.wardEdit, s.month.ward);
        ShowBox(s.window, message, kInputErrorCaption, MB_ICONWARNING);
        taken = false;
    }
    for (int32_t f = 0; f < kMonthLimitFieldCount; ++f)
        taken = TakeLimit(s, static_cast<MonthLimitField>(f)) && taken;
    CommitMonthChange(s);
    return taken;
}

bool MayPutMonthAway(MonthWindowState& s) {
    if (SameMonth(s.month, s.saved)) return true;
    const int answer = AskWithBox(s.window, L"排班表有尚未保存的修改，是否保存？", MB_YESNOCANCEL,
                                  {nullptr, L"保存", L"不保存", L"取消"});
    if (answer == IDNO) return true;
    return answer == IDYES && Save(s);
}

bool LoadMonthFile(MonthWindowState& s, HWND owner, const wchar_t* path) {
    int32_t length = 0;
    FileStamp stamp{};
    wchar_t text[kBoxTextCapacity];
    if (!ReadWholeFile(path, s.fileBytes, kMonthFileCapacity, &length, &stamp)) {
        FormatText(text, kBoxTextCapacity, L"无法读取排班表文件：\r\n%ls", path);
        ShowBox(owner, text, kOpenFailedCaption, MB_ICONWARNING);
        return false;
    }
    MonthFileError error{};
    if (!ReadMonthFile(s.fileBytes, length, &s.change, &error)) {
        FormatText(text, kBoxTextCapacity, L"%ls\r\n%ls", FileNameOf(path), error.text);
        ShowBox(owner, text, kOpenFailedCaption, MB_ICONWARNING);
        return false;
    }
    s.month = s.change;
    s.saved = s.month;
    CopyText(s.path, kMonthPathCapacity, path);
    s.stamp = stamp;
    ClearHistory(&s.history);
    s.nurse = 0;
    s.column = 0;
    s.scroll = {0, 0};
    ShowMonth(s);
    return true;
}

bool RunMonthCommand(MonthWindowState& s, int32_t id) {
    if (id < kRosterCommand || id > kRedoCommand) return false;
    EndNameEdit(s, true);
    if (id != kCloseCommand && !TakeFields(s)) return true;
    switch (id) {
        case kRosterCommand:
            TakeRoster(s);
            break;
        case kOpenCommand:
            Open(s);
            break;
        case kSaveCommand:
            Save(s);
            break;
        case kSaveAsCommand:
            SaveAs(s);
            break;
        case kPreviewCommand:
            PreviewMonth(s);
            break;
        case kPrintCommand:
            PrintMonth(s);
            break;
        case kCopyCommand:
            CopyMonth(s);
            break;
        case kArrangeCommand:
            Arrange(s);
            break;
        case kCloseCommand:
            CloseMonthWindow(s);
            break;
        case kHolidayCommand:
            ToggleHoliday(s);
            break;
        case kUndoCommand:
        case kRedoCommand:
            Undo(s, id == kRedoCommand);
            break;
        default:
            break;
    }
    return true;
}
