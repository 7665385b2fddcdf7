// Geometry, fonts and colours of the main window, kept apart from the code
// that creates and paints it so that they can be checked without a display.
// All figures are client-area pixels at 96 DPI (100 %); the window scales them
// all by one factor where it uses them (Scaled below).
#pragma once

#include <cstdint>

#include "ui/resource_ids.h"

struct Box {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

struct Rgb {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

enum FontRole : int32_t {
    kTitleFont,
    kCaptionFont,
    kLabelFont,
    kInputFont,
    kVerdictFont,
    kReportFont,
    kButtonFont,
    kSmallFont,
    kFontRoleCount,
};

struct FontDef {
    const wchar_t* face;
    int32_t height;  // em size in pixels
    int32_t weight;
};

constexpr wchar_t kUiFace[] = L"Microsoft YaHei UI";
constexpr wchar_t kMonoFace[] = L"Consolas";

// Indexed by FontRole.
constexpr FontDef kFontDefs[kFontRoleCount] = {
    {kUiFace, 27, 700},    // kTitleFont
    {kUiFace, 14, 400},    // kCaptionFont
    {kUiFace, 14, 400},    // kLabelFont
    {kUiFace, 15, 400},    // kInputFont
    {kUiFace, 21, 700},    // kVerdictFont
    {kMonoFace, 15, 400},  // kReportFont
    {kUiFace, 15, 400},    // kButtonFont
    {kUiFace, 12, 400},    // kSmallFont
};

// ---- Scale ----------------------------------------------------------------

// Device pixels per design pixel, as a fraction (the system DPI over 96, or less
// where the window must shrink to fit its screen).
struct Scale {
    int32_t numerator;
    int32_t denominator;
};

constexpr Scale kUnitScale = {1, 1};

// A figure in device pixels: multiplied by the scale and rounded half away from
// zero, as MulDiv rounds.
constexpr int32_t Scaled(int32_t pixels, Scale scale) {
    const int64_t product = static_cast<int64_t>(pixels) * scale.numerator;
    const int64_t half = scale.denominator / 2;
    const int64_t rounded =
        product >= 0 ? (product + half) / scale.denominator : (product - half) / scale.denominator;
    return static_cast<int32_t>(rounded);
}

// A line or an edge of a box: never thinner than one pixel.
constexpr int32_t ScaledLine(int32_t width, Scale scale) {
    const int32_t scaled = Scaled(width, scale);
    return scaled < 1 ? 1 : scaled;
}

constexpr Box Scaled(Box box, Scale scale) {
    return {Scaled(box.x, scale), Scaled(box.y, scale), ScaledLine(box.width, scale),
            ScaledLine(box.height, scale)};
}

// ---- Window ---------------------------------------------------------------

constexpr int32_t kDesignClientWidth = 1020;
constexpr int32_t kDesignClientHeight = 720;
constexpr int32_t kFixedOuterWidth = 1036;
constexpr int32_t kFixedOuterHeight = 780;

// Centred on a screen, never at a negative position.
constexpr int32_t CentredOrigin(int32_t screen_extent, int32_t window_extent) {
    const int32_t origin = (screen_extent - window_extent) / 2;
    return origin < 0 ? 0 : origin;
}

// ---- Child controls -------------------------------------------------------

// The controls of the result area.
enum class ControlKind : int32_t {
    kVerdictLine,    // left-aligned, wrapping static
    kReportLabel,    // hidden static: the report box's name for screen readers
    kReportBox,      // read-only multi-line edit
    kNoteLine,       // left-aligned, wrapping static
    kReferenceLine,  // left-aligned, wrapping static
};

struct ParamRowLayout {
    Box label;
    Box field;
    Box unit;
};

constexpr int32_t kParamRowTop = 150;
constexpr int32_t kParamRowPitch = 34;

// The three controls of a parameter row, their y relative to the row's top.
constexpr Box kParamLabelInRow = {.x = 24, .y = 1, .width = 184, .height = 22};
constexpr Box kParamFieldInRow = {.x = 216, .y = -4, .width = 152, .height = 27};
constexpr Box kParamUnitInRow = {.x = 374, .y = 0, .width = 78, .height = 22};

constexpr Box MovedDown(Box box, int32_t dy) {
    return {box.x, box.y + dy, box.width, box.height};
}

constexpr ParamRowLayout ParamRow(int32_t index) {
    const int32_t top = kParamRowTop + kParamRowPitch * index;
    return {MovedDown(kParamLabelInRow, top), MovedDown(kParamFieldInRow, top),
            MovedDown(kParamUnitInRow, top)};
}

constexpr int32_t ParamFieldId(int32_t index) {
    return IDC_FIRST_PARAM_FIELD + index;
}

struct ResultControlLayout {
    ControlKind kind;
    Box box;
    int32_t id;  // 0: none
    FontRole font;
};

// The result panel's title, painted above the verdict line.
constexpr Box kResultTitleBox = {492, 104, 300, 30};

// In creation order, after the parameter rows. A screen reader names an edit
// by the static created last before it: the report box by its panel's title.
constexpr ResultControlLayout kResultControls[] = {
    {ControlKind::kVerdictLine, {492, 142, 492, 46}, 0, kVerdictFont},
    {ControlKind::kReportLabel, kResultTitleBox, 0, kCaptionFont},
    {ControlKind::kReportBox, {492, 196, 492, 232}, IDC_REPORT_BOX, kReportFont},
    {ControlKind::kNoteLine, {492, 444, 492, 120}, 0, kSmallFont},
    {ControlKind::kReferenceLine, {492, 576, 492, 56}, 0, kSmallFont},
};

struct ButtonLayout {
    const wchar_t* caption;
    Box box;
    int32_t id;
};

// In creation order, after the result controls.
constexpr ButtonLayout kButtons[] = {
    {L"计算 (F5)", {20, 668, 152, 40}, IDC_COMPUTE_BUTTON},
    {L"保存记录", {184, 668, 132, 40}, IDC_SAVE_BUTTON},
    {L"复制结果", {328, 668, 132, 40}, IDC_COPY_BUTTON},
    {L"清空重填", {472, 668, 132, 40}, IDC_RESET_BUTTON},
    {L"关于", {616, 668, 110, 40}, IDC_ABOUT_BUTTON},
};

// At the right end of the results panel's title row, above its rule: it moves
// none of the other controls. Created right after the report box, so that Tab
// reaches it from there.
constexpr ButtonLayout kPrintPreviewButton = {
    L"打印预览", {888, 102, 96, 28}, IDC_PRINT_PREVIEW_BUTTON};

// ---- Painted areas --------------------------------------------------------
// Bands follow the real client width W (in device pixels); panels, titles and
// the status box stay where the controls are.

constexpr int32_t kHeaderBottom = 88;
constexpr Box HeaderBandBox(int32_t client_width, Scale scale = kUnitScale) {
    return {0, 0, client_width, Scaled(kHeaderBottom, scale)};
}
constexpr Box kAccentStripeBox = {0, 0, 8, 88};
constexpr Box kToolNameBox = {26, 12, 700, 38};
constexpr Box kCaptionLineBox = {28, 48, 720, 28};
// Right-aligned: its right edge 26 pixels in from the client's.
constexpr Box WebAddressBox(int32_t client_width, Scale scale = kUnitScale) {
    return {client_width - Scaled(240, scale), Scaled(8, scale), Scaled(214, scale),
            Scaled(26, scale)};
}
constexpr Box kParamPanelBox = {20, 96, 440, 552};
constexpr Box kResultPanelBox = {476, 96, 524, 552};
constexpr Box kParamTitleBox = {36, 104, 300, 30};
constexpr Box kParamTitleRuleBox = {36, 133, 408, 1};
constexpr Box kResultTitleRuleBox = {492, 133, 492, 1};
constexpr Box FooterBandBox(int32_t client_width, Scale scale = kUnitScale) {
    return {0, Scaled(660, scale), client_width, Scaled(60, scale)};
}
// The status line, a static control created after the buttons.
constexpr Box kStatusBox = {740, 704, 264, 16};

constexpr wchar_t kParamPanelTitle[] = L"输入参数";
constexpr wchar_t kResultPanelTitle[] = L"计算结果";

// ---- Colours --------------------------------------------------------------

constexpr Rgb kPageColour = {244, 247, 249};
constexpr Rgb kHeaderColour = {0, 108, 150};
constexpr Rgb kAccentColour = {0, 132, 176};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kCaptionColour = {214, 236, 246};
constexpr Rgb kLinkColour = {190, 220, 235};
constexpr Rgb kPanelOutlineColour = {218, 226, 232};
constexpr Rgb kTitleRuleColour = {228, 234, 238};
constexpr Rgb kFooterColour = {236, 241, 244};
constexpr Rgb kStatusColour = {120, 132, 142};
// The print preview's desk around the sheet, and the sheet's shadow on it.
constexpr Rgb kDeskColour = {200, 207, 213};
constexpr Rgb kSheetShadowColour = {150, 158, 165};

constexpr Rgb kOrdinaryTextColour = {44, 56, 66};
constexpr Rgb kDimmedTextColour = {120, 132, 142};

struct ButtonColours {
    Rgb fill;
    Rgb pressedFill;
    Rgb outline;
    Rgb caption;
};

constexpr ButtonColours kPrimaryButtonColours = {
    {0, 122, 168}, {0, 100, 138}, {0, 106, 148}, {255, 255, 255}};
constexpr ButtonColours kOtherButtonColours = {
    {255, 255, 255}, {226, 234, 240}, {206, 216, 224}, {44, 56, 66}};

constexpr const ButtonColours& ColoursOfButton(int32_t id) {
    return id == IDC_COMPUTE_BUTTON ? kPrimaryButtonColours : kOtherButtonColours;
}

// Level 0 and any value outside 1..3 share the calm colour.
constexpr Rgb VerdictColour(int32_t level) {
    switch (level) {
        case 1:
            return {176, 132, 0};
        case 2:
            return {214, 108, 0};
        case 3:
            return {190, 30, 45};
        default:
            return {0, 128, 96};
    }
}
