"""The intro screen (the station in orbit) and the game-over screen.
"""
import math

import numpy as np
from PIL import Image

from .raster import (
    Mask, SANS, SANS_B, add, blur, col, fbm, fill_mask, frame_mask, gauss_glow, glow, over,
    over_img, save_gif, text_centered, vgrad)
from .scenery import (
    city, dark_panel, nebula, perspective_grid, scanlines, starfield, vignette)
from .tesseract import draw_tesseract
from .shell_screens import space_backdrop


def station(w, h, cx, base_y, s=1.0, dish_side=-1, dish_tilt=25):
    """Silhouette of a research site: a hall with a dome, a mast and a dish aimed at the sky.
    Returns (body mask, window mask, mast tip, dish focus)."""
    m = Mask(w, h)
    win = Mask(w, h)
    # ground block reaching to the bottom of the picture
    m.poly([(cx - 100 * s, base_y), (cx + 100 * s, base_y), (cx + 100 * s + (h - base_y) * 1.6, h + 2),
            (cx - 100 * s - (h - base_y) * 1.6, h + 2)])
    # terraced hall
    m.poly([(cx - 95 * s, base_y + 1), (cx - 80 * s, base_y - 18 * s), (cx + 80 * s, base_y - 18 * s), (cx + 95 * s, base_y + 1)])
    m.poly([(cx - 60 * s, base_y - 17 * s), (cx - 52 * s, base_y - 28 * s), (cx + 52 * s, base_y - 28 * s), (cx + 60 * s, base_y - 17 * s)])
    # dome
    m.ellipse((cx - 34 * s, base_y - 58 * s, cx + 34 * s, base_y + 2 * s))
    # mast with two platforms
    mx = cx + 58 * s
    m.poly([(mx - 3 * s, base_y - 27 * s), (mx + 3 * s, base_y - 27 * s), (mx + 1 * s, base_y - 110 * s), (mx - 1 * s, base_y - 110 * s)])
    m.rect((mx - 7 * s, base_y - 62 * s, mx + 7 * s, base_y - 59 * s))
    m.rect((mx - 5 * s, base_y - 86 * s, mx + 5 * s, base_y - 84 * s))
    # dish on a pylon
    dx = cx + dish_side * 78 * s
    dy = base_y - 46 * s
    m.poly([(dx - 4 * s, base_y - 16 * s), (dx + 4 * s, base_y - 16 * s), (dx + 1.5 * s, dy), (dx - 1.5 * s, dy)])
    dm = Mask(w, h)
    # a bowl: lower half of an ellipse, rotated to look up and sideways
    R = 30 * s
    dm.d.chord([v * dm.ss for v in (dx - R, dy - R * 0.9, dx + R, dy + R * 0.5)], 0, 180, fill=255)
    dm.line([(dx, dy), (dx - dish_side * 4 * s, dy - 22 * s)], 1.2 * s)
    dish = Image.fromarray((dm.get() * 255).astype(np.uint8)).rotate(dish_side * dish_tilt, center=(dx, dy), resample=Image.BICUBIC)
    body = np.maximum(m.get(), np.asarray(dish, np.float32) / 255)
    # a row of lit windows along the hall
    for i in range(int(22 * s)):
        wx = cx - 74 * s + i * 148 * s / (22 * s)
        win.rect((wx, base_y - 11 * s, wx + 3.2 * s, base_y - 8 * s))
    for i in range(int(12 * s)):
        wx = cx - 46 * s + i * 92 * s / (12 * s)
        win.rect((wx, base_y - 24 * s, wx + 2.4 * s, base_y - 22 * s))
    fx, fy = _rot((dx - dish_side * 4 * s, dy - 22 * s), (dx, dy), dish_side * dish_tilt)
    return body, win.get(), (mx, base_y - 110 * s), (fx, fy)


def _rot(p, c, deg):
    """Rotates p about c the way Image.rotate does (counter-clockwise on screen)."""
    a = math.radians(deg)
    x, y = p[0] - c[0], p[1] - c[1]
    return (c[0] + x * math.cos(a) + y * math.sin(a), c[1] - x * math.sin(a) + y * math.cos(a))


