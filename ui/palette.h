// Every colour the window paints or hands to its controls, by what it paints:
// the design's colours, or under high contrast the system's (palette_win32.h).
#pragma once

#include <cstdint>

#include "ui/layout.h"

enum PaintRole : int32_t {
    kPagePaint,
    kHeaderPaint,
    kAccentPaint,
    kToolNamePaint,
    kCaptionPaint,
    kLinkPaint,
    kPanelPaint,  // also the background of the fields and the report box
    kPanelOutlinePaint,
    kPanelTitlePaint,
    kTitleRulePaint,
    kFooterPaint,
    kStatusPaint,
    kOrdinaryTextPaint,
    kDimmedTextPaint,
    kVerdictPaint,  // level 0; levels 1 to 3 follow
    kPrimaryButtonPaint = kVerdictPaint + 4,
    kOtherButtonPaint = kPrimaryButtonPaint + 5,
    kDeskPaint = kOtherButtonPaint + 5,  // the print preview's, around the sheet
    kSheetShadowPaint,
    kPaintRoleCount,
};

// The five colours of an owner-drawn button, in this order from its role on.
struct ButtonPaint {
    Rgb fill;
    Rgb pressedFill;
    Rgb outline;
    Rgb caption;
    Rgb pressedCaption;
};

struct Palette {
    Rgb colours[kPaintRoleCount];  // indexed by PaintRole
    // The system's colours: the focus mark is drawn in the caption's colour,
    // not by inverting what lies under it.
    bool fromSystem;
};

constexpr Palette kDesignPalette = {
    {kPageColour,
     kHeaderColour,
     kAccentColour,
     kWhite,
     kCaptionColour,
     kLinkColour,
     kWhite,
     kPanelOutlineColour,
     kHeaderColour,
     kTitleRuleColour,
     kFooterColour,
     kStatusColour,
     kOrdinaryTextColour,
     kDimmedTextColour,
     VerdictColour(0),
     VerdictColour(1),
     VerdictColour(2),
     VerdictColour(3),
     kPrimaryButtonColours.fill,
     kPrimaryButtonColours.pressedFill,
     kPrimaryButtonColours.outline,
     kPrimaryButtonColours.caption,
     kPrimaryButtonColours.caption,
     kOtherButtonColours.fill,
     kOtherButtonColours.pressedFill,
     kOtherButtonColours.outline,
     kOtherButtonColours.caption,
     kOtherButtonColours.caption,
     kDeskColour,
     kSheetShadowColour},
    false,
};

constexpr Rgb Paint(const Palette& palette, PaintRole role) {
    return palette.colours[role];
}

// Level 0 and any value outside 1..3 share the calm colour.
constexpr Rgb VerdictPaint(const Palette& palette, int32_t level) {
    return palette.colours[kVerdictPaint + (level >= 1 && level <= 3 ? level : 0)];
}

// The primary button is the one the design gives the primary colours.
constexpr ButtonPaint ButtonPaintOf(const Palette& palette, int32_t id) {
    const bool primary = &ColoursOfButton(id) == &kPrimaryButtonColours;
    const Rgb* c = &palette.colours[primary ? kPrimaryButtonPaint : kOtherButtonPaint];
    return {c[0], c[1], c[2], c[3], c[4]};
}

constexpr bool SameColour(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

constexpr bool SamePalette(const Palette& a, const Palette& b) {
    for (int32_t role = 0; role < kPaintRoleCount; ++role) {
        if (!SameColour(a.colours[role], b.colours[role])) return false;
    }
    return a.fromSystem == b.fromSystem;
}
