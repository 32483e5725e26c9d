"""The console's small photo of the scientist: an old man in his worn tweed
jacket, photographed in his lab by the light of a window on the left.

The face is lit, not painted: a height field (skull, brow, eye sockets, nose,
cheekbones, lips, chin, the folds and lines of age) gives the normals, a key
light from the window, a cool fill from the room and the shadows in the
hollows do the rest, over skin whose colour varies as skin does.
"""
import numpy as np

from .raster import (
    Mask, add, blur, canvas, col, fbm, gauss_glow, over, over_img, save_gif, shrink, smooth)
from .scenery import vignette

W, H = 100, 75
S = 4
WW, HH = W * S, H * S
# the face: centre, half width, half height, and how far it is turned to the window
CX, CY, RX, RY = 196, 122, 55, 74
TURN = 0.10
KEY = np.array([-0.68, -0.32, 0.66], np.float32)
FILL = np.array([0.5, 0.1, 0.86], np.float32)


def _g(u, v, u0, v0, su, sv):
    return np.exp(-0.5 * (((u - u0) / su) ** 2 + ((v - v0) / sv) ** 2))


def _lines(pts_list, width, sigma):
    m = Mask(WW, HH)
    for pts in pts_list:
        m.line([(CX + u * RX, CY + v * RY) for u, v in pts], width)
    return blur(m.get(), sigma)


# the head's outline in units of the half width and height: a broad skull,
# temples, cheekbones, the angle of the jaw and a square old man's chin
OUTLINE = [(0, -1.0), (0.5, -0.92), (0.82, -0.68), (0.97, -0.32), (0.98, -0.02), (0.93, 0.26),
           (0.86, 0.5), (0.74, 0.72), (0.48, 0.92), (0.2, 1.0), (-0.2, 1.0), (-0.48, 0.92),
           (-0.74, 0.72), (-0.86, 0.5), (-0.93, 0.26), (-0.98, -0.02), (-0.97, -0.32),
           (-0.82, -0.68), (-0.5, -0.92)]


def head_mask():
    m = Mask(WW, HH)
    m.poly([(CX + u * RX, CY + v * RY) for u, v in smooth(OUTLINE)])
    return blur(m.get(), 1.0)


def _face_height(u, v, inside):
    """Height of the face above the image plane, in units of the half width: a
    dome that follows the outline, and the features on it."""
    t = -TURN
    b = blur(inside, RX * 0.5)
    dome = np.sqrt(np.clip((b / b.max() - 0.42) / 0.58, 0, 1))
    hgt = np.zeros_like(dome)
    for side in (-1, 1):
        k = 0.85 if side > 0 else 1.0  # the far side is a little foreshortened
        hgt -= 0.13 * _g(u, v, t + side * 0.36 * k, -0.08, 0.15, 0.09)   # eye socket
        hgt += 0.05 * _g(u, v, t + side * 0.36 * k, -0.07, 0.08, 0.045)  # the eye in it
        hgt += 0.07 * _g(u, v, t + side * 0.36 * k, -0.25, 0.2, 0.06)    # brow ridge
        hgt += 0.05 * _g(u, v, t + side * 0.5 * k, 0.12, 0.15, 0.12)     # cheekbone
        hgt += 0.04 * _g(u, v, t + side * 0.13, 0.33, 0.06, 0.05)        # nostril wing
        hgt -= 0.04 * _g(u, v, side * 0.86, -0.25, 0.12, 0.2)            # temple
    hgt += 0.11 * _g(u, v, t - 0.01, 0.12, 0.11, 0.2)    # the ridge of the nose
    hgt += 0.08 * _g(u, v, t - 0.03, 0.3, 0.11, 0.08)    # its tip
    hgt -= 0.04 * _g(u, v, t, 0.55, 0.22, 0.022)         # the mouth
    hgt += 0.04 * _g(u, v, t, 0.5, 0.17, 0.035)          # upper lip
    hgt += 0.05 * _g(u, v, t, 0.61, 0.15, 0.04)          # lower lip
    hgt += 0.06 * _g(u, v, t, 0.87, 0.2, 0.1)            # chin
    return dome, hgt


