#!/usr/bin/python3
"""Draws Daybook's pictures into resources/images/.

Run by hand after changing the artwork (Debian: python3-pil, fonts-noto-cjk):

    tools/make_resources.py [--sheet contact.png]

The generated files are committed; the build only compiles them into the
program as Qt resources.  Every picture is drawn at four times its size and
reduced with an area filter, which gives clean anti-aliased edges while shapes
placed on whole pixels stay crisp.  Fully transparent pixels are stored as
magenta (alpha 0), so code that keys on magenta and code that uses the alpha
channel see the same shape.
"""

import argparse
import io
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "images")

SS = 4  # supersampling factor

# Palette.  Purple is the main window's caption bar.
PURPLE = (88, 0, 176)
PURPLE_D = (62, 0, 128)
PURPLE_M = (140, 84, 214)
PURPLE_L = (198, 170, 238)
PURPLE_XL = (241, 235, 251)
INK = (58, 56, 72)
GREY = (124, 122, 138)
GREY_L = (206, 204, 214)
PAPER = (252, 252, 254)
WHITE = (255, 255, 255)
GREEN = (40, 160, 92)
GREEN_D = (26, 118, 64)
RED = (222, 64, 72)
RED_D = (166, 36, 48)
ORANGE = (247, 148, 29)
ORANGE_D = (196, 104, 10)
YELLOW = (250, 200, 50)
YELLOW_D = (196, 146, 16)
BLUE = (48, 128, 214)
BLUE_D = (28, 88, 160)
TEAL = (24, 154, 150)
PINK = (236, 98, 148)
MAGENTA = (255, 0, 255)
CLIENT = (242, 242, 242)

FONT_DIR = "/usr/share/fonts/opentype/noto"
FONT_FACE_KR = 1  # index of the Korean face in the Noto CJK collections


def font(size, bold=False):
    name = "NotoSansCJK-Bold.ttc" if bold else "NotoSansCJK-Regular.ttc"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), max(1, round(size)), index=FONT_FACE_KR)


def rgba(colour, alpha=255):
    return tuple(colour[:3]) + (alpha,)


def mix(a, b, t):
    """Colour a moved toward b by the fraction t."""
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


class Canvas:
    """A picture of w x h pixels drawn in design units (unit pixels each)."""

    def __init__(self, w, h, unit=1.0, bg=(0, 0, 0, 0)):
        self.w, self.h, self.unit = w, h, unit
        self.k = unit * SS
        self.img = Image.new("RGBA", (round(w * SS), round(h * SS)), bg)
        self.d = ImageDraw.Draw(self.img)

    # Geometry is given as edges: a box (x0, y0, x1, y1) covers x0 <= x < x1.
    def _box(self, x0, y0, x1, y1):
        k = self.k
        return [round(x0 * k), round(y0 * k), round(x1 * k) - 1, round(y1 * k) - 1]

    def _pts(self, pts):
        return [(x * self.k, y * self.k) for x, y in pts]

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0, radius=0.0):
        box = self._box(x0, y0, x1, y1)
        w = max(1, round(width * self.k)) if outline else 0
        fill = rgba(fill) if fill and len(fill) == 3 else fill
        outline = rgba(outline) if outline and len(outline) == 3 else outline
        if radius > 0:
            self.d.rounded_rectangle(box, radius=radius * self.k, fill=fill, outline=outline, width=w)
        else:
            self.d.rectangle(box, fill=fill, outline=outline, width=w)

    def ellipse(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0):
        fill = rgba(fill) if fill and len(fill) == 3 else fill
        outline = rgba(outline) if outline and len(outline) == 3 else outline
        w = max(1, round(width * self.k)) if outline else 0
        self.d.ellipse(self._box(x0, y0, x1, y1), fill=fill, outline=outline, width=w)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1.0):
        self.ellipse(cx - r, cy - r, cx + r, cy + r, fill, outline, width)

    def polygon(self, pts, fill=None, outline=None):
        fill = rgba(fill) if fill and len(fill) == 3 else fill
        outline = rgba(outline) if outline and len(outline) == 3 else outline
        self.d.polygon(self._pts(pts), fill=fill, outline=outline)

    def line(self, pts, fill, width=1.0, round_caps=True):
        fill = rgba(fill) if len(fill) == 3 else fill
        w = max(1, round(width * self.k))
        self.d.line(self._pts(pts), fill=fill, width=w, joint="curve")
        if round_caps:
            r = w / 2
            for x, y in self._pts([pts[0], pts[-1]]):
                self.d.ellipse([x - r, y - r, x + r - 1, y + r - 1], fill=fill)

    def arc(self, cx, cy, r, start, end, fill, width=1.0):
        """Arc of radius r (to the middle of the stroke); angles in degrees, 0 = east, clockwise."""
        fill = rgba(fill) if len(fill) == 3 else fill
        h = width / 2
        box = self._box(cx - r - h, cy - r - h, cx + r + h, cy + r + h)
        self.d.arc(box, start, end, fill=fill, width=max(1, round(width * self.k)))

    def text(self, x, y, s, size, fill, bold=False, anchor="mm"):
        fill = rgba(fill) if len(fill) == 3 else fill
        self.d.text((x * self.k, y * self.k), s, font=font(size * self.k, bold), fill=fill, anchor=anchor)

    def text_width(self, s, size, bold=False):
        return self.d.textlength(s, font=font(size * self.k, bold)) / self.k

    def layer(self):
        return Canvas(self.w, self.h, self.unit)

    def over(self, layer):
        self.img.alpha_composite(layer.img)

    def result(self):
        small = self.img.convert("RGBa").resize((self.w, self.h), Image.BOX).convert("RGBA")
        return key_transparent(small)


def key_transparent(img):
    """Stores every fully transparent pixel as magenta."""
    px = img.load()
    for y in range(img.height):
        for x in range(img.width):
            if px[x, y][3] == 0:
                px[x, y] = (255, 0, 255, 0)
    return img


# --------------------------------------------------------------------------
# Registry of pictures

PICTURES = []  # (name, format, producer)


