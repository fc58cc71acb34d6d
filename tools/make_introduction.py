#!/usr/bin/env python3
"""Makes the first-start introduction "首次启动介绍.liu": a clipboard snapshot stream (the
byte 0x01, one record per format, the byte 0x00) holding an HTML text of ours as
"HTML Format", with its plain text as Unicode and as code page 936 text, the way a copy from
a browser leaves them on the clipboard.

    make_introduction.py INTRODUCTION.html OUTPUT.liu
"""
import html.parser
import os
import sys

CF_TEXT, CF_UNICODETEXT = 1, 13
HTML_FORMAT_ID = 0xC0FE  # a registered format's number; the name is what counts on reading


def tagged_int(value):
    if -128 <= value <= 127:
        return bytes([0x02]) + value.to_bytes(1, "little", signed=True)
    if -32768 <= value <= 32767:
        return bytes([0x03]) + value.to_bytes(2, "little", signed=True)
    return bytes([0x04]) + value.to_bytes(4, "little", signed=True)


def tagged_string(name):
    raw = name.encode("ascii")
    if len(raw) <= 255:
        return bytes([0x06, len(raw)]) + raw
    return bytes([0x0C]) + len(raw).to_bytes(4, "little") + raw


def record(format_id, name, data):
    return tagged_int(format_id) + tagged_string(name) + tagged_int(len(data)) + data


def cf_html(fragment):
    """An "HTML Format" block: the header's offsets count bytes of the UTF-8 text."""
    before = "<html><body>\r\n<!--StartFragment-->"
    after = "<!--EndFragment-->\r\n</body>\r\n</html>"
    template = ("Version:0.9\r\nStartHTML:%010d\r\nEndHTML:%010d\r\n"
                "StartFragment:%010d\r\nEndFragment:%010d\r\n")
    header_size = len(template % (0, 0, 0, 0))
    body = fragment.encode("utf-8")
    start_html = header_size
    start_fragment = start_html + len(before.encode("utf-8"))
    end_fragment = start_fragment + len(body)
    end_html = end_fragment + len(after.encode("utf-8"))
    text = template % (start_html, end_html, start_fragment, end_fragment)
    return text.encode("ascii") + before.encode("utf-8") + body + after.encode("utf-8")


class PlainText(html.parser.HTMLParser):
    """The text a browser's copy gives: blocks and rows on lines of their own, cells apart."""
    BLOCKS = {"p", "h1", "h2", "h3", "h4", "h5", "h6", "li", "tr", "table", "ul", "ol", "div"}

    def __init__(self):
        super().__init__()
        self.parts = []

    def newline(self):
        if self.parts and not self.parts[-1].endswith("\r\n"):
            self.parts.append("\r\n")

    def handle_starttag(self, tag, attrs):
        if tag in self.BLOCKS or tag == "br":
            self.newline()
        elif tag in ("td", "th") and self.parts and not self.parts[-1].endswith("\r\n"):
            self.parts.append("\t")

    def handle_endtag(self, tag):
        if tag in self.BLOCKS:
            self.newline()

    def handle_data(self, data):
        text = " ".join(data.split())
        if text:
            self.parts.append(text)

    def text(self):
        return "".join(self.parts).strip("\r\n")


def main():
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        fragment = f.read().strip()
    parser = PlainText()
    parser.feed(fragment)
    text = parser.text()
    stream = bytes([0x01])
    stream += record(HTML_FORMAT_ID, "HTML Format", cf_html(fragment) + b"\0")
    stream += record(CF_UNICODETEXT, "", text.encode("utf-16-le") + b"\0\0")
    stream += record(CF_TEXT, "", text.encode("gbk") + b"\0")
    stream += bytes([0x00])
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output + ".tmp", "wb") as f:
        f.write(stream)
    os.replace(output + ".tmp", output)


if __name__ == "__main__":
    main()
