#!/usr/bin/env python3
"""Draws Quillop's button pictures and icon and writes them as BMP/ICO files.

Run from anywhere: python3 assets/make_assets.py [--preview DIR]
The button pictures are 32 x 16, 4 bits per pixel: the left 16 x 16 cell is the
normal look, the right cell the disabled look (a grey outline of the same
picture). The bottom-left pixel carries the transparent colour.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 standard colours, as (r, g, b).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, SILVER, GREY, YELLOW, BLUE, FUCHSIA, WHITE = 0, 3, 4, 7, 8, 11, 12, 13, 15
BACKGROUND = FUCHSIA  # never used inside a picture, so it can mark transparency

LEGEND = {'.': BACKGROUND, 'k': BLACK, 'w': WHITE, 'b': NAVY, 'B': BLUE, 'y': YELLOW,
          'o': OLIVE, 's': SILVER, 'g': GREY}

# A yellow hand pointing at a white page with a blue title bar.
REFRESH = [
    "................",
    "......kkkkkkkkk.",
    "......kBBBBBBBk.",
    "......kBBBBBBBk.",
    "......kwwwwwwwk.",
    "......kwkkkkwwk.",
    "......kwwwwwwwk.",
    ".kkk..kwkkkkkwk.",
    "kyyykkkkwwwwwwk.",
    "kyyyyyyykkkwwwk.",
    "kyyykkkkwwwwwwk.",
    "kyyyyyykkkkkwwk.",
    "kyyyykkkwwwwwwk.",
    "kyyyyyk.kkkkkkk.",
    ".kkkkk..........",
    "................",
]

# A yellow cabinet with two drawers.
EXIT = [
    "................",
    "...kkkkkkkkkk...",
    "...kyyyyyyyyko..",
    "...kykkkkkkyko..",
    "...kykyyyykyko..",
    "...kykykkykyko..",
    "...kykkkkkkyko..",
    "...kyyyyyyyyko..",
    "...kykkkkkkyko..",
    "...kykyyyykyko..",
    "...kykykkykyko..",
    "...kykkkkkkyko..",
    "...kyyyyyyyyko..",
    "...kkkkkkkkkko..",
    "....oooooooooo..",
    "................",
]


def cell(art):
    assert len(art) == 16 and all(len(row) == 16 for row in art)
    return [[LEGEND[ch] for ch in row] for row in art]


def luminance(index):
    r, g, b = PALETTE[index]
    return 0.3 * r + 0.59 * g + 0.11 * b


def disabled(pixels):
    """Grey outline of a picture: dark pixels turn grey, with a white relief below right."""
    height, width = len(pixels), len(pixels[0])
    out = [[BACKGROUND] * width for _ in range(height)]
    dark = [[p != BACKGROUND and luminance(p) < 0x90 for p in row] for row in pixels]
    for y in range(height):
        for x in range(width):
            if dark[y][x] and y + 1 < height and x + 1 < width and not dark[y + 1][x + 1]:
                out[y + 1][x + 1] = WHITE
    for y in range(height):
        for x in range(width):
            if dark[y][x]:
                out[y][x] = GREY
    return out


def glyph(art):
    normal = cell(art)
    grey = disabled(normal)
    rows = [normal[y] + grey[y] for y in range(16)]
    assert rows[15][0] == BACKGROUND
    return rows


def bmp4(rows):
    """A 4-bit bottom-up BMP file."""
    height, width = len(rows), len(rows[0])
    stride = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, width, 2):
            line.append((row[x] << 4) | (row[x + 1] if x + 1 < width else 0))
        line.extend(b'\0' * (stride - len(line)))
        data += line
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return header + info + palette + bytes(data)


def icon_image(size):
    """The icon: the page and hand of the refresh picture, scaled up, on a transparent ground."""
    src = cell(REFRESH)
    scale = size // 16
    return [[src[y // scale][x // scale] for x in range(size)] for y in range(size)]


def ico(sizes):
    images = []
    for size in sizes:
        rows = icon_image(size)
        xor = bytearray()
        for row in reversed(rows):
            for p in row:
                if p == BACKGROUND:
                    xor += b'\0\0\0\0'
                else:
                    r, g, b = PALETTE[p]
                    xor += bytes((b, g, r, 255))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(rows):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p == BACKGROUND:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        images.append((size, info + bytes(xor) + bytes(mask)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in images:
        out += blob
    return out


def png(rows, path, zoom=8, palette=None):
    """A zoomed preview for eyes only."""
    palette = PALETTE if palette is None else palette
    raw = bytearray()
    for row in rows:
        for _ in range(zoom):
            raw.append(0)
            for p in row:
                raw += bytes(palette[p]) * zoom
    h, w = len(rows) * zoom, len(rows[0]) * zoom

    def chunk(tag, body):
        return struct.pack('>I', len(body)) + tag + body + struct.pack(
            '>I', zlib.crc32(tag + body) & 0xFFFFFFFF)

    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(bytes(raw))) + chunk(b'IEND', b''))


def main():
    outputs = {'refresh.bmp': bmp4(glyph(REFRESH)), 'exit.bmp': bmp4(glyph(EXIT)),
               'quillop.ico': ico([16, 32])}
    for name, blob in outputs.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(blob)
    if len(sys.argv) == 3 and sys.argv[1] == '--preview':
        os.makedirs(sys.argv[2], exist_ok=True)
        png(glyph(REFRESH), os.path.join(sys.argv[2], 'refresh.png'))
        png(glyph(EXIT), os.path.join(sys.argv[2], 'exit.png'))


if __name__ == '__main__':
    main()
