#!/usr/bin/env python3
"""Draws Corvel's program icon and synthesises its two sounds.

Writes res/corvel.ico (16, 32 and 48 px, 32-bit with alpha), res/alarm.wav
(about 1 s of beeps that loops without a click) and res/fanfare.wav (about 5 s).
Standard library only; the output is deterministic, so re-running it leaves
the committed files unchanged. The build uses the committed files.
"""
import math
import os
import struct
import sys
import wave

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")
RATE = 11025

# ---------------------------------------------------------------- icon


def chip_coverage(u, v, size):
    """Colour (r, g, b, a) of the chip at (u, v) in the unit square, or None."""
    body_lo, body_hi = 0.22, 0.78
    # Pins sticking out of the body: four per side, three at 16 px where four
    # would blur into a band.
    if size <= 16:
        pins, pin_half = [0.3125, 0.5, 0.6875], 0.0625
    else:
        pins, pin_half = [0.30 + i * 0.133 for i in range(4)], 0.035
    inside_body = body_lo <= u <= body_hi and body_lo <= v <= body_hi
    if inside_body:
        # Rounded corners of the body.
        r = 0.06
        cx = min(max(u, body_lo + r), body_hi - r)
        cy = min(max(v, body_lo + r), body_hi - r)
        if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
            return None
        # Die in the middle, lighter, with a notch mark in its corner.
        if 0.36 <= u <= 0.64 and 0.36 <= v <= 0.64:
            if (u - 0.42) ** 2 + (v - 0.42) ** 2 < 0.03 ** 2:
                return (40, 60, 90, 255)
            return (120, 170, 230, 255)
        # A thin bright rim so the chip reads on dark backgrounds too.
        if u < body_lo + 0.03 or u > body_hi - 0.03 or v < body_lo + 0.03 or v > body_hi - 0.03:
            return (90, 110, 140, 255)
        return (35, 45, 60, 255)
    for p in pins:
        if abs(u - p) <= pin_half and (0.08 <= v < body_lo or body_hi < v <= 0.92):
            return (205, 170, 60, 255)
        if abs(v - p) <= pin_half and (0.08 <= u < body_lo or body_hi < u <= 0.92):
            return (205, 170, 60, 255)
    return None


def render(size, samples=4):
    """Pixels top-down as (b, g, r, a), anti-aliased by supersampling."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) / samples) / size
                    v = (y + (sy + 0.5) / samples) / size
                    c = chip_coverage(u, v, size)
                    if c:
                        for i in range(3):
                            acc[i] += c[i] * c[3]
                        acc[3] += c[3]
            n = samples * samples
            a = acc[3] / n
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = (round(acc[i] / acc[3]) for i in range(3))
                row.append((b, g, r, round(a)))
        rows.append(row)
    return rows


def ico_image(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes(c for px in row for c in px) for row in reversed(pixels))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def write_ico(path, sizes):
    images = [ico_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- sounds


def tone(freq, seconds, harmonics=((1, 1.0),), attack=0.01, release=0.03, vibrato=0.0):
    n = int(seconds * RATE)
    a_n, r_n = max(1, int(attack * RATE)), max(1, int(release * RATE))
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, i / a_n, (n - 1 - i) / r_n)
        f = freq * (1 + vibrato * math.sin(2 * math.pi * 5.5 * t))
        s = sum(amp * math.sin(2 * math.pi * f * k * t) for k, amp in harmonics)
        out.append(env * s)
    return out


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def normalise(samples, peak):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def write_wav(path, samples, sampwidth):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(sampwidth)
        w.setframerate(RATE)
        if sampwidth == 1:
            w.writeframes(bytes(max(0, min(255, 128 + round(s * 127))) for s in samples))
        else:
            w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, round(s * 32767))))
                                   for s in samples))


def alarm():
    # Three short beeps and a rest: it starts and ends in silence, so a
    # looping playback has no click at the seam.
    beep = tone(1760, 0.11, harmonics=((1, 1.0), (3, 0.25)), attack=0.004, release=0.01)
    gap = silence(0.07)
    one = beep + gap + beep + gap + beep
    out = silence(0.02) + one + silence(1.0 - 0.02 - len(one) / RATE)
    return normalise(out, 0.8)


BRASS = ((1, 1.0), (2, 0.55), (3, 0.35), (4, 0.2), (5, 0.1))


def note_freq(name):
    names = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    octave = int(name[-1])
    semis = names[name[0]] + (octave - 4) * 12
    return 440.0 * 2 ** (semis / 12)


def fanfare():
    melody = [("G4", 0.18), ("G4", 0.18), ("G4", 0.18), ("C5", 0.55), ("G4", 0.3),
              ("C5", 0.18), ("E5", 0.55), ("D5", 0.3), ("E5", 0.18), ("G5", 0.9)]
    line = []
    for name, d in melody:
        line += tone(note_freq(name), d, BRASS, attack=0.02, release=0.04, vibrato=0.003)
        line += silence(0.03)
    chord_len = 4.95 - len(line) / RATE
    chord = mix(*(tone(note_freq(n), chord_len, BRASS, attack=0.05, release=0.9, vibrato=0.004)
                  for n in ("C4", "E4", "G4", "C5")))
    out = line + chord + silence(0.05)
    return normalise(out, 0.85)


def main():
    write_ico(os.path.join(RES, "corvel.ico"), (16, 32, 48))
    write_wav(os.path.join(RES, "alarm.wav"), alarm(), 1)
    write_wav(os.path.join(RES, "fanfare.wav"), fanfare(), 2)
    for name in ("corvel.ico", "alarm.wav", "fanfare.wav"):
        print(f"{name}: {os.path.getsize(os.path.join(RES, name))} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
