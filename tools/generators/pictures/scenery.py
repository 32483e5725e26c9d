"""Reusable scenery: starfields, nebulae, perspective grids,
night cities, scanlines, vignettes, panels and glowing buttons.
"""
import math

import numpy as np

from .raster import (
    Mask, SANS_B, add, blur, brackets_mask, col, fbm, fill_mask, frame_mask, glow, over,
    over_img, text_centered, vgrad)


# ---------------------------------------------------------------------------
# Scene elements

def starfield(img, rng, n, region=None, bright=1.0, tint=(200, 230, 255), flares=0.02):
    h, w = img.shape[:2]
    x0, y0, x1, y1 = region or (0, 0, w, h)
    pts = np.zeros((h, w), np.float32)
    big = np.zeros((h, w), np.float32)
    xs = rng.uniform(x0, x1, n)
    ys = rng.uniform(y0, y1, n)
    mags = rng.power(0.35, n)  # mostly faint, a few bright
    for x, y, m in zip(xs, ys, mags):
        ix, iy = int(x), int(y)
        if 0 <= ix < w and 0 <= iy < h:
            pts[iy, ix] += m
            if m > 0.8 and rng.random() < 0.5:
                big[iy, ix] += m
    core = blur(pts, 0.6) * 2.2 + pts * 0.4
    add(img, np.clip(core, 0, 1.5), tint, bright)
    add(img, blur(big, 2.5) * 12, (120, 200, 255), 0.5 * bright)
    # a few cross flares on the brightest stars
    order = np.argsort(-mags)[:max(1, int(n * flares))]
    fm = Mask(w, h, 2)
    for i in order:
        x, y = xs[i], ys[i]
        L = 4 + 7 * mags[i]
        fm.line([(x - L, y), (x + L, y)], 0.5, fill=150)
        fm.line([(x, y - L), (x, y + L)], 0.5, fill=150)
    f = fm.get()
    add(img, blur(f, 0.7), tint, 0.8 * bright)


def nebula(img, rng, tints, strength=0.35, base=180, region_mask=None):
    h, w = img.shape[:2]
    n1 = fbm(w, h, rng, base=base, octaves=6)
    n2 = fbm(w, h, rng, base=base * 0.7, octaves=6)
    cloud = np.clip((n1 - 0.45) * 2.2, 0, 1) ** 1.6
    wisps = np.clip((n2 - 0.5) * 2.5, 0, 1) ** 2
    if region_mask is not None:
        cloud *= region_mask
        wisps *= region_mask
    add(img, cloud, tints[0], strength)
    add(img, wisps * cloud ** 0.3, tints[1], strength * 0.9)
    return cloud


def perspective_grid(w, h, horizon, vx, x_spacing=40, rows=16, x_range=None, y_end=None,
                     width=1.0, depth0=1.0, clip_box=None):
    """Glowing floor grid: returns a mask."""
    y_end = h if y_end is None else y_end
    m = Mask(w, h, 3)
    span = y_end - horizon
    # lines converging to the vanishing point
    xr = x_range or (-w * 3, w * 4)
    for xb in np.arange(vx - x_spacing * 60, vx + x_spacing * 60 + 1, x_spacing):
        if xr[0] <= xb <= xr[1]:
            m.line([(vx + (xb - vx) * 0.0, horizon), (xb, y_end)], width)
    # cross lines spaced by 1/z
    for i in range(1, rows + 1):
        z = depth0 * i
        y = horizon + span / z
        if y - horizon < 2.5:
            break
        m.line([(-5, y), (w + 5, y)], width)
    g = m.get()
    # fade towards the horizon
    ys = np.arange(h, dtype=np.float32)
    fade = np.clip((ys - horizon) / (span * 0.6), 0, 1) ** 1.4
    fade[ys < horizon] = 0
    g *= fade[:, None]
    if clip_box:
        cb = np.zeros_like(g)
        x0, y0, x1, y1 = clip_box
        cb[y0:y1, x0:x1] = 1
        g *= cb
    return g


