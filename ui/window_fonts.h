// The window's fonts at its scale (created at start and again at each new
// scale), each in its design face where this system has it, else in the
// nearest face it does have.
#pragma once

#include <windows.h>

#include "ui/layout.h"

// Fills fonts[kFontRoleCount], indexed by FontRole. The fonts live until a new
// scale replaces them.
void CreateWindowFonts(Scale scale, HFONT* fonts);

// The face the UI fonts above are drawn in here, for the fonts of other
// devices (a printer) as well: face holds LF_FACESIZE characters.
void ChooseUiFace(wchar_t* face);
