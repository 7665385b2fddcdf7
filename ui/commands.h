// The window procedure and the commands behind the buttons. The procedure finds
// the window's state once per message and hands it to the handler.
#pragma once

#include <windows.h>

#include "ui/main_window.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

void ComputeCommand(WindowState& state);
void SaveRecordCommand(WindowState& state);
void CopyCommand(WindowState& state);
void ResetCommand(WindowState& state);
void AboutCommand(const WindowState& state);
