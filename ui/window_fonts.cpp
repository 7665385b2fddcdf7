#include "ui/window_fonts.h"

#include <cwchar>

#include "engine/bounded_text.h"

namespace {

// Windows 7 has Microsoft YaHei, but not its UI cut (Windows 8 on); Consolas
// has been there since Vista. Without the face and its stand-in, the system's
// message font is the face the user knows from every dialog box.
struct FaceStandIn {
    const wchar_t* face;
    const wchar_t* standIn;
};
constexpr FaceStandIn kFaceStandIns[] = {{kUiFace, L"Microsoft YaHei"}};

struct ChosenFace {
    const wchar_t* design;
    wchar_t face[LF_FACESIZE];
};

bool IsFaceInstalled(HDC context, const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    CopyText(wanted.lfFaceName, LF_FACESIZE, face);
    bool found = false;
    EnumFontFamiliesExW(
        context, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found_flag) -> int {
            *reinterpret_cast<bool*>(found_flag) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

void MessageFontFace(wchar_t* face) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ClearText(face, LF_FACESIZE);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        CopyText(face, LF_FACESIZE, metrics.lfMessageFont.lfFaceName);
    }
}

const wchar_t* StandInFor(const wchar_t* face) {
    for (const FaceStandIn& entry : kFaceStandIns) {
        if (std::wcscmp(entry.face, face) == 0) return entry.standIn;
    }
    return nullptr;
}

void ChooseFace(HDC context, const wchar_t* message_face, ChosenFace& chosen) {
    const wchar_t* stand_in = StandInFor(chosen.design);
    const wchar_t* face = message_face;
    if (IsFaceInstalled(context, chosen.design)) {
        face = chosen.design;
    } else if (stand_in != nullptr && IsFaceInstalled(context, stand_in)) {
        face = stand_in;
    }
    CopyText(chosen.face, LF_FACESIZE, face);
}

}  // namespace

void CreateWindowFonts(Scale scale, HFONT* fonts) {
    ChosenFace ui = {kUiFace, {}};
    ChosenFace mono = {kMonoFace, {}};
    wchar_t message_face[LF_FACESIZE];
    MessageFontFace(message_face);
    HDC screen = GetDC(nullptr);
    ChooseFace(screen, message_face, ui);
    ChooseFace(screen, message_face, mono);
    if (screen != nullptr) ReleaseDC(nullptr, screen);

    for (int32_t role = 0; role < kFontRoleCount; ++role) {
        const FontDef& font = kFontDefs[role];
        const wchar_t* face = font.face == kMonoFace ? mono.face : ui.face;
        fonts[role] = CreateFontW(-Scaled(font.height, scale), 0, 0, 0, font.weight, FALSE, FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    }
}

void ChooseUiFace(wchar_t* face) {
    ChosenFace ui = {kUiFace, {}};
    wchar_t message_face[LF_FACESIZE];
    MessageFontFace(message_face);
    HDC screen = GetDC(nullptr);
    ChooseFace(screen, message_face, ui);
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    CopyText(face, LF_FACESIZE, ui.face);
}
