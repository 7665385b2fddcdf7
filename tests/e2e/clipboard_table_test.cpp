// The copy command's second clipboard format: "HTML Format", which spreadsheets
// paste as a table. The payload is saved with the grid it must hold, and
// Python's own HTML parser checks the pair afterwards (ctest test
// e2e_clipboard_html_check), so the check does not rest on our parsing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

bool ReadClipboardHtml(std::string* bytes) {
    const UINT format = RegisterClipboardFormatW(L"HTML Format");
    bool ok = false;
    if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 3000)) return false;
    if (HANDLE data = GetClipboardData(format)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            const SIZE_T size = GlobalSize(data);
            SIZE_T length = 0;
            while (length < size && chars[length] != '\0')
                ++length;
            bytes->assign(chars, length);
            GlobalUnlock(data);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

// The rota grid as tab-separated rows: the header row, one row per nurse with
// the letter of each day and the counts of D, N and R, then per shift the
// number of nurses on it each day.
std::string ExpectedGridTsv(int nurses, int days) {
    std::wstring tsv = L"姓名";
    for (int j = 1; j <= days; ++j)
        tsv += L"\t" + std::to_wstring(j) + L"日";
    tsv += L"\t白班\t夜班\t休息\n";
    for (int i = 0; i < nurses; ++i) {
        wchar_t label[16];
        swprintf(label, 16, L"护士%02d", i + 1);
        tsv += label;
        int counts[3] = {0, 0, 0};
        for (int j = 0; j < days; ++j) {
            const int shift = (i + 2 * j) % 3;
            ++counts[shift];
            tsv += L'\t';
            tsv += L"DNR"[shift];
        }
        for (int count : counts)
            tsv += L"\t" + std::to_wstring(count);
        tsv += L"\n";
    }
    const wchar_t* heads[] = {L"白班人数", L"夜班人数", L"休息人数"};
    for (int shift = 0; shift < 3; ++shift) {
        tsv += heads[shift];
        for (int j = 0; j < days; ++j) {
            int count = 0;
            for (int i = 0; i < nurses; ++i)
                count += (i + 2 * j) % 3 == shift;
            tsv += L"\t" + std::to_wstring(count);
        }
        tsv += L"\n";
    }
    return Utf8Of(tsv);
}

void WriteArtifact(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = ArtifactDir() + L"\\" + name;
    FILE* file = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(file, nullptr) << Utf8Of(path);
    EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    fclose(file);
}

class ClipboardTableTest : public AppWindowTest {
protected:
    void CopyRotaAndSave(int nurses, int days) {
        TypeCounts(std::to_wstring(nurses), std::to_wstring(days));
        PressKey(Field(1), VK_F5);
        ASSERT_TRUE(WaitForReport(ExpectedRota(nurses, days)));
        ClickButton(Button(kCopyButton));
        const std::wstring expected_text =
            std::wstring(kToolName) + L"\r\n" + ExpectedRota(nurses, days);
        // Read once the copy is done: a read meanwhile would hold the clipboard against it.
        ASSERT_TRUE(WaitForStatus(kCopiedStatus));
        std::wstring text;
        ASSERT_TRUE(ReadClipboard(&text) && text == expected_text)
            << "the plain text is unchanged: " << text.size() << " of " << expected_text.size();
        std::string html;
        ASSERT_TRUE(ReadClipboardHtml(&html)) << "no HTML Format on the clipboard";
        EXPECT_NE(html.find("<!--EndFragment-->"), std::string::npos) << "whole payload";
        const std::wstring stem =
            L"clipboard-rota-" + std::to_wstring(nurses) + L"x" + std::to_wstring(days);
        WriteArtifact(stem + L".bin", html);
        WriteArtifact(stem + L".tsv", ExpectedGridTsv(nurses, days));
    }
};

TEST_F(ClipboardTableTest, SmallRotaPlacesTextAndTable) {
    CopyRotaAndSave(3, 4);
}

TEST_F(ClipboardTableTest, FortyNursesOverThirtyOneDaysAreWholeInBothFormats) {
    CopyRotaAndSave(40, 31);
}

}  // namespace
}  // namespace e2e
