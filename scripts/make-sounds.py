#!/usr/bin/python3
"""Synthesises the notifier's two sounds into the given folder: "prishol_mail.wav" (a soft rising three-note
chime for new mail) and "budilnik.wav" (three gentle double beeps for a reminder). 22.05 kHz, 16-bit mono PCM,
deterministic, standard library only."""
import math
import struct
import sys
import wave

RATE = 22050


def bell(freq, start, length, total, volume):
    """A struck-bell note: fast attack, exponential decay, a quiet octave partial."""
    out = [0.0] * total
    first = int(start * RATE)
    for i in range(int(length * RATE)):
        n = first + i
        if n >= total:
            break
        t = i / RATE
        attack = min(1.0, t / 0.006)
        env = attack * math.exp(-t * 5.5)
        s = math.sin(2 * math.pi * freq * t) + 0.35 * math.sin(2 * math.pi * 2 * freq * t) * math.exp(-t * 9)
        out[n] = volume * env * s
    return out


def beep(freq, start, length, total, volume):
    """A soft alarm beep: short fades at both ends so that it never clicks."""
    out = [0.0] * total
    first = int(start * RATE)
    count = int(length * RATE)
    for i in range(count):
        n = first + i
        if n >= total:
            break
        t = i / RATE
        fade = min(1.0, t / 0.01, (length - t) / 0.02)
        s = 0.8 * math.sin(2 * math.pi * freq * t) + 0.2 * math.sin(2 * math.pi * 3 * freq * t)
        out[n] = volume * fade * s
    return out


def mix(total, *tracks):
    return [sum(t[i] for t in tracks) for i in range(total)]


def write(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.7 * 32767 / peak
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(round(s * scale))) for s in samples))


def main():
    folder = sys.argv[1]
    total = int(1.0 * RATE)
    write(folder + "/prishol_mail.wav",
          mix(total, bell(783.99, 0.00, 1.0, total, 0.8), bell(1046.50, 0.12, 0.9, total, 0.7),
              bell(1318.51, 0.24, 0.76, total, 0.6)))
    total = int(1.5 * RATE)
    tracks = []
    for k in range(3):
        base = k * 0.5
        tracks.append(beep(1046.50, base, 0.09, total, 0.6))
        tracks.append(beep(1046.50, base + 0.15, 0.09, total, 0.6))
    write(folder + "/budilnik.wav", mix(total, *tracks))


if __name__ == "__main__":
    main()
