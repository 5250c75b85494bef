#!/usr/bin/env python3
"""Synthesises the program's default event sounds into data/.

boing.wav     a new note: a short springy tone
recycle.wav   a note deleted: a soft falling rustle
BIPECOMP.WAV  a note received: two rising beeps

Each is mono 16-bit PCM at 22050 Hz and shorter than a second. The output depends on
nothing but this script (the noise generator has a fixed seed), so running it again
gives the same bytes. Usage: scripts/make-sounds.py [output folder]
"""

import math
import random
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def envelope(t, length, attack=0.005, release=0.02):
    """A gain of 1 with short ramps at both ends, so no sound starts or stops with a click."""
    if t < attack:
        return t / attack
    if t > length - release:
        return max(0.0, (length - t) / release)
    return 1.0


def boing():
    length = 0.6
    samples = []
    phase = 0.0
    for i in range(int(RATE * length)):
        t = i / RATE
        # A spring: the pitch wobbles around 330 Hz and settles while the sound fades.
        freq = 330.0 + 140.0 * math.sin(2 * math.pi * 11.0 * t) * math.exp(-4.0 * t)
        phase += 2 * math.pi * freq / RATE
        tone = math.sin(phase) + 0.25 * math.sin(2 * phase)
        samples.append(0.45 * tone * math.exp(-5.0 * t) * envelope(t, length))
    return samples


def recycle():
    length = 0.5
    rng = random.Random(7801)
    samples = []
    low = 0.0
    for i in range(int(RATE * length)):
        t = i / RATE
        # Low-pass filtered noise whose brightness falls over time, with a few soft
        # crackles on top: paper going into a bin.
        cutoff = 0.35 * math.exp(-3.0 * t) + 0.03
        low += cutoff * (rng.uniform(-1.0, 1.0) - low)
        crackle = rng.uniform(-1.0, 1.0) * 0.6 if rng.random() < 0.004 else 0.0
        gain = math.sin(math.pi * min(1.0, t / length)) ** 0.7
        samples.append((1.6 * low + crackle * 0.3) * 0.5 * gain * envelope(t, length))
    return samples


def bipecomp():
    beep = 0.11
    gap = 0.05
    samples = []
    for freq in (880.0, 1320.0):
        for i in range(int(RATE * beep)):
            t = i / RATE
            tone = math.sin(2 * math.pi * freq * t) + 0.15 * math.sin(2 * math.pi * 2 * freq * t)
            samples.append(0.35 * tone * envelope(t, beep, attack=0.004, release=0.03))
        samples.extend([0.0] * int(RATE * gap))
    return samples


def write(path, samples):
    frames = b"".join(
        struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples
    )
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data"
    folder.mkdir(parents=True, exist_ok=True)
    for name, make in (("boing.wav", boing), ("recycle.wav", recycle), ("BIPECOMP.WAV", bipecomp)):
        write(folder / name, make())
        print(folder / name)


if __name__ == "__main__":
    main()
