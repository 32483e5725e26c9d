"""The instruments and drums; each returns a mono signal starting at the
note-on.
"""
import numpy as np

from .synthesis import (
    SR, TWO_PI, bp_gain, envelope, fft_filter, fit, hp_gain, lp_gain, osc, pan_gains, slow_lfo,
    stft_filter)


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
