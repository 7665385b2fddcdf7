// What the fields accept: one whole number each, within the rota's ranges.
// Anything else is named in a "输入有误" box, the field gets the focus, and the last result stays
// as it was.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>

#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

std::string Show(const std::wstring& text) {
    return Utf8Of(text);
}

constexpr wchar_t kBadInputCaption[] = L"输入有误";

struct RejectedCase {
    const char* name;
    int field;
    std::wstring text;
};

void PrintTo(const RejectedCase& input, std::ostream* out) {
    *out << input.name;
}

const RejectedCase kRejected[] = {
    {"empty", 1, L""},
    {"only spaces", 0, L"   "},
    {"letters", 1, L"abc"},
    {"number then letters", 1, L"12abc"},
    {"overflow to infinity", 0, L"1e999"},
    {"infinity", 0, L"inf"},
    {"minus infinity", 1, L"-inf"},
    {"not a number", 0, L"nan"},
    {"two numbers", 0, L"12 13"},
    {"decimal comma", 1, L"1,5"},
    {"full-width digits then letters", 0, L"１２ab"},
    {"127 characters, a letter after the digits", 1, L"1" + std::wstring(126, L'x')},
};

class RejectedInputTest : public AppWindowTest,
                          public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedInputTest, NamesTheFieldFocusesItAndKeepsTheLastResult) {
    const RejectedCase& input = GetParam();
    ComputeTenByFourteen();
    ASSERT_TRUE(SetControlText(Field(input.field), input.text));
    PressKey(Field(input.field), VK_F5);

    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box for " << Show(input.text);
    EXPECT_EQ(Show(box.caption), Show(kBadInputCaption));
    EXPECT_EQ(Show(box.text), Show(BadInputText(input.field)));
    EXPECT_EQ(box.buttonCount, 1);
    EXPECT_TRUE(ShowsIcon(box, IDI_WARNING, IDI_INFORMATION)) << "the warning icon";
    ASSERT_TRUE(CloseMessageBox(box));

    EXPECT_TRUE(WaitFor([&] { return FocusedWindowOf(main_) == Field(input.field); }))
        << "focus on " << FocusedWindowOf(main_);
    EXPECT_EQ(Show(ReadControlText(Field(input.field))), Show(input.text))
        << "the user's text stays for correcting";
    EXPECT_EQ(Show(ReadControlText(Report())), Show(ExpectedRota(10, 14)));
    EXPECT_EQ(Show(ReadControlText(Verdict())), Show(kRotaVerdict));

    ClickButton(Button(kCopyButton));
    std::wstring copied;
    std::wstring expected = std::wstring(kToolName) + L"\r\n" + ExpectedRota(10, 14);
    // Read once the copy is done: a read meanwhile would hold the clipboard against it.
    EXPECT_TRUE(WaitForStatus(kCopiedStatus));
    EXPECT_TRUE(ReadClipboard(&copied) && copied == expected) << Show(copied);
}

