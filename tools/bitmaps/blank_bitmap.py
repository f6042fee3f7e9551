#!/usr/bin/env python3
"""Writes an all-black, uncompressed 24-bit bitmap file.

    blank_bitmap.py WIDTH HEIGHT OUT.bmp
"""
import struct
import sys


def blank_bitmap(width, height):
    row = (width * 3 + 3) // 4 * 4          # rows are padded to whole 32-bit words
    pixels = bytes(row * height)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: blank_bitmap.py WIDTH HEIGHT OUT.bmp")
    width, height = int(sys.argv[1]), int(sys.argv[2])
    with open(sys.argv[3], "wb") as out:
        out.write(blank_bitmap(width, height))


if __name__ == "__main__":
    main()
