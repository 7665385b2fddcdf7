// Command-line arguments of the record test programs, as wide text.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

inline std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 0; i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}
