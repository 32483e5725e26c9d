"""Tracks 3 to 5: the intro screen, the story screen and the game over.
"""
import numpy as np

from .synthesis import TWO_PI, automation, fft_filter, hz, lp_gain, melody, midi, notes
from .instruments import (
    drum_kick, drum_shaker, drum_tick, inst_bass, inst_bell, inst_ep, inst_glass, inst_lead,
    inst_pluck)
from .mixing import Song, make_delay_ir, make_reverb_ir, master
from .parts import play_bells, play_melody, play_pads


# --------------------------------------------------------------------------
# Track 3: intro screen. F major with lydian colour, 70 bpm. Electric piano
# broken chords over a warm pad, a sparse bell melody, no drums.

def track_intoeng():
    s = Song('intoeng', 70, 91.0, seed=3303)
    rng = s.rng
    C = notes
    T = s.t
    prog = [
        ('F3 A3 C4 E4', 'F2'), ('F3 G3 B3 D4', 'F2'), ('E3 G3 B3 D4', 'E2'), ('E3 G3 A3 C4', 'A1'),
        ('F3 A3 C4 E4', 'D2'), ('F3 A3 Bb3 D4', 'Bb1'), ('F3 G3 Bb3 D4', 'G1'), ('G3 Bb3 C4 F4', 'C2'),
        ('F3 A3 C4 E4', 'F2'), ('F3 G3 B3 D4', 'F2'), ('E3 G3 B3 D4', 'E2'), ('E3 G3 A3 C4', 'A1'),
        ('F3 A3 C4 E4', 'D2'), ('F3 A3 Bb3 D4', 'Bb1'), ('G3 C4 F4', 'C2'), ('G3 C4 E4', 'C2'),
        ('F3 A3 Bb3 D4', 'Bb1'), ('G3 C4 E4', 'Bb1'), ('E3 G3 A3 C4', 'A1'), ('F3 A3 C4 E4', 'D2'),
        ('F3 Bb3 D4 A4', 'G1'), ('Bb3 D4 F4 G4', 'C2'), ('E3 A3 C4 G4', 'F2'), ('E3 A3 C4 G4', 'F2'),
    ]
    chords = [(b, 0, 4.3, C(v)) for b, (v, _) in enumerate(prog[:-2])]
    chords.append((22, 0, 8, C(prog[22][0])))
    cut_pad = automation([(0, 500), (T(4), 1300), (T(12), 1600), (T(16), 2000), (T(20), 1500),
                          (T(24), 500)], log=True)
    play_pads(s, chords, lambda t: cut_pad(t) * (1.0 + 0.25 * np.sin(TWO_PI * t / 13.0)),
              gain=0.5, rev=0.6, attack=2.0, release=3.5, res=0.1, detune=7.0)
    # sustained round bass
    for b, (v, root) in enumerate(prog[:-1]):
        d = 4 if b < 22 else 8
        s.place(inst_bass(hz(midi(root)), d * s.spb - 0.1, rng, cut=220, env_amt=120, sub=1.0,
                          release=1.2), T(b), gain=0.33)

    # electric piano: broken chords in eighths, quarters in the last section
    pat8 = [0, 2, 1, 3, 2, 1, 3, 2]
    pat4 = [0, 1, 2, 3]
    for b, (v, root) in enumerate(prog[:-1]):
        ch = [m + 12 for m in C(v)]
        ch = sorted(ch + [ch[0] + 12]) if len(ch) == 3 else ch
        if b < 16:
            steps = [(i * 0.5, ch[pat8[i] % len(ch)]) for i in range(8)]
        elif b < 22:
            steps = [(i * 1.0, ch[pat4[i] % len(ch)]) for i in range(4)]
        else:
            steps = [(i * 0.35, m) for i, m in enumerate(ch)]
        if b == 0:
            steps = steps[2:]
        for i, (bt, m) in enumerate(steps):
            vel = 0.8 + 0.2 * (i == 0) + s.humanise(0.05)
            dur = 0.9 * s.spb if b < 22 else 6.0
            s.place(inst_ep(hz(m), dur, rng, vel=vel * 0.8, release=0.8),
                    T(b, bt) + s.humanise(0.006), pan=0.35 * np.sin(0.8 * i + b), gain=0.2 * vel,
                    rev=0.45, dly=0.2)
        # a low root on the first beat of each bar from the second section on
        if 8 <= b < 22:
            s.place(inst_ep(hz(midi(root) + 12), 2.2 * s.spb, rng, vel=0.6, release=1.0), T(b),
                    gain=0.14, rev=0.4)

    mel2 = melody('C6:2 A5:2 | B5:3 A5:1 | G5:2 E5:2 | C6:4 | D6:1 C6:1 A5:2 | D6:2 C6:2 |'
                  'G5:2 F5:2 | E5:4')
    mel3 = melody('D6:2 F6:2 | E6:4 | C6:2 E6:2 | D6:2 C6:1 A5:1 | A5:2 Bb5:1 A5:1 | G5:4 |'
                  'A5:4 | r:4')
    play_bells(s, 8, mel2, gain=0.2, pan=0.1, rev=0.6, dly=0.35, decay=2.6, index=1.4)
    play_melody(s, 8, mel2, inst_glass, gain=0.06, octave=-12, rev=0.5, attack=0.4, release=1.2)
    play_bells(s, 16, mel3, gain=0.22, pan=-0.1, rev=0.6, dly=0.35, decay=2.8, index=1.6)
    play_melody(s, 16, mel3, inst_lead, gain=0.09, octave=-12, rev=0.5, dly=0.2, bright=1300.0,
                attack=0.15, release=0.9)
    s.place(inst_bell(hz(midi('F5')), rng, decay=4.0, index=1.2), T(23, 0.5), gain=0.14, rev=0.7, dly=0.4)
    s.place(inst_bell(hz(midi('C6')), rng, decay=4.0, index=1.0), T(23, 2.5), gain=0.1, rev=0.7, dly=0.4)
    # a very soft shaker in the middle section only
    shaker = drum_shaker(rng)
    for b in range(9, 16):
        for k in range(8):
            if k % 2 == 1:
                s.place(shaker, T(b, k * 0.5) + s.humanise(0.005), pan=0.4, gain=0.025, rev=0.3)

    mix = s.mixdown(make_reverb_ir(5.0, 3.6, seed=73, bright=0.8),
                    make_delay_ir(1.5 * s.spb, 0.38, lp=2800))
    return master(mix, tail_fade=(T(23) + 2.0, 90.5))


