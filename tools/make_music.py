#!/usr/bin/env python3
"""Composes and renders the five music tracks of the game into sound/*.mp3.

Everything is synthesised with numpy: band-limited additive oscillators with a
moving low-pass, FM bells and electric piano, plucks, bass, noise drums, a
convolution reverb with a synthetic room and a ping-pong delay. Each track is
written out note by note below, mixed, brought to a common loudness, limited to
about -1 dBFS, dithered to 16 bit and encoded with `lame`.

All randomness comes from fixed seeds, so a re-run gives the same audio.

Run from the repository root:  /usr/bin/python3 tools/make_music.py
Optional arguments name the tracks to redo, e.g. `menu gotrack`.
`--check` only measures the existing MP3 files.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import wave

import numpy as np

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, 'sound')
SR = 44100
TWO_PI = 2.0 * np.pi

TARGET_LUFS = -13.5       # common loudness of all tracks
CEILING_DB = -1.3         # limiter ceiling; MP3 decoding adds a few tenths

# --------------------------------------------------------------------------
# Pitch helpers

_STEPS = {'C': 0, 'D': 2, 'E': 4, 'F': 5, 'G': 7, 'A': 9, 'B': 11}


def midi(name):
    """'C#4' / 'Bb2' / 'A4' -> MIDI note number."""
    letter = name[0].upper()
    rest = name[1:]
    acc = 0
    while rest and rest[0] in '#b':
        acc += 1 if rest[0] == '#' else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + _STEPS[letter] + acc


def hz(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


def notes(s):
    return [midi(x) for x in s.split()]


def melody(text):
    """'E5:1.5 A5:.5 | r:2 C6:2' -> [(beat, dur, midi)], beats counted from 0.

    Durations are in beats; 'r' is a rest; '|' marks bar lines and is checked
    so that every bar adds up to whole bars of four beats.
    """
    out, pos = [], 0.0
    for bar in text.split('|'):
        start = pos
        for tok in bar.split():
            name, dur = tok.split(':')
            dur = float(dur)
            if name != 'r':
                out.append((pos, dur, [midi(n) for n in name.split('+')]))
            pos += dur
        if bar.strip():
            assert abs((pos - start) / 4.0 - round((pos - start) / 4.0)) < 1e-6 and pos > start, (text, bar)
    return out


# --------------------------------------------------------------------------
# Signal helpers

def next_fast_len(n):
    best = None
    p2 = 1
    while p2 < 2 * n:
        p3 = p2
        while p3 < 2 * n:
            p5 = p3
            while p5 < n:
                p5 *= 5
            if best is None or p5 < best:
                best = p5
            p3 *= 3
        p2 *= 2
    return best


def fft_conv(x, h):
    """Linear convolution of x with h, truncated to len(x)."""
    n = next_fast_len(len(x) + len(h))
    y = np.fft.irfft(np.fft.rfft(x, n) * np.fft.rfft(h, n), n)
    return y[:len(x)]


def fft_filter(x, gain_fn):
    """Zero-phase filter of a whole signal; gain_fn(freqs) -> magnitude."""
    n = next_fast_len(len(x) + 2048)
    bins = np.fft.rfft(x, n)
    f = np.fft.rfftfreq(n, 1.0 / SR)
    return np.fft.irfft(bins * gain_fn(f), n)[:len(x)]


def lp_gain(f, fc, order=2):
    return 1.0 / np.sqrt(1.0 + (f / fc) ** (2 * order))


def hp_gain(f, fc, order=2):
    r = (np.maximum(f, 1e-3) / fc) ** (2 * order)
    return np.sqrt(r / (1.0 + r))


def bp_gain(f, lo, hi, order=2):
    return hp_gain(f, lo, order) * lp_gain(f, hi, order)


def stft_filter(x, gain_fn, size=2048):
    """Time-varying filter: gain_fn(t_seconds, freqs) -> magnitude per frame."""
    hop = size // 4
    win = np.hanning(size + 1)[:-1]
    pad = np.concatenate([np.zeros(size), x, np.zeros(size)])
    nfr = (len(pad) - size) // hop + 1
    idx = np.arange(size)[None, :] + hop * np.arange(nfr)[:, None]
    frames = pad[idx] * win
    bins = np.fft.rfft(frames, axis=1)
    freqs = np.fft.rfftfreq(size, 1.0 / SR)
    tcen = (hop * np.arange(nfr) + size / 2 - size) / SR
    bins *= gain_fn(tcen[:, None], freqs[None, :])
    frames = np.fft.irfft(bins, size, axis=1) * win
    out = np.zeros(len(pad) + size)
    for j in range(nfr):
        out[hop * j:hop * j + size] += frames[j]
    out /= np.sum(win ** 2) / hop
    return out[size:size + len(x)]


def envelope(gate, a=0.01, d=0.2, s=0.7, r=0.3, curve=3.0):
    """ADSR envelope of length gate + release (seconds)."""
    ng = max(1, int(gate * SR))
    nr = max(1, int(r * SR))
    t = np.arange(ng + nr) / SR
    att = np.clip(t / a, 0.0, 1.0) if a > 0 else np.ones_like(t)
    att = np.sin(att * np.pi / 2) ** 2
    dec = s + (1.0 - s) * np.exp(-np.maximum(t - a, 0.0) / max(d, 1e-4))
    e = att * dec
    lvl = e[ng - 1]
    x = np.arange(nr) / nr
    e[ng:] = lvl * (1.0 - x) ** curve
    return e


def fit(x, n):
    """Crop or zero-pad x to n samples."""
    if len(x) >= n:
        return x[:n]
    return np.concatenate([x, np.zeros(n - len(x))])


def pan_gains(p):
    a = (p + 1.0) * np.pi / 4.0
    return np.cos(a) * np.sqrt(2.0), np.sin(a) * np.sqrt(2.0)


def osc(freq, n, shape='saw', cutoff=None, order=2, res=0.0, phase0=0.0,
        fmod=None, kmax=90):
    """Band-limited additive oscillator.

    cutoff (Hz, scalar or per-sample array) shapes the harmonics like a
    low-pass of the given order; res adds a resonant bump at the cutoff.
    fmod is a per-sample relative frequency deviation (vibrato, drift).
    """
    if fmod is None:
        phase = phase0 + TWO_PI * freq * np.arange(n) / SR
        fmax = freq
    else:
        phase = phase0 + TWO_PI * freq * np.cumsum(1.0 + fmod) / SR
        fmax = freq * (1.0 + float(np.max(fmod)))
    z = np.exp(1j * phase).astype(np.complex64)
    kn = int(0.46 * SR / fmax)
    if shape == 'sine':
        kn = 1
    K = max(1, min(kmax, kn))
    if cutoff is not None:
        cmax = float(np.max(cutoff))
        K = max(1, min(K, int(np.ceil(3.2 * cmax / freq))))
        icut = (freq / np.asarray(cutoff, dtype=np.float64)).astype(np.float32)
    out = np.zeros(n, dtype=np.float32)
    zk = z.copy()
    for k in range(1, K + 1):
        if shape == 'saw':
            c = 1.0 / k
        elif shape == 'square':
            c = 1.0 / k if k % 2 else 0.0
        elif shape == 'tri':
            c = (1.0 / (k * k)) * (1 if (k // 2) % 2 == 0 else -1) if k % 2 else 0.0
        else:
            c = 1.0 if k == 1 else 0.0
        if c != 0.0:
            if cutoff is None:
                out += np.float32(c) * zk.imag
            else:
                x = icut * np.float32(k)
                x2 = x * x
                p = x2
                for _ in range(order - 1):
                    p = p * x2
                g = np.float32(c) / (1.0 + p)
                if res:
                    dx = (x - 1.0) * 6.0
                    g = g + np.float32(c * res) / (1.0 + dx * dx)
                out += g * zk.imag
        if k < K:
            zk *= z
    return out.astype(np.float64)


def slow_lfo(rng, n, rate=(0.05, 0.2), depth=1.0):
    """Smooth random-ish wobble from two incommensurate sines."""
    t = np.arange(n) / SR
    r1, r2 = rng.uniform(*rate, size=2)
    p1, p2 = rng.uniform(0, TWO_PI, size=2)
    return depth * 0.5 * (np.sin(TWO_PI * r1 * t + p1) + np.sin(TWO_PI * r2 * 1.37 * t + p2))


def automation(points, log=False):
    """Piecewise-linear automation: points [(seconds, value), ...]."""
    ts = np.array([p[0] for p in points], dtype=float)
    vs = np.array([p[1] for p in points], dtype=float)
    if log:
        vs = np.log(vs)
        return lambda t: np.exp(np.interp(t, ts, vs))
    return lambda t: np.interp(t, ts, vs)


# --------------------------------------------------------------------------
# Instruments (each returns a mono signal starting at the note-on)

def inst_pad(f, dur, rng, cut_fn, t0, shape='saw', attack=1.5, release=2.5,
             voices=3, detune=9.0, spread=0.7, res=0.15, order=2):
    """Detuned pad voice set; returns stereo (2, n). cut_fn(abs_time)."""
    n = int((dur + release) * SR)
    tt = t0 + np.arange(n) / SR
    cut = cut_fn(tt)
    env = fit(envelope(dur, a=attack, d=2.0, s=0.85, r=release, curve=2.0), n)
    out = np.zeros((2, n))
    for v in range(voices):
        pos = 0.0 if voices == 1 else (2.0 * v / (voices - 1) - 1.0)
        cents = detune * pos
        fm = slow_lfo(rng, n, (0.08, 0.25), 0.0012) + (2 ** (cents / 1200.0) - 1.0)
        sig = osc(f, n, shape, cut, order=order, res=res,
                  phase0=rng.uniform(0, TWO_PI), fmod=fm)
        gl, gr = pan_gains(spread * pos)
        out[0] += sig * gl
        out[1] += sig * gr
    return out * env / voices


def inst_glass(f, dur, rng, attack=1.0, release=2.0):
    """Soft sine-ish pad with a little second harmonic and chorus."""
    n = int((dur + release) * SR)
    env = fit(envelope(dur, a=attack, d=1.0, s=0.9, r=release, curve=2.0), n)
    out = np.zeros((2, n))
    for ch, det in enumerate((-4.0, 4.0)):
        fm = slow_lfo(rng, n, (0.1, 0.3), 0.0015) + (2 ** (det / 1200.0) - 1.0)
        ph = rng.uniform(0, TWO_PI) + TWO_PI * f * np.cumsum(1.0 + fm) / SR
        out[ch] = np.sin(ph) + 0.18 * np.sin(2 * ph) + 0.06 * np.sin(3 * ph)
    return out * env


def inst_bell(f, rng, decay=2.2, ratio=3.5, index=2.2, bright=1.0, length=None):
    """FM bell: inharmonic modulator, decaying index, a shimmer partial."""
    length = length or min(decay * 3.0, 9.0)
    n = int(length * SR)
    t = np.arange(n) / SR
    idx = (index * bright) * np.exp(-t / 0.45) + 0.25 * bright
    # keep the FM sidebands under Nyquist
    idx = np.minimum(idx, max(0.2, (0.45 * SR / f - 1.0) / (ratio * 1.2)))
    ph = rng.uniform(0, TWO_PI)
    y = np.sin(TWO_PI * f * t + ph + idx * np.sin(TWO_PI * f * ratio * t))
    y *= np.exp(-t / decay)
    shim = 0.22 * np.sin(TWO_PI * f * 2.756 * t) * np.exp(-t / (decay * 0.25)) if f * 2.756 < 18000 else 0
    body = 0.35 * np.sin(TWO_PI * f * 0.5 * t + 0.7 * np.sin(TWO_PI * f * t)) * np.exp(-t / (decay * 0.6))
    att = 1.0 - np.exp(-t / 0.0015)
    fade = np.ones(n)
    k = int(0.05 * SR)
    fade[-k:] = np.linspace(1, 0, k)
    return (y + shim + body) * att * fade


def inst_ep(f, dur, rng, vel=1.0, release=0.6):
    """FM electric piano: 1:1 modulator for body, a high tine at the attack."""
    n = int((dur + release) * SR)
    t = np.arange(n) / SR
    idx = (0.9 + 1.2 * vel) * np.exp(-t / 0.35) + 0.25
    ph = rng.uniform(0, TWO_PI)
    y = np.sin(TWO_PI * f * t + ph + idx * np.sin(TWO_PI * f * t))
    if f * 7.0 < 18000:
        y += 0.12 * vel * np.sin(TWO_PI * f * 7.0 * t) * np.exp(-t / 0.05)
    dec = np.exp(-t / (1.6 * (261.0 / f) ** 0.3))
    env = fit(envelope(dur, a=0.002, d=10.0, s=1.0, r=release, curve=2.0), n)
    trem = 1.0 + 0.08 * np.sin(TWO_PI * 4.8 * t + ph)
    return y * dec * env * trem


def inst_pluck(f, dur, rng, cut0=500.0, cut_env=3500.0, cdecay=0.12, shape='saw',
               res=0.35, release=0.2, sustain=0.25):
    n = int((dur + release) * SR)
    t = np.arange(n) / SR
    cutoff = cut0 + cut_env * np.exp(-t / cdecay)
    sig = osc(f, n, shape, cutoff, order=2, res=res, phase0=rng.uniform(0, TWO_PI))
    env = fit(envelope(dur, a=0.002, d=0.18, s=sustain, r=release, curve=2.0), n)
    return sig * env


def inst_bass(f, dur, rng, cut=420.0, env_amt=700.0, sub=0.8, release=0.15):
    n = int((dur + release) * SR)
    t = np.arange(n) / SR
    cutoff = cut + env_amt * np.exp(-t / 0.09)
    sig = 0.55 * osc(f, n, 'saw', cutoff, order=2, res=0.2, phase0=0.0)
    sig += sub * np.sin(TWO_PI * f * t)
    env = fit(envelope(dur, a=0.006, d=0.35, s=0.75, r=release, curve=2.0), n)
    return sig * env


def inst_lead(f, dur, rng, bright=2200.0, vib=0.0045, attack=0.04, release=0.5,
              breath=0.0):
    """Soft synth lead: saw + triangle, delayed vibrato, gentle filter bloom."""
    n = int((dur + release) * SR)
    t = np.arange(n) / SR
    vdepth = vib * np.clip((t - 0.25) / 0.5, 0.0, 1.0)
    fm = vdepth * np.sin(TWO_PI * 5.1 * t + rng.uniform(0, TWO_PI))
    cutoff = bright * (1.0 + 0.6 * np.exp(-t / 0.2)) * (1.0 + 0.15 * np.sin(TWO_PI * 0.7 * t))
    ph0 = rng.uniform(0, TWO_PI)
    sig = 0.45 * osc(f, n, 'saw', cutoff, order=2, res=0.25, phase0=ph0, fmod=fm)
    sig += 0.8 * osc(f, n, 'tri', None, phase0=ph0, fmod=fm, kmax=15)
    if breath:
        noise = fft_filter(rng.standard_normal(n), lambda fr: bp_gain(fr, f * 1.5, f * 5.0))
        sig += breath * noise * np.exp(-t / 0.08)
    env = fit(envelope(dur, a=attack, d=0.4, s=0.8, r=release, curve=2.0), n)
    return sig * env


# --- drums ------------------------------------------------------------------

def tail(y, sec=0.03):
    """Fade the last few milliseconds of a one-shot to zero."""
    k = min(len(y), int(sec * SR))
    y[-k:] *= np.linspace(1.0, 0.0, k) ** 2
    return y


def drum_kick(rng, f0=120.0, f1=44.0, decay=0.32, click=0.12):
    n = int(1.2 * SR)
    t = np.arange(n) / SR
    f = f1 + (f0 - f1) * np.exp(-t / 0.04)
    y = np.sin(TWO_PI * np.cumsum(f) / SR) * np.exp(-t / decay)
    y *= 1.0 - np.exp(-t / 0.0015)
    c = fft_filter(rng.standard_normal(n), lambda fr: bp_gain(fr, 1000, 5000, 1))
    y += click * c * np.exp(-t / 0.004)
    return tail(y)


def drum_snare(rng, tone=190.0, decay=0.16, body=0.5):
    n = int(0.6 * SR)
    t = np.arange(n) / SR
    nz = fft_filter(rng.standard_normal(n), lambda fr: bp_gain(fr, 1200, 9000, 2))
    nz = nz / np.max(np.abs(nz))
    y = nz * np.exp(-t / decay)
    y += body * (np.sin(TWO_PI * tone * t) + 0.5 * np.sin(TWO_PI * tone * 1.7 * t)) * np.exp(-t / 0.05)
    return tail(y * (1.0 - np.exp(-t / 0.001)))


def drum_clap(rng):
    n = int(0.7 * SR)
    t = np.arange(n) / SR
    nz = fft_filter(rng.standard_normal(n), lambda fr: bp_gain(fr, 900, 3500, 2))
    nz = nz / np.max(np.abs(nz))
    env = np.zeros(n)
    for k, off in enumerate((0.0, 0.011, 0.022, 0.031)):
        tt = t - off
        e = np.where(tt >= 0, np.exp(-np.maximum(tt, 0) / (0.006 if k < 3 else 0.18)), 0.0)
        env = np.maximum(env, e * (0.8 if k < 3 else 1.0))
    return tail(nz * env)


def drum_hat(rng, decay=0.045, open_=False):
    n = int((0.9 if open_ else 0.25) * SR)
    t = np.arange(n) / SR
    metal = np.zeros(n)
    for fr in (205.3, 304.4, 369.6, 522.7, 540.0, 800.0):
        metal += np.sign(np.sin(TWO_PI * fr * 1.6 * t + rng.uniform(0, TWO_PI)))
    nz = rng.standard_normal(n)
    y = 0.35 * metal / 6.0 + nz
    y = fft_filter(y, lambda fr: hp_gain(fr, 7500, 3) * lp_gain(fr, 16000, 1))
    y /= np.max(np.abs(y))
    return tail(y * np.exp(-t / (0.35 if open_ else decay)) * (1.0 - np.exp(-t / 0.0008)))


def drum_shaker(rng):
    n = int(0.18 * SR)
    t = np.arange(n) / SR
    y = fft_filter(rng.standard_normal(n), lambda fr: bp_gain(fr, 5000, 12000, 2))
    y /= np.max(np.abs(y))
    env = (1.0 - np.exp(-t / 0.012)) * np.exp(-t / 0.035)
    return tail(y * env)


def drum_crash(rng, decay=1.6):
    n = int(decay * 3.2 * SR)
    t = np.arange(n) / SR
    metal = np.zeros(n)
    for fr in (263.0, 400.0, 421.0, 474.0, 587.0, 845.0, 1127.0):
        metal += np.sin(TWO_PI * fr * 2.3 * t + 3.0 * np.sin(TWO_PI * fr * 3.1 * t))
    y = rng.standard_normal(n) + 0.4 * metal / 7.0
    y = fft_filter(y, lambda fr: hp_gain(fr, 3200, 2) * lp_gain(fr, 14000, 1))
    y /= np.max(np.abs(y))
    return tail(y * np.exp(-t / decay) * (1.0 - np.exp(-t / 0.002)))


def drum_tick(rng):
    """Soft woody tick for quiet pulses."""
    n = int(0.12 * SR)
    t = np.arange(n) / SR
    y = np.sin(TWO_PI * 1650 * t) * np.exp(-t / 0.012) + 0.6 * np.sin(TWO_PI * 820 * t) * np.exp(-t / 0.02)
    return tail(y * (1.0 - np.exp(-t / 0.0005)))


def riser(rng, length, f_lo=300.0, f_hi=6000.0):
    """Filtered noise swelling up over `length` seconds."""
    n = int(length * SR)
    t = np.arange(n) / SR
    nz = rng.standard_normal(n)

    def g(tc, fr):
        x = np.clip(tc / length, 0, 1)
        fc = f_lo * (f_hi / f_lo) ** x
        d = np.log2(np.maximum(fr, 1.0) / fc)
        return np.exp(-d * d / 0.5)
    y = stft_filter(nz, g)
    y /= np.max(np.abs(y)) + 1e-9
    return y * (t / length) ** 2


# --------------------------------------------------------------------------
# Effects

def make_reverb_ir(seconds, rt60, seed, bright=1.0, predelay=0.018):
    """Stereo synthetic room: banded decaying noise plus early reflections."""
    rng = np.random.default_rng(seed)
    n = int(seconds * SR)
    t = np.arange(n) / SR
    edges = [0, 200, 800, 2500, 6000, 12000, SR / 2]
    rts = [rt60 * 1.15, rt60, rt60 * 0.85, rt60 * 0.6 * bright, rt60 * 0.38 * bright,
           rt60 * 0.2 * bright]
    irs = []
    for ch in range(2):
        nz = rng.standard_normal(n)
        bins = np.fft.rfft(nz)
        fr = np.fft.rfftfreq(n, 1.0 / SR)
        ir = np.zeros(n)
        for b in range(len(rts)):
            lo, hi = edges[b], edges[b + 1]
            m = bp_gain(fr, max(lo, 1.0), hi, 3) if lo > 0 else lp_gain(fr, hi, 3)
            band = np.fft.irfft(bins * m, n)
            ir += band * np.exp(-6.91 * t / rts[b])
        ir *= 1.0 - np.exp(-t / 0.012)       # soft onset of the diffuse tail
        er = np.zeros(n)
        for _ in range(14):
            d = rng.uniform(0.004, 0.075)
            er[int(d * SR)] += rng.uniform(-1, 1) * np.exp(-d / 0.05) * 6.0
        ir += fft_filter(er, lambda f: lp_gain(f, 7000, 1))
        pd = int(predelay * SR)
        ir = np.concatenate([np.zeros(pd), ir])[:n]
        ir[-int(0.2 * SR):] *= np.linspace(1, 0, int(0.2 * SR))
        irs.append(ir)
    irs = np.array(irs)
    irs /= np.sqrt(np.sum(irs ** 2) / 2.0)
    return irs


def make_delay_ir(time_s, feedback, taps=7, lp=3500.0, width=1.0):
    """Ping-pong echoes, each repeat darker than the one before."""
    d = int(time_s * SR)
    n = d * (taps + 1) + 256
    nfft = next_fast_len(2 * n)
    fr = np.fft.rfftfreq(nfft, 1.0 / SR)
    lp1 = lp_gain(fr, lp, 1)
    w = TWO_PI * fr / SR
    H = [np.zeros(len(fr), dtype=complex), np.zeros(len(fr), dtype=complex)]
    for k in range(1, taps + 1):
        g = feedback ** (k - 1)
        side = (k - 1) % 2
        H[side] += g * lp1 ** k * np.exp(-1j * w * (k * d))
        H[1 - side] += (1.0 - width) * g * lp1 ** k * np.exp(-1j * w * (k * d))
    irs = np.array([np.fft.irfft(h, nfft)[:n] for h in H])
    return irs


# --------------------------------------------------------------------------
# Song: buffers, placement, mix-down

class Song:
    def __init__(self, name, bpm, length_s, seed):
        self.name = name
        self.bpm = bpm
        self.spb = 60.0 / bpm
        self.n = int(length_s * SR)
        self.dry = np.zeros((2, self.n))
        self.rev = np.zeros((2, self.n))
        self.dly = np.zeros((2, self.n))
        self.rng = np.random.default_rng(seed)

    def t(self, bar, beat=0.0):
        return (bar * 4.0 + beat) * self.spb

    def place(self, sig, t0, pan=0.0, gain=1.0, rev=0.0, dly=0.0):
        i0 = int(round(t0 * SR))
        if sig.ndim == 1:
            gl, gr = pan_gains(pan)
            sig = np.array([sig * gl, sig * gr])
        elif pan:
            gl, gr = pan_gains(pan)
            sig = np.array([sig[0] * gl, sig[1] * gr])
        if i0 < 0:
            sig = sig[:, -i0:]
            i0 = 0
        m = min(sig.shape[1], self.n - i0)
        if m <= 0:
            return
        s = sig[:, :m] * gain
        self.dry[:, i0:i0 + m] += s
        if rev:
            self.rev[:, i0:i0 + m] += s * rev
        if dly:
            self.dly[:, i0:i0 + m] += s * dly

    def humanise(self, amount=0.006):
        return float(self.rng.normal(0.0, amount))

    def mixdown(self, rev_ir, delay_ir, delay_to_rev=0.35, hp=28.0):
        mono_dly = 0.5 * (self.dly[0] + self.dly[1])
        wet_d = np.array([fft_conv(mono_dly, delay_ir[0]), fft_conv(mono_dly, delay_ir[1])])
        rin = self.rev + delay_to_rev * wet_d
        wet_r = np.array([fft_conv(rin[0], rev_ir[0]), fft_conv(rin[1], rev_ir[1])])
        mix = self.dry + wet_d + wet_r
        # clear rumble and DC; keep the very top gentle
        mix = np.array([fft_filter(ch, lambda f: hp_gain(f, hp, 2) * lp_gain(f, 17500, 2))
                        for ch in mix])
        return mix


# --------------------------------------------------------------------------
# Mastering

def k_weighted_loudness(x, region=None):
    """Gated programme loudness in LUFS (BS.1770 style, frequency-domain K filter)."""
    if region is not None:
        x = x[:, int(region[0] * SR):int(region[1] * SR)]

    def kw(f):
        shelf = 10 ** ((4.0 / 20.0) * (1.0 / (1.0 + (1500.0 / np.maximum(f, 1.0)) ** 2)))
        return shelf * hp_gain(f, 38.0, 2)
    y = np.array([fft_filter(ch, kw) for ch in x])
    blk, hop = int(0.4 * SR), int(0.1 * SR)
    cs = np.concatenate([[0.0], np.cumsum(np.sum(y ** 2, axis=0))])
    starts = np.arange(0, y.shape[1] - blk, hop)
    z = (cs[starts + blk] - cs[starts]) / blk
    lk = -0.691 + 10 * np.log10(z + 1e-20)
    z = z[lk > -70]
    rel = -0.691 + 10 * np.log10(np.mean(z)) - 10
    lk = -0.691 + 10 * np.log10(z)
    return -0.691 + 10 * np.log10(np.mean(z[lk > rel]))


def sliding_min(x, w):
    """out[i] = min(x[i:i+w])  (van Herk / Gil-Werman, vectorised)."""
    n = len(x)
    pad = (-(n + w)) % w + w
    xp = np.concatenate([x, np.ones(pad + w)])
    xp = xp[:((len(xp)) // w) * w]
    blocks = xp.reshape(-1, w)
    pre = np.minimum.accumulate(blocks, axis=1).ravel()
    suf = np.minimum.accumulate(blocks[:, ::-1], axis=1)[:, ::-1].ravel()
    return np.minimum(suf[:n], pre[w - 1:w - 1 + n])


def moving_avg(x, w):
    """out[i] = mean(x[i-w+1 .. i]), ones before the start."""
    xp = np.concatenate([np.ones(w - 1), x])
    cs = np.concatenate([[0.0], np.cumsum(xp)])
    return (cs[w:] - cs[:-w])[:len(x)] / w


def limiter(x, ceiling, look=0.012):
    """Look-ahead peak limiter; the gain never lets a sample over the ceiling."""
    peak = np.max(np.abs(x), axis=0)
    need = np.minimum(1.0, ceiling / np.maximum(peak, 1e-12))
    w = int(look * SR)
    g = moving_avg(sliding_min(need, w), w)
    # second, slower stage smooths the release
    w2 = int(0.06 * SR)
    g2 = moving_avg(sliding_min(g, w2), w2)
    return x * g2, float(20 * np.log10(np.min(g2)))


def master(mix, loud_region=None, tail_fade=None, silence_from=None):
    lufs = k_weighted_loudness(mix, loud_region)
    mix = mix * 10 ** ((TARGET_LUFS - lufs) / 20.0)
    ceiling = 10 ** (CEILING_DB / 20.0)
    mix, gr = limiter(mix, ceiling)
    n = mix.shape[1]
    # short fade at both ends so the file never starts or stops on a click
    a = int(0.004 * SR)
    mix[:, :a] *= np.linspace(0, 1, a)
    if tail_fade:
        t0, t1 = tail_fade
        i0, i1 = int(t0 * SR), min(n, int(t1 * SR))
        mix[:, i0:i1] *= np.linspace(1, 0, i1 - i0) ** 2
        mix[:, i1:] = 0.0
    mix[:, -a:] *= np.linspace(1, 0, a)
    if silence_from is not None:
        mix[:, int(silence_from * SR):] = 0.0
    return mix, lufs, gr


def write_wav(path, mix, seed):
    rng = np.random.default_rng(seed)
    tpdf = (rng.random(mix.shape) - rng.random(mix.shape))
    q = np.round(mix * 32767.0 + tpdf)
    q[mix == 0.0] = 0.0          # keep deliberate silence truly silent
    q = np.clip(q, -32767, 32767).astype('<i2')
    with wave.open(path, 'wb') as wf:
        wf.setnchannels(2)
        wf.setsampwidth(2)
        wf.setframerate(SR)
        wf.writeframes(q.T.copy().tobytes())


def read_wav(path):
    with wave.open(path, 'rb') as wf:
        ch = wf.getnchannels()
        sr = wf.getframerate()
        data = np.frombuffer(wf.readframes(wf.getnframes()), dtype='<i2')
    return data.reshape(-1, ch).T.astype(np.float64) / 32768.0, sr


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


TRACKS = {
    'into': track_into,
    'menu': track_menu,
    'intoeng': track_intoeng,
    'trackgp': track_trackgp,
    'gotrack': track_gotrack,
}


# --------------------------------------------------------------------------
# Encoding and checks

def encode(name, mix, tmp):
    wav = os.path.join(tmp, name + '.wav')
    write_wav(wav, mix, seed=hash_name(name))
    out = os.path.join(OUT_DIR, name + '.mp3')
    subprocess.run(['lame', '--quiet', '--noreplaygain', '-m', 'j', '-V', '4', '-q', '2',
                    '--resample', '44.1', wav, out], check=True)
    return out


def hash_name(name):
    return sum((i + 1) * ord(c) for i, c in enumerate(name))


def check(path, tmp):
    wav = os.path.join(tmp, 'check.wav')
    subprocess.run(['lame', '--quiet', '--decode', path, wav], check=True)
    x, sr = read_wav(wav)
    dur = x.shape[1] / sr
    peak = 20 * np.log10(np.max(np.abs(x)) + 1e-12)
    rms = 20 * np.log10(np.sqrt(np.mean(x ** 2)) + 1e-12)
    dc = float(np.max(np.abs(np.mean(x, axis=1))))
    lufs = k_weighted_loudness(x)
    # stretches quieter than -60 dBFS (50 ms windows): the final one is the
    # deliberate ending, any other is a gap
    w = int(0.05 * sr)
    nb = x.shape[1] // w
    e = np.sqrt(np.mean(x[:, :nb * w].reshape(2, nb, w) ** 2, axis=(0, 2)))
    quiet = e < 10 ** (-60 / 20)
    loud_idx = np.nonzero(~quiet)[0]
    first_tail = (loud_idx[-1] + 1) * w / sr if len(loud_idx) else 0.0
    runs, r = 0, 0
    for q in quiet[:loud_idx[-1] + 1] if len(loud_idx) else []:
        r = r + 1 if q else 0
        runs = max(runs, r)
    # share of energy in the single strongest frequency line
    mono = x.mean(axis=0)
    bins = np.abs(np.fft.rfft(mono)) ** 2
    top = float(np.max(bins) / np.sum(bins))
    clip = int(np.sum(np.abs(x) >= 0.9999))
    size = os.path.getsize(path)
    print(f'{os.path.basename(path):12s} {dur:6.1f} s {size / 1024:7.0f} KiB '
          f'{size * 8 / dur / 1000:5.0f} kbps  peak {peak:5.2f} dBFS  RMS {rms:6.1f} dBFS  '
          f'{lufs:6.1f} LUFS  DC {dc:.5f}  clipped {clip}  '
          f'silent gap {runs * w / sr:4.1f} s  '
          f'quiet from {first_tail:5.1f} s  '
          f'top line {100 * top:.2f}% of energy')
    return size


def main(argv):
    only_check = '--check' in argv
    names = [a for a in argv if not a.startswith('-')] or list(TRACKS)
    for nm in names:
        if nm not in TRACKS:
            sys.exit(f'unknown track {nm}; known: {" ".join(TRACKS)}')
    os.makedirs(OUT_DIR, exist_ok=True)
    tmp = tempfile.mkdtemp(prefix='music_')
    try:
        if not only_check:
            for nm in names:
                t0 = time.time()
                mix, lufs, gr = TRACKS[nm]()
                encode(nm, mix, tmp)
                print(f'{nm}: rendered in {time.time() - t0:.1f} s '
                      f'(raw loudness {lufs:.1f} LUFS, max limiting {gr:.1f} dB)', flush=True)
        total = 0
        for nm in names:
            total += check(os.path.join(OUT_DIR, nm + '.mp3'), tmp)
        print(f'total {total / 1024 / 1024:.2f} MiB')
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


if __name__ == '__main__':
    main(sys.argv[1:])
