#!/usr/bin/env python3
"""Draws every picture of the game: the shell screens, the story background,
the console with its four photos, the program icon and the game cursor.

Everything is painted procedurally (gradients, blurred glow, noise, starfields,
perspective grids) with fixed random seeds, so a re-run gives the same files.

Run from the repository root:  /usr/bin/python3 tools/make_pictures.py
Optional arguments name the pictures to redo, e.g. `menu console`.
"""
import itertools
import math
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PT = '/usr/share/fonts/truetype/paratype/'
SANS = PT + 'PTS55F.ttf'
SANS_B = PT + 'PTS75F.ttf'
SANS_I = PT + 'PTS56F.ttf'
SERIF = PT + 'PTF55F.ttf'
SERIF_B = PT + 'PTF75F.ttf'
SERIF_I = PT + 'PTF56F.ttf'
NARROW = PT + 'PTN57F.ttf'
NARROW_B = PT + 'PTN77F.ttf'
MONO = PT + 'PTM55F.ttf'
# A calligraphic italic with Cyrillic: close enough to a scientist's scrawl.
HAND = '/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf'

_font_cache = {}


def font(path, size):
    key = (path, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size)
    return _font_cache[key]


# ---------------------------------------------------------------------------
# Float canvas helpers.  Images are H x W x 3 float32 arrays in 0..1 (sRGB);
# masks are H x W float32 arrays in 0..1.

def col(rgb):
    return np.array(rgb, np.float32) / 255.0


def canvas(w, h, rgb=(0, 0, 0)):
    img = np.empty((h, w, 3), np.float32)
    img[:] = col(rgb)
    return img


def vgrad(w, h, stops):
    """Vertical gradient; stops are (position 0..1, rgb)."""
    ys = np.linspace(0, 1, h, dtype=np.float32)
    pos = [s[0] for s in stops]
    out = np.empty((h, w, 3), np.float32)
    for c in range(3):
        v = np.interp(ys, pos, [s[1][c] / 255.0 for s in stops])
        out[:, :, c] = v[:, None]
    return out


def gauss_glow(w, h, cx, cy, sigma_x, sigma_y=None):
    sigma_y = sigma_x if sigma_y is None else sigma_y
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    return np.exp(-(((x - cx) / sigma_x) ** 2 + ((y - cy) / sigma_y) ** 2) / 2)


def _box1d(a, r, axis):
    if r < 1:
        return a
    pad = [(0, 0)] * a.ndim
    pad[axis] = (r + 1, r)
    p = np.pad(a, pad, mode='edge')
    c = np.cumsum(p, axis=axis, dtype=np.float64)
    n = a.shape[axis]
    hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, np.arange(0, n), axis=axis)
    return ((hi - lo) / (2 * r + 1)).astype(np.float32)


def blur(a, sigma):
    """Gaussian-like blur (three box passes) of a mask or an image."""
    if sigma <= 0.3:
        return a.copy()
    wbox = math.sqrt(4 * sigma * sigma + 1)
    r = max(1, int(round((wbox - 1) / 2)))
    out = a.astype(np.float32)
    for _ in range(3):
        out = _box1d(out, r, 0)
        out = _box1d(out, r, 1)
    return out


def add(img, m, rgb, k=1.0):
    img += m[..., None] * (col(rgb) * k)


def over(img, m, rgb, a=1.0):
    m3 = (m * a)[..., None]
    img[:] = img * (1 - m3) + col(rgb) * m3


def over_img(img, m, src):
    m3 = m[..., None]
    img[:] = img * (1 - m3) + src * m3


def glow(img, m, rgb, layers=((2, 0.8), (6, 0.5), (16, 0.3))):
    for sigma, k in layers:
        add(img, blur(m, sigma), rgb, k)


def fbm(w, h, rng, base=64, octaves=5, persistence=0.55):
    """Smooth value noise in 0..1."""
    total = np.zeros((h, w), np.float32)
    amp, norm, cell = 1.0, 0.0, float(base)
    for _ in range(octaves):
        gw = max(2, int(w / cell) + 3)
        gh = max(2, int(h / cell) + 3)
        g = rng.random((gh, gw)).astype(np.float32)
        im = Image.fromarray(g, 'F').resize((int(gw * cell), int(gh * cell)), Image.BICUBIC)
        a = np.asarray(im)
        ox = int(rng.integers(0, max(1, a.shape[1] - w)))
        oy = int(rng.integers(0, max(1, a.shape[0] - h)))
        total += amp * a[oy:oy + h, ox:ox + w]
        norm += amp
        amp *= persistence
        cell /= 2
        if cell < 1.5:
            break
    total /= norm
    lo, hi = np.percentile(total, 1), np.percentile(total, 99)
    return np.clip((total - lo) / (hi - lo + 1e-6), 0, 1)


def to_image(img):
    return Image.fromarray((np.clip(img, 0, 1) * 255 + 0.5).astype(np.uint8), 'RGB')


def from_image(im):
    return np.asarray(im.convert('RGB'), np.float32) / 255.0


class Mask:
    """Antialiased drawing into a coverage mask via supersampling."""

    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new('L', (w * ss, h * ss), 0)
        self.d = ImageDraw.Draw(self.im)

    def _p(self, pts):
        s = self.ss
        return [(x * s, y * s) for x, y in pts]

    def _w(self, width):
        return max(1, int(round(width * self.ss)))

    def line(self, pts, width=1.0, fill=255):
        pts = self._p(pts)
        self.d.line(pts, fill=fill, width=self._w(width), joint='curve')
        if width * self.ss >= 3:
            r = width * self.ss / 2
            for x, y in (pts[0], pts[-1]):
                self.d.ellipse((x - r, y - r, x + r, y + r), fill=fill)

    def poly(self, pts, fill=255):
        self.d.polygon(self._p(pts), fill=fill)

    def poly_outline(self, pts, width=1.0, fill=255):
        self.line(list(pts) + [pts[0]], width, fill)

    def ellipse(self, box, fill=255, outline=None, width=1.0):
        x0, y0, x1, y1 = [v * self.ss for v in box]
        if outline is None:
            self.d.ellipse((x0, y0, x1 - 1, y1 - 1), fill=fill)
        else:
            self.d.ellipse((x0, y0, x1 - 1, y1 - 1), outline=outline, width=self._w(width))

    def circle(self, cx, cy, r, fill=255):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill=fill)

    def rect(self, box, fill=255):
        x0, y0, x1, y1 = [v * self.ss for v in box]
        self.d.rectangle((x0, y0, x1 - 1, y1 - 1), fill=fill)

    def text(self, xy, s, path, size, anchor='la', fill=255, tracking=0.0):
        f = font(path, int(round(size * self.ss)))
        x, y = xy[0] * self.ss, xy[1] * self.ss
        if not tracking:
            self.d.text((x, y), s, font=f, fill=fill, anchor=anchor)
            return
        # Letter-spaced text: lay out glyph by glyph.
        tr = tracking * self.ss
        total = sum(f.getlength(ch) for ch in s) + tr * (len(s) - 1)
        if anchor[0] == 'm':
            x -= total / 2
        elif anchor[0] == 'r':
            x -= total
        for ch in s:
            self.d.text((x, y), ch, font=f, fill=fill, anchor='l' + anchor[1])
            x += f.getlength(ch) + tr

    def get(self):
        return np.asarray(self.im.reduce(self.ss), np.float32) / 255.0


