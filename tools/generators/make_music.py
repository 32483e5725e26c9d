#!/usr/bin/env python3
"""Composes and renders the five music tracks of the game into sound/*.mp3.

Everything is synthesised with numpy: band-limited additive oscillators with a
moving low-pass, FM bells and electric piano, plucks, bass, noise drums, a
convolution reverb with a synthetic room and a ping-pong delay. Each track is
written out note by note (music/tracks_*.py), mixed, brought to a common
loudness, limited to about -1 dBFS, dithered to 16 bit and encoded with `lame`.

All randomness comes from fixed seeds, so a re-run gives the same audio.

Run from the repository root:  /usr/bin/python3 tools/generators/make_music.py
Optional arguments name the tracks to redo, e.g. `menu gotrack`.
`--check` only measures the existing MP3 files.

The synthesis code lives in the `music` package beside this script.
"""
import sys

from music.cli import main

if __name__ == '__main__':
    main(sys.argv[1:])
