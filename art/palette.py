"""Shared colours, fonts and drawing helpers for the Kelvo artwork scripts.

Everything here is plain Pillow.  Shapes are drawn at SS times the final
size and reduced, so edges come out anti-aliased without any external tool.
The writers at the bottom produce the exact formats Windows 95 reads:
24-bit BI_RGB bottom-up BMP files and classic (non-PNG) ICO files.
"""

import os
import struct
import sys

sys.dont_write_bytecode = True

try:
    from PIL import Image, ImageDraw, ImageEnhance, ImageFilter, ImageFont
except ImportError:  # a pyenv interpreter without Pillow: use the system one
    if os.path.exists("/usr/bin/python3") and sys.executable != "/usr/bin/python3":
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    raise

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

SS = 4  # supersampling factor for anti-aliased shapes

# ---------------------------------------------------------------- colours
NAVY_DARK = (14, 28, 64)
NAVY = (26, 48, 104)
BLUE = (44, 86, 168)
BLUE_LIGHT = (92, 140, 214)
SKY = (168, 198, 240)
STEEL_DARK = (120, 132, 156)
STEEL = (176, 186, 204)
STEEL_LIGHT = (214, 220, 232)
PAPER = (238, 241, 247)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
ACCENT = (244, 144, 30)        # orange accent
ACCENT_LIGHT = (255, 196, 96)
ACCENT_DARK = (196, 96, 8)
RED = (200, 40, 36)
GREEN = (40, 150, 60)
TEXT = (61, 71, 97)            # the forms' own label colour
FORM_GREY = (216, 216, 216)    # the forms' own background colour
LIST_GREY = (229, 229, 229)    # the list views' colour
MENU_GREY = (212, 208, 200)    # typical menu colour, matte for menu pictures
MASK = (255, 0, 255)           # transparent colour of masked image lists

# ---------------------------------------------------------------- fonts
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
_font_cache = {}


def font(size, bold=False, condensed=False, serif=False):
    name = "DejaVu" + ("Serif" if serif else "Sans")
    if condensed:
        name += "Condensed"
    if bold:
        name += "-Bold"
    path = os.path.join(FONT_DIR, name + ".ttf")
    key = (path, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size)
    return _font_cache[key]


# ---------------------------------------------------------------- colour maths
def mix(a, b, t):
    """Blend colour a towards b by t (0..1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    return mix(c, BLACK, t)


# ---------------------------------------------------------------- fills
def vgradient(w, h, stops):
    """Vertical gradient; stops is a list of (position 0..1, colour)."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    for y in range(h):
        t = y / max(1, h - 1)
        c = _stop_colour(stops, t)
        for x in range(w):
            px[x, y] = c
    return img


def hgradient(w, h, stops):
    """Horizontal gradient; stops is a list of (position 0..1, colour)."""
    img = Image.new("RGB", (w, h))
    px = img.load()
    for x in range(w):
        t = x / max(1, w - 1)
        c = _stop_colour(stops, t)
        for y in range(h):
            px[x, y] = c
    return img


def _stop_colour(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / max(1e-9, p1 - p0))
    return stops[-1][1]