def picture(name, fmt="png"):
    def register(fn):
        PICTURES.append((name, fmt, fn))
        return fn
    return register


def with_halo(img, strength=150):
    """Puts a thin light rim around the shape so that it stays readable on dark
    caption bars and coloured day cells; on white it cannot be seen."""
    rim = img.getchannel("A").filter(ImageFilter.MaxFilter(3)).point(lambda a: a * strength // 255)
    out = Image.new("RGBA", img.size, (255, 255, 255, 0))
    out.putalpha(rim)
    out.alpha_composite(img)
    return key_transparent(out)


def icon(name, w=16, h=16, halo=True):
    """A small picture drawn by fn(canvas)."""
    def register(fn):
        def produce():
            c = Canvas(w, h)
            fn(c)
            return with_halo(c.result()) if halo else c.result()
        PICTURES.append((name, "png", produce))
        return fn
    return register


# --------------------------------------------------------------------------
# Shared shapes

def person(c, cx, top, scale, colour, outline=None):
    """Head and shoulders, about 10 x 12 units at scale 1."""
    hr = 2.4 * scale
    c.circle(cx, top + hr, hr, fill=colour, outline=outline, width=0.8)
    bw = 5.0 * scale
    c.rect(cx - bw, top + 2 * hr + 1.0 * scale, cx + bw, top + 2 * hr + 7.5 * scale,
           fill=colour, outline=outline, width=0.8, radius=3.2 * scale)


def envelope(c, x0, y0, x1, y1, body, edge, flap):
    c.rect(x0, y0, x1, y1, fill=body, outline=edge, width=1, radius=1.2)
    mx = (x0 + x1) / 2
    c.line([(x0 + 1.2, y0 + 1.4), (mx, y0 + (y1 - y0) * 0.58), (x1 - 1.2, y0 + 1.4)], flap, 1.3)


def check_mark(c, pts, colour, width):
    c.line(pts, colour, width)


def calendar_page(c, x0, y0, x1, y1, head, edge, body=PAPER, rings=True):
    c.rect(x0, y0, x1, y1, fill=body, outline=edge, width=1, radius=1.5)
    hh = (y1 - y0) * 0.3
    c.rect(x0, y0, x1, y0 + hh, fill=head, radius=1.5)
    c.rect(x0, y0 + hh - 1, x1, y0 + hh, fill=head)
    if rings:
        for rx in (x0 + (x1 - x0) * 0.3, x0 + (x1 - x0) * 0.7):
            c.line([(rx, y0 - 1.2), (rx, y0 + 1.6)], INK, 1.2)


def gear(c, cx, cy, r_out, r_in, teeth, colour, hole):
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4) - math.pi / 2
        r = r_out if (i % 4) in (0, 1) else r_in
        pts.append((cx + r * math.cos(a + math.pi / (teeth * 4)), cy + r * math.sin(a + math.pi / (teeth * 4))))
    c.polygon(pts, fill=colour)
    c.circle(cx, cy, r_in * 0.85, fill=colour)
    c.circle(cx, cy, hole, fill=(0, 0, 0, 0))


# --------------------------------------------------------------------------
# Application icon (ICO): a calendar page with a check mark.

def draw_app_icon(c):
    c.rect(1, 2, 15, 15, fill=WHITE, outline=PURPLE_D, width=1, radius=2.2)
    c.rect(1, 2, 15, 6, fill=ORANGE, radius=2.2)
    c.rect(1, 4, 15, 6, fill=ORANGE)
    for rx in (5, 11):
        c.line([(rx, 0.8), (rx, 3.6)], PURPLE_D, 1.4)
    check_mark(c, [(4.6, 10.2), (7.2, 12.6), (11.6, 8.0)], PURPLE, 1.9)


@picture("IMAGE_GOOGLE", "ico")
def app_icon():
    images = []
    for size in (16, 24, 32, 48, 64, 256):
        c = Canvas(size, size, unit=size / 16)
        draw_app_icon(c)
        images.append(c.result())
    return images


# --------------------------------------------------------------------------
# Caption buttons, 12 x 12: white glyphs on the bar; a soft plate when hovered.

CAPTION = 12


def caption_button(glyph, hover, close=False):
    def produce():
        c = Canvas(CAPTION, CAPTION)
        if hover:
            plate = (232, 64, 72, 255) if close else (255, 255, 255, 78)
            c.rect(0, 0, CAPTION, CAPTION, fill=plate, radius=2.5)
        glyph(c)
        return c.result()
    return produce


def glyph_minimize(c):
    c.rect(3, 7.5, 9, 9, fill=WHITE)


def glyph_maximize(c):
    c.rect(2.5, 2.5, 9.5, 9.5, outline=WHITE, width=1)
    c.rect(2.5, 2.5, 9.5, 4, fill=WHITE)


def glyph_normal(c):
    c.rect(4.5, 2, 10, 7.5, outline=WHITE, width=1)
    c.rect(4.5, 2, 10, 3.2, fill=WHITE)
    c.rect(2, 4.5, 7.5, 10, fill=(0, 0, 0, 0))
    c.rect(2, 4.5, 7.5, 10, outline=WHITE, width=1)
    c.rect(2, 4.5, 7.5, 5.7, fill=WHITE)


def glyph_close(c):
    c.line([(3.2, 3.2), (8.8, 8.8)], WHITE, 1.5)
    c.line([(8.8, 3.2), (3.2, 8.8)], WHITE, 1.5)


for _name, _glyph, _close in (("MINIMIZE", glyph_minimize, False), ("MAXMIZE", glyph_maximize, False),
                              ("NORMAL", glyph_normal, False), ("CLOSE", glyph_close, True)):
    PICTURES.append(("IMAGE_" + _name, "png", caption_button(_glyph, False, _close)))
    PICTURES.append(("IMAGE_" + _name + "_ON", "png", caption_button(_glyph, True, _close)))


# --------------------------------------------------------------------------
# Tree pictures, 14 x 16 (the colour pictures made from them fill 11 x 14 at (0, 1)).

