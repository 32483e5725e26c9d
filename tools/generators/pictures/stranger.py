"""The console's blurred photo of the stranger.
"""
import numpy as np
from PIL import Image

from .raster import Mask, add, blur, canvas, col, from_image, gauss_glow, over, save_gif, to_image
from .scenery import vignette


def make_photo_stranger():
    """A blurred shot of a tall figure standing in a lit corridor."""
    w, h = 150, 113
    S = 3
    W, H = w * S, h * S
    rng = np.random.default_rng(1104)
    y, x = np.mgrid[0:H, 0:W].astype(np.float32)
    vx, vy = W * 0.5, H * 0.40
    img = canvas(W, H, (5, 8, 8))
    # the lit end of the corridor
    dw, dh = 96, 176
    door = (vx - dw / 2, vy - dh / 2, vx + dw / 2, vy + dh / 2)
    # walls, floor and ceiling: light falls off away from the far end
    falloff = np.clip(1 - np.maximum(np.abs(x - vx) / (W * 0.5), np.abs(y - vy) / (H * 0.56)), 0, 1)
    add(img, falloff ** 2.2, (70, 110, 100), 0.9)
    floor = Mask(W, H)
    floor.poly([(-W, H), (door[0], door[3]), (door[2], door[3]), (2 * W, H)])
    fm = floor.get()
    add(img, fm * falloff ** 1.5, (40, 70, 64), 0.7)
    # wall panels: vertical seams in perspective
    seams = Mask(W, H)
    for k in range(1, 6):
        t = 1 / (1 + k * 0.7)
        for side in (-1, 1):
            xx = vx + side * (dw / 2 + (W / 2 - dw / 2) * t)
            yt = vy - dh / 2 - (vy - dh / 2) * t
            yb = vy + dh / 2 + (H - vy - dh / 2) * t
            seams.line([(xx, yt), (xx, yb)], 2.5 * t + 0.8)
    over(img, seams.get(), (2, 4, 4), 0.6)
    # ceiling lights
    lm = Mask(W, H)
    for k in range(0, 5):
        t = 1 / (1 + k * 0.8)
        yy = vy - dh / 2 - (vy - dh / 2) * t
        wdt = 10 + 40 * t
        lm.rect((vx - wdt, yy + 4 * t, vx + wdt, yy + 4 * t + 2 + 8 * t))
    l = lm.get()
    add(img, l, (230, 255, 245), 1.0)
    add(img, blur(l, 10), (110, 200, 185), 0.7)
    # the far end: white light
    dm = Mask(W, H)
    dm.rect(door)
    d = dm.get()
    add(img, d, (235, 255, 248), 1.0)
    add(img, blur(d, 14), (170, 245, 225), 0.6)
    add(img, blur(d, 45), (70, 150, 140), 0.7)
    add(img, gauss_glow(W, H, vx, door[3] + 30, 60, 60) * fm, (170, 240, 225), 0.9)
    # the figure: taller than the doorway behind it, long arms, a small head bent forward
    fx, top, bot = vx + 4, vy - 80, vy + 120
    L = bot - top
    fg = Mask(W, H)
    fg.ellipse((fx - 9, top, fx + 9, top + 24))
    fg.poly([(fx - 4, top + 20), (fx + 5, top + 20), (fx + 5, top + 32), (fx - 5, top + 32)])
    fg.poly([(fx - 22, top + 32), (fx + 22, top + 32), (fx + 13, top + L * 0.55), (fx - 13, top + L * 0.55)])
    fg.line([(fx - 20, top + 35), (fx - 29, top + L * 0.45), (fx - 32, top + L * 0.8)], 10)
    fg.line([(fx + 20, top + 35), (fx + 28, top + L * 0.47), (fx + 30, top + L * 0.82)], 10)
    fg.poly([(fx - 15, top + L * 0.54), (fx - 1, top + L * 0.54), (fx - 3, bot), (fx - 14, bot)])
    fg.poly([(fx + 1, top + L * 0.54), (fx + 15, top + L * 0.54), (fx + 14, bot), (fx + 3, bot)])
    f = fg.get()
    over(img, f, (3, 6, 6), 0.96)
    add(img, np.clip(blur(f, 4) - f, 0, 1), (190, 255, 240), 0.2)
    # heavy blur: out of focus and moving
    img = blur(img, 3.4)
    mb = img.copy()
    for k in range(1, 5):
        mb += np.roll(img, k * 2, axis=1) * (1 - k * 0.15)
    img = mb / (1 + sum(1 - k * 0.15 for k in range(1, 5)))
    # film, not a sensor: the far light rolls off instead of clipping, and bleeds
    # a warm halo into the emulsion round it
    hal = blur(np.clip(img.mean(axis=2) - 0.8, 0, None), 9)
    img = (1 - np.exp(-1.5 * img)) / (1 - np.exp(-1.5 * 1.15))
    add(img, hal, (255, 120, 70), 0.5)
    small = from_image(to_image(img).resize((w, h), Image.LANCZOS))
    small = blur(small, 0.8)
    # a little colour fringe from a cheap lens, the tint of the tubes
    small[:, :, 0] = np.roll(small[:, :, 0], 1, axis=1)
    small[:, :, 2] = np.roll(small[:, :, 2], -1, axis=1)
    small = small * col((214, 245, 230))[None, None]
    # the grain of fast film pushed in the dark: clumps in the grey, barely any colour
    fine = rng.normal(0, 1, (h * 2, w * 2)).astype(np.float32)
    grain = fine.reshape(h, 2, w, 2).mean(axis=(1, 3))
    lum = small.mean(axis=2)
    small += (grain * 0.05 * (0.35 + 2.4 * lum * (1 - lum)))[..., None]
    small += rng.normal(0, 0.006, small.shape).astype(np.float32)
    vignette(small, 0.7, 1.8)
    save_gif(small, 'console/pictures/photo_stranger.gif')
