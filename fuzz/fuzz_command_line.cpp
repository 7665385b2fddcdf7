// The self-test option over any command line and any path capacity: found
// exactly when "--selftest" occurs, the path terminated within its capacity,
// at most 519 characters, never empty when there is room for a character,
// and nothing written past the buffer; and the month file argument.
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const int32_t capacity = data.ConsumeIntegralInRange<int32_t>(1, 700);
    std::wstring line;
    // Plant the option now and then, so the path after it gets fuzzed too.
    if (data.ConsumeBool()) line = fuzz::ConsumeWideText(data, 40) + L"--selftest";
    line += fuzz::ConsumeWideText(data, 900);
    const size_t nul = line.find(L'\0');
    if (nul != std::wstring::npos) line.resize(nul);

    // The month file after the program's path: a piece of the line when
    // found, never written past its buffer.
    fuzz::GuardedText month_file(capacity);
    if (ParseMonthFileArgument(line.c_str(), month_file.data(), capacity)) {
        FUZZ_CHECK(line.find(month_file.Text()) != std::wstring::npos);
        month_file.CheckTerminatedAndGuarded();
    } else {
        month_file.CheckGuards();
    }

    fuzz::GuardedText path(capacity);
    const bool found = ParseSelfTestOption(line.c_str(), path.data(), capacity);
    FUZZ_CHECK(found == (line.find(L"--selftest") != std::wstring::npos));
    if (!found) {
        path.CheckGuards();
        return 0;
    }
    const int32_t length = path.CheckTerminatedAndGuarded();
    FUZZ_CHECK(length <= kSelfTestPathCapacity - 1);
    if (capacity > 1) FUZZ_CHECK(length > 0);
    // The path is taken from the text after the option.
    if (length > 0 && path.Text() != std::wstring(L"selftest.txt").substr(0, length)) {
        FUZZ_CHECK(line.find(path.Text()) != std::wstring::npos);
    }
    return 0;
}
