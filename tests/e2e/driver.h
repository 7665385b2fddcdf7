// Drives the program's window from another process, as a user would: starts the
// exe, finds its window and controls, types into fields, presses keys and buttons,
// reads message boxes, the clipboard and the focus.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kActionTimeoutMs = 8000;

// The program under test and the folder for the artifacts the tests leave behind.
std::wstring AppExePath();
std::wstring ArtifactDir();
// A fresh, empty folder under the artifact folder, named after the test.
std::wstring FreshWorkDir(const std::wstring& name);

// Polls until the predicate holds or the time is up; wait for what the user would
// see, never for a fixed time.
bool WaitFor(const std::function<bool()>& predicate, DWORD timeoutMs = kActionTimeoutMs);

// One run of the program. The destructor closes its window and, if the process is
// still there, ends it.
class AppProcess {
public:
    // arguments are appended to the quoted exe path as they stand.
    explicit AppProcess(const std::wstring& arguments = L"", const std::wstring& directory = L"");
    ~AppProcess();
    AppProcess(const AppProcess&) = delete;
    AppProcess& operator=(const AppProcess&) = delete;

    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    // Returns false when the process has not ended within the time.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);

private:
    PROCESS_INFORMATION info_{};
};

// The visible top-level window of class TavoMedToolWnd that belongs to the process.
HWND FindMainWindow(DWORD processId, DWORD timeoutMs = kStartTimeoutMs);
// A visible window of the class owned by the window (a dialog, the preview).
HWND FindOwnedWindow(HWND owner, const wchar_t* className, DWORD timeoutMs = kActionTimeoutMs);

std::wstring ClassOf(HWND window);
std::wstring ReadControlText(HWND window);
bool SetControlText(HWND window, const std::wstring& text);
HWND ControlById(HWND parent, int id);
std::vector<HWND> ChildWindows(HWND parent);
// The window's rectangle in the client coordinates of the given window.
RECT RectInClient(HWND window, HWND reference);

// A key-down and key-up aimed at the control, through the program's message queue.
void PressKey(HWND control, UINT virtualKey);
// Waits until every message posted to the program before this call has been
// handled: posts a selection change to the edit control and waits for it.
bool WaitUntilPostedHandled(HWND edit);
// A click of the button, as the button itself handles it.
void ClickButton(HWND button);

// Input through the system's input queue, as from a keyboard and a mouse: it goes
// to the foreground window and the control under the pointer or with the focus.
bool BringToForeground(HWND window);
void TypeKeys(const std::vector<UINT>& virtualKeys);
void TypeShifted(UINT virtualKey);  // the key with Shift held
void TypeWithControl(UINT virtualKey);
void MoveMouseTo(HWND control);  // to the middle of the control
void MouseButton(bool down);
// Moves the pointer to the screen's top left corner, outside the program's window.
// A window that opens under the pointer learns of it from the display later, and
// may then take a pointer position from before the test's own moves for a click.
void ParkMouse();

struct MessageBoxView {
    HWND box = nullptr;
    std::wstring caption;
    std::wstring text;
    int buttonCount = 0;
    HWND icon = nullptr;  // the static that shows the box's icon, if any
};
// The dialog box of class "#32770" owned by the window.
bool FindMessageBox(HWND owner, MessageBoxView* view, DWORD timeoutMs = kActionTimeoutMs);
// True when no message box owned by the window appears within the time.
bool NoMessageBoxWithin(HWND owner, DWORD timeoutMs);
// Clicks the box's OK button and waits until the box is gone.
bool CloseMessageBox(const MessageBoxView& view);

bool ReadClipboard(std::wstring* text);
bool WriteClipboard(const std::wstring& text);

// The window that holds the keyboard focus in the thread that owns the window.
HWND FocusedWindowOf(HWND window);

// What a screen reader speaks for a control: its MSAA name (accName).
std::wstring AccessibleName(HWND control);

}  // namespace e2e
