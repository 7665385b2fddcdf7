// Pixels of the display as the user sees them: the window is captured from the
// screen, so whatever the program painted (and nothing it merely meant to paint)
// is what the tests look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

std::string Describe(Rgb colour);

// A capture of a window's outer rectangle; pixels are addressed in the window's
// client coordinates.
class Screenshot {
public:
    // own_context: the client area as its own process painted it, before the screen.
    bool Capture(HWND window, bool own_context = false);
    Rgb At(int clientX, int clientY) const;
    // Pixels of exactly this colour inside the client box [left, right) x [top, bottom).
    int Count(const RECT& box, Rgb colour) const;
    // The smallest box around every pixel in the client box that differs from the
    // given background colour; empty when there is none.
    RECT BoundsNotOf(const RECT& box, Rgb background) const;
    bool SaveBmp(const std::wstring& path) const;
    bool SamePixels(const Screenshot& other) const { return pixels_ == other.pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    POINT clientOrigin_{};  // client (0, 0) within the capture
    std::vector<uint32_t> pixels_;
};

// A system icon as a message box draws it, on the given background.
std::vector<Rgb> RenderSystemIcon(const wchar_t* iconId, int width, int height, Rgb background);
// How many pixels of the client box differ from the rendered picture.
int CountDifferences(const Screenshot& shot, const RECT& box, const std::vector<Rgb>& expected);

}  // namespace e2e
