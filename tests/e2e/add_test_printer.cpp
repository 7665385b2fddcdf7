// Registers Wine's PostScript driver as the default printer of the prefix,
// printing to a file, so that a test can read back what the program printed:
//   add_test_printer.exe NAME UNIX_OUTPUT_PATH [PRINT_PROCESSOR]
// The driver's generic PPD is a resource of winspool.drv; the print processor
// must be "winprint": with "wineps" every job fails at its end, which makes a
// printer for the failure path (registered so, it is not made the default).
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 && argc != 4) return 2;
    HMODULE spooler = GetModuleHandleW(L"winspool.drv");
    HRSRC found = FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE");
    const char* ppd =
        found ? static_cast<const char*>(LockResource(LoadResource(spooler, found))) : nullptr;
    if (ppd == nullptr) return 3;
    wchar_t ppd_path[MAX_PATH];
    GetTempPathW(MAX_PATH, ppd_path);
    wcscat_s(ppd_path, L"tavomed-generic.ppd");
    FILE* file = _wfopen(ppd_path, L"wb");
    if (file == nullptr) return 4;
    fwrite(ppd, 1, strnlen(ppd, SizeofResource(spooler, found)), file);
    fclose(file);

    std::wstring name = argv[1];
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = name.data();
    driver.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
    driver.pDriverPath = const_cast<wchar_t*>(L"wineps.drv");
    driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
    driver.pDataFile = ppd_path;
    driver.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                             APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
        return 5;
    PRINTER_INFO_2W printer{};
    printer.pPrinterName = name.data();
    printer.pPortName = argv[2];
    printer.pDriverName = name.data();
    printer.pPrintProcessor = argc == 4 ? argv[3] : const_cast<wchar_t*>(L"winprint");
    printer.pDatatype = const_cast<wchar_t*>(L"RAW");
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
    if (added == nullptr && GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) return 6;
    if (added != nullptr) ClosePrinter(added);
    return argc == 4 || SetDefaultPrinterW(name.c_str()) ? 0 : 7;
}
