#!/usr/bin/env python3
"""Reads the report page the launcher end-to-end test kept with Python's HTML
parser: one well-formed page naming both tests, their results and sub-results,
the model name, the failing test's log lines, and a fault map of 50 points of a
1024x768 picture, scaled, with the first 20 in its table."""
import sys
from html.parser import HTMLParser

VOID = {"meta", "br", "img", "hr", "input", "link", "col", "area", "base", "wbr", "source", "track"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open, self.errors = [], []
        self.tables, self.table = {}, None
        self.row, self.cell = None, None
        self.pre, self.circles, self.svg = [], [], None
        self.text = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag not in VOID:
            self.open.append(tag)
        if tag == "table":
            self.table = a.get("class", "")
            self.tables.setdefault(self.table, [])
        elif tag == "tr" and self.table is not None:
            self.row = []
        elif tag in ("td", "th") and self.row is not None:
            self.cell = []
        elif tag == "br" and self.cell is not None:
            self.cell.append(" ")
        elif tag == "pre":
            self.pre.append("")
        elif tag == "svg":
            self.svg = (float(a["width"]), float(a["height"]))
        elif tag == "circle" and a.get("class") == "fp":
            self.circles.append((float(a["cx"]), float(a["cy"])))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.handle_endtag(tag)

    def handle_endtag(self, tag):
        if not self.open or self.open[-1] != tag:
            self.errors.append(f"</{tag}> closes {self.open[-1] if self.open else 'nothing'}")
            return
        self.open.pop()
        if tag in ("td", "th") and self.cell is not None:
            self.row.append(" ".join("".join(self.cell).split()))
            self.cell = None
        elif tag == "tr" and self.row is not None:
            self.tables[self.table].append(self.row)
            self.row = None
        elif tag == "table":
            self.table = None

    def handle_data(self, data):
        self.text.append(data)
        if self.cell is not None:
            self.cell.append(data)
        if "pre" in self.open:
            self.pre[-1] += data


def fail(message):
    print(f"report: {message}", file=sys.stderr)
    sys.exit(1)


folder = sys.argv[1]
page = Page()
page.feed(open(f"{folder}/report.html", encoding="utf-8", errors="strict").read())
page.close()
if page.errors or page.open:
    fail(f"not well-formed: {page.errors} open {page.open}")
model = open(f"{folder}/report_log.txt", encoding="utf-16").read().split("\n")[2].strip()
text = "".join(page.text)
for part in ("FAIL", model):
    if part not in text:
        fail(f"{part!r} missing")
tests = [row[:2] + row[4:] for row in page.tables["tests"][1:]]
if tests != [["Scripted", "Pass", "Test 1: Pass"], ["Second", "Fail", "Test 1: Pass Test 2: Fail"]]:
    fail(f"test rows {tests}")
if not any('<second> & "failing" module' in pre for pre in page.pre):
    fail(f"the failing test's log lines are missing: {page.pre}")
if any("passing module" in pre for pre in page.pre):
    fail("a passing test's log lines are shown")
# The scripted module's points: x = 97 i mod 1024, y = 61 i mod 768.
# Drawn at most 640 x 400, keeping the picture's shape; positions to a tenth.
scale = min(640 / 1024, 400 / 768)
expected = [((97 * i % 1024 + 0.5) * scale, (61 * i % 768 + 0.5) * scale) for i in range(50)]
if abs(page.svg[0] - 1024 * scale) > 0.051 or abs(page.svg[1] - 768 * scale) > 0.051 or len(page.circles) != 50 or any(
        abs(x - ex) > 0.051 or abs(y - ey) > 0.051 for (x, y), (ex, ey) in zip(page.circles, expected)):
    fail(f"fault map {page.svg} {page.circles[:3]}...")
points = page.tables["points"][1:]
if [row[:2] for row in points] != [[str(97 * i % 1024), str(61 * i % 768)] for i in range(20)]:
    fail(f"point table {points}")
print(f"report: well-formed, {len(tests)} tests, {len(page.circles)} fault points, {len(points)} in the table")
