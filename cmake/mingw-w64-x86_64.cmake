# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVOMED_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVOMED_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVOMED_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVOMED_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVOMED_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The oldest Windows the program starts on is 7 SP1: the headers then declare
# nothing newer, so a newer function can only be reached through GetProcAddress.
# Every function with an array or an address-taken local on its stack checks a
# canary before it returns; the checking code (libssp) is linked statically.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -fstack-protector-strong")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -fstack-protector-strong")
# Every artifact is linked statically: nothing but system DLLs beside the exe.
# The header names Windows 7 (6.1) as the oldest system, as the manifest does,
# and marks the exe aware of terminal servers, so that Remote Desktop hosts run
# it without their compatibility shims; ld keeps ASLR (64-bit addresses) and DEP
# on by default.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -static-libgcc -static-libstdc++ -fstack-protector-strong \
-Wl,--major-os-version,6,--minor-os-version,1 \
-Wl,--major-subsystem-version,6,--minor-subsystem-version,1 -Wl,--tsaware")
# Tests of this build run under Wine, in the project's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
