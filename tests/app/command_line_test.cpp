#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const wchar_t* command_line;
    const wchar_t* path;  // null: no self-test
};

// The program path leads every real command line.
constexpr Case kCases[] = {
    {L"\"C:\\护理\\tool.exe\"", nullptr},
    {L"tool.exe --help", nullptr},
    {L"tool.exe --SELFTEST", nullptr},  // case matters
    {L"tool.exe --self test", nullptr},
    {L"tool.exe --selftest", L"selftest.txt"},
    {L"tool.exe --selftest ", L"selftest.txt"},
    {L"tool.exe --selftest out.txt", L"out.txt"},
    {L"tool.exe --selftest    out.txt", L"out.txt"},
    {L"tool.exe --selftest out.txt more words", L"out.txt"},
    {L"tool.exe --selftest \"C:\\My Reports\\out file.txt\"", L"C:\\My Reports\\out file.txt"},
    {L"tool.exe --selftest \"C:\\My Reports\\out file.txt\" rest", L"C:\\My Reports\\out file.txt"},
    {L"tool.exe --selftest C:\\My Reports\\out.txt", L"C:\\My"},
    {L"tool.exe --selftest \"no closing quote", L"no closing quote"},
    {L"tool.exe --selftest \"\"", L"selftest.txt"},
    {L"tool.exe --selftest \"\" out.txt", L"selftest.txt"},
    {L"tool.exe --selftestX.txt", L"X.txt"},
    {L"tool.exe --selftest\"a b.txt\"", L"a b.txt"},
    {L"tool.exe --selftest\tout.txt", L"\tout.txt"},  // a tab is not skipped
    {L"tool.exe --selftest \tout.txt", L"\tout.txt"},
    {L"tool.exe -x--selftest out.txt", L"out.txt"},             // found anywhere
    {L"C:\\--selftest\\tool.exe", L"\\tool.exe"},               // even inside the program path
    {L"tool.exe --selftest a.txt --selftest b.txt", L"a.txt"},  // the first occurrence
    {L"tool.exe --selftest 报告.txt", L"报告.txt"},
};

TEST(CommandLine, SelfTestOptionAndPath) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << "case #" << (&c - kCases));
        wchar_t path[kSelfTestPathCapacity + 1];
        path[kSelfTestPathCapacity] = L'#';
        const bool found = ParseSelfTestOption(c.command_line, path, kSelfTestPathCapacity);
        EXPECT_EQ(c.path != nullptr, found);
        if (c.path != nullptr) {
            EXPECT_EQ(std::wstring(c.path), path);
        }
        EXPECT_EQ(L'#', path[kSelfTestPathCapacity]);
    }
}

TEST(CommandLine, PathIsCutAt519Characters) {
    for (const bool quoted : {false, true}) {
        const std::wstring long_path(600, L'p');
        const std::wstring line = L"tool.exe --selftest " + std::wstring(quoted ? L"\"" : L"") +
                                  long_path + std::wstring(quoted ? L"\"" : L"");
        wchar_t path[kSelfTestPathCapacity + 1];
        path[kSelfTestPathCapacity] = L'#';
        ASSERT_TRUE(ParseSelfTestOption(line.c_str(), path, kSelfTestPathCapacity));
        EXPECT_EQ(std::wstring(519, L'p'), path);
        EXPECT_EQ(L'#', path[kSelfTestPathCapacity]);
    }
    const std::wstring exact(519, L'q');
    wchar_t path[kSelfTestPathCapacity];
    ASSERT_TRUE(
        ParseSelfTestOption((L"t --selftest " + exact).c_str(), path, kSelfTestPathCapacity));
    EXPECT_EQ(exact, path);
}

TEST(CommandLine, NullCommandLineIsNoSelfTest) {
    wchar_t path[kSelfTestPathCapacity] = L"unchanged";
    EXPECT_FALSE(ParseSelfTestOption(nullptr, path, kSelfTestPathCapacity));
    EXPECT_EQ(std::wstring(L"unchanged"), path);
}

// "Open with" quotes the file after the program's path, quoted or not.
TEST(CommandLine, MonthFileFollowsTheProgramPath) {
    constexpr Case kMonthCases[] = {
        {L"\"C:\\Program Files\\护理\\tool.exe\" \"D:\\排班\\内科 1月.csv\"",
         L"D:\\排班\\内科 1月.csv"},
        {L"tool.exe month.csv", L"month.csv"},
        {L"  tool.exe   month.csv  ", L"month.csv"},
        {L"\"tool.exe\"month.csv", L"month.csv"},
        {L"tool.exe \"no closing quote.csv", L"no closing quote.csv"},
        {L"tool.exe", nullptr},
        {L"\"C:\\a b\\tool.exe\"", nullptr},
        {L"tool.exe \"\"", nullptr},
        {L"tool.exe --selftest out.txt", nullptr},
        {L"tool.exe -x", nullptr},
        {nullptr, nullptr},
    };
    for (const Case& c : kMonthCases) {
        SCOPED_TRACE(testing::Message() << "case #" << (&c - kMonthCases));
        wchar_t path[kMonthFileArgumentCapacity] = L"unchanged";
        EXPECT_EQ(ParseMonthFileArgument(c.command_line, path, kMonthFileArgumentCapacity),
                  c.path != nullptr);
        EXPECT_EQ(std::wstring(c.path != nullptr ? c.path : L"unchanged"), path);
    }
    // A path longer than the buffer is refused, not opened cut.
    const std::wstring line = L"tool.exe " + std::wstring(600, L'p');
    wchar_t path[kMonthFileArgumentCapacity];
    EXPECT_FALSE(ParseMonthFileArgument(line.c_str(), path, kMonthFileArgumentCapacity));
}

}  // namespace
