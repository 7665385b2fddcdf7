// The one scale of the window and where the window goes: worked out once, when
// the window is created, from the system DPI and the work area of the screen
// (the screen without the taskbar). Portable, so that the rule is checked
// without a display.
#pragma once

#include <cstdint>

#include "ui/layout.h"

// What the window's frame (title bar and borders) adds to its client area, in
// device pixels at the system DPI.
struct FrameSize {
    int32_t width;
    int32_t height;
};

// The system DPI over 96, lowered where needed so that the whole window, frame
// included, fits inside the work area: at 96 DPI on a work area of at least
// 1036 x 780 it is exactly 1. Never below one half, and the DPI scale for a
// work area that is no area at all.
Scale ChooseWindowScale(int32_t dpi, Box work_area, FrameSize frame);

// The scale is the DPI's own, not lowered to fit a work area.
bool IsDpiScale(Scale scale, int32_t dpi);

// Two fractions of the same value.
bool SameScale(Scale a, Scale b);

// The outer rectangle of the main window at a scale.
struct WindowPlacement {
    int32_t x;
    int32_t y;
    int32_t width;  // the outer size the window is held at
    int32_t height;
};

// Centred on the work area by the frame around the scaled design client area,
// and moved, where it would stick out, to lie inside the work area; its title
// bar is never above the work area's top.
WindowPlacement PlaceMainWindow(Scale scale, Box work_area, FrameSize frame);
