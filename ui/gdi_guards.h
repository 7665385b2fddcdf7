// Small owners for GDI objects: whatever a paint creates or selects is deleted
// or put back when the scope ends, on every path.
#pragma once

#include <windows.h>

#include "ui/layout.h"

inline COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

// Deletes a GDI object (brush, pen, font) at scope exit.
template <typename Handle>
class OwnedGdiObject {
public:
    explicit OwnedGdiObject(Handle handle) : handle_(handle) {}
    ~OwnedGdiObject() {
        if (handle_ != nullptr) DeleteObject(handle_);
    }
    OwnedGdiObject(const OwnedGdiObject&) = delete;
    OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
    Handle get() const { return handle_; }

private:
    Handle handle_;
};

// Selects an object into a context and selects the previous one back at scope
// exit, so an owned object is never deleted while still selected.
class SelectionGuard {
public:
    SelectionGuard(HDC context, HGDIOBJ object)
        : context_(context),
          previous_(object != nullptr ? SelectObject(context, object) : nullptr) {}
    ~SelectionGuard() {
        if (previous_ != nullptr) SelectObject(context_, previous_);
    }
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;

private:
    HDC context_;
    HGDIOBJ previous_;
};

// BeginPaint / EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { context_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC context() const { return context_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC context_;
};
