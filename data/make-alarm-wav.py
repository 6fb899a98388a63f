#!/usr/bin/env python3
"""Writes alarm.wav: the short two-tone chime the run window plays for a saved symbol.

Run once; the WAV is checked in beside this script. Standard library only.
"""
import math
import struct
import sys
import wave

RATE = 22050
PARTS = ((988.0, 0.12), (1319.0, 0.18))  # B5 then E6, seconds each
FADE = 0.01  # seconds of fade in and out, so the speaker does not click


def samples():
    for frequency, seconds in PARTS:
        count = int(RATE * seconds)
        for i in range(count):
            t = i / RATE
            envelope = min(1.0, t / FADE, (seconds - t) / FADE)
            yield int(0.45 * 32767 * envelope * math.sin(2 * math.pi * frequency * t))


def main(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "alarm.wav")