def has_glyph(path, ch):
    f = font(path, 20)
    return bytes(f.getmask(ch)) != bytes(f.getmask('\ue123'))


def text_width(s, path, size, tracking=0.0):
    f = font(path, size)
    if not tracking:
        return f.getlength(s)
    return sum(f.getlength(ch) for ch in s) + tracking * (len(s) - 1)


def text_centered(m, box, s, path, size, dy=0.0, tracking=0.0):
    """Centres the ink of s in box (x, y, w, h)."""
    x, y, w, h = box
    f = font(path, size * m.ss)
    if tracking:
        tw = text_width(s, path, size, tracking)
        l, t, r, b = f.getbbox(s, anchor='ls')
        t, b = t / m.ss, b / m.ss
        m.text((x + (w - tw) / 2, y + h / 2 - (t + b) / 2 + dy), s, path, size,
               anchor='ls', tracking=tracking)
        return
    l, t, r, b = [v / m.ss for v in f.getbbox(s, anchor='ls')]
    m.text((x + w / 2 - (l + r) / 2, y + h / 2 - (t + b) / 2 + dy), s, path, size, anchor='ls')


def chamfer_pts(x, y, w, h, c, corners=(1, 1, 1, 1)):
    """Rectangle with cut corners (tl, tr, br, bl); (x, y, w, h) outer box."""
    tl, tr, br, bl = [c * k for k in corners]
    x1, y1 = x + w, y + h
    return [(x + tl, y), (x1 - tr, y), (x1, y + tr), (x1, y1 - br),
            (x1 - br, y1), (x + bl, y1), (x, y1 - bl), (x, y + tl)]


def frame_mask(w, h, box, c=8, width=1.0, corners=(1, 1, 1, 1), inset=0.5):
    x, y, bw, bh = box
    m = Mask(w, h)
    m.poly_outline(chamfer_pts(x + inset, y + inset, bw - 2 * inset, bh - 2 * inset, c, corners), width)
    return m.get()


def fill_mask(w, h, box, c=8, corners=(1, 1, 1, 1)):
    m = Mask(w, h)
    x, y, bw, bh = box
    m.poly(chamfer_pts(x, y, bw, bh, c, corners))
    return m.get()


def brackets_mask(w, h, box, arm=14, width=2.0, gap=0):
    """Four corner brackets around box."""
    x, y, bw, bh = box
    x0, y0, x1, y1 = x - gap, y - gap, x + bw + gap, y + bh + gap
    m = Mask(w, h)
    for (cx, cy, sx, sy) in ((x0, y0, 1, 1), (x1, y0, -1, 1), (x1, y1, -1, -1), (x0, y1, 1, -1)):
        m.line([(cx, cy + sy * arm), (cx, cy), (cx + sx * arm, cy)], width)
    return m.get()


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


def tesseract_lines(cx, cy, scale, rot4=(0.0, 0.0), yaw=0.55, pitch=0.42, d4=3.0, d3=None):
    """Edges of a projected hypercube as ((x0,y0),(x1,y1),depth) in 2D."""
    verts = list(itertools.product((-1.0, 1.0), repeat=4))
    a, b = rot4
    pts2 = []
    for v in verts:
        x, y, z, w = v
        # rotations in the xw and zw planes
        x, w = x * math.cos(a) - w * math.sin(a), x * math.sin(a) + w * math.cos(a)
        z, w = z * math.cos(b) - w * math.sin(b), z * math.sin(b) + w * math.cos(b)
        k = 1.0 / (d4 - w) * 2.0
        x, y, z = x * k, y * k, z * k
        # 3D rotation: yaw about Y, then pitch about X
        x, z = x * math.cos(yaw) + z * math.sin(yaw), -x * math.sin(yaw) + z * math.cos(yaw)
        y, z = y * math.cos(pitch) - z * math.sin(pitch), y * math.sin(pitch) + z * math.cos(pitch)
        if d3:
            k3 = d3 / (d3 + z)
            x, y = x * k3, y * k3
        pts2.append((cx + x * scale, cy + y * scale, z))
    edges = []
    for i, j in itertools.combinations(range(16), 2):
        diff = sum(1 for p, q in zip(verts[i], verts[j]) if p != q)
        if diff == 1:
            pi, pj = pts2[i], pts2[j]
            edges.append(((pi[0], pi[1]), (pj[0], pj[1]), (pi[2] + pj[2]) / 2))
    return edges, pts2


def draw_tesseract(img, cx, cy, scale, rgb=(80, 220, 255), core_rgb=(220, 250, 255),
                   width=1.6, glow_k=1.0, rot4=(0.35, 0.2), yaw=0.6, pitch=0.45, d3=4.0,
                   vertex_r=2.2, faces=0.10, glow_scale=1.0):
    h, w = img.shape[:2]
    edges, pts = tesseract_lines(cx, cy, scale, rot4=rot4, yaw=yaw, pitch=pitch, d3=d3)
    zs = [e[2] for e in edges]
    zmin, zmax = min(zs), max(zs)
    back = Mask(w, h)
    front = Mask(w, h)
    for p, q, z in edges:
        t = (z - zmin) / (zmax - zmin + 1e-9)  # 0 near, 1 far
        m = back if t > 0.55 else front
        m.line([p, q], width * (1.15 - 0.5 * t), fill=int(255 * (1 - 0.45 * t)))
    vm = Mask(w, h)
    for x, y, z in pts:
        vm.circle(x, y, vertex_r)
    fm_ = front.get()
    bm_ = back.get()
    v = vm.get()
    if faces:
        # faint fill of the inner cube's hull gives the glyph some body
        inner = Mask(w, h)
        hull = _hull([(p[0], p[1]) for p in pts])
        inner.poly(hull)
        add(img, blur(inner.get(), 3 * glow_scale), rgb, faces)
    lines = np.clip(fm_ + bm_ * 0.7, 0, 1)
    gs = glow_scale
    glow(img, lines + v * 0.8, rgb, ((1.5 * gs, 0.9 * glow_k), (5 * gs, 0.6 * glow_k), (14 * gs, 0.45 * glow_k),
                                     (40 * gs, 0.25 * glow_k)))
    add(img, lines, core_rgb, 0.9)
    add(img, v, (255, 255, 255), 1.0)
    return pts


def _hull(points):
    pts = sorted(set(points))
    if len(pts) <= 2:
        return pts

    def cross(o, a, b):
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])
    lower, upper = [], []
    for p in pts:
        while len(lower) >= 2 and cross(lower[-2], lower[-1], p) <= 0:
            lower.pop()
        lower.append(p)
    for p in reversed(pts):
        while len(upper) >= 2 and cross(upper[-2], upper[-1], p) <= 0:
            upper.pop()
        upper.append(p)
    return lower[:-1] + upper[:-1]


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


# ---------------------------------------------------------------------------
# Output

def save_gif(img, rel, colors=256, dither=True):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    im = to_image(img) if isinstance(img, np.ndarray) else img
    q = im.quantize(colors=colors, method=Image.Quantize.LIBIMAGEQUANT,
                    dither=Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE)
    q.save(path, optimize=False)
    print('%-36s %7d bytes' % (rel, os.path.getsize(path)))
    return q


def save_bmp24(img, rel):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    to_image(img).save(path, 'BMP')
    print('%-36s %7d bytes' % (rel, os.path.getsize(path)))


# ---------------------------------------------------------------------------
# Shell screens

