// The window procedure and the commands behind the buttons.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

void ComputeCommand();
void CopyCommand();
void ResetCommand();
void AboutCommand();
