// What the fields accept: one whole number each. Anything else is named in a
// "输入有误" box, the field gets the focus, and the last result stays as it was.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/app_window.h"
#include "tests/e2e/expected_texts.h"

namespace e2e {
namespace {

std::string Show(const std::wstring& text) {
    return Utf8Of(text);
}

constexpr wchar_t kBadInputCaption[] = L"输入有误";

std::wstring BadInputText(int field) {
    return field == 0 ? L"第 1 项“护士人数”请输入数字。" : L"第 2 项“排班天数”请输入数字。";
}

struct RejectedCase {
    const char* name;
    int field;
    std::wstring text;
};

const RejectedCase kRejected[] = {
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
    EXPECT_TRUE(WaitFor([&] { return ReadClipboard(&copied) && copied == expected; }))
        << Show(copied);
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

const AcceptedCase kAccepted[] = {
    {"only spaces are zero", L"   ", L"14", 1, 14},
    {"empty is zero", L"10", L"", 10, 1},
    {"full-width digits", L"１２", L"14", 12, 14},
    {"full-width point and sign", L"＋１２．５", L"１４", 12, 14},
    {"spaces around", L"  12  ", L" 14", 12, 14},
    {"exponent", L"1e1", L"1E1", 10, 10},
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
    if (refused) {
        EXPECT_EQ(Show(box.text), Show(BadInputText(1)));
        CloseMessageBox(box);
        EXPECT_EQ(Show(ReadControlText(Report())), Show(ExpectedRota(10, 14)));
    }
}

}  // namespace
}  // namespace e2e
