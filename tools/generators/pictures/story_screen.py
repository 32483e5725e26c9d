"""The story screen's background: the illustration of the hero at a terminal.
"""
import math

import numpy as np

from .raster import (
    Mask, add, blur, brackets_mask, fbm, fill_mask, frame_mask, gauss_glow, glow, over,
    over_img, save_bmp24, vgrad)
from .scenery import (
    city, dark_panel, nebula, perspective_grid, starfield, vignette)
from .tesseract import draw_tesseract
from .hero import draw_hero


# ---------------------------------------------------------------------------
# Story screen

def story_illustration(pw, ph, rng):
    img = vgrad(pw, ph, [(0, (2, 5, 14)), (0.45, (6, 18, 38)), (0.64, (10, 50, 74)), (1, (2, 6, 12))])
    horizon = int(ph * 0.64)
    nebula(img, rng, ((20, 100, 150), (80, 60, 170)), strength=0.38, base=150,
           region_mask=np.clip(1 - np.arange(ph, dtype=np.float32) / horizon, 0, 1)[:, None] ** 0.4 * np.ones((ph, pw), np.float32))
    starfield(img, rng, 340, (0, 0, pw, horizon - 40), bright=0.85)
    # the hypercube hanging in the sky, lighting the clouds under it
    tx, ty = pw * 0.5, 150
    add(img, gauss_glow(pw, ph, tx, ty, 130, 120), (20, 90, 160), 0.45)
    ring = Mask(pw, ph)
    for rr in (96, 108):
        ring.ellipse((tx - rr, ty - rr, tx + rr, ty + rr), outline=255, width=0.8)
    rgm = ring.get()
    yy, xx = np.mgrid[0:ph, 0:pw].astype(np.float32)
    ang = np.arctan2(yy - ty, xx - tx)
    rgm *= (np.sin(ang * 5) > -0.3).astype(np.float32)
    add(img, rgm, (80, 200, 255), 0.35)
    draw_tesseract(img, tx, ty, 62, glow_k=1.1)
    # light streaming down from it onto the city
    rays = Mask(pw, ph, 2)
    for dxr in (-70, -30, 0, 35, 80):
        rays.poly([(tx - 6, ty + 60), (tx + 6, ty + 60), (tx + dxr + 16, horizon), (tx + dxr - 16, horizon)], fill=90)
    rm = blur(rays.get(), 6) * np.clip((yy - ty) / (horizon - ty), 0, 1) ** 0.5
    add(img, rm, (60, 190, 255), 0.22)
    add(img, gauss_glow(pw, ph, tx, horizon, 260, 30), (30, 170, 230), 0.3)
    city(img, rng, horizon, -10, pw + 10, max_h=150, center=tx, spread=140, density=0.3)
    g = perspective_grid(pw, ph, horizon, tx, x_spacing=34, rows=24, depth0=0.5)
    add(img, blur(g, 2), (0, 150, 220), 0.55)
    add(img, g, (60, 200, 255), 0.45)
    # foreground: a balcony with a console and a person at it
    deck_y = ph - 92
    dm = Mask(pw, ph)
    dm.poly([(-5, deck_y), (pw + 5, deck_y - 14), (pw + 5, ph + 5), (-5, ph + 5)])
    deck = dm.get()
    over_img(img, deck, vgrad(pw, ph, [(0, (6, 14, 24)), (1, (2, 5, 10))]))
    # deck plates in perspective
    pl = Mask(pw, ph)
    for i in range(-12, 14):
        x0 = pw / 2 + i * 40
        pl.line([(pw / 2 + i * 16, deck_y - 7), (x0 + i * 30, ph + 5)], 0.6)
    for k in (0.18, 0.42, 0.75):
        y0 = deck_y + (ph - deck_y) * k
        pl.line([(-5, y0), (pw + 5, y0 - 14 * (1 - k))], 0.6)
    add(img, pl.get() * deck, (40, 110, 150), 0.18)
    # railing
    rl = Mask(pw, ph)
    for k, off in ((1.4, 34), (0.8, 18)):
        rl.line([(-5, deck_y - off), (pw + 5, deck_y - 14 - off)], k)
    for px in range(10, pw, 46):
        py = deck_y - 14 * px / pw
        rl.line([(px, py), (px, py - 34)], 1.2)
    r = rl.get()
    over(img, r, (8, 20, 32), 0.95)
    add(img, r, (60, 180, 230), 0.3)
    edge = Mask(pw, ph)
    edge.line([(-5, deck_y), (pw + 5, deck_y - 14)], 1.2)
    e = edge.get()
    add(img, e, (80, 210, 255), 0.7)
    add(img, blur(e, 3), (40, 160, 230), 0.4)
    # the holographic screen, floating at eye height over the lectern
    screen = [(312, 262), (396, 242), (400, 330), (316, 348)]
    sm = Mask(pw, ph)
    sm.poly(screen)
    sc = sm.get()
    add(img, blur(sc, 14), (30, 160, 240), 0.45)
    over(img, sc, (20, 80, 120), 0.45)
    so = Mask(pw, ph)
    so.poly_outline(screen, 1.2)
    # text lines on the screen, following its slant
    for i in range(7):
        t0 = 0.12 + i * 0.1
        a = (screen[0][0] + (screen[3][0] - screen[0][0]) * t0, screen[0][1] + (screen[3][1] - screen[0][1]) * t0)
        ln = 0.35 + 0.5 * rng.random()
        b = (a[0] + (screen[1][0] - screen[0][0]) * ln, a[1] + (screen[1][1] - screen[0][1]) * ln)
        so.line([(a[0] + 6, a[1] + 2), (b[0] + 6, b[1] + 2)], 0.8, fill=150)
    sl = so.get()
    add(img, sl, (150, 235, 255), 0.8)
    add(img, blur(sl, 2), (60, 190, 255), 0.5)
    draw_tesseract(img, 374, 300, 13, width=0.8, vertex_r=0.8, glow_k=0.5, faces=0.0)
    # light cast on the deck by the screen
    add(img, gauss_glow(pw, ph, 330, deck_y + 6, 90, 14) * deck, (40, 160, 230), 0.3)
    draw_hero(img, deck, 262, deck_y + 2 - 205, 1.0, (298, 386), deck_y, screen)
    vignette(img, 0.35)
    return img


