#!/usr/bin/env python3
"""Writes the program's thirteen skins into data/皮肤: for each skin an INI text and its
bitmaps, drawn from the parameters in SKINS below, packed by the native skin packer
(tools/skin_pack.cpp). Everything is integer arithmetic in a fixed order, so running it
again gives identical bytes.

    tools/make_skins.py [--packer PATH] [--out DIR]   write the skins
    tools/make_skins.py --check [--packer PATH]       regenerate into a scratch folder and
                                                      compare with data/皮肤 (exit 1 on a difference)
"""
import argparse
import filecmp
import struct
import subprocess
import sys
import tempfile
from dataclasses import dataclass, field
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


# ---------------------------------------------------------------- the parameters

@dataclass
class Skin:
    file: str                # file name in data/皮肤
    name: str                # SkinName, the skins menu's row
    version: int             # archive version (all six occur)
    caption: tuple           # active caption: colour at the top, colour at the bottom
    inactive: tuple          # inactive caption, the same way
    face: tuple              # ButtonFace: dialogs and controls
    accent: tuple            # push buttons, progress bar, selected menu rows
    title_text: tuple        # active caption text
    text: tuple = (0, 0, 0)  # window and button text
    border: int = 4          # left, right and bottom frame thickness
    caption_height: int = 26
    corner: int = 0          # radius of the rounded top corners; 0 = square, not shaped
    style: str = "gradient"  # caption look: "gradient", "glossy" or "flat"
    align: int = 0           # TextAlignment: 0 left, 1 centred, 2 right
    button_frames: int = 6   # caption-button frames: 6, 3 (said in the INI) or "narrow" 3 (derived)
    narrow_buttons: bool = False
    text_back: bool = False  # a text-background image behind the caption text
    check_frames: int = 4    # 4, or 12 (the 12-state check box)
    capitals: bool = False   # entry names written in capitals
    menu_images: bool = True # "MenuItem" and "MenuBackground"
    bits: int = 24           # bits a pixel of the bitmaps
    trans_key: bool = True   # write the borders' Trans keys (their default is 1)
    mdi: bool = False        # "MDICONTROLS"
    chunk: bool = False      # "Progress.Chunk"
    font_height: int = 14


SKINS = [
    Skin("mxskin2.skn", "新式绿皮", 20000, ((92, 172, 88), (34, 118, 46)), ((168, 200, 164), (128, 164, 126)),
         (230, 241, 228), (64, 150, 72), WHITE, border=4, caption_height=26, corner=6, style="glossy", mdi=True),
    Skin("mxskin9.skn", "淡黄", 30000, ((246, 228, 150), (222, 192, 96)), ((240, 232, 200), (222, 212, 172)),
         (252, 248, 230), (214, 178, 72), (90, 60, 10), text=(70, 50, 10), border=5, caption_height=24,
         style="gradient", menu_images=False, button_frames=3),
    Skin("mxskin39.skn", "酷兰", 40000, ((84, 148, 232), (18, 70, 172)), ((150, 176, 214), (112, 138, 182)),
         (226, 236, 250), (40, 110, 210), WHITE, border=4, caption_height=28, corner=8, style="glossy",
         check_frames=12, chunk=True),
    Skin("mxskin17.skn", "雅白", 50000, ((252, 252, 252), (226, 226, 232)), ((244, 244, 244), (232, 232, 232)),
         (246, 246, 246), (150, 150, 160), (50, 50, 60), text=(40, 40, 48), border=3, caption_height=24,
         style="flat", align=1, narrow_buttons=True, button_frames=3, bits=32),
    Skin("蓝色office_office2003.skn", "蓝色office", 60000, ((96, 144, 222), (10, 62, 150)),
         ((168, 190, 226), (132, 154, 196)), (221, 236, 254), (250, 196, 94), WHITE, border=4,
         caption_height=27, style="gradient", mdi=True, chunk=True),
    Skin("白苍色酷_Skin42.skn", "白苍色酷", 70000, ((132, 156, 168), (72, 94, 106)), ((196, 204, 208), (168, 176, 180)),
         (248, 249, 250), (96, 125, 139), WHITE, border=5, caption_height=28, corner=7, style="glossy",
         capitals=True, trans_key=False),
    Skin("白靛青酷_Skin30.skn", "白靛青酷", 20000, ((86, 104, 196), (40, 53, 147)), ((176, 182, 214), (148, 154, 190)),
         (250, 250, 252), (63, 81, 181), WHITE, border=4, caption_height=26, corner=5, style="glossy", align=1),
    Skin("白琥珀酷_Skin44.skn", "白琥珀酷", 30000, ((255, 210, 72), (246, 156, 0)), ((250, 226, 168), (236, 204, 140)),
         (252, 251, 248), (255, 171, 0), (70, 40, 0), text=(50, 36, 10), border=4, caption_height=27, corner=6,
         style="glossy", bits=32, button_frames=3),
    Skin("白黄酷_Skin54.skn", "白黄酷", 40000, ((255, 240, 96), (246, 200, 44)), ((250, 244, 190), (238, 226, 160)),
         (252, 252, 246), (240, 196, 40), (60, 50, 0), text=(50, 44, 10), border=5, caption_height=25,
         style="gradient", align=2),
    Skin("白兰酷_Skin59.skn", "白兰酷", 50000, ((118, 190, 248), (30, 136, 229)), ((186, 214, 240), (156, 190, 222)),
         (249, 251, 254), (30, 136, 229), WHITE, border=4, caption_height=27, corner=8, style="glossy", mdi=True),
    Skin("白兰黄酷_Skin83.skn", "白兰黄酷", 60000, ((52, 160, 244), (21, 101, 192)), ((176, 204, 232), (146, 176, 210)),
         (250, 251, 253), (255, 202, 40), (40, 30, 0), text=(20, 30, 50), border=5, caption_height=28, corner=6,
         style="glossy", text_back=True, check_frames=12),
    Skin("白亮绿_Skin48.skn", "白亮绿", 70000, ((150, 240, 70), (92, 196, 20)), ((206, 236, 178), (180, 214, 152)),
         (250, 253, 247), (100, 200, 30), (20, 50, 0), text=(24, 40, 12), border=3, caption_height=24, corner=4,
         style="gradient", align=1, chunk=True),
    Skin("白绿酷_Skin73.skn", "白绿酷", 50000, ((110, 190, 114), (52, 138, 58)), ((186, 214, 188), (160, 190, 162)),
         (248, 251, 248), (67, 160, 71), WHITE, border=4, caption_height=26, corner=7, style="glossy",
         button_frames=3),
]


