"""Raster helpers: fonts, float canvases and masks, blur and glow, noise,
text and outlines, and the writers of the finished files.

Images are H x W x 3 float32 arrays in 0..1 (sRGB); masks are H x W float32
arrays in 0..1.
"""
import math
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont


# The repository root: this file lives in tools/<package>/.
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
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


def shrink(img, w, h, sharpen=60):
    """Reduces a supersampled drawing to w x h and gives back the edge contrast
    that the reduction takes, as a camera's own sharpening would."""
    im = to_image(img).resize((w, h), Image.LANCZOS)
    if sharpen:
        im = im.filter(ImageFilter.UnsharpMask(radius=1.0, percent=sharpen, threshold=1))
    return from_image(im)


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


def smooth(pts, n=8, closed=True):
    """A Catmull-Rom curve through pts, n samples a span."""
    P = list(pts)
    m = len(P)
    out = []
    spans = m if closed else m - 1
    for i in range(spans):
        p0 = P[(i - 1) % m] if closed or i > 0 else P[0]
        p1, p2 = P[i], P[(i + 1) % m]
        p3 = P[(i + 2) % m] if closed or i + 2 < m else P[-1]
        for k in range(n):
            t = k / n
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * p1[c]) + (-p0[c] + p2[c]) * t
                                    + (2 * p0[c] - 5 * p1[c] + 4 * p2[c] - p3[c]) * t2
                                    + (-p0[c] + 3 * p1[c] - 3 * p2[c] + p3[c]) * t3) for c in (0, 1)))
    if not closed:
        out.append(P[-1])
    return out


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
# Output

def quantize(img, colors=256, dither=True, max_error=None):
    """Quantizes to a palette.  With max_error, a dithered pixel that strays
    further than that (0..255, any channel) from the picture takes the plain
    nearest palette colour instead: error diffusion next to hard edges can
    otherwise strew dark specks over a light ground."""
    im = to_image(img) if isinstance(img, np.ndarray) else img
    q = im.quantize(colors=colors, method=Image.Quantize.LIBIMAGEQUANT,
                    dither=Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE)
    if max_error is not None:
        plain = im.quantize(palette=q, dither=Image.Dither.NONE)
        src = np.asarray(im.convert('RGB'), np.int16)
        stray = np.abs(np.asarray(q.convert('RGB'), np.int16) - src).max(axis=2) > max_error
        idx = np.where(stray, np.asarray(plain), np.asarray(q)).astype(np.uint8)
        fixed = Image.fromarray(idx, 'P')
        fixed.putpalette(q.getpalette())
        q = fixed
    return q


def save_gif(img, rel, colors=256, dither=True, max_error=None):
    """Quantizes (see quantize) and writes a GIF."""
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    q = quantize(img, colors, dither, max_error)
    q.save(path, optimize=False)
    print('%-36s %7d bytes' % (rel, os.path.getsize(path)))
    return q


def save_bgrx(img, rel):
    """Writes the pixels raw, row by row, four bytes each: blue, green, red,
    255.  A little-endian machine draws that as it lies (Qt's RGB32), with no
    decoder and no image plugin: for the one picture shown before the first
    window is up."""
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    rgb = np.asarray(img.convert('RGB'), np.uint8)
    bgrx = np.empty(rgb.shape[:2] + (4,), np.uint8)
    bgrx[..., 0], bgrx[..., 1], bgrx[..., 2], bgrx[..., 3] = rgb[..., 2], rgb[..., 1], rgb[..., 0], 255
    with open(path, 'wb') as out:
        out.write(bgrx.tobytes())
    print('%-36s %7d bytes (%d x %d)' % (rel, os.path.getsize(path), rgb.shape[1], rgb.shape[0]))


def save_bmp24(img, rel):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    to_image(img).save(path, 'BMP')
    print('%-36s %7d bytes' % (rel, os.path.getsize(path)))