def city(img, rng, horizon, x0, x1, max_h=120, center=None, spread=None, lit=(120, 220, 255),
         warm=(255, 190, 120), body=(8, 16, 30), edge=(60, 190, 230), density=0.35, reflect=True):
    """Skyline of glowing towers standing on the horizon line."""
    h, w = img.shape[:2]
    center = (x0 + x1) / 2 if center is None else center
    spread = (x1 - x0) / 2 if spread is None else spread
    bodies = Mask(w, h, 2)
    edges = Mask(w, h, 2)
    windows = np.zeros((h, w), np.float32)
    wwarm = np.zeros((h, w), np.float32)
    tips = []
    towers = []
    x = x0
    while x < x1:
        bw = int(rng.integers(8, 30))
        prox = math.exp(-((x + bw / 2 - center) / spread) ** 2)
        bh = max_h * (0.18 + 0.82 * prox) * rng.uniform(0.45, 1.0)
        towers.append((x, bw, bh, rng.random()))
        x += bw + int(rng.integers(-4, 3))
    # back layer first (shorter, dimmer), then front
    for layer in (0, 1):
        for (tx, bw, bh, r) in towers:
            if layer == 0:
                tx2 = tx + bw * 0.5
                bh2 = bh * 0.65
                bw2 = bw * 0.8
            else:
                tx2, bh2, bw2 = tx, bh, bw
            top = horizon - bh2
            pts = [(tx2, horizon), (tx2, top), (tx2 + bw2, top), (tx2 + bw2, horizon)]
            if r > 0.72 and layer == 1 and bw2 > 12:  # stepped crown
                s = min(16, bh2 * 0.2)
                pts = [(tx2, horizon), (tx2, top + s), (tx2 + bw2 * 0.22, top + s), (tx2 + bw2 * 0.22, top),
                       (tx2 + bw2 * 0.78, top), (tx2 + bw2 * 0.78, top + s), (tx2 + bw2, top + s), (tx2 + bw2, horizon)]
            elif 0.6 < r <= 0.72 and layer == 1:  # spire
                edges.line([(tx2 + bw2 / 2, top), (tx2 + bw2 / 2, top - 24)], 1.0)
                tips.append((tx2 + bw2 / 2, top - 24))
            elif r < 0.15 and layer == 1:  # antenna
                edges.line([(tx2 + bw2 / 2, top), (tx2 + bw2 / 2, top - 14)], 0.7)
                tips.append((tx2 + bw2 / 2, top - 14))
            bodies.poly(pts, fill=255 if layer else 200)
            if layer == 1:
                edges.line(pts[1:-1], 0.8)
            # windows: a grid of lit dots
            if layer == 1:
                for wy in np.arange(top + 4, horizon - 2, 4):
                    for wx in np.arange(tx2 + 2, tx2 + bw2 - 2, 3):
                        if rng.random() < density:
                            iy, ix = int(wy), int(wx)
                            if 0 <= iy < h and 0 <= ix < w:
                                if rng.random() < 0.12:
                                    wwarm[iy, ix] = rng.uniform(0.5, 1)
                                else:
                                    windows[iy, ix] = rng.uniform(0.3, 1)
    bm = bodies.get()
    em = edges.get()
    over(img, bm, body, 0.95)
    # a gradient on the bodies: lighter at the foot where the city glows
    ys = np.arange(h, dtype=np.float32)
    foot = np.clip(1 - (horizon - ys) / max_h, 0, 1) ** 2
    add(img, bm * foot[:, None], (20, 70, 110), 0.5)
    add(img, windows, lit, 0.9)
    add(img, blur(windows, 1.5), lit, 1.4)
    add(img, wwarm, warm, 0.8)
    add(img, blur(wwarm, 1.5), warm, 1.0)
    glow(img, em, edge, ((1, 0.5), (4, 0.35)))
    add(img, em, edge, 0.6)
    tm = np.zeros((h, w), np.float32)
    for (px, py) in tips:
        if 0 <= int(py) < h and 0 <= int(px) < w:
            tm[int(py), int(px)] = 1
    add(img, blur(tm, 1.2) * 6, (255, 80, 90), 0.9)
    # glow of the whole city into the sky
    haze = blur(bm, 18)
    add(img, haze, (20, 110, 150), 0.35)
    if reflect:
        # mirrored, blurred reflection below the horizon
        refl = np.zeros((h, w, 3), np.float32)
        hh = min(int(max_h), h - horizon)
        src = img[horizon - hh:horizon][::-1]
        refl[horizon:horizon + hh] = src
        rm = np.zeros((h, w), np.float32)
        rm[horizon:horizon + hh] = np.linspace(0.45, 0, hh)[:, None]
        rb = blur(refl, 2.5)
        img[:] = img + rb * rm[..., None] * 0.6
    return bm


def lit_letters(img, t, y0, span, foot=(90, 215, 255)):
    """Fills the letters of mask t white at the top, fading to cyan over span
    pixels from y0 down: the game's lit titles."""
    ys = np.arange(img.shape[0], dtype=np.float32)
    k = np.clip((ys - y0) / span, 0, 1)[:, None, None]
    fillc = col((245, 252, 255)) * (1 - k) + col(foot) * k
    img[:] = img * (1 - t[..., None]) + fillc * t[..., None]


def scanlines(img, region, k=0.06, period=3):
    x0, y0, x1, y1 = region
    img[y0:y1:period, x0:x1] *= (1 - k)


def vignette(img, k=0.45, power=2.2):
    h, w = img.shape[:2]
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    d = np.sqrt(((x - w / 2) / (w / 2)) ** 2 + ((y - h / 2) / (h / 2)) ** 2) / math.sqrt(2)
    img *= (1 - k * d ** power)[..., None]