@icon("IMAGE_GCAL", 14, 16, halo=False)
def gcal(c):
    c.rect(0, 2, 12, 15, fill=WHITE, outline=PURPLE_D, width=1, radius=1.5)
    c.rect(0, 2, 12, 6, fill=PURPLE, radius=1.5)
    c.rect(0, 4, 12, 6, fill=PURPLE)
    for rx in (3.5, 8.5):
        c.line([(rx, 0.8), (rx, 3.2)], INK, 1.2)
    for row in (8, 11):
        for col in (2, 5, 8):
            c.rect(col, row, col + 2, row + 2, fill=PURPLE_L if (row, col) != (11, 8) else ORANGE)


@icon("IMAGE_GTASKS", 14, 16, halo=False)
def gtasks(c):
    c.rect(0, 1.5, 12.5, 15, fill=WHITE, outline=GREEN_D, width=1, radius=1.5)
    for i, y in enumerate((4, 7.5, 11)):
        c.rect(2, y, 5, y + 3, fill=GREEN if i < 2 else WHITE, outline=GREEN_D, width=0.8, radius=0.6)
        c.line([(6.5, y + 1.5), (10.5, y + 1.5)], GREY, 1.0)


@icon("IMAGE_GTASK", 14, 16, halo=False)
def gtask(c):
    c.circle(6.5, 8.5, 6, fill=GREEN, outline=GREEN_D, width=0.8)
    check_mark(c, [(3.6, 8.6), (5.8, 10.8), (9.6, 6.4)], WHITE, 1.6)


# --------------------------------------------------------------------------
# Marks for repeating items and categories, 16 x 16.

def letter_badge(colour, letter):
    def draw(c):
        c.rect(1, 1, 15, 15, fill=colour, outline=mix(colour, (0, 0, 0), 0.25), width=0.8, radius=3.2)
        c.text(8, 7.6, letter, 10.5, WHITE, bold=True)
    return draw


for _letter, _colour in (("D", GREEN), ("W", BLUE), ("M", ORANGE), ("Y", PURPLE)):
    icon("IMAGE_" + _letter)(letter_badge(_colour, _letter))


@icon("IMAGE_WORK")
def work(c):
    # a sticky note with lines
    c.polygon([(2, 2), (14, 2), (14, 10.5), (10.5, 14), (2, 14)], fill=YELLOW, outline=YELLOW_D)
    c.polygon([(10.5, 14), (10.5, 10.5), (14, 10.5)], fill=YELLOW_D)
    for y in (5, 7.5, 10):
        c.line([(4.2, y), (11.6 if y < 10 else 8.6, y)], ORANGE_D, 1.0)


@icon("IMAGE_MEETING")
def meeting(c):
    person(c, 10.8, 2.2, 0.78, ORANGE, ORANGE_D)
    person(c, 5.6, 3.6, 0.92, BLUE, BLUE_D)


@icon("IMAGE_MEMORIAL")
def memorial(c):
    c.rect(2, 7, 14, 14.5, fill=PINK, outline=RED_D, width=0.8, radius=1)
    c.rect(1.2, 4.6, 14.8, 7.6, fill=RED, outline=RED_D, width=0.8, radius=1)
    c.rect(7, 4.6, 9, 14.5, fill=YELLOW)
    c.ellipse(3.4, 1.2, 8.2, 5.2, outline=YELLOW_D, width=1.3)
    c.ellipse(7.8, 1.2, 12.6, 5.2, outline=YELLOW_D, width=1.3)


@icon("IMAGE_MONEY")
def money(c):
    # a banknote with a coin in front
    c.rect(0.5, 3, 13.5, 11, fill=(150, 212, 160), outline=GREEN_D, width=0.8, radius=1)
    c.circle(7, 7, 2.3, outline=GREEN_D, width=0.9)
    c.circle(11, 11, 4.2, fill=YELLOW, outline=YELLOW_D, width=0.9)
    c.circle(11, 11, 2.2, outline=(255, 232, 140), width=0.9)


@icon("IMAGE_KOREA")
def holiday_flag(c):
    c.rect(1, 3, 15, 13, fill=WHITE, outline=GREY, width=0.8, radius=1)
    # the red and blue circle
    c.d.pieslice(c._box(5, 5, 11, 11), 180, 360, fill=rgba(RED))
    c.d.pieslice(c._box(5, 5, 11, 11), 0, 180, fill=rgba(BLUE))
    c.circle(6.5, 8, 1.5, fill=RED)
    c.circle(9.5, 8, 1.5, fill=BLUE)
    for x, y in ((3, 5), (13, 5), (3, 11), (13, 11)):
        c.line([(x - 0.9, y - 0.7), (x + 0.9, y + 0.7)] if (x < 8) == (y < 8) else
               [(x - 0.9, y + 0.7), (x + 0.9, y - 0.7)], INK, 0.8, round_caps=False)


@icon("IMAGE_NONE")
def no_category(c):
    c.circle(8, 8, 5.2, outline=GREY_L, width=1.4)
    c.line([(5.6, 8), (10.4, 8)], GREY, 1.2)


@icon("IMAGE_MOON")
def moon(c):
    c.circle(8, 8, 6.2, fill=YELLOW)
    c.circle(10.8, 6.0, 5.4, fill=(0, 0, 0, 0))
    c.circle(5.2, 10.6, 0.7, fill=YELLOW_D)


# --------------------------------------------------------------------------
# Tool pictures, 16 x 16.

@icon("IMAGE_ADD")
def add(c):
    c.circle(8, 8, 6.8, fill=GREEN, outline=GREEN_D, width=0.8)
    c.rect(7, 4, 9, 12, fill=WHITE)
    c.rect(4, 7, 12, 9, fill=WHITE)


@icon("IMAGE_EDIT")
def edit(c):
    body = [(4.2, 13.8), (2.2, 11.8), (10.6, 3.4), (12.6, 5.4)]
    c.polygon(body, fill=YELLOW, outline=YELLOW_D)
    c.polygon([(10.6, 3.4), (12.0, 2.0), (14.0, 4.0), (12.6, 5.4)], fill=PINK, outline=RED_D)
    c.polygon([(2.2, 11.8), (4.2, 13.8), (1.2, 14.8)], fill=INK)
    c.line([(3.2, 12.8), (11.6, 4.4)], ORANGE_D, 0.6, round_caps=False)


