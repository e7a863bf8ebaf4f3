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


def main():
    whole = os.path.join(HERE, "corpus", "fuzz_gif")
    lzw = os.path.join(HERE, "corpus", "fuzz_gif_lzw")
    os.makedirs(whole, exist_ok=True)
    os.makedirs(lzw, exist_ok=True)
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
