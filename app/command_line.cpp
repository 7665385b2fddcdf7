#include "app/command_line.h"

#include <cwchar>

#include "engine/bounded_text.h"

namespace {

constexpr wchar_t kOption[] = L"--selftest";
constexpr wchar_t kDefaultPath[] = L"selftest.txt";
constexpr int32_t kMaxPathLength = kSelfTestPathCapacity - 1;

}  // namespace

namespace {

const wchar_t* SkipSpaces(const wchar_t* p) {
    while (*p == L' ' || *p == L'\t')
        ++p;
    return p;
}

// The program's path as Windows quotes it: up to the closing quote, or to the
// first space or tab when it is not quoted.
const wchar_t* AfterProgramPath(const wchar_t* p) {
    if (*p == L'"') {
        ++p;
        while (*p != L'\0' && *p != L'"')
            ++p;
        return *p == L'"' ? p + 1 : p;
    }
    while (*p != L'\0' && *p != L' ' && *p != L'\t')
        ++p;
    return p;
}

}  // namespace

bool ParseMonthFileArgument(const wchar_t* command_line, wchar_t* path, int32_t capacity) {
    if (command_line == nullptr) return false;
    const wchar_t* p = SkipSpaces(AfterProgramPath(SkipSpaces(command_line)));
    const wchar_t stop = *p == L'"' ? L'"' : L' ';
    if (stop == L'"') ++p;
    int32_t length = 0;
    while (p[length] != L'\0' && p[length] != stop && (stop == L'"' || p[length] != L'\t'))
        ++length;
    if (length == 0 || p[0] == L'-') return false;
    ClearText(path, capacity);
    return AppendText(path, capacity, p, length) == length;
}

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
