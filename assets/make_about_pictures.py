#!/usr/bin/env python3
"""Draws the About box's pictures and writes them beside this script.

Run from anywhere: python3 assets/make_about_pictures.py [--preview DIR]

  logo.gif          the animated logo: GIF89a, 135 x 125, a 16-colour global palette, 8
                    full-size frames of 10/100 s, disposal 2 (restore to background), colour
                    0 transparent, NETSCAPE 2.0 loop count 999. A quill draws the ring of a Q.
  logo.dat          the same GIF as the GIF control's stored "Data" property: a 32-bit
                    little-endian byte count, then the GIF's bytes.
  banner.wmf        the banner: a placeable metafile, bounding box 2300 x 225 units at 300
                    units per inch.
  donate.bmp        62 x 31, 256 colours: a coin with a heart and "GIVE".
  origin.bmp        598 x 154, 256 colours: a night sky over red hills; the About box lays
                    its "made in" caption over the dark left part.
  ok.bmp            36 x 19, 16 colours: two 18 x 19 cells, a green tick and its disabled
                    look (grey outline); the bottom-left pixel is the transparent colour.

Every picture is our own drawing, made only from the shapes below.
"""
import math
import os
import struct
import sys

import make_assets

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------------------------
# The animated logo.

LOGO_W, LOGO_H = 135, 125
LOGO_FRAMES = 8
LOGO_DELAY_CS = 10
LOGO_LOOPS = 999
LOGO_PALETTE = [
    (0xFF, 0x00, 0xFF),  # 0 transparent
    (0x10, 0x10, 0x20),  # 1 outline
    (0x0B, 0x2A, 0x6F),  # 2 dark ink
    (0x1F, 0x4F, 0xB0),  # 3 ink
    (0x5A, 0x8C, 0xE6),  # 4 light ink
    (0xFF, 0xFF, 0xFF),  # 5 white
    (0xF4, 0xEE, 0xD8),  # 6 feather
    (0xC9, 0xB8, 0x8E),  # 7 feather shade
    (0xE8, 0xB4, 0x24),  # 8 nib
    (0x9C, 0x6C, 0x0C),  # 9 nib shade
    (0x80, 0x80, 0x80),  # 10 grey
    (0xC0, 0xC0, 0xC0),  # 11 light grey
    (0xD0, 0x30, 0x30),  # 12 red
    (0x80, 0x18, 0x18),  # 13 dark red
    (0x30, 0xA0, 0x50),  # 14 green
    (0xFF, 0xE8, 0x40),  # 15 spark
]
TRANSPARENT = 0

RING_CX, RING_CY = 56, 78
RING_IN, RING_OUT = 30, 42
QUILL_ANGLE = math.radians(50)  # the shaft leaves the nib up and to the right
QUILL_LEN = 52


def ring_angle(x, y):
    """Angle of a point around the ring, 0 at the top, growing clockwise, in [0, 2 pi)."""
    return math.atan2(x - RING_CX, RING_CY - y) % (2 * math.pi)


def quill_local(x, y, tip):
    """A point in the quill's own frame: u along the shaft from the nib, v across it."""
    dx, dy = x - tip[0], tip[1] - y
    ux, uy = math.cos(QUILL_ANGLE), math.sin(QUILL_ANGLE)
    return dx * ux + dy * uy, -dx * uy + dy * ux


def quill_colour(x, y, tip):
    u, v = quill_local(x, y, tip)
    if u < 0 or u > QUILL_LEN:
        return None
    if u < 12:  # the nib: a narrow golden wedge with a slit
        half = u * 0.33
        if abs(v) > half + 0.5:
            return None
        if abs(v) >= half - 0.6:
            return 1
        if abs(v) < 0.6 and 2 < u < 9:
            return 1
        return 9 if v < 0 else 8
    # the feather: widest two thirds of the way up, a shaft line through it
    t = (u - 12) / (QUILL_LEN - 12)
    half = 2 + 10 * math.sin(math.pi * min(t * 1.3, 1.0)) * (1 - 0.35 * t)
    if abs(v) > half + 0.5:
        return None
    if abs(v) >= half - 0.6:
        return 1
    if abs(v) < 0.8:
        return 7
    # barbs: slanted stripes on the lower side
    if v < 0 and int((u + v * 0.8) / 4) % 2 == 0:
        return 7
    return 6