@icon("IMAGE_TRASH")
def trash(c):
    c.polygon([(3.4, 5), (12.6, 5), (11.6, 15), (4.4, 15)], fill=(236, 236, 242), outline=GREY)
    c.rect(2, 3, 14, 5, fill=GREY, radius=0.8)
    c.rect(6, 1, 10, 3, outline=GREY, width=1, radius=0.8)
    for x in (6, 8, 10):
        c.line([(x, 7), (x, 13)], GREY, 1.0)


@icon("IMAGE_SEARCH")
def search(c):
    c.line([(10, 10), (14.2, 14.2)], PURPLE_D, 2.4)
    c.circle(6.8, 6.8, 4.6, fill=(226, 238, 252), outline=PURPLE, width=1.6)
    c.arc(6.8, 6.8, 2.8, 190, 260, WHITE, 1.0)


@icon("IMAGE_OK")
def ok(c):
    check_mark(c, [(2.6, 8.6), (6.4, 12.2), (13.6, 4.0)], GREEN, 2.6)


@icon("IMAGE_CONFIGURE")
def configure(c):
    gear(c, 8, 8, 7.4, 5.2, 8, PURPLE, 2.2)


@icon("IMAGE_DIARY")
def diary(c):
    c.rect(3, 1, 14, 15, fill=PURPLE, outline=PURPLE_D, width=0.8, radius=1.5)
    c.rect(2, 1, 5, 15, fill=PURPLE_D, radius=1)
    c.rect(6.5, 4, 12, 7.5, fill=PURPLE_XL, radius=0.6)
    c.polygon([(9.5, 11), (11.5, 11), (11.5, 15.6), (10.5, 14.4), (9.5, 15.6)], fill=ORANGE)


@icon("IMAGE_ADDRBOOK")
def addrbook(c):
    c.rect(3, 1, 14, 15, fill=TEAL, outline=mix(TEAL, (0, 0, 0), 0.3), width=0.8, radius=1.5)
    for y in (3.5, 7, 10.5):
        c.rect(1.5, y, 4.5, y + 1.5, fill=INK, radius=0.5)
    person(c, 9, 3.4, 0.62, WHITE)


@icon("IMAGE_MAIL")
def mail(c):
    envelope(c, 1, 3, 15, 13, WHITE, PURPLE, PURPLE)


@icon("IMAGE_UNREAD")
def unread(c):
    envelope(c, 1, 3.5, 15, 13, (232, 241, 252), BLUE_D, BLUE)


@icon("IMAGE_READ")
def read(c):
    c.polygon([(1, 7), (8, 2.2), (15, 7), (15, 14), (1, 14)], fill=(238, 238, 242), outline=GREY)
    c.rect(3.5, 4.5, 12.5, 11, fill=WHITE, outline=GREY_L, width=0.8)
    c.polygon([(1, 7), (8, 11.4), (15, 7), (15, 14), (1, 14)], fill=(238, 238, 242), outline=GREY)


@icon("IMAGE_NEW")
def new_mail(c):
    envelope(c, 0.5, 5, 12.5, 14, (232, 241, 252), BLUE_D, BLUE)
    star = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        r = 4.6 if i % 2 == 0 else 2.0
        star.append((11.2 + r * math.cos(a), 4.8 + r * math.sin(a)))
    c.polygon(star, fill=ORANGE, outline=ORANGE_D)


@icon("IMAGE_HOTMAIL")
def hot(c):
    c.polygon([(8, 1), (12.5, 6.5), (13, 10.5), (11, 14), (8, 15), (5, 14), (3, 10.5), (4, 6.5),
               (6, 8.5), (6.5, 4.5)], fill=ORANGE, outline=RED_D)
    c.polygon([(8, 7.5), (10.5, 10.5), (10, 13.4), (8, 14.2), (6, 13.4), (5.6, 11)], fill=YELLOW)


@icon("IMAGE_REPLY")
def reply(c):
    c.polygon([(1.5, 7), (7, 2), (7, 12)], fill=PURPLE)
    c.arc(7, 15, 8, 270, 360, PURPLE, 2.6)


@icon("IMAGE_KEY")
def key(c):
    c.circle(5, 6, 3.8, fill=YELLOW, outline=YELLOW_D, width=1)
    c.circle(4.4, 5.4, 1.2, fill=(0, 0, 0, 0))
    c.line([(7.6, 8.6), (13.6, 14.6)], YELLOW_D, 2.0)
    c.line([(11, 12), (12.6, 10.4)], YELLOW_D, 1.6)
    c.line([(12.8, 13.8), (14.2, 12.4)], YELLOW_D, 1.6)


@icon("IMAGE_MAP")
def folded_map(c):
    c.polygon([(1, 3), (5.6, 1.5), (5.6, 13), (1, 14.5)], fill=(190, 226, 190), outline=GREEN_D)
    c.polygon([(5.6, 1.5), (10.4, 3), (10.4, 14.5), (5.6, 13)], fill=(222, 240, 222), outline=GREEN_D)
    c.polygon([(10.4, 3), (15, 1.5), (15, 13), (10.4, 14.5)], fill=(190, 226, 190), outline=GREEN_D)
    c.line([(2, 10), (6, 7), (10, 9), (14, 5)], BLUE, 1.0)
    c.circle(10, 6.2, 2.2, fill=RED, outline=RED_D, width=0.6)
    c.polygon([(8.3, 7.3), (11.7, 7.3), (10, 10.4)], fill=RED)
    c.circle(10, 6.2, 0.8, fill=WHITE)


@icon("IMAGE_SENDSMS")
def send_sms(c):
    c.rect(2, 2, 9, 15.5, fill=INK, radius=1.5)
    c.rect(3, 4, 8, 12.5, fill=(214, 232, 250))
    c.circle(5.5, 14, 0.6, fill=GREY_L)
    c.rect(7.5, 0.5, 15.5, 6.5, fill=PURPLE, radius=2)
    c.polygon([(9, 6.2), (11.5, 6.2), (9, 8.6)], fill=PURPLE)
    for x in (9.8, 11.5, 13.2):
        c.circle(x, 3.5, 0.65, fill=WHITE)


