#!/usr/bin/env python3
"""Draws every picture Zarnith ships and writes it next to this script.

Run with the system Python that has PIL:  /usr/bin/python3 make_images.py
The output is deterministic; the build does not run this script, so the
generated files are committed beside it.

Every picture is drawn as code from a few flat shapes (rounded rectangles,
ellipses, polygons, strokes, arcs) supersampled and box-filtered down, with
one palette: deep navy and teal, a brass padlock as the recurring motif.
"""

import math
import os
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONTS = "/usr/share/fonts/truetype/"
SANS = FONTS + "liberation/LiberationSans-Regular.ttf"
SANS_BOLD = FONTS + "liberation/LiberationSans-Bold.ttf"
DEJAVU_BOLD = FONTS + "dejavu/DejaVuSans-Bold.ttf"

# ---------------------------------------------------------------- palette
NAVY = (16, 42, 67)
NAVY_2 = (27, 61, 92)
TEAL_D = (12, 78, 90)
TEAL = (22, 122, 132)
TEAL_L = (92, 178, 184)
TEAL_XL = (200, 231, 231)
BRASS_D = (176, 121, 34)
BRASS = (222, 167, 60)
BRASS_L = (245, 204, 112)
BRASS_XL = (252, 232, 180)
PAPER = (250, 250, 248)
GREY = (150, 164, 176)
CORAL = (205, 82, 62)
WHITE = (255, 255, 255)
DIALOG_BG = (239, 239, 239)   # what a light dialog usually paints behind us


def rgba(c, a=255):
    return (c[0], c[1], c[2], a)


def hexc(c):
    return "#%02x%02x%02x" % tuple(c[:3])


def fnum(v):
    s = ("%.3f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


# ---------------------------------------------------------------- shapes
# Coordinates are in design units; a shape renders into a binary mask at
# (unit scale * supersampling) and knows how to write itself as SVG.

class Shape:
    def mask(self, size, k):
        m = Image.new("L", size, 0)
        self.draw(ImageDraw.Draw(m), k)
        return m

    def draw(self, d, k):
        raise NotImplementedError

    def svg(self, fill):
        raise NotImplementedError("shape has no SVG form")

    def __or__(self, other):
        return Union(self, other)

    def __sub__(self, other):
        return Diff(self, other)

    def __and__(self, other):
        return Intersect(self, other)


def _box(x0, y0, x1, y1, k):
    # [x0, x1) in design units -> inclusive pixel box at scale k
    return [round(x0 * k), round(y0 * k), round(x1 * k) - 1, round(y1 * k) - 1]


class Rect(Shape):
    def __init__(self, x0, y0, x1, y1):
        self.b = (x0, y0, x1, y1)

    def draw(self, d, k):
        d.rectangle(_box(*self.b, k), fill=255)

    def svg(self, fill):
        x0, y0, x1, y1 = self.b
        return '<rect x="%s" y="%s" width="%s" height="%s" fill="%s"/>' % (
            fnum(x0), fnum(y0), fnum(x1 - x0), fnum(y1 - y0), fill)


class RRect(Shape):
    def __init__(self, x0, y0, x1, y1, r):
        self.b = (x0, y0, x1, y1)
        self.r = r

    def draw(self, d, k):
        d.rounded_rectangle(_box(*self.b, k), radius=max(0, round(self.r * k)), fill=255)

    def svg(self, fill):
        x0, y0, x1, y1 = self.b
        return '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" fill="%s"/>' % (
            fnum(x0), fnum(y0), fnum(x1 - x0), fnum(y1 - y0), fnum(self.r), fill)


class HalfRRect(Shape):
    """The left part (up to x = xm) of a rounded rectangle."""

    def __init__(self, x0, y0, x1, y1, r, xm):
        self.full = RRect(x0, y0, x1, y1, r)
        self.b = (x0, y0, x1, y1)
        self.r = r
        self.xm = xm

    def draw(self, d, k):
        pass

    def mask(self, size, k):
        return (self.full & Rect(-1e4, -1e4, self.xm, 1e4)).mask(size, k)

    def svg(self, fill):
        x0, y0, x1, y1 = self.b
        r = self.r
        p = "M%s %sH%sV%sH%sA%s %s 0 0 1 %s %sV%sA%s %s 0 0 1 %s %sZ" % tuple(
            fnum(v) for v in (x0 + r, y0, self.xm, y1, x0 + r, r, r, x0, y1 - r,
                              y0 + r, r, r, x0 + r, y0))
        return '<path d="%s" fill="%s"/>' % (p, fill)


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        self.c = (cx, cy, rx, rx if ry is None else ry)

    def draw(self, d, k):
        cx, cy, rx, ry = self.c
        d.ellipse(_box(cx - rx, cy - ry, cx + rx, cy + ry, k), fill=255)

    def svg(self, fill):
        cx, cy, rx, ry = self.c
        if rx == ry:
            return '<circle cx="%s" cy="%s" r="%s" fill="%s"/>' % (
                fnum(cx), fnum(cy), fnum(rx), fill)
        return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"/>' % (
            fnum(cx), fnum(cy), fnum(rx), fnum(ry), fill)


