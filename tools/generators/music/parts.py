"""Part writers the tracks share: pads, melodies, bells and arpeggios.
"""
import numpy as np

from .synthesis import hz
from .instruments import inst_bell, inst_pad


# --------------------------------------------------------------------------
# Shared part writers

def play_pads(song, chords, cut_fn, gain, rev=0.5, dly=0.0, shape='saw', attack=1.5,
              release=2.5, voices=3, detune=9.0, octave=0, res=0.15, order=2, spread=0.7):
    """chords: [(bar, beat, dur_beats, [midi...])]."""
    for bar, beat, dur, ch in chords:
        t0 = song.t(bar, beat)
        d = dur * song.spb
        for m in ch:
            sig = inst_pad(hz(m + octave), d, song.rng, cut_fn, t0, shape=shape,
                           attack=attack, release=release, voices=voices,
                           detune=detune, res=res, order=order, spread=spread)
            song.place(sig, t0, gain=gain / np.sqrt(len(ch)), rev=rev, dly=dly)


def play_melody(song, bar0, mel, fn, gain, pan=0.0, rev=0.3, dly=0.2, octave=0,
                jitter=0.004, **kw):
    for beat, dur, ms in mel:
        t0 = song.t(bar0, beat) + song.humanise(jitter)
        for m in ms:
            sig = fn(hz(m + octave), dur * song.spb, song.rng, **kw)
            song.place(sig, t0, pan=pan, gain=gain, rev=rev, dly=dly)


def play_bells(song, bar0, mel, gain, pan=0.0, rev=0.5, dly=0.3, octave=0,
               jitter=0.004, **kw):
    for beat, dur, ms in mel:
        t0 = song.t(bar0, beat) + song.humanise(jitter)
        for m in ms:
            sig = inst_bell(hz(m + octave), song.rng, **kw)
            song.place(sig, t0, pan=pan, gain=gain, rev=rev, dly=dly)


def arp_notes(chord, pattern, octaves=2):
    pool = sorted(chord)
    ext = [m + 12 * o for o in range(octaves) for m in pool]
    return [ext[i % len(ext)] for i in pattern]
