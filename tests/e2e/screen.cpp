#include "tests/e2e/screen.h"

#include <algorithm>
#include <cstdio>

namespace e2e {
namespace {

Rgb FromDib(uint32_t pixel) {
    return Rgb{static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
               static_cast<uint8_t>(pixel)};
}

// A top-down 32-bit DIB section selected into a memory context.
struct DibCanvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;

    DibCanvas(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<uint32_t*>(memory);
        if (bitmap != nullptr) previous = SelectObject(dc, bitmap);
    }
    ~DibCanvas() {
        if (previous != nullptr) SelectObject(dc, previous);
        if (bitmap != nullptr) DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
};

}  // namespace

std::string Describe(Rgb colour) {
    char text[32];
    snprintf(text, sizeof(text), "(%d, %d, %d)", colour.r, colour.g, colour.b);
    return text;
}

bool Screenshot::Capture(HWND window, bool own_context) {
    RECT outer{};
    if (!GetWindowRect(window, &outer)) return false;
    // A maximised window's frame lies partly off the screen.
    const RECT display{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&outer, &outer, &display);
    POINT client{0, 0};
    ClientToScreen(window, &client);
    if (own_context) GetClientRect(window, &outer);
    width_ = outer.right - outer.left;
    height_ = outer.bottom - outer.top;
    clientOrigin_ = own_context ? POINT{0, 0} : POINT{client.x - outer.left, client.y - outer.top};
    DibCanvas canvas(width_, height_);
    if (canvas.bits == nullptr) return false;
    HWND source_window = own_context ? window : nullptr;
    HDC source = GetDC(source_window);
    BOOL copied = BitBlt(canvas.dc, 0, 0, width_, height_, source, outer.left, outer.top, SRCCOPY);
    ReleaseDC(source_window, source);
    GdiFlush();
    if (!copied) return false;
    pixels_.assign(canvas.bits, canvas.bits + static_cast<size_t>(width_) * height_);
    return true;
}

Rgb Screenshot::At(int clientX, int clientY) const {
    int x = clientX + clientOrigin_.x;
    int y = clientY + clientOrigin_.y;
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{1, 2, 3};
    return FromDib(pixels_[static_cast<size_t>(y) * width_ + x]);
}

int Screenshot::Count(const RECT& box, Rgb colour) const {
    int count = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (At(x, y) == colour) ++count;
        }
    }
    return count;
}

RECT Screenshot::BoundsNotOf(const RECT& box, Rgb background) const {
    RECT bounds{box.right, box.bottom, box.left, box.top};
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (At(x, y) == background) continue;
            bounds.left = std::min<LONG>(bounds.left, x);
            bounds.top = std::min<LONG>(bounds.top, y);
            bounds.right = std::max<LONG>(bounds.right, x + 1);
            bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        }
    }
    if (bounds.left >= bounds.right) return RECT{};
    return bounds;
}

bool Screenshot::SaveBmp(const std::wstring& path) const {
    int rowBytes = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width_;
    info.biHeight = height_;  // bottom-up: the form every viewer reads
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes * height_);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) return false;
    fwrite(&file, sizeof(file), 1, out);
    fwrite(&info, sizeof(info), 1, out);
    std::vector<uint8_t> row(rowBytes, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            Rgb colour = FromDib(pixels_[static_cast<size_t>(y) * width_ + x]);
            row[x * 3] = colour.b;
            row[x * 3 + 1] = colour.g;
            row[x * 3 + 2] = colour.r;
        }
        fwrite(row.data(), 1, row.size(), out);
    }
    return fclose(out) == 0;
}

std::vector<Rgb> RenderSystemIcon(const wchar_t* iconId, int width, int height, Rgb background) {
    DibCanvas canvas(width, height);
    std::vector<Rgb> picture;
    if (canvas.bits == nullptr) return picture;
    HBRUSH fill = CreateSolidBrush(RGB(background.r, background.g, background.b));
    RECT box{0, 0, width, height};
    FillRect(canvas.dc, &box, fill);
    DeleteObject(fill);
    DrawIconEx(canvas.dc, 0, 0, LoadIconW(nullptr, iconId), 0, 0, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int i = 0; i < width * height; ++i)
        picture.push_back(FromDib(canvas.bits[i]));
    return picture;
}

int CountDifferences(const Screenshot& shot, const RECT& box, const std::vector<Rgb>& expected) {
    int width = box.right - box.left;
    int differences = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            size_t index = static_cast<size_t>(y - box.top) * width + (x - box.left);
            if (index >= expected.size() || !(shot.At(x, y) == expected[index])) ++differences;
        }
    }
    return differences;
}

}  // namespace e2e
