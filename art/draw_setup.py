#!/usr/bin/env python3
"""Draws setup's wizard bitmaps and icon, and the product package's wizard bitmaps, into setup/res.

Run from anywhere:  python3 art/draw_setup.py [--sheet out.png]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from palette import (ACCENT, ACCENT_LIGHT, BLUE, NAVY, NAVY_DARK, PAPER, ROOT, SKY, STEEL_LIGHT,  # noqa: E402
                     WHITE, Image, ImageDraw, Layer, contact_sheet, over, save_bmp, save_ico, shadowed,
                     text, vgradient)

OUT = os.path.join(ROOT, "setup", "res")

PANEL_W, PANEL_H = 164, 314    # left panel of the welcome, completed and cancelled pages
HEADER = 55                    # header band picture of the inner pages

outputs = []


def emit(name, img):
    save_bmp(img, os.path.join(OUT, name))
    outputs.append((name, img))


def swoosh(img, colour, alpha, y0, amp):
    w, h = img.size
    L = Layer(w, h)
    pts = [(x, y0 + amp * ((x / w) ** 2)) for x in range(0, w + 1, 4)]
    L.polygon(pts + [(w, h), (0, h)], fill=colour + (alpha,))
    over(img, L.down())


def panel_base(top, bottom):
    img = vgradient(PANEL_W, PANEL_H, [(0, top), (1, bottom)])
    swoosh(img, (255, 255, 255), 26, 190, 60)
    swoosh(img, (255, 255, 255), 18, 230, -40)
    d = ImageDraw.Draw(img)
    d.line([(PANEL_W - 1, 0), (PANEL_W - 1, PANEL_H)], fill=NAVY_DARK)
    return img


def installer_panel():
    """setup's own picture, used when a script names no bitmap: no product names on it."""
    img = panel_base((70, 120, 200), NAVY_DARK)
    D = Layer(90, 90)
    G.disc(D, 0, 0, 90)
    over(img, shadowed(D.down(), (3, 3), 2.0, 120), (56, 40))
    P = Layer(110, 110)
    G.package(P, 0, 0, 110)
    over(img, shadowed(P.down(), (3, 4), 2.5, 150), (14, 96))
    d = ImageDraw.Draw(img)
    d.line([(20, 262), (144, 262)], fill=ACCENT)
    text(img, (82, 282), "Setup", 20, WHITE, bold=True, anchor="mm", shadow=(0, 0, 30))
    return img


def installer_header():
    img = Image.new("RGB", (HEADER, HEADER), WHITE)
    P = Layer(HEADER, HEADER)
    G.package(P, 4, 4, 47)
    over(img, shadowed(P.down(), (1, 2), 1.2, 90))
    return img


def product_panel():
    img = panel_base((64, 110, 196), NAVY_DARK)
    E = Layer(100, 100)
    G.emblem(E, 0, 0, 96)
    over(img, shadowed(E.down(), (3, 4), 2.5, 160), (34, 34))
    text(img, (82, 158), "Kelvo Remover", 18, WHITE, bold=True, anchor="mm", shadow=(0, 0, 30))
    text(img, (82, 182), "2004", 18, WHITE, bold=True, anchor="mm", shadow=(0, 0, 30))
    text(img, (82, 206), "Lite", 18, ACCENT_LIGHT, bold=True, anchor="mm", shadow=(0, 0, 30))
    d = ImageDraw.Draw(img)
    d.line([(24, 226), (140, 226)], fill=ACCENT)
    icons = [G.uninstall, G.startup, G.taskman, G.privacy]
    for i, painter in enumerate(icons):
        I = Layer(26, 26)
        painter(I, 0, 0, 26)
        over(img, shadowed(I.down(), (1, 1), 0.8, 110), (20 + i * 32, 240))
    text(img, (82, 294), "Quorlan Soft", 11, SKY, bold=True, anchor="mm")
    return img


def product_header():
    img = Image.new("RGB", (HEADER, HEADER), WHITE)
    E = Layer(HEADER, HEADER)
    G.emblem(E, 5, 5, 45)
    over(img, shadowed(E.down(), (1, 2), 1.2, 100))
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    emit("wizard1.bmp", installer_panel())
    emit("wizard2.bmp", installer_header())
    emit("kelvolite_setup1.bmp", product_panel())
    emit("kelvolite_setup2.bmp", product_header())
    icons = {}
    for s in (16, 32, 48):
        L = Layer(s, s, ss=8)
        G.package(L, 0, 0, s)
        icons[s] = L.down()
    save_ico(icons, os.path.join(OUT, "setup.ico"))
    row = Image.new("RGB", (16 + 32 + 48 + 16, 48), (216, 216, 216))
    x = 0
    for s in (16, 32, 48):
        row.paste(icons[s], (x, 0), icons[s])
        x += s + 8
    outputs.append(("setup.ico", row))
    if "--sheet" in sys.argv:
        contact_sheet(outputs, sys.argv[sys.argv.index("--sheet") + 1], scale=2)


if __name__ == "__main__":
    main()
