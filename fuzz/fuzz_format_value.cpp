// FormatValue with every code (and any other text, and null), any double and
// any capacity: always terminated within the capacity, nothing written past it,
// a cut text is the start of the whole text, and a value that is not finite is
// "--" whatever the code.
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/compute.h"
#include "fuzz_support.h"

namespace {

constexpr const char* kCodes[] = {"f0", "f1", "f2", "f3",  "int",  "pct", "date",
                                  "",   "F2", "f",  "f22", "pctx", "dat", nullptr};
constexpr int32_t kFullCapacity = 128;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const int32_t capacity = data.ConsumeIntegralInRange<int32_t>(1, 200);
    const double value = fuzz::ConsumeValue(data);
    std::string own_code;
    const char* code = nullptr;
    if (data.ConsumeBool()) {
        code = data.PickValueInArray(kCodes);
    } else {
        own_code = data.ConsumeRandomLengthString(12);
        code = own_code.c_str();
    }

    fuzz::GuardedText out(capacity);
    FormatValue(code, value, out.data(), capacity);
    const int32_t length = out.CheckTerminatedAndGuarded();

    fuzz::GuardedText full(kFullCapacity);
    FormatValue(code, value, full.data(), kFullCapacity);
    const int32_t full_length = full.CheckTerminatedAndGuarded();
    FUZZ_CHECK(full.Text().compare(0, static_cast<size_t>(length), out.Text()) == 0);
    FUZZ_CHECK(length == (full_length < capacity - 1 ? full_length : capacity - 1));

    if (!std::isfinite(value)) FUZZ_CHECK(full.Text() == L"--");
    for (int32_t i = 0; i < full_length; ++i) {
        const wchar_t c = full.data()[i];
        FUZZ_CHECK(c >= L' ' && c < 0x7F);
    }
    return 0;
}