@icon("IMAGE_SHORT")
def compact_view(c):
    c.rect(1, 1, 15, 15, fill=WHITE, outline=PURPLE, width=1, radius=1.5)
    c.rect(1, 1, 15, 4, fill=PURPLE, radius=1.5)
    c.rect(1, 3, 15, 4, fill=PURPLE)
    c.rect(8, 8, 13, 13, fill=PURPLE_L, outline=PURPLE, width=0.8)
    c.line([(3.6, 6.4), (7.2, 10)], PURPLE_D, 1.1)
    c.polygon([(7.8, 10.6), (4.8, 10.6), (7.8, 7.6)], fill=PURPLE_D)


@icon("IMAGE_DEMO")
def demo(c):
    c.line([(4, 12), (2.6, 15.4)], GREY, 1.1)
    c.line([(12, 12), (13.4, 15.4)], GREY, 1.1)
    c.rect(1, 1.5, 15, 12, fill=WHITE, outline=INK, width=1, radius=1)
    c.rect(3.4, 7, 5.4, 10.5, fill=BLUE)
    c.rect(7, 4.6, 9, 10.5, fill=ORANGE)
    c.rect(10.6, 6, 12.6, 10.5, fill=PURPLE)


@icon("IMAGE_PIN")
def pin(c):
    # a pushpin that stays readable on any palette colour
    c.line([(7.4, 8.6), (3, 13)], INK, 1.2)
    c.circle(9.4, 6.4, 4.4, fill=RED, outline=WHITE, width=1.0)
    c.circle(8.4, 5.2, 1.3, fill=(255, 190, 190))


@icon("IMAGE_CHECK", halo=False)
def check_box(c):
    c.rect(2, 2, 15, 15, fill=WHITE, outline=(136, 134, 150), width=1, radius=2)


@icon("IMAGE_CHECKCLICK", halo=False)
def check_box_on(c):
    c.rect(2, 2, 15, 15, fill=PURPLE, outline=PURPLE_D, width=1, radius=2)
    check_mark(c, [(5.0, 8.6), (7.6, 11.0), (12.0, 5.8)], WHITE, 1.7)


@icon("IMAGE_CAR")
def car(c):
    c.polygon([(4, 7.5), (5.6, 4), (10.6, 4), (12.6, 7.5)], fill=(214, 232, 250), outline=BLUE_D)
    c.rect(1, 7, 15, 12, fill=BLUE, outline=BLUE_D, width=0.8, radius=1.8)
    c.line([(8.2, 4.4), (8.2, 7.2)], BLUE_D, 0.8, round_caps=False)
    for x in (4.5, 11.5):
        c.circle(x, 12.2, 2.2, fill=INK)
        c.circle(x, 12.2, 0.8, fill=GREY_L)


@icon("IMAGE_EXCEL")
def spreadsheet(c):
    c.rect(2, 1, 14, 15, fill=WHITE, outline=GREEN_D, width=1, radius=1)
    c.rect(2, 1, 14, 4, fill=GREEN, radius=1)
    c.rect(2, 3, 14, 4, fill=GREEN)
    for y in (7, 10, 13):
        c.line([(2.5, y), (13.5, y)], (150, 200, 170), 0.7, round_caps=False)
    for x in (6, 10):
        c.line([(x, 4), (x, 14.5)], (150, 200, 170), 0.7, round_caps=False)
    c.rect(6, 7, 10, 10, fill=(190, 232, 204))


@icon("IMAGE_GROUP")
def group(c):
    for cx in (3.6, 12.4):
        c.circle(cx, 4.4, 2.0, fill=PURPLE_L)
        c.rect(cx - 3.2, 7.2, cx + 3.2, 13, fill=PURPLE_L, radius=2.5)
    c.circle(8, 5.6, 3.1, fill=WHITE)
    c.circle(8, 5.6, 2.3, fill=PURPLE)
    c.rect(3.0, 9.0, 13.0, 15.6, fill=PURPLE, outline=WHITE, width=0.9, radius=3.2)


@icon("IMAGE_MEMBER")
def member(c):
    c.polygon([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (1, 14)], fill=YELLOW, outline=YELLOW_D)
    c.rect(1, 6, 15, 14, fill=(255, 222, 120), outline=YELLOW_D, width=0.8, radius=0.8)
    person(c, 8, 6.8, 0.6, PURPLE, None)


@icon("IMAGE_VISIT_SITE")
def globe(c):
    c.circle(8, 8, 6.8, fill=(214, 232, 250), outline=BLUE_D, width=1)
    c.ellipse(5, 1.2, 11, 14.8, outline=BLUE, width=0.9)
    c.line([(8, 1.4), (8, 14.6)], BLUE, 0.9, round_caps=False)
    c.line([(1.4, 8), (14.6, 8)], BLUE, 0.9, round_caps=False)
    c.arc(8, 15, 10.6, 233, 307, BLUE, 0.9)
    c.arc(8, 1, 10.6, 53, 127, BLUE, 0.9)


@icon("IMAGE_PLAY")
def play(c):
    c.circle(8, 8, 6.8, fill=PURPLE, outline=PURPLE_D, width=0.8)
    c.polygon([(6.2, 4.6), (11.4, 8), (6.2, 11.4)], fill=WHITE)


@icon("IMAGE_SAVE")
def save(c):
    c.polygon([(6.4, 1.5), (9.6, 1.5), (9.6, 6.5), (12, 6.5), (8, 10.8), (4, 6.5), (6.4, 6.5)],
              fill=PURPLE, outline=PURPLE_D)
    c.line([(2, 10), (2, 14), (14, 14), (14, 10)], GREY, 1.6)


