"""The game's one hypercube, drawn the same way on every picture that shows it.

A 4-cube's sixteen vertices are projected from four dimensions in perspective,
so that the far cube (w = -1) comes out half the size of the near one (w = +1)
and sits inside it; the eight edges along w join each vertex of one cube to its
twin in the other. The result is turned a little in three dimensions and drawn
orthographically: the turn was chosen so that no vertex falls on another or on
an edge it does not belong to, and every one of the 32 edges stays visible.
"""
import itertools
import math

from .raster import Mask, add, blur, glow

# The view: yaw about the vertical axis, then pitch about the horizontal one.
YAW, PITCH = 0.5, 0.2
# Distance of the eye from the centre along w; 3 makes the inner cube half size.
EYE_W = 3.0


def _unit_tesseract():
    """Vertices (x, y, depth) in units where the glyph is 2 high and centred,
    and the edges as index pairs."""
    verts = list(itertools.product((-1.0, 1.0), repeat=4))
    pts = []
    for x, y, z, w in verts:
        k = 2.0 / (EYE_W - w)
        x, y, z = x * k, y * k, z * k
        x, z = x * math.cos(YAW) + z * math.sin(YAW), -x * math.sin(YAW) + z * math.cos(YAW)
        y, z = y * math.cos(PITCH) - z * math.sin(PITCH), y * math.sin(PITCH) + z * math.cos(PITCH)
        # the far cube lies behind the near one in the fourth direction
        pts.append((x, y, z + (1 - w) * 0.4))
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    mx, my = (min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2
    half = (max(ys) - min(ys)) / 2
    pts = [((x - mx) / half, (y - my) / half, z) for x, y, z in pts]
    edges = [(i, j) for i, j in itertools.combinations(range(16), 2)
             if sum(a != b for a, b in zip(verts[i], verts[j])) == 1]
    inner = [i for i, v in enumerate(verts) if v[3] < 0]
    return pts, edges, inner


UNIT_POINTS, EDGES, INNER = _unit_tesseract()
# Half the glyph's width, and the radius of the circle round it, for a size of 1.
HALF_WIDTH = max(abs(p[0]) for p in UNIT_POINTS)
RADIUS = max(math.hypot(p[0], p[1]) for p in UNIT_POINTS)


def tesseract_points(cx, cy, size):
    """The vertices (x, y, depth) of the glyph centred on (cx, cy), 2 * size high."""
    return [(cx + x * size, cy + y * size, z) for x, y, z in UNIT_POINTS]


def draw_tesseract(img, cx, cy, size, rgb=(80, 220, 255), core_rgb=(220, 250, 255), width=1.6,
                   glow_k=1.0, vertex_r=2.2, faces=0.10, glow_scale=1.0):
    """Draws the glowing hypercube centred on (cx, cy), 2 * size high; near edges
    are brighter and a little thicker than far ones. Returns its vertices."""
    h, w = img.shape[:2]
    pts = tesseract_points(cx, cy, size)
    zs = [(pts[i][2] + pts[j][2]) / 2 for i, j in EDGES]
    zmin, zmax = min(zs), max(zs)
    m = Mask(w, h)
    # far edges first, so a near one crossing them keeps its full brightness
    for (i, j), z in sorted(zip(EDGES, zs), key=lambda e: -e[1]):
        t = (z - zmin) / (zmax - zmin)  # 0 near, 1 far
        m.line([pts[i][:2], pts[j][:2]], width * (1.15 - 0.35 * t), fill=int(255 * (1 - 0.4 * t)))
    vm = Mask(w, h)
    for x, y, _ in pts:
        vm.circle(x, y, vertex_r)
    lines, v = m.get(), vm.get()
    if faces:
        # faint light filling both cubes gives the glyph some body
        for idx, k in ((range(16), 0.6), (INNER, 1.0)):
            hm = Mask(w, h)
            hm.poly(_hull([pts[i][:2] for i in idx]))
            add(img, blur(hm.get(), 3 * glow_scale), rgb, faces * k)
    gs = glow_scale
    glow(img, lines + v * 0.8, rgb, ((1.5 * gs, 0.9 * glow_k), (5 * gs, 0.6 * glow_k),
                                     (14 * gs, 0.45 * glow_k), (40 * gs, 0.25 * glow_k)))
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

