#include "app/command_line.h"

#include <cwchar>

#include "engine/bounded_text.h"

namespace {

constexpr wchar_t kOption[] = L"--selftest";
constexpr wchar_t kDefaultPath[] = L"selftest.txt";
constexpr int32_t kMaxPathLength = kSelfTestPathCapacity - 1;

}  // namespace

bool ParseSelfTestOption(const wchar_t* command_line, wchar_t* path, int32_t capacity) {
    if (command_line == nullptr) return false;
    const wchar_t* found = std::wcsstr(command_line, kOption);
    if (found == nullptr) return false;
    const wchar_t* p = found + (sizeof kOption / sizeof kOption[0] - 1);
    while (*p == L' ')
        ++p;  // spaces only: a tab starts the path
    wchar_t stop = L' ';
    if (*p == L'"') {
        stop = L'"';
        ++p;
    }
    int32_t length = 0;
    while (p[length] != L'\0' && p[length] != stop && length < kMaxPathLength)
        ++length;
    ClearText(path, capacity);
    if (length == 0) {
        CopyText(path, capacity, kDefaultPath);
    } else {
        AppendText(path, capacity, p, length);
    }
    return true;
}