def spark_colour(x, y, cx, cy, size):
    dx, dy = abs(x - cx), abs(y - cy)
    if (dx == 0 and dy <= size) or (dy == 0 and dx <= size):
        return 15
    if dx == dy and dx <= size // 2:
        return 5
    return None


def logo_frame(k):
    """Frame k (0 ... 7): the ring drawn up to (k + 1) eighths, the quill at its end."""
    drawn = (k + 1) * 2 * math.pi / LOGO_FRAMES
    end = drawn if k + 1 < LOGO_FRAMES else 0.0
    mid = (RING_IN + RING_OUT) / 2
    tip = (RING_CX + mid * math.sin(end), RING_CY - mid * math.cos(end))
    sparks = [(116, 104), (16, 20), (120, 66), (12, 110)]
    rows = []
    for y in range(LOGO_H):
        row = []
        for x in range(LOGO_W):
            c = quill_colour(x + 0.5, y + 0.5, tip)
            if c is None:
                r = math.hypot(x + 0.5 - RING_CX, y + 0.5 - RING_CY)
                a = ring_angle(x + 0.5, y + 0.5)
                # the tail of the Q, always there: a slanted bar at the lower right
                tu = ((x - RING_CX) + (y - RING_CY)) / math.sqrt(2)
                tv = ((x - RING_CX) - (y - RING_CY)) / math.sqrt(2)
                if RING_IN - 4 <= r <= RING_OUT + 1 and a <= drawn + 1e-9:
                    if r < RING_IN - 3 or r > RING_OUT:
                        c = 1
                    elif r < RING_IN + 2:
                        c = 4
                    elif r > RING_OUT - 3:
                        c = 2
                    else:
                        c = 3
                elif RING_OUT - 6 <= tu <= RING_OUT + 22 and abs(tv) <= 5:
                    c = 1 if abs(tv) > 3.5 or tu > RING_OUT + 20.5 else 12
                elif RING_IN - 4 <= r <= RING_OUT + 1:
                    # the part still to be drawn: a faint pencil guide, every other pixel
                    c = 11 if abs(r - mid) < 0.8 and (x + y) % 2 == 0 else TRANSPARENT
                else:
                    c = TRANSPARENT
                    cx, cy = sparks[k % len(sparks)]
                    s = spark_colour(x, y, cx, cy, 5 if k % 2 == 0 else 3)
                    if s is not None:
                        c = s
            row.append(c)
        rows.append(row)
    return rows


def lzw(indices, min_code_size):
    """GIF LZW: a clear code first, codes packed least significant bit first."""
    clear, eoi = 1 << min_code_size, (1 << min_code_size) + 1
    out, acc, bits = bytearray(), 0, 0

    def put(code, width):
        nonlocal acc, bits
        acc |= code << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8

    def fresh():
        return {(i,): i for i in range(clear)}, eoi + 1, min_code_size + 1

    table, next_code, width = fresh()
    put(clear, width)
    prefix = ()
    for p in indices:
        candidate = prefix + (p,)
        if candidate in table:
            prefix = candidate
            continue
        put(table[prefix], width)
        if next_code == 4096:
            put(clear, width)
            table, next_code, width = fresh()
        else:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        prefix = (p,)
    if prefix:
        put(table[prefix], width)
    put(eoi, width)
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def logo_gif():
    out = bytearray(b'GIF89a')
    out += struct.pack('<HHBBB', LOGO_W, LOGO_H, 0x80 | 0x30 | 0x03, TRANSPARENT, 0)
    for r, g, b in LOGO_PALETTE:
        out += bytes((r, g, b))
    out += b'\x21\xFF\x0BNETSCAPE2.0\x03\x01' + struct.pack('<H', LOGO_LOOPS) + b'\x00'
    for k in range(LOGO_FRAMES):
        packed = (2 << 2) | 1  # disposal 2, transparent colour present
        out += b'\x21\xF9\x04' + struct.pack('<BHB', packed, LOGO_DELAY_CS, TRANSPARENT) + b'\x00'
        out += b'\x2C' + struct.pack('<HHHHB', 0, 0, LOGO_W, LOGO_H, 0)
        pixels = [p for row in logo_frame(k) for p in row]
        out += bytes((4,)) + sub_blocks(lzw(pixels, 4))
    out += b'\x3B'
    return bytes(out)


