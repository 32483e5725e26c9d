"""The program icon (ICO and PNG) and the game cursor.
"""
import os
import struct

import numpy as np
from PIL import Image

from .raster import Mask, ROOT, add, blur, canvas, col, gauss_glow, to_image, vgrad
from .scenery import starfield
from .tesseract import draw_tesseract


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
    width = 0.95 * px if small else 4.2 * k
    vr = 0.7 * px if small else 5.5 * k
    draw_tesseract(img, N / 2, N / 2, N * (0.345 if small else 0.28), width=width, vertex_r=vr,
                   glow_k=0.15 if small else 1.0,
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
