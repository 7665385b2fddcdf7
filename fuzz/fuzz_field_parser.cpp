// The window's field parser over any text: an accepted text gives a finite
// value, a refused one leaves the value alone, and an accepted text is the
// number that strtod reads from its ASCII form (full-width forms folded).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "ui/field_parser.h"

namespace {

constexpr double kUntouched = -12345.678;

// The text as the parser is meant to read it: trimmed, full-width folded.
bool AsciiForm(const std::wstring& text, std::string& ascii) {
    for (wchar_t c : text) {
        if (c >= L'\xFF10' && c <= L'\xFF19') c = static_cast<wchar_t>(L'0' + (c - L'\xFF10'));
        if (c == L'\xFF0E') c = L'.';
        if (c == L'\xFF0B') c = L'+';
        if (c == L'\xFF0D') c = L'-';
        if (c == L'\xFF45') c = L'e';
        if (c == L'\xFF25') c = L'E';
        if (c == L'\x3000') c = L' ';
        if (c <= 0 || c > 0x7E) return false;
        ascii.push_back(static_cast<char>(c));
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::wstring text = fuzz::ConsumeWideText(data, 160);
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.resize(nul);

    double value = kUntouched;
    const bool accepted = ParseFieldValue(text.c_str(), &value);
    if (!accepted) {
        FUZZ_CHECK(std::memcmp(&value, &kUntouched, sizeof value) == 0);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(text.size() <= static_cast<size_t>(kFieldTextMaxLength));
    std::string ascii;
    if (AsciiForm(text, ascii)) {
        const char* begin = ascii.c_str();
        while (*begin == ' ' || (*begin >= '\t' && *begin <= '\r'))
            ++begin;
        if (*begin == '\0') {
            FUZZ_CHECK(value == 0.0);
        } else {
            char* end = nullptr;
            const double expected = std::strtod(begin, &end);
            while (*end == ' ' || (*end >= '\t' && *end <= '\r'))
                ++end;
            FUZZ_CHECK(*end == '\0');
            FUZZ_CHECK(std::memcmp(&value, &expected, sizeof value) == 0);
        }
    }
    return 0;
}
