#!/usr/bin/env python3
"""Seeds the fuzz corpora from the peer fixtures (tests/peer/data).

corpus/fuzz_gif gets the small fixture files as they are. corpus/fuzz_gif_lzw gets, for each
of them, its first image in that target's input format: width (2 bytes, little-endian),
height (1 byte), flags (bit 0 interlaced, bit 1 transparent), transparent index, then the
image data from the LZW minimum code size byte to the end of its sub-blocks.
Inputs the fuzzer finds are added to the corpora by hand (minimised with -merge=1).
"""
import os
import shutil
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "peer", "data")
MAX_SEED = 8 * 1024


def first_image(gif):
    """(width, height, flags, index, image data) of the first image, or None."""
    pos = 13
    packed = gif[10]
    if packed & 0x80:
        pos += 3 << ((packed & 7) + 1)
    transparent, index = False, 0
    while pos < len(gif):
        b = gif[pos]
        if b == 0x21:
            label = gif[pos + 1]
            pos += 2
            if label == 0xF9 and gif[pos] >= 4:
                transparent = bool(gif[pos + 1] & 1)
                index = gif[pos + 4]
            while pos < len(gif) and gif[pos]:
                pos += gif[pos] + 1
            pos += 1
        elif b == 0x2C:
            _, _, w, h, p = struct.unpack_from("<HHHHB", gif, pos + 1)
            pos += 10
            if p & 0x80:
                pos += 3 << ((p & 7) + 1)
            start = pos
            pos += 1
            while pos < len(gif) and gif[pos]:
                pos += gif[pos] + 1
            flags = (1 if p & 0x40 else 0) | (2 if transparent else 0)
            return w, h, flags, index, gif[start:pos + 1]
        else:
            return None
    return None


def pack(codes, width):
    """Codes of one width, least significant bit first."""
    out, acc, bits = bytearray(), 0, 0
    for c in codes:
        acc |= c << bits
        bits += width
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc)
    return bytes(out)


def literal_data(pixels, end=True, chunk=255):
    """Image data at minimum code size 2 made of literal codes only: a clear code before every
    three pixels keeps the width at 3 bits."""
    codes = []
    for i in range(0, len(pixels), 3):
        codes.append(4)
        codes.extend(p & 3 for p in pixels[i:i + 3])
    if end:
        codes.append(5)
    data = pack(codes, 3)
    out = bytearray([2])
    for i in range(0, len(data), chunk):
        part = data[i:i + chunk]
        out.append(len(part))
        out += part
    return bytes(out + b"\0")


def gce(disposal, transparent, index, delay=0):
    return bytes([0x21, 0xF9, 4, (disposal << 2) | transparent, delay & 0xFF, delay >> 8, index, 0])


def image(left, top, w, h, pixels, packed=0, local=b"", end=True, chunk=255):
    return (struct.pack("<BHHHHB", 0x2C, left, top, w, h, packed) + local +
            literal_data(pixels, end, chunk))


def crafted():
    """Hand-made seeds for paths that real files rarely take."""
    pal4 = bytes([0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255])
    head = b"GIF89a" + struct.pack("<HHBBB", 8, 6, 0x81, 0, 0) + pal4
    seeds = {}
    # 257 tiny frames: every disposal value, transparency on and off, some local tables,
    # some frames past the logical screen.
    frames = bytearray()
    for i in range(257):
        frames += gce(i % 8, i % 3 == 0, i % 4, i)
        local = pal4 if i % 5 == 0 else b""
        packed = 0x81 if local else 0
        frames += image(i % 7, i % 5, 2 + i % 3, 2, [(i + k) % 4 for k in range(8)], packed, local)
    seeds["seed-crafted-257-frames.gif"] = head + bytes(frames) + b"\x3b"
    # Every kind of extension, including odd block sizes, before two frames.
    ext = (b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x05\x00\x00" +
           b"\x21\xff\x08NETSCAPE\x03\x01\x07\x00\x00" +
           b"\x21\xfe\x05hello\x03abc\x00" +
           b"\x21\x01\x0c" + bytes(12) + b"\x02hi\x00" +
           b"\x21\x77\x01x\x00" +
           b"\x21\xf9\x06\x0d\x0a\x00\x02\x00\x00\x00" +
           gce(3, 1, 2, 10))
    seeds["seed-crafted-extensions.gif"] = (
        head + ext + image(0, 0, 8, 6, [k % 4 for k in range(48)], 0x40) +
        gce(2, 1, 1) + image(4, 3, 6, 5, [k % 3 for k in range(30)]) + b"\x3b")
    # Interlaced transparent image cut short, then one-byte sub-blocks.
    seeds["seed-crafted-short-interlaced.gif"] = (
        head + gce(0, 1, 0) + image(0, 0, 8, 6, [1, 2, 3] * 4, 0x40, end=False) +
        gce(1, 0, 0) + image(1, 1, 5, 4, [k % 4 for k in range(20)], chunk=1) + b"\x3b")
    return seeds


def main():
    whole = os.path.join(HERE, "corpus", "fuzz_gif")
    lzw = os.path.join(HERE, "corpus", "fuzz_gif_lzw")
    os.makedirs(whole, exist_ok=True)
    os.makedirs(lzw, exist_ok=True)
    for name, blob in crafted().items():
        open(os.path.join(whole, name), "wb").write(blob)
    for name in sorted(os.listdir(DATA)):
        path = os.path.join(DATA, name)
        gif = open(path, "rb").read()
        if len(gif) <= MAX_SEED:
            shutil.copy(path, os.path.join(whole, "seed-" + name))
        img = first_image(gif)
        if img and len(img[4]) <= MAX_SEED:
            w, h, flags, index, data = img
            # The target maps width to 1 ... 700 and height to 1 ... 160.
            if w <= 700 and h <= 160:
                blob = struct.pack("<HBBB", w - 1, h - 1, flags, index) + data
                open(os.path.join(lzw, "seed-" + name[:-4] + ".lzw"), "wb").write(blob)
    return 0


if __name__ == "__main__":
    sys.exit(main())