# ---------------------------------------------------------------- supersampled layers
class Layer:
    """An RGBA drawing surface at SS times the target size.

    Coordinates given to its methods are in final pixels (floats allowed);
    down() returns the reduced RGBA image to paste or alpha-composite.
    """

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.img = Image.new("RGBA", (w * ss, h * ss), (0, 0, 0, 0))
        self._scratch = None

    @property
    def d(self):
        """A draw on a fresh transparent sheet; composited onto the layer by _flush()."""
        self._flush()
        self._scratch = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        return ImageDraw.Draw(self._scratch)

    def _flush(self):
        if self._scratch is not None:
            self.img.alpha_composite(self._scratch)
            self._scratch = None

    def _r(self, box):
        s = self.ss
        return [box[0] * s, box[1] * s, box[2] * s - 1, box[3] * s - 1]

    def rrect(self, box, radius, fill=None, outline=None, width=1):
        s = self.ss
        self.d.rounded_rectangle(self._r(box), radius=radius * s, fill=_rgba(fill),
                                 outline=_rgba(outline), width=int(width * s))

    def cut_ellipse(self, box):
        """Punch a transparent hole."""
        self._flush()
        ImageDraw.Draw(self.img).ellipse(self._r(box), fill=(0, 0, 0, 0))

    def cut_rect(self, box):
        self._flush()
        ImageDraw.Draw(self.img).rectangle(self._r(box), fill=(0, 0, 0, 0))

    def ellipse(self, box, fill=None, outline=None, width=1):
        s = self.ss
        self.d.ellipse(self._r(box), fill=_rgba(fill), outline=_rgba(outline),
                       width=int(width * s))

    def polygon(self, pts, fill=None, outline=None):
        s = self.ss
        self.d.polygon([(x * s, y * s) for x, y in pts], fill=_rgba(fill), outline=_rgba(outline))

    def line(self, pts, fill, width=1, joint="curve"):
        s = self.ss
        self.d.line([(x * s, y * s) for x, y in pts], fill=_rgba(fill), width=max(1, int(width * s)),
                     joint=joint)

    def arc(self, box, start, end, fill, width=1):
        s = self.ss
        self.d.arc(self._r(box), start, end, fill=_rgba(fill), width=max(1, int(width * s)))

    def pieslice(self, box, start, end, fill):
        self.d.pieslice(self._r(box), start, end, fill=_rgba(fill))

    def gradient_shape(self, mask_fn, box, stops, vertical=True):
        """Fill a shape (drawn by mask_fn on an 'L' draw at SS scale) with a gradient."""
        s = self.ss
        mask = Image.new("L", self.img.size, 0)
        mask_fn(ImageDraw.Draw(mask), s)
        x0, y0, x1, y1 = [int(v * s) for v in box]
        w, h = max(1, x1 - x0), max(1, y1 - y0)
        g = vgradient(1, h, stops).resize((w, h)) if vertical else hgradient(w, 1, stops).resize((w, h))
        full = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        full.paste(g.convert("RGBA"), (x0, y0))
        ga = full.split()[3]
        from PIL import ImageChops
        full.putalpha(ImageChops.multiply(ga, mask))
        self._flush()
        self.img.alpha_composite(full)

    def grad_rrect(self, box, radius, stops, vertical=True):
        def fn(d, s):
            d.rounded_rectangle([box[0] * s, box[1] * s, box[2] * s - 1, box[3] * s - 1],
                                radius=radius * s, fill=255)
        self.gradient_shape(fn, box, stops, vertical)

    def grad_ellipse(self, box, stops, vertical=True):
        def fn(d, s):
            d.ellipse([box[0] * s, box[1] * s, box[2] * s - 1, box[3] * s - 1], fill=255)
        self.gradient_shape(fn, box, stops, vertical)

    def grad_polygon(self, pts, stops, vertical=True):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def fn(d, s):
            d.polygon([(x * s, y * s) for x, y in pts], fill=255)
        self.gradient_shape(fn, (min(xs), min(ys), max(xs) + 1, max(ys) + 1), stops, vertical)

    def text(self, xy, s_text, fnt_size, fill, bold=False, anchor="la", condensed=False):
        s = self.ss
        f = font(int(round(fnt_size * s)), bold=bold, condensed=condensed)
        self.d.text((xy[0] * s, xy[1] * s), s_text, font=f, fill=_rgba(fill), anchor=anchor)

    def down(self):
        self._flush()
        return self.img.resize((self.w, self.h), Image.LANCZOS if self.ss > 2 else Image.BOX)


def _rgba(c):
    if c is None:
        return None
    if len(c) == 4:
        return tuple(c)
    return tuple(c) + (255,)