# --------------------------------------------------------------------------
# Track 4: story screen. D dorian, 80 bpm, chords every six seconds.
# Meant for long reading: a soft pulse, a heartbeat kick in places, far-off
# bell phrases, nothing that asks for attention.

def track_trackgp():
    s = Song('trackgp', 80, 160.0, seed=4404)
    rng = s.rng
    C = notes
    T = s.t
    cycle = [
        ('D3 F3 A3 C4 E4', 'D2'), ('D3 F3 A3 C4', 'Bb1'), ('F3 A3 Bb3 D4', 'G1'),
        ('E3 G3 A3 D4', 'A1'), ('D3 F3 A3 C4 E4', 'D2'), ('F3 A3 C4 E4', 'C2'),
        ('E3 G3 C4 D4', 'E2'), ('F3 A3 D4 E4', 'Bb1'),
    ]
    prog = []
    for c in range(3):
        for i, (v, r) in enumerate(cycle):
            prog.append((c * 16 + i * 2, v, r))
    prog.append((48, 'D3 F3 A3 C4 E4', 'D2'))
    chords = [(b, 0, 8.2 if b < 48 else 12, C(v)) for b, v, _ in prog]
    cut_pad = automation([(0, 300), (T(4), 1100), (T(16), 1400), (T(24), 1800), (T(32), 1300),
                          (T(40), 1900), (T(48), 1200), (T(52) + 4, 300)], log=True)
    play_pads(s, chords, lambda t: cut_pad(t) * (1.0 + 0.3 * np.sin(TWO_PI * t / 21.0)),
              gain=0.5, rev=0.6, attack=3.0, release=4.0, res=0.2, detune=8.0)
    # second, hollow pad layer an octave up in the last cycle
    play_pads(s, [(b, bt, d, ch[-2:]) for b, bt, d, ch in chords if 32 <= b < 48],
              lambda t: 900.0 + 500.0 * np.sin(TWO_PI * t / 17.0) ** 2, gain=0.16, rev=0.7,
              shape='square', octave=12, attack=4.0, release=4.0, voices=2, detune=6.0)
    # sub bass: long held roots
    for b, v, root in prog:
        d = (8 if b < 48 else 12) * s.spb
        s.place(inst_bass(hz(midi(root)), d - 0.2, rng, cut=180, env_amt=80, sub=1.0, release=1.5),
                T(b), gain=0.32)

    # the pulse: muted eighths, darker and quieter at the edges
    pulse_lvl = automation([(0, 0.0), (T(2), 0.0), (T(4), 0.7), (T(16), 0.85), (T(28), 1.0),
                            (T(32), 0.75), (T(44), 0.9), (T(47), 0.5), (T(49), 0.0)])
    pulse_cut = automation([(0, 500), (T(8), 900), (T(20), 1500), (T(32), 800), (T(42), 1600),
                            (T(48), 600)], log=True)
    pat = [0, 2, 4, 2, 1, 3, 4, 3]
    for b, v, _ in prog:
        if b >= 48:
            continue
        ch = C(v)
        tones = [ch[0] + 12, ch[1] + 12, ch[2] + 12, ch[3] + 12, ch[0] + 24]
        for bar in (b, b + 1):
            for i in range(8):
                t0 = T(bar, i * 0.5)
                lvl = pulse_lvl(t0)
                if lvl <= 0.01:
                    continue
                cc = pulse_cut(t0)
                m = tones[pat[i] % len(tones)]
                s.place(inst_pluck(hz(m), 0.3 * s.spb, rng, cut0=cc * 0.5, cut_env=cc, cdecay=0.1,
                                   shape='saw', res=0.2, sustain=0.15),
                        t0, pan=0.4 * np.sin(i * 0.78 + bar * 0.3), gain=0.075 * lvl * (1.0 if i % 2 == 0 else 0.8),
                        rev=0.35, dly=0.45)

    # heartbeat kick and soft ticks in parts of the second and third cycles
    dg = 1.3    # drum level
    kick = drum_kick(rng, f0=90.0, f1=42.0, decay=0.4, click=0.02)
    kick = fft_filter(kick, lambda f: lp_gain(f, 900, 2))
    tick = drum_tick(rng)
    shaker = drum_shaker(rng)
    for b in list(range(16, 28)) + list(range(34, 46)):
        edge = min(1.0, (b - 15) / 3.0) if b < 28 else min(1.0, (b - 33) / 3.0)
        s.place(kick, T(b), gain=dg * (0.4 * edge))
        s.place(kick, T(b, 2.5), gain=dg * (0.22 * edge))
        s.place(tick, T(b, 3), pan=-0.3, gain=dg * (0.035 * edge), rev=0.5)
        for k in range(8):
            if k % 2 == 1:
                s.place(shaker, T(b, k * 0.5) + s.humanise(0.005), pan=0.4, gain=dg * (0.022 * edge), rev=0.3)

    # far-off bell phrases
    phrases = [
        (5, 'G5:1 A5:1 D6:2 | E6:4'), (11, 'F5:1 A5:1 C6:2 | E5:4'),
        (19, 'D6:1.5 C6:.5 A5:2 | G5:4'), (25, 'C6:1 D6:1 F6:2 | E6:4'),
        (29, 'A5:2 G5:2 | D5:4'), (37, 'Bb5:1 D6:1 F6:2 | E6:2 D6:2'),
        (43, 'C6:1 A5:1 F5:2 | G5:4'), (49, 'D6:2 A5:2 | E5:4'),
    ]
    for b, ph in phrases:
        play_bells(s, b, melody(ph), gain=0.095, pan=0.25 * np.sin(b), rev=0.7, dly=0.45,
                   decay=3.0, index=1.2, jitter=0.01)
    for b, m in ((8, 'A5'), (24, 'E6'), (40, 'C6'), (48, 'A5')):
        s.place(inst_glass(hz(midi(m)), 9.0, rng, attack=3.0, release=4.0), T(b), gain=0.04, rev=0.7)

    mix = s.mixdown(make_reverb_ir(5.0, 3.8, seed=74, bright=0.8),
                    make_delay_ir(1.5 * s.spb, 0.45, lp=2500))
    return master(mix, tail_fade=(T(50), 159.5))


