#!/usr/bin/env python3
"""Camera-style DNGs of the RAW bench set, made from the corpus photographs.

    make_raw_set.py OUT-WITH-PREVIEW OUT-WITHOUT-PREVIEW JPEG...

Each JPEG (12 MP) becomes the raw data of a camera: its pixels linearised (the inverse of the sRGB
curve) to 12-bit samples in an RGGB Bayer mosaic of the same size, with the tags a camera writes
(DNGVersion, Make, Model, UniqueCameraModel, the CFA layout, black and white levels, a colour
matrix, as-shot white balance, orientation, Exif date and exposure). The first folder's files also
hold the photograph itself as a full-size preview JPEG in a SubIFD, as most cameras write; the
second folder's files are the same without it, so that a reader has to develop the raw data.
python3-tifffile writes the TIFF structure; the preview is stored as it stands (no re-encoding).
"""
import os
import sys

import numpy as np
import tifffile
from PIL import Image

# The sRGB curve inverted, onto 12 bits.
_v = np.arange(256) / 255.0
LINEAR_12 = np.round(np.where(_v <= 0.04045, _v / 12.92, ((_v + 0.055) / 1.055) ** 2.4) * 4095).astype(np.uint16)

# XYZ (D65) to linear sRGB: the camera's colours are sRGB's.
COLOR_MATRIX = [3.2406, -1.5372, -0.4986, -0.9689, 1.8758, 0.0415, 0.0557, -0.2040, 1.0570]


def srational(values):
    out = []
    for v in values:
        out += [int(round(v * 10000)), 10000]
    return out


def mosaic(path):
    rgb = np.asarray(Image.open(path).convert("RGB"))
    h, w = rgb.shape[0] & ~1, rgb.shape[1] & ~1
    lin = LINEAR_12[rgb[:h, :w]]
    cfa = np.empty((h, w), np.uint16)
    cfa[0::2, 0::2] = lin[0::2, 0::2, 0]
    cfa[0::2, 1::2] = lin[0::2, 1::2, 1]
    cfa[1::2, 0::2] = lin[1::2, 0::2, 1]
    cfa[1::2, 1::2] = lin[1::2, 1::2, 2]
    return cfa


def raw_tags():
    # (code, dtype, count, value, writeonce)
    return [
        (33421, "H", 2, (2, 2), True),  # CFARepeatPatternDim
        (33422, "B", 4, (0, 1, 1, 2), True),  # CFAPattern RGGB
        (274, "H", 1, 1, True),  # Orientation
        (271, "s", 0, "Pelimon Bench", True),  # Make
        (272, "s", 0, "Mosaic 12", True),  # Model
        (50706, "B", 4, (1, 4, 0, 0), True),  # DNGVersion
        (50707, "B", 4, (1, 1, 0, 0), True),  # DNGBackwardVersion
        (50708, "s", 0, "Pelimon Bench Mosaic 12", True),  # UniqueCameraModel
        (50714, "H", 1, 0, True),  # BlackLevel
        (50717, "H", 1, 4095, True),  # WhiteLevel
        (50721, 10, 9, tuple(srational(COLOR_MATRIX)), True),  # ColorMatrix1, SRATIONAL
        (50728, 5, 3, (1, 1, 1, 1, 1, 1), True),  # AsShotNeutral, RATIONAL
        (50778, "H", 1, 21, True),  # CalibrationIlluminant1 D65
    ]


def _stored_as_is(data, *args, **kwargs):
    raise ValueError("the preview is written as it stands, never encoded")


# The preview strip is the JPEG file as it stands: tifffile only needs a codec registered for the
# compression tag, which it never calls for bytes given ready-made.
tifffile.TIFF.COMPRESSORS._codecs.setdefault(7, _stored_as_is)


def write_dng(out, cfa, preview):
    h, w = cfa.shape
    tags = raw_tags()
    tmp = out + ".part"
    with tifffile.TiffWriter(tmp) as tif:
        tif.write(
            cfa,
            photometric=32803,
            subfiletype=0,
            subifds=1 if preview is not None else 0,
            rowsperstrip=64,
            extratags=tags,
            metadata=None,
            datetime="2024:05:06 07:08:09",
            software="pelimon bench",
        )
        if preview is not None:
            pw, ph = Image.open(preview[1]).size
            tif.write(
                iter([preview[0]]),
                shape=(ph, pw, 3),
                dtype=np.uint8,
                photometric="ycbcr",
                compression=7,
                subsampling=(2, 2),
                rowsperstrip=ph,
                subfiletype=1,
                metadata=None,
            )
    os.replace(tmp, out)


def main():
    with_preview, without_preview, jpegs = sys.argv[1], sys.argv[2], sys.argv[3:]
    os.makedirs(with_preview, exist_ok=True)
    os.makedirs(without_preview, exist_ok=True)
    for path in jpegs:
        name = os.path.splitext(os.path.basename(path))[0] + ".dng"
        a, b = os.path.join(with_preview, name), os.path.join(without_preview, name)
        if os.path.exists(a) and os.path.exists(b):
            continue
        cfa = mosaic(path)
        with open(path, "rb") as f:
            jpeg = f.read()
        write_dng(a, cfa, (jpeg, path))
        write_dng(b, cfa, None)


if __name__ == "__main__":
    main()
