#include "tests/e2e/driver.h"

#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace e2e {
namespace {

constexpr DWORD kPollMs = 10;
constexpr UINT kSendTimeoutMs = 5000;
// The id a message box gives the static that carries its text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring WidenUtf8(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    return wide;
}

// The build passes Unix paths; Wine sees the Unix root as drive Z.
std::wstring WinePathOf(const char* unixPath) {
    std::wstring path = WidenUtf8(unixPath);
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return L"Z:" + path;
}

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
}

// Our clipboard owner window must answer the messages the program's clipboard
// calls send it, or each of them waits for a time-out.
void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (search->processId != 0 && processId != search->processId) return TRUE;
    if (!IsWindowVisible(window) || ClassOf(window) != search->className) return TRUE;
    if (search->owner != nullptr && GetWindow(window, GW_OWNER) != search->owner) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD processId, const wchar_t* className, HWND owner) {
    WindowSearch search{processId, className, owner, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// SetClipboardData needs an owner window of our own.
HWND ClipboardOwner() {
    static HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    return owner;
}

bool OpenClipboardPatiently(HWND owner) {
    return WaitFor([owner] { return OpenClipboard(owner) != FALSE; }, 3000);
}

}  // namespace

std::wstring AppExePath() {
    return WinePathOf(TAVOMED_APP_PATH);
}

std::wstring ArtifactDir() {
    std::wstring dir = WinePathOf(E2E_ARTIFACT_DIR);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

std::wstring FreshWorkDir(const std::wstring& name) {
    std::wstring parent = ArtifactDir() + L"\\work";
    CreateDirectoryW(parent.c_str(), nullptr);
    std::wstring dir = parent + L"\\" + name;
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

bool WaitFor(const std::function<bool()>& predicate, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (predicate()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        PumpMessages();
        Sleep(kPollMs);
    }
}

AppProcess::AppProcess(const std::wstring& arguments, const std::wstring& directory) {
    std::wstring commandLine = L"\"" + AppExePath() + L"\"" + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &info_)) {
        info_ = PROCESS_INFORMATION{};
    }
}

AppProcess::~AppProcess() {
    if (!Started()) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool AppProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!Started() || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

HWND FindMainWindow(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            found = FindTopLevel(processId, L"TavoMedToolWnd", nullptr);
            return found != nullptr;
        },
        timeoutMs);
    return found;
}

HWND FindOwnedWindow(HWND owner, const wchar_t* className, DWORD timeoutMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopLevel(processId, className, owner)) != nullptr; },
            timeoutMs);
    return found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring ReadControlText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &length)) {
        return L"<no answer>";
    }
    std::vector<wchar_t> buffer(length + 64, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied)) {
        return L"<no answer>";
    }
    return std::wstring(buffer.data(), copied);
}

bool SetControlText(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0 &&
           result != 0;
}

