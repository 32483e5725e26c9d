"""The shell screens: menu and about.
"""
import numpy as np

from .raster import (
    MONO, Mask, SANS, SANS_B, SANS_I, add, blur, gauss_glow, glow, over, save_gif,
    text_width, vgrad)
from .scenery import (
    city, dark_panel, glow_button, lit_letters, nebula, perspective_grid, starfield, vignette)
from .tesseract import RADIUS, draw_tesseract


# ---------------------------------------------------------------------------
# Shell screens

def night_sky(w, h, rng, horizon, top=(2, 4, 12), mid=(5, 14, 32), low=(8, 40, 62)):
    img = vgrad(w, h, [(0, top), (horizon / h * 0.6, mid), (horizon / h, low), (1, (2, 6, 12))])
    return img


def title_text(img, x, y, rng, big=78):
    """The game's name set as two lines with glow: МИРЫ, then «Tessaranium»."""
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
    m2.text((x, y + big * 0.95), '«Tessaranium»', SANS_B, big, anchor='ls', tracking=1)
    t = m2.get()
    glow(img, t, (30, 170, 255), ((2, 0.8), (6, 0.6), (18, 0.45), (40, 0.25)))
    lit_letters(img, t, y + big * 0.25, big * 0.7)
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
    city(img, rng, horizon, 0, 520, max_h=100, center=270, spread=170)
    # floor grid
    g = perspective_grid(w, h, horizon, 270, x_spacing=46, rows=22, depth0=0.55)
    add(img, blur(g, 2.5), (0, 160, 220), 0.6)
    add(img, g, (60, 200, 255), 0.55)
    # floating tesseract above the city, clear of the tallest towers, in a ring
    # of light whose far half passes behind it
    tx, ty, size = 270, 236, 62
    add(img, gauss_glow(w, h, tx, ty, 120, 110), (20, 90, 150), 0.35)
    ring = []
    for half in ((180, 360), (0, 180)):
        rm = Mask(w, h)
        rm.d.arc([v * rm.ss for v in (tx - 150, ty + 4 - 26, tx + 150, ty + 4 + 26)], *half,
                 fill=255, width=int(1.2 * rm.ss))
        ring.append(rm.get())
    add(img, ring[0], (90, 220, 255), 0.35)
    add(img, blur(ring[0], 3), (40, 170, 255), 0.3)
    draw_tesseract(img, tx, ty, size, width=2.0, vertex_r=2.6, glow_k=1.15)
    add(img, ring[1], (90, 220, 255), 0.7)
    add(img, blur(ring[1], 3), (40, 170, 255), 0.6)
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
    draw_tesseract(img, 690, 330, 72 / RADIUS)
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
    # the studio's own crafts, as its credits in read.tf name them; the research
    # centre belongs to the story, so the last line says the story is made up
    cm2.text((690, 542), 'сценарий · код · графика · музыка', SANS, 11, anchor='ms')
    cm2.text((690, 557), 'события и лица вымышлены', SANS_I, 11, anchor='ms')
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
    draw_tesseract(img, bx + 62, by + bh / 2, 38, width=1.2, vertex_r=1.4, glow_k=0.7)
    nm = Mask(w, h)
    nm.text((bx + 128, by + 44), 'МИРЫ', SANS_B, 18, anchor='ls', tracking=10)
    n1 = nm.get()
    add(img, n1, (120, 220, 255), 0.95)
    tm2 = Mask(w, h)
    tm2.text((bx + 124, by + 86), '«Tessaranium»', SANS_B, 41, anchor='ls')  # the guillemets need room inside the frame
    t2 = tm2.get()
    glow(img, t2, (30, 170, 255), ((2, 0.7), (6, 0.5), (14, 0.3)))
    lit_letters(img, t2, by + 52, 34)
    sm = Mask(w, h)
    sm.text((bx + 126, by + 106), 'текстовая приключенческая игра', SANS, 12, anchor='ls', tracking=1)
    add(img, sm.get(), (110, 190, 225), 0.85)
    # frame for the description box the program lays over the picture. The box
    # itself is teal; the frame and the light it spills are teal too, so the
    # box reads as a lit screen of this room rather than a patch laid on it.
    teal, teal_light = (0, 128, 128), (60, 210, 200)
    fm = np.zeros((h, w), np.float32)
    fm[264:561, 48:577] = 1
    glow(img, fm, teal, ((10, 0.5), (30, 0.45), (70, 0.3)))
    dark_panel(img, (40, 256, 545, 313), fill=(0, 70, 76), alpha=0.9, c=12, border=teal_light)
    lm = Mask(w, h)
    lm.text((50, 248), '// README', MONO, 10, anchor='ls')
    lm.text((577, 248), 'read.tf', MONO, 10, anchor='rs')
    add(img, lm.get(), teal_light, 0.65)
    over(img, fm, teal)
    glow_button(img, (592, 16, 193, 49), 'Назад', size=22, back=True)
    vignette(img, 0.45)
    save_gif(img, 'shell/pictures/about.gif')
