"""The console's hand-drawn photos: the sketch of the universe and of time,
with the paper, pen and photo finish they share.
"""
import math

import numpy as np
from PIL import Image

from .raster import HAND, Mask, canvas, col, fbm, font, from_image, save_gif, shrink, to_image
from .scenery import vignette


# ---------------------------------------------------------------------------
# Console photos

INK = (28, 40, 105)


def squared_paper(w, h, rng, cell=10.0, tint=(238, 235, 222), line=(150, 178, 205)):
    img = canvas(w, h, tint)
    n = fbm(w, h, rng, base=40, octaves=4)
    img *= (0.96 + 0.06 * n)[..., None]
    gm = Mask(w, h, 2)
    ox, oy = rng.uniform(0, cell), rng.uniform(0, cell)
    x = ox
    while x < w:
        gm.line([(x, -2), (x, h + 2)], 0.6)
        x += cell
    y = oy
    while y < h:
        gm.line([(-2, y), (w + 2, y)], 0.6)
        y += cell
    g = gm.get()
    img[:] = img * (1 - g[..., None] * 0.55) + col(line) * g[..., None] * 0.55
    return img


def wobble(pts, rng, amp=0.6, step=2.0):
    """Resamples a polyline and shakes it a little, like a hand-drawn stroke."""
    out = []
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        n = max(1, int(math.hypot(x1 - x0, y1 - y0) / step))
        for i in range(n):
            t = i / n
            out.append((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t))
    out.append(pts[-1])
    ph = rng.uniform(0, 6.3, 3)
    fr = rng.uniform(0.05, 0.2, 3)
    res = []
    for i, (x, y) in enumerate(out):
        dx = sum(amp * math.sin(i * f + p) for f, p in zip(fr, ph)) / 2
        dy = sum(amp * math.cos(i * f * 1.3 + p) for f, p in zip(fr, ph)) / 2
        res.append((x + dx, y + dy))
    return res


def pen(m, pts, rng, width=1.1, amp=0.5):
    m.line(wobble(pts, rng, amp), width)


def hand_text(m, xy, s, size, rng, path=HAND, slant_jitter=0.6):
    """Handwriting: glyph by glyph with small jitter of baseline and size."""
    x, y = xy
    for ch in s:
        sz = size * rng.uniform(0.94, 1.06)
        dy = rng.normal(0, 0.45)
        m.text((x, y + dy), ch, path, sz, anchor='ls')
        x += font(path, int(round(sz * m.ss))).getlength(ch) / m.ss * rng.uniform(0.96, 1.02)
    return x


def arrow(m, p0, p1, rng, width=1.0, head=5):
    pen(m, [p0, ((p0[0] + p1[0]) / 2 + rng.normal(0, 2), (p0[1] + p1[1]) / 2 + rng.normal(0, 2)), p1], rng, width, 0.3)
    a = math.atan2(p1[1] - p0[1], p1[0] - p0[0])
    for s_ in (-1, 1):
        q = (p1[0] - head * math.cos(a + s_ * 0.45), p1[1] - head * math.sin(a + s_ * 0.45))
        pen(m, [p1, q], rng, width, 0.15)


def photo_finish(img, rng, grain=0.025, vig=0.35, rot=0.0, warm=True):
    """Makes a flat drawing look photographed: tilt, uneven light, grain, vignette."""
    h, w = img.shape[:2]
    if rot:
        im = to_image(img).rotate(rot, resample=Image.BICUBIC, expand=False, fillcolor=(60, 55, 50))
        img = from_image(im)
    # light falling from the upper left
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    light = 1.04 - 0.14 * (x / w) - 0.1 * (y / h)
    img = img * light[..., None]
    vignette(img, vig, 2.0)
    if warm:
        img *= col((255, 246, 228))[None, None]
    img += rng.normal(0, grain, img.shape).astype(np.float32)
    return img


