#!/usr/bin/env python3
"""Compares pelimon's sRGB conversion with Pillow's ImageCms (lcms2) on the same reduced pixels.

usage: srgb_check.py CARRIED CONVERTED
       srgb_check.py --cmyk SOURCES CONVERTED
CARRIED holds pelimon's PNGs written with ToSRGB 0 (reduced pixels, source profile in iCCP),
CONVERTED the same job with ToSRGB 1. Each carried image is converted from its profile to sRGB
(relative colorimetric, black-point compensation) and compared with the converted one. With
--cmyk, SOURCES holds CMYK TIFFs with their profiles and CONVERTED pelimon's PNGs of them at their
own size: Pillow reads each TIFF's CMYK pixels and ImageCms converts them the same way. Prints a
Markdown table and a last line "all MEAN MAX" over every image.
"""
import io
import os
import sys

import numpy as np
from PIL import Image, ImageCms


def main(carried_dir, converted_dir, cmyk=False):
    srgb = ImageCms.createProfile("sRGB")
    flags = ImageCms.FLAGS["BLACKPOINTCOMPENSATION"]
    print("| image | size | mean diff | max diff |")
    print("|---|---|---|---|")
    total, count, worst = 0.0, 0, 0
    for name in sorted(os.listdir(carried_dir)):
        carried = Image.open(os.path.join(carried_dir, name))
        icc = carried.info.get("icc_profile")
        if not icc:
            print(f"| {name} | – | no profile carried | – |")
            continue
        source = ImageCms.ImageCmsProfile(io.BytesIO(icc))
        mode = "CMYK" if cmyk else "RGB"
        transform = ImageCms.buildTransform(source, srgb, mode, "RGB",
                                            renderingIntent=ImageCms.Intent.RELATIVE_COLORIMETRIC, flags=flags)
        reference = np.asarray(ImageCms.applyTransform(carried.convert(mode), transform), dtype=np.int16)
        converted = os.path.splitext(name)[0] + ".png" if cmyk else name
        ours = np.asarray(Image.open(os.path.join(converted_dir, converted)).convert("RGB"), dtype=np.int16)
        diff = np.abs(reference - ours)
        total += diff.sum()
        count += diff.size
        worst = max(worst, int(diff.max()))
        print(f"| {name} | {ours.shape[1]}x{ours.shape[0]} | {diff.mean():.3f} | {diff.max()} |")
    print()
    # no image compared (no profile carried) is a failure, not a pass
    print(f"all {total / count:.3f} {worst}" if count else "all nan nan")


if __name__ == "__main__":
    if sys.argv[1] == "--cmyk":
        main(sys.argv[2], sys.argv[3], cmyk=True)
    else:
        main(sys.argv[1], sys.argv[2])
