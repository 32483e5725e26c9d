"""Effects (reverb and delay impulse responses), the Song mixing buffer and
mastering (loudness, limiter, dithered WAV output).
"""
import wave

import numpy as np

from .synthesis import (
    CEILING_DB, SR, TARGET_LUFS, TWO_PI, bp_gain, fft_conv, fft_filter, hp_gain, lp_gain,
    next_fast_len, pan_gains)


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
