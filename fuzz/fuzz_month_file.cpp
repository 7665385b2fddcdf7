// The month file over fuzzed bytes (UTF-8, GBK or neither): a file that opens
// saves, opens again as the same month and saves the same bytes, and a save
// that does not fit gives no file; nothing is read or written out of bounds.
#include <cstring>

#include "fuzz_support.h"
#include "month/month_file.h"

static char g_saved[2][kMonthFileCapacity];
static RotaMonth g_month[2];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int32_t small_capacity = input.ConsumeIntegralInRange<int32_t>(0, kMonthFileCapacity);
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    MonthFileError error{};
    if (!ReadMonthFile(bytes.data(), static_cast<int32_t>(bytes.size()), &g_month[0], &error)) {
        FUZZ_CHECK(error.line >= 0 && error.text[0] != L'\0');
        return 0;
    }
    const int32_t saved = WriteMonthFile(g_month[0], g_saved[0], kMonthFileCapacity);
    FUZZ_CHECK(saved > 0 && ReadMonthFile(g_saved[0], saved, &g_month[1], &error));
    FUZZ_CHECK(SameMonth(g_month[0], g_month[1]));
    FUZZ_CHECK(WriteMonthFile(g_month[1], g_saved[1], kMonthFileCapacity) == saved);
    FUZZ_CHECK(std::memcmp(g_saved[0], g_saved[1], static_cast<size_t>(saved)) == 0);
    FUZZ_CHECK(small_capacity >= saved ||
               WriteMonthFile(g_month[0], g_saved[1], small_capacity) == -1);
    return 0;
}
