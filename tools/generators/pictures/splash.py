"""The studio's logo for the white splash window.

The window stays white, so the logo brings the game's night with it: the
planet and its orbit glow inside a disc of dark sky, the orbit runs on out
across the white as a plain ink line, and the game's name stands lit in one of
the game's own dark panels. The studio's name is dark ink on white.
"""
import math

import numpy as np

from .raster import (
    Mask, SANS, SANS_B, add, blur, canvas, col, fbm, gauss_glow, glow, over, over_img,
    quantize, save_bgrx, text_width)
from .scenery import dark_panel, lit_letters, starfield
from .tesseract import draw_tesseract

W, H = 471, 278
# the planet; the test of the logo's byte order looks for its blue at (100, 100)
CX, CY, R = 104, 98, 42
DISC = 66


def _orbit(a0, a1, n=200, rx=88, ry=24, tilt=math.radians(-18)):
    pts = []
    for t in np.linspace(a0, a1, n):
        x, y = rx * math.cos(t), ry * math.sin(t)
        pts.append((CX + x * math.cos(tilt) - y * math.sin(tilt), CY + x * math.sin(tilt) + y * math.cos(tilt)))
    return pts


def _night_disc(img, rng):
    """A disc of the game's sky behind the planet; returns its coverage."""
    dm = Mask(W, H)
    dm.circle(CX, CY, DISC)
    d = dm.get()
    sky = canvas(W, H, (3, 8, 20))
    add(sky, gauss_glow(W, H, CX + 10, CY + 20, 60), (10, 50, 110), 0.9)
    add(sky, np.clip(fbm(W, H, rng, base=40, octaves=4) - 0.45, 0, 1), (90, 50, 170), 0.5)
    starfield(sky, rng, 70, (CX - DISC, CY - DISC, CX + DISC, CY + DISC), bright=0.9)
    # cyan light spilling on the white, a soft shadow, the sky, a thin lit rim
    over(img, gauss_glow(W, H, CX, CY, DISC * 0.9), (200, 236, 250), 0.5)
    over(img, blur(d, 5), (150, 165, 185), 0.35)
    over_img(img, d, sky)
    rm = Mask(W, H)
    rm.ellipse((CX - DISC, CY - DISC, CX + DISC, CY + DISC), outline=255, width=1.3)
    rim = rm.get()
    add(img, rim * d, (60, 200, 255), 0.8)
    return d


def _planet(img, rng):
    y, x = np.mgrid[0:H, 0:W].astype(np.float32)
    dx, dy = (x - CX) / R, (y - CY) / R
    rr = dx * dx + dy * dy
    pm = Mask(W, H)
    pm.circle(CX, CY, R)
    sm = pm.get()
    nz = np.sqrt(np.clip(1 - rr, 0, 1))
    light = np.clip(-0.55 * dx - 0.6 * dy + 0.58 * nz, 0, 1)
    base = col((8, 18, 60))[None, None] * (1 - light[..., None]) + col((40, 140, 235))[None, None] * light[..., None]
    # the bands of a gas giant, bent over the sphere
    bands = fbm(W, H, rng, base=30, octaves=3)
    lat = dy / np.maximum(nz, 0.15) * 0.15 + dy
    stripes = 0.5 + 0.5 * np.sin(lat * 9 + bands * 2.5)
    base = base * (0.82 + 0.18 * stripes[..., None])
    # the far side catches the violet of the nebula, the rim the cyan of the city
    rim = np.clip(rr ** 3, 0, 1) * np.clip(0.6 * dx + 0.7 * dy + 0.2, 0, 1)
    base += rim[..., None] * col((90, 230, 255)) * 0.9
    base += (np.clip(dx, 0, 1) * (1 - light))[..., None] * col((70, 30, 120)) * 0.5
    glint = np.exp(-(((dx + 0.38) ** 2 + (dy + 0.42) ** 2) / 0.03))
    base += glint[..., None] * 0.35
    over_img(img, sm, base)
    # a grid of lines over it: a hint of the virtual
    gm = Mask(W, H)
    for k in (-0.6, -0.3, 0.0, 0.3, 0.6):
        yy, half = CY + k * R, R * math.sqrt(1 - k * k)
        gm.ellipse((CX - half, yy - half * 0.12, CX + half, yy + half * 0.12), outline=255, width=0.6)
    for k in (0.55, 0.0):
        hx = R * k if k else 0.3
        gm.ellipse((CX - hx, CY - R, CX + hx, CY + R), outline=255, width=0.6)
    add(img, gm.get() * sm, (120, 220, 255), 0.25)
    return sm


