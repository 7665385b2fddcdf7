/* The control for a planted winspool.drv: loads it by name, as a program that
   never narrowed its DLL search would, and so from its own folder. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command_line, int show) {
    (void)instance, (void)previous, (void)command_line, (void)show;
    LoadLibraryW(L"winspool.drv");
    return 0;
}
