#include "ui/window_scale.h"

#include <gtest/gtest.h>

#include "ui/layout.h"

namespace {

constexpr FrameSize kFrame = {6, 25};  // a title bar and thin borders, as Wine draws them

TEST(WindowScale, DpiOverNinetySixLoweredToFitTheWorkArea) {
    struct Case {
        int32_t dpi;
        Box work;
        Scale expected;
    };
    const Case kCases[] = {
        {96, {0, 0, 1280, 1024}, {1, 1}},        // today's window, exactly
        {96, {0, 0, 1036, 780}, {1, 1}},         // just holds it
        {96, {0, 0, 1366, 768}, {768, 780}},     // the window's height is the screen's
        {96, {0, 0, 1366, 728}, {728, 780}},     // the same above a taskbar
        {144, {0, 0, 2560, 1440}, {3, 2}},       // 150 % where it fits
        {144, {0, 0, 1920, 1080}, {1080, 780}},  // 150 % where it does not
        {192, {0, 0, 3840, 2160}, {2, 1}},      {192, {0, 0, 1920, 1040}, {1040, 780}},
        {96, {0, 0, 1036, 1000}, {1036, 1036}},  // the width decides
        {96, {0, 0, 400, 300}, {1, 2}},          // never below one half
        {120, {0, 0, 0, 0}, {120, 96}},          // no work area: the DPI alone
    };
    for (const Case& c : kCases) {
        const Scale scale = ChooseWindowScale(c.dpi, c.work, kFrame);
        EXPECT_TRUE(SameScale(scale, c.expected))
            << c.dpi << " dpi on " << c.work.width << "x" << c.work.height << ": "
            << scale.numerator << "/" << scale.denominator;
        if (c.work.width < 1036 / 2 || c.work.height < 780 / 2) continue;  // nothing can fit
        const WindowPlacement place = PlaceMainWindow(scale, c.work, kFrame);
        EXPECT_GE(place.x, c.work.x);
        EXPECT_GE(place.y, c.work.y);
        EXPECT_LE(place.x + place.width, c.work.x + c.work.width);
        EXPECT_LE(place.y + place.height, c.work.y + c.work.height);
    }
}

TEST(WindowScale, PlacedAsTodayAtOneAndInsideAWorkAreaBelowATopTaskbar) {
    const WindowPlacement today = PlaceMainWindow(kUnitScale, {0, 0, 1280, 1024}, kFrame);
    EXPECT_EQ(today.x, (1280 - 1026) / 2);
    EXPECT_EQ(today.y, (1024 - 745) / 2);
    EXPECT_EQ(today.width, 1036);
    EXPECT_EQ(today.height, 780);
    const WindowPlacement below = PlaceMainWindow({728, 780}, {0, 40, 1366, 728}, kFrame);
    EXPECT_EQ(below.y, 40);
    EXPECT_EQ(below.height, 728);
    // A frame drawn at 300 % around a window shrunk to a 1080-pixel screen: the
    // scaled client area and the frame around it both fit.
    const FrameSize wide_frame = {18, 87};
    const Scale shrunk = ChooseWindowScale(288, {0, 0, 1920, 1080}, wide_frame);
    EXPECT_TRUE(SameScale(shrunk, {1080 - 87, 720}));
    const WindowPlacement framed = PlaceMainWindow(shrunk, {0, 0, 1920, 1080}, wide_frame);
    EXPECT_EQ(framed.y, 0);
    EXPECT_EQ(framed.height, Scaled(kDesignClientHeight, shrunk) + wide_frame.height);
}

TEST(WindowScale, EveryScaledControlStaysInsideItsScaledPanel) {
    auto inside = [](Box inner, Box outer) {
        return inner.x >= outer.x && inner.y >= outer.y &&
               inner.x + inner.width <= outer.x + outer.width &&
               inner.y + inner.height <= outer.y + outer.height;
    };
    for (const Scale scale : {Scale{1, 2}, Scale{768, 780}, Scale{1080, 780}, Scale{3, 2},
                              Scale{7, 4}, Scale{2, 1}, Scale{3, 1}}) {
        SCOPED_TRACE(std::to_string(scale.numerator) + "/" + std::to_string(scale.denominator));
        const Box footer = FooterBandBox(Scaled(kDesignClientWidth, scale), scale);
        for (const ResultControlLayout& control : kResultControls) {
            EXPECT_TRUE(inside(Scaled(control.box, scale), Scaled(kResultPanelBox, scale)));
        }
        for (int32_t i = 0; i < 2; ++i) {
            const ParamRowLayout row = ParamRow(i);
            for (const Box box : {row.label, row.field, row.unit}) {
                EXPECT_TRUE(inside(Scaled(box, scale), Scaled(kParamPanelBox, scale)));
            }
        }
        for (const ButtonLayout& button : kButtons) {
            EXPECT_TRUE(inside(Scaled(button.box, scale), footer));
        }
        EXPECT_TRUE(inside(Scaled(kStatusBox, scale), footer));
        EXPECT_GE(Scaled(kParamTitleRuleBox, scale).height, 1);
    }
}

}  // namespace
