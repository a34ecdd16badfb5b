#!/usr/bin/env python3
"""Writes one small bitmap of every depth and form the decoder takes, as a file and as a bare
DIB (info header first, as resources come): 1, 4 and 8 bits with palettes, 16 bits as 5-5-5 and
as 5-6-5 bit fields, 24 bits, 32 bits plain and with bit fields, bottom-up and top-down, and an
OS/2 core header."""
import os
import struct
import sys


def row_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


def dib(width, height, bits, compression=0, masks=b"", core=False, top_down=False):
    colours = 1 << bits if bits <= 8 else 0
    if core:
        header = struct.pack("<IHhHH", 12, width, -height if top_down else height, 1, bits)
        palette = b"".join(bytes((i * 37 % 256, i * 91 % 256, i * 53 % 256)) for i in range(colours))
    else:
        header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                             compression, 0, 2835, 2835, colours, 0)
        palette = b"".join(bytes((i * 37 % 256, i * 91 % 256, i * 53 % 256, 0))
                           for i in range(colours))
    stride = row_bytes(width, bits)
    pixels = bytes((x * 7 + y * 13) % 256 for y in range(height) for x in range(stride))
    return header + masks + palette + pixels, len(header) + len(masks) + len(palette)


def as_file(body, offset):
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, 14 + offset) + body


def main(folder):
    os.makedirs(folder, exist_ok=True)
    forms = {
        "1bit": dict(bits=1),
        "4bit": dict(bits=4),
        "8bit": dict(bits=8),
        "8bit-top-down": dict(bits=8, top_down=True),
        "16bit-555": dict(bits=16),
        "16bit-565": dict(bits=16, compression=3, masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)),
        "24bit": dict(bits=24),
        "24bit-core": dict(bits=24, core=True),
        "8bit-core": dict(bits=8, core=True),
        "32bit": dict(bits=32),
        "32bit-fields": dict(bits=32, compression=3,
                             masks=struct.pack("<III", 0x00FF0000, 0x0000FF00, 0x000000FF)),
    }
    for name, form in forms.items():
        body, offset = dib(5, 3, **form)
        with open(os.path.join(folder, name + ".dib"), "wb") as out:
            out.write(body)
        with open(os.path.join(folder, name + ".bmp"), "wb") as out:
            out.write(as_file(body, offset))


if __name__ == "__main__":
    main(sys.argv[1])
