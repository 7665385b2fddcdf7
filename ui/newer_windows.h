// The functions that only newer Windows has, each found at run time and each
// with what older systems do instead, and the DLLs that are loaded only when a
// command needs them. This is the one place in the program that looks a
// function up by its name: the exe imports none of them, so it starts on
// Windows 7 as it is.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/window_scale.h"

// A DLL that a system DLL loads by name later on (the theme DLL when the window
// opens, say) comes from System32 alone, never from the exe's folder, which may
// be a Downloads folder or a shared drive where anyone can leave a DLL. Without
// SetDefaultDllDirectories (Windows 7 before update KB2533623) at least the
// current folder leaves the search.
void NarrowDllSearch();

// A DLL loaded when it is needed, from System32 alone (never from the exe's
// folder, whatever the search order): with LOAD_LIBRARY_SEARCH_SYSTEM32 where
// the system has it (Windows 8, or 7 with KB2533623), else by its full path.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded module by its name, or nullptr (no module, or a
// system without the function).
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
    const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The DPI the system draws at for a process that is not per-monitor aware.
int32_t SystemDpi();

// The DPI of the monitor the window is on, as the system has told the window;
// otherwise where the system cannot say (before Windows 10, version 1607).
int32_t WindowDpi(HWND window, int32_t otherwise);

// What a frame of the style adds to a client area at a DPI; older systems know
// only their own DPI's frame.
FrameSize FrameAtDpi(DWORD style, int32_t dpi);
