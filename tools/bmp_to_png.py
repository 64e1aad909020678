#!/usr/bin/env python3
"""Turns 24-bit BMPs saved by the Wine tests into one PNG for the README and
the manual: the pictures side by side on a taskbar-dark strip, each pixel
enlarged to a FACTOR x FACTOR square.

    bmp_to_png.py OUT.png FACTOR IN.bmp [IN.bmp ...]
"""
import struct
import sys
import zlib


def read_bmp(path):
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    bits = struct.unpack_from("<H", data, 28)[0]
    if bits != 24:
        raise SystemExit(f"{path}: {bits}-bit, only 24-bit BMPs are read")
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in range(abs(height)):
        start = offset + y * row_size
        row = bytearray()
        for x in range(width):
            b, g, r = data[start + 3 * x:start + 3 * x + 3]
            row += bytes((r, g, b))
        rows.append(bytes(row))
    if height > 0:  # bottom-up
        rows.reverse()
    return width, abs(height), rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


GAP = 4  # pixels of the strip around and between the pictures
STRIP = bytes((32, 32, 32))


def main():
    if len(sys.argv) < 4:
        raise SystemExit(__doc__)
    factor = int(sys.argv[2])
    pictures = [read_bmp(path) for path in sys.argv[3:]]
    height = max(h for _, h, _ in pictures) + 2 * GAP
    width = sum(w for w, _, _ in pictures) + GAP * (len(pictures) + 1)
    rows = [bytearray(STRIP * width) for _ in range(height)]
    left = GAP
    for w, h, picture in pictures:
        top = (height - h) // 2
        for y, row in enumerate(picture):
            rows[top + y][3 * left:3 * (left + w)] = row
        left += w + GAP
    scaled = []
    for row in rows:
        wide = b"".join(bytes(row[3 * x:3 * x + 3]) * factor for x in range(width))
        scaled.extend([wide] * factor)
    write_png(sys.argv[1], width * factor, height * factor, scaled)


if __name__ == "__main__":
    main()
