// Bounded text: every buffer has a capacity in characters that includes the
// terminator, is always terminated, and is cut rather than overflowed. The
// formatter here behaves the same with every C runtime, unlike swprintf, whose
// truncation and termination differ between glibc and the Windows runtimes.
#pragma once

#include <cstdarg>
#include <cstdint>

// printf-style formatting into out. Supports the flags "-+ #0", width and
// precision (also "*"), the lengths h, hh, l, ll, z, j, t (h and hh narrow an
// integer to short and char, as printf does), and the conversions
// d i u o x X c s f F e E g G a A %. "%ls" and "%s" in a wide format both take
// wchar_t text here ("%hs" takes char text); "%c" takes a character code.
// Returns the number of characters written when the whole text fit, or -1 when
// it was cut (the cut text is still written and terminated) or the capacity
// is below 1 (nothing is written).
int32_t FormatText(wchar_t* out, int32_t capacity, const wchar_t* format, ...);
int32_t FormatTextV(wchar_t* out, int32_t capacity, const wchar_t* format, va_list args);

// Length of a terminated text, looking at no more than capacity characters.
int32_t BoundedLength(const wchar_t* text, int32_t capacity);

// Where wchar_t is a UTF-16 unit (Windows), a character beyond the Basic
// Multilingual Plane takes two units, and a cut between them would leave half a
// character that no reader can show. Every cut here therefore ends before such
// a pair rather than inside it. Where a wchar_t holds a whole character no cut
// can split one.
inline bool IsSurrogatePair(wchar_t first, wchar_t second) {
    if constexpr (sizeof(wchar_t) != 2) return false;
    return first >= 0xD800 && first <= 0xDBFF && second >= 0xDC00 && second <= 0xDFFF;
}

// Length of the text's first max_length characters at most: its whole length
// when shorter, else max_length, or one less where that would split a pair.
int32_t CutLength(const wchar_t* text, int32_t max_length);

// Texts that may be null (optional fields of a tool definition): null reads as
// the empty text.
inline const wchar_t* OrEmpty(const wchar_t* text) {
    return text != nullptr ? text : L"";
}
inline bool HasText(const wchar_t* text) {
    return text != nullptr && text[0] != L'\0';
}
inline int32_t TextLength(const wchar_t* text) {
    return BoundedLength(text, INT32_MAX);
}

// Appends piece (its first piece_length characters, or all of it when
// piece_length is negative) while the length is below capacity - 1, and then
// at most capacity - 1 - length characters of it, one less where the cut would
// split a surrogate pair. Returns the new length.
int32_t AppendText(wchar_t* buffer, int32_t capacity, const wchar_t* piece,
                   int32_t piece_length = -1);

// Copies src (null counts as empty) into dst, cut to capacity - 1 characters.
void CopyText(wchar_t* dst, int32_t capacity, const wchar_t* src);

// Empties a buffer (when it has any room at all).
inline void ClearText(wchar_t* buffer, int32_t capacity) {
    if (buffer != nullptr && capacity > 0) buffer[0] = L'\0';
}

// Widens ASCII text into dst, cut to capacity - 1 characters.
void WidenAscii(wchar_t* dst, int32_t capacity, const char* src);