INSTANTIATE_TEST_SUITE_P(Fields, RejectedInputTest, ::testing::ValuesIn(kRejected),
                         [](const ::testing::TestParamInfo<RejectedCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c) {
                                 if (isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name;
                         });

struct AcceptedCase {
    const char* name;
    std::wstring nurses;
    std::wstring days;
    int expectedNurses;
    int expectedDays;
};

void PrintTo(const AcceptedCase& input, std::ostream* out) {
    *out << input.name;
}

const AcceptedCase kAccepted[] = {
    {"full-width digits", L"１２", L"14", 12, 14},
    {"full-width point and sign", L"＋１２．０", L"１４", 12, 14},
    {"spaces around", L"  12  ", L" 14", 12, 14},
    {"exponent", L"1e1", L"1E1", 10, 10},
    {"hexadecimal as the C locale reads it", L"0x1A", L"0XE", 26, 14},
    {"127 characters", std::wstring(125, L'0') + L"12", L"14", 12, 14},
};

class AcceptedInputTest : public AppWindowTest,
                          public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(AcceptedInputTest, ComputesWithoutABox) {
    const AcceptedCase& input = GetParam();
    TypeCounts(input.nurses, input.days);
    PressKey(Field(1), VK_F5);
    EXPECT_TRUE(WaitForReport(ExpectedRota(input.expectedNurses, input.expectedDays)))
        << Show(ReadControlText(Report()));
    EXPECT_TRUE(NoMessageBoxWithin(main_, 100));
}

INSTANTIATE_TEST_SUITE_P(Fields, AcceptedInputTest, ::testing::ValuesIn(kAccepted),
                         [](const ::testing::TestParamInfo<AcceptedCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c) {
                                 if (isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return name;
                         });

// A number longer than the part of a field the program reads must not turn into a
// different number: it is read whole or refused.
TEST_F(AppWindowTest, ANumberLongerThanTheReadLimitIsNotCutIntoAnother) {
    ComputeTenByFourteen();
    ASSERT_TRUE(SetControlText(Field(1), std::wstring(126, L'0') + L"12"));
    PressKey(Field(1), VK_F5);
    MessageBoxView box;
    bool refused = false;
    bool readWhole = WaitFor([&] {
        if (FindMessageBox(main_, &box, 0)) {
            refused = true;
            return true;
        }
        return ReadControlText(Report()) == ExpectedRota(10, 12);
    });
    ASSERT_TRUE(readWhole) << "report now: " << Show(ReadControlText(Report()).substr(0, 60));
    printf("a 128-character number is %s\n", refused ? "refused" : "read whole");
    if (refused) {
        EXPECT_EQ(Show(box.text), Show(BadInputText(1)));
        CloseMessageBox(box);
        EXPECT_EQ(Show(ReadControlText(Report())), Show(ExpectedRota(10, 14)));
    }
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    FILE* in = _wfopen(path.c_str(), L"rb");
    if (in == nullptr) return bytes;
    char chunk[4096];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof(chunk), in)) > 0)
        bytes.append(chunk, got);
    fclose(in);
    return bytes;
}

// A save after a refused compute must pair the values with the report they made:
// the values of the refused attempt are not half taken over.
TEST_F(AppWindowTest, ASaveAfterARefusedComputeRecordsTheLastGoodValues) {
    wchar_t localData[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, localData);
    std::wstring path = std::wstring(localData) + L"\\TavoMedSuite\\records\\T187.csv";
    std::string kept = FileBytes(path);

    ComputeTenByFourteen();
    TypeCounts(L"20", L"abc");
    PressKey(Field(1), VK_F5);
    MessageBoxView box;
    ASSERT_TRUE(FindMessageBox(main_, &box));
    EXPECT_EQ(Show(box.text), Show(BadInputText(1)));
    ASSERT_TRUE(CloseMessageBox(box));

    ClickButton(Button(kSaveButton));
    ASSERT_TRUE(FindMessageBox(main_, &box)) << "no box after saving";
    EXPECT_EQ(Show(box.caption), Show(L"已保存")) << Show(box.text);
    ASSERT_TRUE(CloseMessageBox(box));
    std::string now = FileBytes(path);
    ASSERT_GT(now.size(), kept.size());
    std::string added = now.substr(
        now.size() > kept.size() && now.compare(0, kept.size(), kept) == 0 ? kept.size() : 0);
    EXPECT_NE(added.find(Utf8Of(L",护士人数=10,排班天数=14,")), std::string::npos) << added;
    EXPECT_EQ(added.find(Utf8Of(L"护士人数=20")), std::string::npos) << added;

    // The records file is the user's: leave it as it was found.
    app_.reset();
    if (kept.empty()) {
        DeleteFileW(path.c_str());
    } else if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        fwrite(kept.data(), 1, kept.size(), out);
        fclose(out);
    }
}

}  // namespace
}  // namespace e2e