def _age_lines():
    """The folds from nose to mouth, lines across the brow, bags under the eyes."""
    t = -TURN
    folds = _lines([[(t - 0.17, 0.34), (t - 0.27, 0.48), (t - 0.31, 0.63)],
                    [(t + 0.16, 0.34), (t + 0.24, 0.48), (t + 0.27, 0.62)]], 2.2, 1.6)
    brow = _lines([[(t - 0.36 + 0.02 * i, -0.46 - 0.08 * i), (t, -0.48 - 0.08 * i), (t + 0.32, -0.45 - 0.08 * i)]
                   for i in range(3)], 1.2, 1.0)
    bags = _lines([[(t + s * 0.24, 0.02), (t + s * 0.36, 0.05), (t + s * 0.47, 0.01)] for s in (-1, 0.85)], 1.6, 1.2)
    crow = _lines([[(t - 0.6, -0.1), (t - 0.7, -0.13)], [(t - 0.6, -0.04), (t - 0.7, -0.02)]], 1.0, 0.8)
    return 0.035 * folds + 0.012 * brow + 0.02 * bags + 0.012 * crow


def _shade(dome, detail, albedo, shine):
    """Lambert light from the window and the room, a little shine, darker hollows."""
    px = (dome + detail) * RX
    gy, gx = np.gradient(px)
    n = np.stack([-gx, -gy, np.ones_like(px)], axis=-1)
    n /= np.linalg.norm(n, axis=-1, keepdims=True)
    key = np.clip((n @ KEY + 0.15) / 1.15, 0, 1)
    fill = np.clip(n @ FILL, 0, 1)
    half = (KEY + np.array([0, 0, 1], np.float32))
    half /= np.linalg.norm(half)
    highlight = np.clip(n @ half, 0, 1) ** 20 * shine
    cavity = np.clip((blur(detail, 10) - detail) * RX / 6, 0, 1)
    light = (key[..., None] * col((255, 240, 222)) * 1.0 + fill[..., None] * col((150, 170, 200)) * 0.22
             + col((70, 72, 80)) * 0.22)
    out = albedo * light * (1 - 0.55 * cavity[..., None]) + highlight[..., None] * col((255, 246, 236))
    return out


def _lab(rng):
    """The lab behind him, far out of focus: a bright window on the left, shelves
    of books and a board with writing on the right."""
    img = canvas(WW, HH, (92, 100, 96))
    y, x = np.mgrid[0:HH, 0:WW].astype(np.float32)
    img *= (1.05 - 0.35 * (x / WW))[..., None]
    win = Mask(WW, HH)
    win.rect((0, 20, 96, 250))
    over(img, win.get(), (232, 236, 228))
    bars = Mask(WW, HH)
    bars.rect((44, 20, 52, 250))
    bars.rect((0, 128, 96, 134))
    over(img, bars.get(), (120, 118, 110))
    board = Mask(WW, HH)
    board.rect((262, 24, 400, 118))
    over(img, board.get(), (58, 74, 66))
    chalk = Mask(WW, HH)
    for i in range(5):
        yy = 40 + i * 15
        chalk.line([(272, yy), (272 + rng.uniform(50, 110), yy + rng.uniform(-2, 2))], 2)
    add(img, chalk.get(), (200, 205, 195), 0.5)
    for row in (150, 212):
        sh = Mask(WW, HH)
        sh.rect((282, row + 46, 400, row + 52))
        over(img, sh.get(), (70, 56, 44))
        xx = 284.0
        while xx < 400:
            bw = rng.uniform(6, 13)
            bk = Mask(WW, HH)
            bk.rect((xx, row + rng.uniform(0, 12), xx + bw - 1, row + 46))
            over(img, bk.get(), tuple(int(c) for c in rng.uniform(40, 170, 3)))
            xx += bw
    img = blur(img, 7)
    # the window blooms a little into the room, as bright windows do on film
    add(img, gauss_glow(WW, HH, 40, 130, 90, 140), (255, 250, 235), 0.25)
    return img