def rim_light(img, body, rgb, k=0.8, dx=0.0, dy=1.5):
    """Thin light along the upper edges of a silhouette."""
    sh = np.roll(np.roll(body, int(round(dy)), axis=0), int(round(dx)), axis=1)
    rim = np.clip(body - sh, 0, 1)
    add(img, rim, rgb, k)
    add(img, blur(rim, 1.5), rgb, k * 0.6)


def make_intro():
    """Illustration behind the intro text: a planet horizon, the centre beaming to the stars."""
    w, h = 800, 600
    rng = np.random.default_rng(1004)
    img = space_backdrop(w, h, rng, top=(2, 4, 12), bottom=(4, 12, 26), neb_k=0.38, stars=520)
    # distant galaxy swirl at the upper right
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    gx, gy = 700, 80
    r = np.sqrt(((x - gx) / 1.0) ** 2 + ((y - gy) / 0.45) ** 2)
    a = np.arctan2((y - gy) / 0.45, x - gx)
    arms = (0.5 + 0.5 * np.cos(2 * a - r / 9.0)) ** 3 * np.exp(-r / 55)
    add(img, arms + np.exp(-r / 10) * 0.9, (170, 190, 255), 0.55)
    # planet horizon
    pr = 1400
    pcx, pcy = 400, 520 + pr
    d = np.sqrt((x - pcx) ** 2 + (y - pcy) ** 2)
    planet = np.clip((pr - d) + 0.5, 0, 1)
    surf = vgrad(w, h, [(0, (0, 0, 0)), (0.85, (4, 14, 24)), (1, (2, 6, 12))])
    cn = fbm(w, h, rng, base=60, octaves=5)
    surf *= (0.7 + 0.6 * cn)[..., None]
    over_img(img, planet, surf)
    atmo = np.exp(-np.abs(d - pr) / 6) + 0.5 * np.exp(-np.clip(d - pr, 0, None) / 26)
    atmo *= np.exp(-((x - 400) / 520) ** 2)
    add(img, atmo.astype(np.float32), (40, 190, 255), 0.9)
    # city lights on the dark surface
    lights = np.zeros((h, w), np.float32)
    for _ in range(900):
        px = rng.normal(400, 260)
        py = 520 + rng.exponential(22)
        if 0 <= px < w and py < h:
            dd = math.hypot(px - pcx, py - pcy)
            if dd < pr - 3:
                lights[int(py), int(px)] = rng.uniform(0.3, 1.0)
    add(img, blur(lights, 0.7) * 2.2, (120, 210, 255), 0.7)
    add(img, blur(lights, 3) * 6, (40, 150, 230), 0.5)
    # the research centre on the horizon, left, beaming into the sky
    draw_tesseract(img, 62, 92, 34, width=1.1, glow_k=0.8, vertex_r=1.3, faces=0.06)
    add(img, gauss_glow(w, h, 62, 92, 60, 60), (40, 120, 220), 0.25)
    body, win, mast_tip, focus = station(w, h, 100, 540, 0.85, dish_side=-1, dish_tilt=12)
    bx, by = focus
    bm = Mask(w, h, 2)
    bm.poly([(bx - 1.5, by), (bx + 1.5, by), (64, 100), (60, 100)])
    beam_core = bm.get()
    add(img, blur(beam_core, 5), (60, 200, 255), 0.55)
    add(img, blur(beam_core, 1.2), (200, 250, 255), 0.55)
    over(img, body, (3, 8, 16))
    rim_light(img, body, (60, 190, 240), 0.55)
    add(img, win, (255, 205, 150), 0.75)
    add(img, blur(win, 2), (255, 170, 110), 0.5)
    tm = np.zeros((h, w), np.float32)
    tm[int(mast_tip[1]), int(mast_tip[0])] = 1
    add(img, blur(tm, 1.5) * 20, (255, 80, 90), 0.9)
    # a second site on the right under a vertical light column
    body2, win2, tip2, _ = station(w, h, 720, 546, 0.6, dish_side=1, dish_tilt=30)
    col2 = (gauss_glow(w, h, 720, 260, 4, 400) * (y < 520)).astype(np.float32)
    add(img, col2, (140, 235, 255), 0.4)
    add(img, (gauss_glow(w, h, 720, 260, 16, 400) * (y < 520)).astype(np.float32), (30, 140, 220), 0.25)
    over(img, body2, (3, 8, 16))
    rim_light(img, body2, (60, 190, 240), 0.5)
    add(img, win2, (140, 220, 255), 0.7)
    add(img, blur(win2, 2), (60, 170, 255), 0.5)
    # the text panel: dark and calm, so small light text reads well
    dark_panel(img, (156, 52, 481, 417), fill=(5, 12, 22), alpha=0.86, c=16, border_k=0.8)
    scan = np.zeros((h, w), np.float32)
    scan[54:467:4, 160:634] = 1
    add(img, scan, (40, 120, 160), 0.012)
    # small status marks on the panel frame (no words)
    sm = Mask(w, h)
    for i in range(6):
        sm.rect((180 + i * 9, 56, 186 + i * 9, 59))
    for i in range(3):
        sm.circle(610 - i * 9, 464, 1.6)
    add(img, sm.get(), (80, 210, 250), 0.6)
    # plate for the start button caption drawn by the program
    px_, py_, pw_, ph_ = 304, 504, 185, 41
    om = fill_mask(w, h, (px_, py_, pw_, ph_), 10, (1, 0, 1, 0))
    glow(img, om, (40, 180, 255), ((6, 0.25), (16, 0.15)))
    over(img, om, (6, 16, 28), 0.95)
    grad = vgrad(w, h, [(0, (0, 0, 0)), (py_ / h, (14, 38, 56)), ((py_ + ph_) / h, (4, 10, 18)), (1, (0, 0, 0))])
    inner = fill_mask(w, h, (px_ + 3, py_ + 3, pw_ - 6, ph_ - 6), 8, (1, 0, 1, 0))
    over_img(img, inner, grad)
    fr = frame_mask(w, h, (px_, py_, pw_, ph_), 10, 1.4, (1, 0, 1, 0))
    glow(img, fr, (60, 200, 255), ((1.2, 0.5), (4, 0.3)))
    add(img, fr, (60, 200, 255), 0.8)
    ll = Mask(w, h)
    ll.line([(px_ - 60, py_ + ph_ / 2), (px_ - 12, py_ + ph_ / 2)], 1.0)
    ll.line([(px_ + pw_ + 12, py_ + ph_ / 2), (px_ + pw_ + 60, py_ + ph_ / 2)], 1.0)
    ll.circle(px_ - 60, py_ + ph_ / 2, 2)
    ll.circle(px_ + pw_ + 60, py_ + ph_ / 2, 2)
    add(img, ll.get(), (70, 200, 255), 0.6)
    vignette(img, 0.4)
    save_gif(img, 'shell/pictures/intro.gif')

