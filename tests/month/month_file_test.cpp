#include "month/month_file.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/bounded_text.h"
#include "platform/utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

std::string Utf8(const std::wstring& text) {
    std::string bytes(text.size() * 4, '\0');
    const auto size = static_cast<int64_t>(text.size());
    bytes.resize(static_cast<size_t>(WideToUtf8(text.data(), size, bytes.data(), 4 * size)));
    return bytes;
}

// What a spreadsheet's plain "CSV" writes on a Chinese Windows.
std::string Gbk(const std::wstring& text) {
    std::string bytes(text.size() * 2, '\0');
#ifdef _WIN32
    const int size =
        WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(size));
#else
    iconv_t cd = iconv_open("CP936", "WCHAR_T");
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(text.data()));
    size_t in_left = text.size() * sizeof(wchar_t);
    char* out = bytes.data();
    size_t out_left = bytes.size();
    iconv(cd, &in, &in_left, &out, &out_left);
    iconv_close(cd);
    bytes.resize(bytes.size() - out_left);
#endif
    return bytes;
}

void Replace(std::wstring* text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = 0; (at = text->find(from, at)) != std::wstring::npos; at += to.size())
        text->replace(at, from.size(), to);
}

void SetNurse(RotaMonth* month, int32_t n, const wchar_t* name, int8_t grade, bool no_nights,
              const wchar_t* shifts) {
    month->nurse[n] = MonthNurse{{}, grade, no_nights};
    CopyText(month->nurse[n].name, kNurseNameCapacity, name);
    for (int32_t d = 0; d < month->days; ++d) {
        uint8_t shift = 0;
        while (kMonthShiftLetters[shift] != shifts[2 * d])
            ++shift;
        month->cell[n][d] = MonthCell{shift, shifts[2 * d + 1] == L'*'};
    }
}

// Four days across a month's end, a holiday, the ward's own limits, cells set
// by hand and leave, and texts that need quotes.
RotaMonth SampleMonth() {
    RotaMonth month{};
    CopyText(month.ward, kWardNameCapacity, L"内科\"一\",病区");
    month.first = MonthDate{2027, 1, 30};
    month.days = 4;
    month.nurses = 3;
    month.holiday[2] = true;
    month.limits = MonthLimits{3, 6, 2, 1};
    SetNurse(&month, 0, L"张三", 2, false, L"D N*R 假*");
    SetNurse(&month, 1, L"李,四", kNoGrade, true, L"D D R R ");
    SetNurse(&month, 2, L"王五", 0, false, L"N R D*D ");
    return month;
}

const std::wstring kSampleText =
    L"排班表,\"内科\"\"一\"\",病区\"\r\n"
    L"起始日期,2027-01-30\r\n"
    L"天数,4\r\n"
    L"连续夜班上限,3\r\n"
    L"连续上班上限,6\r\n"
    L"白班每日最少,2\r\n"
    L"夜班每日最少,1\r\n"
    L"节假日,2027-02-01\r\n"
    L"\r\n"
    L"姓名,能级,不排夜班,1,2,3,4,白班,夜班,休息,假\r\n"
    L"星期,,,六,日,一,二,,,,\r\n"
    L"张三,N2,,D,N*,R,假*,1,1,1,1\r\n"
    L"\"李,四\",,是,D,D,R,R,2,0,2,0\r\n"
    L"王五,N0,,N,R,D*,D,2,1,1,0\r\n"
    L"白班人数,,,2,1,1,1,,,,\r\n"
    L"夜班人数,,,1,1,0,0,,,,\r\n"
    L"休息人数,,,0,1,2,1,,,,\r\n"
    L"请假人数,,,0,0,0,1,,,,\r\n";

std::string Write(const RotaMonth& month) {
    std::string bytes(kMonthFileCapacity, '\0');
    const int32_t size = WriteMonthFile(month, bytes.data(), kMonthFileCapacity);
    EXPECT_GE(size, 0);
    return bytes.substr(0, static_cast<size_t>(size < 0 ? 0 : size));
}

