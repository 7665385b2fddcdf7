// Shared pieces of the fuzz targets: buffers with guard characters, the values
// that break arithmetic, and the checks every text buffer must pass. The
// harness itself may allocate; only the code under test must not.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>
#include <cwchar>

namespace fuzz {

// Checked in every build type, unlike assert.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

constexpr wchar_t kGuard = L'\xFDD0';  // a noncharacter no code path writes
constexpr int32_t kGuardCount = 16;

// A text buffer of the given capacity followed by guard characters; the room
// before the terminator is pre-filled with junk so a missing terminator shows.
struct GuardedText {
    std::vector<wchar_t> storage;
    int32_t capacity;

    // The C library fills and scans: they are not instrumented, so large
    // buffers cost the fuzzer no coverage work.
    explicit GuardedText(int32_t capacity_in)
        : storage(static_cast<size_t>(capacity_in) + kGuardCount), capacity(capacity_in) {
        std::wmemset(storage.data(), L'#', static_cast<size_t>(capacity));
        std::wmemset(storage.data() + capacity, kGuard, kGuardCount);
    }
    wchar_t* data() { return storage.data(); }
    const wchar_t* data() const { return storage.data(); }

    // Terminated within the capacity, nothing past it touched. Returns the length.
    int32_t CheckTerminatedAndGuarded() const {
        const wchar_t* end = std::wmemchr(storage.data(), L'\0', static_cast<size_t>(capacity));
        FUZZ_CHECK(end != nullptr);
        const int32_t length = static_cast<int32_t>(end - storage.data());
        CheckGuards();
        return length;
    }
    void CheckGuards() const {
        for (int32_t i = 0; i < kGuardCount; ++i)
            FUZZ_CHECK(storage[static_cast<size_t>(capacity + i)] == kGuard);
    }
    std::wstring Text() const { return std::wstring(storage.data()); }
};

inline constexpr double kSpecialValues[] = {
    0.0,
    -0.0,
    1.0,
    -1.0,
    0.5,
    2.7,
    7.5,
    10,
    14,
    31,
    40,
    41,
    1e308,
    -1e308,
    std::numeric_limits<double>::max(),
    std::numeric_limits<double>::lowest(),
    std::numeric_limits<double>::denorm_min(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
    -std::numeric_limits<double>::quiet_NaN(),
    2147483647.0,
    2147483648.0,
    2147483647.5,
    -2147483648.0,
    -2147483649.0,
    -2147483648.5,
    4294967296.0,
    9.2233720368547758e18,
    19000.9,
    -719529,
    1e74,
    -1e80,
    0.125,
};

// Mostly a value from the table above, sometimes any bit pattern.
inline double ConsumeValue(FuzzedDataProvider& data) {
    if (data.ConsumeBool()) return data.PickValueInArray(kSpecialValues);
    if (data.ConsumeBool()) return static_cast<double>(data.ConsumeIntegral<int32_t>());
    uint64_t bits = data.ConsumeIntegral<uint64_t>();
    double value = 0;
    static_assert(sizeof value == sizeof bits);
    __builtin_memcpy(&value, &bits, sizeof value);
    return value;
}

// Wide text that reaches the characters that matter: ASCII (CSV and HTML
// metacharacters, CR, LF), CJK, full-width forms, surrogates and, where
// wchar_t is 32-bit, values beyond Unicode.
inline std::wstring ConsumeWideText(FuzzedDataProvider& data, size_t max_length) {
    static constexpr wchar_t kInteresting[] = {
        L',',      L'"',      L'\r',     L'\n',     L'<',      L'>',      L'&',
        L'%',      L' ',      L'\t',     L'\\',     L'=',      L'\x3000', L'\xFF0E',
        L'\xFF10', L'\xFF19', L'\xFF0D', L'\xFF45', L'\x4E2D', L'\xD800', L'\xDC00',
        L'\xDBFF', L'\xDFFF', L'\xFFFF', L'\x7F',   L'\x80',   L'\x7FF',  L'\x800'};
    const size_t length = data.ConsumeIntegralInRange<size_t>(0, max_length);
    std::wstring text;
    for (size_t i = 0; i < length && data.remaining_bytes() > 0; ++i) {
        const uint8_t selector = data.ConsumeIntegral<uint8_t>();
        wchar_t c;
        if (selector < 96) {
            c = static_cast<wchar_t>(32 + selector);  // printable ASCII
        } else if (selector < 192) {
            c = data.PickValueInArray(kInteresting);
        } else if (selector < 250) {
            c = static_cast<wchar_t>(data.ConsumeIntegralInRange<uint32_t>(1, 0xFFFF));
        } else {
            c = static_cast<wchar_t>(data.ConsumeIntegralInRange<uint32_t>(
                1, sizeof(wchar_t) == 2 ? 0xFFFF : 0x7FFFFFFF));
        }
        text.push_back(c);
    }
    return text;
}

}  // namespace fuzz