def over(base, layer_img, xy=(0, 0)):
    """Alpha-composite an RGBA image onto an RGB or RGBA base in place."""
    if base.mode == "RGBA":
        base.alpha_composite(layer_img, xy)
    else:
        tmp = base.convert("RGBA")
        tmp.alpha_composite(layer_img, xy)
        base.paste(tmp.convert("RGB"))
    return base


def shadowed(layer_img, offset=(1, 1), blur=1.2, opacity=110):
    """Return a copy of layer_img with a soft drop shadow under it."""
    w, h = layer_img.size
    a = layer_img.split()[3].point(lambda v: v * opacity // 255)
    sh = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    cw, ch = w - offset[0], h - offset[1]
    black = Image.new("RGBA", (cw, ch), (0, 0, 0, 255))
    sh.paste(black, offset, a.crop((0, 0, cw, ch)))
    sh = sh.filter(ImageFilter.GaussianBlur(blur))
    sh.alpha_composite(layer_img)
    return sh


# ---------------------------------------------------------------- crisp pixel helpers
def bevel(img, box, light, dark, width=1):
    """Classic 3-D edge inside box (x0, y0, x1, y1 exclusive)."""
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = box
    for i in range(width):
        d.line([(x0 + i, y1 - 1 - i), (x0 + i, y0 + i), (x1 - 1 - i, y0 + i)], fill=light)
        d.line([(x0 + i, y1 - 1 - i), (x1 - 1 - i, y1 - 1 - i), (x1 - 1 - i, y0 + i)], fill=dark)


def text(img, xy, s, size, fill, bold=False, anchor="la", shadow=None, condensed=False, serif=False):
    """Draw text directly (FreeType anti-aliasing at the final size)."""
    d = ImageDraw.Draw(img)
    f = font(size, bold=bold, condensed=condensed, serif=serif)
    if shadow is not None:
        d.text((xy[0] + 1, xy[1] + 1), s, font=f, fill=shadow, anchor=anchor)
    d.text(xy, s, font=f, fill=fill, anchor=anchor)


def text_width(s, size, bold=False, condensed=False):
    f = font(size, bold=bold, condensed=condensed)
    b = f.getbbox(s)
    return b[2] - b[0]


def noise_free_matte(rgba, matte, threshold=100):
    """Flatten RGBA over a matte colour; pixels below threshold alpha become MASK."""
    rgba = rgba.convert("RGBA")
    bg = Image.new("RGBA", rgba.size, matte + (255,))
    bg.alpha_composite(rgba)
    out = bg.convert("RGB")
    a = rgba.split()[3]
    mpx = a.load()
    opx = out.load()
    for y in range(rgba.size[1]):
        for x in range(rgba.size[0]):
            if mpx[x, y] < threshold:
                opx[x, y] = MASK
    return out


def strip(frames):
    """Join equal-sized frames side by side into one horizontal strip."""
    w, h = frames[0].size
    out = Image.new("RGB", (w * len(frames), h))
    for i, f in enumerate(frames):
        assert f.size == (w, h), (i, f.size)
        out.paste(f.convert("RGB"), (i * w, 0))
    return out


# ---------------------------------------------------------------- writers
def save_bmp(img, path):
    """24-bit BI_RGB bottom-up BMP with a BITMAPINFOHEADER, rows padded to 4 bytes."""
    img = img.convert("RGB")
    w, h = img.size
    row = (w * 3 + 3) & ~3
    pad = b"\0" * (row - w * 3)
    raw = img.tobytes("raw", "BGR")
    body = bytearray()
    for y in range(h - 1, -1, -1):
        body += raw[y * w * 3:(y + 1) * w * 3] + pad
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + bytes(body))


VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
ICON_MATTE = (192, 192, 192)  # edge pixels of masked icon formats are blended over this


