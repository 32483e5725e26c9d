"""The hero at the terminal, for the story screen's illustration: a man seen
from the side, one hand on a lectern console, reading a holographic screen
that floats above it.
"""
import numpy as np

from .raster import Mask, add, blur, gauss_glow, over, smooth
from .scenes import rim_light


# The man in profile, facing right, in pixels with the top of his head at (0, 0)
# and his soles at y = 205. Each outline is closed and smoothed.
HEAD = [(0, 0), (6, 1.5), (9.5, 6), (10.5, 10.5), (13.5, 16), (11, 18), (11.8, 20.5), (10.6, 22.5),
        (10.2, 25), (7, 27.5), (5, 28), (5.5, 36), (-6, 37), (-6, 28), (-9, 23), (-10.5, 15),
        (-9.5, 7), (-5.5, 1.5)]
# jacket: collar, square shoulders, a slight stoop, the hem over the hips
JACKET = [(-6, 32), (2, 34), (7, 36), (11, 41), (13.5, 52), (14, 70), (13, 92), (14, 110),
          (12.5, 120), (-15, 122), (-17, 110), (-15.5, 92), (-16.5, 70), (-17, 52), (-14.5, 40)]
# legs: the far one straight under him, the near one a half step forward
FAR_LEG = [(-12, 114), (3, 114), (4, 150), (2, 160), (2, 186), (1.5, 196), (-8, 196), (-8.5, 186),
           (-10.5, 162), (-11.5, 150)]
NEAR_LEG = [(-6, 112), (9, 112), (13, 138), (18, 158), (20, 184), (20.5, 196), (11, 196), (9.5, 184),
            (6.5, 162), (-2, 140)]
FAR_SHOE = [(-10, 194), (2.5, 194), (11, 199), (13, 203.5), (12, 205), (-10.5, 205), (-11, 199)]
NEAR_SHOE = [(9, 194), (21.5, 194), (30, 199.5), (32, 203.5), (31, 205), (8.5, 205), (8, 199)]
# the near arm: upper arm hanging from the shoulder, forearm reaching to the desk
NEAR_ARM = [(-6, 42), (2, 39), (8, 44), (9, 62), (10, 78), (22, 86), (36, 89), (37, 95), (22, 94),
            (5, 89), (-1, 84), (-4, 64)]
# the far arm shows only from the elbow on, in front of his chest
FAR_ARM = [(10, 74), (24, 79), (40, 82), (41, 87), (24, 86), (10, 84)]
# a hand laid on the desk: back of the hand, knuckles, fingers over the edge, thumb
HAND = [(0, -3.2), (5, -3.8), (9.5, -2.6), (12, -0.5), (13, 2.5), (12.2, 5.5), (10.5, 6), (10, 3),
        (7.5, 2.6), (5.5, 4.8), (3.8, 4.2), (2.5, 2.6), (0, 3)]


def _poly(m, pts, fx, fy, s, fill=255):
    m.poly([(fx + x * s, fy + y * s) for x, y in smooth(pts)], fill)


def figure_at_terminal(w, h, fx, fy, s=1.0):
    """Masks of the man whose head top is at (fx, fy): (whole body, near limbs, far
    arm and hand). The limbs are part of the body mask too."""
    body = Mask(w, h)
    for part in (HEAD, JACKET, FAR_LEG, FAR_SHOE):
        _poly(body, part, fx, fy, s)
    near, far = Mask(w, h), Mask(w, h)
    _poly(near, NEAR_LEG, fx, fy, s)
    _poly(near, NEAR_SHOE, fx, fy, s)
    _poly(far, FAR_ARM, fx, fy, s)
    _poly(far, HAND, fx + 39 * s, fy + 84 * s, s * 0.95)
    _poly(near, NEAR_ARM, fx, fy, s)
    _poly(near, HAND, fx + 34 * s, fy + 91.5 * s, s)
    n, f = near.get(), far.get()
    return np.maximum(body.get(), np.maximum(n, f)), n, f


