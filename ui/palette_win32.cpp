#include "ui/palette_win32.h"

#include <windows.h>

namespace {

// Indexed by PaintRole. Both kinds of button look alike: high contrast has one
// button face, and the compute button still says what it does.
constexpr int kSystemColourOf[kPaintRoleCount] = {
    COLOR_WINDOW,         // page
    COLOR_HIGHLIGHT,      // header band
    COLOR_HIGHLIGHT,      // accent stripe
    COLOR_HIGHLIGHTTEXT,  // tool name
    COLOR_HIGHLIGHTTEXT,  // caption line
    COLOR_HIGHLIGHTTEXT,  // web address
    COLOR_WINDOW,         // panels, fields, report box
    COLOR_WINDOWTEXT,     // panel outline
    COLOR_WINDOWTEXT,     // panel titles
    COLOR_GRAYTEXT,       // rules under the titles
    COLOR_BTNFACE,        // footer band
    COLOR_BTNTEXT,        // status line
    COLOR_WINDOWTEXT,     // ordinary text
    COLOR_WINDOWTEXT,     // dimmed text
    COLOR_WINDOWTEXT,     // verdict, level 0: the level is in its words
    COLOR_WINDOWTEXT,    COLOR_WINDOWTEXT, COLOR_WINDOWTEXT,
    COLOR_BTNFACE,  // compute button: fill, pressed, outline, caption, pressed caption
    COLOR_HIGHLIGHT,     COLOR_BTNTEXT,    COLOR_BTNTEXT,    COLOR_HIGHLIGHTTEXT,
    COLOR_BTNFACE,  // the other buttons
    COLOR_HIGHLIGHT,     COLOR_BTNTEXT,    COLOR_BTNTEXT,    COLOR_HIGHLIGHTTEXT,
    COLOR_APPWORKSPACE,  // the print preview's desk
    COLOR_BTNSHADOW,     // the sheet's shadow on it
};

Rgb SystemColour(int index) {
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

}  // namespace

bool HighContrastIsOn(HighContrastSource source) {
    if (source != HighContrastSource::kSystem) return source == HighContrastSource::kForcedOn;
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

Palette WindowPalette(bool high_contrast) {
    if (!high_contrast) return kDesignPalette;
    Palette palette{};
    for (int32_t role = 0; role < kPaintRoleCount; ++role)
        palette.colours[role] = SystemColour(kSystemColourOf[role]);
    palette.fromSystem = true;
    return palette;
}