def night_sky(w, h, rng, horizon, top=(2, 4, 12), mid=(5, 14, 32), low=(8, 40, 62)):
    img = vgrad(w, h, [(0, top), (horizon / h * 0.6, mid), (horizon / h, low), (1, (2, 6, 12))])
    return img


def title_text(img, x, y, rng, big=78):
    """«Миры "Tessaranium"» set as two lines with glow."""
    h, w = img.shape[:2]
    m1 = Mask(w, h)
    m1.text((x + 4, y), 'МИРЫ', SANS_B, 30, anchor='ls', tracking=14)
    a = m1.get()
    glow(img, a, (40, 200, 255), ((2, 0.7), (8, 0.4)))
    over(img, a, (150, 235, 255))
    # thin rule after the small word
    rl = Mask(w, h)
    wl = text_width('МИРЫ', SANS_B, 30, 14)
    rl.line([(x + wl + 22, y - 11), (x + wl + 300, y - 11)], 1.0)
    rl.circle(x + wl + 300, y - 11, 2.2)
    r = rl.get()
    add(img, r, (80, 210, 255), 0.8)
    add(img, blur(r, 2), (80, 210, 255), 0.5)
    m2 = Mask(w, h)
    m2.text((x, y + big * 0.95), '“Tessaranium”', SANS_B, big, anchor='ls', tracking=1)
    t = m2.get()
    glow(img, t, (30, 170, 255), ((2, 0.8), (6, 0.6), (18, 0.45), (40, 0.25)))
    # fill: white core fading to cyan at the foot of the letters
    ys = np.arange(h, dtype=np.float32)
    k = np.clip((ys - (y + big * 0.25)) / (big * 0.7), 0, 1)[:, None, None]
    fillc = col((245, 252, 255)) * (1 - k) + col((90, 215, 255)) * k
    img[:] = img * (1 - t[..., None]) + fillc * t[..., None]
    # a subtle horizontal glitch slice through the title
    sy = int(y + big * 0.45)
    img[sy:sy + 2, x:x + 560] = img[sy:sy + 2, x + 3:x + 563] * 1.0
    return y + big * 0.95


def make_menu():
    w, h = 800, 600
    rng = np.random.default_rng(1001)
    horizon = 432
    img = night_sky(w, h, rng, horizon)
    nebula(img, rng, ((20, 90, 140), (90, 60, 170)), strength=0.32, base=200,
           region_mask=np.clip(1 - np.arange(h, dtype=np.float32) / horizon, 0, 1)[:, None] ** 0.5 * np.ones((h, w), np.float32))
    starfield(img, rng, 520, (0, 0, w, horizon - 20), bright=0.9)
    # horizon glow
    add(img, gauss_glow(w, h, 270, horizon, 420, 50), (0, 120, 160), 0.45)
    add(img, gauss_glow(w, h, 270, horizon, 160, 14), (80, 220, 255), 0.35)
    # light column falling from the tesseract into the city
    col_m = gauss_glow(w, h, 270, 330, 26, 200) * (np.arange(h)[:, None] > 250)
    add(img, col_m.astype(np.float32), (40, 180, 230), 0.25)
    city(img, rng, horizon, 0, 520, max_h=112, center=270, spread=170)
    # floor grid
    g = perspective_grid(w, h, horizon, 270, x_spacing=46, rows=22, depth0=0.55)
    add(img, blur(g, 2.5), (0, 160, 220), 0.6)
    add(img, g, (60, 200, 255), 0.55)
    # floating tesseract above the city
    add(img, gauss_glow(w, h, 270, 250, 120, 110), (20, 90, 150), 0.35)
    draw_tesseract(img, 270, 248, 58, rot4=(0.12, 0.05), yaw=0.6, pitch=0.42, d3=4.5)
    # a ring of light around it
    rm = Mask(w, h)
    rm.ellipse((270 - 150, 252 - 26, 270 + 150, 252 + 26), outline=255, width=1.2)
    r = rm.get()
    # hide the part of the ring behind the glyph
    ys, xs = np.mgrid[0:h, 0:w]
    r *= np.where((ys < 252) & (np.abs(xs - 270) < 70), 0.25, 1.0)
    add(img, r, (90, 220, 255), 0.7)
    add(img, blur(r, 3), (40, 170, 255), 0.6)
    # particles drifting up from the city
    pm = np.zeros((h, w), np.float32)
    for _ in range(140):
        px = rng.normal(270, 110)
        py = rng.uniform(220, horizon)
        if 0 <= px < w:
            pm[int(py), int(px)] = rng.uniform(0.3, 1)
    add(img, blur(pm, 0.8) * 3, (120, 230, 255), 0.8)
    # title
    title_text(img, 34, 72, rng, big=80)
    # button column: a tall translucent holo panel behind the three buttons
    dark_panel(img, (516, 188, 281, 268), fill=(4, 12, 24), alpha=0.55, c=14, glow_k=0.4, border_k=0.55)
    pl = Mask(w, h)
    for yy in (272, 360):
        pl.line([(548, yy), (765, yy)], 1)
    add(img, pl.get(), (60, 200, 240), 0.25)
    hd = Mask(w, h)
    hd.text((530, 206), 'SYS://MENU', MONO, 9, anchor='ls')
    hd.text((783, 444), 'v1.0 · ORBITRUM', MONO, 9, anchor='rs')
    add(img, hd.get(), (90, 200, 235), 0.55)
    glow_button(img, (536, 216, 241, 41), 'Запуск', size=22)
    glow_button(img, (536, 296, 241, 49), 'Инфо', size=24)
    glow_button(img, (536, 384, 241, 41), 'Выход', size=22, border=(90, 200, 255))
    vignette(img, 0.5)
    save_gif(img, 'shell/pictures/menu.gif')


