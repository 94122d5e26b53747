#!/usr/bin/env python3
"""Writes the small bitmap seeds of fuzz/corpus/bitmap_file and, with the 32-bit count a
stored glyph value carries in front, of fuzz/corpus/glyph_bitmap. Run from fuzz/."""
import struct


def bmp(width, height, bpp, colors=None, core=False):
    colors = colors if colors is not None else ([(i * 37 % 256, i * 91 % 256, i * 13 % 256) for i in range(1 << bpp)] if bpp <= 8 else [])
    entry = 3 if core else 4
    header = 12 if core else 40
    stride = (width * bpp + 31) // 32 * 4
    pixels = bytes((x * 5 + y * 3) & 0xFF for y in range(abs(height)) for x in range(stride))
    if bpp <= 8:
        pixels = bytes(b % len(colors) if bpp == 8 else b for b in pixels)
    table = b"".join(bytes((b, g, r)) + (b"" if core else b"\0") for r, g, b in colors)
    offset = 14 + header + len(table)
    info = (struct.pack("<IHHHH", 12, width, height, 1, bpp) if core else
            struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(pixels), 0, 0, len(colors) if bpp <= 8 else 0, 0))
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


seeds = {
    "mono_3x2": bmp(3, 2, 1, [(0, 0, 0), (255, 255, 255)]),
    "nibbles_5x3": bmp(5, 3, 4),
    "indexed_7x4": bmp(7, 4, 8, [(i, 255 - i, 128) for i in range(16)]),
    "true_colour_3x3": bmp(3, 3, 24),
    "with_alpha_2x2": bmp(2, 2, 32),
    "top_down_4x3": bmp(4, -3, 24),
    "core_header_4x4": bmp(4, 4, 8, [(1, 2, 3), (4, 5, 6)], core=True),
}
for name, data in seeds.items():
    open(f"corpus/bitmap_file/{name}", "wb").write(data)
    open(f"corpus/glyph_bitmap/{name}", "wb").write(struct.pack("<i", len(data)) + data)
open("corpus/glyph_bitmap/empty", "wb").write(struct.pack("<i", 0))
