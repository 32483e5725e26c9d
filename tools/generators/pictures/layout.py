"""Where each screen's window and controls are, in window pixels, as the
screens' own layout tables state it: the pictures are drawn around the places
the game puts its controls. tests/lib/layout_points.cpp prints the tables
(headers alone); it is built here with the system's compiler and run once.
"""
import functools
import os
import subprocess
import tempfile

from .raster import ROOT


@functools.lru_cache(maxsize=None)
def _places():
    with tempfile.TemporaryDirectory() as tmp:
        exe = os.path.join(tmp, 'layout_points')
        subprocess.run(['c++', '-std=c++20', '-I', ROOT, os.path.join(ROOT, 'tests/lib/layout_points.cpp'),
                        '-o', exe], check=True)
        out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
    places = {}
    for line in out.splitlines():
        screen, control, *numbers = line.split()
        places[screen, control] = tuple(int(n) for n in numbers)
    return places


def place(screen, control):
    """The control's (x, y, width, height) in its window."""
    return _places()[screen, control]


def middle(screen, control):
    """The control's middle (x, y), as whole pixels."""
    x, y, w, h = place(screen, control)
    return x + w // 2, y + h // 2
