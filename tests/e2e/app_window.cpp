#include "tests/e2e/app_window.h"

#include "tests/e2e/expected_texts.h"

namespace e2e {

void AppWindowTest::SetUp() {
    app_ = std::make_unique<AppProcess>();
    ASSERT_TRUE(app_->Started()) << "cannot start the program";
    main_ = FindMainWindow(app_->Id());
    ASSERT_NE(main_, nullptr) << "the program's window did not appear";
    ASSERT_TRUE(WaitFor([&] { return Field(1) != nullptr && ReadControlText(Field(1)) == L"7"; }))
        << "the fields never showed their defaults";
    for (HWND child : ChildWindows(main_)) {
        RECT rect = RectInClient(child, main_);
        if (rect.left == kVerdictBox.left && rect.top == kVerdictBox.top) verdict_ = child;
    }
    ASSERT_NE(verdict_, nullptr) << "no verdict line at (492, 142)";
}

void AppWindowTest::TypeCounts(const std::wstring& nurses, const std::wstring& days) {
    ASSERT_TRUE(SetControlText(Field(0), nurses));
    ASSERT_TRUE(SetControlText(Field(1), days));
}

bool AppWindowTest::WaitForReport(const std::wstring& expected) {
    return WaitFor([&] { return ReadControlText(Report()) == expected; });
}

bool AppWindowTest::WaitForStatus(const std::wstring& status) {
    return WaitFor([&] { return ReadControlText(ControlById(main_, kStatusLine)) == status; });
}

bool AppWindowTest::ShowsIcon(const MessageBoxView& box, const wchar_t* expected,
                              const wchar_t* other) {
    if (box.icon == nullptr) return false;
    RECT rect = RectInClient(box.icon, box.box);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int bestDifference = 0;
    int otherDifference = 0;
    WaitFor([&] {
        Screenshot shot;
        if (!shot.Capture(box.box)) return false;
        // The corner of the icon's static is the box's own background.
        Rgb background = shot.At(rect.left, rect.top);
        bestDifference =
            CountDifferences(shot, rect, RenderSystemIcon(expected, width, height, background));
        otherDifference =
            CountDifferences(shot, rect, RenderSystemIcon(other, width, height, background));
        return bestDifference < otherDifference;
    });
    if (bestDifference < otherDifference) return true;
    printf("icon differs from the expected one in %d pixels, from the other in %d\n",
           bestDifference, otherDifference);
    return false;
}

void AppWindowTest::ComputeTenByFourteen() {
    TypeCounts(L"10", L"14");
    PressKey(Field(1), VK_F5);
    ASSERT_TRUE(WaitForReport(ExpectedRota(10, 14)))
        << "report: " << Utf8Of(ReadControlText(Report()));
}

}  // namespace e2e