def stored_data(blob):
    """The GIF control's "Data" property: a 32-bit little-endian count, then the bytes."""
    return struct.pack('<I', len(blob)) + blob


# ---------------------------------------------------------------------------------------------
# The banner: a placeable metafile.

BANNER_W, BANNER_H, BANNER_INCH = 2300, 225, 300


class Metafile:
    def __init__(self):
        self.records = []
        self.objects = 0

    def record(self, function, *words):
        body = b''.join(struct.pack('<h' if w < 0 else '<H', w) for w in words)
        self.records.append(struct.pack('<IH', 3 + len(words), function) + body)

    def raw(self, function, body):
        assert len(body) % 2 == 0
        self.records.append(struct.pack('<IH', 3 + len(body) // 2, function) + body)

    @staticmethod
    def colour(rgb):
        r, g, b = rgb
        return [r | (g << 8), b]

    def brush(self, rgb):
        self.record(0x02FC, 0, *self.colour(rgb), 0)  # CREATEBRUSHINDIRECT, BS_SOLID
        return self.new_object()

    def pen(self, rgb, width, style=0):
        self.record(0x02FA, style, width, 0, *self.colour(rgb))  # CREATEPENINDIRECT
        return self.new_object()

    def font(self, height, weight, italic, face):
        name = face.encode('ascii') + b'\0'
        if len(name) % 2:
            name += b'\0'
        body = struct.pack('<hhhhhBBBBBBBB', -height, 0, 0, 0, weight, italic, 0, 0, 0, 0, 0, 4,
                           0x12) + name
        self.raw(0x02FB, body)  # CREATEFONTINDIRECT, ANTIALIASED_QUALITY, VARIABLE_PITCH | ROMAN
        return self.new_object()

    def new_object(self):
        # Objects take the lowest free slot; this banner never deletes any, so they are 0, 1 ...
        index = self.objects
        self.objects += 1
        return index

    def select(self, index):
        self.record(0x012D, index)

    def rectangle(self, left, top, right, bottom):
        self.record(0x041B, bottom, right, top, left)

    def ellipse(self, left, top, right, bottom):
        self.record(0x0418, bottom, right, top, left)

    def polygon(self, points):
        words = [len(points)]
        for x, y in points:
            words += [round(x), round(y)]
        self.record(0x0324, *words)

    def text(self, x, y, rgb, string):
        self.record(0x0209, *self.colour(rgb))  # SETTEXTCOLOR
        data = string.encode('ascii')
        padded = data + (b'\0' if len(data) % 2 else b'')
        self.raw(0x0521, struct.pack('<h', len(data)) + padded + struct.pack('<hh', y, x))

    def build(self, left, top, right, bottom, inch):
        self.record(0x0000)  # EOF
        body = b''.join(self.records)
        biggest = max(len(r) for r in self.records) // 2
        header = struct.pack('<HHHIHIH', 1, 9, 0x0300, 9 + len(body) // 2, max(self.objects, 1),
                             biggest, 0)
        words = struct.unpack('<10H', struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, left, top, right,
                                                  bottom, inch, 0))
        checksum = 0
        for w in words:
            checksum ^= w
        placeable = struct.pack('<IHhhhhHIH', 0x9AC6CDD7, 0, left, top, right, bottom, inch, 0,
                                checksum)
        return placeable + header + body


def banner_wmf():
    m = Metafile()
    m.record(0x020B, 0, 0)  # SETWINDOWORG y, x
    m.record(0x020C, BANNER_H, BANNER_W)  # SETWINDOWEXT y, x
    m.record(0x0102, 1)  # SETBKMODE TRANSPARENT
    m.select(m.pen((0, 0, 0), 0, style=5))  # PS_NULL: shapes without outlines
    # a sky from deep blue on the left to teal on the right, in bands
    bands = 23
    for i in range(bands):
        t = i / (bands - 1)
        rgb = (round(0x0B + t * (0x10 - 0x0B)), round(0x2A + t * (0x7A - 0x2A)),
               round(0x6F + t * (0x8C - 0x6F)))
        m.select(m.brush(rgb))
        m.rectangle(i * 100, 0, i * 100 + 101, BANNER_H + 1)
    # a light wave along the bottom
    wave = [(x, 190 + 14 * math.sin(x / 160.0)) for x in range(0, BANNER_W + 1, 50)]
    m.select(m.brush((0x5A, 0x8C, 0xE6)))
    m.polygon(wave + [(BANNER_W, BANNER_H), (0, BANNER_H)])
    m.select(m.brush((0xF4, 0xEE, 0xD8)))
    m.polygon([(x, y + 12) for x, y in wave] + [(BANNER_W, BANNER_H), (0, BANNER_H)])
    # the ring of a Q with its tail, and a quill over it
    m.select(m.brush((0xFF, 0xFF, 0xFF)))
    m.ellipse(60, 25, 230, 195)
    m.select(m.brush((0x0B, 0x2A, 0x6F)))
    m.ellipse(95, 60, 195, 160)
    m.select(m.brush((0xD0, 0x30, 0x30)))
    m.polygon([(165, 150), (185, 130), (255, 200), (235, 220)])
    m.select(m.brush((0xE8, 0xB4, 0x24)))
    m.polygon([(200, 120), (225, 80), (240, 95)])
    m.select(m.brush((0xF4, 0xEE, 0xD8)))
    m.polygon([(225, 80), (300, 10), (330, 0), (320, 30), (240, 95)])
    # the name and a line below it
    m.select(m.font(150, 700, 0, 'Times New Roman'))
    m.record(0x012E, 0)  # SETTEXTALIGN TA_TOP | TA_LEFT
    m.text(370, 18, (0x10, 0x10, 0x20), 'Quillop')
    m.text(362, 10, (0xFF, 0xFF, 0xFF), 'Quillop')
    m.select(m.font(60, 400, 1, 'Times New Roman'))
    m.text(1050, 95, (0xF4, 0xEE, 0xD8), 'every window in its place')
    return m.build(0, 0, BANNER_W, BANNER_H, BANNER_INCH)


# ---------------------------------------------------------------------------------------------
# 256-colour bitmaps.

def bmp8(rows, palette):
    """An 8-bit bottom-up BMP file with a 256-entry colour table."""
    palette = list(palette) + [(0, 0, 0)] * (256 - len(palette))
    assert len(palette) == 256
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        data += bytes(row) + b'\0' * (stride - width)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(data), 2835, 2835, 256,
                       0)
    offset = 14 + len(info) + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return header + info + table + bytes(data)


