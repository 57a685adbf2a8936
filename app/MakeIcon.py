#!/usr/bin/env python3
"""Writes the application icon: one 32 x 32 image in 16 colours.

    MakeIcon.py OUTPUT.ico

The picture is the grid below, a small version table under a title strip;
each letter is one pixel of the standard 16-colour palette, "." is
transparent.
"""
import struct
import sys

GRID = [
    "................................",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "..kwwwwwwwwwwwwwwwwwwwwwwwwwgk..",
    "..kwnnnnnnnnnnnnnnnnsyyysrrrgk..",
    "..kwnwwwwwwwwwnnnnnnsykysrwrgk..",
    "..kwnnnnnnnnnnnnnnnnsyyysrrrgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kwsgggggggggggsggggggggggsgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwswkkkkkkkwwwswbbbbbwwwwsgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwswkkkkkwwwwwswbbbbwwwwwsgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwswkkkkkkkkwwswbbbbbwwwwsgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwswkkkkkkwwwwswrrrwwwwwwsgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwswkkkkkkkwwwswbbbbbwwwwsgk..",
    "..kwswwwwwwwwwwwswwwwwwwwwwsgk..",
    "..kwssssssssssssssssssssssssgk..",
    "..kggggggggggggggggggggggggggk..",
    "..kkkkkkkkkkkkkkkkkkkkkkkkkkkk..",
    "................................",
]

# The standard 16-colour palette as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Grid letter to palette index.
COLOURS = {".": 0, "k": 0, "n": 4, "s": 7, "g": 8, "r": 9, "y": 11, "b": 12, "w": 15}

SIZE = 32


def image_bits():
    """The colour bits (4 per pixel) and the transparency mask (1 per pixel),
    both bottom row first, each row padded to 4 bytes."""
    colour = bytearray()
    mask = bytearray()
    for line in reversed(GRID):
        for x in range(0, SIZE, 2):
            colour.append(COLOURS[line[x]] << 4 | COLOURS[line[x + 1]])
        bits = "".join("1" if c == "." else "0" for c in line)
        mask += int(bits, 2).to_bytes(SIZE // 8, "big")
    return bytes(colour), bytes(mask)


def icon_file():
    colour, mask = image_bits()
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    # The header counts the colour bits and the mask as one image twice as high.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(colour) + len(mask),
                         0, 0, 16, 0)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    assert len(GRID) == SIZE and all(len(line) == SIZE for line in GRID)
    with open(sys.argv[1], "wb") as output:
        output.write(icon_file())


if __name__ == "__main__":
    main()