def make_splash():
    """Studio logo for the white splash window."""
    w, h = 471, 278
    rng = np.random.default_rng(1002)
    img = canvas(w, h, (255, 255, 255))
    # a very light cool halo behind the emblem, gone well before the edges
    halo = gauss_glow(w, h, 118, 112, 120, 90)
    img -= (halo * 0.10)[..., None] * (1 - col((200, 230, 245)))[None, None, :] * 1.2
    cx, cy, R = 112, 112, 50
    tilt = math.radians(-18)
    rx, ry = 92, 26

    def ring_pts(a0, a1, n=200):
        pts = []
        for t in np.linspace(a0, a1, n):
            x, y = rx * math.cos(t), ry * math.sin(t)
            pts.append((cx + x * math.cos(tilt) - y * math.sin(tilt),
                        cy + x * math.sin(tilt) + y * math.cos(tilt)))
        return pts
    # back half of the orbit (behind the planet)
    bm = Mask(w, h)
    bm.line(ring_pts(math.pi, 2 * math.pi), 2.2)
    over(img, bm.get(), (120, 190, 220), 0.8)
    # planet: shaded sphere
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    dx, dy = (x - cx) / R, (y - cy) / R
    rr = dx * dx + dy * dy
    pm = Mask(w, h)
    pm.circle(cx, cy, R)
    sm = pm.get()
    nz = np.sqrt(np.clip(1 - rr, 0, 1))
    light = np.clip(-0.55 * dx - 0.6 * dy + 0.58 * nz, 0, 1)
    base = col((6, 26, 62))[None, None, :] * (1 - light[..., None]) + col((30, 150, 210))[None, None, :] * light[..., None]
    # bands of a gas giant, bent over the sphere
    bands = fbm(w, h, rng, base=30, octaves=3)
    lat = dy / np.maximum(nz, 0.15) * 0.15 + dy
    stripes = 0.5 + 0.5 * np.sin(lat * 9 + bands * 2.5)
    base = base * (0.82 + 0.18 * stripes[..., None])
    # rim light on the dark side
    rim = np.clip(rr ** 3, 0, 1) * np.clip(0.6 * dx + 0.7 * dy + 0.2, 0, 1)
    base += rim[..., None] * col((60, 230, 255)) * 0.9
    glint = np.exp(-(((dx + 0.38) ** 2 + (dy + 0.42) ** 2) / 0.03))
    base += glint[..., None] * 0.35
    over_img(img, sm, base)
    # grid lines on the planet: a hint of the virtual
    gm = Mask(w, h)
    for lat_k in (-0.6, -0.3, 0.0, 0.3, 0.6):
        yy = cy + lat_k * R
        half = R * math.sqrt(1 - lat_k * lat_k)
        gm.ellipse((cx - half, yy - half * 0.12, cx + half, yy + half * 0.12), outline=255, width=0.6)
    for k in (-0.55, 0.0, 0.55):
        gm.ellipse((cx - R * abs(k) if k else cx - 0.3, cy - R, cx + R * abs(k) if k else cx + 0.3, cy + R), outline=255, width=0.6)
    add(img, gm.get() * sm, (120, 220, 255), 0.22)
    # front half of the orbit with a satellite
    fm = Mask(w, h)
    fm.line(ring_pts(0, math.pi), 2.6)
    f = fm.get()
    over(img, f, (0, 150, 200))
    add(img, f, (60, 200, 255), 0.3)
    sx, sy = ring_pts(0.35 * math.pi, 0.35 * math.pi, 1)[0]
    dm = Mask(w, h)
    dm.circle(sx, sy, 6.5)
    over(img, dm.get(), (255, 255, 255))
    dm2 = Mask(w, h)
    dm2.circle(sx, sy, 4.2)
    over(img, dm2.get(), (0, 170, 220))
    # small dots trailing the satellite
    tm = Mask(w, h)
    for i, t in enumerate(np.linspace(0.22, 0.31, 4)):
        px, py = ring_pts(t * math.pi, t * math.pi, 1)[0]
        tm.circle(px, py, 1.1 + 0.3 * i)
    over(img, tm.get(), (0, 140, 200), 0.7)

    # wordmark
    tx = 214
    size = 47
    while text_width('ORBITRUM', SANS_B, size, 3) > w - tx - 14:
        size -= 1
    wm = Mask(w, h)
    wm.text((tx, 116), 'ORBITRUM', SANS_B, size, anchor='ls', tracking=3)
    t = wm.get()
    ys = np.arange(h, dtype=np.float32)
    k = np.clip((ys - 80) / 40, 0, 1)[:, None, None]
    fillc = col((10, 32, 66)) * (1 - k) + col((0, 110, 160)) * k
    img[:] = img * (1 - t[..., None]) + fillc * t[..., None]
    tw = text_width('ORBITRUM', SANS_B, size, 3)
    gm2 = Mask(w, h)
    gm2.text((tx + tw / 2, 148), 'GAMES', SANS, 19, anchor='ms', tracking=15)
    over(img, gm2.get(), (0, 140, 180))
    lm = Mask(w, h)
    gw = text_width('GAMES', SANS, 19, 15)
    lm.line([(tx + 2, 141), (tx + tw / 2 - gw / 2 - 12, 141)], 1.2)
    lm.line([(tx + tw / 2 + gw / 2 + 12, 141), (tx + tw - 2, 141)], 1.2)
    over(img, lm.get(), (0, 160, 200), 0.8)

    # loading notice with a progress ornament
    bx, by, bw, bh = 40, 222, 391, 9
    lm = Mask(w, h)
    lm.text((bx, by - 8), 'Загрузка…', SANS, 14, anchor='ls')
    over(img, lm.get(), (60, 80, 100))
    pm2 = Mask(w, h)
    pm2.text((bx + bw, by - 8), 'Миры “Tessaranium”', SANS_I, 12, anchor='rs')
    over(img, pm2.get(), (130, 150, 170))
    om = Mask(w, h)
    om.d.rounded_rectangle([v * 4 for v in (bx, by, bx + bw, by + bh)], radius=18, outline=255, width=4)
    over(img, om.get(), (150, 185, 210))
    done = 0.64
    fm2 = Mask(w, h)
    fm2.d.rounded_rectangle([v * 4 for v in (bx + 2, by + 2, bx + 2 + (bw - 4) * done, by + bh - 2)], radius=10, fill=255)
    fmask = fm2.get()
    xs = np.arange(w, dtype=np.float32)
    kk = np.clip((xs - bx) / (bw * done), 0, 1)[None, :, None]
    grad = col((0, 90, 170)) * (1 - kk) + col((40, 210, 240)) * kk
    over_img(img, fmask, np.broadcast_to(grad, img.shape))
    # segment cuts across the filled part
    cut = np.zeros((h, w), np.float32)
    for sx_ in range(int(bx + 10), int(bx + (bw - 4) * done), 10):
        cut[:, sx_:sx_ + 2] = 1
    over(img, cut * fmask, (255, 255, 255), 0.35)
    # little ticks under the bar
    km = Mask(w, h)
    for i in range(11):
        xx = bx + i * bw / 10
        km.line([(xx, by + bh + 5), (xx, by + bh + (9 if i % 5 == 0 else 7))], 1.0)
    over(img, km.get(), (160, 190, 210), 0.8)
    cm = Mask(w, h)
    cm.text((w / 2, 268), '© Orbitrum Games, 2026', SANS, 11, anchor='ms')
    over(img, cm.get(), (150, 165, 180))
    save_gif(img, 'shell/pictures/splash_logo.gif')

def space_backdrop(w, h, rng, top=(2, 5, 14), bottom=(6, 22, 40), neb=((20, 90, 140), (90, 60, 170)),
                   neb_k=0.3, stars=420):
    img = vgrad(w, h, [(0, top), (1, bottom)])
    nebula(img, rng, neb, strength=neb_k, base=200)
    starfield(img, rng, stars, bright=0.85)
    return img


