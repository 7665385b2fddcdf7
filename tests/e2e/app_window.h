// A fresh run of the program with its window found and ready, and the handles of
// the controls the tests work with.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/driver.h"
#include "tests/e2e/screen.h"

namespace e2e {

enum ControlId : int {
    kComputeButton = 1001,
    kSaveButton = 1002,
    kCopyButton = 1003,
    kResetButton = 1004,
    kAboutButton = 1005,
    kPreviewButton = 1006,
    kMonthButton = 1008,
    kFirstField = 2000,
    kReportBox = 3000,
    kStatusLine = 3001,
};

inline constexpr RECT kVerdictBox{492, 142, 984, 188};

class AppWindowTest : public ::testing::Test {
protected:
    void SetUp() override;

    HWND Field(int index) const { return ControlById(main_, kFirstField + index); }
    HWND Button(int id) const { return ControlById(main_, id); }
    HWND Report() const { return ControlById(main_, kReportBox); }
    HWND Verdict() const { return verdict_; }

    // Types both counts and presses the key in the given field.
    void TypeCounts(const std::wstring& nurses, const std::wstring& days);
    bool WaitForReport(const std::wstring& expected);
    // Waits until the status line holds exactly this text.
    bool WaitForStatus(const std::wstring& status);
    // Computes 10 nurses and 14 days with F5 and waits for the report.
    void ComputeTenByFourteen();

    // Which of the two system icons the box shows: true when it looks more like
    // the expected one than like the other.
    static bool ShowsIcon(const MessageBoxView& box, const wchar_t* expected, const wchar_t* other);

    std::unique_ptr<AppProcess> app_;
    HWND main_ = nullptr;
    HWND verdict_ = nullptr;
};

}  // namespace e2e