def make_photo_universe():
    w, h = 300, 107
    rng = np.random.default_rng(1101)
    S = 2  # drawn at twice the size, then reduced like a photo
    W, H = w * S, h * S
    img = squared_paper(W, H, rng, cell=11 * S)
    m = Mask(W, H)
    P = lambda pts: [(x * S, y * S) for x, y in pts]
    x0, x1, cy = 22, 178, 56

    def r(x):
        return 2.5 + 40 * ((x - x0) / (x1 - x0)) ** 1.7
    xs = np.linspace(x0, x1, 40)
    pen(m, P([(x, cy - r(x)) for x in xs]), rng, 1.3 * S, 0.5)
    pen(m, P([(x, cy + r(x)) for x in xs]), rng, 1.3 * S, 0.5)
    # rings across the funnel
    for xr in (60, 100, 140, x1):
        rr = r(xr)
        e = [(xr + rr * 0.22 * math.cos(t), cy + rr * math.sin(t)) for t in np.linspace(0, 2 * math.pi, 40)]
        pen(m, P(e), rng, (1.1 if xr == x1 else 0.8) * S, 0.35)
    # hatching inside the narrow end
    for i in range(6):
        xx = x0 + 4 + i * 5
        pen(m, P([(xx, cy - r(xx) + 1), (xx + 3, cy + r(xx) - 1)]), rng, 0.6 * S, 0.2)
    # labels and arrows
    hand_text(m, (196 * S, 24 * S), 'наша', 14 * S, rng)
    hand_text(m, (196 * S, 40 * S), 'Вселенная', 14 * S, rng)
    arrow(m, P([(194, 34)])[0], P([(172, 30)])[0], rng, 1.0 * S, 5 * S)
    pen(m, P([(196, 44), (262, 45)]), rng, 0.9 * S, 0.4)
    hand_text(m, (6 * S, 96 * S), 't = 0', 12 * S, rng)
    arrow(m, P([(20, 86)])[0], P([(x0 + 1, cy + 5)])[0], rng, 0.9 * S, 4 * S)
    hand_text(m, (82 * S, 101 * S), 'время  →', 12 * S, rng)
    hand_text(m, (200 * S, 76 * S), 'мы здесь?', 12 * S, rng)
    mx, my = 140, cy + r(140) * 0.55
    pen(m, P([(mx - 3, my - 3), (mx + 3, my + 3)]), rng, 1.1 * S, 0.1)
    pen(m, P([(mx - 3, my + 3), (mx + 3, my - 3)]), rng, 1.1 * S, 0.1)
    arrow(m, P([(198, 72)])[0], P([(mx + 5, my + 1)])[0], rng, 0.9 * S, 4 * S)
    hand_text(m, (232 * S, 100 * S), '!?', 13 * S, rng)
    ink = m.get()
    img[:] = img * (1 - ink[..., None] * 0.92) + col(INK) * ink[..., None] * 0.92
    out = photo_finish(shrink(img, w, h), rng, grain=0.008)
    save_gif(out, 'console/pictures/photo_universe.gif')


def make_photo_time():
    w, h = 300, 91
    rng = np.random.default_rng(1102)
    S = 2
    W, H = w * S, h * S
    img = squared_paper(W, H, rng, cell=11 * S)
    m = Mask(W, H)
    P = lambda x, y: (x * S, y * S)
    end = hand_text(m, P(10, 22), 'уравнение времени:', 16 * S, rng)
    pen(m, [P(10, 26), (end, 26.5 * S)], rng, 0.9 * S, 0.4)
    base = 62
    x = hand_text(m, P(12, base), 't', 20 * S, rng) / S
    x = hand_text(m, P(x + 4, base), '=', 16 * S, rng) / S + 4
    # radical sign over Δτ² − ξ / c²
    rx = x
    pen(m, [P(rx, base - 9), P(rx + 3, base - 11), P(rx + 7, base + 3), P(rx + 12, base - 27)], rng, 1.1 * S, 0.2)
    x = rx + 14
    x = hand_text(m, P(x, base), 'Δτ', 18 * S, rng) / S
    hand_text(m, P(x + 0.5, base - 10), '2', 10 * S, rng)
    x += 8
    x = hand_text(m, P(x + 2, base), '−', 16 * S, rng) / S + 3
    # fraction ξ / 4πc²
    fx = x
    hand_text(m, P(fx + 8, base - 8), 'ξ', 15 * S, rng)
    pen(m, [P(fx, base - 4), P(fx + 30, base - 4.5)], rng, 1.0 * S, 0.2)
    e = hand_text(m, P(fx + 1, base + 10), '4πc', 13 * S, rng) / S
    hand_text(m, P(e + 0.5, base + 2), '2', 9 * S, rng)
    x = fx + 33
    pen(m, [P(rx + 12, base - 27), P(x + 2, base - 27.5)], rng, 1.0 * S, 0.3)
    x = hand_text(m, P(x + 6, base), '·', 18 * S, rng) / S + 4
    # second fraction: Σ ω_k over (1 − Φ)
    fx = x
    e = hand_text(m, P(fx + 4, base - 8), 'Σω', 15 * S, rng) / S
    hand_text(m, P(e, base - 5), 'k', 9 * S, rng)
    pen(m, [P(fx, base - 4), P(fx + 40, base - 3.5)], rng, 1.0 * S, 0.2)
    hand_text(m, P(fx + 2, base + 11), '(1 − Φ)', 13 * S, rng)
    x = fx + 46
    x = hand_text(m, P(x, base), '≈', 16 * S, rng) / S + 3
    x = hand_text(m, P(x, base), 'λψ', 17 * S, rng) / S
    hand_text(m, P(x + 1, base - 10), '∞', 10 * S, rng)
    # a circled remark and a correction under it
    hand_text(m, P(196, 84), 'проверить!', 12 * S, rng)
    e2 = [(S * (225 + 37 * math.cos(t)), S * (80 + 8 * math.sin(t))) for t in np.linspace(0.3, 2 * math.pi + 0.6, 50)]
    pen(m, e2, rng, 0.8 * S, 0.5)
    hand_text(m, P(14, 86), 'Δτ ≠ 0', 11 * S, rng)
    ink = m.get()
    img[:] = img * (1 - ink[..., None] * 0.92) + col(INK) * ink[..., None] * 0.92
    out = photo_finish(shrink(img, w, h), rng, grain=0.008)
    save_gif(out, 'console/pictures/photo_time.gif')
