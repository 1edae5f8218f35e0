#!/usr/bin/python3
"""Writes the small decoder fixtures of this folder. BMP files are written byte by byte here so
that every header variant is exact; PNG, GIF and JPEG files come from Pillow and ImageMagick.

Lossless fixtures are 7 x 5 with pixel (x, y) = COLOURS[(x + 2 y) % n] (n = 2 for 1-bit images);
grey ones use GREYS the same way. Alpha fixtures use ALPHAS[(x + y) % 3]. JPEG fixtures are
32 x 32 with four flat 16 x 16 quadrants: red, green / blue, white.
Run from this folder: python3 make_fixtures.py
"""
import struct
import subprocess

from PIL import Image

W, H = 7, 5
COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255),
           (0, 0, 0), (255, 255, 0), (0, 255, 255), (128, 64, 32)]
GREYS = [0, 36, 73, 109, 146, 182, 219, 255]
ALPHAS = [255, 0, 128]


def index(x, y, n=8):
    return (x + 2 * y) % n


def bmp(name, bits, rows, palette=(), compression=0, masks=(), info_size=40, top_down=False, core=False):
    """rows: list of file rows (already in file order), unpadded bytes."""
    stride = (W * bits + 31) // 32 * 4
    if compression in (1, 2):
        data = rows
    else:
        data = b"".join(r + b"\0" * (stride - len(r)) for r in rows)
    if core:
        info = struct.pack("<IHHHH", 12, W, H, 1, bits)
        pal = b"".join(bytes((b, g, r)) for r, g, b in palette)
    else:
        info = struct.pack("<IiiHHIIiiII", info_size, W, -H if top_down else H, 1, bits, compression,
                           len(data), 2835, 2835, len(palette), 0)
        if info_size > 40:
            extra = struct.pack("<4I", *(list(masks) + [0] * (4 - len(masks))))
            info += extra + b"\0" * (info_size - 40 - len(extra))
        elif masks:
            info += struct.pack("<%dI" % len(masks), *masks)
        pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + len(info) + len(pal)
    header = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    with open(name, "wb") as f:
        f.write(header + info + pal + data)


def file_rows(make_row, top_down=False):
    order = range(H) if top_down else range(H - 1, -1, -1)
    return [make_row(y) for y in order]


def packed(y, bits, n):
    out, acc, used = bytearray(), 0, 0
    for x in range(W):
        acc = acc << bits | index(x, y, n)
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    return bytes(out)


def rgb24(y):
    return b"".join(bytes(COLOURS[index(x, y)][::-1]) for x in range(W))


def rle8():
    out = bytearray()
    for y in range(H - 1, -1, -1):
        if y == H - 1:  # absolute mode for one row
            out += bytes((0, W)) + bytes(index(x, y) for x in range(W)) + b"\0"
        else:
            for x in range(W):
                out += bytes((1, index(x, y)))
        out += b"\0\0"
    return bytes(out + b"\0\1")


def rle4():
    out = bytearray()
    for y in range(H - 1, -1, -1):
        if y == H - 1:
            nibbles = [index(x, y) for x in range(W)] + [0]
            out += bytes((0, W)) + bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, W, 2))
            out += b"\0" * (len(out) % 2)
        else:
            for x in range(W):
                out += bytes((1, index(x, y) << 4))
        out += b"\0\0"
    return bytes(out + b"\0\1")


