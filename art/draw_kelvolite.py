#!/usr/bin/env python3
"""Draws every picture, image list and icon of kelvolite into kelvolite/res.

Run from anywhere:  python3 art/draw_kelvolite.py [--sheet out.png]
The outputs are committed; the build only reads them.  Image-list frames
are drawn over a copy of the background they sit on (the control positions
are fixed by the form layout), so the lists need no mask colour except
where noted in art/README.md.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import glyphs as G  # noqa: E402
from palette import (ACCENT, ACCENT_DARK, ACCENT_LIGHT, BLUE, BLUE_LIGHT, FORM_GREY, LIST_GREY,  # noqa: E402
                     MENU_GREY, NAVY, NAVY_DARK, PAPER, ROOT, SKY, STEEL, STEEL_DARK, STEEL_LIGHT,
                     TEXT, WHITE, Image, ImageDraw, Layer, bevel, contact_sheet, darker, hgradient,
                     lighter, mix, noise_free_matte, over, save_bmp, save_ico, shadowed, strip, text,
                     text_width, vgradient)

OUT = os.path.join(ROOT, "kelvolite", "res")

PRODUCT = "Kelvo Remover 2004"
EDITION = "Lite"
MAKER = "Quorlan Soft"

# main window geometry (client 688 x 443)
WIN_W, WIN_H = 688, 443
BANNER_W, BANNER_H = 691, 84
NAV_W = 108
BAR_H = 46
PAGE_H = WIN_H - BANNER_H - BAR_H          # 313
PAGE_W = WIN_W - NAV_W - 7                 # 573

NAV_STOPS = [(0, (16, 32, 74)), (0.45, (32, 58, 120)), (0.8, (26, 48, 104)), (1, (12, 24, 58))]

outputs = []  # (file name, image) for the contact sheet


def emit(name, img):
    save_bmp(img, os.path.join(OUT, name))
    outputs.append((name, img))


# ------------------------------------------------------------------ backgrounds
def draw_banner():
    img = vgradient(BANNER_W, BANNER_H, [(0, WHITE), (0.55, PAPER), (1, STEEL_LIGHT)])
    # left block: continues the navigation column
    left = hgradient(NAV_W, BANNER_H, NAV_STOPS)
    img.paste(left, (0, 0))
    # a curved edge from the navy block into the light area; it is back at the
    # column's edge before the header label row (y 54 and below, from x 112)
    L = Layer(BANNER_W, BANNER_H)
    curve = [(NAV_W + 40 * (1 - (t / 20.0)) ** 1.6, 50 * t / 20.0) for t in range(21)]
    L.polygon([(NAV_W - 1, 0)] + curve + [(NAV_W, BANNER_H), (NAV_W - 1, BANNER_H)], fill=(22, 42, 94))
    L.line(curve + [(NAV_W, BANNER_H)], fill=ACCENT, width=2)
    # faint large emblem watermark on the right
    wm = Layer(52, 52)
    G.emblem(wm, 0, 0, 52)
    wmi = wm.down()
    a = wmi.split()[3].point(lambda v: v * 22 // 255)
    wmi.putalpha(a)
    over(img, L.down())
    over(img, wmi, (628, 2))
    # emblem in the navy block
    E = Layer(64, 64)
    G.emblem(E, 0, 0, 60)
    over(img, shadowed(E.down(), (2, 2), 1.5, 140), (22, 10))
    # product name
    x0 = NAV_W + 46
    text(img, (x0 + 1, 9), PRODUCT, 23, (190, 198, 214), bold=True)
    text(img, (x0, 8), PRODUCT, 23, NAVY, bold=True)
    wx = x0 + text_width(PRODUCT, 23, bold=True) + 8
    text(img, (wx + 1, 9), EDITION, 23, (230, 200, 160), bold=True)
    text(img, (wx, 8), EDITION, 23, ACCENT, bold=True)
    text(img, (x0 + 2, 38), "System maintenance utility  \u2022  " + MAKER, 10, STEEL_DARK)
    # bottom rule: accent over navy
    d = ImageDraw.Draw(img)
    d.line([(NAV_W + 6, BANNER_H - 3), (BANNER_W, BANNER_H - 3)], fill=ACCENT)
    d.line([(0, BANNER_H - 2), (BANNER_W, BANNER_H - 2)], fill=NAVY)
    d.line([(0, BANNER_H - 1), (BANNER_W, BANNER_H - 1)], fill=NAVY_DARK)
    return img


NAV_TOPS = [4, 84, 165, 245]


def draw_navbar():
    img = hgradient(NAV_W, PAGE_H, NAV_STOPS)
    # sheen: slightly lighter towards the top
    shade = vgradient(NAV_W, PAGE_H, [(0, (255, 255, 255)), (1, (0, 0, 0))])
    img = Image.blend(img, shade, 0.06)
    d = ImageDraw.Draw(img)
    for a, b in zip(NAV_TOPS, NAV_TOPS[1:]):
        y = (a + 65 + b) // 2
        d.line([(16, y), (NAV_W - 17, y)], fill=(10, 20, 48))
        d.line([(16, y + 1), (NAV_W - 17, y + 1)], fill=(64, 96, 160))
    d.line([(NAV_W - 1, 0), (NAV_W - 1, PAGE_H)], fill=(8, 16, 40))
    return img


def draw_right_edge():
    img = hgradient(7, PAGE_H, [(0, STEEL_LIGHT), (0.6, STEEL), (1, STEEL_DARK)])
    d = ImageDraw.Draw(img)
    d.line([(0, 0), (0, PAGE_H)], fill=STEEL_DARK)
    d.line([(6, 0), (6, PAGE_H)], fill=NAVY)
    return img


def draw_button_bar():
    img = vgradient(WIN_W, BAR_H, [(0, (236, 240, 247)), (0.5, STEEL_LIGHT), (1, (184, 194, 212))])
    left = hgradient(NAV_W, BAR_H, NAV_STOPS)
    left = Image.blend(left, Image.new("RGB", left.size, (0, 0, 0)), 0.06)
    img.paste(left, (0, 0))
    d = ImageDraw.Draw(img)
    d.line([(NAV_W, 0), (WIN_W, 0)], fill=STEEL_DARK)
    d.line([(NAV_W, 1), (WIN_W, 1)], fill=WHITE)
    d.line([(0, BAR_H - 1), (WIN_W, BAR_H - 1)], fill=NAVY_DARK)
    d.line([(WIN_W - 1, 0), (WIN_W - 1, BAR_H)], fill=NAVY)
    text(img, (NAV_W // 2, 23), MAKER, 9, (120, 140, 190), bold=True, anchor="mm")
    return img


# ------------------------------------------------------------------ buttons
# face styles: (gradient stops, border, text colour, glyph colour or None for own colour)
FACES = {
    "idle": ([(0, WHITE), (0.5, (228, 234, 244)), (1, (196, 208, 228))], (98, 114, 152), NAVY, None),
    "hover": ([(0, (255, 250, 236)), (0.5, (255, 226, 170)), (1, (248, 190, 100))], ACCENT_DARK,
              NAVY_DARK, None),
    "pressed": ([(0, (20, 38, 86)), (0.5, (40, 74, 148)), (1, (60, 104, 186))], NAVY_DARK, WHITE, WHITE),
    "disabled": ([(0, (234, 235, 238)), (1, (214, 216, 222))], (168, 172, 182), (150, 154, 164),
                 (160, 164, 174)),
}


def text_button(bg, caption, state, glyph=None, glyph_colour=None, size=11):
    """A rounded caption button drawn over bg (the exact background under the button)."""
    w, h = bg.size
    stops, border, tcol, gcol = FACES[state]
    img = bg.copy().convert("RGB")
    L = Layer(w, h)
    L.grad_rrect((0, 0, w, h), 4, [(0, border), (1, border)])
    L.grad_rrect((1, 1, w - 1, h - 1), 3, stops)
    if state == "idle" or state == "hover":
        L.rrect((1, 1, w - 1, h / 2), 3, fill=(255, 255, 255, 70))
    over(img, L.down())
    off = 1 if state == "pressed" else 0
    tw = text_width(caption, size, bold=True)
    gw = 12 if glyph else 0
    gap = 5 if glyph else 0
    x = (w - tw - gw - gap) / 2 + off
    if glyph:
        GL = Layer(w, h)
        glyph(GL, x, (h - 12) / 2 + off, 12, gcol or glyph_colour)
        over(img, GL.down())
        x += gw + gap
    if state == "pressed":
        text(img, (x, h / 2 + off + 0.5), caption, size, tcol, bold=True, anchor="lm",
             shadow=(10, 20, 50))
    else:
        text(img, (x, h / 2 + off + 0.5), caption, size, tcol, bold=True, anchor="lm")
    return img


def three_faces(bg, caption, glyph=None, colour=None, order=("idle", "hover", "pressed"), size=11):
    return [text_button(bg, caption, st, glyph, colour, size) for st in order]


def draw_panel_buttons(bar):
    def bg(x):
        return bar.crop((x, 12, x + 111, 32))
    green, blue, red, orange = (30, 140, 50), BLUE, (196, 36, 30), ACCENT_DARK
    frames = []
    frames += three_faces(bg(142), "Apply", G.g_check, green)           # 0-2   bbtStartupApply
    frames += three_faces(bg(268), "Refresh", G.g_refresh, blue)        # 3-5   the Refresh buttons
    frames += three_faces(bg(394), "Remove", G.g_cross, red)            # 6-8   bbtStartupRemove
    frames += three_faces(bg(520), "Add", G.g_plus, green)              # 9-11  bbtStartupAdd
    frames += three_faces(bg(142), "Uninstall", G.g_uninstall, orange)  # 12-14 bbtUninstall
    frames += three_faces(bg(142), "Kill Process", G.g_stop, red)       # 15-17 bbtTaskManKill
    frames += three_faces(bg(142), "Execute", G.g_sweep, blue)          # 18-20 bbtPrivacyConfirm
    # 21-26: disabled faces, for buttons that set ImageIndexDisabled
    for x, cap, g in ((142, "Apply", G.g_check), (268, "Refresh", G.g_refresh), (394, "Remove", G.g_cross),
                      (520, "Add", G.g_plus), (142, "Uninstall", G.g_uninstall),
                      (142, "Kill Process", G.g_stop)):
        frames.append(text_button(bg(x), cap, "disabled", g))
    frames += three_faces(bg(142), "Select All", G.g_checks, green)     # 27-29 select-all buttons
    frames += three_faces(bg(142), "Delete Entry", G.g_trash, red)      # 30-32 bbtUninstall, phantom
    assert len(frames) == 33
    return strip(frames)


def draw_help_buttons(banner):
    frames = []
    for x, mark in ((575, G.minimise_mark), (544, G.help_mark), (513, G.info_mark)):
        bg = banner.crop((x, 5, x + 29, 25))
        for state in ("idle", "hover", "pressed"):
            img = bg.copy()
            L = Layer(29, 20)
            stops, border, tcol, _ = FACES[state]
            if state == "idle":
                stops = [(0, WHITE), (1, (206, 216, 234))]
                tcol = NAVY
            elif state == "hover":
                tcol = NAVY_DARK
            L.grad_rrect((0, 0, 29, 20), 4, [(0, border), (1, border)])
            L.grad_rrect((1, 1, 28, 19), 3, stops)
            off = 1 if state == "pressed" else 0
            if mark is G.help_mark:
                L.text((14.5 + off, 10.5 + off), "?", 14, tcol, bold=True, anchor="mm")
            else:
                mark(L, 9 + off, 4 + off, 11, tcol)
            over(img, L.down())
            frames.append(img)
    return strip(frames)


BIG_ICONS = [(G.uninstall, "Uninstall"), (G.startup, "Startup"), (G.taskman, "Tasks"),
             (G.privacy, "Privacy")]


def draw_big_buttons(navbar):
    frames = []
    for (painter, caption), top in zip(BIG_ICONS, NAV_TOPS):
        bg = navbar.crop((19, top, 84, top + 65))
        for state in ("idle", "hover", "pressed"):
            img = bg.copy()
            L = Layer(65, 65)
            if state == "hover":
                L.grad_rrect((0, 0, 65, 65), 9, [(0, (120, 160, 230, 150)), (1, (60, 96, 170, 150))])
                L.rrect((0, 0, 65, 65), 9, outline=(170, 200, 255, 220), width=1)
            elif state == "pressed":
                L.grad_rrect((0, 0, 65, 65), 9, [(0, (255, 214, 140)), (0.15, ACCENT), (1, ACCENT_DARK)])
                L.grad_rrect((2, 2, 63, 63), 7, [(0, WHITE), (0.6, (226, 234, 248)), (1, SKY)])
            over(img, L.down())
            off = 1 if state == "pressed" else 0
            isz = 40 if state == "idle" else 42
            I = Layer(65, 65)
            painter(I, (65 - isz) / 2 + off, 3 + (40 - isz) / 2 + off, isz)
            over(img, shadowed(I.down(), (1, 2), 1.2, 120 if state != "pressed" else 70))
            if state == "pressed":
                text(img, (32.5 + off, 55 + off), caption, 10, NAVY, bold=True, anchor="mm")
            else:
                text(img, (32.5, 55), caption, 10, WHITE, bold=True, anchor="mm", shadow=(4, 10, 30))
            frames.append(img)
    return strip(frames)


def draw_privacy_icons():
    frames = []
    for painter, caption in ((G.globe, "Internet"), (G.desktop, "Windows")):
        for state in ("idle", "hover", "pressed"):
            img = Image.new("RGB", (56, 56), FORM_GREY)
            L = Layer(56, 56)
            if state == "idle":
                L.grad_rrect((0, 0, 56, 56), 7, [(0, (190, 196, 208)), (1, (150, 158, 176))])
                L.grad_rrect((1, 1, 55, 55), 6, [(0, WHITE), (1, (222, 226, 234))])
            elif state == "hover":
                L.grad_rrect((0, 0, 56, 56), 7, [(0, ACCENT), (1, ACCENT_DARK)])
                L.grad_rrect((1, 1, 55, 55), 6, [(0, (255, 250, 236)), (1, (255, 222, 164))])
            else:
                L.grad_rrect((0, 0, 56, 56), 7, [(0, NAVY_DARK), (1, NAVY)])
                L.grad_rrect((2, 2, 54, 54), 5, [(0, (40, 74, 148)), (1, (80, 126, 206))])
            over(img, L.down())
            off = 1 if state == "pressed" else 0
            I = Layer(56, 56)
            painter(I, 12 + off, 4 + off, 32)
            over(img, shadowed(I.down(), (1, 1), 1.0, 90))
            tcol = WHITE if state == "pressed" else NAVY
            text(img, (28 + off, 46 + off), caption, 9, tcol, bold=True, anchor="mm")
            frames.append(img)
    return strip(frames)


def masked_icons(painters, size, matte):
    frames = []
    for painter in painters:
        L = Layer(size, size)
        painter(L, 0, 0, size)
        frames.append(noise_free_matte(L.down(), matte))
    return strip(frames)


def draw_tray_menu():
    painters = [G.uninstall, G.startup, G.taskman, G.privacy,
                lambda L, x, y, s: G.round_badge(L, x, y, s, BLUE, lambda L2, a, b, c: G.help_mark(L2, a, b, c)),
                lambda L, x, y, s: G.round_badge(L, x, y, s, (200, 40, 36), G.exit_mark)]
    return masked_icons(painters, 16, MENU_GREY)


# ------------------------------------------------------------------ message box
MB_W, MB_H = 308, 130


def draw_dialog_frame(w, h, title, band_h=22, strip_top=None, visible=None):
    """Common look of the small skinned dialogs: navy title band, light body, button strip."""
    vw, vh = visible or (w, h)
    img = vgradient(w, h, [(0, PAPER), (1, (226, 230, 238))])
    band = hgradient(w, band_h, [(0, NAVY_DARK), (0.6, BLUE), (1, (70, 116, 196))])
    img.paste(band, (0, 0))
    d = ImageDraw.Draw(img)
    d.line([(0, band_h), (w, band_h)], fill=ACCENT)
    if strip_top is not None:
        s = vgradient(w, h - strip_top, [(0, (222, 228, 238)), (1, (196, 206, 224))])
        img.paste(s, (0, strip_top))
        d.line([(6, strip_top), (vw - 7, strip_top)], fill=STEEL)
        d.line([(6, strip_top + 1), (vw - 7, strip_top + 1)], fill=WHITE)
    E = Layer(band_h, band_h)
    G.emblem(E, 3, 3, band_h - 6)
    over(img, E.down(), (3, 0))
    text(img, (band_h + 6, band_h / 2 + 1), title, 11, WHITE, bold=True, anchor="lm",
         shadow=(8, 16, 40))
    d.rectangle([0, 0, vw - 1, vh - 1], outline=NAVY_DARK)
    d.line([(1, band_h + 1), (1, vh - 2)], fill=WHITE)
    return img


def draw_message_box():
    return draw_dialog_frame(MB_W, MB_H, PRODUCT + " " + EDITION, strip_top=94)


def draw_message_buttons(bg):
    b = bg.crop((20, 100, 108, 120))
    order = ("idle", "pressed", "hover")   # this list keeps pressed before hover
    frames = []
    for cap in ("Yes", "Yes", "No", "No", "OK", "Cancel", "Cancel", "OK"):
        frames += three_faces(b, cap, order=order, size=11)
    assert len(frames) == 24
    return strip(frames)


# ------------------------------------------------------------------ about box
AB_W, AB_H = 400, 250
AB_VIS = (399, 240)


def draw_about():
    img = draw_dialog_frame(AB_W, AB_H, "About", band_h=22, strip_top=202, visible=AB_VIS)
    # hero band
    hero = hgradient(AB_W, 86, [(0, NAVY_DARK), (0.55, NAVY), (1, (56, 100, 180))])
    img.paste(hero, (1, 23))
    d = ImageDraw.Draw(img)
    d.line([(1, 109), (AB_VIS[0] - 2, 109)], fill=ACCENT)
    E = Layer(64, 64)
    G.emblem(E, 0, 0, 62)
    over(img, shadowed(E.down(), (2, 2), 1.5, 160), (16, 34))
    text(img, (96, 40), PRODUCT, 19, WHITE, bold=True, shadow=(0, 0, 20))
    text(img, (96 + text_width(PRODUCT, 19, bold=True) + 6, 40), EDITION, 19, ACCENT_LIGHT, bold=True,
         shadow=(0, 0, 20))
    text(img, (97, 70), "Version 3.0", 11, SKY, bold=True)
    text(img, (97, 86), "Uninstall \u2022 Startup \u2022 Tasks \u2022 Privacy", 10, (200, 214, 240))
    text(img, (AB_VIS[0] / 2, 128), "Copyright \u00a9 2001-2004 " + MAKER, 11, TEXT, bold=True, anchor="mm")
    text(img, (AB_VIS[0] / 2, 146), "All rights reserved.", 10, TEXT, anchor="mm")
    text(img, (AB_VIS[0] / 2, 162), "This product is licensed to the registered user.", 9, STEEL_DARK,
         anchor="mm")
    # the home-page link sits on the invisible click area (96, 176, 209 x 25)
    link = "Visit the " + MAKER + " home page"
    cx, cy = 96 + 209 / 2, 176 + 12
    text(img, (cx, cy), link, 11, (20, 60, 190), bold=True, anchor="mm")
    tw = text_width(link, 11, bold=True)
    d.line([(cx - tw / 2, cy + 7), (cx + tw / 2, cy + 7)], fill=(20, 60, 190))
    return img


def draw_about_buttons(bg):
    b = bg.crop((158, 210, 246, 230))
    return strip(three_faces(b, "OK", order=("idle", "pressed", "hover")))


# ------------------------------------------------------------------ add-startup dialog
AD_W, AD_H = 386, 156


def draw_startup_dialog():
    return draw_dialog_frame(AD_W, AD_H, "Create new Startup item", strip_top=116)


def draw_startup_dialog_buttons(bg):
    frames = []
    frames += three_faces(bg.crop((286, 42, 374, 62)), "Browse...", G.g_folder, ACCENT_DARK)
    frames += three_faces(bg.crop((190, 126, 278, 146)), "Create", G.g_plus, (30, 140, 50))
    frames += three_faces(bg.crop((286, 126, 374, 146)), "Cancel")
    return strip(frames)


# ------------------------------------------------------------------ icons
def icon_images(painter, sizes=(16, 32, 48)):
    out = {}
    for s in sizes:
        L = Layer(s, s, ss=8)
        painter(L, 0, 0, s)
        out[s] = L.down()
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    banner = draw_banner()
    emit("imgBanner.bmp", banner)
    navbar = draw_navbar()
    emit("imgNavBar.bmp", navbar)
    emit("imgRightEdge.bmp", draw_right_edge())
    bar = draw_button_bar()
    emit("imgButtonBar.bmp", bar)
    emit("ilBigButtons.bmp", draw_big_buttons(navbar))
    emit("ilPanelButtons.bmp", draw_panel_buttons(bar))
    emit("ilHelpButtons.bmp", draw_help_buttons(banner))
    emit("ilPrivacyIcons.bmp", draw_privacy_icons())
    emit("ilNoIconNagy.bmp", masked_icons([G.no_icon, G.phantom], 32, LIST_GREY))
    emit("ilNoIconKicsi.bmp", masked_icons([G.no_icon, G.phantom], 16, LIST_GREY))
    emit("ilTrayMenu.bmp", draw_tray_menu())
    mb = draw_message_box()
    emit("imgMessageBox.bmp", mb)
    emit("ilMessageBoxButtons.bmp", draw_message_buttons(mb))
    about = draw_about()
    emit("imgAbout.bmp", about)
    emit("ilAboutButtons.bmp", draw_about_buttons(about))
    dlg = draw_startup_dialog()
    emit("imgStartupCreate.bmp", dlg)
    emit("ilStartupCreateButtons.bmp", draw_startup_dialog_buttons(dlg))

    prog = icon_images(G.emblem)
    save_ico(prog, os.path.join(OUT, "kelvolite.ico"))
    rem = icon_images(lambda L, x, y, s: G.emblem(L, x, y, s, badge="remove"))
    save_ico(rem, os.path.join(OUT, "kelvolite2.ico"))
    save_ico({16: prog[16]}, os.path.join(OUT, "tray.ico"))
    for n, im in (("kelvolite.ico", prog), ("kelvolite2.ico", rem)):
        row = Image.new("RGB", (16 + 32 + 48 + 16, 48), FORM_GREY)
        x = 0
        for s in (16, 32, 48):
            row.paste(im[s], (x, 0), im[s])
            x += s + 8
        outputs.append((n, row))

    if "--sheet" in sys.argv:
        path = sys.argv[sys.argv.index("--sheet") + 1]
        contact_sheet(outputs, path)


if __name__ == "__main__":
    main()
