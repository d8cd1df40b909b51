#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns the windows' 32 x 32 XPM icon into the Windows program file's ICO.

One image of 16 colours (the standard palette, of which the XPM uses black and white),
4 bits a pixel, with an all-opaque mask: the same bytes on every build machine.
"""
import re
import struct
import sys

# The standard 16-colour palette, as Windows orders it.
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def read_xpm(path):
    strings = re.findall(r'"([^"]*)"', open(path, encoding="ascii").read())
    width, height, colours, per_pixel = map(int, strings[0].split()[:4])
    index = {}
    for line in strings[1:1 + colours]:
        key, rest = line[:per_pixel], line[per_pixel:].split()
        rgb = rest[rest.index("c") + 1].lstrip("#")
        index[key] = PALETTE.index(tuple(int(rgb[i:i + 2], 16) for i in (0, 2, 4)))
    rows = strings[1 + colours:1 + colours + height]
    return width, height, [[index[row[x:x + per_pixel]] for x in range(0, width * per_pixel, per_pixel)]
                           for row in rows]


def ico(width, height, pixels):
    xor = b"".join(bytes((row[x] << 4) | row[x + 1] for x in range(0, width, 2))
                   for row in reversed(pixels))              # bottom-up, 4 bits a pixel
    mask_row = ((width + 31) // 32) * 4
    mask = bytes(mask_row * height)                          # every pixel opaque
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + image


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: icontool.py ICON.xpm OUT.ico")
    data = ico(*read_xpm(sys.argv[1]))
    with open(sys.argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
