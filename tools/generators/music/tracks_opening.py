"""Tracks 1 and 2: the splash fanfare and the main menu theme.
"""
import numpy as np

from .synthesis import SR, TWO_PI, automation, hz, melody, midi, notes
from .instruments import (
    drum_clap, drum_crash, drum_hat, drum_kick, drum_shaker, drum_snare, inst_bass, inst_glass,
    inst_lead, inst_pad, inst_pluck, riser)
from .mixing import Song, make_delay_ir, make_reverb_ir, master
from .parts import arp_notes, play_bells, play_melody, play_pads


# --------------------------------------------------------------------------
# Track 1: splash. C major, 120 bpm. A bright opening statement that lands on
# its resolution at four seconds, rings through the end of the splash, then
# dissolves into beatless pads quiet enough to sit under the menu theme.

def track_into():
    s = Song('into', 120, 65.0, seed=1101)
    rng = s.rng
    C = notes
    # opening progression: C | Am7 F G | C (ring)
    open_chords = [
        (0, 0, 4, C('C3 G3 C4 D4 E4 G4')),
        (1, 0, 2, C('C3 E3 G3 A3 C4 E4')),
        (1, 2, 1, C('C3 F3 A3 C4 F4')),
        (1, 3, 1, C('D3 G3 B3 D4 G4')),
        (2, 0, 6, C('C3 G3 C4 D4 E4 G4')),
    ]
    cut_open = automation([(0, 2600), (2.0, 3400), (4.0, 4200), (6.0, 3000), (9.0, 1400)], log=True)
    play_pads(s, open_chords, cut_open, gain=0.55, rev=0.45, attack=0.03, release=2.0,
              voices=3, detune=12.0, res=0.1)

    # brass-like stabs on the downbeats of the statement
    for bar, beat, dur, ch in [(0, 0, 1.0, C('G3 C4 E4 G4')), (0, 1.5, 0.5, C('G3 C4 E4 G4')),
                               (1, 0, 1.0, C('A3 C4 E4 A4')), (1, 2, 1.0, C('A3 C4 F4 A4')),
                               (1, 3, 1.0, C('B3 D4 G4 B4')), (2, 0, 2.5, C('G3 C4 E4 G4'))]:
        t0 = s.t(bar, beat)
        for m in ch:
            sig = inst_pad(hz(m), dur * s.spb, rng,
                           lambda tt, t0=t0: 900.0 + 3800.0 * np.exp(-(tt - t0) / 0.22), t0,
                           attack=0.012, release=0.35, voices=2, detune=8.0, res=0.2)
            s.place(sig, t0, gain=0.22, rev=0.3)

    # the logo motif: bells with a soft lead an octave below
    motif = melody('C5:.5 G5:.5 C6:.5 D6:.5 E6:1.5 D6:.5 | C6:1 E6:1 F6:1 D6:1 | E6+C6+G5:8')
    play_bells(s, 0, motif, gain=0.42, rev=0.35, dly=0.25, decay=2.6, index=2.4)
    play_melody(s, 0, motif[:-1], inst_lead, gain=0.16, octave=-12, rev=0.3, dly=0.15,
                bright=2600.0)
    play_melody(s, 0, [(8.0, 6.0, [midi('E5')])], inst_lead, gain=0.14, rev=0.4, bright=2200.0)

    # bass: driving eighths, then a long root under the resolution
    roots = [('C2', 0, 4), ('A1', 4, 2), ('F2', 6, 1), ('G2', 7, 1)]
    for name, b0, nb in roots:
        for k in range(nb * 2):
            b = b0 + k * 0.5
            vel = 1.0 if k % 2 == 0 else 0.75
            s.place(inst_bass(hz(midi(name)), 0.42 * s.spb, rng, cut=520, env_amt=900, sub=0.55),
                    s.t(0, b), gain=0.42 * vel)
    s.place(inst_bass(hz(midi('C2')), 5.5, rng, cut=380, env_amt=700, release=1.5),
            s.t(2, 0), gain=0.5)

    # arpeggio, sixteenths, fading out after the resolution
    arp_ch = [(0, C('C4 E4 G4 D5')), (1, C('A3 C4 E4 G4')), (2, C('C4 E4 G4 D5')),
              (3, C('C4 E4 G4 D5'))]
    pat = [0, 1, 2, 3, 4, 3, 2, 1, 0, 2, 1, 3, 2, 4, 3, 5]
    for bar, ch in arp_ch:
        seq = arp_notes(ch, pat)
        for i, m in enumerate(seq):
            beat = i * 0.25
            if bar == 1 and beat >= 2:
                m = arp_notes(C('A3 C4 F4 G4') if beat < 3 else C('B3 D4 G4 A4'), pat)[i]
            fade = 1.0 if bar < 2 else max(0.0, 1.0 - (bar - 2 + beat / 4.0) / 2.0)
            if fade <= 0:
                continue
            acc = 1.0 if i % 4 == 0 else 0.7
            s.place(inst_pluck(hz(m + 12), 0.2 * s.spb, rng, cut0=900, cut_env=5000, cdecay=0.08),
                    s.t(bar, beat), pan=0.45 * np.sin(i * 0.9), gain=0.15 * acc * fade,
                    rev=0.3, dly=0.35)

    # drums: an impact on the first beat, a short groove, a fill, crash on the resolution
    dg = 1.4    # drum level
    kick, snare, clap, hat = drum_kick(rng), drum_snare(rng), drum_clap(rng), drum_hat(rng)
    crash = drum_crash(rng, decay=1.8)
    s.place(crash, 0.0, pan=-0.2, gain=0.22, rev=0.4)
    s.place(crash, s.t(2, 0), pan=0.2, gain=0.26, rev=0.4)
    for bar in range(2):
        for b in (0, 1.5, 2):
            s.place(kick, s.t(bar, b), gain=dg * (0.85 if b != 1.5 else 0.6))
        for b in (1, 3):
            s.place(snare, s.t(bar, b), gain=dg * (0.28), rev=0.25)
            s.place(clap, s.t(bar, b), pan=0.1, gain=dg * (0.18), rev=0.35)
        for k in range(16):
            s.place(hat, s.t(bar, k * 0.25), pan=0.3, gain=dg * (0.09 if k % 2 else 0.14))
    for k, b in enumerate((3.25, 3.5, 3.75)):
        s.place(snare, s.t(1, b), gain=dg * (0.12 + 0.06 * k), rev=0.25)
    s.place(kick, s.t(2, 0), gain=dg * (1.0))
    s.place(riser(rng, 1.9, 400, 7000), s.t(1, 0.2), gain=0.06, rev=0.3)

    # continuation: slow pads with bell echoes of the motif, no pulse
    cont = [
        (4, C('F3 A3 C4 E4 G4'), 'F2'), (6, C('E3 G3 B3 D4 G4'), 'E2'),
        (8, C('E3 A3 C4 E4 G4 B4'), 'A1'), (10, C('F3 A3 C4 E4 B4'), 'F2'),
        (12, C('D3 F3 A3 C4 E4'), 'D2'), (14, C('G3 C4 D4 F4'), 'G1'),
        (15, C('G3 B3 D4 F4'), 'G1'),
    ]
    chords, bass = [], []
    for i, (bar, ch, root) in enumerate(cont):
        nb = (cont[i + 1][0] - bar) if i + 1 < len(cont) else 1
        chords.append((bar, 0, nb * 4 + 0.5, ch))
        bass.append((bar, nb, root))
    chords.append((16, 0, 16.5, C('C3 G3 C4 D4 E4 G4')))
    chords.append((20, 0, 8.5, C('C3 F3 A3 C4 F4')))
    chords.append((22, 0, 24, C('C3 G3 C4 E4 G4')))
    bass.append((16, 16, 'C2'))
    cut_cont = automation([(7, 1200), (16, 2200), (26, 1500), (36, 2400), (46, 1300), (62, 700)], log=True)
    play_pads(s, chords, cut_cont, gain=0.5, rev=0.6, attack=2.5, release=4.0, detune=10.0)
    for bar, nb, root in bass:
        s.place(inst_bass(hz(midi(root)), nb * 4 * s.spb, rng, cut=260, env_amt=100, sub=1.0,
                          release=2.0), s.t(bar, 0), gain=0.28)
    echo = melody('A5:2 C6:2 | G5:4 | B5:2 G5:2 | E5:4 | C6:2 E6:2 | D6:4 | C6:2 A5:2 | B5:4 |'
                  'A5:2 F5:2 | E5:4 | D5:2 F5:2 | D5:4 | E5:4 | G5:4 | C6:8')
    play_bells(s, 4, echo, gain=0.2, pan=0.15, rev=0.6, dly=0.4, decay=3.2, index=1.6)
    play_melody(s, 4, echo, inst_glass, gain=0.05, octave=-12, rev=0.5, attack=0.6, release=1.5)
    for bar, ch in ((8, 'C5'), (16, 'E6'), (24, 'G5'), (26, 'C6')):
        s.place(inst_glass(hz(midi(ch)), 6.0, rng, attack=2.0, release=3.0), s.t(bar, 0),
                gain=0.05, rev=0.7)

    mix = s.mixdown(make_reverb_ir(4.5, 3.2, seed=71), make_delay_ir(0.75 * s.spb, 0.42, lp=4000))
    # step back after the splash so the tail sits under the menu theme
    tt = np.arange(mix.shape[1]) / SR
    mix *= automation([(0, 1.0), (6.5, 1.0), (12.0, 0.5), (40.0, 0.5)])(tt)
    return master(mix, loud_region=(0.0, 6.5), tail_fade=(48.0, 64.5))


