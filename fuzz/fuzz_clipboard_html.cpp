// The clipboard's HTML payload over fuzzed tools, reports and verdicts at any
// capacity: nothing written past the capacity, a payload that fits is the same
// at every capacity that holds it, its header offsets point inside it in order,
// and no text from the tool or the result can open markup ("<" is always
// escaped, so every "<" left starts a tag, a closing tag or a comment).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "ui/clipboard_html.h"

namespace {

constexpr const char* kVars[] = {"nurses", "days", "x", "y", "dose"};
constexpr const char* kFormulas[] = {"x*2", "1/0", "exp(1000)", "", "a+1", "19000.9+x"};
constexpr const char* kCodes[] = {"f0", "f2", "pct", "date", "int", nullptr};

int64_t ReadOffset(const std::string& payload, const char* name) {
    const size_t at = payload.find(name);
    FUZZ_CHECK(at != std::string::npos);
    return std::strtoll(payload.c_str() + at + std::strlen(name), nullptr, 10);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    std::vector<std::wstring> texts;
    texts.reserve(64);
    auto text = [&](size_t limit) {
        texts.push_back(fuzz::ConsumeWideText(data, limit));
        const size_t nul = texts.back().find(L'\0');
        if (nul != std::wstring::npos) texts.back().resize(nul);
        return texts.back().c_str();
    };
    std::vector<ParamDef> params;
    const int32_t param_count = data.ConsumeIntegralInRange<int32_t>(0, kMaxParams);
    for (int32_t i = 0; i < param_count; ++i)
        params.push_back({data.PickValueInArray(kVars), text(12), nullptr, 0});
    std::vector<OutputDef> outputs;
    const int32_t output_count = data.ConsumeIntegralInRange<int32_t>(0, kMaxOutputs);
    for (int32_t j = 0; j < output_count; ++j)
        outputs.push_back({"a", text(40), data.ConsumeBool() ? nullptr : text(8),
                           data.PickValueInArray(kFormulas), data.PickValueInArray(kCodes)});
    int32_t kind = data.ConsumeIntegralInRange<int32_t>(-1, 12);
    if (data.ConsumeBool()) kind = data.ConsumeBool() ? 0 : 1;
    double values[kMaxParams];
    for (double& v : values)
        v = fuzz::ConsumeValue(data);
    const wchar_t* verdict = data.ConsumeBool() ? nullptr : text(80);
    const wchar_t* report = data.ConsumeBool() ? nullptr : text(data.ConsumeBool() ? 200 : 9000);
    const ToolDef tool{187,     text(20),    nullptr,       L"类",        L"据",
                       nullptr, param_count, params.data(), output_count, outputs.data(),
                       0,       nullptr,     kind};

    std::vector<char> full(static_cast<size_t>(kClipboardHtmlCapacity) + 64, 'G');
    const int64_t full_size =
        BuildClipboardHtml(tool, values, report, verdict, full.data(), kClipboardHtmlCapacity);
    for (size_t i = kClipboardHtmlCapacity; i < full.size(); ++i)
        FUZZ_CHECK(full[i] == 'G');
    FUZZ_CHECK(full_size >= -1 && full_size <= kClipboardHtmlCapacity);

    const int64_t capacity = data.ConsumeIntegralInRange<int64_t>(0, 40000);
    std::vector<char> cut(static_cast<size_t>(capacity) + 64, 'G');
    const int64_t cut_size =
        BuildClipboardHtml(tool, values, report, verdict, cut.data(), capacity);
    for (size_t i = static_cast<size_t>(capacity); i < cut.size(); ++i)
        FUZZ_CHECK(cut[i] == 'G');
    if (full_size >= 0 && full_size <= capacity) {
        FUZZ_CHECK(cut_size == full_size);
        FUZZ_CHECK(std::memcmp(cut.data(), full.data(), static_cast<size_t>(full_size)) == 0);
    } else {
        FUZZ_CHECK(cut_size == -1);
    }
    if (full_size < 0) return 0;

    const std::string payload(full.data(), static_cast<size_t>(full_size));
    const int64_t start_html = ReadOffset(payload, "StartHTML:");
    const int64_t end_html = ReadOffset(payload, "EndHTML:");
    const int64_t start_fragment = ReadOffset(payload, "StartFragment:");
    const int64_t end_fragment = ReadOffset(payload, "EndFragment:");
    FUZZ_CHECK(0 < start_html && start_html <= start_fragment);
    FUZZ_CHECK(start_fragment <= end_fragment && end_fragment <= end_html);
    FUZZ_CHECK(end_html == full_size);
    FUZZ_CHECK(payload.compare(static_cast<size_t>(start_html), 6, "<html>") == 0);
    FUZZ_CHECK(payload.compare(static_cast<size_t>(end_fragment), 18, "<!--EndFragment-->") == 0);
    for (size_t i = static_cast<size_t>(start_html); i < payload.size(); ++i) {
        if (payload[i] != '<') continue;
        FUZZ_CHECK(i + 1 < payload.size());
        const char next = payload[i + 1];
        FUZZ_CHECK((next >= 'a' && next <= 'z') || next == '/' || next == '!');
    }
    return 0;
}