def _orbit_half(img, disc, a0, a1, width, k):
    """Half the orbit: neon inside the night disc, dark ink out on the white."""
    m = Mask(W, H)
    m.line(_orbit(a0, a1), width)
    o = m.get()
    over(img, o * (1 - disc), (0, 80, 130), k)
    glow(img, o * disc, (40, 190, 255), ((1.5, 0.6 * k), (5, 0.35 * k)))
    add(img, o * disc, (170, 240, 255), 0.9 * k)


def _wordmark(img):
    tx, size = 204, 47
    while text_width('ORBITRUM', SANS_B, size, 3) > W - tx - 12:
        size -= 1
    wm = Mask(W, H)
    wm.text((tx, 102), 'ORBITRUM', SANS_B, size, anchor='ls', tracking=3)
    t = wm.get()
    ys = np.arange(H, dtype=np.float32)
    k = np.clip((ys - 66) / 40, 0, 1)[:, None, None]
    fillc = col((8, 18, 48)) * (1 - k) + col((20, 70, 170)) * k
    img[:] = img * (1 - t[..., None]) + fillc * t[..., None]
    tw = text_width('ORBITRUM', SANS_B, size, 3)
    gm = Mask(W, H)
    gm.text((tx + tw / 2, 134), 'GAMES', SANS_B, 17, anchor='ms', tracking=15)
    over(img, gm.get(), (0, 120, 170))
    gw = text_width('GAMES', SANS_B, 17, 15)
    lm = Mask(W, H)
    lm.line([(tx + 2, 128), (tx + tw / 2 - gw / 2 - 12, 128)], 1.4)
    lm.line([(tx + tw / 2 + gw / 2 + 12, 128), (tx + tw - 2, 128)], 1.4)
    ln = lm.get()
    over(img, blur(ln, 2), (60, 200, 255), 0.35)
    over(img, ln, (0, 150, 210))
    pm = Mask(W, H)
    pm.text((tx + tw / 2, 166), 'представляет', SANS, 13, anchor='ms', tracking=4)
    over(img, pm.get(), (95, 110, 130))


def _title_panel(img):
    """The game's name lit in one of its own dark panels: the splash stands still
    for several seconds, so nothing here may look like progress."""
    box = (28, 186, 415, 56)
    pm = Mask(W, H)
    pm.rect((box[0] + 4, box[1] + 6, box[0] + box[2] + 4, box[1] + box[3] + 8))
    over(img, blur(pm.get(), 6), (140, 155, 175), 0.25)
    dark_panel(img, box, fill=(4, 12, 24), alpha=1.0, c=10, glow_k=0.6)
    x, y, bw, bh = box
    draw_tesseract(img, x + 40, y + bh / 2, 17, width=1.0, vertex_r=1.1, glow_k=0.6, faces=0.06)
    title = 'Миры «Tessaranium»'
    size = 27
    tw = text_width(title, SANS_B, size, 0.5)
    tm = Mask(W, H)
    tx = x + 72 + (bw - 72 - tw) / 2
    tm.text((tx, y + bh / 2 + 9), title, SANS_B, size, anchor='ls', tracking=0.5)
    t = tm.get()
    glow(img, t, (30, 170, 255), ((2, 0.7), (6, 0.45), (14, 0.25)))
    lit_letters(img, t, y + 16, 26, foot=(110, 220, 255))


def make_splash():
    rng = np.random.default_rng(1002)
    img = canvas(W, H, (255, 255, 255))
    disc = _night_disc(img, rng)
    _orbit_half(img, disc, math.pi, 2 * math.pi, 1.8, 0.75)
    _planet(img, rng)
    _orbit_half(img, disc, 0, math.pi, 2.4, 1.0)
    # the satellite on the near side of the orbit, with a short trail
    sx, sy = _orbit(0.3 * math.pi, 0.3 * math.pi, 1)[0]
    dm = Mask(W, H)
    dm.circle(sx, sy, 5.5)
    d = dm.get()
    glow(img, d, (60, 200, 255), ((3, 0.6),))
    over(img, d, (255, 255, 255))
    dm2 = Mask(W, H)
    dm2.circle(sx, sy, 3.2)
    over(img, dm2.get(), (30, 190, 250))
    _wordmark(img)
    _title_panel(img)
    cm = Mask(W, H)
    cm.text((W / 2, 268), '© Orbitrum Games, 2026', SANS, 11, anchor='ms')
    over(img, cm.get(), (140, 155, 172))
    # the logo's edges melt into the window's white, leaving no seam
    y, x = np.mgrid[0:H, 0:W].astype(np.float32)
    edge = np.clip(np.minimum(np.minimum(x, W - 1 - x), np.minimum(y, H - 1 - y)) / 8, 0, 1)
    over(img, 1 - edge, (255, 255, 255))
    # dithered for smooth glows, but without the dark specks that error
    # diffusion scatters on the white ground; kept raw, as the splash draws it
    # before anything else is loaded
    save_bgrx(quantize(img, max_error=40), 'shell/pictures/splash_logo.bgrx')
