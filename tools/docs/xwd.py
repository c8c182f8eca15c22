"""Reads the screen dumps that `xwd` writes, for the 24- and 32-bit true-colour screens that
Xvfb gives, into Pillow images. Pillow has no XWD reader of its own."""
import struct

from PIL import Image

HEADER_FIELDS = 25  # 32-bit words before the window name
Z_PIXMAP = 2
LSB_FIRST = 0


def read_xwd(path):
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:4 * HEADER_FIELDS])
    header_size, _version, pixmap_format, _depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    colours = fields[19]
    raws = {(24, LSB_FIRST): "BGR", (24, 1): "RGB", (32, LSB_FIRST): "BGRX", (32, 1): "XRGB"}
    raw = raws.get((bits_per_pixel, byte_order))
    if pixmap_format != Z_PIXMAP or raw is None:
        raise ValueError(f"{path}: only 24- and 32-bit ZPixmap dumps are read "
                         f"(format {pixmap_format}, {bits_per_pixel} bits per pixel)")
    start = header_size + 12 * colours  # the colour map follows the name: 12 bytes an entry
    pixels = data[start:start + bytes_per_line * height]
    return Image.frombytes("RGB", (width, height), pixels, "raw", raw, bytes_per_line)