def make_gameover():
    """Game Over across a virtual city coming apart."""
    w, h = 800, 600
    rng = np.random.default_rng(1005)
    horizon = 420
    img = vgrad(w, h, [(0, (3, 3, 10)), (0.5, (10, 8, 26)), (horizon / h, (40, 14, 36)), (1, (4, 4, 10))])
    nebula(img, rng, ((90, 20, 60), (20, 60, 110)), strength=0.3, base=220)
    starfield(img, rng, 300, (0, 0, w, horizon - 30), bright=0.6, tint=(230, 210, 235))
    add(img, gauss_glow(w, h, 400, horizon, 460, 60), (180, 30, 70), 0.35)
    add(img, gauss_glow(w, h, 400, horizon, 200, 14), (255, 80, 110), 0.3)
    # the city, glowing the usual cyan, then torn into pieces
    city_img = img.copy()
    city(city_img, rng, horizon, -10, 810, max_h=150, center=400, spread=260, reflect=False,
              lit=(110, 220, 255), edge=(60, 190, 230), density=0.2)
    # dissolve mask: the higher up, the more blocks are gone
    cell = 6
    gh, gw = h // cell + 1, w // cell + 1
    noise = fbm(gw * 4, gh * 4, rng, base=20, octaves=3)[::4, ::4][:gh, :gw]
    ycell = (np.arange(gh) * cell)[:, None].astype(np.float32)
    keep_p = np.clip((ycell - (horizon - 175)) / 130, 0, 1) ** 0.6
    keep = (noise * 0.8 + 0.2 * rng.random((gh, gw)) < keep_p * 1.05).astype(np.float32)
    keep_full = np.kron(keep, np.ones((cell, cell), np.float32))[:h, :w]
    keep_full[horizon - 20:] = 1
    img[:] = img * (1 - keep_full[..., None]) + city_img * keep_full[..., None]
    # the missing blocks drift upwards as glowing fragments
    frag = np.zeros((h, w), np.float32)
    for _ in range(420):
        fx = rng.normal(400, 200)
        fy = horizon - 40 - rng.exponential(110)
        sz = rng.choice([2, 3, 4, 6])
        if 0 <= fx < w - sz and 0 <= fy < h - sz:
            frag[int(fy):int(fy) + sz, int(fx):int(fx) + sz] = rng.uniform(0.2, 0.9)
    add(img, frag, (90, 210, 255), 0.6)
    add(img, blur(frag, 2), (255, 70, 120), 0.35)
    # broken floor grid: pieces missing, some sagging
    g = perspective_grid(w, h, horizon, 400, x_spacing=44, rows=22, depth0=0.55)
    hc = 22
    holes = fbm(w // hc + 2, h // hc + 2, rng, base=3, octaves=2)
    holes = np.kron(holes, np.ones((hc, hc), np.float32))[:h, :w]
    g *= (holes > 0.42).astype(np.float32)
    shifted = np.roll(g, 6, axis=0) * (holes > 0.75)
    g = np.clip(g * (holes <= 0.75) + shifted, 0, 1)
    add(img, blur(g, 2.5), (220, 40, 90), 0.5)
    add(img, g, (255, 120, 160), 0.45)
    # a dark crack through the floor
    cm = Mask(w, h)
    pts = [(400, horizon)]
    x_, y_ = 400.0, float(horizon)
    while y_ < h:
        x_ += rng.normal(0, 14)
        y_ += rng.uniform(12, 26)
        pts.append((x_, y_))
    cm.line(pts, 3.0)
    c = cm.get()
    over(img, blur(c, 1), (0, 0, 0), 0.9)
    add(img, blur(c, 6), (255, 60, 110), 0.4)
    # the words
    size = 118
    tm = Mask(w, h)
    text_centered(tm, (0, 200, w, 140), 'GAME OVER', SANS_B, size, tracking=6)
    t = tm.get()
    glow(img, t, (255, 40, 90), ((3, 0.7), (10, 0.5), (30, 0.35), (70, 0.2)))
    # chromatic split: red and cyan copies either side
    add(img, np.roll(t, -4, axis=1), (255, 30, 80), 0.55)
    add(img, np.roll(t, 4, axis=1), (40, 220, 255), 0.55)
    ys = np.arange(h, dtype=np.float32)
    k = np.clip((ys - 225) / 90, 0, 1)[:, None, None]
    fillc = col((255, 240, 245)) * (1 - k) + col((255, 110, 150)) * k
    img[:] = img * (1 - t[..., None]) + fillc * t[..., None]
    # horizontal glitch slices through the letters
    for sy, sh_, off in ((238, 5, 14), (262, 3, -10), (291, 7, 9), (318, 2, -18)):
        img[sy:sy + sh_] = np.roll(img[sy:sy + sh_], off, axis=1)
    sm = Mask(w, h)
    # the line above fits every ending, the good one too
    sm.text((w / 2, 196), 'ИСТОРИЯ ОКОНЧЕНА', SANS, 15, anchor='ms', tracking=8)
    s1 = sm.get()
    over(img, blur(s1, 6) * 3, (0, 0, 0), 0.5)
    glow(img, s1, (255, 60, 110), ((3, 0.4),))
    over(img, s1, (255, 200, 215))
    # scanlines and a vignette: a dying screen
    scanlines(img, (0, 0, w, h), 0.12, 2)
    vignette(img, 0.6)
    # the screen has no controls: a quiet word on how to leave
    qm = Mask(w, h)
    qm.text((w / 2, 578), 'Чтобы выйти из игры, закрой окно', SANS, 13, anchor='ms', tracking=1.5)
    q = qm.get()
    over(img, blur(q, 4) * 2.5, (0, 0, 0), 0.6)
    over(img, q, (200, 165, 185), 0.85)
    save_gif(img, 'shell/pictures/gameover.gif')