def _and_mask(alpha, threshold):
    w, h = alpha.size
    row = ((w + 31) // 32) * 4
    px = alpha.load()
    out = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(row)
        for x in range(w):
            if px[x, y] < threshold:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def _icon_entry(rgba, bpp, threshold=110):
    w, h = rgba.size
    alpha = rgba.split()[3]
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bpp, 0, 0, 0, 0, 0, 0)
    if bpp == 32:
        # straight (non-premultiplied) BGRA; colour zeroed where fully transparent
        data = bytearray()
        raw = rgba.tobytes("raw", "BGRA")
        for y in range(h - 1, -1, -1):
            data += raw[y * w * 4:(y + 1) * w * 4]
        for i in range(0, len(data), 4):
            if data[i + 3] == 0:
                data[i:i + 3] = b"\0\0\0"
        return info + bytes(data) + _and_mask(alpha, 1), 0
    flat = Image.new("RGBA", (w, h), ICON_MATTE + (255,))
    flat.alpha_composite(rgba)
    flat = flat.convert("RGB")
    if bpp == 4:
        pal = Image.new("P", (1, 1))
        pal.putpalette([v for c in VGA16 for v in c] + [0] * (256 - 16) * 3)
        # the 16 VGA colours are harsh: boost saturation first so blues stay blue
        # instead of falling to grey, and keep flat areas undithered
        flat = ImageEnhance.Color(flat).enhance(1.8)
        q = flat.quantize(palette=pal, dither=Image.NONE)
        colours = VGA16
        ncol = 16
    else:
        q = flat.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.NONE)
        p = q.getpalette()[:256 * 3]
        p += [0] * (256 * 3 - len(p))
        colours = [tuple(p[i:i + 3]) for i in range(0, 768, 3)]
        ncol = 256
    qpx = q.load()
    apx = alpha.load()
    # transparent pixels: colour index 0 must be black so XOR leaves the screen as is
    black_index = min(range(ncol), key=lambda i: sum(colours[i]))
    table = b"".join(struct.pack("BBBB", c[2], c[1], c[0], 0) for c in colours[:ncol])
    row = ((w * bpp + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray(row)
        for x in range(w):
            idx = qpx[x, y] if apx[x, y] >= threshold else black_index
            if bpp == 8:
                line[x] = idx
            else:
                line[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        data += line
    return info + table + bytes(data) + _and_mask(alpha, threshold), (16 if bpp == 4 else 0)


def save_ico(images, path, depths=(4, 8, 32)):
    """images: dict size -> RGBA image.  Writes every size at every depth."""
    entries = []
    for bpp in depths:
        for size in sorted(images):
            blob, colours = _icon_entry(images[size].convert("RGBA"), bpp)
            entries.append((size, bpp, colours, blob))
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, bpp, colours, blob in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    for e in entries:
        out += e[3]
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(bytes(out))


# ---------------------------------------------------------------- contact sheet
def contact_sheet(items, path, scale=1, bg=(96, 96, 96)):
    """items: list of (label, RGB image).  Writes a PNG for eyeballing, not for the repo."""
    pad = 6
    width = max(max(im.size[0] * scale for _, im in items) + 2 * pad, 300)
    width = min(width, 1400)
    rows = []
    for label, im in items:
        im = im.convert("RGB")
        if im.size[0] * scale > width - 2 * pad:
            # wrap long strips
            fw = (width - 2 * pad) // scale
            parts = [im.crop((x, 0, min(x + fw, im.size[0]), im.size[1])) for x in range(0, im.size[0], fw)]
        else:
            parts = [im]
        rows.append((label, parts))
    h = sum(14 + sum(p.size[1] * scale + 3 for p in parts) + pad for _, parts in rows) + pad
    sheet = Image.new("RGB", (width, h), bg)
    y = pad
    for label, parts in rows:
        text(sheet, (pad, y), label, 10, (255, 255, 200))
        y += 14
        for p in parts:
            if scale != 1:
                p = p.resize((p.size[0] * scale, p.size[1] * scale), Image.NEAREST)
            sheet.paste(p, (pad, y))
            y += p.size[1] + 3
        y += pad
    sheet.save(path)
