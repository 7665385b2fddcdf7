// Painting of everything in the main window that is not a child control.
#pragma once

#include <windows.h>

#include "ui/layout.h"
#include "ui/main_window.h"

void PaintMainWindow(const WindowState& state, HWND window);

// One line of text in a box: transparent, single line, vertically centred, cut
// with an ellipsis; extra_flags adds the alignment (0 left, DT_RIGHT, DT_CENTER).
void DrawTextBox(HDC context, Box box, const wchar_t* text, Rgb colour, HFONT font,
                 UINT extra_flags);

// Solid fill of a box with a brush that lives for this call only.
void FillBox(HDC context, Box box, Rgb colour);

// 1-pixel outline on the box's left and top edges and just inside its right and
// bottom edges, with a pen that lives for this call only.
void FrameBox(HDC context, Box box, Rgb colour);