def _jacket(img, rng, y, x):
    coat = Mask(WW, HH)
    coat.poly([(CX - 40, 186), (CX + 40, 186), (CX + 98, 200), (CX + 134, 216), (CX + 156, 246), (CX + 166, HH + 5),
               (CX - 170, HH + 5), (CX - 158, 246), (CX - 136, 214), (CX - 98, 199)])
    cm = blur(coat.get(), 1.5)
    # herringbone twill, flecks of grey and rust, pale where it has rubbed
    band = (np.floor(x / 6) % 2) * 2 - 1
    twill = np.sin((y + band * x) * 1.6) * 0.5 + 0.5
    flecks = rng.random((HH, WW)).astype(np.float32)
    worn = np.clip(fbm(WW, HH, rng, base=30, octaves=3) - 0.5, 0, 1)
    tweed = col((104, 84, 62))[None, None] * (0.8 + 0.2 * twill + 0.22 * (flecks - 0.5))[..., None]
    tweed += col((150, 146, 136))[None, None] * (flecks > 0.95)[..., None] * 0.25
    tweed += col((140, 70, 40))[None, None] * (flecks < 0.05)[..., None] * 0.3
    tweed += col((90, 80, 64))[None, None] * worn[..., None] * 0.8
    folds = fbm(WW, HH, rng, base=34, octaves=3)
    lit = np.clip(1.0 - 0.5 * (x - CX) / 170 - 0.2 * (y - 200) / 100, 0.35, 1.15) * (0.85 + 0.25 * folds)
    over_img(img, cm, tweed * lit[..., None])
    # shirt, knitted tie, lapels with their edges catching the window
    shirt = Mask(WW, HH)
    shirt.poly([(CX - 34, 182), (CX + 32, 182), (CX + 15, 272), (CX - 17, 272)])
    over_img(img, blur(shirt.get(), 1), col((160, 168, 178))[None, None] * np.clip(1.05 - (x - CX + 30) / 90, 0.55, 1.05)[..., None])
    tie = Mask(WW, HH)
    tie.poly([(CX - 8, 201), (CX + 6, 201), (CX + 11, HH + 2), (CX - 13, HH + 2)])
    tie.poly([(CX - 10, 190), (CX + 8, 190), (CX + 5, 204), (CX - 7, 204)])
    over(img, blur(tie.get(), 0.8), (78, 40, 42))
    lap = Mask(WW, HH)
    lap.poly([(CX - 38, 184), (CX - 64, 214), (CX - 50, 224), (CX - 18, HH + 4), (CX - 30, HH + 4)])
    lap.poly([(CX + 38, 184), (CX + 62, 214), (CX + 48, 224), (CX + 16, HH + 4), (CX + 28, HH + 4)])
    lm = blur(lap.get(), 1)
    over(img, lm, (70, 54, 40), 0.55)
    edge = Mask(WW, HH)
    edge.line([(CX - 38, 184), (CX - 64, 214), (CX - 50, 224), (CX - 18, HH + 4)], 2.5)
    over(img, blur(edge.get(), 1), (176, 152, 120), 0.45)
    # the head's shadow falls on the collar
    over(img, gauss_glow(WW, HH, CX + 10, 190, 40, 10) * cm, (20, 14, 10), 0.45)


def _hair(img, rng, y, x):
    """Grey hair: a full fringe over the ears and round the back, thin on the
    crown above a receding line, drawn as a mass and then as strands."""
    u, v = (x - CX) / RX, (y - CY) / RY
    r = np.sqrt((u / 1.1) ** 2 + (v / 1.09) ** 2)
    ragged = fbm(WW, HH, rng, base=6, octaves=3)
    hairline = -0.5 - 0.2 * np.clip(1 - np.abs(u) / 0.7, 0, 1)  # the temples recede
    mass = np.clip((1.0 - r) * 14 + (ragged - 0.5) * 3, 0, 1) * (v < 0.22)
    sides = np.clip((np.abs(u) - 0.72) * 8, 0, 1)
    crown = np.clip((hairline - v) * 6, 0, 1) * (0.45 + 0.3 * ragged)
    mass *= np.clip(np.maximum(sides, crown), 0, 1) * np.clip((0.22 - v) * 8, 0, 1)
    m = Mask(WW, HH)
    for _ in range(1600):
        side = -1 if rng.random() < 0.5 else 1
        a = rng.uniform(0.0, 1.0)
        x0 = CX + side * RX * (0.7 + 0.4 * a) + rng.normal(0, 2)
        y0 = CY - RY * (0.85 - 0.95 * a) + rng.normal(0, 4)
        L = rng.uniform(5, 11)
        m.line([(x0, y0), (x0 + side * L * 0.4, y0 + L * rng.uniform(0.3, 0.9))], 0.9, fill=int(rng.uniform(60, 160)))
    strands = blur(m.get(), 0.5)
    tone = 0.75 + 0.35 * fbm(WW, HH, rng, base=3, octaves=2)
    lit = np.clip(1.1 - (x - CX + RX) / (3 * RX), 0.65, 1.1)
    hair = col((150, 146, 140))[None, None] * (tone * lit)[..., None]
    over_img(img, np.clip(mass * 0.9, 0, 1), hair)
    add(img, strands * np.clip(mass * 2, 0, 1), (200, 196, 188), 0.25)


