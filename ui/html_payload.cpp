#include "ui/html_payload.h"

#include "engine/bounded_text.h"
#include "platform/utf8.h"

namespace {

// The offsets are written "%010d": ten decimal digits.
constexpr int32_t kOffsetDigits = 10;
constexpr int64_t kLargestOffset = 9999999999;

struct Entity {
    wchar_t character;
    const char* text;
};

// No user text stands in an attribute, so quotes need no escaping.
constexpr Entity kEntities[] = {{L'&', "&amp;"}, {L'<', "&lt;"}, {L'>', "&gt;"}};

void AppendBytes(PayloadWriter& w, const char* bytes, int64_t count) {
    if (w.overflow) return;
    if (count > w.capacity - w.size) {
        w.overflow = true;
        return;
    }
    for (int64_t i = 0; i < count; ++i) {
        w.out[w.size + i] = bytes[i];
    }
    w.size += count;
}

int64_t AsciiLength(const char* text) {
    int64_t n = 0;
    while (text[n] != '\0')
        ++n;
    return n;
}

void AppendUtf8(PayloadWriter& w, const wchar_t* text, int64_t length) {
    if (w.overflow || length <= 0) return;
    const int64_t written = WideToUtf8(text, length, w.out + w.size, w.capacity - w.size);
    if (written < 0) {
        w.overflow = true;
        return;
    }
    w.size += written;
}

const char* EntityFor(wchar_t c) {
    for (const Entity& entity : kEntities) {
        if (entity.character == c) return entity.text;
    }
    return nullptr;
}

}  // namespace

void AppendMarkup(PayloadWriter& w, const char* markup) {
    AppendBytes(w, markup, AsciiLength(markup));
}

// The escaped characters are ASCII, so the runs between them never split a
// surrogate pair.
void AppendEscaped(PayloadWriter& w, const wchar_t* text, int64_t length) {
    int64_t run_start = 0;
    for (int64_t i = 0; i < length; ++i) {
        const char* entity = EntityFor(text[i]);
        if (entity == nullptr) continue;
        AppendUtf8(w, text + run_start, i - run_start);
        AppendMarkup(w, entity);
        run_start = i + 1;
    }
    AppendUtf8(w, text + run_start, length - run_start);
}

void AppendEscaped(PayloadWriter& w, const wchar_t* text) {
    AppendEscaped(w, text, TextLength(text));
}

void AppendCell(PayloadWriter& w, const wchar_t* text, int64_t length) {
    AppendMarkup(w, "<td>");
    AppendEscaped(w, text, length);
    AppendMarkup(w, "</td>");
}

void AppendCell(PayloadWriter& w, const wchar_t* text) {
    AppendCell(w, text, TextLength(text));
}

void AppendHeadCell(PayloadWriter& w, const wchar_t* text) {
    AppendMarkup(w, "<th>");
    AppendEscaped(w, text);
    AppendMarkup(w, "</th>");
}

void AppendOneCellRow(PayloadWriter& w, const wchar_t* text, int64_t length) {
    AppendMarkup(w, "<tr>");
    AppendCell(w, text, length);
    AppendMarkup(w, "</tr>\r\n");
}

void AppendParagraph(PayloadWriter& w, const wchar_t* text) {
    AppendMarkup(w, "<p>");
    AppendEscaped(w, text);
    AppendMarkup(w, "</p>\r\n");
}

namespace {

struct HeaderOffsets {
    int64_t startHtml;
    int64_t endHtml;
    int64_t startFragment;
    int64_t endFragment;
};

constexpr const char* kOffsetNames[] = {"StartHTML:", "EndHTML:", "StartFragment:", "EndFragment:"};
constexpr int32_t kOffsetCount = 4;

// Writes the header with zeros in the offset fields; returns where each field is.
void AppendHeader(PayloadWriter& w, int64_t* field_positions) {
    AppendMarkup(w, "Version:0.9\r\n");
    for (int32_t k = 0; k < kOffsetCount; ++k) {
        AppendMarkup(w, kOffsetNames[k]);
        field_positions[k] = w.size;
        AppendMarkup(w, "0000000000\r\n");
    }
}

void WriteOffset(char* field, int64_t value) {
    for (int32_t i = kOffsetDigits - 1; i >= 0; --i) {
        field[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

void FillHeader(PayloadWriter& w, const int64_t* field_positions, const HeaderOffsets& offsets) {
    const int64_t values[kOffsetCount] = {offsets.startHtml, offsets.endHtml, offsets.startFragment,
                                          offsets.endFragment};
    for (int32_t k = 0; k < kOffsetCount; ++k) {
        WriteOffset(w.out + field_positions[k], values[k]);
    }
}

}  // namespace

void BeginHtmlPayload(PayloadWriter& w, HtmlFrame* frame) {
    AppendHeader(w, frame->fieldPositions);
    frame->startHtml = w.size;
    AppendMarkup(w, "<html><body>\r\n<!--StartFragment-->");
    frame->startFragment = w.size;
}

int64_t EndHtmlPayload(PayloadWriter& w, const HtmlFrame& frame) {
    HeaderOffsets offsets{frame.startHtml, 0, frame.startFragment, w.size};
    AppendMarkup(w, "<!--EndFragment-->\r\n</body></html>");
    offsets.endHtml = w.size;
    if (w.overflow || offsets.endHtml > kLargestOffset) return -1;
    FillHeader(w, frame.fieldPositions, offsets);
    return w.size;
}
