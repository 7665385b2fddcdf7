#include "ui/painting.h"

#include "engine/bounded_text.h"
#include "ui/gdi_guards.h"
#include "ui/shell_text.h"

namespace {

constexpr int32_t kButtonCaptionCapacity = 64;
// The focus mark stands this far inside the button's edges (at 96 DPI).
constexpr int32_t kFocusMarkInset = 4;
constexpr UINT kEllipsisFlags = DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS;

RECT ToRect(Box box) {
    return {box.x, box.y, box.x + box.width, box.y + box.height};
}

// The button says so itself (ODS_NOFOCUSRECT), but not every system's buttons
// pass the window's keyboard cues on to their owner.
bool ShowsFocusMark(const DRAWITEMSTRUCT& item) {
    if ((item.itemState & ODS_FOCUS) == 0 || (item.itemState & ODS_NOFOCUSRECT) != 0) return false;
    return (SendMessageW(item.hwndItem, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

// In the design's colours the mark inverts what lies under it through the
// context's colours; in the system's it is dotted in the caption's colour, so
// that it too is one of them.
void DrawFocusMark(HDC context, Box box, Scale scale, const Palette& palette, Rgb caption) {
    const int32_t inset = Scaled(kFocusMarkInset, scale);
    RECT mark = {box.x + inset, box.y + inset, box.x + box.width - inset,
                 box.y + box.height - inset};
    if (!palette.fromSystem) {
        SetTextColor(context, RGB(0, 0, 0));
        SetBkColor(context, RGB(255, 255, 255));
        DrawFocusRect(context, &mark);
        return;
    }
    const LOGBRUSH ink = {BS_SOLID, ToColorRef(caption), 0};
    OwnedGdiObject<HPEN> pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &ink, 0, nullptr));
    SelectionGuard pen_selection(context, pen.get());
    SelectionGuard brush_selection(context, GetStockObject(NULL_BRUSH));
    Rectangle(context, mark.left, mark.top, mark.right, mark.bottom);
}

void PaintHeader(HDC context, const WindowState& state, int32_t width) {
    const Scale scale = state.scale;
    const Palette& palette = state.palette;
    FillBox(context, HeaderBandBox(width, scale), Paint(palette, kHeaderPaint));
    FillBox(context, Scaled(kAccentStripeBox, scale), Paint(palette, kAccentPaint));
    DrawTextBox(context, Scaled(kToolNameBox, scale), state.tool->name,
                Paint(palette, kToolNamePaint), state.fonts[kTitleFont], 0);
    wchar_t caption[kCaptionLineCapacity];
    BuildCaptionLine(*state.tool, caption, kCaptionLineCapacity);
    DrawTextBox(context, Scaled(kCaptionLineBox, scale), caption, Paint(palette, kCaptionPaint),
                state.fonts[kCaptionFont], 0);
    wchar_t address[64];
    CopyText(address, 64, kWebAddress);
    DrawTextBox(context, WebAddressBox(width, scale), address, Paint(palette, kLinkPaint),
                state.fonts[kSmallFont], DT_RIGHT);
}

void PaintPanel(HDC context, Box design_panel, Scale scale, const Palette& palette) {
    const Box panel = Scaled(design_panel, scale);
    FillBox(context, panel, Paint(palette, kPanelPaint));
    FrameBox(context, panel, Paint(palette, kPanelOutlinePaint), ScaledLine(1, scale));
}

void PaintPanels(HDC context, const WindowState& state) {
    const Scale scale = state.scale;
    const Palette& palette = state.palette;
    PaintPanel(context, kParamPanelBox, scale, palette);
    PaintPanel(context, kResultPanelBox, scale, palette);
    const Rgb title = Paint(palette, kPanelTitlePaint);
    DrawTextBox(context, Scaled(kParamTitleBox, scale), kParamPanelTitle, title,
                state.fonts[kCaptionFont], 0);
    DrawTextBox(context, Scaled(kResultTitleBox, scale), kResultPanelTitle, title,
                state.fonts[kCaptionFont], 0);
    FillBox(context, Scaled(kParamTitleRuleBox, scale), Paint(palette, kTitleRulePaint));
    FillBox(context, Scaled(kResultTitleRuleBox, scale), Paint(palette, kTitleRulePaint));
}

}  // namespace

void DrawTextBox(HDC context, Box box, const wchar_t* text, Rgb colour, HFONT font,
                 UINT extra_flags) {
    SelectionGuard font_selection(context, font);
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, ToColorRef(colour));
    RECT rect = ToRect(box);
    const UINT ellipsis = (extra_flags & kEllipsisFlags) != 0 ? 0 : DT_END_ELLIPSIS;
    DrawTextW(context, text, -1, &rect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | ellipsis | extra_flags);
}

void DrawOwnerButton(const DRAWITEMSTRUCT& item, HFONT font, Scale scale, const Palette& palette) {
    const ButtonPaint colours = ButtonPaintOf(palette, static_cast<int32_t>(item.CtlID));
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const Rgb caption_colour = pressed ? colours.pressedCaption : colours.caption;
    const Box box = {item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
                     item.rcItem.bottom - item.rcItem.top};
    FillBox(item.hDC, box, pressed ? colours.pressedFill : colours.fill);
    FrameBox(item.hDC, box, colours.outline, ScaledLine(1, scale));
    wchar_t caption[kButtonCaptionCapacity];
    caption[0] = L'\0';
    GetWindowTextW(item.hwndItem, caption, kButtonCaptionCapacity);
    // A disabled button (the preview's paging at the first or last page) has
    // its caption dimmed.
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawTextBox(item.hDC, box, caption,
                disabled ? Paint(palette, kDimmedTextPaint) : caption_colour, font, DT_CENTER);
    if (ShowsFocusMark(item)) DrawFocusMark(item.hDC, box, scale, palette, caption_colour);
}

void FillBox(HDC context, Box box, Rgb colour) {
    OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(colour)));
    const RECT rect = ToRect(box);
    FillRect(context, &rect, brush.get());
}

void FrameBox(HDC context, Box box, Rgb colour, int32_t line_width) {
    // A wider pen is centred on the outline unless it is an inside frame.
    const int style = line_width > 1 ? PS_INSIDEFRAME : PS_SOLID;
    OwnedGdiObject<HPEN> pen(CreatePen(style, line_width, ToColorRef(colour)));
    SelectionGuard pen_selection(context, pen.get());
    SelectionGuard brush_selection(context, GetStockObject(NULL_BRUSH));
    Rectangle(context, box.x, box.y, box.x + box.width, box.y + box.height);
}

void PaintMainWindow(const WindowState& state, HWND window) {
    PaintScope paint(window);
    HDC context = paint.context();
    RECT client{};
    GetClientRect(window, &client);
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top;

    FillBox(context, {0, 0, width, height}, Paint(state.palette, kPagePaint));
    PaintHeader(context, state, width);
    PaintPanels(context, state);
    // The status line is a control of its own, drawn over the footer band.
    FillBox(context, FooterBandBox(width, state.scale), Paint(state.palette, kFooterPaint));
}
