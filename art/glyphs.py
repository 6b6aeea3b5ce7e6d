"""Vector pictograms shared by the kelvolite and setup artwork.

Each painter draws into a palette.Layer inside the square (x, y, x + s, y + s),
so the same picture serves 16, 32, 48 and 65 pixel uses.  Small sizes get
thicker strokes through the `w` helper so they stay readable.
"""

from palette import (ACCENT, ACCENT_DARK, ACCENT_LIGHT, BLACK, BLUE, BLUE_LIGHT, GREEN, NAVY,
                     NAVY_DARK, PAPER, RED, SKY, STEEL, STEEL_DARK, STEEL_LIGHT, WHITE, darker,
                     lighter, mix)


def _u(x, y, s):
    """Map unit coordinates into the square."""
    return lambda ux, uy: (x + ux * s, y + uy * s)


def _w(s, unit):
    """Stroke width: proportional, but never thinner than one pixel."""
    return max(1.0, unit * s)


# ------------------------------------------------------------ uninstall: box with arrow
def uninstall(L, x, y, s):
    p = _u(x, y, s)
    ol = darker((150, 100, 40), 0.35)
    # box front and side
    front = [p(0.10, 0.48), p(0.62, 0.48), p(0.62, 0.94), p(0.10, 0.94)]
    side = [p(0.62, 0.48), p(0.88, 0.38), p(0.88, 0.82), p(0.62, 0.94)]
    top = [p(0.10, 0.48), p(0.36, 0.38), p(0.88, 0.38), p(0.62, 0.48)]
    L.grad_polygon(front, [(0, (236, 196, 128)), (1, (196, 142, 70))])
    L.grad_polygon(side, [(0, (196, 148, 80)), (1, (150, 104, 46))], vertical=False)
    L.polygon(top, fill=(120, 78, 30))
    # open flaps
    L.polygon([p(0.10, 0.48), p(0.02, 0.36), p(0.28, 0.27), p(0.36, 0.38)], fill=(226, 184, 116))
    L.polygon([p(0.62, 0.48), p(0.70, 0.34), p(0.96, 0.25), p(0.88, 0.38)],
              fill=(212, 166, 96))
    for poly in (front, side):
        L.polygon(poly, outline=ol)
    if s >= 30:
        L.line([p(0.22, 0.62), p(0.50, 0.62)], fill=(170, 120, 60, 200), width=_w(s, 0.03))
    # arrow rising out of the box
    sh = 0.02
    arrow = [p(0.40, 0.62), p(0.40, 0.34), p(0.26, 0.34), p(0.52, 0.04), p(0.78, 0.34),
             p(0.64, 0.34), p(0.64, 0.62)]
    L.polygon([(a + sh * s, b + sh * s) for a, b in arrow], fill=(0, 0, 0, 70))
    L.grad_polygon(arrow, [(0, (255, 120, 96)), (0.6, RED), (1, darker(RED, 0.3))])
    L.polygon(arrow, outline=darker(RED, 0.5))


# ------------------------------------------------------------ startup: power button
def startup(L, x, y, s):
    p = _u(x, y, s)
    L.ellipse((*p(0.06, 0.06), *p(0.94, 0.94)), fill=darker(GREEN, 0.45))
    L.grad_ellipse((*p(0.09, 0.09), *p(0.91, 0.91)),
                   [(0, (150, 230, 120)), (0.55, (48, 168, 60)), (1, (20, 110, 40))])
    # gloss
    if s >= 24:
        L.ellipse((*p(0.22, 0.13), *p(0.78, 0.45)), fill=(255, 255, 255, 70))
    lw = _w(s, 0.105)
    L.arc((*p(0.26, 0.26), *p(0.74, 0.74)), -55, 235, fill=WHITE, width=lw)
    L.line([p(0.5, 0.20), p(0.5, 0.50)], fill=WHITE, width=lw)


