// The open and save-as dialogs for month files (comdlg32, loaded from System32
// when first needed, so the exe imports none of it).
#pragma once

#include <windows.h>

#include <cstdint>

// Asks for a month file to open. False when the user cancels or the dialog
// cannot be shown.
bool AskMonthFileToOpen(HWND owner, wchar_t* path, int32_t capacity);

// Asks where to save, starting from suggested (a full path: folder and name);
// asks before replacing an existing file. False when the user cancels.
bool AskMonthFileToSave(HWND owner, const wchar_t* suggested, wchar_t* path, int32_t capacity);