class Ring(Shape):
    """A circle outline of width w centred on radius r."""

    def __init__(self, cx, cy, r, w):
        self.p = (cx, cy, r, w)

    def mask(self, size, k):
        cx, cy, r, w = self.p
        return (Ellipse(cx, cy, r + w / 2) - Ellipse(cx, cy, r - w / 2)).mask(size, k)

    def svg(self, fill):
        cx, cy, r, w = self.p
        return '<circle cx="%s" cy="%s" r="%s" fill="none" stroke="%s" stroke-width="%s"/>' % (
            fnum(cx), fnum(cy), fnum(r), fill, fnum(w))


class Poly(Shape):
    def __init__(self, pts):
        self.pts = list(pts)

    def draw(self, d, k):
        d.polygon([(x * k - 0.5, y * k - 0.5) for x, y in self.pts], fill=255)

    def svg(self, fill):
        return '<polygon points="%s" fill="%s"/>' % (
            " ".join("%s,%s" % (fnum(x), fnum(y)) for x, y in self.pts), fill)


class Stroke(Shape):
    """A polyline of the given width; round caps and joins unless butt."""

    def __init__(self, pts, w, round_caps=True):
        self.pts = list(pts)
        self.w = w
        self.round = round_caps

    def draw(self, d, k):
        pts = [(x * k - 0.5, y * k - 0.5) for x, y in self.pts]
        d.line(pts, fill=255, width=max(1, round(self.w * k)), joint="curve")
        if self.round:
            r = self.w * k / 2
            for x, y in pts:
                d.ellipse([x - r + 0.5, y - r + 0.5, x + r - 0.5, y + r - 0.5], fill=255)

    def svg(self, fill):
        cap = "round" if self.round else "butt"
        return ('<polyline points="%s" fill="none" stroke="%s" stroke-width="%s" '
                'stroke-linecap="%s" stroke-linejoin="round"/>') % (
            " ".join("%s,%s" % (fnum(x), fnum(y)) for x, y in self.pts), fill,
            fnum(self.w), cap)


class Arc(Shape):
    """A stroked circular arc from angle a0 to a1 (degrees, clockwise, 0 = east)."""

    def __init__(self, cx, cy, r, a0, a1, w, round_caps=True):
        self.p = (cx, cy, r, a0, a1, w)
        self.round = round_caps

    def point(self, a):
        cx, cy, r = self.p[:3]
        return (cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))

    def mask(self, size, k):
        cx, cy, r, a0, a1, w = self.p
        ring = Ellipse(cx, cy, r + w / 2) - Ellipse(cx, cy, r - w / 2)
        m = ring.mask(size, k)
        sector = Image.new("L", size, 0)
        big = (r + w) * k * 2
        ImageDraw.Draw(sector).pieslice(
            [cx * k - big, cy * k - big, cx * k + big, cy * k + big], a0, a1, fill=255)
        m = ImageChops.multiply(m, sector)
        if self.round:
            for a in (a0, a1):
                x, y = self.point(a)
                m = ImageChops.lighter(m, Ellipse(x, y, w / 2).mask(size, k))
        return m

    def svg(self, fill):
        cx, cy, r, a0, a1, w = self.p
        x0, y0 = self.point(a0)
        x1, y1 = self.point(a1)
        large = 1 if (a1 - a0) % 360 > 180 else 0
        cap = "round" if self.round else "butt"
        return ('<path d="M%s %sA%s %s 0 %d 1 %s %s" fill="none" stroke="%s" '
                'stroke-width="%s" stroke-linecap="%s"/>') % (
            fnum(x0), fnum(y0), fnum(r), fnum(r), large, fnum(x1), fnum(y1), fill,
            fnum(w), cap)


class Shackle(Shape):
    """The U-shaped bar of a padlock: outer half width hw, bar thickness t."""

    def __init__(self, cx, top, bottom, hw, t):
        self.p = (cx, top, bottom, hw, t)

    def mask(self, size, k):
        cx, top, bottom, hw, t = self.p
        rc = hw - t / 2
        cy = top + hw
        shape = (Arc(cx, cy, rc, 180, 360, t, round_caps=False)
                 | Rect(cx - hw, cy - 0.01, cx - hw + t, bottom)
                 | Rect(cx + hw - t, cy - 0.01, cx + hw, bottom))
        return shape.mask(size, k)

    def svg(self, fill):
        cx, top, bottom, hw, t = self.p
        rc = hw - t / 2
        cy = top + hw
        return ('<path d="M%s %sV%sA%s %s 0 0 1 %s %sV%s" fill="none" stroke="%s" '
                'stroke-width="%s"/>') % (
            fnum(cx - rc), fnum(bottom), fnum(cy), fnum(rc), fnum(rc), fnum(cx + rc),
            fnum(cy), fnum(bottom), fill, fnum(t))


class Union(Shape):
    def __init__(self, *parts):
        self.parts = parts

    def mask(self, size, k):
        m = self.parts[0].mask(size, k)
        for p in self.parts[1:]:
            m = ImageChops.lighter(m, p.mask(size, k))
        return m

    def svg(self, fill):
        return "\n".join(p.svg(fill) for p in self.parts)


