// The faces the window's fonts are realised in, read back from the fonts that
// the window's own code creates. tests/ui/run_face_fallback.sh runs this in a
// prefix without some faces and names the faces expected there; by default the
// test prefix has both design faces.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ui/window_fonts.h"

namespace {

std::wstring MessageFontFace() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont.lfFaceName;
}

// "message" stands for the system's message font.
std::wstring ExpectedFace(const wchar_t* variable, const wchar_t* otherwise) {
    wchar_t value[LF_FACESIZE] = L"";
    const DWORD length = GetEnvironmentVariableW(variable, value, LF_FACESIZE);
    if (length == 0 || length >= LF_FACESIZE) return otherwise;
    return std::wstring(value) == L"message" ? MessageFontFace() : value;
}

std::wstring RealisedFace(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(screen, LF_FACESIZE, face);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return face;
}

std::wstring RequestedFace(HFONT font) {
    LOGFONTW asked{};
    GetObjectW(font, sizeof asked, &asked);
    return asked.lfFaceName;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(WindowFonts, AreRealisedInFacesThisSystemHas) {
    HFONT fonts[kFontRoleCount] = {};
    CreateWindowFonts(kUnitScale, fonts);
    const std::wstring ui = ExpectedFace(L"TAVOMED_EXPECT_UI_FACE", L"Microsoft YaHei UI");
    const std::wstring mono = ExpectedFace(L"TAVOMED_EXPECT_MONO_FACE", L"Consolas");
    std::printf("expected faces: %s, %s\n", Narrow(ui).c_str(), Narrow(mono).c_str());
    for (int role = 0; role < kFontRoleCount; ++role) {
        SCOPED_TRACE("font role " + std::to_string(role));
        const std::wstring realised = RealisedFace(fonts[role]);
        EXPECT_EQ(Narrow(realised), Narrow(role == kReportFont ? mono : ui));
        EXPECT_EQ(Narrow(realised), Narrow(RequestedFace(fonts[role])))
            << "the font mapper put another face in its place";
        DeleteObject(fonts[role]);
    }
}

}  // namespace
