#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: small valid and invalid inputs of each kind.

Run it from anywhere; it rewrites tests/fuzz/corpus/seed-* and leaves inputs that fuzzing
found (other names) alone.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
MIN32, MAX32 = -(2**31), 2**31 - 1


def u32(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def document(curves):
    out = u32(len(curves))
    for points in curves:
        out += u32(len(points))
        for x, y in points:
            out += u32(x, y)
    return out


def record(points, size=None):
    body = b"".join(u32(x, y) for x, y in points)
    return u32(4 + len(body) if size is None else size) + body


BOX = [(0, 0), (100, 0), (100, 50), (0, 50)]
EXTREME = [(MIN32, MIN32), (MAX32, MIN32), (MAX32, MAX32), (MIN32, MAX32), (0, 0)]

DOCUMENTS = {
    "empty-file": b"",
    "empty-drawing": document([]),
    "worked-example": document([[(10, 20), (30, 40)]]),
    "curve-without-points": document([[], [(1, 2)]]),
    "three-curves": document([BOX, [(5, 5), (-7, 9), (300, -2)], [(1, 1)]]),
    "negative-and-extreme": document([EXTREME, [(-1, -1), (-100000, 7)]]),
    "trailing-bytes": document([BOX]) + b"\x01\x02\x03\x04\x05",
    "short-count": b"\x01\x00",
    "ends-inside-record": document([BOX])[:-3],
    "more-curves-than-follow": u32(3) + document([BOX])[4:],
    "huge-curve-count": u32(0xFFFFFFFF, 0),
    "huge-point-count": u32(1, 0xFFFFFFFF, 1, 2),
    "point-count-beyond-data": u32(1, 1000, 1, 2, 3, 4),
    "many-empty-curves": u32(64) + u32(*([0] * 64)),
    "text-file": b"Curves are drawn through their points.\n",
}

RECORDS = {
    "empty-block": b"",
    "three-bytes": b"\x1c\x00\x00",
    "size-zero": u32(0),
    "size-three": u32(3, 1, 2),
    "size-four": u32(4),
    "one-point": record([(10, 20)]),
    "worked-example": record([(10, 20), (30, 40), (50, 60)]),
    "box": record(BOX),
    "extreme": record(EXTREME),
    "size-thirteen": record([(7, 8)], size=13) + b"\x99",
    "odd-leftover": record([(1, 2), (3, 4)], size=19) + b"\x00\x00\x00",
    "size-beyond-block": record(BOX, size=1000),
    "size-max": record(BOX, size=0xFFFFFFFF),
    "block-larger-than-size": record([(1, 1)]) + bytes(40),
    "size-field-only-large-block": u32(4) + bytes(64),
}


def drawing(flags, dx, dy, points):
    return bytes([flags]) + u32(dx, dy) + b"".join(u32(x, y) for x, y in points)


DRAWINGS = {
    "too-short": b"\x00\x01",
    "no-points": drawing(0, 0, 0, []),
    "one-point": drawing(0, 3, 3, [(10, 10)]),
    "two-points-closed": drawing(1, 0, 0, [(2, 2), (40, 30)]),
    "three-points": drawing(0, 1, 1, [(2, 2), (40, 30), (5, 25)]),
    "box-open": drawing(0, 0, 0, [(4, 4), (40, 4), (40, 28), (4, 28)]),
    "box-closed": drawing(1, -2, 5, [(4, 4), (40, 4), (40, 28), (4, 28)]),
    "box-tiny-surface": drawing(7, 1, -1, [(4, 4), (40, 4), (40, 28), (4, 28)]),
    "extreme-closed": drawing(1, MAX32, MIN32, EXTREME),
    "extreme-open": drawing(0, MIN32, MAX32, EXTREME),
    "far-outside": drawing(1, 0, 0, [(10**9, 10**9), (-10**9, 10**9), (0, -10**9), (5, 5)]),
    "crossing-surface": drawing(1, 0, 0, [(MIN32, 16), (MAX32, 16), (24, MIN32), (24, MAX32)]),
    "repeated-point": drawing(1, 0, 0, [(8, 8)] * 8),
    "zigzag": drawing(0, 2, 2, [(i * 3, (i % 2) * 30) for i in range(20)]),
    # Bits 3 and 4 of the flags pick the surface's ratio: 1, 1.5, 2 or 1.25 pixels per unit.
    "box-closed-ratio-1.25": drawing(1 | 3 << 3, -2, 5, [(4, 4), (40, 4), (40, 28), (4, 28)]),
    "zigzag-ratio-1.5": drawing(1 << 3, 2, 2, [(i * 3, (i % 2) * 30) for i in range(20)]),
    "extreme-closed-ratio-2": drawing(1 | 2 << 3, MAX32, MIN32, EXTREME),
    "crossing-surface-ratio-1.5": drawing(
        1 | 1 << 3, 0, 0, [(MIN32, 16), (MAX32, 16), (24, MIN32), (24, MAX32)]
    ),
}


def write(folder, inputs):
    target = HERE / "corpus" / folder
    target.mkdir(parents=True, exist_ok=True)
    for old in target.glob("seed-*"):
        old.unlink()
    for name, data in inputs.items():
        (target / f"seed-{name}").write_bytes(data)


write("load_document", DOCUMENTS)
write("curve_record", RECORDS)
write("draw_curve", DRAWINGS)
