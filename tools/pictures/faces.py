"""The console's two portraits: the scientist and the stranger.
"""
import numpy as np
from PIL import Image

from .raster import (
    Mask, add, blur, canvas, col, fbm, from_image, gauss_glow, over, over_img, save_gif,
    to_image, vgrad)
from .scenery import vignette
from .sketches import photo_finish


def shade_head(w, h, cx, cy, rx, ry, light=(-0.55, -0.45, 0.7), taper=0.24):
    """Coverage and soft Lambert shading of an egg-shaped head seen face on."""
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    dy = (y - cy) / ry
    rxx = rx * (1 - taper * np.clip(dy, 0, 1) ** 1.6)
    dx = (x - cx) / rxx
    rr = dx * dx + dy * dy
    inside = np.clip((1 - np.sqrt(rr)) * min(rx, ry) / 1.2, 0, 1)
    nz = np.sqrt(np.clip(1 - rr, 0, 1))
    lx, ly, lz = light
    lam = dx * lx + dy * ly + nz * lz
    lam = np.clip((lam + 0.25) / 1.25, 0, 1) ** 1.3  # wrapped light: soft terminator
    return inside.astype(np.float32), lam.astype(np.float32), dx, dy


def make_photo_portrait():
    """A small photo of the scientist: head and shoulders in his worn tweed jacket, in a lab lit from a
    window on the left."""
    w, h = 100, 75
    S = 4
    W, H = w * S, h * S
    rng = np.random.default_rng(1103)
    y, x = np.mgrid[0:H, 0:W].astype(np.float32)
    # background: out-of-focus lab, a bright window at the left, shelves at the right
    img = vgrad(W, H, [(0, (100, 110, 116)), (1, (50, 56, 62))])
    add(img, gauss_glow(W, H, 30, 80, 110, 150), (210, 212, 205), 0.4)
    bg = np.zeros((H, W, 3), np.float32)
    for _ in range(12):
        bx0 = rng.uniform(250, 400)
        by0 = rng.uniform(0, 280)
        bm = Mask(W, H, 1)
        bm.rect((bx0, by0, bx0 + rng.uniform(20, 60), by0 + rng.uniform(8, 30)))
        add(bg, bm.get(), tuple(int(v) for v in rng.uniform(40, 130, 3)), 0.45)
    for _ in range(7):
        bm = Mask(W, H, 1)
        bm.circle(rng.uniform(0, 130), rng.uniform(0, 220), rng.uniform(6, 16))
        add(bg, bm.get(), (225, 228, 220), 0.22)
    img += blur(bg, 10)
    img = blur(img, 5)
    cx, cy = 206, 112  # face centre
    skin = col((200, 152, 124))
    # shoulders: an old tweed jacket, brown flecked with grey, worn pale where it rubs
    coat = Mask(W, H)
    coat.poly([(cx - 42, 186), (cx + 42, 186), (cx + 100, 200), (cx + 135, 214), (cx + 156, 240), (cx + 168, H + 5),
               (cx - 168, H + 5), (cx - 156, 240), (cx - 135, 214), (cx - 100, 200)])
    cm = blur(coat.get(), 3)
    cm = np.clip((cm - 0.5) * 2.5 + 0.5, 0, 1)
    cdx = (x - cx) / 150
    coat_l = np.clip(0.95 - 0.35 * cdx - 0.15 * ((y - 200) / 100), 0.45, 1.05)
    folds = fbm(W, H, rng, base=36, octaves=3)
    # herringbone: short diagonal twills that turn every few pixels, and loose flecks
    band = (np.floor(x / 6) % 2) * 2 - 1
    twill = np.sin((y + band * x) * 1.6) * 0.5 + 0.5
    flecks = rng.random((H, W)).astype(np.float32)
    worn = np.clip(fbm(W, H, rng, base=28, octaves=2) - 0.35, 0, 1)
    tweed = col((112, 92, 70))[None, None] * (0.82 + 0.22 * twill + 0.18 * (flecks - 0.5))[..., None]
    tweed += col((150, 146, 136))[None, None] * (flecks > 0.9)[..., None] * 0.35
    tweed += col((60, 52, 40))[None, None] * worn[..., None] * 0.6
    coat_col = tweed * (coat_l * (0.9 + 0.16 * folds))[..., None]
    over_img(img, cm, coat_col)
    # notched lapels a shade darker, their edges catching the window light
    lapel = Mask(W, H)
    lapel.poly([(cx - 40, 186), (cx - 64, 214), (cx - 52, 222), (cx - 20, 276)])
    lapel.poly([(cx + 40, 186), (cx + 64, 214), (cx + 52, 222), (cx + 20, 276)])
    over(img, blur(lapel.get(), 1.5) * cm, (66, 52, 40), 0.8)
    for side, k in ((-1, 0.45), (1, 0.2)):
        edge = Mask(W, H)
        edge.line([(cx + side * 40, 186), (cx + side * 64, 214), (cx + side * 52, 222), (cx + side * 20, 276)], 2)
        over(img, blur(edge.get(), 1.2) * cm, (186, 164, 132), k)
    # open collar: shirt, tie, lapel shadows
    shirt = Mask(W, H)
    shirt.poly([(cx - 36, 184), (cx + 36, 184), (cx + 16, 270), (cx - 16, 270)])
    over(img, blur(shirt.get(), 1.2), (70, 84, 104))
    tie = Mask(W, H)
    tie.poly([(cx - 7, 200), (cx + 7, 200), (cx + 12, 300), (cx - 12, 300)])
    tie.poly([(cx - 10, 191), (cx + 10, 191), (cx + 6, 203), (cx - 6, 203)])
    over(img, blur(tie.get(), 1), (96, 36, 40))
    lap = Mask(W, H)
    lap.line([(cx - 38, 186), (cx - 18, 272)], 3)
    lap.line([(cx + 38, 186), (cx + 18, 272)], 3)
    over(img, blur(lap.get(), 2), (90, 92, 92), 0.45)
    # neck
    nm = Mask(W, H)
    nm.poly([(cx - 30, 150), (cx + 28, 150), (cx + 33, 196), (cx - 35, 196)])
    nmk = blur(nm.get(), 1.5)
    neck_l = np.clip(0.95 - (x - (cx - 27)) / 54 * 0.5, 0.35, 1)
    over_img(img, nmk, skin[None, None] * neck_l[..., None] * 0.78)
    over(img, gauss_glow(W, H, cx + 4, 176, 34, 12) * nmk, (50, 30, 22), 0.55)
    # ears
    for ex, k in ((cx - 45, 0.95), (cx + 45, 0.62)):
        ei, el, _, _ = shade_head(W, H, ex, cy + 6, 8, 15, taper=0)
        over_img(img, ei, skin[None, None] * (0.45 + 0.55 * el[..., None]) * k + col((40, 0, 0)) * 0.1)
    # head
    inside, lam, dx, dy = shade_head(W, H, cx, cy, 46, 62)
    face = skin[None, None] * (0.32 + 0.8 * lam[..., None])
    warm = np.clip(1 - np.sqrt((dx + 0.5) ** 2 + (dy - 0.25) ** 2) * 3, 0, 1) + \
        np.clip(1 - np.sqrt((dx - 0.5) ** 2 + (dy - 0.25) ** 2) * 3, 0, 1) + \
        np.clip(1 - np.sqrt(dx ** 2 + (dy - 0.2) ** 2) * 5, 0, 1)
    face += col((70, 0, 0))[None, None] * warm[..., None] * 0.22
    over_img(img, inside, face)
    feat = np.zeros((H, W), np.float32)

    def blob(px, py, sx, sy, k):
        feat[:] += gauss_glow(W, H, px, py, sx, sy) * k
    # eye sockets, eyes, brows
    for ex, kk in ((cx - 17, 1.0), (cx + 17, 1.15)):
        blob(ex, cy - 4, 11, 7, 0.28 * kk)
        blob(ex, cy - 3, 5, 2.2, 0.7)
        blob(ex + 0.5, cy - 3, 2, 2, 0.5)
        blob(ex, cy - 15, 11, 2.2, 0.55)
    # nose: shadow to the right of the ridge, nostrils, the fold to the mouth
    blob(cx + 7, cy + 12, 4, 13, 0.32)
    blob(cx + 1, cy + 24, 8, 2.6, 0.4)
    blob(cx + 18, cy + 30, 3, 9, 0.18)
    blob(cx - 16, cy + 30, 3, 9, 0.1)
    # mouth, lower lip shadow, chin
    blob(cx, cy + 37, 12, 1.6, 0.6)
    blob(cx, cy + 43, 8, 2.5, 0.22)
    blob(cx + 3, cy + 56, 16, 4, 0.18)
    # the side away from the window
    blob(cx + 34, cy + 14, 10, 30, 0.2)
    stub = fbm(W, H, rng, base=2, octaves=2)
    jaw = np.clip((dy - 0.3) * 2.2, 0, 1) * inside
    feat += jaw * stub * 0.22
    img[:] = img * (1 - np.clip(feat, 0, 0.9)[..., None] * 0.85)
    # catch lights in the eyes, sheen on forehead and nose
    for ex in (cx - 19, cx + 15):
        add(img, gauss_glow(W, H, ex, cy - 4, 1.2, 1.2), (255, 255, 255), 0.5)
    add(img, gauss_glow(W, H, cx - 14, cy - 34, 14, 8) * inside, (255, 232, 214), 0.12)
    add(img, gauss_glow(W, H, cx - 1, cy + 10, 2.5, 10) * inside, (255, 232, 214), 0.14)
    # glasses: thin rims
    gl = Mask(W, H)
    for ex in (cx - 18, cx + 18):
        gl.ellipse((ex - 13, cy - 13, ex + 13, cy + 6), outline=255, width=1.6)
    gl.line([(cx - 5, cy - 6), (cx + 5, cy - 6)], 1.6)
    gl.line([(cx - 31, cy - 6), (cx - 45, cy - 9)], 1.6)
    gl.line([(cx + 31, cy - 6), (cx + 45, cy - 9)], 1.6)
    over(img, gl.get(), (40, 36, 34), 0.75)
    # hair: grey, receding, fuller at the sides and back
    hm = Mask(W, H)
    hm.ellipse((cx - 49, cy - 66, cx + 49, cy - 2))
    hmask = blur(hm.get(), 2.5)
    crown = np.clip(1 - ((x - cx) / 30) ** 2 - ((y - (cy - 50)) / 14) ** 2, 0, 1)
    sides = np.clip((np.abs(x - cx) - 27) / 10, 0, 1) + np.clip(((cy - 54) - y) / 6, 0, 1)
    hair_a = hmask * np.clip(sides, 0, 1) * (1 - crown * 0.85)
    hair_a *= np.clip((cy + 4 - y) / 10, 0, 1)
    strands = fbm(W, H, rng, base=3, octaves=3)
    hair_l = np.clip(1.1 - (x - (cx - 50)) / 100 * 0.6, 0.4, 1.1)
    hair_col = col((165, 162, 158))[None, None] * ((0.55 + 0.6 * strands) * hair_l)[..., None]
    over_img(img, np.clip(hair_a, 0, 1).astype(np.float32) * 0.9, hair_col)
    # a photo: slightly soft, faded warm colour, grain and a vignette
    img = blur(img, 1.2)
    small = from_image(to_image(img).resize((w, h), Image.LANCZOS))
    small = small * 0.9 + 0.06
    out = photo_finish(small, rng, grain=0.016, vig=0.5)
    save_gif(out, 'console/pictures/photo_portrait.gif')


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
    fg.line([(fx - 21, top + 35), (fx - 31, top + L * 0.45), (fx - 34, top + L * 0.8)], 7)
    fg.line([(fx + 21, top + 35), (fx + 30, top + L * 0.47), (fx + 32, top + L * 0.82)], 7)
    fg.poly([(fx - 13, top + L * 0.54), (fx - 2, top + L * 0.54), (fx - 5, bot), (fx - 13, bot)])
    fg.poly([(fx + 2, top + L * 0.54), (fx + 13, top + L * 0.54), (fx + 12, bot), (fx + 4, bot)])
    f = fg.get()
    over(img, f, (3, 6, 6), 0.96)
    add(img, np.clip(blur(f, 4) - f, 0, 1), (190, 255, 240), 0.2)
    # heavy blur: out of focus and moving
    img = blur(img, 3.4)
    mb = img.copy()
    for k in range(1, 5):
        mb += np.roll(img, k * 2, axis=1) * (1 - k * 0.15)
    img = mb / (1 + sum(1 - k * 0.15 for k in range(1, 5)))
    small = from_image(to_image(img).resize((w, h), Image.LANCZOS))
    small = blur(small, 0.8)
    # a little chromatic fringe and heavy sensor noise
    small[:, :, 0] = np.roll(small[:, :, 0], 1, axis=1)
    small[:, :, 2] = np.roll(small[:, :, 2], -1, axis=1)
    small = small * col((205, 245, 228))[None, None]
    small += rng.normal(0, 0.045, small.shape).astype(np.float32)
    vignette(small, 0.7, 1.8)
    save_gif(small, 'console/pictures/photo_stranger.gif')
