#include "ui/window_dpi.h"

#include "ui/child_controls.h"
#include "ui/newer_windows.h"
#include "ui/window_fonts.h"

namespace {

Box ToBox(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The primary screen without its taskbar.
Box PrimaryWorkArea() {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return ToBox(work);
}

Box WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return PrimaryWorkArea();
    return ToBox(info.rcWork);
}

bool LiesInside(const RECT& rect, Box area) {
    return rect.left >= area.x && rect.top >= area.y && rect.right <= area.x + area.width &&
           rect.bottom <= area.y + area.height;
}

// Every control holds its new font before the old ones are deleted.
void ReplaceFonts(WindowState& state) {
    HFONT fonts[kFontRoleCount];
    CreateWindowFonts(state.scale, fonts);
    RescaleChildControls(state, fonts);
    for (int32_t role = 0; role < kFontRoleCount; ++role) {
        DeleteObject(state.fonts[role]);
        state.fonts[role] = fonts[role];
    }
}

// The placement is the state's before the window moves: the window is held at
// its size from then on.
void Rescale(WindowState& state, int32_t dpi, Scale scale, WindowPlacement place) {
    const bool new_scale = !SameScale(scale, state.scale);
    state.dpi = dpi;
    state.scale = scale;
    state.placement = place;
    if (new_scale) ReplaceFonts(state);
    SetWindowPos(state.mainWindow, nullptr, place.x, place.y, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(state.mainWindow, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// A minimised window is fitted when it is shown again, at its next change.
void FitToMonitor(WindowState& state, int32_t dpi) {
    HWND window = state.mainWindow;
    RECT now{};
    if (IsIconic(window) || !GetWindowRect(window, &now)) return;
    const Box work = MonitorWorkArea(window);
    const FrameSize frame = FrameAtDpi(kMainWindowStyle, dpi);
    const Scale scale = ChooseWindowScale(dpi, work, frame);
    if (dpi == state.dpi && SameScale(scale, state.scale) && LiesInside(now, work)) return;
    Rescale(state, dpi, scale, PlaceMainWindow(scale, work, frame));
}

}  // namespace

Box MonitorWorkArea(HWND window) {
    return WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

void ChooseOpeningScale(WindowState& state) {
    state.dpi = SystemDpi();
    const Box work = PrimaryWorkArea();
    const FrameSize frame = FrameAtDpi(kMainWindowStyle, state.dpi);
    state.scale = ChooseWindowScale(state.dpi, work, frame);
    state.placement = PlaceMainWindow(state.scale, work, frame);
}

void MatchMonitorDpi(WindowState& state) {
    FitToMonitor(state, WindowDpi(state.mainWindow, state.dpi));
}

void OnDpiChanged(WindowState& state, int32_t dpi, const RECT& suggested) {
    const Box work = WorkAreaOf(MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST));
    const FrameSize frame = FrameAtDpi(kMainWindowStyle, dpi);
    const Scale scale = ChooseWindowScale(dpi, work, frame);
    WindowPlacement place = PlaceMainWindow(scale, work, frame);
    // Dragged across, the window stays under the pointer as the system has it.
    if (IsDpiScale(scale, dpi)) {
        place.x = suggested.left;
        place.y = suggested.top;
    }
    Rescale(state, dpi, scale, place);
}

void FitToWorkArea(WindowState& state) {
    FitToMonitor(state, state.dpi);
}