bool Read(const std::string& bytes, RotaMonth* month, MonthFileError* error) {
    return ReadMonthFile(bytes.data(), static_cast<int32_t>(bytes.size()), month, error);
}

// --- the file as saved ---------------------------------------------------------

TEST(MonthFileSaved, HasTheSpreadsheetShapeAndOpensAsTheSameMonthAndBytes) {
    const RotaMonth month = SampleMonth();
    const std::string saved = Write(month);
    EXPECT_EQ(saved, "\xEF\xBB\xBF" + Utf8(kSampleText));
    RotaMonth opened{};
    MonthFileError error{};
    ASSERT_TRUE(Read(saved, &opened, &error)) << error.line;
    EXPECT_TRUE(SameMonth(opened, month));
    EXPECT_EQ(Write(opened), saved);
}

// Every nurse, day and holiday, names of quotes only (each written twice).
TEST(MonthFileSaved, TheLargestMonthFitsAndComesBackTheSame) {
    RotaMonth month = SampleMonth();
    CopyText(month.ward, kWardNameCapacity, std::wstring(kWardNameMaxLength, L'"').c_str());
    month.days = kMonthMaxDays;
    month.nurses = kMonthMaxNurses;
    std::wstring shifts;
    for (int32_t d = 0; d < kMonthMaxDays; ++d)
        shifts += L"假*";
    for (int32_t n = 0; n < kMonthMaxNurses; ++n) {
        std::wstring name = static_cast<wchar_t>(L'甲' + n) + std::wstring(15, L'"');
        SetNurse(&month, n, name.c_str(), kMaxGrade, true, shifts.c_str());
        month.holiday[n % kMonthMaxDays] = true;
    }
    RotaMonth opened{};
    MonthFileError error{};
    ASSERT_TRUE(Read(Write(month), &opened, &error)) << Utf8(error.text);
    EXPECT_TRUE(SameMonth(opened, month));
}

// --- the file as a spreadsheet saves it back ------------------------------------

struct SpreadsheetSave {
    const char* what;
    std::string (*save)(std::wstring text);
};

const SpreadsheetSave kSpreadsheetSaves[] = {
    {"UTF-8 without the mark, LF",
     [](std::wstring text) {
         Replace(&text, L"\r\n", L"\n");
         return Utf8(text);
     }},
    {"GBK, every line as wide as the table, dates as dates, lower case and J",
     [](std::wstring text) {
         Replace(&text, L"\r\n", L",,,\r\n");
         Replace(&text, L"2027-01-30", L"2027/1/30");
         Replace(&text, L"N*", L"n*");
         Replace(&text, L"假*", L"j*");
         return Gbk(text);
     }},
    {"quoted cells, spaces around values",
     [](std::wstring text) {
         Replace(&text, L"张三,N2,", L"\"张三\",\" N2 \",");
         Replace(&text, L"天数,4", L"\"天数\",\"4\"");
         return "\xEF\xBB\xBF" + Utf8(text);
     }},
};

TEST(MonthFileFromASpreadsheet, OpensAsTheMonthItWas) {
    for (const SpreadsheetSave& save : kSpreadsheetSaves) {
        RotaMonth opened{};
        MonthFileError error{};
        EXPECT_TRUE(Read(save.save(kSampleText), &opened, &error))
            << save.what << ": " << error.line;
        EXPECT_TRUE(SameMonth(opened, SampleMonth())) << save.what;
    }
}

TEST(MonthFileFromASpreadsheet, GbkNamesComeOutAsTheirCharacters) {
    std::wstring text = kSampleText;
    Replace(&text, L"张三", L"@");
    std::string bytes = Gbk(text);
    bytes.replace(bytes.find('@'), 1, "\xD5\xC5\xC8\xFD");  // 张三 in GBK
    RotaMonth opened{};
    MonthFileError error{};
    ASSERT_TRUE(Read(bytes, &opened, &error)) << error.line;
    EXPECT_STREQ(opened.nurse[0].name, L"张三");
}

// --- damaged and foreign files --------------------------------------------------

