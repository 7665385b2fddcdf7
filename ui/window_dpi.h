// The window at the DPI of its monitor: the scale and place it opens with, and
// a new scale, fonts, controls and place when it moves to a monitor of another
// DPI or when its monitor's work area or resolution changes.
#pragma once

#include <windows.h>

#include "ui/window_state.h"

constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The work area of the monitor the window is on (the primary screen's where
// the system cannot say).
Box MonitorWorkArea(HWND window);

// The system DPI and the primary screen's work area, where the window opens.
void ChooseOpeningScale(WindowState& state);

// Once the window exists: the DPI of the monitor it is on, where that is not
// the system DPI (a scale the user changed without signing out).
void MatchMonitorDpi(WindowState& state);

// WM_DPICHANGED: the scale for the new DPI and the work area of the monitor
// that the suggested rectangle lies on. The window takes the suggested place
// where it fits there at the DPI's own scale, else it is fitted to that work
// area.
void OnDpiChanged(WindowState& state, int32_t dpi, const RECT& suggested);

// The work area or the resolution of the window's monitor changed: the window
// is scaled and placed again if it no longer fits.
void FitToWorkArea(WindowState& state);
