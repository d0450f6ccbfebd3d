#!/usr/bin/env python3
"""screenshotstats.py PICTURE.png [MIN_COLOURS [MAX_SHARE]]

Says whether a screenshot shows something: exits 0 when the picture has at least
MIN_COLOURS different colours (default 8) and no single colour covers more than
MAX_SHARE of it (default 0.97), 1 when it looks blank, 2 when it cannot be read.
Reads 8-bit PNGs (what the screenshot tool writes) with the standard library alone.
"""

import collections
import struct
import sys
import zlib

CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """The picture's width, height and its pixels as a list of colour tuples."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, palette, header = 8, bytearray(), None, None
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError("no image header")
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or interlace or colour_type not in CHANNELS:
        raise ValueError("only non-interlaced 8-bit pictures are read")
    if colour_type == 3 and palette is None:
        raise ValueError("an indexed picture without a palette")
    n = CHANNELS[colour_type]
    stride = width * n
    raw = zlib.decompress(bytes(idat))
    if len(raw) < height * (stride + 1):
        raise ValueError("the picture data is cut short")
    prev = bytearray(stride)
    pixels = []
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for x in range(n, stride):
                line[x] = (line[x] + line[x - n]) & 255
        elif kind == 2:
            for x in range(stride):
                line[x] = (line[x] + prev[x]) & 255
        elif kind == 3:
            for x in range(stride):
                left = line[x - n] if x >= n else 0
                line[x] = (line[x] + ((left + prev[x]) >> 1)) & 255
        elif kind == 4:
            for x in range(stride):
                left = line[x - n] if x >= n else 0
                upper_left = prev[x - n] if x >= n else 0
                line[x] = (line[x] + paeth(left, prev[x], upper_left)) & 255
        elif kind != 0:
            raise ValueError("unknown row filter %d" % kind)
        if colour_type == 3:
            pixels.extend(palette[i] for i in line)
        else:
            pixels.extend(tuple(line[x:x + n]) for x in range(0, stride, n))
        prev = line
    return width, height, pixels


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    min_colours = int(argv[2]) if len(argv) > 2 else 8
    max_share = float(argv[3]) if len(argv) > 3 else 0.97
    try:
        width, height, pixels = read_png(argv[1])
    except (OSError, ValueError, zlib.error) as error:
        print("%s: cannot read: %s" % (argv[1], error), file=sys.stderr)
        return 2
    counts = collections.Counter(pixels)
    colour, most = counts.most_common(1)[0] if counts else ((), 0)
    share = most / max(1, len(pixels))
    print("%s: %dx%d, %d colours, the commonest %s covers %.1f%%"
          % (argv[1], width, height, len(counts), colour, 100 * share))
    return 0 if len(counts) >= min_colours and share <= max_share else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
