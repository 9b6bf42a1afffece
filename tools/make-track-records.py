#!/usr/bin/env python3
"""Writes track records (648 bytes) or queue records (652 bytes) for the list windows' pictures and
benchmarks:  make-track-records.py queue|history OUT COUNT [FOLDER]
Each record names FOLDER\\NNNNNN.wav (FOLDER in Windows form) with a title, an artist, an album and
a length, the first few from a small table of names in several scripts."""
import struct
import sys

NAMES = [
    ("Aurora Lines", "Northbound", "Glass Harbour"),
    ("Mirela Voss", "Песня о море", "Tides"),
    ("Kaito Mori", "夜曲", "Night Pieces"),
    ("The Quiet Ones", "Slow Static", "Low Frequencies"),
    ("Élodie Brun", "Café à minuit", "Rive gauche"),
    ("Aurora Lines", "Paper Lanterns", "Glass Harbour"),
]


def field(text, size):
    data = text.encode("utf-8")[: size - 1]
    return data + b"\0" * (size - len(data))


def record(i, folder):
    artist, title, album = NAMES[i % len(NAMES)]
    if i >= len(NAMES):
        title = f"{title} ({i})"
    path = f"{folder}\\{i:06d}.wav"
    length_ms = 150000 + (i * 7919) % 180000
    body = field(artist, 100) + field(title, 100) + field(album, 100) + field(path, 260)
    body += struct.pack("<BBHIh", 7, 0, 1411, 44100, 4000) + b"\0" * 40
    body += struct.pack("<hB", 2024, 2) + b"\0" * 3 + struct.pack("<II", 30000000, length_ms)
    body += b"\0" * 4 + struct.pack("<III", 1, 0, 0) + b"\0" * 4 + struct.pack("<B", i % 20 + 1) + b"\0" * 3
    assert len(body) == 648
    return body


def main():
    kind, out, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    folder = sys.argv[4] if len(sys.argv) > 4 else "C:\\Music"
    with open(out, "wb") as f:
        for i in range(count):
            f.write(record(i, folder) + (b"\0" * 4 if kind == "queue" else b""))


main()