def make_about():
    w, h = 800, 600
    rng = np.random.default_rng(1003)
    img = space_backdrop(w, h, rng, neb_k=0.28)
    # a faint floor grid at the bottom right under the emblem
    g = perspective_grid(w, h, 470, 690, x_spacing=30, rows=18, depth0=0.6)
    g *= gauss_glow(w, h, 690, 470, 80, 400)
    g *= 1 - 0.8 * gauss_glow(w, h, 690, 540, 110, 22)  # keep the credits readable
    add(img, blur(g, 2), (0, 150, 210), 0.4)
    add(img, g, (60, 200, 255), 0.4)
    # emblem column on the right: a hypercube over a beam of light
    add(img, gauss_glow(w, h, 690, 470, 90, 12), (40, 190, 255), 0.5)
    beam = gauss_glow(w, h, 690, 400, 22, 120) * (np.arange(h)[:, None] < 470)
    add(img, beam.astype(np.float32), (30, 160, 220), 0.3)
    add(img, gauss_glow(w, h, 690, 330, 110, 110), (20, 80, 140), 0.35)
    draw_tesseract(img, 690, 330, 46, rot4=(0.0, 0.0), yaw=math.pi / 4, pitch=0.6155, d3=None)
    # orbiting arcs around the emblem
    am = Mask(w, h)
    am.ellipse((690 - 92, 330 - 92, 690 + 92, 330 + 92), outline=255, width=1.0)
    am.ellipse((690 - 80, 330 - 80, 690 + 80, 330 + 80), outline=255, width=0.6)
    a = am.get()
    ang = np.arctan2(np.mgrid[0:h, 0:w][0] - 330.0, np.mgrid[0:h, 0:w][1] - 690.0)
    a *= (0.35 + 0.65 * (np.sin(ang * 3) > -0.2)).astype(np.float32)
    add(img, a, (70, 200, 255), 0.45)
    # credits
    cm = Mask(w, h)
    cm.text((690, 522), 'Orbitrum Games · 2026', SANS_B, 15, anchor='ms')
    c1 = cm.get()
    glow(img, c1, (40, 180, 255), ((3, 0.4),))
    over(img, c1, (200, 240, 255))
    cm2 = Mask(w, h)
    cm2.text((690, 542), 'идея · текст · код · графика · звук', SANS, 11, anchor='ms')
    cm2.text((690, 557), 'Tessaranium Research Centre', SANS_I, 11, anchor='ms')
    add(img, cm2.get(), (110, 180, 215), 0.85)
    # title
    tm = Mask(w, h)
    tm.text((40, 64), 'Об игре', SANS_B, 40, anchor='ls', tracking=2)
    t = tm.get()
    glow(img, t, (30, 170, 255), ((2, 0.7), (7, 0.45), (18, 0.25)))
    over(img, t, (225, 248, 255))
    rl = Mask(w, h)
    tw = text_width('Об игре', SANS_B, 40, 2)
    rl.line([(40 + tw + 18, 52), (560, 52)], 1.0)
    rl.circle(560, 52, 2.2)
    rl.text((40 + tw + 18, 70), 'ИНФОРМАЦИЯ О ПРОЕКТЕ', MONO, 9, anchor='ls')
    r = rl.get()
    add(img, r, (80, 200, 240), 0.7)
    # banner with the game's name
    bx, by, bw, bh = 120, 88, 401, 121
    dark_panel(img, (bx, by, bw, bh), fill=(4, 16, 30), alpha=0.82, c=14)
    inside = np.zeros((h, w), np.float32)
    inside[by + 3:by + bh - 3, bx + 3:bx + bw - 3] = 1
    gg = Mask(w, h)
    for gx in range(bx + 12, bx + bw, 16):
        gg.line([(gx, by + 4), (gx, by + bh - 4)], 0.5)
    for gy in range(by + 12, by + bh, 16):
        gg.line([(bx + 4, gy), (bx + bw - 4, gy)], 0.5)
    add(img, gg.get() * inside, (40, 140, 190), 0.10)
    add(img, gauss_glow(w, h, bx + 62, by + bh / 2, 50, 40) * inside, (30, 140, 220), 0.35)
    draw_tesseract(img, bx + 62, by + bh / 2, 24, rot4=(0.15, 0.05), yaw=0.6, pitch=0.42, d3=4.5,
                   width=1.2, vertex_r=1.4, glow_k=0.7)
    nm = Mask(w, h)
    nm.text((bx + 128, by + 44), 'МИРЫ', SANS_B, 18, anchor='ls', tracking=10)
    n1 = nm.get()
    add(img, n1, (120, 220, 255), 0.95)
    tm2 = Mask(w, h)
    tm2.text((bx + 124, by + 86), '“Tessaranium”', SANS_B, 44, anchor='ls')
    t2 = tm2.get()
    glow(img, t2, (30, 170, 255), ((2, 0.7), (6, 0.5), (14, 0.3)))
    ys = np.arange(h, dtype=np.float32)
    k = np.clip((ys - (by + 52)) / 34, 0, 1)[:, None, None]
    fillc = col((245, 252, 255)) * (1 - k) + col((90, 215, 255)) * k
    img[:] = img * (1 - t2[..., None]) + fillc * t2[..., None]
    sm = Mask(w, h)
    sm.text((bx + 126, by + 106), 'текстовая приключенческая игра', SANS, 12, anchor='ls', tracking=1)
    add(img, sm.get(), (110, 190, 225), 0.85)
    # frame for the description box the program lays over the picture
    dark_panel(img, (40, 256, 545, 313), fill=(0, 70, 76), alpha=0.9, c=12)
    lm = Mask(w, h)
    lm.text((50, 248), '// README', MONO, 10, anchor='ls')
    lm.text((577, 248), 'read.tf', MONO, 10, anchor='rs')
    add(img, lm.get(), (90, 200, 235), 0.65)
    fm = np.zeros((h, w), np.float32)
    fm[264:561, 48:577] = 1
    over(img, fm, (0, 128, 128))
    glow_button(img, (592, 16, 193, 49), 'Назад', size=22, back=True)
    vignette(img, 0.45)
    save_gif(img, 'shell/pictures/about.gif')

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
    draw_tesseract(img, 62, 92, 30, rot4=(0.3, 0.1), yaw=0.6, pitch=0.42, d3=4.5, width=1.1, glow_k=0.8,
                   vertex_r=1.3, faces=0.06)
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
    sm.text((w / 2, 196), 'СВЯЗЬ С МИРОМ ПОТЕРЯНА', SANS, 15, anchor='ms', tracking=8)
    s1 = sm.get()
    over(img, blur(s1, 6) * 3, (0, 0, 0), 0.5)
    glow(img, s1, (255, 60, 110), ((3, 0.4),))
    over(img, s1, (255, 200, 215))
    # scanlines and a vignette: a dying screen
    scanlines(img, (0, 0, w, h), 0.12, 2)
    vignette(img, 0.6)
    save_gif(img, 'shell/pictures/gameover.gif')


# ---------------------------------------------------------------------------
# Story screen

def figure_at_terminal(w, h, fx, fy, s=1.0):
    """Silhouette of a person standing at a console, facing right.  (fx, fy) is the
    top of the head.  Returns the body mask."""
    m = Mask(w, h)
    P = lambda pts: [(fx + x * s, fy + y * s) for x, y in pts]
    # head with a little hair at the back, and the neck
    m.ellipse((fx - 8.5 * s, fy, fx + 9 * s, fy + 22 * s))
    m.ellipse((fx - 10 * s, fy - 1 * s, fx + 5 * s, fy + 15 * s))
    m.poly(P([(-4.5, 17), (4, 17), (5.5, 28), (-6, 28)]))
    # coat with rounded shoulders, a waist and a flared hem
    m.poly(P([(-6, 25), (-15, 27.5), (-20.5, 31), (-23.5, 37), (-24.5, 46), (-22.5, 70), (-20, 95),
              (-23, 120), (-27, 150), (23, 150), (19.5, 120), (16, 95), (18, 70), (20, 46),
              (19, 36), (15, 30), (7, 25)]))
    # legs and boots
    m.poly(P([(-16, 148), (-4, 148), (-5.5, 196), (-14, 196)]))
    m.poly(P([(2, 148), (15, 148), (12.5, 196), (3.5, 196)]))
    m.poly(P([(-15, 195), (-4, 195), (1, 201), (1, 205), (-16, 205)]))
    m.poly(P([(3, 195), (13, 195), (19, 201), (19, 205), (2, 205)]))
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
    draw_tesseract(img, tx, ty, 56, rot4=(0.12, 0.05), yaw=0.6, pitch=0.42, d3=4.5, glow_k=1.1)
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
    draw_tesseract(img, cx + 58, cy - 50, 10, rot4=(0.2, 0.1), yaw=0.6, pitch=0.42, d3=4.5, width=0.8,
                   vertex_r=0.8, glow_k=0.5, faces=0.0)
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