def write_bmps():
    bmp("bmp_1bit.bmp", 1, file_rows(lambda y: packed(y, 1, 2)), COLOURS[:2])
    bmp("bmp_4bit.bmp", 4, file_rows(lambda y: packed(y, 4, 8)), COLOURS)
    bmp("bmp_8bit.bmp", 8, file_rows(lambda y: packed(y, 8, 8)), COLOURS)
    bmp("bmp_8bit_topdown.bmp", 8, file_rows(lambda y: packed(y, 8, 8), True), COLOURS, top_down=True)
    bmp("bmp_rle8.bmp", 8, rle8(), COLOURS, compression=1)
    bmp("bmp_rle4.bmp", 4, rle4(), COLOURS, compression=2)

    def px555(y):
        return b"".join(struct.pack("<H", (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
                        for r, g, b in (COLOURS[index(x, y)] for x in range(W)))

    def px565(y):
        return b"".join(struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | b >> 3)
                        for r, g, b in (COLOURS[index(x, y)] for x in range(W)))

    bmp("bmp_16bit.bmp", 16, file_rows(px555))
    bmp("bmp_16bit_565.bmp", 16, file_rows(px565), compression=3, masks=(0xF800, 0x07E0, 0x001F))
    bmp("bmp_24bit.bmp", 24, file_rows(rgb24))
    bmp("bmp_24bit_topdown.bmp", 24, file_rows(rgb24, True), top_down=True)
    bmp("bmp_24bit_os2.bmp", 24, file_rows(rgb24), core=True)
    bmp("bmp_32bit.bmp", 32, file_rows(lambda y: b"".join(bytes(COLOURS[index(x, y)][::-1]) + b"\0"
                                                           for x in range(W))))

    def argb(y):
        return b"".join(bytes(COLOURS[index(x, y)][::-1]) + bytes((ALPHAS[(x + y) % 3],)) for x in range(W))

    bmp("bmp_32bit_alpha.bmp", 32, file_rows(argb), compression=3, info_size=124,
        masks=(0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000))


def pattern_rgb():
    image = Image.new("RGB", (W, H))
    for y in range(H):
        for x in range(W):
            image.putpixel((x, y), COLOURS[index(x, y)])
    return image


def pattern_rgba():
    image = Image.new("RGBA", (W, H))
    for y in range(H):
        for x in range(W):
            image.putpixel((x, y), COLOURS[index(x, y)] + (ALPHAS[(x + y) % 3],))
    return image


def pattern_grey(mode="L"):
    image = Image.new("L", (W, H))
    for y in range(H):
        for x in range(W):
            image.putpixel((x, y), GREYS[index(x, y)])
    return image


def palette_image():
    image = Image.new("P", (W, H))
    image.putpalette([c for colour in COLOURS for c in colour])
    for y in range(H):
        for x in range(W):
            image.putpixel((x, y), index(x, y))
    return image


def write_pngs_and_gifs():
    pattern_rgb().save("png_rgb.png")
    pattern_rgba().save("png_rgba.png")
    pattern_grey().save("png_grey.png")
    grey_alpha = Image.merge("LA", (pattern_grey(), pattern_rgba().getchannel("A")))
    grey_alpha.save("png_grey_alpha.png")
    palette_image().save("png_palette.png")
    palette_image().save("png_palette_trns.png", transparency=0)  # red becomes transparent
    subprocess.run(["convert", "png_rgb.png", "-strip", "-depth", "16", "PNG48:png_rgb16.png"], check=True)
    subprocess.run(["convert", "png_rgb.png", "-strip", "-interlace", "PNG", "PNG24:png_interlaced.png"], check=True)
    bilevel = Image.new("1", (W, H))
    for y in range(H):
        for x in range(W):
            bilevel.putpixel((x, y), 255 * index(x, y, 2))
    bilevel.save("png_grey_1bit.png")
    palette_image().save("gif_transparent.gif", transparency=0, interlace=False)
    big = Image.new("P", (16, 17))
    big.putpalette([c for colour in COLOURS for c in colour])
    for y in range(17):
        for x in range(16):
            big.putpixel((x, y), (x // 4 + 2 * y) % 8)
    big.save("gif_interlaced.gif", interlace=True)


def write_jpegs():
    quadrants = Image.new("RGB", (32, 32))
    for y in range(32):
        for x in range(32):
            quadrants.putpixel((x, y), [[(255, 0, 0), (0, 255, 0)], [(0, 0, 255), (255, 255, 255)]][y // 16][x // 16])
    quadrants.save("quadrants.png")
    for name, options in [("jpeg_baseline.jpg", []), ("jpeg_progressive.jpg", ["-interlace", "JPEG"]),
                          ("jpeg_grey.jpg", ["-colorspace", "Gray"]), ("jpeg_cmyk.jpg", ["-colorspace", "CMYK"])]:
        subprocess.run(["convert", "quadrants.png", "-strip", "-quality", "95", *options, name], check=True)
    subprocess.run(["rm", "quadrants.png"], check=True)


def write_progressive_jpegs():
    """83 x 61 smooth waves, progressive, in each sampling the DC-only decoder handles; one with
    a restart interval of three MCUs. Written by cjpeg (libjpeg-turbo)."""
    import math
    waves = Image.new("RGB", (83, 61))
    for y in range(61):
        for x in range(83):
            waves.putpixel((x, y), tuple(max(0, min(255, int(v))) for v in (
                127 + 100 * math.sin(x / 9.0) + 20 * math.cos(y / 5.0), 40 + 180 * y / 61,
                200 - 150 * x / 83 + 30 * math.sin((x + y) / 7.0))))
    waves.save("waves.ppm")
    for name, options in [("jpeg_progressive_420_restart.jpg", ["-sample", "2x2", "-restart", "3B"]),
                          ("jpeg_progressive_422.jpg", ["-sample", "2x1"]),
                          ("jpeg_progressive_444.jpg", ["-sample", "1x1"]),
                          ("jpeg_progressive_grey.jpg", ["-grayscale"])]:
        with open(name, "wb") as out:
            subprocess.run(["cjpeg", "-progressive", "-quality", "90", *options, "waves.ppm"], stdout=out, check=True)
    subprocess.run(["rm", "waves.ppm"], check=True)


def write_tiffs():
    """The TIFF fixtures: 7 x 5 lossless ones in the layouts the decoder converts itself, written
    by tifffile and Pillow; tiff_jpeg_rgb.tif holds the JPEG quadrants; tiff_multipage.tif the
    pattern on its first page and black on its second."""
    import numpy as np
    import tifffile
    rgb = np.array([[COLOURS[index(x, y)] for x in range(W)] for y in range(H)], dtype=np.uint8)
    alpha = np.array([[ALPHAS[(x + y) % 3] for x in range(W)] for y in range(H)], dtype=np.uint8)
    grey = np.array([[GREYS[index(x, y)] for x in range(W)] for y in range(H)], dtype=np.uint8)
    bits = np.array([[index(x, y, 2) for x in range(W)] for y in range(H)], dtype=np.uint8)
    Image.fromarray(rgb).save("tiff_rgb_lzw.tif", compression="tiff_lzw")
    tifffile.imwrite("tiff_rgb16_deflate_tiled_be.tif", rgb.astype(np.uint16) * 257, byteorder=">",
                     compression="zlib", tile=(16, 16), photometric="rgb")
    tifffile.imwrite("tiff_rgb_planar_bigtiff.tif", np.moveaxis(rgb, 2, 0), bigtiff=True, planarconfig="separate",
                     photometric="rgb")
    Image.fromarray(grey.astype(np.uint16) * 257).save("tiff_grey16_packbits.tif", compression="packbits")
    # 1-bit through libtiff's CCITT Group 4 coder: COLOURS[:2] index 0 is black here, 1 white.
    Image.fromarray(bits * 255).convert("1").save("tiff_bilevel_g4.tif", compression="group4")
    tifffile.imwrite("tiff_rgba_unassociated.tif", np.dstack([rgb, alpha]), photometric="rgb",
                     extrasamples=[2])
    tifffile.imwrite("tiff_rgba_associated.tif", np.dstack([(rgb.astype(np.uint32) * alpha[..., None] // 255)
                                                            .astype(np.uint8), alpha]), photometric="rgb",
                     extrasamples=[1])
    inks = [(0, 255, 255, 0), (255, 0, 255, 0), (255, 255, 0, 0), (0, 0, 0, 0), (0, 0, 0, 255), (0, 0, 255, 0),
            (255, 0, 0, 0), (0, 127, 191, 127)]
    cmyk = np.array([[inks[index(x, y)] for x in range(W)] for y in range(H)], dtype=np.uint8)
    tifffile.imwrite("tiff_cmyk.tif", cmyk, photometric="separated")
    Image.open("jpeg_baseline.jpg").convert("RGB").save("tiff_jpeg_rgb.tif", compression="jpeg", quality=95)
    with tifffile.TiffWriter("tiff_multipage.tif") as tif:
        tif.write(rgb, photometric="rgb")
        tif.write(np.zeros_like(rgb), photometric="rgb")


write_bmps()
write_pngs_and_gifs()
write_jpegs()
write_progressive_jpegs()
write_tiffs()
