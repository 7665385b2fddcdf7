// Painting of everything in the main window that is not a child control, at the
// window's scale and in its palette. The drawing routines take boxes in device
// pixels.
#pragma once

#include <windows.h>

#include "ui/layout.h"
#include "ui/palette.h"
#include "ui/window_state.h"

void PaintMainWindow(const WindowState& state, HWND window);

// An owner-drawn button (WM_DRAWITEM): its fill, pressed or not, its outline and
// its caption (dimmed when disabled), and the dotted focus mark inside it when
// it has the focus and the window shows its keyboard cues.
void DrawOwnerButton(const DRAWITEMSTRUCT& item, HFONT font, Scale scale, const Palette& palette);

// One line of text in a box: transparent, single line, vertically centred, cut
// with an ellipsis at its end unless extra_flags names another (DT_PATH_ELLIPSIS);
// extra_flags also adds the alignment (0 left, DT_RIGHT, DT_CENTER).
void DrawTextBox(HDC context, Box box, const wchar_t* text, Rgb colour, HFONT font,
                 UINT extra_flags);

// Solid fill of a box with a brush that lives for this call only.
void FillBox(HDC context, Box box, Rgb colour);

// Outline of line_width pixels inside the box: a 1-pixel one lies on the box's
// left and top edges and just inside its right and bottom edges. The pen lives
// for this call only.
void FrameBox(HDC context, Box box, Rgb colour, int32_t line_width);