def make_engine():
    w, h = 800, 600
    rng = np.random.default_rng(1006)
    # steel-blue chassis behind the panels
    img = vgrad(w, h, [(0, (8, 16, 26)), (1, (4, 8, 14))])
    tex = fbm(w, h, rng, base=90, octaves=4)
    img *= (0.85 + 0.3 * tex)[..., None]
    hexm = Mask(w, h, 2)
    for yy in range(0, h + 20, 20):
        for xx in range(0, w + 24, 24):
            ox = 12 if (yy // 20) % 2 else 0
            x0 = xx + ox
            pts = [(x0 + 10 * math.cos(math.radians(a)), yy + 10 * math.sin(math.radians(a))) for a in range(30, 390, 60)]
            hexm.poly_outline(pts, 0.5)
    add(img, hexm.get(), (40, 90, 130), 0.10)
    # left: the illustration in a framed window
    lx, ly, lw, lh = 8, 8, 433, 585
    il = story_illustration(lw, lh, rng)
    pane = np.zeros_like(img)
    pane[ly:ly + lh, lx:lx + lw] = il
    pm = fill_mask(w, h, (lx, ly, lw, lh), 14, (1, 0, 1, 0))
    over_img(img, pm, pane)
    fr = frame_mask(w, h, (lx, ly, lw, lh), 14, 1.5, (1, 0, 1, 0))
    glow(img, fr, (60, 200, 255), ((1.5, 0.4), (5, 0.3)))
    add(img, fr, (90, 215, 255), 0.8)
    br = brackets_mask(w, h, (lx - 3, ly - 3, lw + 6, lh + 6), arm=22, width=2)
    add(img, br * (1 - pm), (150, 235, 255), 0.6)
    # right: the story pane, dark and plain so small blue text reads well
    dark_panel(img, (448, 2, 345, 479), fill=(10, 20, 32), alpha=0.985, c=7, glow_k=0.6, border_k=0.85,
               corners=(0, 1, 0, 1), inner_line=False)
    # choices pane
    dark_panel(img, (456, 494, 329, 98), fill=(8, 18, 28), alpha=0.985, c=10, glow_k=0.5, border_k=0.75,
               corners=(1, 0, 1, 0), inner_line=False)
    mk = Mask(w, h)
    for sy in (504, 536, 568):
        cy = sy + 8.5
        mk.poly([(462, cy - 3), (466, cy), (462, cy + 3)])
        mk.poly([(779, cy - 3), (775, cy), (779, cy + 3)])
    for sy in (528, 560):
        mk.line([(500, sy), (742, sy)], 0.6, fill=120)
    add(img, mk.get(), (50, 170, 220), 0.45)
    # little status marks in the gap between the panes
    gm = Mask(w, h)
    for i in range(5):
        gm.rect((460 + i * 7, 486, 464 + i * 7, 489))
    gm.line([(500, 487.5), (780, 487.5)], 0.6)
    add(img, gm.get(), (60, 180, 230), 0.45)
    save_bmp24(img, 'story/pictures/engine.bmp')