class Diff(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def mask(self, size, k):
        return ImageChops.subtract(self.a.mask(size, k), self.b.mask(size, k))


class Intersect(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def mask(self, size, k):
        return ImageChops.multiply(self.a.mask(size, k), self.b.mask(size, k))


class TextShape(Shape):
    """Text drawn into the supersampled mask (for large type)."""

    def __init__(self, x, y, text, font, size, anchor="la", spacing=0.0):
        self.p = (x, y, text, font, size, anchor, spacing)

    def mask(self, size, k):
        x, y, text, font, fsize, anchor, spacing = self.p
        m = Image.new("L", size, 0)
        d = ImageDraw.Draw(m)
        f = ImageFont.truetype(font, round(fsize * k))
        if not spacing:
            d.text((x * k, y * k), text, font=f, fill=255, anchor=anchor)
            return m
        # letter-spaced: lay glyphs out one by one
        widths = [f.getlength(ch) for ch in text]
        total = sum(widths) + spacing * k * (len(text) - 1)
        if anchor[0] == "m":
            cur = x * k - total / 2
        elif anchor[0] == "r":
            cur = x * k - total
        else:
            cur = x * k
        for ch, w in zip(text, widths):
            d.text((cur, y * k), ch, font=f, fill=255, anchor="l" + anchor[1])
            cur += w + spacing * k
        return m


# ---------------------------------------------------------------- canvas

class Canvas:
    """w x h design units, written out at `scale` pixels per unit, drawn at ss x that."""

    def __init__(self, w, h, scale=1, ss=16, bg=None):
        self.w, self.h, self.scale, self.ss = w, h, scale, ss
        self.k = scale * ss
        self.size = (round(w * self.k), round(h * self.k))
        self.img = Image.new("RGBA", self.size, rgba(bg) if bg else (0, 0, 0, 0))
        self.ops = []

    def fill(self, shape, color, alpha=255):
        m = shape.mask(self.size, self.k)
        if alpha != 255:
            m = m.point(lambda v: v * alpha // 255)
        layer = Image.new("RGBA", self.size, rgba(color, 0))
        layer.putalpha(m)
        self.img.alpha_composite(layer)
        self.ops.append((shape, color, alpha))

    def fill_image(self, shape, picture):
        """Paint a full-size RGBA picture (already at supersampled size) through shape."""
        m = shape.mask(self.size, self.k)
        layer = picture.copy()
        layer.putalpha(ImageChops.multiply(m, picture.getchannel("A")))
        self.img.alpha_composite(layer)
        self.ops.append((shape, None, 255))

    def result(self):
        out = (round(self.w * self.scale), round(self.h * self.scale))
        return self.img.resize(out, Image.BOX)

    def svg(self):
        body = []
        for shape, color, alpha in self.ops:
            el = shape.svg(hexc(color))
            if alpha != 255:
                el = '<g opacity="%s">%s</g>' % (fnum(alpha / 255), el)
            body.append(el)
        return ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" '
                'viewBox="0 0 %s %s">\n%s\n</svg>\n') % (
            fnum(self.w), fnum(self.h), fnum(self.w), fnum(self.h), "\n".join(body))


def text_1x(img, xy, text, font, size, color, anchor="ma"):
    """Hinted text straight at output resolution, for small labels that must stay sharp."""
    m = Image.new("L", img.size, 0)
    ImageDraw.Draw(m).text(xy, text, font=ImageFont.truetype(font, size), fill=255, anchor=anchor)
    layer = Image.new("RGBA", img.size, rgba(color, 0))
    layer.putalpha(m)
    img.alpha_composite(layer)


# ---------------------------------------------------------------- writers

def save_png(img, name):
    img.save(os.path.join(HERE, name), optimize=True)


def write_bmp(path, width, height, bits, palette, rows):
    """Packed BMP: 14-byte file header, 40-byte BITMAPINFOHEADER, colour table,
    uncompressed bottom-up rows padded to 4 bytes. rows[y][x] are palette indices."""
    ncolors = 1 << bits
    assert len(palette) <= ncolors
    pal = list(palette) + [(0, 0, 0)] * (ncolors - len(palette))
    stride = ((width * bits + 31) // 32) * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = rows[y]
        line = bytearray()
        if bits == 8:
            line.extend(row)
        elif bits == 4:
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                line.append((hi << 4) | lo)
        else:
            raise ValueError(bits)
        line.extend(b"\0" * (stride - len(line)))
        data.extend(line)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)
    offset = 14 + 40 + len(table)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data),
                       2835, 2835, ncolors, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + table + bytes(data))


def save_bmp8(img, name):
    """Reduce an opaque RGB picture to 256 colours (median cut, no dither) and write it."""
    rgb = img.convert("RGB")
    q = rgb.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = q.getpalette()[:768]
    pal = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    w, h = q.size
    px = q.load()
    rows = [[px[x, y] for x in range(w)] for y in range(h)]
    write_bmp(os.path.join(HERE, name), w, h, 8, pal, rows)
    return q


