// The clipboard's "HTML Format" payload, written into a caller's byte buffer
// that is never overrun: the header with its byte offsets, the document, and
// the fragment between its markers. Every table the window pastes (a result's,
// a ward's month) is written through it.
#pragma once

#include <cstdint>

// The first piece that does not fit marks the payload as failed, and nothing
// more is added after it.
struct PayloadWriter {
    char* out;
    int64_t capacity;
    int64_t size;
    bool overflow;
};

void AppendMarkup(PayloadWriter& w, const char* markup);
// Text as UTF-8 with &, < and > escaped (no markup carries user text in an
// attribute, so quotes need no escaping).
void AppendEscaped(PayloadWriter& w, const wchar_t* text, int64_t length);
void AppendEscaped(PayloadWriter& w, const wchar_t* text);
void AppendCell(PayloadWriter& w, const wchar_t* text, int64_t length);
void AppendCell(PayloadWriter& w, const wchar_t* text);
void AppendHeadCell(PayloadWriter& w, const wchar_t* text);
void AppendOneCellRow(PayloadWriter& w, const wchar_t* text, int64_t length);
void AppendParagraph(PayloadWriter& w, const wchar_t* text);

// Where the header's offset fields are, and where the document and its
// fragment start, between the two calls below.
struct HtmlFrame {
    int64_t fieldPositions[4];
    int64_t startHtml;
    int64_t startFragment;
};

// Writes the header and the document up to the fragment's start marker.
void BeginHtmlPayload(PayloadWriter& w, HtmlFrame* frame);

// Closes the fragment and the document and fills in the offsets. Returns the
// payload's size, or -1 when it did not fit.
int64_t EndHtmlPayload(PayloadWriter& w, const HtmlFrame& frame);
