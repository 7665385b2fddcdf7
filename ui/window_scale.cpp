#include "ui/window_scale.h"

namespace {

constexpr int32_t kDesignDpi = 96;
constexpr Scale kSmallestScale = {1, 2};

// a < b for two fractions with positive denominators.
bool IsSmaller(Scale a, Scale b) {
    return static_cast<int64_t>(a.numerator) * b.denominator <
           static_cast<int64_t>(b.numerator) * a.denominator;
}

Scale Smaller(Scale a, Scale b) {
    return IsSmaller(b, a) ? b : a;
}

// The outer size the window is held at: the design outer size, or the frame
// around the client area where that is the larger (a frame drawn at a high DPI
// around a window shrunk to fit).
int32_t OuterExtent(int32_t design_outer, int32_t framed, Scale scale) {
    const int32_t outer = Scaled(design_outer, scale);
    return outer > framed ? outer : framed;
}

// Centred in [start, start + room), then kept inside it, the start edge first.
int32_t PlaceInside(int32_t start, int32_t room, int32_t centred_extent, int32_t extent) {
    int32_t origin = start + CentredOrigin(room, centred_extent);
    if (origin + extent > start + room) origin = start + room - extent;
    return origin < start ? start : origin;
}

}  // namespace

Scale ChooseWindowScale(int32_t dpi, Box work_area, FrameSize frame) {
    const Scale dpi_scale = {dpi > 0 ? dpi : kDesignDpi, kDesignDpi};
    if (work_area.width <= 0 || work_area.height <= 0) return dpi_scale;
    Scale scale = dpi_scale;
    scale = Smaller(scale, {work_area.width, kFixedOuterWidth});
    scale = Smaller(scale, {work_area.height, kFixedOuterHeight});
    scale = Smaller(scale, {work_area.width - frame.width, kDesignClientWidth});
    scale = Smaller(scale, {work_area.height - frame.height, kDesignClientHeight});
    return IsSmaller(scale, kSmallestScale) ? kSmallestScale : scale;
}

bool IsDpiScale(Scale scale, int32_t dpi) {
    return SameScale(scale, {dpi > 0 ? dpi : kDesignDpi, kDesignDpi});
}

bool SameScale(Scale a, Scale b) {
    return !IsSmaller(a, b) && !IsSmaller(b, a);
}

WindowPlacement PlaceMainWindow(Scale scale, Box work_area, FrameSize frame) {
    const int32_t framed_width = Scaled(kDesignClientWidth, scale) + frame.width;
    const int32_t framed_height = Scaled(kDesignClientHeight, scale) + frame.height;
    const int32_t width = OuterExtent(kFixedOuterWidth, framed_width, scale);
    const int32_t height = OuterExtent(kFixedOuterHeight, framed_height, scale);
    return {PlaceInside(work_area.x, work_area.width, framed_width, width),
            PlaceInside(work_area.y, work_area.height, framed_height, height), width, height};
}