# ---------------------------------------------------------------------------
# Console

def terminal_panel(img, box, fill=(9, 12, 15), border=(70, 140, 150), label=None, label_rgb=(90, 150, 160),
                   c=8, corners=(1, 0, 1, 0), scan=True):
    """Flat terminal frame: near-black fill, a grey-teal double line, a tab label."""
    h, w = img.shape[:2]
    x, y, bw, bh = box
    fm = fill_mask(w, h, box, c, corners)
    over(img, fm, fill, 0.97)
    if scan:
        sl = np.zeros((h, w), np.float32)
        sl[y + 2:y + bh - 2:3, x + 2:x + bw - 2] = 1
        add(img, sl * fm, (40, 70, 80), 0.035)
    fr = frame_mask(w, h, box, c, 1.0, corners)
    add(img, fr, border, 0.85)
    add(img, blur(fr, 3), border, 0.25)
    ir = frame_mask(w, h, (x + 3, y + 3, bw - 6, bh - 6), max(2, c - 2), 1.0, corners)
    add(img, ir, border, 0.18)
    if label:
        lm = Mask(w, h)
        lw = text_width(label, MONO, 9) + 12
        lm.rect((x + 14, y - 1, x + 14 + lw, y + 2))
        cut = lm.get()
        over(img, cut, (6, 8, 10))
        tm = Mask(w, h)
        tm.text((x + 20, y + 4), label, MONO, 9, anchor='ls')
        add(img, tm.get(), label_rgb, 0.9)
    return fm


def red_button(img, cx, cy, r):
    h, w = img.shape[:2]
    y, x = np.mgrid[0:h, 0:w].astype(np.float32)
    # bezel
    bz = Mask(w, h)
    bz.circle(cx, cy, r + 2.2)
    bm = bz.get()
    over(img, bm, (30, 34, 38))
    add(img, blur(bm, 4) * (1 - bm), (255, 40, 30), 0.25)
    ring = Mask(w, h)
    ring.ellipse((cx - r - 2.2, cy - r - 2.2, cx + r + 2.2, cy + r + 2.2), outline=255, width=0.8)
    add(img, ring.get(), (120, 130, 140), 0.6)
    # glossy dome
    dm = Mask(w, h)
    dm.circle(cx, cy, r)
    d = dm.get()
    dx, dy = (x - cx) / r, (y - cy) / r
    rr = np.clip(dx * dx + dy * dy, 0, 1)
    shade = np.clip(1 - rr * 0.8 + (-0.3 * dx - 0.35 * dy), 0, 1.2)
    body = col((120, 6, 6))[None, None] + shade[..., None] * col((200, 30, 20))[None, None]
    # light pooling at the bottom edge, as in a lit red lens
    body += (np.clip(dy, 0, 1) ** 3 * np.clip(1 - abs(dx), 0, 1))[..., None] * col((255, 90, 60)) * 0.6
    over_img(img, d, body)
    glint = np.exp(-(((dx + 0.3) / 0.5) ** 2 + ((dy + 0.45) / 0.28) ** 2))
    add(img, glint * d, (255, 255, 255), 0.75)


def glyph_rain(img, rng, region, rgb=(0, 170, 160), size=10, step_x=10, step_y=11, k=0.8):
    h, w = img.shape[:2]
    x0, y0, x1, y1 = region
    chars = [ch for ch in '01АБВГДЕЖЗИКЛМНПРСТУФХЦЧШЭЮЯ#$%&*+<>=?@ΔΩ∑∆√∞≠≈' if has_glyph(MONO, ch)]
    m = Mask(w, h, 2)
    for cx in range(x0 + 2, x1 - step_x + 2, step_x):
        head = rng.uniform(y0, y1 + 80)
        length = rng.uniform(40, 160)
        for cy in range(y0 + step_y, y1, step_y):
            d = head - cy
            if 0 <= d <= length:
                b = 1 - d / length
                b = 0.15 + 0.85 * b ** 1.5
            else:
                b = 0.13 if rng.random() < 0.6 else 0
            if b <= 0:
                continue
            ch = chars[int(rng.integers(0, len(chars)))]
            m.text((cx + step_x / 2, cy), ch, MONO, size, anchor='ms', fill=int(255 * min(1, b)))
    g = m.get()
    clip = np.zeros((h, w), np.float32)
    clip[y0:y1, x0:x1] = 1
    g *= clip
    add(img, g, rgb, k)
    add(img, blur(g, 2), rgb, k * 0.4)


