// The colours the user sees, read back from the display after the window painted.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr Rgb kPage{244, 247, 249};
constexpr Rgb kHeader{0, 108, 150};
constexpr Rgb kAccent{0, 132, 176};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kPanelOutline{218, 226, 232};
constexpr Rgb kTitleRule{228, 234, 238};
constexpr Rgb kFooter{236, 241, 244};
constexpr Rgb kComputeFill{0, 122, 168};
constexpr Rgb kComputeOutline{0, 106, 148};
constexpr Rgb kButtonOutline{206, 216, 224};
constexpr Rgb kLevel0Verdict{0, 128, 96};

struct ColourPoint {
    const char* what;
    int x, y;
    Rgb colour;
};

// Points clear of any text; x and y are client pixels.
const ColourPoint kFixedPoints[] = {
    {"page between header and panels", 10, 92, kPage},
    {"page between the panels", 468, 300, kPage},
    {"page between panels and footer", 300, 654, kPage},
    {"header band", 15, 80, kHeader},
    {"header band right of the caption", 800, 60, kHeader},
    {"accent stripe", 4, 44, kAccent},
    {"accent stripe bottom", 7, 87, kAccent},
    {"left panel", 30, 400, kWhite},
    {"left panel outline, left", 20, 400, kPanelOutline},
    {"left panel outline, top", 100, 96, kPanelOutline},
    {"left panel outline, right", 459, 400, kPanelOutline},
    {"left panel outline, bottom", 100, 647, kPanelOutline},
    {"right panel", 480, 300, kWhite},
    {"right panel outline, left", 476, 300, kPanelOutline},
    {"right panel outline, top", 700, 96, kPanelOutline},
    {"right panel outline, right", 999, 300, kPanelOutline},
    {"right panel outline, bottom", 700, 647, kPanelOutline},
    {"rule under the left title", 200, 133, kTitleRule},
    {"rule under the right title", 900, 133, kTitleRule},
    {"footer band", 900, 670, kFooter},
    {"footer band left of the buttons", 10, 690, kFooter},
    {"compute button", 26, 673, kComputeFill},
    {"compute button outline", 20, 668, kComputeOutline},
    {"save button", 190, 673, kWhite},
    {"save button outline", 184, 668, kButtonOutline},
    {"about button", 620, 700, kWhite},
};

class PixelsTest : public AppWindowTest {
protected:
    // Waits until the window shows the colour at every point, then checks them all.
    void ExpectFixedColours(Screenshot* shot) {
        auto allMatch = [&] {
            if (!shot->Capture(main_)) return false;
            for (const ColourPoint& point : kFixedPoints) {
                if (!(shot->At(point.x, point.y) == point.colour)) return false;
            }
            return true;
        };
        WaitFor(allMatch);
        for (const ColourPoint& point : kFixedPoints) {
            EXPECT_EQ(Describe(shot->At(point.x, point.y)), Describe(point.colour))
                << point.what << " at (" << point.x << ", " << point.y << ")";
        }
    }
};

TEST_F(PixelsTest, TheComputedWindowShowsItsColours) {
    ComputeTenByFourteen();
    ASSERT_TRUE(WaitForStatus(kComputedStatus));
    Screenshot shot;
    ExpectFixedColours(&shot);

    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_EQ(Describe(shot.At(client.right - 1, 40)), Describe(kHeader)) << "header spans W";
    EXPECT_EQ(Describe(shot.At(client.right - 1, 690)), Describe(kFooter)) << "footer spans W";
    if (client.bottom > 722) {
        EXPECT_EQ(Describe(shot.At(500, client.bottom - 1)), Describe(kPage)) << "below footer";
    }

    int verdictPixels = shot.Count(kVerdictBox, kLevel0Verdict);
    EXPECT_GT(verdictPixels, 100) << "the level-0 verdict is drawn in " << Describe(kLevel0Verdict);
    RecordProperty("verdict_pixels", verdictPixels);

    std::wstring artifact = ArtifactDir() + L"\\computed.bmp";
    EXPECT_TRUE(shot.SaveBmp(artifact));
}

TEST_F(PixelsTest, TheFreshWindowShowsTheSameFrameAndAPromptInTheVerdictLine) {
    Screenshot shot;
    ExpectFixedColours(&shot);
    std::wstring artifact = ArtifactDir() + L"\\fresh.bmp";
    EXPECT_TRUE(shot.SaveBmp(artifact));
    // The prompt is drawn in the level-0 colour, on white.
    EXPECT_GT(shot.Count(kVerdictBox, kLevel0Verdict), 50);
}

TEST_F(PixelsTest, ThePainterDrawsTheHeaderTexts) {
    Screenshot shot;
    ASSERT_TRUE(WaitFor([&] {
        return shot.Capture(main_) && shot.Count(RECT{26, 12, 726, 50}, kWhite) > 100;
    })) << "no white tool name in the header band";
    EXPECT_GT(shot.Count(RECT{28, 48, 748, 76}, Rgb{214, 236, 246}), 20) << "caption line";
    RECT client{};
    GetClientRect(main_, &client);
    EXPECT_GT(shot.Count(RECT{client.right - 240, 8, client.right - 26, 34}, Rgb{190, 220, 235}),
              10)
        << "web address";
    EXPECT_GT(shot.Count(RECT{36, 104, 336, 134}, kHeader), 20) << "left panel title";
    EXPECT_GT(shot.Count(RECT{492, 104, 792, 134}, kHeader), 20) << "right panel title";
    EXPECT_GT(shot.Count(RECT{20, 668, 172, 708}, kWhite), 20) << "white caption on compute";
}

}  // namespace
}  // namespace e2e