struct Damage {
    const wchar_t* from;
    const wchar_t* to;
    const wchar_t* refusal;
};

const Damage kDamages[] = {
    {L"排班表,", L"课程表,", L"第 1 行：不是排班表（应以“排班表”开头）。"},
    {L"2027-01-30", L"2027-02-29", L"第 2 行：日期“2027-02-29”不存在。"},
    {L"2027-01-30", L"明天", L"第 2 行：“明天”不是日期（应写作 2027-01-01）。"},
    {L"天数,4\r\n", L"", L"第 3 行：这一行应为“天数”。"},
    {L"天数,4", L"天数,32", L"第 3 行：天数“32”应为 1～31 的整数。"},
    {L"天数,4", L"天数,5", L"第 10 行：天数为 5，表头却有 4 个日期。"},
    {L"上限,3", L"上限,0", L"第 4 行：连续夜班上限“0”应为 1～31 的整数。"},
    {L"节假日,2027-02-01", L"节假日,2027-02-03", L"第 8 行：节假日“2027-02-03”不在排班的日期内。"},
    {L"张三,N2,,D,N*", L"张三,N2,,D,X", L"第 12 行：1月31日的“X”不是班次（应为 D、N、R 或 假）。"},
    {L"张三,N2", L"张三,N5", L"第 12 行：能级“N5”应为 N0～N4 或空。"},
    {L"张三,", L"张三张三张三张三张三张三张三张三张,",
     L"第 12 行：姓名“张三张三张三张三张三张三张三张三张”超过 16 个字。"},
    {L"张三,", L"=HYPERLINK(1),",
     L"第 12 行：姓名“=HYPERLINK(1)”不能以 =、+、-、@ 开头（表格软件会把它当作公式）。"},
    {L",是,", L",否,", L"第 13 行：不排夜班一栏的“否”应为“是”或空。"},
    {L"D*,D,2,1,1,0", L"D*", L"第 14 行：缺少2月2日的班次（天数为 4）。"},
    {L"D*,D,2,1", L"D*,D,D,2,1", L"第 14 行：班次多于天数 4：第 8 列为“D”。"},
    {L"王五,N0", L",N0", L"第 14 行：缺少姓名。"},
    {L"请假人数,,,0,0,0,1,,,,\r\n", L"请假人数\r\n赵六,N1,,D,D,D,D\r\n",
     L"第 19 行：人数行之后不应再有护士或其他内容。"},
};

// A month that a refused file must leave as it was.
RotaMonth ShownMonth() {
    RotaMonth month = SampleMonth();
    CopyText(month.ward, kWardNameCapacity, L"原样");
    return month;
}

void ExpectRefused(const std::string& bytes, const std::wstring& refusal) {
    RotaMonth month = ShownMonth();
    MonthFileError error{};
    EXPECT_FALSE(Read(bytes, &month, &error));
    EXPECT_EQ(std::wstring(error.text), refusal);
    EXPECT_TRUE(SameMonth(month, ShownMonth())) << "changed by: " << Utf8(refusal);
}

TEST(MonthFileRefused, NamesTheLineAndLeavesTheMonth) {
    for (const Damage& damage : kDamages) {
        std::wstring text = kSampleText;
        Replace(&text, damage.from, damage.to);
        ExpectRefused(Utf8(text), damage.refusal);
    }
}

TEST(MonthFileRefused, EmptyUndecodableAndOverfullFiles) {
    ExpectRefused("", L"文件是空的，不是排班表。");
    std::string undecodable = Utf8(kSampleText);
    undecodable[undecodable.find("王五")] = '\xFF';
    ExpectRefused(undecodable, L"第 14 行：文字无法识别（应为 UTF-8 或 GBK 编码）。");
    std::wstring crowded = kSampleText;
    for (int32_t n = 4; n <= kMonthMaxNurses + 1; ++n) {
        Replace(&crowded, L"白班人数", L"护士" + std::to_wstring(n) + L",,,D,D,R,N\r\n白班人数");
    }
    ExpectRefused(Utf8(crowded), L"第 52 行：护士超过 40 人。");
}

}  // namespace
