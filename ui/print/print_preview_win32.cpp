#include "ui/print/print_preview_win32.h"

#include "engine/bounded_text.h"
#include "ui/commands.h"
#include "ui/gdi_guards.h"
#include "ui/painting.h"
#include "ui/palette_win32.h"
#include "ui/print/print_job_win32.h"
#include "ui/print/print_page_win32.h"
#include "ui/print/print_texts.h"
#include "ui/shell_text.h"
#include "ui/window_dpi.h"
#include "ui/window_fonts.h"
#include "ui/window_keys.h"
#include "ui/window_user_data.h"

namespace {

constexpr wchar_t kPreviewClassName[] = L"TavoMedPrintPreview";
constexpr DWORD kPreviewStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// The layout figures below are at 96 DPI, as the window's.
constexpr int32_t kDesignDpi = 96;

// ---- Layout, at 96 DPI --------------------------------------------------------

enum PreviewButtonId : int32_t {
    kPreviewPrintId = 100,
    kPreviewPreviousId,
    kPreviewNextId,
    kPreviewCloseId,
};

struct PreviewButton {
    const wchar_t* caption;
    int32_t width;
    int32_t id;
};

// Left to right in the toolbar, the hidden ones leaving no gap.
constexpr PreviewButton kPreviewButtons[] = {
    {kPreviewPrintCaption, 132, kPreviewPrintId},
    {kPreviewPreviousCaption, 88, kPreviewPreviousId},
    {kPreviewNextCaption, 88, kPreviewNextId},
    {kPreviewCloseCaption, 88, kPreviewCloseId},
};
constexpr int32_t kPreviewButtonCount = 4;
constexpr int32_t kButtonTop = 10;
constexpr int32_t kButtonHeight = 32;
constexpr int32_t kButtonGap = 12;

constexpr int32_t kToolbarHeight = 52;
constexpr int32_t kSheetMargin = 16;
constexpr int32_t kShadowOffset = 3;
constexpr int32_t kSmallestWidth = 480;
constexpr int32_t kSmallestHeight = 360;
// The preview opens at this share of the work area, in percent.
constexpr int32_t kOpeningShare = 90;

// The window's fonts at the preview's own scale, deleted with it or when a new
// scale replaces them: the owner-drawn buttons keep none, each is drawn with
// the font of the moment.
class PreviewFonts {
public:
    PreviewFonts() = default;
    ~PreviewFonts() { Delete(); }
    PreviewFonts(const PreviewFonts&) = delete;
    PreviewFonts& operator=(const PreviewFonts&) = delete;
    void Create(Scale scale) {
        HFONT fonts[kFontRoleCount];
        CreateWindowFonts(scale, fonts);
        Delete();
        for (int32_t role = 0; role < kFontRoleCount; ++role)
            fonts_[role] = fonts[role];
    }
    HFONT Button() const { return fonts_[kButtonFont]; }

private:
    void Delete() {
        for (HFONT& font : fonts_) {
            if (font != nullptr) DeleteObject(font);
            font = nullptr;
        }
    }
    HFONT fonts_[kFontRoleCount] = {};
};

// The preview has a scale, fonts and colours of its own: it may be on another
// monitor than the main window, and the main window, disabled meanwhile, is
// not the one to repaint it when the colours change.
struct PreviewState {
    const PrintRequester* requester;
    HWND window;
    HWND buttons[kPreviewButtonCount];
    Scale scale;
    PreviewFonts fonts;
    Palette palette;
    PrintDocument document;
    PrintPlan plan;
    int32_t page;
    bool closed;
    wchar_t face[LF_FACESIZE];
};

Box ScaledBy(const PreviewState& preview, Box box) {
    return Scaled(box, preview.scale);
}

int32_t ScaledBy(const PreviewState& preview, int32_t pixels) {
    return Scaled(pixels, preview.scale);
}

// ---- Pages ----------------------------------------------------------------------

void ShowPage(PreviewState& preview, int32_t page) {
    if (page < 0 || page >= preview.plan.pageCount) return;
    preview.page = page;
    EnableWindow(preview.buttons[1], page > 0);
    EnableWindow(preview.buttons[2], page + 1 < preview.plan.pageCount);
    InvalidateRect(preview.window, nullptr, FALSE);
}

void Close(PreviewState& preview) {
    // The owner is enabled first, so that it, not another program, is
    // activated when the preview goes.
    EnableWindow(preview.requester->owner, TRUE);
    DestroyWindow(preview.window);
}

void RunButton(PreviewState& preview, int32_t id) {
    switch (id) {
        case kPreviewPrintId:
            PrintDocumentCommand(*preview.requester, preview.document, preview.window);
            break;
        case kPreviewPreviousId:
            ShowPage(preview, preview.page - 1);
            break;
        case kPreviewNextId:
            ShowPage(preview, preview.page + 1);
            break;
        case kPreviewCloseId:
        case IDCANCEL:
            Close(preview);
            break;
        default:
            break;
    }
}

// ---- Painting -------------------------------------------------------------------

int32_t ScaledSheet(int32_t sheet_pixels, const PageTransform& t) {
    return static_cast<int32_t>(int64_t{sheet_pixels} * t.numerator / t.denominator);
}

// The sheet scaled to fit below the toolbar, centred, as a transform.
PageTransform SheetTransform(const PreviewState& preview, int32_t width, int32_t height) {
    const int32_t margin = ScaledBy(preview, kSheetMargin);
    const int32_t top = ScaledBy(preview, kToolbarHeight) + margin;
    const int32_t room_width = width - 2 * margin;
    const int32_t room_height = height - top - margin;
    const PageGeometry& sheet = preview.plan.page;
    if (room_width <= 0 || room_height <= 0) return {0, 1, 0, 0};
    PageTransform t = {room_width, sheet.width, 0, 0};
    if (int64_t{room_height} * sheet.width < int64_t{room_width} * sheet.height)
        t = {room_height, sheet.height, 0, 0};
    t.x = margin + (room_width - ScaledSheet(sheet.width, t)) / 2;
    t.y = top + (room_height - ScaledSheet(sheet.height, t)) / 2;
    return t;
}

// The desk and the toolbar in the window's palette; the sheet is paper, white
// with the page in black and greys as it prints.
void PaintSheet(const PreviewState& preview, HDC context, int32_t width, int32_t height) {
    FillBox(context, {0, 0, width, height}, Paint(preview.palette, kDeskPaint));
    FillBox(context, {0, 0, width, ScaledBy(preview, kToolbarHeight)},
            Paint(preview.palette, kFooterPaint));
    const PageTransform t = SheetTransform(preview, width, height);
    if (t.numerator <= 0) return;
    const Box sheet = {t.x, t.y, ScaledSheet(preview.plan.page.width, t),
                       ScaledSheet(preview.plan.page.height, t)};
    const int32_t shadow = ScaledBy(preview, kShadowOffset);
    FillBox(context, {sheet.x + shadow, sheet.y + shadow, sheet.width, sheet.height},
            Paint(preview.palette, kSheetShadowPaint));
    FillBox(context, sheet, kWhite);
    DrawPrintPage(context, preview.document, preview.plan, preview.page, t, preview.face);
}

// Drawn off screen and copied at once, so that a resize does not flicker.
void PaintPreview(const PreviewState& preview) {
    PaintScope paint(preview.window);
    RECT client{};
    GetClientRect(preview.window, &client);
    const int32_t width = client.right;
    const int32_t height = client.bottom;
    const OwnedMemoryContext memory(paint.context());
    const OwnedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(paint.context(), width, height));
    if (memory.get() == nullptr || bitmap.get() == nullptr) {
        PaintSheet(preview, paint.context(), width, height);
        return;
    }
    const SelectionGuard selection(memory.get(), bitmap.get());
    PaintSheet(preview, memory.get(), width, height);
    BitBlt(paint.context(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

// ---- Window ---------------------------------------------------------------------

bool IsShown(const PreviewState& preview, const PreviewButton& button) {
    const bool paging = button.id == kPreviewPreviousId || button.id == kPreviewNextId;
    return !paging || preview.plan.pageCount > 1;
}

// Left to right at the preview's scale, the hidden ones leaving no gap.
void PlaceButtons(const PreviewState& preview) {
    int32_t x = kButtonGap;
    for (int32_t i = 0; i < kPreviewButtonCount; ++i) {
        const PreviewButton& button = kPreviewButtons[i];
        const Box box = ScaledBy(preview, {x, kButtonTop, button.width, kButtonHeight});
        if (IsShown(preview, button)) x += button.width + kButtonGap;
        SetWindowPos(preview.buttons[i], nullptr, box.x, box.y, box.width, box.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CreateButtons(PreviewState& preview) {
    for (int32_t i = 0; i < kPreviewButtonCount; ++i) {
        const PreviewButton& button = kPreviewButtons[i];
        const DWORD shown = IsShown(preview, button) ? WS_VISIBLE : 0;
        const DWORD group = i == 0 ? WS_GROUP : 0;
        preview.buttons[i] = CreateWindowExW(
            0, L"BUTTON", button.caption, WS_CHILD | shown | WS_TABSTOP | group | BS_OWNERDRAW, 0,
            0, 0, 0, preview.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
            preview.requester->instance, nullptr);
    }
    PlaceButtons(preview);
}

// A new DPI: the toolbar and its fonts at the DPI's own scale, the window in
// the place the system suggests (the preview can take any size).
void OnPreviewDpiChanged(PreviewState& preview, int32_t dpi, const RECT& suggested) {
    preview.scale = {dpi, kDesignDpi};
    preview.fonts.Create(preview.scale);
    PlaceButtons(preview);
    SetWindowPos(preview.window, nullptr, suggested.left, suggested.top,
                 suggested.right - suggested.left, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(preview.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// High contrast turned on or off, or the system's colours changed.
void OnPreviewColoursChanged(PreviewState& preview) {
    preview.palette = WindowPalette(HighContrastIsOn(preview.requester->highContrast));
    RedrawWindow(preview.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT HandlePreviewMessage(PreviewState& preview, UINT message, WPARAM wparam, LPARAM lparam) {
    HWND window = preview.window;
    switch (message) {
        case WM_CREATE:
            CreateButtons(preview);
            return 0;
        case WM_CLOSE:
            Close(preview);
            return 0;
        case WM_DESTROY:
            preview.closed = true;
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintPreview(preview);
            return 0;
        case WM_SIZE:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
            info->ptMinTrackSize = {ScaledBy(preview, kSmallestWidth),
                                    ScaledBy(preview, kSmallestHeight)};
            return 0;
        }
        case WM_DRAWITEM:
            DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam),
                            preview.fonts.Button(), preview.scale, preview.palette);
            return 1;
        case WM_DPICHANGED:
            OnPreviewDpiChanged(preview, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_SETTINGCHANGE:
            if (wparam == SPI_SETHIGHCONTRAST) OnPreviewColoursChanged(preview);
            return DefWindowProcW(window, message, wparam, lparam);
        case WM_SYSCOLORCHANGE:
            OnPreviewColoursChanged(preview);
            return 0;
        case WM_COMMAND:
            RunButton(preview, LOWORD(wparam));
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

LRESULT CALLBACK PreviewWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* preview = StateOfWindow(window, message, lparam, &PreviewState::window);
    if (preview == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    return HandlePreviewMessage(*preview, message, wparam, lparam);
}

void RegisterPreviewClass(HINSTANCE instance) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = PreviewWindowProc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kPreviewClassName;
    RegisterClassExW(&window_class);
}

// Centred on the work area of the main window's screen, inside it.
RECT OpeningRect(HWND main_window) {
    const Box work = MonitorWorkArea(main_window);
    const int32_t width = work.width * kOpeningShare / 100;
    const int32_t height = work.height * kOpeningShare / 100;
    const int32_t x = work.x + (work.width - width) / 2;
    const int32_t y = work.y + (work.height - height) / 2;
    return {x, y, x + width, y + height};
}

// Page Up, Page Down, Ctrl+P, Esc, and Enter on a button, in the preview.
bool HandlePreviewKey(PreviewState& preview, const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.hwnd != preview.window && !IsChild(preview.window, message.hwnd)) return false;
    switch (message.wParam) {
        case VK_PRIOR:
            ShowPage(preview, preview.page - 1);
            return true;
        case VK_NEXT:
            ShowPage(preview, preview.page + 1);
            return true;
        case VK_ESCAPE:
            Close(preview);
            return true;
        case VK_RETURN:
            if (!IsChild(preview.window, message.hwnd)) return false;
            SendMessageW(message.hwnd, BM_CLICK, 0, 0);
            return true;
        default:
            break;
    }
    if (!IsPrintShortcut(message, preview.window)) return false;
    PrintDocumentCommand(*preview.requester, preview.document, preview.window);
    return true;
}

// The preview's own loop while the main window is disabled; a quit message
// that arrives meanwhile is posted again for the main loop.
void RunPreviewLoop(PreviewState& preview) {
    MSG message;
    while (!preview.closed) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            Close(preview);
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (HandlePreviewKey(preview, message)) continue;
        DispatchWithDialogKeys(preview.window, message);
    }
}

}  // namespace

void PreviewDocumentCommand(const PrintRequester& requester, const PrintDocument& document,
                            const wchar_t* name) {
    HWND owner = requester.owner;
    HWND focus = GetFocus();
    PreviewState preview{};
    preview.requester = &requester;
    preview.scale = {requester.dpi, kDesignDpi};
    preview.fonts.Create(preview.scale);
    preview.palette = WindowPalette(HighContrastIsOn(requester.highContrast));
    preview.document = document;
    if (!PlanPrint(preview.document, DefaultPrinterPage(preview.document, owner), &preview.plan)) {
        PlanPrint(preview.document, PaperPage(kA4Paper, PrefersLandscape(*document.tool), 300),
                  &preview.plan);
    }
    ChooseUiFace(preview.face);
    RegisterPreviewClass(requester.instance);
    wchar_t title[kStatusTextCapacity];
    FormatText(title, kStatusTextCapacity, kPreviewTitleFormat, name);
    const RECT place = OpeningRect(owner);
    HWND window = CreateWindowExW(0, kPreviewClassName, title, kPreviewStyle, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, owner,
                                  nullptr, requester.instance, &preview);
    if (window == nullptr) return;
    EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetFocus(preview.buttons[0]);
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    ShowPage(preview, 0);
    RunPreviewLoop(preview);
    if (focus != nullptr && IsChild(owner, focus)) SetFocus(focus);
}

void PrintPreviewCommand(WindowState& state) {
    if (!HasResult(state)) {
        ShowBox(state.mainWindow, kCopyNeedsResultText, kNoResultCaption, MB_ICONINFORMATION);
        return;
    }
    PrintDocument document;
    PrepareWindowDocument(state, &document);
    const PrintRequester requester = MainWindowRequester(state);
    PreviewDocumentCommand(requester, document, state.tool->name);
}