def _eyes(img, t):
    """Eyes under heavy lids: the opening, the iris, the lid's line, the window
    caught in the iris; above them brows of grey hair."""
    for side, k in ((-1, 1.0), (1, 0.85)):
        ex, ey = CX + (t + side * 0.36 * k) * RX, CY - 6
        om = Mask(WW, HH)
        om.poly(smooth([(ex - 7 * k, ey + 0.5), (ex - 2 * k, ey - 2.6), (ex + 4 * k, ey - 2.4), (ex + 7.5 * k, ey + 0.2),
                        (ex + 3 * k, ey + 2.6), (ex - 3 * k, ey + 2.6)], 6))
        o = om.get()
        over(img, o, (150, 140, 130) if side < 0 else (96, 88, 82), 0.45)
        im = Mask(WW, HH)
        im.circle(ex - 1.2, ey + 0.2, 3.0)
        over(img, im.get() * o, (52, 42, 36), 0.95)
        lid = Mask(WW, HH)
        lid.line(smooth([(ex - 7.5 * k, ey + 0.8), (ex - 2 * k, ey - 2.8), (ex + 4 * k, ey - 2.6), (ex + 8 * k, ey)],
                        6, closed=False), 1.8)
        over(img, lid.get(), (46, 30, 26), 0.85)
        add(img, gauss_glow(WW, HH, ex - 2.4, ey - 0.9, 0.8), (255, 255, 255), 0.6 if side < 0 else 0.3)
        bm = Mask(WW, HH)
        for i in range(12):
            bx = ex - 13 * k + i * 2.2 * k
            by = ey - 20 + abs(i - 6) * 0.5
            bm.line([(bx, by + 2), (bx + 3.5 * k, by - 1.5)], 1.3)
        over(img, blur(bm.get(), 0.5), (128, 122, 114), 0.85)


def _glasses(img):
    """Browline spectacles: a heavy dark bar over each eye, thin metal below."""
    t = -TURN
    top, rim = Mask(WW, HH), Mask(WW, HH)
    for side, k in ((-1, 1.0), (1, 0.85)):
        ex = CX + (t + side * 0.36 * k) * RX
        top.line([(ex - 15 * k, CY - 15), (ex - 4 * k, CY - 17.5), (ex + 8 * k, CY - 17), (ex + 15 * k, CY - 13)], 3.6)
        rim.line(smooth([(ex - 15 * k, CY - 14), (ex - 15 * k, CY - 3), (ex - 6 * k, CY + 4), (ex + 6 * k, CY + 4),
                         (ex + 15 * k, CY - 4), (ex + 15 * k, CY - 13)], 6, closed=False), 1.4)
        top.line([(ex + side * 15 * k, CY - 14), (CX + side * RX * 0.97, CY - 15)], 2.2)
    top.line([(CX + (t - 0.36) * RX + 15, CY - 12), (CX + (t + 0.31) * RX - 13, CY - 12)], 2.2)
    over(img, top.get(), (34, 26, 22), 0.92)
    over(img, rim.get(), (120, 112, 100), 0.7)
    # the window caught in the near lens
    lx = CX + (t - 0.36) * RX
    sm = Mask(WW, HH)
    sm.line([(lx - 9, CY - 10), (lx - 3, CY - 2)], 3)
    add(img, blur(sm.get(), 1.2), (230, 236, 240), 0.3)


