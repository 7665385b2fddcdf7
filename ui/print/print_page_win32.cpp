#include "ui/print/print_page_win32.h"

#include "ui/gdi_guards.h"

namespace {

constexpr int32_t kBrushCacheSize = 8;

bool IsBold(PrintFontRole role) {
    return role == kPrintTitleFont || role == kPrintBoldTextFont || role == kPrintBoldGridFont;
}

int32_t ToDevice(int32_t sheet, int32_t offset, const PageTransform& t) {
    return offset + static_cast<int32_t>(static_cast<int64_t>(sheet) * t.numerator / t.denominator);
}

// What drawing one page holds: its fonts and the brushes of its greys (a
// page has a handful of greys and a thousand cells), each deleted when the
// canvas goes.
struct PageCanvas {
    HDC context;
    PageTransform transform;
    OwnedGdiObject<HFONT> fonts[kPrintFontRoleCount];
    int32_t selectedFont;
    uint8_t greys[kBrushCacheSize];
    OwnedGdiObject<HBRUSH> brushes[kBrushCacheSize];
    int32_t brushCount;
};

RECT DeviceRect(const PageCanvas& canvas, Box box, bool at_least_a_pixel) {
    const PageTransform& t = canvas.transform;
    RECT rect = {ToDevice(box.x, t.x, t), ToDevice(box.y, t.y, t),
                 ToDevice(box.x + box.width, t.x, t), ToDevice(box.y + box.height, t.y, t)};
    // A rule thinner than a pixel at a small scale still shows.
    if (at_least_a_pixel && rect.right == rect.left) ++rect.right;
    if (at_least_a_pixel && rect.bottom == rect.top) ++rect.bottom;
    return rect;
}

// The page's brush of a grey, made on first use; null once the cache is full.
HBRUSH CachedBrush(PageCanvas& canvas, uint8_t grey) {
    for (int32_t i = 0; i < canvas.brushCount; ++i) {
        if (canvas.greys[i] == grey) return canvas.brushes[i].get();
    }
    if (canvas.brushCount == kBrushCacheSize) return nullptr;
    canvas.greys[canvas.brushCount] = grey;
    OwnedGdiObject<HBRUSH>& brush = canvas.brushes[canvas.brushCount++];
    brush.reset(CreateSolidBrush(RGB(grey, grey, grey)));
    return brush.get();
}

void FillItem(PageCanvas& canvas, const PrintItem& item) {
    const RECT rect = DeviceRect(canvas, item.box, true);
    if (HBRUSH cached = CachedBrush(canvas, item.grey)) {
        FillRect(canvas.context, &rect, cached);
        return;
    }
    OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(item.grey, item.grey, item.grey)));
    FillRect(canvas.context, &rect, brush.get());
}

void TextItem(PageCanvas& canvas, const PrintItem& item) {
    if (canvas.selectedFont != item.font) {
        SelectObject(canvas.context, canvas.fonts[item.font].get());
        canvas.selectedFont = item.font;
    }
    RECT rect = DeviceRect(canvas, item.box, false);
    UINT align = DT_LEFT;
    if (item.align == PrintAlign::kCentre) align = DT_CENTER;
    if (item.align == PrintAlign::kRight) align = DT_RIGHT;
    DrawTextW(canvas.context, item.text, item.length, &rect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | align);
}

void DrawItem(void* context, const PrintItem& item) {
    PageCanvas& canvas = *static_cast<PageCanvas*>(context);
    if (item.kind == PrintItemKind::kFill) {
        FillItem(canvas, item);
    } else {
        TextItem(canvas, item);
    }
}

// The page's fonts at the transform's scale. GB2312 makes the font mapper take
// a face with Chinese glyphs even where the face asked for is missing, instead
// of printing empty boxes.
void CreatePageFonts(const PrintPlan& plan, const wchar_t* face, PageCanvas& canvas) {
    const PageTransform& t = canvas.transform;
    for (int32_t role = 0; role < kPrintFontRoleCount; ++role) {
        const int32_t height = static_cast<int32_t>(static_cast<int64_t>(plan.fontHeights[role]) *
                                                    t.numerator / t.denominator);
        canvas.fonts[role].reset(
            CreateFontW(-(height > 0 ? height : 1), 0, 0, 0,
                        IsBold(static_cast<PrintFontRole>(role)) ? FW_BOLD : FW_NORMAL, FALSE,
                        FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    }
}

}  // namespace

PageGeometry PrinterPageGeometry(HDC printer) {
    PageGeometry page{};
    page.width = GetDeviceCaps(printer, PHYSICALWIDTH);
    page.height = GetDeviceCaps(printer, PHYSICALHEIGHT);
    page.printable = {GetDeviceCaps(printer, PHYSICALOFFSETX),
                      GetDeviceCaps(printer, PHYSICALOFFSETY), GetDeviceCaps(printer, HORZRES),
                      GetDeviceCaps(printer, VERTRES)};
    page.dpi = GetDeviceCaps(printer, LOGPIXELSY);
    return page;
}

PageTransform PrinterTransform(const PageGeometry& page) {
    return {1, 1, -page.printable.x, -page.printable.y};
}

void DrawPrintPage(HDC context, const PrintDocument& document, const PrintPlan& plan,
                   int32_t page_index, PageTransform transform, const wchar_t* face) {
    // The canvas outlives the saved state: its fonts are selected out before
    // they are deleted.
    PageCanvas canvas{};
    canvas.context = context;
    canvas.transform = transform;
    canvas.selectedFont = -1;
    if (canvas.transform.denominator <= 0) canvas.transform = {1, 1, transform.x, transform.y};
    CreatePageFonts(plan, face, canvas);
    const SavedContextState saved(context);
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, RGB(0, 0, 0));
    EmitPrintPage(document, plan, page_index, DrawItem, &canvas);
}