class Canvas:
    """A picture of palette indices; colours are added to the palette as they are used."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.palette = []
        self.rows = [[0] * width for _ in range(height)]

    def index(self, rgb):
        rgb = tuple(int(max(0, min(255, round(c)))) for c in rgb)
        if rgb not in self.palette:
            assert len(self.palette) < 256
            self.palette.append(rgb)
        return self.palette.index(rgb)

    def put(self, x, y, rgb):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = self.index(rgb)


def mix(a, b, t):
    """a to b; t in 16 steps, so that gradients stay within the 256 colours."""
    t = round(max(0.0, min(1.0, t)) * 16) / 16
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# A 5 x 7 pixel font, only the letters used.
FONT = {
    'G': ["01110", "10001", "10000", "10111", "10001", "10001", "01110"],
    'I': ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    'V': ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
}


def donate_bmp():
    c = Canvas(62, 31)
    c.index((0xF0, 0xF0, 0xF0))  # index 0: the face colour of the rounded corners
    gold, deep, dark = (0xF8, 0xC8, 0x30), (0xC0, 0x80, 0x10), (0x50, 0x30, 0x08)
    for y in range(31):
        for x in range(62):
            # a rounded bar, shaded from light at the top to deep at the bottom
            rx = max(0, abs(x - 30.5) - 15.5)
            ry = max(0, abs(y - 15) - 0)
            inside = (rx * rx + ry * ry) <= 15.0 * 15.0
            edge = (rx * rx + ry * ry) > 13.6 * 13.6
            if not inside:
                continue
            if edge:
                c.put(x, y, dark)
            else:
                c.put(x, y, mix(mix(gold, (255, 255, 255), 0.35), deep, y / 30))
    # a heart at the left
    for y in range(31):
        for x in range(62):
            u, v = (x - 12.5) / 7.0, (15.5 - y) / 7.0
            if (u * u + v * v - 1) ** 3 - u * u * v * v * v <= 0:
                c.put(x, y, mix((0xE0, 0x30, 0x40), (0x90, 0x10, 0x20), (y - 8) / 16))
    # the word, with a shadow
    x0 = 23
    for ch in "GIVE":
        for row, bits in enumerate(FONT[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    c.put(x0 + col + 1, 12 + row + 1, dark)
                    c.put(x0 + col, 12 + row, (0xFF, 0xFF, 0xFF))
        x0 += 8
    return bmp8(c.rows, c.palette)


def origin_bmp():
    w, h = 598, 154
    c = Canvas(w, h)
    top, low = (0x06, 0x0C, 0x2A), (0x2A, 0x2C, 0x6A)
    ground, ground_far = (0x8A, 0x2E, 0x12), (0x5A, 0x1C, 0x10)
    for y in range(h):
        sky = mix(top, low, y / h)
        for x in range(w):
            hill = 118 + 10 * math.sin(x / 55.0) + 6 * math.sin(x / 17.0 + 1)
            far = 104 + 14 * math.sin(x / 90.0 + 2)
            # the sun, low over the hills at the right
            d = math.hypot(x - 505, y - 100)
            if y >= hill:
                c.put(x, y, mix(ground, (0x40, 0x10, 0x08), (y - hill) / (h - hill + 1)))
            elif y >= far:
                c.put(x, y, ground_far)
            elif d < 34:
                c.put(x, y, mix((0xFF, 0xE0, 0x60), (0xF0, 0x80, 0x20), d / 34))
            elif d < 48:
                c.put(x, y, mix((0xF0, 0x80, 0x20), mix(top, low, 100 / h), (d - 34) / 14))
            else:
                c.put(x, y, sky)
    # four bright stars and a small one, in the shape of a cross, over the sun
    for sx, sy, size in [(470, 18, 4), (538, 40, 4), (455, 62, 3), (500, 50, 2), (520, 72, 3)]:
        for d in range(-size, size + 1):
            for px, py in [(sx + d, sy), (sx, sy + d)]:
                c.put(px, py, mix((0xFF, 0xFF, 0xFF), top, abs(d) / (size + 1)))
    return bmp8(c.rows, c.palette)


# ---------------------------------------------------------------------------------------------
# The OK button's picture.

OK_TICK = [
    "..................",
    "..................",
    "..................",
    "..............kk..",
    ".............kGGk.",
    "............kGGGk.",
    "...........kGGGk..",
    "..kk......kGGGk...",
    ".kGGk....kGGGk....",
    ".kGGGk..kGGGk.....",
    "..kGGGkkGGGk......",
    "...kGGGGGGk.......",
    "....kGGGGk........",
    ".....kGGk.........",
    "......kk..........",
    "..................",
    "..................",
    "..................",
    "..................",
]


def ok_bmp():
    legend = dict(make_assets.LEGEND)
    legend['G'] = 2  # dark green of the 16 standard colours
    normal = [[legend[ch] for ch in row] for row in OK_TICK]
    assert len(normal) == 19 and all(len(row) == 18 for row in normal)
    grey = make_assets.disabled(normal)
    rows = [normal[y] + grey[y] for y in range(19)]
    assert rows[18][0] == make_assets.BACKGROUND
    return make_assets.bmp4(rows)


# ---------------------------------------------------------------------------------------------

def preview(directory, gif):
    """PNG previews for eyes only (the logo's frames side by side)."""
    frames = [logo_frame(k) for k in range(LOGO_FRAMES)]
    rows = [sum((f[y] for f in frames), []) for y in range(LOGO_H)]
    pal = [p for p in LOGO_PALETTE]
    pal[TRANSPARENT] = (0xD4, 0xD0, 0xC8)
    make_assets.png(rows, os.path.join(directory, 'logo_frames.png'), 2, pal)
    with open(os.path.join(directory, 'logo.gif'), 'wb') as f:
        f.write(gif)


def main():
    gif = logo_gif()
    outputs = {'logo.gif': gif, 'logo.dat': stored_data(gif), 'banner.wmf': banner_wmf(),
               'donate.bmp': donate_bmp(), 'origin.bmp': origin_bmp(), 'ok.bmp': ok_bmp()}
    for name, blob in outputs.items():
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(blob)
    if len(sys.argv) == 3 and sys.argv[1] == '--preview':
        os.makedirs(sys.argv[2], exist_ok=True)
        preview(sys.argv[2], gif)


if __name__ == '__main__':
    main()