def _moustache(img, rng):
    t = -TURN
    m = Mask(WW, HH)
    for _ in range(220):
        a = rng.uniform(-1, 1)
        x0 = CX + (t + a * 0.24) * RX
        y0 = CY + (0.4 + 0.04 * abs(a)) * RY + rng.normal(0, 1.2)
        m.line([(x0, y0), (x0 + a * 3 + rng.normal(0, 1), y0 + rng.uniform(3, 7))], 0.9, fill=int(rng.uniform(120, 230)))
    hm = blur(m.get(), 0.6)
    over(img, hm, (150, 144, 136), 0.85)
    add(img, hm * np.clip(1.0 - (np.mgrid[0:HH, 0:WW][1] - CX + 30) / 60.0, 0, 1), (60, 56, 50), 0.3)


def make_photo_portrait():
    rng = np.random.default_rng(1103)
    y, x = np.mgrid[0:HH, 0:WW].astype(np.float32)
    img = _lab(rng)
    _jacket(img, rng, y, x)
    skin = col((194, 160, 144))
    # neck, in the shadow of the jaw
    nm = Mask(WW, HH)
    nm.poly([(CX - 30, 150), (CX + 26, 150), (CX + 31, 192), (CX - 35, 192)])
    nmk = blur(nm.get(), 1.2)
    neck_l = np.clip(0.95 - (x - (CX - 30)) / 60 * 0.55, 0.3, 1)
    over_img(img, nmk, skin[None, None] * neck_l[..., None] * 0.7)
    over(img, gauss_glow(WW, HH, CX + 2, 170, 36, 12) * nmk, (40, 24, 18), 0.6)
    # ears
    for side, k in ((-1, 0.95), (1, 0.55)):
        em = Mask(WW, HH)
        ex = CX + side * RX * 0.97
        em.ellipse((ex - 9, CY - 14, ex + 9, CY + 20))
        over(img, blur(em.get(), 1), tuple(int(c * k) for c in (200, 138, 118)))
    # the face
    u, v = (x - CX) / RX, (y - CY) / RY
    inside = head_mask()
    dome, features = _face_height(u, v, inside)
    t = -TURN
    ruddy = (_g(u, v, t - 0.45, 0.2, 0.16, 0.14) + _g(u, v, t + 0.4, 0.2, 0.14, 0.14)
             + _g(u, v, t - 0.03, 0.28, 0.08, 0.08) * 1.2)
    mottle = fbm(WW, HH, rng, base=10, octaves=3) - 0.5
    albedo = skin[None, None] * (1 + 0.16 * mottle[..., None]) + col((50, -6, -10))[None, None] * ruddy[..., None] * 0.35
    lips = _g(u, v, t, 0.56, 0.15, 0.06)
    albedo = albedo * (1 - lips[..., None] * 0.3) + col((168, 100, 96))[None, None] * lips[..., None] * 0.3
    # grey stubble along the jaw and the upper lip
    stub = (rng.random((HH, WW)) > 0.6).astype(np.float32)
    jaw = (np.clip((v - 0.45) * 3, 0, 1) + _g(u, v, t, 0.45, 0.2, 0.03)) * (1 - lips)
    albedo *= (1 - 0.25 * blur(stub, 0.6) * np.clip(jaw, 0, 1))[..., None]
    shine = 0.05 + 0.06 * _g(u, v, t, -0.45, 0.35, 0.15) + 0.14 * _g(u, v, t - 0.03, 0.25, 0.08, 0.12)
    face = _shade(dome, features - _age_lines(), albedo, shine)
    over_img(img, inside, face)
    _eyes(img, t)
    _moustache(img, rng)
    _hair(img, rng, y, x)
    _glasses(img)
    # the print: soft contrast, a warm cast, a little grain, darker corners
    small = shrink(img, W, H, sharpen=70)
    small = 0.06 + small * 0.9
    small = small * col((255, 244, 226))[None, None]
    small += rng.normal(0, 0.01, (H, W, 1)).astype(np.float32)
    vignette(small, 0.45, 2.0)
    save_gif(small, 'console/pictures/photo_portrait.gif')
