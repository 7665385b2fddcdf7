#!/usr/bin/env python3
"""Checks an "HTML Format" clipboard payload with Python's own HTML parser.

    check_clipboard_html.py PAYLOAD [EXPECTED_GRID_TSV] [--paragraphs]

PAYLOAD is the clipboard data as bytes (a trailing NUL is allowed). The header
offsets are checked against the UTF-8 bytes: StartHTML at "<html>", EndHTML at
the end of the data, StartFragment right after "<!--StartFragment-->",
EndFragment at "<!--EndFragment-->". The fragment's table rows are then printed
as tab-separated cells, one row a line (with --paragraphs, the <p> texts first,
each prefixed "P\t"). With EXPECTED_GRID_TSV (UTF-8, one row a line, cells
separated by tabs) the grid is compared row by row and cell by cell.

Exit status: 0 good, 1 grid differs, 2 payload malformed, 3 usage.
"""

import sys
from html.parser import HTMLParser

OFFSET_NAMES = ("StartHTML", "EndHTML", "StartFragment", "EndFragment")
START_MARKER = b"<!--StartFragment-->"
END_MARKER = b"<!--EndFragment-->"


class Malformed(Exception):
    pass


def read_header(data):
    """Returns the header fields as a dict of name to text."""
    fields = {}
    pos = 0
    while pos < len(data) and not data.startswith(b"<", pos):
        end = data.find(b"\r\n", pos)
        if end < 0:
            raise Malformed("header line without CR LF at byte %d" % pos)
        line = data[pos:end].decode("ascii")
        name, sep, value = line.partition(":")
        if not sep:
            raise Malformed("header line without a colon: %r" % line)
        fields[name] = value
        pos = end + 2
    return fields


def check_offsets(data):
    """Validates the header; returns (start_fragment, end_fragment)."""
    fields = read_header(data)
    if fields.get("Version") != "0.9":
        raise Malformed("Version is %r, not '0.9'" % fields.get("Version"))
    offsets = {}
    for name in OFFSET_NAMES:
        text = fields.get(name)
        if text is None or len(text) != 10 or not text.isdigit():
            raise Malformed("%s is %r, not ten digits" % (name, text))
        offsets[name] = int(text)
    body_end = len(data.rstrip(b"\0"))
    if data[offsets["StartHTML"]:offsets["StartHTML"] + 6] != b"<html>":
        raise Malformed("StartHTML %d does not point at <html>" % offsets["StartHTML"])
    if offsets["EndHTML"] != body_end:
        raise Malformed("EndHTML %d is not the end of the data (%d)" % (offsets["EndHTML"], body_end))
    start, end = offsets["StartFragment"], offsets["EndFragment"]
    if data[start - len(START_MARKER):start] != START_MARKER:
        raise Malformed("StartFragment %d is not right after %s" % (start, START_MARKER.decode()))
    if data[end:end + len(END_MARKER)] != END_MARKER:
        raise Malformed("EndFragment %d does not point at %s" % (end, END_MARKER.decode()))
    if not data[:body_end].endswith(b"</html>"):
        raise Malformed("the data does not end with </html>")
    return start, end


class GridParser(HTMLParser):
    """Collects table rows (td and th cells alike) and paragraph texts."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows = []
        self.paragraphs = []
        self.cell = None
        self.paragraph = None

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag in ("td", "th"):
            if not self.rows:
                raise Malformed("cell outside any row")
            self.cell = []
        elif tag == "p":
            self.paragraph = []

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self.cell is not None:
            self.rows[-1].append("".join(self.cell))
            self.cell = None
        elif tag == "p" and self.paragraph is not None:
            self.paragraphs.append("".join(self.paragraph))
            self.paragraph = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell.append(data)
        elif self.paragraph is not None:
            self.paragraph.append(data)


def parse_payload(data):
    start, end = check_offsets(data)
    parser = GridParser()
    parser.feed(data[start:end].decode("utf-8", errors="strict"))
    parser.close()
    return parser.rows, parser.paragraphs


def read_expected(path):
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")
    lines = text.replace("\r\n", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return [line.split("\t") for line in lines]


def compare(rows, expected):
    problems = []
    if len(rows) != len(expected):
        problems.append("%d rows, expected %d" % (len(rows), len(expected)))
    for r, (got, want) in enumerate(zip(rows, expected), start=1):
        if len(got) != len(want):
            problems.append("row %d: %d cells, expected %d" % (r, len(got), len(want)))
        for c, (g, w) in enumerate(zip(got, want), start=1):
            if g != w:
                problems.append("row %d cell %d: %r, expected %r" % (r, c, g, w))
    return problems


def main(argv):
    args = [a for a in argv[1:] if a != "--paragraphs"]
    if len(args) not in (1, 2):
        sys.stderr.write(__doc__)
        return 3
    with open(args[0], "rb") as f:
        data = f.read()
    try:
        rows, paragraphs = parse_payload(data)
    except (Malformed, UnicodeDecodeError) as e:
        print("malformed payload: %s" % e, file=sys.stderr)
        return 2
    out = sys.stdout.buffer
    if "--paragraphs" in argv:
        for p in paragraphs:
            out.write(("P\t%s\n" % p).encode("utf-8"))
    for row in rows:
        out.write(("\t".join(row) + "\n").encode("utf-8"))
    out.flush()
    if len(args) == 2:
        problems = compare(rows, read_expected(args[1]))
        for p in problems:
            print("MISMATCH %s" % p, file=sys.stderr)
        if problems:
            return 1
        print("grid matches: %d rows" % len(rows), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