# ------------------------------------------------------------ task manager: gauge
def taskman(L, x, y, s):
    p = _u(x, y, s)
    L.ellipse((*p(0.04, 0.04), *p(0.96, 0.96)), fill=darker(NAVY, 0.2))
    L.grad_ellipse((*p(0.08, 0.08), *p(0.92, 0.92)), [(0, WHITE), (1, STEEL_LIGHT)])
    aw = _w(s, 0.11)
    box = (*p(0.18, 0.18), *p(0.82, 0.82))
    L.arc(box, 150, 220, fill=(60, 180, 70), width=aw)
    L.arc(box, 220, 300, fill=(240, 200, 40), width=aw)
    L.arc(box, 300, 390, fill=(220, 50, 40), width=aw)
    # needle towards the red zone
    import math
    ang = math.radians(318)
    cx, cy = p(0.5, 0.5)
    r = 0.36 * s
    tip = (cx + r * math.cos(ang), cy + r * math.sin(ang))
    L.line([(cx, cy), tip], fill=NAVY_DARK, width=_w(s, 0.07))
    L.ellipse((*p(0.41, 0.41), *p(0.59, 0.59)), fill=NAVY_DARK)
    # list bars at the bottom: the processes
    if s >= 24:
        for i, t in enumerate((0.66, 0.76)):
            L.rrect((*p(0.32, t), *p(0.68 - 0.08 * i, t + 0.06)), 0.02 * s, fill=BLUE)


# ------------------------------------------------------------ privacy: shield with broom sweep
def privacy(L, x, y, s):
    p = _u(x, y, s)
    shield = [p(0.50, 0.03), p(0.90, 0.16), p(0.88, 0.50), p(0.76, 0.75), p(0.50, 0.97),
              p(0.24, 0.75), p(0.12, 0.50), p(0.10, 0.16)]
    L.polygon(shield, fill=darker(NAVY, 0.3))
    inner = [p(0.50, 0.09), p(0.84, 0.20), p(0.82, 0.49), p(0.71, 0.72), p(0.50, 0.90),
             p(0.29, 0.72), p(0.18, 0.49), p(0.16, 0.20)]
    L.grad_polygon(inner, [(0, BLUE_LIGHT), (1, darker(BLUE, 0.2))], vertical=False)
    # gold rim highlight on the left half
    half = [p(0.50, 0.09), p(0.50, 0.90), p(0.29, 0.72), p(0.18, 0.49), p(0.16, 0.20)]
    L.polygon(half, fill=(255, 255, 255, 45))
    # check mark: traces removed
    lw = _w(s, 0.11)
    L.line([p(0.30, 0.50), p(0.45, 0.65), p(0.72, 0.32)], fill=(0, 0, 0, 90), width=lw)
    L.line([p(0.29, 0.48), p(0.44, 0.63), p(0.71, 0.30)], fill=ACCENT_LIGHT, width=lw)


# ------------------------------------------------------------ small symbols
def help_mark(L, x, y, s, colour=WHITE):
    p = _u(x, y, s)
    L.text(p(0.5, 0.55), "?", s * 0.95, colour, bold=True, anchor="mm")


def info_mark(L, x, y, s, colour=WHITE):
    p = _u(x, y, s)
    L.ellipse((*p(0.40, 0.05), *p(0.60, 0.25)), fill=colour)
    L.rrect((*p(0.40, 0.35), *p(0.60, 0.98)), 0.03 * s, fill=colour)


def minimise_mark(L, x, y, s, colour=WHITE):
    p = _u(x, y, s)
    L.rrect((*p(0.12, 0.70), *p(0.88, 0.94)), 0.03 * s, fill=colour)


def exit_mark(L, x, y, s, colour=WHITE):
    p = _u(x, y, s)
    lw = _w(s, 0.16)
    L.line([p(0.2, 0.2), p(0.8, 0.8)], fill=colour, width=lw)
    L.line([p(0.8, 0.2), p(0.2, 0.8)], fill=colour, width=lw)


def round_badge(L, x, y, s, colour, symbol):
    """A glossy round badge with a white symbol, used for Help/Exit menu pictures."""
    p = _u(x, y, s)
    L.ellipse((*p(0.02, 0.02), *p(0.98, 0.98)), fill=darker(colour, 0.4))
    L.grad_ellipse((*p(0.08, 0.08), *p(0.92, 0.92)), [(0, lighter(colour, 0.45)), (1, colour)])
    symbol(L, *p(0.22, 0.2), s * 0.58)


