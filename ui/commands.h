// The five commands behind the buttons, each working on the window's state.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

void ComputeCommand(WindowState& state);
void SaveRecordCommand(WindowState& state);
void CopyCommand(WindowState& state);
void ResetCommand(WindowState& state);
void AboutCommand(const WindowState& state);