@icon("IMAGE_YOUTUBE")
def film(c):
    c.rect(1, 2, 15, 14, fill=INK, radius=1.2)
    for x in (2.4, 5.4, 8.4, 11.4):
        c.rect(x + 0.2, 2.8, x + 2.0, 4.2, fill=WHITE)
        c.rect(x + 0.2, 11.8, x + 2.0, 13.2, fill=WHITE)
    c.rect(2.5, 5.2, 13.5, 10.8, fill=PURPLE_M)
    c.polygon([(6.8, 6.0), (10, 8), (6.8, 10.0)], fill=WHITE)


# --------------------------------------------------------------------------
# Busy frames for the tray: eight dots, the bright one going round.

def busy_frame(step):
    def produce():
        c = Canvas(16, 16)
        for i in range(8):
            a = 2 * math.pi * i / 8 - math.pi / 2
            age = (step - i) % 8  # 0 = the head
            colour = PURPLE if age == 0 else mix(PURPLE_M, PURPLE_XL, min(1, age / 6))
            r = 1.9 if age == 0 else 1.5 if age < 3 else 1.3
            c.circle(8 + 5.4 * math.cos(a), 8 + 5.4 * math.sin(a), r, fill=colour,
                     outline=WHITE if age == 0 else None, width=0.5)
        return c.result()
    return produce


for _i in range(8):
    PICTURES.append(("IMAGE_BUSY%d" % _i, "png", busy_frame(_i)))


# --------------------------------------------------------------------------
# Animated GIFs

def bell_frame(t, size=48):
    c = Canvas(size, size, unit=size / 48)
    angle = 16 * math.sin(2 * math.pi * t)
    bell = Canvas(48, 48)
    bell.polygon([(24, 6), (31, 9), (33.5, 18), (35, 28), (39, 33), (9, 33), (13, 28), (14.5, 18), (17, 9)],
                 fill=YELLOW, outline=YELLOW_D)
    bell.rect(8, 32, 40, 36, fill=YELLOW_D, radius=2)
    bell.circle(24, 38.5, 3.2, fill=ORANGE_D)
    bell.circle(24, 5, 2.4, fill=YELLOW_D)
    bell.line([(19, 13), (18, 24)], (255, 236, 160), 2.0)
    rotated = bell.img.rotate(angle, resample=Image.BICUBIC, center=(24 * SS, 5 * SS))
    c.img.alpha_composite(rotated.resize(c.img.size, Image.LANCZOS))
    # sound arcs on the side the bell swings to
    strength = abs(math.sin(2 * math.pi * t))
    if strength > 0.35:
        side = 1 if angle > 0 else -1
        col = mix(PURPLE_L, PURPLE, strength)
        for r in (6, 10):
            if side > 0:
                c.arc(24, 20, 18 + r - 6, -40, 20, col, 2.0)
            else:
                c.arc(24, 20, 18 + r - 6, 160, 220, col, 2.0)
    # twinkles
    for i, (x, y) in enumerate(((7, 9), (41, 8), (44, 40))):
        s = 1.2 + 1.3 * (0.5 + 0.5 * math.sin(2 * math.pi * (t + i / 3)))
        c.line([(x - s, y), (x + s, y)], ORANGE, 1.2)
        c.line([(x, y - s), (x, y + s)], ORANGE, 1.2)
    return c.result()


@picture("IMAGE_CHEER", "gif")
def cheer():
    return [bell_frame(i / 12) for i in range(12)], 80


@picture("IMAGE_CLOCK", "gif")
def clock():
    frames = []
    for i in range(12):
        c = Canvas(32, 32)
        c.circle(16, 16, 14.5, fill=WHITE, outline=PURPLE, width=2.2)
        for h in range(12):
            a = 2 * math.pi * h / 12
            r0 = 10.6 if h % 3 else 9.4
            c.line([(16 + r0 * math.sin(a), 16 - r0 * math.cos(a)),
                    (16 + 12 * math.sin(a), 16 - 12 * math.cos(a))], GREY if h % 3 else INK, 1.0)
        a = 2 * math.pi * i / 12
        c.line([(16, 16), (16 + 6.5 * math.sin(a / 12 + 1.0), 16 - 6.5 * math.cos(a / 12 + 1.0))], INK, 2.0)
        c.line([(16, 16), (16 + 10 * math.sin(a), 16 - 10 * math.cos(a))], ORANGE_D, 1.4)
        c.circle(16, 16, 1.6, fill=PURPLE)
        frames.append(c.result())
    return frames, 100


@picture("IMAGE_LOGIN", "gif")
def login():
    frames = []
    for i in range(12):
        c = Canvas(32, 32)
        c.circle(16, 16, 12.5, outline=PURPLE_XL, width=3.2)
        start = i * 30
        for seg in range(6):
            col = mix(PURPLE_L, PURPLE, seg / 5)
            c.arc(16, 16, 12.5, start + seg * 18, start + seg * 18 + 20, col, 3.2)
        person(c, 16, 9.5, 0.95, PURPLE_M)
        frames.append(c.result())
    return frames, 70


# --------------------------------------------------------------------------
# Larger pictures

@picture("IMAGE_SCHEDULE")
def schedule():
    """Month calendar background, 225 x 216: header, weekday row, 7 x 6 day grid at (14, 59)
    of 196 x 114, and the date line at (63, 182) below."""
    c = Canvas(225, 216)
    c.rect(0, 0, 225, 216, fill=WHITE, outline=PURPLE_L, width=1, radius=7)
    c.rect(0, 0, 225, 6, fill=PURPLE, radius=7)
    c.rect(1, 3, 224, 6, fill=PURPLE)
    c.rect(8, 38, 217, 39, fill=(232, 224, 244))
    # weekday heading
    c.rect(14, 41, 210, 58, fill=PURPLE_XL, radius=3)
    names = ["일", "월", "화", "수", "목", "금", "토"]
    for i, name in enumerate(names):
        colour = (206, 81, 49) if i == 0 else (49, 138, 182) if i == 6 else (101, 101, 101)
        c.text(14 + 28 * i + 14, 49.2, name, 10.5, colour, bold=(i in (0, 6)))
    # day grid frame; the cells paint their own left and top edges
    c.rect(13, 58, 211, 174, outline=(215, 215, 215), width=1)
    c.rect(14, 59, 210, 173, fill=WHITE)
    # lower band behind the date line and the today button
    c.rect(8, 177, 217, 206, fill=(248, 246, 252), radius=4)
    return c.result()


