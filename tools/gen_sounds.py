#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Synthesises the five sound effects into res/*.wav.

All five are 8-bit unsigned mono PCM at 11025 Hz. Their lengths are fixed:
the game plays them synchronously, so each length is also the pause it
puts into an animation. Every partial stays below the Nyquist frequency,
every sound starts and ends on silence (no clicks) and peaks below full
scale (no clipping).

Standard library only; the output is the same byte for byte on every run.
"""

import math
import os
import struct
import sys

RATE = 11025
NYQUIST = RATE / 2.0
SILENCE = 128
# Peak amplitude after normalising, out of 127; leaves headroom for rounding.
PEAK = 110.0
FADE_SECONDS = 0.004


class Noise:
    """A fixed linear congruential generator, so the noise is the same every run."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x3FFFFFFF - 1.0


def tone(freq, t, partials=((1, 1.0),)):
    """A sum of harmonics; any above the Nyquist frequency would alias, so they go."""
    value = 0.0
    for harmonic, weight in partials:
        f = freq * harmonic
        if f < NYQUIST * 0.9:
            value += weight * math.sin(2.0 * math.pi * f * t)
    return value


def vibrato(t, rate, depth):
    """Warped time that, fed to tone, sways every partial's pitch by +-depth."""
    omega = 2.0 * math.pi * rate
    return t + depth * (1.0 - math.cos(omega * t)) / omega


def decay(t, attack, half_life):
    """Quick linear attack, then exponential fall."""
    if t < 0.0:
        return 0.0
    if t < attack:
        return t / attack
    return 0.5 ** ((t - attack) / half_life)


def sparkle(count):
    # A rising run of short bell tones that ring on and overlap, with a
    # touch of shimmer, for a line of balls melting away.
    notes = [1047, 1319, 1568, 2093, 2637, 3136, 4186]
    bell = ((1, 1.0), (2.76, 0.25), (5.4, 0.08))
    spacing = 0.055
    out = []
    for i in range(count):
        t = i / RATE
        value = 0.0
        for n, freq in enumerate(notes):
            local = t - n * spacing
            value += decay(local, 0.003, 0.06) * tone(freq, vibrato(local, 7.0, 0.004), bell)
        out.append(value)
    return out


def thump(count):
    # A low sine falling in pitch under a short burst of muffled noise: a
    # ball settling softly on the board.
    noise = Noise(132)
    smooth = 0.0
    out = []
    phase = 0.0
    for i in range(count):
        t = i / RATE
        freq = 70.0 + 110.0 * math.exp(-t / 0.012)
        phase += 2.0 * math.pi * freq / RATE
        # The overtone keeps the thump audible on small speakers.
        body = (math.sin(phase) + 0.35 * math.sin(2.3 * phase)) * decay(t, 0.002, 0.010)
        smooth += 0.15 * (noise.next() - smooth)
        out.append(body + 0.6 * smooth * decay(t, 0.001, 0.004))
    return out


def tick(count):
    # A brief, bright knock: two high partials dying within a few ms.
    noise = Noise(133)
    out = []
    for i in range(count):
        t = i / RATE
        env = decay(t, 0.001, 0.003)
        value = tone(1900.0, t, ((1, 1.0), (1.5, 0.4))) + 0.3 * noise.next()
        out.append(0.6 * value * env)
    return out


def buzz(count):
    # A band-limited sawtooth low in the register: a short, dull refusal.
    partials = tuple((h, 1.0 / h) for h in range(1, 16))
    out = []
    for i in range(count):
        t = i / RATE
        out.append(tone(140.0, t, partials) + 0.6 * tone(147.0, t, partials))
    return out


def fanfare(count):
    # A bright brass-like call that climbs to a held major chord.
    brass = ((1, 1.0), (2, 0.6), (3, 0.4), (4, 0.25), (5, 0.12), (6, 0.06))
    c5, e5, g5, a5, c6, e6 = 523.25, 659.26, 783.99, 880.0, 1046.5, 1318.5
    # (start, length, frequencies) in seconds and Hz
    score = [
        (0.00, 0.11, (g5,)),
        (0.12, 0.11, (g5,)),
        (0.24, 0.11, (g5,)),
        (0.36, 0.30, (c6,)),
        (0.68, 0.11, (a5,)),
        (0.80, 0.11, (c6,)),
        (0.92, 0.75, (c5, e5, g5, c6, e6)),
    ]
    out = []
    for i in range(count):
        t = i / RATE
        value = 0.0
        for start, length, freqs in score:
            local = t - start
            if local < 0.0 or local > length + 0.05:
                continue
            # Short release keeps the notes detached; the final chord dies away.
            env = min(1.0, local / 0.012) * min(1.0, max(0.0, (length + 0.05 - local) / 0.05))
            if length > 0.5:
                env *= 0.5 ** (local / 0.45)
            warped = vibrato(local, 5.5, 0.003)
            for freq in freqs:
                value += env * tone(freq, warped, brass) / len(freqs) ** 0.5
        out.append(value)
    return out


def fade_ends(samples):
    """Ramps both ends to zero so playback neither starts nor stops with a click."""
    n = len(samples)
    ramp = max(1, min(int(FADE_SECONDS * RATE), n // 4))
    out = list(samples)
    for i in range(ramp):
        gain = i / ramp
        out[i] *= gain
        out[n - 1 - i] *= gain
    return out


def to_pcm8(samples, loudness):
    peak = max(abs(s) for s in samples) or 1.0
    scale = PEAK * loudness / peak
    return bytes(SILENCE + int(math.floor(s * scale + 0.5)) for s in samples)


def chunk(tag, payload):
    """A RIFF chunk; an odd-sized payload is followed by one pad byte."""
    pad = b'\0' if len(payload) % 2 else b''
    return tag + struct.pack('<I', len(payload)) + payload + pad


def info_list(fields):
    body = b'INFO'
    for tag, text in fields:
        body += chunk(tag, text.encode('ascii') + b'\0')
    return chunk(b'LIST', body)


def encode_wav(pcm, extra=b''):
    fmt = struct.pack('<HHIIHH', 1, 1, RATE, RATE, 1, 8)
    body = b'WAVE' + chunk(b'fmt ', fmt) + chunk(b'data', pcm) + extra
    return chunk(b'RIFF', body)


# (file, sample count, synthesiser, loudness, LIST INFO fields or None)
SOUNDS = [
    ('line.wav', 6069, sparkle, 1.0, None),
    ('place.wav', 441, thump, 0.9,
     [(b'INAM', 'Ball lands'), (b'ISFT', 'Orvo gen_sounds.py')]),
    ('step.wav', 276, tick, 0.5, None),
    ('nopath.wav', 334, buzz, 0.7, None),
    ('hero.wav', 18957, fanfare, 1.0, None),
]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res')
    for name, count, synth, loudness, info in SOUNDS:
        pcm = to_pcm8(fade_ends(synth(count)), loudness)
        assert len(pcm) == count
        extra = info_list(info) if info else b''
        with open(os.path.join(target, name), 'wb') as f:
            f.write(encode_wav(pcm, extra))


if __name__ == '__main__':
    main()
