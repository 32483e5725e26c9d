"""Synthesis basics: pitch names, FFT filters, envelopes, band-limited
oscillators and automation curves.
"""
import os

import numpy as np


# The repository root: this file lives in tools/<package>/.
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
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