# --------------------------------------------------------------------------
# Track 5: game over. C minor, 56 bpm. A slow lament over dark chords,
# settling on C minor and dying away into silence.

def track_gotrack():
    s = Song('gotrack', 56, 67.0, seed=5505)
    rng = s.rng
    C = notes
    T = s.t
    prog = [
        ('Eb3 G3 Bb3 D4', 'C2'), ('Eb3 G3 Ab3 C4', 'Ab1'), ('Ab3 C4 Eb4 G4', 'F1'),
        [('G3 C4 D4', 'G1'), ('G3 B3 D4', 'G1')],
        ('G3 Bb3 D4 Eb4', 'C2'), ('G3 Bb3 Eb4', 'Bb1'), ('G3 C4 Eb4', 'Ab1'), ('F3 Ab3 C4', 'Db2'),
        ('Ab3 C4 Eb4 G4', 'F1'), ('G3 C4 Eb4', 'Ab1'), ('G3 C4 D4', 'G1'), ('F3 B3 D4 Ab4', 'G1'),
        ('G3 C4 D4 Eb4', 'C2'),
    ]
    chords, bass = [], []
    for b, item in enumerate(prog):
        if isinstance(item, list):
            for k, (v, r) in enumerate(item):
                chords.append((b, 2 * k, 2.2, C(v)))
            bass.append((b, 4, item[0][1]))
        elif b < 12:
            chords.append((b, 0, 4.2, C(item[0])))
            bass.append((b, 4, item[1]))
        else:
            chords.append((b, 0, 7.5, C(item[0])))
            bass.append((b, 7.5, item[1]))
    cut_pad = automation([(0, 400), (T(2), 1000), (T(8), 1400), (T(11), 1100), (T(13), 700),
                          (T(15), 250)], log=True)
    play_pads(s, chords, lambda t: cut_pad(t) * (1.0 + 0.2 * np.sin(TWO_PI * t / 11.0)),
              gain=0.55, rev=0.65, attack=2.2, release=3.5, res=0.1, detune=6.0)
    for b, nb, root in bass:
        s.place(inst_bass(hz(midi(root)), nb * s.spb - 0.1, rng, cut=200, env_amt=60, sub=1.0,
                          release=1.8), T(b), gain=0.34)
    # a low drone on C that swells and fades
    drone = inst_glass(hz(midi('C2')), 56.0, rng, attack=6.0, release=8.0)
    s.place(drone * np.array([1.0, 1.0])[:, None], 0.0, gain=0.05, rev=0.4)

    # electric piano: slow broken chords in quarters
    for b, item in enumerate(prog[:13]):
        v = item[0][0] if isinstance(item, list) else item[0]
        ch = [m + 12 for m in C(v)]
        steps = [0, 1, 2, 1] if b < 12 else [0, 1, 2]
        for i, idx in enumerate(steps):
            if b == 0 and i == 0:
                continue
            if isinstance(item, list) and i >= 2:
                ch = [m + 12 for m in C(item[1][0])]
            m = ch[idx % len(ch)]
            vel = 0.7 + 0.15 * (i == 0) + s.humanise(0.04)
            dur = 0.95 * s.spb if b < 12 else 5.0
            s.place(inst_ep(hz(m), dur, rng, vel=vel * 0.7, release=1.0), T(b, i) + s.humanise(0.01),
                    pan=0.3 * np.sin(i + b * 0.5), gain=0.17 * vel, rev=0.55, dly=0.25)

    lament = melody('G5:2 Eb5:1 D5:1 | C5:3 Eb5:1 | Ab5:2 G5:1 F5:1 | C5:2 B4:2 |'
                    'Eb5:2 G5:1 Bb5:1 | G5:3 F5:1 | Eb5:2 C5:2 | F5:3 Eb5:1 |'
                    'C5:2 Ab4:2 | G5:4 | F5:2 D5:2 | B4:2 D5:1 F5:1 | Eb5:4 | C5:4')
    play_melody(s, 0, lament, inst_lead, gain=0.27, rev=0.6, dly=0.35, bright=1400.0,
                attack=0.12, release=1.4, vib=0.006)
    play_bells(s, 0, [(bt, d, [m[0] + 12]) for bt, d, m in lament if bt % 8 == 0],
               gain=0.08, pan=-0.3, rev=0.7, dly=0.5, decay=3.5, index=1.0, jitter=0.01)

    mix = s.mixdown(make_reverb_ir(6.0, 4.2, seed=75, bright=0.7),
                    make_delay_ir(1.0 * s.spb, 0.4, lp=2200))
    return master(mix, tail_fade=(T(13) + 1.0, 64.5), silence_from=64.5)
