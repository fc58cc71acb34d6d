#!/usr/bin/env python3
"""Draws the HTML editor's thirteen tag glyphs (small labelled boxes that mark where a tag
begins or ends when the editor shows its details) as GIF files, and writes the resource
script that links them into the program as type "GIF", names "IDR_<name>".

    make_glyph_gifs.py OUTPUT_DIR
"""
import os
import sys

# name: (label, width, height, closing) -- the sizes the glyph table gives each glyph.
GLYPHS = {
    "pbgn": ("P", 20, 15, False),
    "pend": ("P", 20, 15, True),
    "divbgn": ("DIV", 43, 14, False),
    "divend": ("DIV", 43, 14, True),
    "spanbgn": ("SPAN", 43, 14, False),
    "spanend": ("SPAN", 43, 14, True),
    "formbgn": ("FORM", 43, 14, False),
    "formend": ("FORM", 43, 14, True),
    "comments": ("!--", 20, 15, False),
    "br": ("BR", 20, 15, False),
    "style": ("STY", 20, 15, False),
    "clientsc": ("SCR", 20, 15, False),
    "anchorwi": ("A", 20, 15, False),
}

# A 3 x 5 font for the labels: rows top to bottom, "#" is ink.
FONT = {
    "P": ["##.", "#.#", "##.", "#..", "#.."],
    "D": ["##.", "#.#", "#.#", "#.#", "##."],
    "I": ["###", ".#.", ".#.", ".#.", "###"],
    "V": ["#.#", "#.#", "#.#", "#.#", ".#."],
    "S": [".##", "#..", ".#.", "..#", "##."],
    "A": [".#.", "#.#", "###", "#.#", "#.#"],
    "N": ["#.#", "###", "###", "###", "#.#"],
    "F": ["###", "#..", "##.", "#..", "#.."],
    "O": [".#.", "#.#", "#.#", "#.#", ".#."],
    "R": ["##.", "#.#", "##.", "#.#", "#.#"],
    "M": ["#.#", "###", "###", "#.#", "#.#"],
    "B": ["##.", "#.#", "##.", "#.#", "##."],
    "T": ["###", ".#.", ".#.", ".#.", ".#."],
    "Y": ["#.#", "#.#", ".#.", ".#.", ".#."],
    "C": [".##", "#..", "#..", "#..", ".##"],
    "/": ["..#", "..#", ".#.", "#..", "#.."],
    "!": [".#.", ".#.", ".#.", "...", ".#."],
    "-": ["...", "...", "###", "...", "..."],
}

# Colours: 0 background (white), 1 frame (grey), 2 fill (pale yellow), 3 ink (black).
PALETTE = [(255, 255, 255), (128, 128, 128), (255, 255, 204), (0, 0, 0)]


def draw(label, width, height, closing):
    pixels = [[2] * width for _ in range(height)]
    for x in range(width):
        pixels[0][x] = pixels[height - 1][x] = 1
    for y in range(height):
        pixels[y][0] = pixels[y][width - 1] = 1
    text = ("/" if closing else "") + label
    text_width = 4 * len(text) - 1
    left = max(2, (width - text_width) // 2)
    top = (height - 5) // 2
    for i, ch in enumerate(text):
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                x, y = left + 4 * i + col, top + row
                if bit == "#" and 0 < x < width - 1 and 0 < y < height - 1:
                    pixels[y][x] = 3
    return pixels


def lzw(indices):
    """LZW data of a GIF image with minimum code size 8, a clear code every 250 codes (the
    code width stays at 9 bits)."""
    clear, end = 256, 257
    codes = []
    for i, index in enumerate(indices):
        if i % 250 == 0:
            codes.append(clear)
        codes.append(index)
    codes.append(end)
    out, acc, bits = bytearray(), 0, 0
    for code in codes:
        acc |= code << bits
        bits += 9
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(pixels):
    height, width = len(pixels), len(pixels[0])
    data = bytearray(b"GIF89a")
    data += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    data += bytes([0xF1, 0, 0])  # global colour table of 4 entries
    for r, g, b in PALETTE:
        data += bytes([r, g, b])
    data += b"\x2C" + bytes(4) + width.to_bytes(2, "little") + height.to_bytes(2, "little") + b"\x00"
    data += b"\x08"  # minimum code size
    stream = lzw([index for row in pixels for index in row])
    for i in range(0, len(stream), 255):
        block = stream[i:i + 255]
        data += bytes([len(block)]) + block
    data += b"\x00\x3B"
    return bytes(data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = ["// The HTML editor's tag glyphs (made by tools/make_glyph_gifs.py).\n"]
    for name, (label, width, height, closing) in GLYPHS.items():
        with open(os.path.join(out, name + ".gif"), "wb") as f:
            f.write(gif(draw(label, width, height, closing)))
        lines.append('IDR_%s GIF "%s.gif"\n' % (name, name))
    with open(os.path.join(out, "htmledit_glyphs.rc"), "w") as f:
        f.writelines(lines)


if __name__ == "__main__":
    main()