def lectern(w, h, x, y, foot_y):
    """Masks of a lectern console whose desk's near low corner is at (x, y) and whose
    foot stands at foot_y: (body, lit top edge, key lights, emitter points)."""
    body, top, keys = Mask(w, h), Mask(w, h), Mask(w, h)
    # the slanted desk, rising away from the reader, with a wedge under it
    desk = [(x, y), (x + 76, y - 16), (x + 78, y - 9), (x + 60, y + 6), (x + 44, y + 16), (x + 6, y + 9)]
    body.poly(desk)
    # a slim column widening to a foot plate on the deck
    body.poly([(x + 34, y + 12), (x + 54, y + 8), (x + 60, foot_y - 6), (x + 28, foot_y - 3)])
    body.poly([(x + 22, foot_y - 4), (x + 66, foot_y - 7), (x + 70, foot_y), (x + 18, foot_y + 3)])
    top.poly([(x + 1, y - 0.5), (x + 76, y - 16.5), (x + 73, y - 19), (x + 4, y - 3.5)], fill=110)
    top.line([(x + 1, y - 0.5), (x + 76, y - 16.5)], 1.2)
    for i in range(6):
        t = 0.2 + i * 0.1
        keys.rect((x + 76 * t, y - 16 * t + 2, x + 76 * t + 4, y - 16 * t + 3.4))
    keys.line([(x + 44, y + 20), (x + 44, foot_y - 14)], 1.0)
    keys.line([(x + 36, foot_y - 10), (x + 52, foot_y - 11)], 1.0)
    emit = [(x + 62, y - 13), (x + 70, y - 15)]
    return body.get(), top.get(), keys.get(), emit


def draw_hero(img, deck, fx, fy, s, desk_xy, foot_y, screen):
    """Paints the lectern, the beams that raise its screen, and the man at it."""
    ph, pw = img.shape[:2]
    body, top, keys, emit = lectern(pw, ph, desk_xy[0], desk_xy[1], foot_y)
    # beams from the desk's emitters up to the screen's lower corners
    bm = Mask(pw, ph)
    for (ex, ey) in emit:
        bm.poly([(ex - 1, ey), (ex + 1, ey), screen[2], screen[3]], fill=60)
    add(img, blur(bm.get(), 2.5), (60, 190, 255), 0.5)
    over(img, body, (5, 11, 20))
    rim_light(img, body, (70, 200, 255), 0.55, dx=-2, dy=1)
    add(img, top, (150, 235, 255), 0.9)
    add(img, blur(top, 2.5), (60, 190, 255), 0.6)
    add(img, keys, (120, 230, 255), 0.7)
    add(img, blur(keys, 1.5), (60, 190, 255), 0.5)
    # the man, lit from the screen ahead of him and a little from the city behind
    fig, near, far = figure_at_terminal(pw, ph, fx, fy, s)
    over(img, fig, (4, 8, 15))
    over(img, far, (9, 18, 30), 0.9)
    # the near arm and leg stand apart from what lies behind them by their own edge
    edge = np.clip(near - np.roll(near, 1, axis=0) * np.roll(near, -1, axis=1), 0, 1)
    add(img, edge * fig, (40, 110, 160), 0.35)
    front = np.clip(fig - blur(np.roll(fig, -7, axis=1), 3), 0, 1)
    add(img, front, (40, 130, 190), 0.22)
    rim_light(img, fig, (110, 225, 255), 0.95, dx=-2, dy=0)
    rim_light(img, fig, (40, 110, 170), 0.3, dx=2, dy=1)
    # light from the screen on his face and hands
    face = np.zeros((ph, pw), np.float32)
    face[int(fy + 12 * s), int(fx + 11 * s)] = 1
    face[int(fy + 90 * s), int(fx + 44 * s)] = 1
    add(img, blur(face, 6) * 40 * fig, (90, 210, 255), 0.5)
    # the deck takes his shadow and the lectern's
    sh = gauss_glow(pw, ph, fx + 4 * s, fy + 206 * s, 34, 5) + gauss_glow(pw, ph, desk_xy[0] + 44, foot_y + 1, 30, 4)
    over(img, np.clip(sh, 0, 1) * deck, (0, 0, 0), 0.6)
