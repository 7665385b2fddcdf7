#include "ui/month/month_clipboard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/bounded_text.h"
#include "tests/month/month_test_support.h"

namespace {

// Two nurses over a Friday, a Saturday and a Sunday (2027-01-01 to 03), the
// first day a holiday: a hand-set cell, leave, a grade, a night then a day.
std::unique_ptr<RotaMonth> SmallMonth() {
    auto month = MonthOfRows({L"NDr", L"DJN"});
    CopyText(month->ward, kWardNameCapacity, L"心内科");
    CopyText(month->nurse[0].name, kNurseNameCapacity, L"张三");
    month->nurse[0].grade = 2;
    month->holiday[0] = true;
    month->limits.minDay = 1;
    month->limits.minNight = 1;
    return month;
}

TEST(MonthClipboard, TextIsTheTableRowByRow) {
    auto month = SmallMonth();
    auto check = std::make_unique<MonthCheck>();
    CheckMonth(*month, check.get());
    wchar_t text[kMonthClipboardTextCapacity];
    ASSERT_GT(BuildMonthClipboardText(*month, *check, text, kMonthClipboardTextCapacity), 0);
    EXPECT_EQ(std::wstring(text),
              L"心内科 2027年1月护理排班表\r\n"
              L"姓名\t能级\t1日\t2日\t3日\t白班\t夜班\t休息\t假\r\n"
              L"星期\t\t假日\t六\t日\t\t\t\t\r\n"
              L"张三\tN2\tN\tD\tR*\t1\t1\t1\t0\r\n"
              L"护士02\t\tD\t假\tN\t1\t1\t0\t1\r\n"
              L"白班人数\t\t1\t1\t0\r\n"
              L"夜班人数\t\t1\t0\t1\r\n"
              L"休息人数\t\t0\t0\t1\r\n"
              L"请假人数\t\t0\t1\t0\r\n"
              L"硬性违规 3 处，提醒 1 处\r\n"
              L"排班人：__________    审核：__________    日期：__________\r\n");

    // Cut, never overrun.
    wchar_t small[40];
    EXPECT_EQ(BuildMonthClipboardText(*month, *check, small, 40), -1);
    EXPECT_EQ(std::wstring(small).size(), 39u);
}

TEST(MonthClipboard, HtmlOutlinesEveryBreachedCellAndShadesTheFreeDays) {
    auto month = SmallMonth();
    auto check = std::make_unique<MonthCheck>();
    CheckMonth(*month, check.get());
    std::string html(kMonthClipboardHtmlCapacity, '\0');
    const int64_t size = BuildMonthClipboardHtml(*month, *check, html.data(), html.size());
    ASSERT_GT(size, 0);
    html.resize(size);
    auto count = [&](const std::string& needle) {
        int32_t n = 0;
        for (size_t at = html.find(needle); at != std::string::npos; at = html.find(needle, at + 1))
            ++n;
        return n;
    };
    // Nurse 1's N and D (day after night); day 2's missing night and day 3's
    // missing day in the staffing rows; day 3's night without an N2, in its
    // cell and its staffing.
    EXPECT_EQ(count("border:2px"), 6);
    // All three days are free days: two head rows, two nurse rows, four staffing rows.
    EXPECT_EQ(count("background:#d9d9d9"), 3 * 8);
    EXPECT_EQ(BuildMonthClipboardHtml(*month, *check, html.data(), 100), -1);
}

}  // namespace
