// The faces of the fonts that the window's own code creates, as realised here.
// tests/ui/run_face_fallback.sh runs this in a prefix without some faces and
// names the faces expected there ("message": the system's message font).
#include <gtest/gtest.h>

#include <string>

#include "ui/window_fonts.h"

namespace {

std::wstring ExpectedFace(const wchar_t* variable, const wchar_t* otherwise) {
    wchar_t value[LF_FACESIZE] = L"";
    const DWORD length = GetEnvironmentVariableW(variable, value, LF_FACESIZE);
    if (length == 0 || length >= LF_FACESIZE) return otherwise;
    if (std::wstring(value) != L"message") return value;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont.lfFaceName;
}

TEST(WindowFonts, AreRealisedInFacesThisSystemHas) {
    HFONT fonts[kFontRoleCount] = {};
    CreateWindowFonts(kUnitScale, fonts);
    const std::wstring ui = ExpectedFace(L"TAVOMED_EXPECT_UI_FACE", L"Microsoft YaHei UI");
    const std::wstring mono = ExpectedFace(L"TAVOMED_EXPECT_MONO_FACE", L"Consolas");
    HDC screen = GetDC(nullptr);
    for (int role = 0; role < kFontRoleCount; ++role) {
        HGDIOBJ previous = SelectObject(screen, fonts[role]);
        wchar_t realised[LF_FACESIZE] = L"";
        GetTextFaceW(screen, LF_FACESIZE, realised);
        SelectObject(screen, previous);
        LOGFONTW requested{};
        GetObjectW(fonts[role], sizeof requested, &requested);
        // Realised as requested: the font mapper put no other face in its place.
        EXPECT_EQ(std::wstring(realised), role == kReportFont ? mono : ui) << "role " << role;
        EXPECT_EQ(std::wstring(realised), requested.lfFaceName) << "role " << role;
        DeleteObject(fonts[role]);
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace
