// Which palette the window paints with: while the user has high contrast on,
// every colour comes from the system's colours.
#pragma once

#include "ui/palette.h"

// Where the window takes its high-contrast setting from. The system's answer
// is all a user has; a test forces it on and off.
enum class HighContrastSource : int32_t {
    kSystem,
    kForcedOn,
    kForcedOff,
};

// The one decision whether the window paints in the system's colours.
bool HighContrastIsOn(HighContrastSource source);

// The design's palette, or the system's colours as high contrast has set them:
// window and window text for the page, the panels, the fields and every text
// on them; highlight and its text for the header band; button face and text
// for the footer, the status line and the buttons (highlight when pressed);
// grey text for the rules under the panel titles; the application workspace
// and button shadow for the print preview's desk and its sheet's shadow.
Palette WindowPalette(bool high_contrast);