def palette_base(w, h, squares):
    c = Canvas(w, h)
    c.rect(0, 0, w, h, fill=(250, 250, 252), outline=(214, 212, 224), width=1)
    for x, y in squares:
        c.rect(x - 1, y - 1, x + 17, y + 17, fill=(236, 235, 242), outline=(222, 220, 230), width=1)
    return c.result()


@picture("IMAGE_COLORSEL")
def colour_select():
    """Calendar colours: 12 per row at (6 + 20 i, 6) and (6 + 20 i, 26)."""
    squares = [(6 + 20 * i, top) for top in (6, 26) for i in range(12)]
    return palette_base(248, 48, squares)


@picture("IMAGE_COLOREVT")
def colour_event():
    """Event colours: one row at (9 + 23 i, 6)."""
    return palette_base(264, 28, [(9 + 23 * i, 6) for i in range(11)])


@picture("IMAGE_PROGRESS")
def progress():
    c = Canvas(227, 87)
    c.rect(0, 0, 227, 87, fill=PURPLE)
    c.rect(2, 26, 225, 85, fill=CLIENT)
    icon_c = Canvas(16, 16)
    draw_app_icon(icon_c)
    c.img.alpha_composite(icon_c.img.resize((16 * SS, 16 * SS)), (7 * SS, 5 * SS))
    c.text(29, 12.6, "데이북", 10.5, WHITE, bold=True, anchor="lm")
    return c.result()


@picture("IMAGE_HELLO", "jpg")
def hello():
    w, h = 440, 270
    c = Canvas(w, h)
    top, bottom = (104, 18, 196), (60, 0, 124)
    for y in range(h * SS):
        c.d.line([(0, y), (w * SS, y)], fill=rgba(mix(top, bottom, y / (h * SS))))
    # soft circles for depth
    glow = c.layer()
    glow.circle(380, 40, 110, fill=(255, 255, 255, 18))
    glow.circle(60, 250, 90, fill=(255, 255, 255, 14))
    c.over(glow)
    # calendar illustration
    cal = c.layer()
    cal.rect(38, 62, 178, 210, fill=(0, 0, 0, 50), radius=12)
    cal.rect(34, 56, 174, 204, fill=WHITE, radius=12)
    cal.rect(34, 56, 174, 92, fill=ORANGE, radius=12)
    cal.rect(34, 80, 174, 92, fill=ORANGE)
    for rx in (70, 138):
        cal.rect(rx - 4, 46, rx + 4, 68, fill=INK, radius=4)
    for row in range(4):
        for col in range(5):
            x, y = 48 + col * 24, 102 + row * 24
            fill = PURPLE_XL
            if (row, col) == (1, 2):
                fill = PURPLE
            elif (row, col) in ((0, 4), (2, 0), (3, 3)):
                fill = PURPLE_L
            cal.rect(x, y, x + 16, y + 16, fill=fill, radius=3)
    cal.line([(97, 126), (102, 131), (111, 121)], WHITE, 2.6)
    c.over(cal)
    c.text(206, 112, "데이북", 46, WHITE, bold=True, anchor="ls")
    c.text(208, 142, "하루빛 · 나의 하루를 한눈에", 15, (226, 212, 250), anchor="ls")
    c.text(208, 170, "일정 · 할 일 · 주소록 · 다이어리", 12, (200, 180, 240), anchor="ls")
    c.text(w - 18, h - 16, "불러오는 중...", 11, (210, 196, 240), anchor="rs")
    return c.result().convert("RGB")


@picture("IMAGE_MAILWARNING")
def mail_warning():
    w, h = 995, 247
    c = Canvas(w, h)
    c.rect(0, 0, w, h, fill=WHITE)
    c.rect(0, 0, 8, h, fill=ORANGE)
    # envelope with a warning sign
    c.rect(50, 52, 220, 172, fill=(232, 241, 252), outline=BLUE_D, width=3, radius=10)
    c.line([(60, 64), (135, 122), (210, 64)], BLUE, 5)
    c.polygon([(192, 100), (240, 186), (144, 186)], fill=ORANGE, outline=ORANGE_D)
    c.rect(188.5, 124, 195.5, 160, fill=WHITE, radius=3)
    c.circle(192, 172, 4.2, fill=WHITE)
    x0 = 300
    c.text(x0, 48, "메일 서버가 로그인을 받아들이지 않았습니다", 24, INK, bold=True, anchor="ls")
    c.text(x0, 76, "비밀번호가 맞는데도 거부되면 계정의 보안 설정에서 메일 프로그램의 접속을 허용해야 합니다.",
           13.5, GREY, anchor="ls")
    steps = [
        "잠시 후 열리는 계정 보안 페이지에 로그인합니다.",
        "외부 메일 프로그램(IMAP)의 접속을 허용하거나, 앱 비밀번호를 새로 만듭니다.",
        "데이북의 환경설정 → 이메일 설정에서 비밀번호를 다시 입력합니다.",
    ]
    for i, s in enumerate(steps):
        y = 116 + i * 38
        c.circle(x0 + 13, y, 13, fill=PURPLE)
        c.text(x0 + 13, y - 1, str(i + 1), 14, WHITE, bold=True)
        c.text(x0 + 38, y - 1, s, 15, INK, anchor="lm")
    c.text(w - 20, h - 14, "아무 키나 누르면 이 창이 닫힙니다.", 12, GREY, anchor="rs")
    return c.result()


