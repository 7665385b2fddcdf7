#include "ui/layout.h"

#include <gtest/gtest.h>

#include "ui/palette.h"

namespace {

TEST(Layout, ParameterRowsOfTheBuiltInTool) {
    struct Case {
        int32_t index;
        int32_t label_y;
        int32_t field_y;
        int32_t unit_y;
    };
    constexpr Case kCases[] = {{0, 151, 146, 150}, {1, 185, 180, 184}, {15, 661, 656, 660}};
    for (const Case& c : kCases) {
        const ParamRowLayout row = ParamRow(c.index);
        EXPECT_EQ(c.label_y, row.label.y);
        EXPECT_EQ(c.field_y, row.field.y);
        EXPECT_EQ(c.unit_y, row.unit.y);
        EXPECT_EQ(24, row.label.x);
        EXPECT_EQ(216, row.field.x);
        EXPECT_EQ(374, row.unit.x);
        EXPECT_EQ(2000 + c.index, ParamFieldId(c.index));
    }
}

TEST(Layout, ButtonsStandInTheFooterAndTheMiddleOnes144Apart) {
    constexpr int32_t kIds[] = {1001, 1002, 1003, 1004, 1005};
    for (int32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(kIds[k], kButtons[k].id);
        EXPECT_EQ(668, kButtons[k].box.y);
        EXPECT_EQ(40, kButtons[k].box.height);
    }
    for (int32_t k = 1; k <= 3; ++k)
        EXPECT_EQ(184 + 144 * (k - 1), kButtons[k].box.x);
}

TEST(Layout, ControlsLieInsideTheirPanels) {
    auto inside = [](Box inner, Box outer) {
        return inner.x >= outer.x && inner.y >= outer.y &&
               inner.x + inner.width <= outer.x + outer.width &&
               inner.y + inner.height <= outer.y + outer.height;
    };
    for (const ResultControlLayout& control : kResultControls) {
        EXPECT_TRUE(inside(control.box, kResultPanelBox));
    }
    const ParamRowLayout row = ParamRow(0);
    EXPECT_TRUE(inside(row.label, kParamPanelBox));
    EXPECT_TRUE(inside(row.field, kParamPanelBox));
    EXPECT_TRUE(inside(row.unit, kParamPanelBox));
    for (const ButtonLayout& button : kButtons) {
        EXPECT_TRUE(inside(button.box, FooterBandBox(kDesignClientWidth)));
    }
    EXPECT_TRUE(inside(kStatusBox, FooterBandBox(kDesignClientWidth)));
}

TEST(Layout, BandsFollowTheClientWidth) {
    EXPECT_EQ(1100, HeaderBandBox(1100).width);
    EXPECT_EQ(1100 - 240, WebAddressBox(1100).x);
    EXPECT_EQ(1100 - 26, WebAddressBox(1100).x + WebAddressBox(1100).width);
    EXPECT_EQ(1100, FooterBandBox(1100).width);
}

TEST(Layout, CentredNeverNegative) {
    EXPECT_EQ(122, CentredOrigin(1280, 1036));
    EXPECT_EQ(0, CentredOrigin(800, 1036));
    EXPECT_EQ(1, CentredOrigin(1039, 1036));  // truncated toward zero
}

TEST(Layout, VerdictColourByLevel) {
    struct Case {
        int32_t level;
        Rgb colour;
    };
    constexpr Case kCases[] = {
        {0, {0, 128, 96}},  {1, {176, 132, 0}}, {2, {214, 108, 0}},
        {3, {190, 30, 45}}, {4, {0, 128, 96}},  {-1, {0, 128, 96}},
    };
    for (const Case& c : kCases) {
        const Rgb colour = VerdictPaint(kDesignPalette, c.level);
        EXPECT_EQ(c.colour.r, colour.r);
        EXPECT_EQ(c.colour.g, colour.g);
        EXPECT_EQ(c.colour.b, colour.b);
    }
}

TEST(Layout, OnlyTheComputeButtonIsPrimary) {
    EXPECT_EQ(&kPrimaryButtonColours, &ColoursOfButton(1001));
    for (int32_t id = 1002; id <= 1005; ++id) {
        EXPECT_EQ(&kOtherButtonColours, &ColoursOfButton(id));
    }
}

}  // namespace