# --------------------------------------------------------------------------
# Track 2: main menu. A minor, 90 bpm. Intro, theme, second strain, theme in
# full, coda. The motif: a rise E-A-B-C and the lydian B over F.

def track_menu():
    s = Song('menu', 90, 96.0, seed=2202)
    rng = s.rng
    C = notes
    V = {
        'Am9': (C('A3 C4 E4 G4 B4'), 'A1'), 'Fmaj7': (C('F3 A3 C4 E4 G4'), 'F2'),
        'C': (C('G3 C4 D4 E4 G4'), 'C2'), 'G': (C('G3 B3 D4 A4'), 'G2'),
        'Dm9': (C('D3 F3 A3 C4 E4'), 'D2'), 'Esus': (C('E3 A3 B3 D4'), 'E2'),
        'E': (C('E3 G#3 B3 D4'), 'E2'), 'F': (C('F3 A3 C4 G4'), 'F2'),
        'Em7': (C('E3 G3 B3 D4'), 'E2'), 'Am': (C('A3 C4 E4 A4'), 'A1'),
        'Bbmaj7': (C('F3 Bb3 D4 A4'), 'Bb1'), 'E7': (C('E3 G#3 B3 D4'), 'E2'),
    }
    A = ['Am9', 'Fmaj7', 'C', 'G', 'Am9', 'Fmaj7', 'Dm9', ('Esus', 'E')]
    B = ['F', 'G', 'Em7', 'Am', 'Dm9', 'Fmaj7', 'Bbmaj7', 'E7']
    form = ['Am9', 'Fmaj7', 'Dm9', 'Esus'] + A + B + A + ['Am9', 'Fmaj7', 'Dm9', ('Esus', 'E'), 'Am9', 'Am9']
    # expand to (bar, beat, beats, name)
    prog = []
    for bar, item in enumerate(form):
        if isinstance(item, tuple):
            prog.append((bar, 0, 2, item[0]))
            prog.append((bar, 2, 2, item[1]))
        else:
            prog.append((bar, 0, 4, item))
    # merge the two held Am9 bars at the end
    prog[-2] = (prog[-2][0], 0, 8, 'Am9')
    prog.pop()

    # pads: filter opens through the intro, breathes with the form, closes in the coda
    T = s.t
    cut_pad = automation([(0, 350), (T(4), 1500), (T(12), 1900), (T(16), 2300), (T(20), 1700),
                          (T(24), 2600), (T(28), 2300), (T(31), 1200), (T(34) + 6, 400)], log=True)

    def cut_fn(t):
        return cut_pad(t) * (1.0 + 0.18 * np.sin(TWO_PI * t / 9.0))
    play_pads(s, [(b, bt, d, V[nm][0]) for b, bt, d, nm in prog], cut_fn, gain=0.5, rev=0.55,
              attack=1.2, release=2.5, res=0.25)
    # a high glass layer in the second strain and the full theme
    for b, bt, d, nm in prog:
        if 12 <= b < 28:
            top = max(V[nm][0]) + 12
            s.place(inst_glass(hz(top), d * s.spb, rng, attack=1.2, release=2.0), T(b, bt),
                    gain=0.05, rev=0.6, pan=0.3 * np.sin(b))

    # bass
    for b, bt, d, nm in prog:
        root = midi(V[nm][1])
        if b < 2:
            continue
        if b < 4 or b >= 30:
            s.place(inst_bass(hz(root), d * s.spb - 0.05, rng, cut=250, env_amt=150, release=1.0),
                    T(b, bt), gain=0.42 if b < 32 else 0.38)
            continue
        # syncopated figure: 1, 1-and-a-half, 2-and-a-half, 4
        figure = [(0, 1.2, root, 1.0), (1.5, 0.8, root, 0.7), (2.5, 1.0, root + 7, 0.8),
                  (3.5, 0.4, root + 12, 0.6)]
        for fb, fd, m, v in figure:
            if fb >= d:
                continue
            s.place(inst_bass(hz(m), min(fd, d - fb) * s.spb, rng, cut=420, env_amt=700, sub=0.55),
                    T(b, bt + fb), gain=0.42 * v)

    # arpeggio: sixteenths over the pad chord, level following the form
    pat = [0, 2, 4, 3, 1, 3, 5, 4, 2, 4, 6, 5, 3, 5, 4, 2]
    arp_lvl = automation([(0, 0.0), (T(1), 0.35), (T(4), 0.75), (T(12), 0.7), (T(20), 1.0),
                          (T(28), 0.9), (T(30), 0.5), (T(32), 0.0)])
    arp_cut = automation([(0, 500), (T(4), 1400), (T(12), 2200), (T(20), 2600), (T(28), 1800),
                          (T(32), 700)], log=True)
    for b, bt, d, nm in prog:
        ch = [m + 12 for m in V[nm][0][:4]]
        seq = arp_notes(ch, pat)
        for i in range(int(d * 4)):
            beat = bt + i * 0.25
            t0 = T(b, beat)
            lvl = arp_lvl(t0)
            if lvl <= 0.01:
                continue
            acc = 1.0 if i % 4 == 0 else (0.75 if i % 2 == 0 else 0.6)
            cc = arp_cut(t0) * (1.0 + 0.4 * np.sin(TWO_PI * t0 / 7.3))
            s.place(inst_pluck(hz(seq[i % 16]), 0.22 * s.spb, rng, cut0=cc * 0.4, cut_env=cc * 1.6,
                               cdecay=0.09, shape='square', res=0.4),
                    t0, pan=0.5 * np.sin(i * 1.7 + b), gain=0.17 * acc * lvl, rev=0.3, dly=0.4)

    # theme
    themeA = melody('E5:1.5 A5:.5 B5:1 C6:1 | B5:1.5 A5:.5 E5:2 | G5:1.5 A5:.5 G5:1 E5:1 |'
                    'D5:2.5 r:1 E5:.5 | E5:1.5 A5:.5 B5:1 C6:1 | D6:1.5 C6:.5 B5:1 A5:1 |'
                    'C6:1.5 B5:.5 A5:1 F5:1 | E5:3 G#5:1')
    themeB = melody('A5:2 G5:1 F5:1 | G5:2 D5:2 | E5:1 G5:1 B5:2 | A5:3 E5:1 |'
                    'F5:1.5 E5:.5 D5:1 E5:1 | C5:2 E5:1 A5:1 | D6:2 C6:1 A5:1 | B5:2 G#5:2')
    coda = melody('E5:1.5 A5:.5 B5:1 C6:1 | B5:4 | r:4 | r:2 r:1.5 G#5:.5 | A5:8')
    play_melody(s, 4, themeA, inst_lead, gain=0.3, rev=0.35, dly=0.22, bright=2000.0)
    play_bells(s, 4, themeA, gain=0.12, rev=0.45, dly=0.3, decay=1.6, index=1.8)
    play_melody(s, 12, themeB, inst_lead, gain=0.26, rev=0.4, dly=0.22, bright=1800.0)
    play_bells(s, 12, themeB, gain=0.1, octave=12, pan=-0.25, rev=0.5, dly=0.35, decay=1.4, index=1.2)
    play_melody(s, 20, themeA, inst_lead, gain=0.3, rev=0.35, dly=0.22, bright=2400.0)
    play_bells(s, 20, themeA, gain=0.16, octave=12, pan=0.2, rev=0.5, dly=0.3, decay=1.8, index=2.0)
    # harmony a third/sixth below in the full theme
    harm = melody('C5:1.5 E5:.5 G5:1 A5:1 | G5:1.5 E5:.5 C5:2 | E5:1.5 F5:.5 E5:1 C5:1 |'
                  'B4:2.5 r:1 C5:.5 | C5:1.5 E5:.5 G5:1 A5:1 | A5:1.5 A5:.5 G5:1 F5:1 |'
                  'A5:1.5 G5:.5 F5:1 D5:1 | B4:3 E5:1')
    play_melody(s, 20, harm, inst_lead, gain=0.14, pan=-0.3, rev=0.45, dly=0.1, bright=1500.0)
    play_melody(s, 28, coda, inst_lead, gain=0.26, rev=0.5, dly=0.3, bright=1700.0)
    play_bells(s, 28, coda, gain=0.14, rev=0.6, dly=0.4, decay=2.8, index=1.6)

    # drums
    dg = 2.2    # drum level
    kick = drum_kick(rng, decay=0.3)
    hat = drum_hat(rng)
    ohat = drum_hat(rng, open_=True)
    shaker = drum_shaker(rng)
    clap = drum_clap(rng)
    snare = drum_snare(rng, decay=0.12, body=0.35)
    s.place(riser(rng, T(1) * 1.4, 300, 5000), T(2, 2), gain=0.05, rev=0.5)
    s.place(drum_crash(rng, 2.2), T(4), gain=dg * (0.13), pan=-0.3, rev=0.5)
    s.place(drum_crash(rng, 2.2), T(20), gain=dg * (0.16), pan=0.3, rev=0.5)
    for b in range(4, 30):
        full = 20 <= b < 28
        strain = 12 <= b < 28
        if b < 29:
            for kb, kv in ((0, 0.75), (2.5, 0.55)):
                s.place(kick, T(b, kb), gain=dg * (kv))
            if full and b % 2 == 1:
                s.place(kick, T(b, 3.5), gain=dg * (0.35))
        for k in range(8):
            if k % 2 == 1:
                s.place(hat, T(b, k * 0.5) + s.humanise(0.003), pan=0.35,
                        gain=dg * (0.09 if strain else 0.065))
        for k in range(16):
            s.place(shaker, T(b, k * 0.25) + s.humanise(0.004), pan=-0.4,
                    gain=dg * 0.05 * (1.0 if k % 4 == 2 else 0.55))
        if strain:
            for sb in (1, 3):
                s.place(clap, T(b, sb), pan=0.05, gain=dg * (0.17), rev=0.45)
                s.place(snare, T(b, sb), gain=dg * (0.1), rev=0.3)
        if full and b % 2 == 1:
            s.place(ohat, T(b, 3.5), pan=0.35, gain=dg * (0.06), rev=0.2)
    for k, fb in enumerate((2.5, 3.0, 3.25, 3.5, 3.75)):
        s.place(snare, T(19, fb), gain=dg * (0.08 + 0.03 * k), rev=0.3)

    mix = s.mixdown(make_reverb_ir(4.0, 2.8, seed=72), make_delay_ir(0.75 * s.spb, 0.4, lp=3200))
    return master(mix, tail_fade=(T(33), 95.5))