# ---------------------------------------------------------------- pictures

def mix(a, b, num, den):
    """a + (b - a) * num / den per channel, rounded half up (integers only)."""
    return tuple((x * (den - num) + y * num + den // 2) // den for x, y in zip(a, b))


def darker(c, num=3, den=4):
    return tuple(x * num // den for x in c)


def lighter(c, num=1, den=2):
    return mix(c, WHITE, num, den)


def luminance(c):
    return (c[0] * 299 + c[1] * 587 + c[2] * 114) // 1000


class Picture:
    def __init__(self, w, h, fill=BLACK):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def get(self, x, y):
        return self.px[y * self.w + x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(y0, 0), min(y1, self.h)):
            for x in range(max(x0, 0), min(x1, self.w)):
                self.px[y * self.w + x] = c

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.set(x, y0, c)
            self.set(x, y1 - 1, c)
        for y in range(y0, y1):
            self.set(x0, y, c)
            self.set(x1 - 1, y, c)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        span = max(y1 - y0 - 1, 1)
        for y in range(y0, y1):
            self.rect(x0, y, x1, y + 1, mix(top, bottom, y - y0, span))

    def hgradient(self, x0, y0, x1, y1, left, right):
        span = max(x1 - x0 - 1, 1)
        for x in range(x0, x1):
            self.rect(x, y0, x + 1, y1, mix(left, right, x - x0, span))

    def blit(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.set(x0 + x, y0 + y, other.get(x, y))

    def stamp(self, pattern, x0, y0, c):
        """Draws the '#' cells of a text pattern."""
        for y, row in enumerate(pattern):
            for x, cell in enumerate(row):
                if cell == "#":
                    self.set(x0 + x, y0 + y, c)

    def round_corners(self, x0, y0, x1, y1, r, c, top=True, bottom=True):
        """Paints c outside a rounded rectangle's corners of radius r."""
        if r <= 0:
            return
        for dy in range(r):
            for dx in range(r):
                # Outside the quarter circle centred r units in from the corner.
                ox, oy = r - dx, r - dy
                if (ox * 2 - 1) ** 2 + (oy * 2 - 1) ** 2 > (2 * r) ** 2:
                    if top:
                        self.set(x0 + dx, y0 + dy, c)
                        self.set(x1 - 1 - dx, y0 + dy, c)
                    if bottom:
                        self.set(x0 + dx, y1 - 1 - dy, c)
                        self.set(x1 - 1 - dx, y1 - 1 - dy, c)

    def replace(self, old, rows):
        """Pixels of colour old take the colour of their row (rows[y])."""
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y * self.w + x] == old:
                    self.px[y * self.w + x] = rows[y]

    def bmp(self, bits):
        """The picture as a Windows bitmap file: bottom-up rows, uncompressed."""
        pixel = 3 if bits == 24 else 4
        stride = (self.w * pixel + 3) // 4 * 4
        rows = []
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for x in range(self.w):
                r, g, b = self.get(x, y)
                row += bytes((b, g, r)) if pixel == 3 else bytes((b, g, r, 0))
            row += bytes(stride - len(row))
            rows.append(bytes(row))
        data = b"".join(rows)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, bits, 0, len(data), 2835, 2835, 0, 0)
        head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
        return head + info + data


def side_by_side(frames):
    w = sum(f.w for f in frames)
    out = Picture(w, frames[0].h)
    x = 0
    for f in frames:
        out.blit(f, x, 0)
        x += f.w
    return out


def stacked(frames):
    out = Picture(frames[0].w, sum(f.h for f in frames))
    y = 0
    for f in frames:
        out.blit(f, 0, y)
        y += f.h
    return out


# Glyphs of the caption buttons (9 x 9) and the arrows.
GLYPHS = {
    "close": ["##     ##", "###   ###", " ### ### ", "  #####  ", "   ###   ", "  #####  ", " ### ### ",
              "###   ###", "##     ##"],
    "max": ["#########", "#########", "#       #", "#       #", "#       #", "#       #", "#       #",
            "#       #", "#########"],
    "restore": ["  #######", "  #######", "  #     #", "####### #", "####### #", "#     ###", "#     #  ",
                "#     #  ", "#######  "],
    "min": ["         ", "         ", "         ", "         ", "         ", "         ", "         ",
            " ####### ", " ####### "],
}
# The same at 7 x 7, for narrow buttons and the MDI buttons.
SMALL_GLYPHS = {
    "close": ["#     #", "##   ##", " ## ## ", "  ###  ", " ## ## ", "##   ##", "#     #"],
    "max": ["#######", "#######", "#     #", "#     #", "#     #", "#     #", "#######"],
    "restore": ["  #####", "  #####", "##### #", "##### #", "#   ###", "#   #  ", "#####  "],
    "min": ["       ", "       ", "       ", "       ", "       ", " ##### ", " ##### "],
}
ARROW_UP = ["   #   ", "  ###  ", " ##### ", "#######"]
CHECK = ["      #", "     ##", "#   ## ", "## ##  ", " ###   ", "  #    "]


def caption_row_colours(skin, active, height):
    """The caption strip's colour per row, as the top border draws it."""
    top, bottom = skin.caption if active else skin.inactive
    rows = []
    for y in range(height):
        if skin.style == "flat":
            rows.append(mix(top, bottom, y, max(height - 1, 1)) if y > height - 4 else top)
        elif skin.style == "glossy":
            half = height * 9 // 20
            rows.append(mix(lighter(top, 2, 5), top, y, half) if y < half
                        else mix(top, bottom, y - half, max(height - 1 - half, 1)))
        else:
            rows.append(mix(top, bottom, y, max(height - 1, 1)))
    return rows


def draw_top(skin, active, width):
    h = skin.caption_height
    pic = Picture(width, h)
    rows = caption_row_colours(skin, active, h)
    for y, c in enumerate(rows):
        pic.rect(0, y, width, y + 1, c)
    edge = darker((skin.caption if active else skin.inactive)[1], 2, 3)
    pic.frame(0, 0, width, h + 1, edge)                      # outline (open at the bottom)
    for x in range(1, width - 1):                            # a light line under the outline
        pic.set(x, 1, lighter(rows[1], 1, 3))
    pic.rect(skin.border, h - 1, width - skin.border, h, darker(rows[-1], 4, 5))
    if skin.corner:
        pic.round_corners(0, 0, width, h, skin.corner, MAGENTA, bottom=False)
    return pic


def draw_side(skin, active, height, mirrored):
    w = skin.border
    bottom = (skin.caption if active else skin.inactive)[1]
    pic = Picture(w, height)
    for x in range(w):
        # Outline outside, a highlight, then the frame colour fading towards the client area.
        c = darker(bottom, 2, 3) if x == 0 else lighter(bottom, 1, 3) if x == 1 else mix(bottom, skin.face, x - 1, w)
        pic.rect(w - 1 - x if mirrored else x, 0, (w - 1 - x if mirrored else x) + 1, height, c)
    return pic


def draw_bottom(skin, active, width):
    h = skin.border
    bottom = (skin.caption if active else skin.inactive)[1]
    pic = Picture(width, h)
    for y in range(h):
        c = darker(bottom, 2, 3) if y == h - 1 else lighter(bottom, 1, 3) if y == h - 2 else mix(skin.face, bottom, y + 1, h)
        pic.rect(0, y, width, y + 1, c)
    # The corners continue the side pieces.
    for x in range(h):
        for y in range(h):
            edge = min(x, width - 1 - x)
            if edge < h and edge <= h - 1 - y:
                c = darker(bottom, 2, 3) if edge == 0 or y == h - 1 else lighter(bottom, 1, 3) if edge == 1 else mix(bottom, skin.face, edge - 1, h)
                pic.set(x, y, c)
                pic.set(width - 1 - x, y, c)
    return pic


def button_size(skin):
    if skin.narrow_buttons:
        return 11, skin.caption_height - 8
    side = skin.caption_height - 9
    return side + 2, side


def draw_caption_button(skin, kind, frames):
    """Frames: 1 normal, 2 pressed, 3 hot, then (six-frame buttons) 4 inactive, 5 inactive hot, 6 inactive pressed."""
    bw, bh = button_size(skin)
    top = (skin.caption_height - bh) // 2
    states = [("normal", True), ("pressed", True), ("hot", True)]
    if frames == 6:
        states += [("normal", False), ("hot", False), ("pressed", False)]
    pics = []
    for state, active in states:
        rows = caption_row_colours(skin, active, skin.caption_height)
        if frames == 3:
            # Drawn over both looks: corners in between the active and inactive caption.
            other = caption_row_colours(skin, False, skin.caption_height)
            rows = [mix(a, b, 1, 2) for a, b in zip(rows, other)]
        pic = Picture(bw, bh)
        for y in range(bh):
            pic.rect(0, y, bw, y + 1, rows[top + y])
        base = skin.caption[1] if active else skin.inactive[1]
        fill = {"normal": lighter(base, 1, 4), "hot": lighter(base, 1, 2), "pressed": darker(base, 4, 5)}[state]
        if kind == "close" and state != "normal":
            fill = (220, 60, 50) if state == "hot" else (170, 30, 25)
        body = Picture(bw, bh, fill)
        body.vgradient(1, 1, bw - 1, bh - 1, lighter(fill, 1, 3), fill)
        body.frame(0, 0, bw, bh, darker(base, 3, 5))
        body.round_corners(0, 0, bw, bh, 2, MAGENTA)
        body.replace(MAGENTA, rows[top:top + bh])
        pic.blit(body, 0, 0)
        glyph = SMALL_GLYPHS[kind] if skin.narrow_buttons else GLYPHS[kind]
        ink = skin.title_text if active else mix(skin.title_text, base, 1, 2)
        if kind == "close" and state != "normal":
            ink = WHITE
        gx = (bw - len(glyph[0])) // 2 + (1 if state == "pressed" else 0)
        gy = (bh - len(glyph)) // 2 + (1 if state == "pressed" else 0)
        pic.stamp(glyph, gx, gy, ink)
        pics.append(pic)
    return side_by_side(pics)


def draw_system_menu(skin):
    """A 16 x 16 place holder for the window icon (the program draws its own icon there)."""
    pic = Picture(16, 16, MAGENTA)
    pic.rect(2, 2, 14, 14, skin.accent)
    pic.frame(2, 2, 14, 14, darker(skin.accent, 1, 2))
    return pic


def draw_push_button(skin):
    """Frames 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused or default."""
    w, h = 32, 24
    pics = []
    for state in ("normal", "pressed", "disabled", "hot", "focused"):
        base = {"normal": lighter(skin.accent, 3, 5), "pressed": darker(skin.accent, 9, 10),
                "disabled": mix(skin.face, (200, 200, 200), 1, 2), "hot": lighter(skin.accent, 2, 5),
                "focused": lighter(skin.accent, 1, 2)}[state]
        pic = Picture(w, h, base)
        if state == "pressed":
            pic.vgradient(1, 1, w - 1, h - 1, base, lighter(base, 1, 3))
        else:
            pic.vgradient(1, 1, w - 1, h // 2, lighter(base, 3, 5), lighter(base, 1, 4))
            pic.vgradient(1, h // 2, w - 1, h - 1, base, darker(base, 9, 10))
        edge = (160, 160, 160) if state == "disabled" else darker(skin.accent, 3, 5)
        pic.frame(0, 0, w, h, edge)
        if state == "focused":
            pic.frame(1, 1, w - 1, h - 1, darker(skin.accent, 4, 5))
        pic.round_corners(0, 0, w, h, 3, MAGENTA)
        pics.append(pic)
    return side_by_side(pics)


def draw_box(skin, size, checked, disabled, hot, radio, mixed=False):
    face = WHITE if not disabled else (236, 236, 236)
    if hot:
        face = lighter(skin.accent, 4, 5)
    edge = (170, 170, 170) if disabled else darker(skin.accent, 3, 4)
    ink = (160, 160, 160) if disabled else darker(skin.accent, 1, 2)
    pic = Picture(size, size, MAGENTA if radio else face)
    if radio:
        r2 = size * size  # (2r)^2 with r = size / 2
        for y in range(size):
            for x in range(size):
                d = (2 * x + 1 - size) ** 2 + (2 * y + 1 - size) ** 2
                if d <= r2 - 2 * size:
                    pic.set(x, y, face)
                elif d <= r2 + size:
                    pic.set(x, y, edge)
                if checked and d <= r2 // 5:
                    pic.set(x, y, ink)
    else:
        pic.vgradient(1, 1, size - 1, size - 1, mix(face, (220, 220, 220), 1, 3), face)
        pic.frame(0, 0, size, size, edge)
        if checked:
            pic.stamp(CHECK, (size - 7) // 2, (size - 6) // 2, ink)
        if mixed:
            pic.rect(3, 3, size - 3, size - 3, ink)
    return pic


def draw_check_boxes(skin):
    if skin.check_frames == 12:
        size = 16
        pics = []
        # Unchecked, checked, mixed; each normal, hot, pressed, disabled.
        for checked, mixed in ((False, False), (True, False), (False, True)):
            for state in ("normal", "hot", "pressed", "disabled"):
                pics.append(draw_box(skin, size, checked, state == "disabled", state in ("hot", "pressed"), False, mixed))
        return side_by_side(pics)
    size = 13
    return side_by_side([draw_box(skin, size, c, d, False, False) for c, d in
                         ((False, False), (True, False), (False, True), (True, True))])


def draw_radio_buttons(skin):
    return side_by_side([draw_box(skin, 13, c, d, False, True) for c, d in
                         ((False, False), (True, False), (False, True), (True, True))])


def draw_menu_bar(skin):
    top, bottom = lighter(skin.face, 1, 2), mix(skin.face, skin.caption[1], 1, 8)
    pic = Picture(40, 20)
    pic.vgradient(0, 0, 40, 20, top, bottom)
    pic.rect(0, 19, 40, 20, mix(skin.face, skin.caption[1], 1, 3))
    return side_by_side([pic, pic])


def draw_up_down(skin, vertical):
    """Eight frames: up (left) then down (right), each normal, pressed, disabled, hot."""
    w, h = (15, 10) if vertical else (10, 15)
    pics = []
    for arrow in (0, 1):
        for state in ("normal", "pressed", "disabled", "hot"):
            base = {"normal": lighter(skin.accent, 3, 5), "pressed": darker(skin.accent, 9, 10),
                    "disabled": (228, 228, 228), "hot": lighter(skin.accent, 2, 5)}[state]
            pic = Picture(w, h, base)
            pic.vgradient(1, 1, w - 1, h - 1, lighter(base, 1, 2), base)
            pic.frame(0, 0, w, h, darker(skin.accent, 3, 5) if state != "disabled" else (170, 170, 170))
            ink = (160, 160, 160) if state == "disabled" else darker(skin.accent, 2, 5)
            glyph = ARROW_UP if arrow == 0 else ARROW_UP[::-1]
            if not vertical:
                # Left and right: the arrow turned a quarter.
                cols = len(glyph[0])
                glyph = ["".join(glyph[r][c] for r in range(len(glyph))) for c in range(cols)]
            pic.stamp(glyph, (w - len(glyph[0])) // 2, (h - len(glyph)) // 2, ink)
            pics.append(pic)
    return side_by_side(pics)


def draw_progress(skin):
    """Two stacked frames: the trough and the bar."""
    trough = Picture(40, 14, WHITE)
    trough.vgradient(1, 1, 39, 13, (236, 236, 236), WHITE)
    trough.frame(0, 0, 40, 14, mix(skin.face, (120, 120, 120), 1, 2))
    bar = Picture(40, 14)
    bar.vgradient(0, 0, 40, 7, lighter(skin.accent, 1, 2), skin.accent)
    bar.vgradient(0, 7, 40, 14, skin.accent, darker(skin.accent, 4, 5))
    bar.frame(0, 0, 40, 14, darker(skin.accent, 3, 5))
    return stacked([trough, bar])


def draw_chunk(skin):
    pic = Picture(9, 12, WHITE)
    pic.vgradient(0, 0, 8, 12, lighter(skin.accent, 1, 3), darker(skin.accent, 9, 10))
    return pic


def draw_menu_item(skin):
    """Five frames: 1 normal row, 2 separator, 3 as 1, 4 selected row, 5 as 1."""
    w, h, gutter = 40, 20, 24
    menu = lighter(skin.face, 1, 2)
    normal = Picture(w, h, menu)
    normal.hgradient(0, 0, gutter, h, lighter(skin.face, 1, 4), mix(skin.face, skin.caption[1], 1, 6))
    separator = Picture(w, h, menu)
    separator.hgradient(0, 0, gutter, h, lighter(skin.face, 1, 4), mix(skin.face, skin.caption[1], 1, 6))
    # A separator row shows the bottom of this frame (rows are lower than it): the line sits
    # where a row of 8 has its middle.
    separator.rect(gutter + 4, h - 4, w, h - 3, mix(skin.face, skin.caption[1], 1, 3))
    selected = Picture(w, h, lighter(skin.accent, 3, 5))
    selected.vgradient(1, 1, w - 1, h - 1, lighter(skin.accent, 7, 10), lighter(skin.accent, 1, 2))
    selected.frame(0, 0, w, h, darker(skin.accent, 4, 5))
    return side_by_side([normal, separator, normal, selected, normal])


def draw_menu_background(skin):
    pic = Picture(64, 64, lighter(skin.face, 1, 2))
    pic.hgradient(0, 0, 24, 64, lighter(skin.face, 1, 4), mix(skin.face, skin.caption[1], 1, 6))
    return pic


def draw_text_back(skin):
    """Two stacked frames (active, inactive): a pill behind the caption text."""
    h = skin.caption_height - 8
    frames = []
    for active in (True, False):
        rows = caption_row_colours(skin, active, skin.caption_height)
        pic = Picture(48, h)
        for y in range(h):
            pic.rect(0, y, 48, y + 1, rows[4 + y])
        fill = skin.accent if active else mix(skin.accent, skin.inactive[0], 1, 2)
        pill = Picture(48, h, fill)
        pill.vgradient(1, 1, 47, h - 1, lighter(fill, 1, 3), fill)
        pill.frame(0, 0, 48, h, darker(fill, 3, 4))
        pill.round_corners(0, 0, 48, h, h // 2, MAGENTA)
        pill.replace(MAGENTA, rows[4:4 + h])
        pic.blit(pill, 0, 0)
        frames.append(pic)
    return side_by_side(frames)


def draw_mdi_controls(skin):
    """Twelve frames: minimise, restore, close; each normal, pressed, hot, disabled."""
    pics = []
    for kind in ("min", "restore", "close"):
        for state in ("normal", "pressed", "hot", "disabled"):
            fill = {"normal": skin.face, "pressed": darker(skin.face, 4, 5), "hot": lighter(skin.accent, 3, 5),
                    "disabled": skin.face}[state]
            pic = Picture(16, 14, fill)
            pic.frame(0, 0, 16, 14, darker(skin.face, 3, 5))
            ink = (150, 150, 150) if state == "disabled" else skin.text
            pic.stamp(SMALL_GLYPHS[kind], 4, 3, ink)
            pics.append(pic)
    return side_by_side(pics)


# ---------------------------------------------------------------- one skin

def rgb_text(c):
    return "%d,%d,%d" % c


def build(skin):
    """The skin's entries in order: (entry name, bytes). The INI comes first."""
    images = {}
    width = 160
    images["top"] = stacked([draw_top(skin, True, width), draw_top(skin, False, width)])
    images["left"] = side_by_side([draw_side(skin, True, 40, False), draw_side(skin, False, 40, False)])
    images["right"] = side_by_side([draw_side(skin, True, 40, True), draw_side(skin, False, 40, True)])
    images["bottom"] = stacked([draw_bottom(skin, True, width), draw_bottom(skin, False, width)])
    frames = 3 if skin.button_frames == 3 else 6
    for kind in ("close", "max", "restore", "min"):
        images[kind] = draw_caption_button(skin, kind, frames)
    images["sysmenu"] = draw_system_menu(skin)
    images["button"] = draw_push_button(skin)
    images["check"] = draw_check_boxes(skin)
    images["radio"] = draw_radio_buttons(skin)
    images["menubar"] = draw_menu_bar(skin)
    images["updownv"] = draw_up_down(skin, True)
    images["updownh"] = draw_up_down(skin, False)
    images["progress"] = draw_progress(skin)
    if skin.chunk:
        images["chunk"] = draw_chunk(skin)
    if skin.menu_images:
        images["menuitem"] = draw_menu_item(skin)
        images["menubg"] = draw_menu_background(skin)
    if skin.text_back:
        images["textback"] = draw_text_back(skin)
    if skin.mdi:
        images["mdi"] = draw_mdi_controls(skin)

    ini = ini_text(skin, images)
    names = {key: key + ".bmp" for key in images}
    entries = [("skin.ini", ini.replace("\n", "\r\n").encode("gbk"))]
    entries += [(names[key], images[key].bmp(skin.bits)) for key in images]
    if skin.capitals:
        entries = [(name.upper(), body) for name, body in entries]
    return entries


def ini_text(skin, images):
    bw, bh = button_size(skin)
    top_margin = max(skin.corner, skin.border) + 24
    lines = ["; %s: generated by tools/make_skins.py" % skin.name, "", "[TitlebarSkin]", "SkinName=" + skin.name, "",
             "[Personality]"]
    trans = 1 if skin.corner else 0
    for piece, first, second in (("Left", 0, 0), ("Right", 0, 0), ("Top", top_margin, top_margin),
                                 ("Bottom", skin.border, skin.border)):
        lines += ["%s=%s.bmp" % (piece, piece.lower()), "%sTopHeight=%d" % (piece, first),
                  "%sBotHeight=%d" % (piece, second), "%sFrame=2" % piece, "%sStretch=1" % piece]
        if skin.trans_key:
            lines.append("%sTrans=%d" % (piece, trans))
    ink = skin.title_text
    dim = mix(skin.title_text, skin.inactive[1], 1, 2)
    lines += ["TextAlignment=%d" % skin.align, "TextShift=%d" % (skin.border + 24),
              "TextShiftVert=0", "TextRightClip=%d" % (skin.border + 3 * (bw + 2) + 8)]
    if skin.text_back:
        lines += ["TextBack=textback.bmp", "Textbackground=1", "TXTBackleft=10", "TXTBackRight=10"]
    lines += ["ActiveTextR=%d" % ink[0], "ActiveTextG=%d" % ink[1], "ActiveTextB=%d" % ink[2],
              "InActiveTextR=%d" % dim[0], "InActiveTextG=%d" % dim[1], "InActiveTextB=%d" % dim[2],
              "menuBar=menubar.bmp", "TileMenu=1", "TileLeftMenu=2", "TileRightMenu=2", "",
              "[Fonts]", "FontHeight=%d" % skin.font_height, ""]

    menu = lighter(skin.face, 1, 2)
    colours = [("WindowText", skin.text), ("TitleTextActive", ink), ("TitleTextNoActive", dim),
               ("ButtonFace", skin.face), ("ButtonText", skin.text), ("ButtonHilight", WHITE),
               ("Buttonlight", lighter(skin.face, 1, 2)), ("ButtonShadow", darker(skin.face, 2, 3)),
               ("ButtonDkShadow", darker(skin.face, 1, 3)), ("HilightText", WHITE if luminance(skin.accent) < 150 else BLACK),
               ("Hilight", skin.accent), ("Menubar", skin.face), ("MenuBarText", skin.text), ("MenuText", skin.text),
               ("Menu", menu), ("Scrollbar", lighter(skin.face, 1, 3))]
    lines.append("[Colours]")
    lines += ["%s=%s" % (key, rgb_text(c)) for key, c in colours]
    lines.append("")

    y = (skin.caption_height - bh) // 2
    x_close = skin.border + bw + 2
    buttons = [("Button.Close", 0, 1, x_close, 0, 0, "close"),
               ("Button.Max", 1, 1, x_close + bw + 2, 2, 6, "max"),
               ("Button.Restore", 1, 1, x_close + bw + 2, 1, 6, "restore"),
               ("Button.Min", 2, 1, x_close + 2 * (bw + 2), 6, 0, "min")]
    for section, action, align, x, visibility, visibility1, image in buttons:
        lines += ["[%s]" % section, "Action=%d" % action, "Align=%d" % align, "Xcoord=%d" % x, "Ycoord=%d" % y,
                  "Visibility=%d" % visibility]
        if visibility1:
            lines.append("Visibility1=%d" % visibility1)
        # Three frames are said in so many words unless the buttons are narrow enough to tell.
        if skin.button_frames == 3 and not skin.narrow_buttons:
            lines.append("Frame=3")
        lines += ["ButtonImage=%s.bmp" % image, ""]
    lines += ["[Button.SysMenu]", "Action=3", "Align=0", "Xcoord=%d" % (skin.border + 4),
              "Ycoord=%d" % ((skin.caption_height - 16) // 2), "Visibility=0", "Frame=1", "ButtonImage=sysmenu.bmp", ""]

    lines += ["[Buttons]", "Bitmap=button.bmp", "LeftWidth=4", "RightWidth=4", "TopHeight=4", "BottomHeight=4",
              "Trans=1", "Tile=0", "CheckButton=check.bmp", "RadioButton=radio.bmp",
              "NormalColour2=%s" % rgb_text(skin.text), "MouseOverColour2=%s" % rgb_text(darker(skin.accent, 1, 2))]
    if skin.check_frames == 12:
        lines.append("CheckButtonFrame=12")
    lines.append("")

    lines += ["[Progress]", "Bitmap=progress.bmp", "Style=0", "LeftWidth=3", "RightWidth=3", "TopHeight=3",
              "BottomHeight=3", "Trans=0", "Tile=0", ""]
    if skin.chunk:
        lines += ["[Progress.Chunk]", "Image=chunk.bmp", "Tile=1", ""]
    lines += ["[UpDown.Vert]", "Image=updownv.bmp", "LeftWidth=2", "RightWidth=2", "TopHeight=2", "BottomHeight=2", "",
              "[UpDown.Horz]", "Image=updownh.bmp", "LeftWidth=2", "RightWidth=2", "TopHeight=2", "BottomHeight=2", ""]
    if skin.menu_images:
        lines += ["[MenuItem]", "Image=menuitem.bmp", "LeftWidth=26", "RightWidth=2", "TopHeight=2", "BottomHeight=2",
                  "Trans=0", "Tile=0", "",
                  "[MenuBackground]", "Image=menubg.bmp", "LeftWidth=24", "Tile=0", ""]
    if skin.mdi:
        lines += ["[MDICONTROLS]", "Image=mdi.bmp", ""]
    return "\n".join(lines)


# ---------------------------------------------------------------- packing

def pack(skin, packer, target, scratch):
    folder = scratch / Path(skin.file).stem
    folder.mkdir(parents=True, exist_ok=True)
    paths = []
    for name, body in build(skin):
        path = folder / name
        path.write_bytes(body)
        paths.append(str(path))
    subprocess.run([str(packer), "-v", str(skin.version), str(target)] + paths, check=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--packer", default=str(ROOT / "build" / "native" / "tools" / "skin_pack"))
    parser.add_argument("--out", default=str(ROOT / "data" / "皮肤"))
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    packer = Path(args.packer)
    if not packer.exists():
        sys.exit("make_skins: no packer at %s (build it: cmake --build --preset native --target skin_pack)" % packer)
    out = Path(args.out)
    with tempfile.TemporaryDirectory() as scratch:
        scratch = Path(scratch)
        target_dir = scratch / "out" if args.check else out
        target_dir.mkdir(parents=True, exist_ok=True)
        for skin in SKINS:
            pack(skin, packer, target_dir / skin.file, scratch)
        if args.check:
            differ = [s.file for s in SKINS
                      if not (out / s.file).exists() or not filecmp.cmp(out / s.file, target_dir / s.file, shallow=False)]
            if differ:
                print("make_skins: differs from a regeneration: " + ", ".join(differ))
                return 1
            print("make_skins: all %d skins match a regeneration" % len(SKINS))
    return 0


if __name__ == "__main__":
    sys.exit(main())
