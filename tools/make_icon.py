#!/usr/bin/env python3
"""Draws KOVEX's icon and writes icons/kovex.ico (32x32 2 colours, 32x32 16 colours,
16x16 16 colours), icons/kovex.png (64x64, the windows' icon) and the launcher sizes
icons/kovex-<n>.png for n = 16, 32, 48, 64, 128, 256, and controls/kovex_icon_pixels.h, the
32x32 drawing as text for the windows' icon. Run from the repository root."""
import struct
import zlib

# The 16-colour VGA palette, in index order.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GREEN, NAVY, GREY, RED, YELLOW, WHITE, SILVER = 0, 10, 4, 8, 9, 11, 15, 7
CLEAR = None


def draw(size):
    """A navy plate with a yellow K; a green arrow right above, a red arrow left below:
    two units changing places."""
    s = size / 32.0
    img = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    img[y][x] = c

    rect(1, 1, 31, 31, GREY)      # frame
    rect(2, 2, 30, 30, NAVY)      # plate
    rect(2, 2, 30, 3, SILVER)     # light top edge
    # The K.
    rect(7, 6, 11, 26, YELLOW)
    for i in range(10):
        rect(11 + i, 15 - i, 14 + i, 17 - i, YELLOW)
        rect(11 + i, 15 + i, 14 + i, 17 + i, YELLOW)
    # Arrows: right on top (player, green), left at the bottom (computer, red).
    rect(19, 5, 27, 7, GREEN)
    for i in range(3):
        rect(25 + i, 3 + i, 26 + i, 9 - i, GREEN)
    rect(19, 25, 27, 27, RED)
    for i in range(3):
        rect(19 - i, 23 + i, 20 - i, 29 - i, RED)
    return img


def to_mono(img):
    # Dark colours become black, light ones white.
    def lum(c):
        r, g, b = VGA[c]
        return 0.3 * r + 0.59 * g + 0.11 * b
    return [[CLEAR if c is CLEAR else (1 if lum(c) > 100 else 0) for c in row] for row in img]


def bmp_entry(img, bpp, palette):
    size = len(img)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, 0, 0, 0,
                         len(palette), 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    row_bytes = ((size * bpp + 31) // 32) * 4
    xor = b''
    for y in reversed(range(size)):
        bits = 0
        row = bytearray()
        nbits = 0
        for x in range(size):
            c = img[y][x] or 0
            bits = (bits << bpp) | c
            nbits += bpp
            if nbits == 8:
                row.append(bits)
                bits, nbits = 0, 0
        row += bytes(row_bytes - len(row))
        xor += bytes(row)
    mask_row = ((size + 31) // 32) * 4
    andmask = b''
    for y in reversed(range(size)):
        row = bytearray(mask_row)
        for x in range(size):
            if img[y][x] is CLEAR:
                row[x // 8] |= 0x80 >> (x % 8)
        andmask += bytes(row)
    return header + pal + xor + andmask


def write_ico(path, entries):
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = []
    for size, colours, bpp, blob in entries:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours % 256, 0, 1, bpp,
                           len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(blobs))


def write_png(path, img, scale):
    size = len(img) * scale
    raw = b''
    for y in range(size):
        raw += b'\x00'
        for x in range(size):
            c = img[y // scale][x // scale]
            raw += bytes(VGA[c]) + b'\xff' if c is not CLEAR else b'\x00\x00\x00\x00'

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


big = draw(32)
small = draw(16)
write_ico('icons/kovex.ico', [
    (32, 2, 1, bmp_entry(to_mono(big), 1, [(0, 0, 0), (255, 255, 255)])),
    (32, 16, 4, bmp_entry(big, 4, VGA)),
    (16, 16, 4, bmp_entry(small, 4, VGA)),
])
write_png('icons/kovex.png', big, 2)
# The windows take their icon from these pixels: no image decoder (and no scan of Qt's image
# plugins) at start-up.
with open('controls/kovex_icon_pixels.h', 'w') as f:
    f.write('#pragma once\n\n// Written by tools/make_icon.py: the icon drawn at 32x32, one letter a row per pixel,\n'
            '// "a" to "p" the 16-colour palette in order, "." clear.\n')
    f.write('constexpr int kIconPalette[16] = {\n')
    f.write(',\n'.join('    0x%02x%02x%02x' % c for c in VGA) + '};\n\n')
    f.write('constexpr const char* kIconRows[32] = {\n')
    f.write(',\n'.join('    "%s"' % ''.join('.' if c is CLEAR else chr(ord('a') + c) for c in row) for row in big))
    f.write('};\n')
# Launchers: each size drawn for itself up to 64, larger ones as whole multiples of 64.
for n in (16, 32, 48, 64):
    write_png(f'icons/kovex-{n}.png', draw(n), 1)
for n in (128, 256):
    write_png(f'icons/kovex-{n}.png', draw(64), n // 64)