HWND ControlById(HWND parent, int id) {
    for (HWND child : ChildWindows(parent)) {
        if (GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

RECT RectInClient(HWND window, HWND reference) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PressKey(HWND control, UINT virtualKey) {
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(control, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(control, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

bool WaitUntilPostedHandled(HWND edit) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(edit, EM_SETSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    PostMessageW(edit, EM_SETSEL, 0, -1);
    return WaitFor([edit] {
        DWORD_PTR selection = 0;
        SendMessageTimeoutW(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &selection);
        return HIWORD(selection) > 0;
    });
}

bool BringToForeground(HWND window) {
    SetForegroundWindow(window);
    return WaitFor([window] { return GetForegroundWindow() == window; });
}

void TypeKeys(const std::vector<UINT>& virtualKeys) {
    for (UINT key : virtualKeys) {
        INPUT strokes[2] = {};
        for (INPUT& stroke : strokes) {
            stroke.type = INPUT_KEYBOARD;
            stroke.ki.wVk = static_cast<WORD>(key);
            stroke.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        }
        strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, strokes, sizeof(INPUT));
    }
}

namespace {

void TypeWith(UINT modifier, UINT virtualKey) {
    INPUT held{};
    held.type = INPUT_KEYBOARD;
    held.ki.wVk = static_cast<WORD>(modifier);
    SendInput(1, &held, sizeof(INPUT));
    TypeKeys({virtualKey});
    held.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &held, sizeof(INPUT));
}

}  // namespace

void TypeShifted(UINT virtualKey) {
    TypeWith(VK_SHIFT, virtualKey);
}

void TypeWithControl(UINT virtualKey) {
    TypeWith(VK_CONTROL, virtualKey);
}

namespace {

// The display tells the program of a pointer move later, as a motion of its own;
// told after the next move, the program would put the pointer back for the next
// click. So each move is waited for, here and, when the pointer lands on one of
// its windows, by the program too (a message it answers comes after it has read
// the display's news).
void MovePointer(POINT to, HWND receiver) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    move.mi.dx = MulDiv(to.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    move.mi.dy = MulDiv(to.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(INPUT));
    WaitFor([to] {
        POINT at{};
        return GetCursorPos(&at) && std::abs(at.x - to.x) <= 1 && std::abs(at.y - to.y) <= 1;
    });
    if (receiver == nullptr) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(receiver, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
}

}  // namespace

void MoveMouseTo(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MovePointer({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, control);
}

void ParkMouse() {
    MovePointer({0, 0}, nullptr);
}

void MouseButton(bool down) {
    INPUT click{};
    click.type = INPUT_MOUSE;
    click.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &click, sizeof(INPUT));
}

void ClickButton(HWND button) {
    // Posted, not sent: the command may open a modal box, which would hold a sender.
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool FindMessageBox(HWND owner, MessageBoxView* view, DWORD timeoutMs) {
    DWORD processId = 0;
    GetWindowThreadProcessId(owner, &processId);
    HWND box = nullptr;
    if (!WaitFor(
            [&] {
                box = FindTopLevel(processId, L"#32770", owner);
                return box != nullptr;
            },
            timeoutMs)) {
        return false;
    }
    view->box = box;
    view->caption = ReadControlText(box);
    view->buttonCount = 0;
    view->icon = nullptr;
    HWND textControl = nullptr;
    for (HWND child : ChildWindows(box)) {
        if (!IsWindowVisible(child)) continue;
        std::wstring className = ClassOf(child);
        if (_wcsicmp(className.c_str(), L"Button") == 0) ++view->buttonCount;
        if (_wcsicmp(className.c_str(), L"Static") != 0) continue;
        if (GetDlgCtrlID(child) == kMessageBoxTextId) textControl = child;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) view->icon = child;
    }
    view->text = textControl != nullptr ? ReadControlText(textControl) : L"<no text control>";
    return true;
}

bool NoMessageBoxWithin(HWND owner, DWORD timeoutMs) {
    MessageBoxView view;
    return !FindMessageBox(owner, &view, timeoutMs);
}

bool CloseMessageBox(const MessageBoxView& view) {
    HWND ok = GetDlgItem(view.box, IDOK);
    if (ok == nullptr) return false;
    ClickButton(ok);
    return WaitFor([&] { return !IsWindow(view.box) || !IsWindowVisible(view.box); });
}

bool ReadClipboard(std::wstring* text) {
    if (!OpenClipboardPatiently(ClipboardOwner())) return false;
    bool ok = false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            *text = chars;
            GlobalUnlock(data);
            ok = true;
        }
    }
    CloseClipboard();
    return ok;
}

bool WriteClipboard(const std::wstring& text) {
    if (!OpenClipboardPatiently(ClipboardOwner())) return false;
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = false;
    if (memory != nullptr) {
        memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!ok) GlobalFree(memory);
    }
    CloseClipboard();
    return ok;
}

HWND FocusedWindowOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

std::wstring AccessibleName(HWND control) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // once for the thread
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    VARIANT self{};
    self.vt = VT_I4;  // 0: CHILDID_SELF
    if (SUCCEEDED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object)))) {
        object->get_accName(self, &name);
        object->Release();
    }
    const std::wstring text = name != nullptr ? name : L"<no name>";
    SysFreeString(name);
    return text;
}

}  // namespace e2e
