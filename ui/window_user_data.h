// The state record a window was created with: handed over in CREATESTRUCTW at
// WM_NCCREATE, kept in the window's user data, and taken once per message by
// its procedure. Null for the few messages that come before WM_NCCREATE.
#pragma once

#include <windows.h>

template <typename State>
State* StateOfWindow(HWND window, UINT message, LPARAM lparam, HWND State::*window_member) {
    if (message == WM_NCCREATE) {
        auto* state =
            static_cast<State*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
        state->*window_member = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    }
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
