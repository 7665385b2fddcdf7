#include "ui/month/file_dialogs_win32.h"

#include <commdlg.h>

#include "engine/bounded_text.h"
#include "ui/newer_windows.h"

namespace {

constexpr wchar_t kDialogLibrary[] = L"comdlg32.dll";
// Pairs of a name and a pattern, the list ended by an empty name.
constexpr wchar_t kMonthFileFilter[] = L"排班表 (*.csv)\0*.csv\0";
constexpr wchar_t kMonthFileExtension[] = L"csv";

constexpr DWORD kCommonFlags =
    OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
constexpr DWORD kOpenFlags = kCommonFlags | OFN_FILEMUSTEXIST;
constexpr DWORD kSaveFlags = kCommonFlags | OFN_OVERWRITEPROMPT;

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

// comdlg32 is loaded for one dialog and let go after it.
class DialogLibrary {
public:
    DialogLibrary() : module_(LoadSystemLibrary(kDialogLibrary)) {}
    ~DialogLibrary() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    DialogLibrary(const DialogLibrary&) = delete;
    DialogLibrary& operator=(const DialogLibrary&) = delete;
    FileDialogFunction Find(const char* name) const {
        return FindFunction<FileDialogFunction>(module_, name);
    }

private:
    HMODULE module_;
};

OPENFILENAMEW MonthFileDialog(HWND owner, wchar_t* path, int32_t capacity, DWORD flags) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kMonthFileFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(capacity);
    dialog.lpstrDefExt = kMonthFileExtension;
    dialog.Flags = flags;
    return dialog;
}

bool RunFileDialog(const char* function_name, OPENFILENAMEW& dialog) {
    const DialogLibrary library;
    const FileDialogFunction run = library.Find(function_name);
    return run != nullptr && run(&dialog) != FALSE;
}

// Where the name begins in a full path: after its last backslash or slash.
int32_t NameStart(const wchar_t* path) {
    int32_t start = 0;
    for (int32_t i = 0; path[i] != L'\0'; ++i) {
        if (path[i] == L'\\' || path[i] == L'/') start = i + 1;
    }
    return start;
}

}  // namespace

bool AskMonthFileToOpen(HWND owner, wchar_t* path, int32_t capacity) {
    if (path == nullptr || capacity <= 1) return false;
    path[0] = L'\0';
    OPENFILENAMEW dialog = MonthFileDialog(owner, path, capacity, kOpenFlags);
    return RunFileDialog("GetOpenFileNameW", dialog);
}

bool AskMonthFileToSave(HWND owner, const wchar_t* suggested, wchar_t* path, int32_t capacity) {
    if (path == nullptr || capacity <= 1) return false;
    suggested = OrEmpty(suggested);
    // The dialog opens in the suggested folder with the suggested name typed in.
    const int32_t name_start = NameStart(suggested);
    // A folder too long for the dialog is left to it: it opens where it last was.
    wchar_t folder[MAX_PATH] = L"";
    if (name_start < MAX_PATH) AppendText(folder, MAX_PATH, suggested, name_start);
    CopyText(path, capacity, suggested + name_start);
    OPENFILENAMEW dialog = MonthFileDialog(owner, path, capacity, kSaveFlags);
    if (HasText(folder)) dialog.lpstrInitialDir = folder;
    return RunFileDialog("GetSaveFileNameW", dialog);
}