def dark_panel(img, box, fill=(6, 14, 26), alpha=0.88, c=10, border=(60, 200, 240), border_k=0.9,
               glow_k=0.5, brackets=True, corners=(1, 1, 1, 1), inner_line=True):
    """Translucent holographic panel: dark fill, thin glowing frame, corner brackets."""
    h, w = img.shape[:2]
    x, y, bw, bh = box
    fm = fill_mask(w, h, box, c, corners)
    over(img, fm, fill, alpha)
    # faint top sheen inside
    ys = np.arange(h, dtype=np.float32)
    sheen = np.clip(1 - (ys - y) / max(30.0, bh * 0.25), 0, 1)
    sheen[ys < y] = 0
    add(img, fm * sheen[:, None], border, 0.035)
    fr = frame_mask(w, h, box, c, 1.0, corners)
    glow(img, fr, border, ((1.5, 0.35 * glow_k), (6, 0.25 * glow_k)))
    add(img, fr, border, 0.75 * border_k)
    if inner_line:
        ir = frame_mask(w, h, (x + 4, y + 4, bw - 8, bh - 8), max(2, c - 3), 1.0, corners)
        add(img, ir, border, 0.12 * border_k)
    if brackets:
        br = brackets_mask(w, h, (x, y, bw, bh), arm=min(18, bw // 5, bh // 3), width=2.0, gap=-1)
        add(img, br, (170, 240, 255), 0.8 * border_k)
        glow(img, br, border, ((3, 0.4 * glow_k),))
    return fm


def glow_button(img, box, label, size=22, path=SANS_B, fill_top=(10, 50, 70), fill_bot=(4, 18, 32),
                border=(70, 220, 255), text_rgb=(225, 250, 255), c=10, accent=True, text_k=1.0, dy=0,
                back=False):
    """A framed sci-fi button that fills exactly box = (x, y, w, h)."""
    h, w = img.shape[:2]
    x, y, bw, bh = box
    # outer glow first, so it sits behind the plate
    om = fill_mask(w, h, box, c, (1, 0, 1, 0))
    glow(img, om, border, ((6, 0.22), (16, 0.12)))
    grad = vgrad(w, h, [(0, (0, 0, 0)), (y / h, fill_top), ((y + bh) / h, fill_bot), (1, (0, 0, 0))])
    over_img(img, om, grad)
    # glassy highlight on the upper half
    hl = fill_mask(w, h, (x + 3, y + 3, bw - 6, bh * 0.42), max(2, c - 3), (1, 0, 0, 0))
    ys = np.arange(h, dtype=np.float32)
    hl *= np.clip(1 - (ys - y) / (bh * 0.5), 0, 1)[:, None]
    add(img, hl, (120, 220, 255), 0.10)
    # bright line along the bottom edge, like light leaking from under glass
    bl = Mask(w, h)
    bl.line([(x + bw * 0.18, y + bh - 3), (x + bw * 0.82, y + bh - 3)], 1.0)
    blm = bl.get()
    add(img, blur(blm, 3), border, 0.5)
    add(img, blm, border, 0.35)
    fr = frame_mask(w, h, box, c, 1.4, (1, 0, 1, 0))
    glow(img, fr, border, ((1.2, 0.5), (4, 0.3)))
    add(img, fr, border, 0.85)
    ir = frame_mask(w, h, (x + 3, y + 3, bw - 6, bh - 6), max(2, c - 3), 1.0, (1, 0, 1, 0))
    add(img, ir, border, 0.16)
    if accent:
        # small tick marks on the left and a chevron on the right
        am = Mask(w, h)
        tx = x + bw - 16 if back else x + 10
        for i in range(3):
            yy = y + bh / 2 - 6 + i * 6
            am.line([(tx, yy), (tx + 6, yy)], 1.4)
        cy = y + bh / 2
        if back:
            cx = x + 24
            am.line([(cx + 3, cy - 6), (cx - 3, cy), (cx + 3, cy + 6)], 1.6)
            am.line([(cx + 9, cy - 6), (cx + 3, cy), (cx + 9, cy + 6)], 1.6)
        else:
            cx = x + bw - 18
            am.line([(cx - 3, cy - 6), (cx + 3, cy), (cx - 3, cy + 6)], 1.6)
        a = am.get()
        add(img, a, border, 0.75)
        add(img, blur(a, 2), border, 0.4)
    tm = Mask(w, h)
    text_centered(tm, box, label, path, size, dy=dy, tracking=size * 0.08)
    t = tm.get()
    glow(img, t, border, ((1.5, 0.6 * text_k), (5, 0.35 * text_k)))
    over(img, t, text_rgb, 1.0)
