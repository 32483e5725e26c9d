"""Names every track, renders the ones asked for, encodes them with lame and
measures the results.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy as np

from .synthesis import OUT_DIR
from .mixing import k_weighted_loudness, read_wav, write_wav
from .tracks_opening import track_into, track_menu
from .tracks_story import track_gotrack, track_intoeng, track_trackgp


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
