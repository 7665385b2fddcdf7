#include <cstdio>
#include <cwchar>

#include "app/self_test.h"
#include "app/self_test_text.h"
#include "engine/tool_def.h"
#include "platform/utf8.h"

namespace {

// Room for the whole self-test text: a UTF-16 unit needs at most 3 UTF-8 bytes.
constexpr int64_t kUtf8Capacity = static_cast<int64_t>(kSelfTestTextCapacity) * 3;

}  // namespace

bool WriteUtf8File(const wchar_t* path, const wchar_t* text) {
    char bytes[kUtf8Capacity];
    const int64_t length = static_cast<int64_t>(std::wcslen(text));
    const int64_t size = WideToUtf8(text, length, bytes, kUtf8Capacity);
    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr) return false;
    // A text that did not convert (too long, or the system's conversion failed)
    // leaves the file empty and unwritten: the self-test then ends with 3.
    bool written = size >= 0;
    if (written && size > 0) {
        written =
            std::fwrite(bytes, 1, static_cast<size_t>(size), file) == static_cast<size_t>(size);
    }
    if (std::fclose(file) != 0) written = false;
    return written;
}

int32_t RunSelfTest(const wchar_t* path) {
    wchar_t text[kSelfTestTextCapacity];
    const int32_t errors = ComposeSelfTestText(GetBuiltinTool(), text, kSelfTestTextCapacity);
    return SelfTestExitCode(errors, WriteUtf8File(path, text));
}
