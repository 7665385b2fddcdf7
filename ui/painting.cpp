#include "ui/painting.h"

#include "engine/bounded_text.h"
#include "ui/gdi_guards.h"
#include "ui/main_window.h"
#include "ui/shell_text.h"

namespace {

RECT ToRect(Box box) {
    return {box.x, box.y, box.x + box.width, box.y + box.height};
}

void PaintHeader(HDC context, const WindowState& state, int32_t width) {
    const Scale scale = state.scale;
    FillBox(context, HeaderBandBox(width, scale), kHeaderColour);
    FillBox(context, Scaled(kAccentStripeBox, scale), kAccentColour);
    DrawTextBox(context, Scaled(kToolNameBox, scale), state.tool->name, kWhite,
                state.fonts[kTitleFont], 0);
    wchar_t caption[kCaptionLineCapacity];
    BuildCaptionLine(*state.tool, caption, kCaptionLineCapacity);
    DrawTextBox(context, Scaled(kCaptionLineBox, scale), caption, kCaptionColour,
                state.fonts[kCaptionFont], 0);
    wchar_t address[64];
    CopyText(address, 64, kWebAddress);
    DrawTextBox(context, WebAddressBox(width, scale), address, kLinkColour, state.fonts[kSmallFont],
                DT_RIGHT);
}

void PaintPanel(HDC context, Box design_panel, Scale scale) {
    const Box panel = Scaled(design_panel, scale);
    FillBox(context, panel, kWhite);
    FrameBox(context, panel, kPanelOutlineColour, ScaledLine(1, scale));
}

void PaintPanels(HDC context, const WindowState& state) {
    const Scale scale = state.scale;
    PaintPanel(context, kParamPanelBox, scale);
    PaintPanel(context, kResultPanelBox, scale);
    DrawTextBox(context, Scaled(kParamTitleBox, scale), kParamPanelTitle, kHeaderColour,
                state.fonts[kCaptionFont], 0);
    DrawTextBox(context, Scaled(kResultTitleBox, scale), kResultPanelTitle, kHeaderColour,
                state.fonts[kCaptionFont], 0);
    FillBox(context, Scaled(kParamTitleRuleBox, scale), kTitleRuleColour);
    FillBox(context, Scaled(kResultTitleRuleBox, scale), kTitleRuleColour);
}

void PaintFooter(HDC context, const WindowState& state, int32_t width) {
    FillBox(context, FooterBandBox(width, state.scale), kFooterColour);
    DrawTextBox(context, Scaled(kStatusBox, state.scale), state.statusText, kStatusColour,
                state.fonts[kSmallFont], DT_RIGHT);
}

}  // namespace

void DrawTextBox(HDC context, Box box, const wchar_t* text, Rgb colour, HFONT font,
                 UINT extra_flags) {
    SelectionGuard font_selection(context, font);
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, ToColorRef(colour));
    RECT rect = ToRect(box);
    DrawTextW(context, text, -1, &rect,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX | extra_flags);
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

    FillBox(context, {0, 0, width, height}, kPageColour);
    PaintHeader(context, state, width);
    PaintPanels(context, state);
    PaintFooter(context, state, width);
}
