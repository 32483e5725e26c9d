#!/usr/bin/env python3
"""Draws every picture of the game: the shell screens, the story background,
the console with its four photos, the program icon and the game cursor.

Everything is painted procedurally (gradients, blurred glow, noise, starfields,
perspective grids) with fixed random seeds, so a re-run gives the same files.

Run from the repository root:  /usr/bin/python3 tools/generators/make_pictures.py
Optional arguments name the pictures to redo, e.g. `menu console`.

The drawing code lives in the `pictures` package beside this script.
"""
import sys

from pictures.cli import main

if __name__ == '__main__':
    main(sys.argv[1:])
