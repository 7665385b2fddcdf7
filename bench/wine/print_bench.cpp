// Printing's two speed figures, under Wine, each beside a reference:
// - the 40 x 31 rota laid out and drawn into an A4 landscape bitmap at 300 DPI
//   (PlanPrint and DrawPrintPage), against a bare GDI loop that draws the same
//   cells and texts from a list made beforehand, without any layout (goal:
//   within 1.5 times it);
// - the preview of the real program opened, from the command to its first
//   paint, against the goal of 200 ms.
//   print_bench.exe PROGRAM_EXE [RUNS]
// Prints a Markdown table; scripts/bench-wine.sh runs it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "ui/print/print_page_win32.h"
#include "ui/window_fonts.h"

namespace {

constexpr double kMonth[kMaxParams] = {40, 31};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Recorded {
    PrintItem item;
    std::wstring text;
};

void Record(void* context, const PrintItem& item) {
    auto& items = *static_cast<std::vector<Recorded>*>(context);
    items.push_back({item, item.text != nullptr ? std::wstring(item.text, item.length) : L""});
}

// The reference: the same fills and texts with the same fonts and brushes,
// straight from the list.
void DrawBare(HDC context, const std::vector<Recorded>& items, const PrintPlan& plan,
              const wchar_t* face) {
    HFONT fonts[kPrintFontRoleCount];
    for (int32_t role = 0; role < kPrintFontRoleCount; ++role) {
        fonts[role] = CreateFontW(-plan.fontHeights[role], 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    }
    HBRUSH brushes[256] = {};
    int32_t selected = -1;
    SetBkMode(context, TRANSPARENT);
    for (const Recorded& r : items) {
        RECT rect = {r.item.box.x, r.item.box.y, r.item.box.x + r.item.box.width,
                     r.item.box.y + r.item.box.height};
        if (r.item.kind == PrintItemKind::kFill) {
            if (brushes[r.item.grey] == nullptr)
                brushes[r.item.grey] = CreateSolidBrush(RGB(r.item.grey, r.item.grey, r.item.grey));
            FillRect(context, &rect, brushes[r.item.grey]);
        } else {
            if (selected != r.item.font) SelectObject(context, fonts[selected = r.item.font]);
            DrawTextW(context, r.text.c_str(), static_cast<int>(r.text.size()), &rect,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_CENTER);
        }
    }
    SelectObject(context, GetStockObject(SYSTEM_FONT));
    for (HFONT font : fonts)
        DeleteObject(font);
    for (HBRUSH brush : brushes)
        if (brush != nullptr) DeleteObject(brush);
}

void DrawingFigures(int runs) {
    PrintDocument document;
    PreparePrintDocument(GetBuiltinTool(), kMonth, L"", L"", 0, 2026, 12, 9, &document);
    const PageGeometry page = PaperPage(kA4Paper, true, 300);
    PrintPlan plan;
    PlanPrint(document, page, &plan);
    std::vector<Recorded> items;
    EmitPrintPage(document, plan, 0, Record, &items);
    wchar_t face[LF_FACESIZE];
    ChooseUiFace(face);

    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), page.width, -page.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectObject(context, bitmap);
    std::vector<double> ours;
    std::vector<double> bare;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, middle, end;
        PatBlt(context, 0, 0, page.width, page.height, WHITENESS);
        QueryPerformanceCounter(&start);
        PrintPlan fresh;
        PlanPrint(document, page, &fresh);
        DrawPrintPage(context, document, fresh, 0, {1, 1, 0, 0}, face);
        GdiFlush();
        QueryPerformanceCounter(&middle);
        PatBlt(context, 0, 0, page.width, page.height, WHITENESS);
        LARGE_INTEGER bare_start;
        QueryPerformanceCounter(&bare_start);
        DrawBare(context, items, plan, face);
        GdiFlush();
        QueryPerformanceCounter(&end);
        ours.push_back(Milliseconds(start, middle));
        bare.push_back(Milliseconds(bare_start, end));
    }
    const double ratio = Median(ours) / Median(bare);
    std::printf(
        "| 40 x 31 rota, A4 landscape at 300 DPI: layout and drawing vs bare GDI loop over "
        "the same %zu items | %.1f | %.1f | %.2fx | <= 1.5%s |\n",
        items.size(), Median(ours), Median(bare), ratio, ratio <= 1.5 ? "" : " MISSED");
    DeleteObject(bitmap);
    DeleteDC(context);
}

// ---- The preview of the real program ----

DWORD g_process;

BOOL CALLBACK FindMain(HWND window, LPARAM found) {
    DWORD process = 0;
    wchar_t name[64];
    GetWindowThreadProcessId(window, &process);
    GetClassNameW(window, name, 64);
    if (process != g_process || !IsWindowVisible(window) || wcscmp(name, L"TavoMedToolWnd") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

template <typename Predicate>
bool Poll(Predicate ready) {
    for (int tries = 0; tries < 20000; ++tries) {
        if (ready()) return true;
        Sleep(1);
    }
    return false;
}

void PreviewFigures(const wchar_t* program, int runs) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + std::wstring(program) + L"\"";
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return;
    WaitForInputIdle(process.hProcess, 20000);
    g_process = process.dwProcessId;
    HWND main = nullptr;
    Poll([&] { return EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main)), main != nullptr; });
    if (main == nullptr) {
        std::printf("| preview: the program's window did not appear | | | | MISSED |\n");
        TerminateProcess(process.hProcess, 1);
        return;
    }
    HWND report = GetDlgItem(main, 3000);
    SendMessageW(GetDlgItem(main, 2000), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"40"));
    SendMessageW(GetDlgItem(main, 2001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"31"));
    PostMessageW(GetDlgItem(main, 2000), WM_KEYDOWN, VK_F5, 0);
    Poll([&] { return GetWindowTextLengthW(report) > 6000; });
    std::vector<double> opened;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        PostMessageW(main, WM_COMMAND, 1006, 0);
        HWND preview = nullptr;
        Poll([&] {
            preview = FindWindowW(L"TavoMedPrintPreview", nullptr);
            return preview != nullptr && IsWindowVisible(preview);
        });
        // Sent to another thread, it returns once the preview has painted.
        UpdateWindow(preview);
        QueryPerformanceCounter(&end);
        opened.push_back(Milliseconds(start, end));
        PostMessageW(preview, WM_CLOSE, 0, 0);
        Poll([&] { return !IsWindow(preview); });
    }
    const double median = Median(opened);
    std::printf(
        "| preview of the 40 x 31 rota opened: command to first paint (no printer: A4) "
        "| %.1f | 200 (goal) | %.2fx | < 200 ms%s |\n",
        median, median / 200.0, median < 200.0 ? "" : " MISSED");
    PostMessageW(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const int runs = argc > 2 ? _wtoi(argv[2]) : 15;
    std::printf(
        "| Printing under Wine | Program ms (median) | Reference ms (median) | Ratio | Goal "
        "|\n|---|---:|---:|---:|---:|\n");
    DrawingFigures(runs);
    PreviewFigures(argv[1], runs);
    return 0;
}
