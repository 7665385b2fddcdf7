// Small owners for GDI objects: whatever a paint creates or selects is deleted
// or put back when the scope ends, on every path.
#pragma once

#include <windows.h>

#include "ui/layout.h"

inline COLORREF ToColorRef(Rgb colour) {
    return RGB(colour.r, colour.g, colour.b);
}

// Deletes a GDI object (brush, pen, font) at scope exit.
// Empty until reset (a set of fonts or brushes made one by one).
template <typename Handle>
class OwnedGdiObject {
public:
    OwnedGdiObject() : handle_(nullptr) {}
    explicit OwnedGdiObject(Handle handle) : handle_(handle) {}
    ~OwnedGdiObject() { reset(nullptr); }
    OwnedGdiObject(const OwnedGdiObject&) = delete;
    OwnedGdiObject& operator=(const OwnedGdiObject&) = delete;
    Handle get() const { return handle_; }
    // Takes a new object; the one held before is deleted.
    void reset(Handle handle) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_;
};

// A memory device context compatible with another, deleted at scope exit.
class OwnedMemoryContext {
public:
    explicit OwnedMemoryContext(HDC like) : context_(CreateCompatibleDC(like)) {}
    ~OwnedMemoryContext() {
        if (context_ != nullptr) DeleteDC(context_);
    }
    OwnedMemoryContext(const OwnedMemoryContext&) = delete;
    OwnedMemoryContext& operator=(const OwnedMemoryContext&) = delete;
    HDC get() const { return context_; }

private:
    HDC context_;
};

// SaveDC / RestoreDC as one scope: whatever the scope selects or sets in the
// context is undone at its end, before the objects it selected are deleted
// (declare the owners of those objects first).
class SavedContextState {
public:
    explicit SavedContextState(HDC context) : context_(context), saved_(SaveDC(context)) {}
    ~SavedContextState() {
        if (saved_ != 0) RestoreDC(context_, saved_);
    }
    SavedContextState(const SavedContextState&) = delete;
    SavedContextState& operator=(const SavedContextState&) = delete;

private:
    HDC context_;
    int saved_;
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