def no_icon(L, x, y, s):
    """A generic program window: the picture for a program without an icon."""
    p = _u(x, y, s)
    L.rrect((*p(0.06, 0.12), *p(0.94, 0.88)), 0.05 * s, fill=darker(NAVY, 0.1))
    L.rrect((*p(0.10, 0.16), *p(0.90, 0.84)), 0.03 * s, fill=WHITE)
    L.grad_rrect((*p(0.10, 0.16), *p(0.90, 0.34)), 0.03 * s, [(0, BLUE_LIGHT), (1, BLUE)],
                 vertical=False)
    if s >= 24:
        for i, t in enumerate((0.44, 0.56, 0.68)):
            L.rrect((*p(0.18, t), *p(0.82 - 0.14 * (i % 2), t + 0.06)), 0.01 * s, fill=STEEL)
    else:
        L.rrect((*p(0.20, 0.50), *p(0.80, 0.62)), 0, fill=STEEL_DARK)


def phantom(L, x, y, s):
    """A faded, broken program window with a red warning cross: the phantom picture."""
    p = _u(x, y, s)
    ghost = (170, 176, 190)
    L.rrect((*p(0.04, 0.06), *p(0.82, 0.78)), 0.05 * s, fill=ghost)
    L.rrect((*p(0.08, 0.10), *p(0.78, 0.74)), 0.03 * s, fill=(236, 238, 242))
    L.rrect((*p(0.08, 0.10), *p(0.78, 0.26)), 0.03 * s, fill=(150, 160, 184))
    if s >= 24:
        for i, t in enumerate((0.36, 0.48, 0.60)):
            L.rrect((*p(0.14, t), *p(0.50 - 0.10 * (i % 2), t + 0.05)), 0.01 * s, fill=(208, 212, 222))
    # red no-entry badge bottom right
    L.ellipse((*p(0.44, 0.44), *p(0.98, 0.98)), fill=darker(RED, 0.4))
    L.grad_ellipse((*p(0.48, 0.48), *p(0.94, 0.94)), [(0, (255, 110, 90)), (1, RED)])
    lw = _w(s, 0.09)
    L.line([p(0.60, 0.60), p(0.82, 0.82)], fill=WHITE, width=lw)
    L.line([p(0.82, 0.60), p(0.60, 0.82)], fill=WHITE, width=lw)


def globe(L, x, y, s):
    """Internet traces: a globe with meridians."""
    p = _u(x, y, s)
    L.ellipse((*p(0.04, 0.04), *p(0.96, 0.96)), fill=darker(BLUE, 0.45))
    L.grad_ellipse((*p(0.08, 0.08), *p(0.92, 0.92)), [(0, (150, 200, 255)), (0.6, BLUE), (1, NAVY)])
    # continents, abstract
    L.polygon([p(0.22, 0.30), p(0.42, 0.22), p(0.50, 0.36), p(0.40, 0.52), p(0.30, 0.60), p(0.20, 0.46)],
              fill=(80, 170, 90))
    L.polygon([p(0.58, 0.52), p(0.78, 0.48), p(0.80, 0.66), p(0.64, 0.82), p(0.56, 0.68)],
              fill=(80, 170, 90))
    lw = _w(s, 0.025)
    L.ellipse((*p(0.30, 0.08), *p(0.70, 0.92)), outline=(255, 255, 255, 150), width=lw)
    L.line([p(0.08, 0.5), p(0.92, 0.5)], fill=(255, 255, 255, 150), width=lw)
    L.line([p(0.5, 0.08), p(0.5, 0.92)], fill=(255, 255, 255, 150), width=lw)
    L.ellipse((*p(0.20, 0.12), *p(0.64, 0.40)), fill=(255, 255, 255, 60))


def desktop(L, x, y, s):
    """System traces: a monitor with a window on its screen (no vendor logo)."""
    p = _u(x, y, s)
    L.rrect((*p(0.04, 0.08), *p(0.96, 0.72)), 0.06 * s, fill=(60, 64, 76))
    L.grad_rrect((*p(0.10, 0.14), *p(0.90, 0.66)), 0.02 * s, [(0, (90, 150, 220)), (1, (30, 80, 160))])
    L.rrect((*p(0.22, 0.24), *p(0.70, 0.56)), 0.01 * s, fill=WHITE)
    L.rrect((*p(0.22, 0.24), *p(0.70, 0.32)), 0.01 * s, fill=ACCENT)
    L.polygon([p(0.40, 0.72), p(0.60, 0.72), p(0.66, 0.86), p(0.34, 0.86)], fill=(90, 94, 106))
    L.rrect((*p(0.22, 0.85), *p(0.78, 0.93)), 0.03 * s, fill=(60, 64, 76))