def save_bmp4(img, name):
    """16-colour BMP whose entry 0 is pure white, which the program keys out.
    Nearly transparent pixels become white; the rest are composited over white
    and reduced to the 15 colours that suit this drawing best (median cut),
    never pure white, so nothing inside the drawing turns transparent."""
    w, h = img.size
    px = img.load()
    flat = Image.new("RGB", (w, h), WHITE)
    fpx = flat.load()
    inside = []
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            if a < 90:
                continue
            c = tuple((v * a + 255 * (255 - a)) // 255 for v in (r, g, b))
            if min(c) >= 250:
                c = (250, 250, 250)
            fpx[x, y] = c
            inside.append(c)
    strip = Image.new("RGB", (len(inside), 1))
    strip.putdata(inside)
    q = strip.quantize(colors=15, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    used = sorted(set(q.getdata()))
    qpal = q.getpalette()
    colours = [tuple(min(250, v) if min(qpal[3 * i:3 * i + 3]) >= 250 else v
                     for v in qpal[3 * i:3 * i + 3]) for i in used]
    palette = [WHITE] + colours
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if px[x, y][3] < 90:
                row.append(0)
                continue
            r, g, b = fpx[x, y]
            row.append(min(range(1, len(palette)), key=lambda i: (
                (palette[i][0] - r) ** 2 * 3 + (palette[i][1] - g) ** 2 * 4
                + (palette[i][2] - b) ** 2 * 2)))
        rows.append(row)
    write_bmp(os.path.join(HERE, name), w, h, 4, palette, rows)


def both(name, w, h, draw, scales=(1, 2), post=None):
    """Draw one icon at 1x and 2x: name.png and name@2x.png."""
    base, ext = os.path.splitext(name)
    for s in scales:
        c = Canvas(w, h, scale=s, ss=16 if w * s <= 64 else 8)
        draw(c)
        img = c.result()
        if post:
            post(img, s)
        save_png(img, name if s == 1 else "%s@%dx%s" % (base, s, ext))


# ---------------------------------------------------------------- motifs

def padlock16(c, dx=0, dy=0, shackle=NAVY_2, body=BRASS, light=BRASS_L, hole=NAVY):
    """The padlock on a 16-unit grid, pixel aligned at 1x."""
    c.fill(Shackle(8 + dx, 1 + dy, 8 + dy, 4, 2), shackle)
    c.fill(RRect(2 + dx, 7 + dy, 14 + dx, 15 + dy, 1.5), body)
    c.fill(HalfRRect(2 + dx, 7 + dy, 14 + dx, 15 + dy, 1.5, 8 + dx), light)
    c.fill(Ellipse(8 + dx, 10.5 + dy, 1.5) | Rect(7 + dx, 10.5 + dy, 9 + dx, 13 + dy), hole)


def padlock24(c, dx=0, dy=0, shackle=NAVY_2, body=BRASS, light=BRASS_L, hole=NAVY):
    """The padlock on a 24-unit grid, pixel aligned at 1x."""
    c.fill(Shackle(12 + dx, 1 + dy, 11 + dy, 6, 3), shackle)
    c.fill(RRect(3 + dx, 10 + dy, 21 + dx, 23 + dy, 2), body)
    c.fill(HalfRRect(3 + dx, 10 + dy, 21 + dx, 23 + dy, 2, 12 + dx), light)
    c.fill(Ellipse(12 + dx, 15 + dy, 2.2) | Poly([(11 + dx, 15 + dy), (13 + dx, 15 + dy),
                                               (13.5 + dx, 20 + dy), (10.5 + dx, 20 + dy)]), hole)


def padlock(c, cx, top, width, shackle=NAVY_2, body=BRASS, light=BRASS_L, hole=NAVY,
            shadow=None):
    """Free-size padlock: body `width` wide, whole lock about 1.2 x width tall."""
    u = width / 18.0
    hw = 6 * u
    if shadow:
        c.fill(RRect(cx - 9 * u, top + 9 * u + 1.2 * u, cx + 9 * u, top + 22 * u + 1.2 * u, 2 * u),
               shadow[0], shadow[1])
    c.fill(Shackle(cx, top, top + 10 * u, hw, 3 * u), shackle)
    c.fill(RRect(cx - 9 * u, top + 9 * u, cx + 9 * u, top + 22 * u, 2 * u), body)
    c.fill(HalfRRect(cx - 9 * u, top + 9 * u, cx + 9 * u, top + 22 * u, 2 * u, cx), light)
    c.fill(Ellipse(cx, top + 14 * u, 2.2 * u), hole)
    c.fill(Poly([(cx - 1 * u, top + 14 * u), (cx + 1 * u, top + 14 * u),
                 (cx + 1.5 * u, top + 19 * u), (cx - 1.5 * u, top + 19 * u)]), hole)


def doc_poly(x0, y0, x1, y1, fold):
    return [(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]


def document(c, x0, y0, x1, y1, fold, t=1.0, outline=NAVY_2, paper=PAPER, flap=TEAL_XL):
    """A sheet with a folded top-right corner and an outline of width t."""
    c.fill(Poly(doc_poly(x0, y0, x1, y1, fold)), outline)
    f2 = fold - t * (2 - math.sqrt(2))
    c.fill(Poly(doc_poly(x0 + t, y0 + t, x1 - t, y1 - t, f2)), paper)
    c.fill(Poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), outline)
    c.fill(Poly([(x1 - fold + t, y0 + t * 2.4), (x1 - fold + t, y0 + fold - t),
                 (x1 - t * 2.4, y0 + fold - t)]), flap)


def speaker(c, color=NAVY_2, waves=TEAL, with_waves=True):
    """Loudspeaker on a 16-unit grid: paper inside an outline, to show on light and dark faces."""
    c.fill(Rect(1, 5.5, 4.5, 10.5) | Poly([(4, 5.5), (8.5, 2), (8.5, 14), (4, 10.5)]), color)
    c.fill(Rect(2, 6.5, 4, 9.5) | Poly([(4, 6.5), (7.5, 4), (7.5, 12), (4, 9.5)]), PAPER)
    if with_waves:
        c.fill(Arc(8.5, 8, 3, -45, 45, 1.5), waves)
        c.fill(Arc(8.5, 8, 5.8, -50, 50, 1.5), waves)


# ---------------------------------------------------------------- icons

def icon_locks(c):
    padlock16(c)


def icon_general(c):
    for y, kx in ((3, 11), (8, 5), (13, 9)):
        c.fill(Rect(1, y, 15, y + 1), GREY)
        c.fill(Rect(1, y, kx, y + 1), TEAL)
        c.fill(Ellipse(kx + 0.5, y + 0.5, 2.5), NAVY_2)
        c.fill(Ellipse(kx + 0.5, y + 0.5, 1.5), BRASS_L)


def icon_responses(c):
    bubble = RRect(0, 1, 16, 12, 3) | Poly([(3, 11), (3, 15.5), (8, 11)])
    c.fill(bubble, TEAL)
    c.fill(Rect(3, 5, 5, 8) | Poly([(5, 5), (8, 2.5), (8, 10.5), (5, 8)]), PAPER)
    c.fill(Arc(8.5, 6.5, 3.4, -55, 55, 1.4), BRASS_L)


def icon_appearance(c):
    outline = Ellipse(8, 8.5, 8, 6.5)
    hole = Ellipse(10.5, 11.5, 1.5) | Poly([(9, 16), (10.5, 11.5), (12.5, 16)])
    c.fill(outline - hole, BRASS)
    c.fill((outline & Rect(0, 0, 16, 8)) - hole, BRASS_L)
    c.fill(Ellipse(4.5, 9.5, 1.5), CORAL)
    c.fill(Ellipse(5.5, 5.5, 1.5), TEAL)
    c.fill(Ellipse(9.5, 4.5, 1.5), NAVY_2)
    c.fill(Ellipse(13, 7.5, 1.5), PAPER)


def icon_preview_eye(c):
    almond = Ellipse(8, 12.2, 8.6) & Ellipse(8, 3.8, 8.6)
    c.fill(almond, NAVY_2)
    inner = Ellipse(8, 13.6, 8.6) & Ellipse(8, 2.4, 8.6)
    c.fill(inner, PAPER)
    c.fill(Ellipse(8, 8, 3.2) & almond, TEAL)
    c.fill(Ellipse(8, 8, 1.5), NAVY)
    c.fill(Ellipse(9.1, 6.9, 0.8), PAPER)


def icon_generate(c):
    teeth = [Rect(6.5, 0, 9.5, 3), Rect(6.5, 13, 9.5, 16), Rect(0, 6.5, 3, 9.5),
             Rect(13, 6.5, 16, 9.5)]
    for a in (45, 135, 225, 315):
        ca, sa = math.cos(math.radians(a)), math.sin(math.radians(a))
        pts = [(-1.5, 5.5), (1.5, 5.5), (1.5, 7.7), (-1.5, 7.7)]
        teeth.append(Poly([(8 + x * sa + y * ca, 8 - x * ca + y * sa) for x, y in pts]))
    c.fill(Union(Ellipse(8, 8, 6.5), *teeth), TEAL_L)
    c.fill(Stroke([(5, 4.5), (1.8, 8), (5, 11.5)], 1.6), NAVY_2)
    c.fill(Stroke([(11, 4.5), (14.2, 8), (11, 11.5)], 1.6), NAVY_2)
    c.fill(Stroke([(9.4, 3), (6.6, 13)], 1.6), BRASS_D)


def icon_members(c):
    """Two members, one behind the other."""
    c.fill(Ellipse(5, 4.5, 2.5), TEAL_L)
    c.fill(RRect(0.5, 8, 9.5, 16, 3), TEAL_L)
    c.fill(Ellipse(10.5, 5.5, 3) | RRect(5, 9.5, 16, 17, 3.5), PAPER)
    c.fill(Ellipse(10.5, 5.5, 2.5), NAVY_2)
    c.fill(RRect(5.5, 10, 15.5, 17, 3), BRASS)
    c.fill(Rect(5.5, 15, 15.5, 16), BRASS_D)


def icon_browse(c):
    c.fill(RRect(1, 2, 7, 6, 1) | RRect(1, 3, 15, 14, 1), BRASS_D)
    c.fill(RRect(1, 5, 15, 14, 1), BRASS)
    c.fill(Rect(1.5, 5, 14.5, 6), BRASS_L)


def icon_sound(c):
    speaker(c)


def icon_mute(c):
    cut = Stroke([(1.5, 1.5), (14.5, 14.5)], 3.6, round_caps=False)
    c2 = Canvas(c.w, c.h, c.scale, c.ss)
    speaker(c2)
    # knock the slash's gap out of the speaker, then draw the slash
    m = cut.mask(c.size, c.k)
    a = ImageChops.subtract(c2.img.getchannel("A"), m)
    c2.img.putalpha(a)
    c.img.alpha_composite(c2.img)
    c.fill(Stroke([(2, 2), (14, 14)], 1.6), CORAL)


def label_post(word):
    """The word under an output icon, on a paper tag so that it reads on dark themes too."""
    def post(img, s):
        width = ImageFont.truetype(SANS_BOLD, 8 * s).getlength(word)
        half = min(width / 2 + 2 * s, 16 * s)
        ImageDraw.Draw(img).rounded_rectangle(
            (16 * s - half, 22 * s, 16 * s + half - 1, 32 * s - 1), radius=2 * s, fill=rgba(PAPER))
        text_1x(img, (16 * s, 23 * s), word, SANS_BOLD, 8 * s, NAVY, anchor="mt")
    return post


def icon_out_preview(c):
    c.fill(RRect(3, 1, 29, 21, 2), NAVY_2)
    c.fill(Rect(4, 5, 28, 20), PAPER)
    c.fill(Ellipse(6, 3, 0.9), CORAL)
    c.fill(Ellipse(9, 3, 0.9), BRASS_L)
    c.fill(Ellipse(12, 3, 0.9), TEAL_L)
    # a small login box inside the page
    c.fill(RRect(9, 7, 23, 18, 1), TEAL_XL)
    c.fill(Rect(11, 9, 21, 11), PAPER)
    c.fill(Rect(11, 12, 21, 14), PAPER)
    c.fill(RRect(15, 15, 21, 17, 0.6), BRASS)


def icon_out_copy(c):
    c.fill(RRect(6, 2.5, 26, 21, 2), BRASS)
    c.fill(Rect(8, 5, 24, 20), PAPER)
    c.fill(RRect(11.5, 1, 20.5, 5.5, 1.2), NAVY_2)
    c.fill(Ellipse(16, 2.3, 0.8), BRASS_L)
    for y, x1 in ((8, 22), (11, 20), (14, 22), (17, 18)):
        c.fill(Rect(10, y, x1, y + 1), TEAL_L)


def icon_out_file(c):
    document(c, 8, 1, 24, 21, 5)
    for y, x1 in ((9, 21), (12, 19), (15, 21)):
        c.fill(Rect(11, y, x1, y + 1), TEAL_L)
    c.fill(RRect(11, 17, 16, 19, 0.5), BRASS)


def icon_refresh(c):
    c.fill(Arc(16, 16, 10, 200, 325, 3.5, round_caps=False), TEAL)
    c.fill(Arc(16, 16, 10, 20, 145, 3.5, round_caps=False), TEAL)

    def head(a, direction):
        # arrowhead at angle a on the circle, pointing clockwise
        px, py = 16 + 10 * math.cos(math.radians(a)), 16 + 10 * math.sin(math.radians(a))
        tx, ty = -math.sin(math.radians(a)), math.cos(math.radians(a))
        nx, ny = math.cos(math.radians(a)), math.sin(math.radians(a))
        return Poly([(px + nx * 5, py + ny * 5), (px + tx * 6, py + ty * 6),
                     (px - nx * 5, py - ny * 5)])
    c.fill(head(325, 1), TEAL)
    c.fill(head(145, 1), TEAL)


def icon_blank(c):
    document(c, 6, 2, 26, 30, 7)


def icon_new_project(c):
    document(c, 5, 2, 23, 28, 6)
    padlock(c, 14, 11, 8, shackle=TEAL_XL, body=TEAL_XL, light=TEAL_XL, hole=PAPER)
    c.fill(Ellipse(24, 24, 7), PAPER)
    c.fill(Ellipse(24, 24, 6), BRASS)
    c.fill(Rect(23, 20.5, 25, 27.5) | Rect(20.5, 23, 27.5, 25), PAPER)


def icon_open_project(c):
    c.fill(RRect(2, 6, 13, 12, 1.5) | RRect(2, 9, 28, 28, 1.5), BRASS_D)
    document(c, 8, 1, 24, 20, 5)
    padlock(c, 16, 4.5, 8)
    c.fill(Poly([(5, 15), (31, 15), (28, 28), (2, 28)]), BRASS)
    c.fill(Poly([(5, 15), (31, 15), (30.6, 17), (4.6, 17)]), BRASS_L)


# ---------------------------------------------------------------- program icon

def app_icon(c, detail=True):
    """256-unit design: teal tile, combination dial, brass padlock.
    detail=False leaves out the dial marks, which only add noise at small sizes."""
    c.fill(RRect(8, 8, 248, 248, 54), TEAL_D)
    c.fill(Ellipse(128, 128, 100), TEAL)
    if detail:
        c.fill(Ring(128, 128, 98.5, 3), TEAL_L)
        for i in range(12):
            a = math.radians(i * 30)
            c.fill(Stroke([(128 + 86 * math.cos(a), 128 + 86 * math.sin(a)),
                           (128 + 94 * math.cos(a), 128 + 94 * math.sin(a))], 4),
                   BRASS_L if i % 3 == 0 else TEAL_L)
    padlock(c, 128, 48, 132, shackle=TEAL_XL, body=BRASS, light=BRASS_L, hole=NAVY,
            shadow=(NAVY, 90))


def app_icon_small(c):
    """16-unit hand-aligned variant for the tiniest size."""
    c.fill(RRect(0, 0, 16, 16, 3.5), TEAL_D)
    c.fill(Shackle(8, 1.5, 8, 3.5, 1.6), TEAL_XL)
    c.fill(RRect(3, 7, 13, 14.5, 1.2), BRASS)
    c.fill(HalfRRect(3, 7, 13, 14.5, 1.2, 8), BRASS_L)
    c.fill(Ellipse(8, 10, 1.3) | Rect(7.3, 10, 8.7, 12.6), NAVY)


def project_icon(c):
    """48-unit design: a sheet carrying the padlock."""
    document(c, 7, 2, 41, 46, 11)
    padlock(c, 24, 16, 20)


# ---------------------------------------------------------------- large pictures

def vgradient(size, top, bottom):
    w, h = size
    g = Image.new("RGBA", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        g.putpixel((0, y), tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3)) + (255,))
    return g.resize((w, h), Image.NEAREST)


def rings(c, cx, cy, radii, w, color, alpha):
    for r in radii:
        c.fill(Ring(cx, cy, r, w), color, alpha)


def dial_ticks(c, cx, cy, r0, r1, n, w, color, alpha):
    for i in range(n):
        a = math.radians(i * 360.0 / n)
        c.fill(Stroke([(cx + r0 * math.cos(a), cy + r0 * math.sin(a)),
                       (cx + r1 * math.cos(a), cy + r1 * math.sin(a))], w, round_caps=False),
               color, alpha)


def panel(c):
    """134 x 334 side panel; everything that matters sits in the lower 283 rows."""
    c.fill_image(Rect(0, 0, 134, 334), vgradient(c.size, NAVY, TEAL_D))
    # combination dial behind the lock
    cx, cy = 67, 178
    c.fill(Ellipse(cx, cy, 58), TEAL, 70)
    rings(c, cx, cy, (58, 46), 1.2, TEAL_L, 110)
    dial_ticks(c, cx, cy, 50, 55, 40, 1.2, TEAL_L, 120)
    dial_ticks(c, cx, cy, 49, 56, 8, 2, BRASS_L, 200)
    padlock(c, cx, 130, 62, shackle=TEAL_XL, shadow=(NAVY, 110))
    # wordmark
    c.fill(TextShape(67, 272, "Zarnith", DEJAVU_BOLD, 22, anchor="ms"), PAPER)
    c.fill(Rect(42, 282, 92, 283.5), BRASS)
    c.fill(TextShape(67, 300, "LOGIN BOXES", SANS_BOLD, 8.5, anchor="ms", spacing=1.6),
           TEAL_XL)
    # brass rule along the bottom and the faint key pattern at the top
    c.fill(Rect(0, 330, 134, 334), BRASS)
    c.fill(Rect(0, 328, 134, 330), BRASS_D)
    for i, x in enumerate(range(12, 134, 28)):
        c.fill(Ellipse(x, 24, 4) | Poly([(x - 1.6, 24), (x + 1.6, 24), (x + 2.4, 34), (x - 2.4, 34)]),
               TEAL_L, 30)


def splash(c):
    """544 x 340 start-up picture."""
    c.fill_image(Rect(0, 0, 544, 340), vgradient(c.size, NAVY, (14, 56, 78)))
    cx, cy = 150, 170
    c.fill(Ellipse(cx, cy, 128), TEAL_D)
    c.fill(Ellipse(cx, cy, 104), TEAL, 120)
    rings(c, cx, cy, (128, 104), 1.5, TEAL_L, 90)
    dial_ticks(c, cx, cy, 110, 120, 60, 1.6, TEAL_L, 110)
    dial_ticks(c, cx, cy, 108, 122, 12, 2.6, BRASS_L, 200)
    padlock(c, cx, 74, 128, shackle=TEAL_XL, shadow=(NAVY, 110))
    # wordmark and texts
    # the wordmark is sized to end well inside the right edge
    size = 60
    while ImageFont.truetype(DEJAVU_BOLD, size * 4).getlength("Zarnith") / 4 > 212:
        size -= 1
    c.fill(TextShape(300, 150, "Zarnith", DEJAVU_BOLD, size, anchor="ls"), PAPER)
    c.fill(Rect(302, 166, 372, 169), BRASS)
    c.fill(TextShape(302, 196, "Password login boxes", SANS, 19, anchor="ls"), TEAL_XL)
    c.fill(TextShape(302, 220, "for your web site", SANS, 19, anchor="ls"), TEAL_XL)
    c.fill(TextShape(302, 252, "Version 1.02", SANS_BOLD, 13, anchor="ls"), BRASS_L)
    # maker at the bottom
    c.fill(Rect(0, 302, 544, 340), NAVY, 160)
    c.fill(Rect(0, 300, 544, 302), BRASS)
    c.fill(TextShape(518, 327, "Velto", SANS_BOLD, 15, anchor="rs", spacing=0.6), PAPER)


# ---------------------------------------------------------------- animation

def sheet_shape(x, y, tilt, w=13.0, h=16.0, fold=4.0):
    a = math.radians(tilt)
    ca, sa = math.cos(a), math.sin(a)
    pts = doc_poly(-w / 2, -h / 2, w / 2, h / 2, fold)

    def rot(p):
        return (x + p[0] * ca - p[1] * sa, y + p[0] * sa + p[1] * ca)
    return [rot(p) for p in pts], rot


def sheet(c, x, y, tilt):
    pts, rot = sheet_shape(x, y, tilt)
    c.fill(Poly(pts), NAVY_2)
    inner, _ = sheet_shape(x, y, tilt, 11.0, 14.0, 3.4)
    c.fill(Poly(inner), PAPER)
    for dy, l in ((-2.5, 6.0), (0.5, 7.0), (3.5, 5.0)):
        c.fill(Stroke([rot((-4, dy)), rot((-4 + l, dy))], 1.2, round_caps=False), TEAL_L)


def draw_anim():
    """260 x 40, 17 frames: sheets arc from the left folder into the right one."""
    W, H, N = 260, 40, 17
    frames = []
    for f in range(N):
        c = Canvas(W, H, scale=1, ss=4)
        # folder backs
        for x0 in (8, 202):
            c.fill(RRect(x0, 9, x0 + 20, 17, 2) | RRect(x0, 13, x0 + 50, 38, 2), BRASS_D)
        # dotted track hinting at the flight path
        for i in range(3, 11):
            t = (i + 0.5) / 14
            x = 33 + (227 - 33) * t
            y = 27 - 16 * math.sin(math.pi * t)
            c.fill(Ellipse(x, y, 1.1), GREY, 150)
        # three sheets a third of a cycle apart
        for k in range(3):
            t = ((f / N) + k / 3.0) % 1.0
            x = 33 + (227 - 33) * t
            y = 27 - 16 * math.sin(math.pi * t)
            sheet(c, x, y, -25 + 50 * t)
        # folder fronts
        for x0 in (8, 202):
            c.fill(Poly([(x0 + 3, 21), (x0 + 53, 21), (x0 + 50, 38), (x0, 38)]), BRASS)
            c.fill(Poly([(x0 + 3, 21), (x0 + 53, 21), (x0 + 52.6, 23), (x0 + 2.6, 23)]), BRASS_L)
        # small padlock badge on the destination folder
        padlock(c, 232, 24, 10, shackle=NAVY_2, body=BRASS_XL, light=BRASS_XL)
        frames.append(c.result())
    return frames


def save_gif(frames, name):
    """Index 0 is transparent; edges are blended against a light dialog grey."""
    # one shared palette: composite every frame over the dialog grey, quantise all together
    W, H = frames[0].size
    strip = Image.new("RGB", (W, H * len(frames)), DIALOG_BG)
    for i, fr in enumerate(frames):
        strip.paste(fr.convert("RGB"), (0, H * i), fr)
    q = strip.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = q.getpalette()[:255 * 3]
    # shift every entry up by one so 0 can be the transparent slot
    full = [255, 0, 255] + pal
    full += [0] * (768 - len(full))
    out = []
    qpx = q.load()
    for i, fr in enumerate(frames):
        p = Image.new("P", (W, H), 0)
        pp = p.load()
        a = fr.getchannel("A").load()
        for y in range(H):
            for x in range(W):
                if a[x, y] >= 24:
                    pp[x, y] = qpx[x, H * i + y] + 1
        p.putpalette(full)
        out.append(p)
    out[0].save(os.path.join(HERE, name), save_all=True, append_images=out[1:], duration=100,
                loop=0, transparency=0, disposal=2, optimize=False)


# ---------------------------------------------------------------- main

def main():
    # tab icons
    both("icon101.png", 16, 16, icon_locks)
    both("icon108.png", 16, 16, icon_members)
    both("icon106.png", 16, 16, icon_general)
    both("icon212.png", 16, 16, icon_responses)
    both("icon105.png", 16, 16, icon_appearance)
    both("icon104.png", 16, 16, icon_preview_eye)
    both("icon103.png", 16, 16, icon_generate)
    # small button icons
    both("icon206.png", 16, 16, icon_browse)
    both("icon301.png", 16, 16, icon_sound)
    both("icon302.png", 16, 16, icon_mute)
    # output buttons with words
    both("icon201.png", 32, 32, icon_out_preview, post=label_post("Preview"))
    both("icon202.png", 32, 32, icon_out_copy, post=label_post("Copy"))
    both("icon203.png", 32, 32, icon_out_file, post=label_post("File"))
    # 32 px buttons
    both("icon204.png", 32, 32, icon_refresh)
    both("icon205.png", 32, 32, icon_blank)
    both("icon210.png", 32, 32, icon_new_project)
    both("icon211.png", 32, 32, icon_open_project)

    # the lock of the list rows: 24 x 24 PNGs and a 24 x 25 16-colour BMP
    for s, name in ((1, "lock24.png"), (2, "lock24@2x.png")):
        c = Canvas(24, 24, scale=s, ss=16)
        padlock24(c)
        save_png(c.result(), name)
    c = Canvas(24, 24, scale=1, ss=16)
    padlock24(c)
    lock = Image.new("RGBA", (24, 25), (0, 0, 0, 0))
    lock.paste(c.result(), (0, 1))
    save_bmp4(lock, "bitmap301.bmp")

    # program icon: SVG source plus raster sizes from the same shapes
    c = Canvas(256, 256, scale=1, ss=1)
    app_icon(c)
    with open(os.path.join(HERE, "zarnith.svg"), "w") as f:
        f.write(c.svg())
    for px in (32, 48, 64, 128, 256):
        c = Canvas(256, 256, scale=px / 256.0, ss=max(2, 1024 // px))
        app_icon(c, detail=px >= 64)
        save_png(c.result(), "zarnith-%d.png" % px)
    c = Canvas(16, 16, scale=1, ss=16)
    app_icon_small(c)
    save_png(c.result(), "zarnith-16.png")

    # project file (MIME type) icon
    c = Canvas(48, 48, scale=1, ss=1)
    project_icon(c)
    with open(os.path.join(HERE, "zarnith-project.svg"), "w") as f:
        f.write(c.svg())
    c = Canvas(48, 48, scale=1, ss=16)
    project_icon(c)
    save_png(c.result(), "zarnith-project-48.png")

    # large 256-colour pictures
    c = Canvas(134, 334, scale=1, ss=4)
    panel(c)
    save_bmp8(c.result(), "bitmap300.bmp")
    c = Canvas(544, 340, scale=1, ss=4)
    splash(c)
    save_bmp8(c.result(), "bitmap303.bmp")

    save_gif(draw_anim(), "anim107.gif")


if __name__ == "__main__":
    main()