@picture("IMAGE_24CLOCK")
def clock_face():
    """24-hour dial, 300 x 300, centre (150, 150), midnight at the top."""
    c = Canvas(300, 300)
    c.rect(0, 0, 300, 300, fill=CLIENT)
    c.circle(150, 150, 146, fill=WHITE, outline=PURPLE_L, width=2)
    # night half (18:00 to 06:00) faintly tinted
    c.d.pieslice(c._box(6, 6, 294, 294), 180, 360, fill=rgba((246, 242, 252)))
    c.circle(150, 150, 146, outline=PURPLE_L, width=2)
    for i in range(24):
        a = math.radians(i * 15)
        sx, sy = math.sin(a), -math.cos(a)
        c.line([(150 + 110 * sx, 150 + 110 * sy), (150 + 120 * sx, 150 + 120 * sy)],
               PURPLE if i % 6 == 0 else INK, 2.4 if i % 6 == 0 else 1.4)
        c.text(150 + 133 * sx, 150 + 133 * sy, str(i), 12 if i % 6 else 13, PURPLE if i % 6 == 0 else INK,
               bold=(i % 6 == 0))
        b = math.radians(i * 15 + 7.5)
        c.circle(150 + 100 * math.sin(b), 150 - 100 * math.cos(b), 1.3, fill=GREY)
    # sun and moon hints
    c.circle(150, 226, 9, fill=YELLOW, outline=YELLOW_D, width=1)
    c.circle(150, 74, 8, fill=YELLOW)
    c.circle(154.5, 70.5, 7, fill=(246, 242, 252))
    c.circle(150, 150, 4, fill=PURPLE)
    return c.result()


def slider_thumb(fill, ring, dot=None):
    def produce():
        c = Canvas(15, 23)
        c.circle(7.5, 11.5, 6.5, fill=fill, outline=ring, width=1.6)
        if dot:
            c.circle(7.5, 11.5, 2, fill=dot)
        return c.result()
    return produce


@picture("IMAGE_SLIDERBACK")
def slider_back():
    """Opacity slider track, 144 x 23: pale at the left, full purple at the right."""
    c = Canvas(144, 23)
    groove = c.layer()
    for x in range(6 * SS, 138 * SS):
        t = (x - 6 * SS) / (132 * SS)
        groove.d.line([(x, 9 * SS), (x, 14 * SS - 1)], fill=rgba(mix(PURPLE_XL, PURPLE_M, t)))
    mask = Canvas(144, 23)
    mask.rect(6, 9, 138, 14, fill=WHITE, radius=2.5)
    groove.img.putalpha(mask.img.getchannel("A"))
    c.over(groove)
    c.rect(6, 9, 138, 14, outline=PURPLE_L, width=0.8, radius=2.5)
    return c.result()


PICTURES.append(("IMAGE_SLIDER", "png", slider_thumb(WHITE, PURPLE)))
PICTURES.append(("IMAGE_SLIDEROVER", "png", slider_thumb(PURPLE_XL, PURPLE)))
PICTURES.append(("IMAGE_SLIDERGRAB", "png", slider_thumb(PURPLE, PURPLE_D, WHITE)))


# --------------------------------------------------------------------------
# Writers

def gif_frame(img, matte=CLIENT):
    """An RGBA frame as a palette image; index 255 is transparent.  Edges are blended
    onto a light matte since GIF transparency is all or nothing."""
    base = Image.new("RGBA", img.size, rgba(matte))
    base.alpha_composite(img)
    pal = base.convert("RGB").quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = pal.getpalette()[:255 * 3]
    palette += [0] * (255 * 3 - len(palette)) + list(MAGENTA)
    pal.putpalette(palette)
    alpha = img.getchannel("A").load()
    px = pal.load()
    for y in range(img.height):
        for x in range(img.width):
            if alpha[x, y] < 96:
                px[x, y] = 255
    return pal


def write_gif(path, frames, duration):
    pal = [gif_frame(f) for f in frames]
    pal[0].save(path, save_all=True, append_images=pal[1:], duration=duration, loop=0,
                transparency=255, disposal=2, optimize=False)


def write_ico(path, images):
    """An icon file with one PNG-coded entry per size."""
    blobs = []
    for img in images:
        buf = io.BytesIO()
        img.save(buf, "PNG", optimize=True)
        blobs.append(buf.getvalue())
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for img, blob in zip(images, blobs):
        size = img.width if img.width < 256 else 0
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_picture(name, fmt, produced):
    path = os.path.join(OUT, "%s.%s" % (name, fmt))
    if fmt == "png":
        produced.save(path, "PNG", optimize=True)
    elif fmt == "jpg":
        produced.save(path, "JPEG", quality=92, optimize=True)
    elif fmt == "gif":
        frames, duration = produced
        write_gif(path, frames, duration)
    elif fmt == "ico":
        write_ico(path, produced)
    return path


def preview_of(fmt, produced):
    if fmt == "gif":
        return produced[0][0]
    if fmt == "ico":
        return produced[0]
    return produced


def contact_sheet(entries, path):
    cell_w = 150
    rows = []
    for name, img in entries:
        scale = 3 if img.width <= 16 else 2 if img.width <= 48 else 1
        rows.append((name, img, scale))
    x = y = 10
    line_h = 0
    placed = []
    width = 1000
    for name, img, scale in rows:
        w = max(cell_w, img.width * scale + 10)
        h = img.height * scale + 34
        if x + w > width:
            x, y = 10, y + line_h + 10
            line_h = 0
        placed.append((x, y, name, img, scale))
        x += w + 10
        line_h = max(line_h, h)
    sheet = Image.new("RGBA", (width, y + line_h + 10), rgba(CLIENT))
    d = ImageDraw.Draw(sheet)
    small = font(11)
    for x, y, name, img, scale in placed:
        big = img.convert("RGBA").resize((img.width * scale, img.height * scale), Image.NEAREST)
        sheet.alpha_composite(big, (x, y))
        d.text((x, y + img.height * scale + 4), name, font=small, fill=INK)
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a contact sheet of every picture")
    args = parser.parse_args()
    os.makedirs(OUT, exist_ok=True)
    previews = []
    for name, fmt, produce in PICTURES:
        produced = produce()
        write_picture(name, fmt, produced)
        previews.append((name, preview_of(fmt, produced)))
    if args.sheet:
        contact_sheet(previews, args.sheet)
    print("wrote %d pictures to %s" % (len(PICTURES), os.path.relpath(OUT, ROOT)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