def emblem(L, x, y, s, badge=None):
    """The program's own emblem: a glossy blue tile with a white K and an orange sweep."""
    p = _u(x, y, s)
    r = 0.20 * s
    L.rrect((*p(0.02, 0.02), *p(0.98, 0.98)), r, fill=NAVY_DARK)
    L.grad_rrect((*p(0.06, 0.06), *p(0.94, 0.94)), r * 0.8,
                 [(0, (110, 160, 236)), (0.5, BLUE), (1, NAVY)])
    # sweep arc under the letter
    L.arc((*p(-0.10, 0.30), *p(1.02, 1.18)), 200, 320, fill=ACCENT, width=_w(s, 0.09))
    # the K, as filled polygons so it stays crisp at 16 pixels
    L.polygon([p(0.24, 0.18), p(0.42, 0.18), p(0.42, 0.82), p(0.24, 0.82)], fill=WHITE)
    L.polygon([p(0.40, 0.46), p(0.62, 0.18), p(0.82, 0.18), p(0.53, 0.52)], fill=WHITE)
    L.polygon([p(0.44, 0.52), p(0.58, 0.40), p(0.84, 0.82), p(0.63, 0.82)], fill=WHITE)
    if s >= 24:
        L.rrect((*p(0.10, 0.09), *p(0.90, 0.40)), r * 0.6, fill=(255, 255, 255, 46))
    if badge == "remove":
        L.ellipse((*p(0.50, 0.50), *p(1.0, 1.0)), fill=darker(RED, 0.45))
        L.grad_ellipse((*p(0.54, 0.54), *p(0.96, 0.96)), [(0, (255, 120, 100)), (1, RED)])
        bw = _w(s, 0.08)
        L.line([p(0.65, 0.65), p(0.85, 0.85)], fill=WHITE, width=bw)
        L.line([p(0.85, 0.65), p(0.65, 0.85)], fill=WHITE, width=bw)


def package(L, x, y, s, arrow=True):
    """The installer's picture: a closed box with a green arrow going into it."""
    p = _u(x, y, s)
    ol = darker((150, 100, 40), 0.4)
    front = [p(0.08, 0.44), p(0.62, 0.44), p(0.62, 0.94), p(0.08, 0.94)]
    side = [p(0.62, 0.44), p(0.92, 0.32), p(0.92, 0.80), p(0.62, 0.94)]
    top = [p(0.08, 0.44), p(0.38, 0.32), p(0.92, 0.32), p(0.62, 0.44)]
    L.grad_polygon(front, [(0, (236, 196, 128)), (1, (196, 142, 70))])
    L.grad_polygon(side, [(0, (196, 148, 80)), (1, (150, 104, 46))], vertical=False)
    L.polygon(top, fill=(246, 214, 150))
    L.polygon([p(0.30, 0.44), p(0.60, 0.32), p(0.66, 0.32), p(0.36, 0.44)], fill=(200, 60, 50))
    L.polygon([p(0.30, 0.44), p(0.36, 0.44), p(0.36, 0.94), p(0.30, 0.94)], fill=(200, 60, 50))
    for poly in (front, side, top):
        L.polygon(poly, outline=ol)
    if arrow:
        ar = [p(0.52, 0.02), p(0.72, 0.02), p(0.72, 0.20), p(0.84, 0.20), p(0.62, 0.42),
              p(0.40, 0.20), p(0.52, 0.20)]
        L.grad_polygon(ar, [(0, (140, 230, 120)), (1, (30, 130, 50))])
        L.polygon(ar, outline=darker(GREEN, 0.5))


