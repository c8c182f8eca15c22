#!/usr/bin/env python3
"""Writes the placeholder bitmaps: the sizes and frame layouts of the real artwork, each
frame a flat colour inside a one-pixel border. The red channel at the frame's top-left
pixel is twice the frame index, so tests can tell from one pixel which frame a control
drew."""
import struct
import zlib
from pathlib import Path

# id: (width, total height, frames)
BITMAPS = {
    128: (870, 101, 1), 129: (870, 101, 1), 130: (21, 40, 2),
    131: (35, 3535, 101), 132: (35, 3535, 101), 133: (35, 3535, 101),
    136: (35, 3535, 101), 149: (35, 3535, 101),
    148: (36, 3636, 101), 150: (36, 3636, 101), 151: (36, 3636, 101),
    134: (21, 52, 2), 135: (21, 52, 2), 137: (22, 52, 2), 147: (23, 52, 2),
    152: (22, 40, 2), 138: (26, 52, 2), 139: (26, 52, 2),
    140: (14, 240, 12), 141: (14, 240, 12), 142: (15, 240, 12), 143: (14, 240, 12),
    144: (16, 256, 8), 145: (11, 22, 2), 146: (7, 903, 21), 153: (10, 1010, 101),
    154: (12, 25, 1), 155: (15, 20, 2),
    990: (17, 45, 3), 991: (17, 45, 3), 992: (32, 39, 3), 993: (44, 39, 3),
    994: (28, 39, 3), 995: (30, 65, 5), 998: (24, 48, 3), 999: (24, 48, 3),
}


def png(width, height, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def image(width, height, frames):
    frame_height = height // frames
    for y in range(height):
        frame, inner = divmod(y, frame_height)
        row = []
        border = inner in (0, frame_height - 1)
        for x in range(width):
            if border or x in (0, width - 1):
                row += [min(2 * frame, 255), 30, 30]
            else:
                row += [min(2 * frame, 255), 90 + frame % 2 * 60, 170]
        yield row


here = Path(__file__).parent
for ident, (w, h, n) in BITMAPS.items():
    (here / "placeholder" / f"{ident}.png").write_bytes(png(w, h, list(image(w, h, n))))
