// The self-test through the real exe: where the command line sends the report,
// what the file holds byte for byte, and the exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

constexpr DWORD kSelfTestTimeoutMs = 20000;

bool ReadFileBytes(const std::wstring& path, std::string* bytes) {
    FILE* in = _wfopen(path.c_str(), L"rb");
    if (in == nullptr) return false;
    bytes->clear();
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), in)) > 0)
        bytes->append(chunk, got);
    fclose(in);
    return true;
}

// Every name in the folder and its subfolders, relative to it.
std::set<std::wstring> NamesIn(const std::wstring& dir, const std::wstring& prefix = L"") {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        names.insert(prefix + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::wstring& inner : NamesIn(dir + L"\\" + name, prefix + name + L"\\")) {
                names.insert(inner);
            }
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string Show(const std::wstring& text) {
    return Utf8Of(text);
}

std::string ShowNames(const std::set<std::wstring>& names) {
    std::string list;
    for (const std::wstring& name : names)
        list += "[" + Show(name) + "] ";
    return list;
}

struct CommandLineCase {
    const char* name;
    // Appended to the quoted exe path; {dir} stands for the run's folder.
    std::wstring tail;
    // Where the report must land, relative to the run's folder; every other
    // name in the folder must have been there before the run.
    std::wstring reportFile;
    std::wstring subfolder;  // created before the run when not empty
};

void PrintTo(const CommandLineCase& input, std::ostream* out) {
    *out << input.name;
}

const CommandLineCase kCases[] = {
    {"OptionAlone", L" --selftest", L"selftest.txt", L""},
    {"OptionAtLineEndAfterSpaces", L" --selftest   ", L"selftest.txt", L""},
    {"SeveralSpacesBeforeThePath", L" --selftest     out.txt", L"out.txt", L""},
    {"QuotedPathWithSpaces", L" --selftest \"{dir}\\with space\\my report.txt\"",
     L"with space\\my report.txt", L"with space"},
    {"QuotedRelativePathWithoutClosingQuote", L" --selftest \"my report.txt", L"my report.txt",
     L""},
    {"UnquotedPathStopsAtTheSpace", L" --selftest my report.txt", L"my", L""},
    {"EmptyQuotes", L" --selftest \"\" out.txt", L"selftest.txt", L""},
    {"GluedText", L" --selftestX.txt", L"X.txt", L""},
    {"OptionAfterOtherArguments", L" /first second --selftest out.txt third", L"out.txt", L""},
    {"OptionInsideAWord", L" abc--selftest out.txt", L"out.txt", L""},
};

class SelfTestCommandLine : public ::testing::TestWithParam<CommandLineCase> {};

std::wstring Expand(std::wstring text, const std::wstring& dir) {
    size_t at = text.find(L"{dir}");
    if (at != std::wstring::npos) text.replace(at, 5, dir);
    return text;
}

TEST_P(SelfTestCommandLine, WritesTheSixLinesWhereTheLineSays) {
    const CommandLineCase& input = GetParam();
    std::wstring dir =
        FreshWorkDir(L"selftest-" + std::wstring(input.name, input.name + strlen(input.name)));
    if (!input.subfolder.empty())
        CreateDirectoryW((dir + L"\\" + input.subfolder).c_str(), nullptr);
    std::set<std::wstring> before = NamesIn(dir);

    AppProcess app(Expand(input.tail, dir), dir);
    ASSERT_TRUE(app.Started());
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(kSelfTestTimeoutMs, &code)) << "the self-test did not end";
    EXPECT_EQ(code, 0u);

    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(dir + L"\\" + input.reportFile, &bytes))
        << "no " << Show(input.reportFile) << "; folder holds " << ShowNames(NamesIn(dir));
    EXPECT_EQ(bytes, ExpectedSelfTestBytes());
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF") << "no byte order mark";

    std::set<std::wstring> after = NamesIn(dir);
    after.erase(input.reportFile);
    EXPECT_EQ(after, before) << "other names: " << ShowNames(after);
}

INSTANTIATE_TEST_SUITE_P(Paths, SelfTestCommandLine, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<CommandLineCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SelfTestFile, HoldsExactlySixCrLfLines) {
    std::string expected = ExpectedSelfTestBytes();
    size_t lines = 0;
    for (size_t at = expected.find("\r\n"); at != std::string::npos;
         at = expected.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 6u);
    EXPECT_EQ(expected.substr(expected.size() - 10), "ERRORS|0\r\n");
}

TEST(SelfTestFile, ReplacesAnEarlierFile) {
    std::wstring dir = FreshWorkDir(L"selftest-replace");
    std::wstring path = dir + L"\\out.txt";
    FILE* old = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(old, nullptr);
    std::string filler(20000, 'x');
    fwrite(filler.data(), 1, filler.size(), old);
    fclose(old);
    AppProcess app(L" --selftest out.txt", dir);
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(kSelfTestTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(path, &bytes));
    EXPECT_EQ(bytes, ExpectedSelfTestBytes());
}

// The tab is not skipped, so the path begins with it; Windows refuses such a
// name, and out.txt is never written.
TEST(SelfTestFile, ATabBeforeThePathIsPartOfThePath) {
    std::wstring dir = FreshWorkDir(L"selftest-tab");
    AppProcess app(L" --selftest\tout.txt", dir);
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(kSelfTestTimeoutMs, &code));
    std::set<std::wstring> names = NamesIn(dir);
    EXPECT_EQ(names.count(L"out.txt"), 0u) << ShowNames(names);
    EXPECT_EQ(names.count(L"selftest.txt"), 0u) << ShowNames(names);
    if (names.count(L"\tout.txt") != 0) {
        EXPECT_EQ(code, 0u) << "a file with the tab in its name was written";
    } else {
        EXPECT_EQ(code, 3u) << "no file could be created: " << ShowNames(names);
    }
    printf("tab case: exit %lu, folder holds %s\n", code, ShowNames(names).c_str());
}

struct UnwritableCase {
    const char* name;
    std::wstring tail;
};

void PrintTo(const UnwritableCase& input, std::ostream* out) {
    *out << input.name;
}

const UnwritableCase kUnwritable[] = {
    {"MissingFolder", L" --selftest \"{dir}\\no such folder\\out.txt\""},
    {"PathIsAFolder", L" --selftest \"{dir}\\a folder\""},
    {"MissingRelativeFolder", L" --selftest missing\\out.txt"},
};

class SelfTestUnwritable : public ::testing::TestWithParam<UnwritableCase> {};

TEST_P(SelfTestUnwritable, EndsWithExitCodeThree) {
    const UnwritableCase& input = GetParam();
    std::wstring dir =
        FreshWorkDir(L"selftest-" + std::wstring(input.name, input.name + strlen(input.name)));
    CreateDirectoryW((dir + L"\\a folder").c_str(), nullptr);
    std::set<std::wstring> before = NamesIn(dir);
    AppProcess app(Expand(input.tail, dir), dir);
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(kSelfTestTimeoutMs, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_EQ(NamesIn(dir), before) << ShowNames(NamesIn(dir));
}

INSTANTIATE_TEST_SUITE_P(Paths, SelfTestUnwritable, ::testing::ValuesIn(kUnwritable),
                         [](const ::testing::TestParamInfo<UnwritableCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(SelfTestRun, OpensNoWindow) {
    std::wstring dir = FreshWorkDir(L"selftest-nowindow");
    AppProcess app(L" --selftest", dir);
    DWORD code = 99;
    ASSERT_TRUE(app.WaitForExit(kSelfTestTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(FindMainWindow(app.Id(), 0), nullptr);
}

}  // namespace
}  // namespace e2e
