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
from .scenes import rim_light


# ---------------------------------------------------------------------------
# Story screen

def figure_at_terminal(w, h, fx, fy, s=1.0):
    """Silhouette of the hero, a man, standing at a console, facing right.  (fx, fy) is the
    top of the head.  Returns the body mask."""
    m = Mask(w, h)
    P = lambda pts: [(fx + x * s, fy + y * s) for x, y in pts]
    # head with short hair, and the neck
    m.ellipse((fx - 8 * s, fy, fx + 8.5 * s, fy + 21 * s))
    m.ellipse((fx - 9 * s, fy - 1 * s, fx + 7 * s, fy + 11 * s))
    m.poly(P([(-5, 17), (4.5, 17), (6, 27), (-6, 27)]))
    # a man's jacket: square shoulders, straight sides, ending at the hips
    m.poly(P([(-6, 25), (-17, 26.5), (-22, 28.5), (-25, 32), (-26, 38), (-25.5, 60), (-24, 84),
              (-23, 108), (21, 108), (21.5, 84), (22.5, 60), (22.5, 38), (21.5, 32), (19, 28.5),
              (14.5, 26.5), (6, 25)]))
    # trousers: two straight legs with a gap between them, and shoes
    m.poly(P([(-21.5, 104), (-2.5, 104), (-4, 196), (-15.5, 196)]))
    m.poly(P([(0.5, 104), (19.5, 104), (14.5, 196), (3, 196)]))
    m.poly(P([(-16, 195), (-4, 195), (1, 200.5), (1, 205), (-17, 205)]))
    m.poly(P([(2.5, 195), (14, 195), (20, 200.5), (20, 205), (1.5, 205)]))
    # the near arm reaching to the console: upper arm, forearm, hand
    m.line(P([(13, 33), (21, 52), (25, 68)]), 8.5 * s)
    m.line(P([(25, 68), (38, 72), (49, 73)]), 6.5 * s)
    m.ellipse((fx + 47 * s, fy + 69.5 * s, fx + 56 * s, fy + 76.5 * s))
    return m.get()


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
    # console pedestal and its holographic screen
    cx, cy = 318, deck_y - 70
    pm = Mask(pw, ph)
    pm.poly([(cx + 28, cy - 4), (cx + 42, cy - 6), (cx + 40, deck_y - 8), (cx + 30, deck_y - 6)])
    pm.poly([(cx + 20, deck_y - 4), (cx + 50, deck_y - 9), (cx + 52, deck_y - 4), (cx + 22, deck_y + 1)])
    pm.poly([(cx - 2, cy - 2), (cx + 70, cy - 14), (cx + 72, cy - 6), (cx + 1, cy + 6)])
    ped = pm.get()
    screen = [(cx - 6, cy - 96), (cx + 78, cy - 120), (cx + 82, cy - 34), (cx - 2, cy - 14)]
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
    draw_tesseract(img, cx + 58, cy - 50, 12, width=0.8, vertex_r=0.8, glow_k=0.5, faces=0.0)
    over(img, ped, (4, 10, 18))
    rim_light(img, ped, (70, 200, 255), 0.6, dx=-1.5, dy=1)
    # the person, lit from the screen on the right
    fig = figure_at_terminal(pw, ph, cx - 70, deck_y - 196, 0.95)
    over(img, fig, (3, 7, 13))
    rim_light(img, fig, (90, 215, 255), 0.9, dx=-2, dy=0)
    rim_light(img, fig, (40, 120, 180), 0.35, dx=0, dy=2)
    # light cast on the deck by the screen
    add(img, gauss_glow(pw, ph, cx + 10, deck_y + 6, 90, 14) * deck, (40, 160, 230), 0.3)
    # the person's shadow
    over(img, gauss_glow(pw, ph, cx - 80, deck_y + 12, 60, 6) * deck, (0, 0, 0), 0.6)
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