def make_console():
    w, h = 800, 600
    rng = np.random.default_rng(1007)
    img = vgrad(w, h, [(0, (14, 17, 20)), (1, (7, 9, 11))])
    tex = fbm(w, h, rng, base=120, octaves=4)
    img *= (0.9 + 0.2 * tex)[..., None]
    # brushed-metal streaks on the chassis
    streak = fbm(w, h // 8 + 1, rng, base=4, octaves=3)
    streak = np.repeat(streak, 8, axis=0)[:h]
    img *= (0.95 + 0.08 * streak)[..., None]
    # screws in the corners
    sm = Mask(w, h)
    for sx, sy in ((10, 10), (790, 10), (10, 590), (790, 590)):
        sm.circle(sx, sy, 3)
    add(img, sm.get(), (60, 70, 80), 0.6)

    # heading strip
    hb = (8, 6, 784, 42)
    hm = fill_mask(w, h, hb, 8, (1, 1, 1, 1))
    over_img(img, hm, vgrad(w, h, [(0, (26, 34, 40)), (48 / h, (12, 16, 20)), (1, (0, 0, 0))]))
    fr = frame_mask(w, h, hb, 8, 1.0)
    add(img, fr, (80, 150, 160), 0.7)
    tm = Mask(w, h)
    tm.text((26, 36), 'Console Center', SANS_B, 24, anchor='ls', tracking=1.5)
    t = tm.get()
    glow(img, t, (40, 170, 180), ((2, 0.45), (6, 0.25)))
    over(img, t, (190, 215, 220))
    sub = Mask(w, h)
    tw = text_width('Console Center', SANS_B, 24, 1.5)
    sub.text((26 + tw + 16, 34), '// AI Zuvodu LNC · Tessaranium Research Centre', MONO, 11, anchor='ls')
    add(img, sub.get(), (90, 150, 160), 0.85)
    # status lights and a small clock at the right of the strip
    led = Mask(w, h)
    for i in range(4):
        led.circle(680 + i * 14, 27, 3.2)
    ld = led.get()
    add(img, ld, (60, 230, 200), 0.8)
    add(img, blur(ld, 3), (40, 200, 180), 0.6)
    ck = Mask(w, h)
    ck.text((776, 32), 'ONLINE', MONO, 10, anchor='rs')
    add(img, ck.get(), (110, 200, 190), 0.85)

    # output panel (left) with the reset button in its top right corner
    terminal_panel(img, (24, 56, 401, 369), label='OUTPUT://tty0', border=(80, 150, 160))
    red_button(img, 404, 76, 11)
    # info panel (right)
    terminal_panel(img, (432, 56, 353, 369), fill=(8, 12, 18), label='INFO://notes', border=(70, 130, 180),
                   label_rgb=(95, 160, 220), corners=(0, 1, 0, 1))

    # input strip and its run button
    terminal_panel(img, (24, 433, 401, 55), fill=(12, 15, 18), label='INPUT', border=(80, 150, 160), scan=False)
    slot = Mask(w, h)
    slot.rect((29, 445, 340, 474))
    over(img, slot.get(), (5, 6, 7), 0.9)
    sl = frame_mask(w, h, (29, 445, 311, 29), 2, 1.0)
    add(img, sl, (70, 110, 120), 0.6)
    fm = np.zeros((h, w), np.float32)
    fm[448:471, 32:337] = 1
    over(img, fm, (64, 64, 64))
    bx, by, bw, bh = 344, 440, 73, 41
    bmask = fill_mask(w, h, (bx, by, bw, bh), 6, (1, 0, 1, 0))
    add(img, blur(bmask, 5), (40, 180, 170), 0.25)
    over_img(img, bmask, vgrad(w, h, [(0, (0, 0, 0)), (by / h, (40, 60, 66)), ((by + bh) / h, (14, 22, 26)), (1, (0, 0, 0))]))
    bfr = frame_mask(w, h, (bx, by, bw, bh), 6, 1.3, (1, 0, 1, 0))
    add(img, bfr, (90, 200, 190), 0.85)
    add(img, blur(bfr, 2.5), (60, 200, 190), 0.35)
    hl = np.zeros((h, w), np.float32)
    hl[by + 2:by + bh // 2, bx + 2:bx + bw - 2] = 1
    add(img, hl * bmask, (255, 255, 255), 0.04)
    lb = Mask(w, h)
    text_centered(lb, (bx - 5, by, bw, bh), 'ВВОД', SANS_B, 14)
    tx_ = bx + bw / 2 + text_width('ВВОД', SANS_B, 14) / 2 + 1
    lb.poly([(tx_, by + bh / 2 - 5), (tx_ + 7, by + bh / 2), (tx_, by + bh / 2 + 5)])
    l = lb.get()
    glow(img, l, (60, 220, 200), ((2, 0.5),))
    over(img, l, (210, 240, 235))

    # bottom left: a hex dump scrolling past
    terminal_panel(img, (24, 496, 401, 96), fill=(8, 10, 12), label='MEM', border=(70, 120, 130))
    dm = Mask(w, h, 2)
    seed_text = 'TESSARANIUM//ZUVODU LNC//OLADE//OSIRIUS//CONTACT//'
    for i in range(7):
        addr = 0x7F3A00 + i * 16
        data = [int(v) for v in rng.integers(0, 256, 16)]
        if i in (2, 5):
            off = int(rng.integers(0, len(seed_text) - 16))
            data = [ord(ch) for ch in seed_text[off:off + 16]]
        hexs = ' '.join('%02X' % v for v in data)
        asc = ''.join(chr(v) if 32 <= v < 127 else '.' for v in data)
        dm.text((34, 512 + i * 11.2), '%06X  %s  %s' % (addr, hexs, asc), MONO, 8.6, anchor='ls')
    d = dm.get()
    d[:, :] *= np.linspace(1.0, 0.55, h, dtype=np.float32)[:, None]
    add(img, d, (90, 170, 170), 0.95)

    # bottom right: glyph rain around the photo viewer
    terminal_panel(img, (440, 433, 345, 159), fill=(6, 9, 12), label='VIEW', border=(70, 130, 180),
                   label_rgb=(95, 160, 220), corners=(0, 1, 0, 1))
    glyph_rain(img, rng, (443, 437, 782, 589), rgb=(50, 190, 200), size=9, step_x=9, step_y=10, k=0.9)
    # the viewer itself: a plain dark frame where the photos appear
    vx, vy, vw, vh = 453, 453, 306, 119
    vm = np.zeros((h, w), np.float32)
    vm[vy - 2:vy + vh + 2, vx - 3:vx + vw + 3] = 1
    over(img, vm, (5, 7, 9), 0.97)
    vfr = frame_mask(w, h, (vx, vy, vw, vh), 0, 1.0)
    add(img, vfr, (70, 130, 170), 0.6)
    cb = brackets_mask(w, h, (vx, vy, vw, vh), arm=10, width=1.5, gap=-1)
    add(img, cb, (120, 190, 230), 0.6)
    cm = Mask(w, h)
    cm.line([(vx + vw / 2 - 8, vy + vh / 2), (vx + vw / 2 + 8, vy + vh / 2)], 0.8)
    cm.line([(vx + vw / 2, vy + vh / 2 - 8), (vx + vw / 2, vy + vh / 2 + 8)], 0.8)
    add(img, cm.get(), (60, 110, 140), 0.35)
    vignette(img, 0.25)
    save_gif(img, 'console/pictures/console.gif')


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
    small = from_image(to_image(img).resize((w, h), Image.LANCZOS))
    out = photo_finish(small, rng, rot=0.0)
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
    small = from_image(to_image(img).resize((w, h), Image.LANCZOS))
    out = photo_finish(small, rng)
    save_gif(out, 'console/pictures/photo_time.gif')


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
    """A small photo of the scientist: head and shoulders in a lab, lit from a window on the left."""
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
    # shoulders: a white lab coat with rounded shoulders
    coat = Mask(W, H)
    coat.poly([(cx - 42, 186), (cx + 42, 186), (cx + 100, 200), (cx + 135, 214), (cx + 156, 240), (cx + 168, H + 5),
               (cx - 168, H + 5), (cx - 156, 240), (cx - 135, 214), (cx - 100, 200)])
    cm = blur(coat.get(), 3)
    cm = np.clip((cm - 0.5) * 2.5 + 0.5, 0, 1)
    cdx = (x - cx) / 150
    coat_l = np.clip(0.95 - 0.35 * cdx - 0.15 * ((y - 200) / 100), 0.45, 1.05)
    folds = fbm(W, H, rng, base=36, octaves=3)
    coat_col = col((222, 224, 220))[None, None] * (coat_l * (0.9 + 0.16 * folds))[..., None]
    over_img(img, cm, coat_col)
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


# ---------------------------------------------------------------------------
# Program icon and cursor

def emblem(size, N=512):
    """The hypercube glyph on a dark rounded tile; returns (rgb float, alpha float) at size."""
    rng = np.random.default_rng(1201)
    k = N / 256.0
    img = canvas(N, N, (0, 0, 0))
    tile = Mask(N, N, 2)
    pad = N * 0.03
    tile.d.rounded_rectangle([v * 2 for v in (pad, pad, N - pad, N - pad)], radius=N * 0.2 * 2, fill=255)
    t = tile.get()
    bg = vgrad(N, N, [(0, (8, 22, 40)), (1, (2, 6, 14))])
    bg += gauss_glow(N, N, N / 2, N / 2, N * 0.28)[..., None] * col((6, 40, 70))
    if size >= 128:
        starfield(bg, rng, 60, (pad, pad, N - pad, N - pad), bright=0.6)
    img[:] = bg
    # line weight tuned per target size so the glyph stays crisp when small
    px = N / size
    small = size < 128
    width = 1.25 * px if small else 4.2 * k
    vr = 1.1 * px if small else 5.5 * k
    draw_tesseract(img, N / 2, N / 2, N * (0.235 if small else 0.215), rot4=(0.0, 0.0), yaw=math.pi / 4,
                   pitch=0.6155, d3=None, width=width, vertex_r=vr, glow_k=0.45 if small else 1.0,
                   glow_scale=k * (2.0 if small else 1.0), faces=0.0 if small else 0.12)
    rim = Mask(N, N, 2)
    rim.d.rounded_rectangle([v * 2 for v in (pad + 2 * k, pad + 2 * k, N - pad - 2 * k, N - pad - 2 * k)],
                            radius=N * 0.19 * 2, outline=255, width=int(max(2 * k, 0.9 * px) * 2))
    add(img, rim.get(), (60, 200, 255), 0.55)
    rgb = to_image(img).resize((size, size), Image.LANCZOS if size >= 128 else Image.BOX)
    alpha = Image.fromarray((t * 255).astype(np.uint8)).resize((size, size), Image.BOX)
    return np.asarray(rgb, np.float32) / 255, np.asarray(alpha, np.float32) / 255


def _ico_bmp(indices, palette, transparent, bpp):
    """BITMAPINFOHEADER + palette + XOR bitmap + AND mask, rows bottom-up."""
    h, w = indices.shape
    ncol = 1 << bpp
    pal = list(palette) + [(0, 0, 0)] * (ncol - len(palette))
    xor_rows = []
    for row in indices[::-1]:
        if bpp == 8:
            b = bytes(int(v) for v in row)
        else:
            b = bytes((int(row[i]) << 4) | int(row[i + 1]) for i in range(0, w, 2))
        b += b'\0' * ((-len(b)) % 4)
        xor_rows.append(b)
    and_rows = []
    for row in transparent[::-1]:
        bits = 0
        out = bytearray()
        for i, t in enumerate(row):
            bits = (bits << 1) | int(bool(t))
            if i % 8 == 7:
                out.append(bits)
                bits = 0
        out += b'\0' * ((-len(out)) % 4)
        and_rows.append(bytes(out))
    xor = b''.join(xor_rows)
    andm = b''.join(and_rows)
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bpp, 0, len(xor) + len(andm), 0, 0, ncol, 0)
    pal_b = b''.join(struct.pack('<BBBB', b_, g_, r_, 0) for (r_, g_, b_) in pal)
    return header + pal_b + xor + andm


def palettize(rgb, alpha, ncolors):
    """Quantizes the opaque part to ncolors-1 colours; the last entry is black for the
    transparent pixels (AND mask set, XOR black)."""
    transparent = alpha < 0.5
    im = to_image(rgb * (alpha[..., None] >= 0.5))
    q = im.quantize(colors=ncolors - 1, method=Image.Quantize.LIBIMAGEQUANT, dither=Image.Dither.NONE)
    pal = q.getpalette()[:3 * (ncolors - 1)]
    palette = [tuple(pal[i:i + 3]) for i in range(0, len(pal), 3)]
    while len(palette) < ncolors - 1:
        palette.append((0, 0, 0))
    idx = np.asarray(q, np.uint8).copy()
    idx[transparent] = ncolors - 1
    palette.append((0, 0, 0))
    return idx, palette, transparent


def make_icon():
    images = []
    for size, bpp in ((32, 4), (48, 8)):
        rgb, alpha = emblem(size)
        idx, palette, transp = palettize(rgb, alpha, 1 << bpp)
        images.append((size, bpp, _ico_bmp(idx, palette, transp, bpp)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16 if bpp == 4 else 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    path = os.path.join(ROOT, 'shell/pictures/tessaranium.ico')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(out)
    print('%-36s %7d bytes' % ('shell/pictures/tessaranium.ico', len(out)))
    rgb, alpha = emblem(256, N=1024)
    im = Image.fromarray(np.dstack([np.clip(rgb, 0, 1) * 255 + 0.5, alpha * 255 + 0.5]).astype(np.uint8), 'RGBA')
    p2 = os.path.join(ROOT, 'shell/pictures/icon_256.png')
    im.save(p2, optimize=True)
    print('%-36s %7d bytes' % ('shell/pictures/icon_256.png', os.path.getsize(p2)))


def make_cursor():
    """Arrow pointer: dark glassy fill, cyan edge, soft glow; hotspot at the tip (1, 1)."""
    size, N = 32, 256
    k = N / size
    arrow_pts = [(1, 1), (1, 21.5), (5.8, 17.2), (9.6, 25.6), (13, 24.1), (9.3, 15.8), (15.6, 15.8)]
    P = [(x * k, y * k) for x, y in arrow_pts]
    fm = Mask(N, N, 1)
    fm.poly(P)
    fill = fm.get()
    om = Mask(N, N, 1)
    om.poly_outline(P, 1.25 * k)
    outline = om.get()
    shape = np.maximum(fill, outline)
    halo = np.clip(blur(shape, 1.6 * k) * 1.3 - shape, 0, 1) * 0.55
    # composite bottom to top in premultiplied colour
    rgb = np.zeros((N, N, 3), np.float32)
    a = np.zeros((N, N), np.float32)

    def lay(color, alpha):
        nonlocal rgb, a
        rgb = rgb * (1 - alpha[..., None]) + col(color) * alpha[..., None]
        a = a * (1 - alpha) + alpha
    lay((40, 200, 255), halo)
    ys = np.arange(N, dtype=np.float32)[:, None]
    lay((6, 20, 34), fill * 0.92)
    # a faint sheen down the left edge of the fill
    sheen = fill * np.clip(1 - (np.arange(N)[None, :] - k) / (6 * k), 0, 1) * np.clip(1 - ys / (22 * k), 0, 1)
    lay((90, 180, 230), sheen * 0.35)
    lay((120, 235, 255), outline)
    # reduce to 32 x 32, un-premultiplying the colour
    rgb_s = np.asarray(to_image(rgb).resize((size, size), Image.BOX), np.float32) / 255
    a_s = np.asarray(Image.fromarray((a * 255).astype(np.uint8)).resize((size, size), Image.BOX), np.float32) / 255
    color = np.where(a_s[..., None] > 0.004, rgb_s / np.maximum(a_s[..., None], 1e-3), 0)
    color = np.clip(color, 0, 1)
    bgra = np.dstack([color[..., 2], color[..., 1], color[..., 0], a_s])
    bgra = (bgra * 255 + 0.5).astype(np.uint8)
    bgra[a_s < 1 / 255] = 0
    xor = bgra[::-1].tobytes()
    transparent = a_s < 1 / 255
    and_rows = b''
    for row in transparent[::-1]:
        v = 0
        for t in row:
            v = (v << 1) | int(t)
        and_rows += struct.pack('>I', v)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(and_rows), 0, 0, 0, 0)
    data = header + xor + and_rows
    hot = (1, 1)
    out = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, hot[0], hot[1], len(data), 22) + data
    path = os.path.join(ROOT, 'cursor/cur.cgf')
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(out)
    print('%-36s %7d bytes' % ('cursor/cur.cgf', len(out)))


MAKERS = {
    'splash': make_splash,
    'menu': make_menu,
    'about': make_about,
    'intro': make_intro,
    'gameover': make_gameover,
    'icon': make_icon,
    'engine': make_engine,
    'console': make_console,
    'photo_universe': make_photo_universe,
    'photo_time': make_photo_time,
    'photo_portrait': make_photo_portrait,
    'photo_stranger': make_photo_stranger,
    'cursor': make_cursor,
}


def main(argv):
    names = argv or list(MAKERS)
    unknown = [n for n in names if n not in MAKERS]
    if unknown:
        sys.exit('unknown picture(s): %s; known: %s' % (', '.join(unknown), ', '.join(MAKERS)))
    for n in names:
        MAKERS[n]()


if __name__ == '__main__':
    main(sys.argv[1:])
