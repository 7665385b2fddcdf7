/* A DLL as someone would plant it: loaded, it leaves a marker beside itself. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
    wchar_t marker[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameW(self, marker, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        CloseHandle(CreateFileW(lstrcatW(marker, L".loaded"), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                0, NULL));
    }
    return reason != DLL_PROCESS_ATTACH;  // refuses to be used
}
