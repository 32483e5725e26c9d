"""The hidden console's background.
"""
import numpy as np

from .raster import (
    MONO, Mask, SANS_B, add, blur, brackets_mask, col, fbm, fill_mask, frame_mask, glow,
    has_glyph, over, over_img, save_gif, text_centered, text_width, vgrad)
from .scenery import vignette


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