def disc(L, x, y, s):
    p = _u(x, y, s)
    L.ellipse((*p(0.02, 0.02), *p(0.98, 0.98)), fill=(120, 130, 150))
    L.grad_ellipse((*p(0.04, 0.04), *p(0.96, 0.96)),
                   [(0, (235, 240, 255)), (0.3, (200, 220, 250)), (0.5, (250, 230, 200)),
                    (0.7, (200, 240, 230)), (1, (180, 190, 220))], vertical=False)
    L.ellipse((*p(0.36, 0.36), *p(0.64, 0.64)), fill=(150, 160, 180))
    L.cut_ellipse((*p(0.43, 0.43), *p(0.57, 0.57)))


# ------------------------------------------------------------ button captions' glyphs
def g_check(L, x, y, s, c):
    p = _u(x, y, s)
    L.line([p(0.12, 0.52), p(0.40, 0.80), p(0.90, 0.20)], fill=c, width=_w(s, 0.2))


def g_refresh(L, x, y, s, c):
    p = _u(x, y, s)
    lw = _w(s, 0.16)
    L.arc((*p(0.10, 0.10), *p(0.90, 0.90)), 30, 300, fill=c, width=lw)
    L.polygon([p(0.58, 0.00), p(0.98, 0.12), p(0.66, 0.40)], fill=c)


def g_cross(L, x, y, s, c):
    p = _u(x, y, s)
    lw = _w(s, 0.2)
    L.line([p(0.15, 0.15), p(0.85, 0.85)], fill=c, width=lw)
    L.line([p(0.85, 0.15), p(0.15, 0.85)], fill=c, width=lw)


def g_plus(L, x, y, s, c):
    p = _u(x, y, s)
    lw = _w(s, 0.22)
    L.line([p(0.5, 0.08), p(0.5, 0.92)], fill=c, width=lw)
    L.line([p(0.08, 0.5), p(0.92, 0.5)], fill=c, width=lw)


def g_uninstall(L, x, y, s, c):
    p = _u(x, y, s)
    L.rrect((*p(0.08, 0.50), *p(0.92, 0.96)), 0.06 * s, outline=c, width=_w(s, 0.12))
    L.polygon([p(0.50, 0.00), p(0.86, 0.36), p(0.62, 0.36), p(0.62, 0.64), p(0.38, 0.64),
               p(0.38, 0.36), p(0.14, 0.36)], fill=c)


def g_stop(L, x, y, s, c):
    p = _u(x, y, s)
    import math
    pts = [p(0.5 + 0.48 * math.cos(math.radians(22.5 + 45 * i)), 0.5 + 0.48 * math.sin(math.radians(22.5 + 45 * i)))
           for i in range(8)]
    L.polygon(pts, fill=c)
    L.cut_rect((*p(0.22, 0.42), *p(0.78, 0.58)))


def g_sweep(L, x, y, s, c):
    """A broom: the privacy cleaner's action."""
    p = _u(x, y, s)
    L.line([p(0.92, 0.04), p(0.50, 0.50)], fill=c, width=_w(s, 0.14))
    L.polygon([p(0.40, 0.40), p(0.62, 0.60), p(0.40, 0.98), p(0.02, 0.62)], fill=c)


def g_trash(L, x, y, s, c):
    p = _u(x, y, s)
    L.rrect((*p(0.10, 0.14), *p(0.90, 0.26)), 0, fill=c)
    L.rrect((*p(0.38, 0.02), *p(0.62, 0.16)), 0, fill=c)
    L.polygon([p(0.18, 0.30), p(0.82, 0.30), p(0.74, 0.98), p(0.26, 0.98)], fill=c)


def g_checks(L, x, y, s, c):
    g_check(L, x - s * 0.05, y - s * 0.12, s * 0.75, c)
    g_check(L, x + s * 0.25, y + s * 0.22, s * 0.75, c)


def g_folder(L, x, y, s, c):
    p = _u(x, y, s)
    L.polygon([p(0.04, 0.18), p(0.40, 0.18), p(0.50, 0.30), p(0.96, 0.30), p(0.96, 0.88), p(0.04, 0.88)],
              fill=c)


def g_star(L, x, y, s, c):
    import math
    p = _u(x, y, s)
    pts = []
    for i in range(10):
        r = 0.5 if i % 2 == 0 else 0.22
        a = math.radians(-90 + 36 * i)
        pts.append(p(0.5 + r * math.cos(a), 0.52 + r * math.sin(a)))
    L.polygon(pts, fill=c)


def g_none(L, x, y, s, c):
    pass
