#!/usr/bin/env python3
"""Checks the HTML manual: every relative link leads to a file and, when it
names an anchor, to an id on that page; no page loads anything from the
internet or runs scripts; ids are unique per page and the pages declare UTF-8.
Exits 1 and lists every fault."""
import sys
from html.parser import HTMLParser
from pathlib import Path
from urllib.parse import urlsplit, unquote

VOID = {"br", "hr", "img", "meta", "link", "input", "col", "area", "base", "wbr"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.ids, self.links, self.faults, self.stack = [], [], [], []
        self.charset = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag not in VOID:
            self.stack.append((tag, self.getpos()[0]))
        if "id" in a:
            self.ids.append(a["id"])
        if tag == "a" and "name" in a:
            self.ids.append(a["name"])
        if tag == "meta" and a.get("charset", "").lower() == "utf-8":
            self.charset = True
        if tag == "script":
            self.faults.append("script element")
        for key in ("href", "src"):
            if key in a:
                self.links.append((a[key], self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID and self.stack and self.stack[-1][0] == tag:
            self.stack.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        # p and li may stay open in HTML; every other element is closed explicitly.
        while self.stack and self.stack[-1][0] in ("p", "li") and self.stack[-1][0] != tag:
            self.stack.pop()
        if not self.stack or self.stack[-1][0] != tag:
            self.faults.append(f"line {self.getpos()[0]}: </{tag}> closes nothing open")
            return
        self.stack.pop()


def parse(path):
    page = Page()
    page.feed(path.read_text(encoding="utf-8"))
    page.close()
    return page


def check(root):
    faults = []
    pages = {p.resolve(): parse(p) for p in sorted(root.rglob("*.html"))}
    if not pages:
        return [f"{root}: no pages"]
    for path, page in pages.items():
        name = path.relative_to(root.resolve())
        faults += [f"{name}: {f}" for f in page.faults]
        if not page.charset:
            faults.append(f"{name}: no <meta charset=\"utf-8\">")
        left = [t for t, _ in page.stack if t not in ("p", "li")]
        if left:
            faults.append(f"{name}: elements left open: {left}")
        dupes = {i for i in page.ids if page.ids.count(i) > 1}
        if dupes:
            faults.append(f"{name}: ids used twice: {sorted(dupes)}")
        for link, line in page.links:
            parts = urlsplit(link)
            if parts.scheme or parts.netloc:
                faults.append(f"{name}:{line}: external link {link}")
                continue
            target = (path.parent / unquote(parts.path)).resolve() if parts.path else path
            if not target.is_file():
                faults.append(f"{name}:{line}: broken link {link}")
                continue
            if root.resolve() not in target.parents:
                faults.append(f"{name}:{line}: link leaves the manual: {link}")
                continue
            if parts.fragment:
                ids = pages[target].ids if target in pages else []
                if unquote(parts.fragment) not in ids:
                    faults.append(f"{name}:{line}: no anchor #{parts.fragment} in {target.name}")
    return faults


def main():
    if len(sys.argv) != 2:
        print("usage: check_links.py MANUAL_FOLDER", file=sys.stderr)
        return 2
    faults = check(Path(sys.argv[1]))
    for f in faults:
        print(f)
    print(f"{len(faults)} fault(s)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
