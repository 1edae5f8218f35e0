#!/usr/bin/python3
"""Rate-distortion of pelimon's JPEG encoder against `cjpeg -optimize` on the same pixels.

The corpus JPEGs are reduced once by pelimon to PNG at each size (exact area averaging); pelimon
then encodes those PNGs at each quality without resampling (--percent 100), with its default
encoder and with --fast-jpeg (the baseline encoder), and cjpeg -optimize encodes the same pixels.
Distortion against the reduced pixels: SSIM on luma (scikit-image) and Butteraugli, and PSNR over
the RGB channels beside them (the fidelity figure of the other sets). The
Bjontegaard delta rate (cubic fit of log bytes against the metric, integrated over the range both
curves cover) says how many bytes an encoder saves at equal distortion.

  bench/rd.py --pelimon BIN --corpus DIR --work DIR [--images N] [--sizes 1600x1200,640x480]
              [--qualities 50,60,70,80,90] [--no-butteraugli] [--butteraugli-sizes 1600x1200,640x480]
              [--markdown FILE] [--plot FILE] [--replot]

--replot draws the plot again from the measurements a run left in WORK/rd.json.
"""
import argparse
import json
import math
import os
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import numpy as np
from PIL import Image


def run(cmd, **kw):
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, **kw)


def luma(path):
    rgb = np.asarray(Image.open(path).convert("RGB"), dtype=np.float64)
    return rgb[..., 0] * 0.299 + rgb[..., 1] * 0.587 + rgb[..., 2] * 0.114


def ssim(ref_luma, path):
    from skimage.metrics import structural_similarity
    return float(structural_similarity(ref_luma, luma(path), data_range=255.0))


def psnr(ref_rgb, path):
    """PSNR over the three 8-bit channels: the fidelity figure the other sets report."""
    rgb = np.asarray(Image.open(path).convert("RGB"), dtype=np.float64)
    mse = float(np.mean((rgb - ref_rgb) ** 2))
    return 99.0 if mse == 0 else 10.0 * math.log10(255.0 ** 2 / mse)


def butteraugli(ref, path):
    out = subprocess.run(["butteraugli", str(ref), str(path)], check=True, capture_output=True, text=True).stdout
    return float(out.split()[0])


def bd_rate(rates_a, dist_a, rates_b, dist_b):
    """Average bytes of b relative to a at equal distortion, in percent (negative: b smaller)."""
    la, lb = np.log(rates_a), np.log(rates_b)
    da, db = np.asarray(dist_a), np.asarray(dist_b)
    lo, hi = max(da.min(), db.min()), min(da.max(), db.max())
    if not hi > lo:
        return float("nan")
    degree = min(3, len(da) - 1)
    pa, pb = np.polyfit(da, la, degree), np.polyfit(db, lb, degree)
    ia, ib = np.polyint(pa), np.polyint(pb)
    avg = ((np.polyval(ib, hi) - np.polyval(ib, lo)) - (np.polyval(ia, hi) - np.polyval(ia, lo))) / (hi - lo)
    return (math.exp(avg) - 1.0) * 100.0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--pelimon", required=True)
    ap.add_argument("--corpus", required=True, help="folder of JPEGs")
    ap.add_argument("--work", required=True)
    ap.add_argument("--images", type=int, default=0, help="only the first N (0: all)")
    ap.add_argument("--sizes", default="1600x1200,640x480")
    ap.add_argument("--qualities", default="50,60,70,80,90")
    ap.add_argument("--no-butteraugli", action="store_true")
    ap.add_argument("--butteraugli-sizes", default="1600x1200,640x480",
                    help="sizes measured by Butteraugli too (2 s per 1600x1200 image: the whole run "
                         "takes about 15 minutes on 2 cores; 640x480 alone about 3)")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--markdown")
    ap.add_argument("--plot")
    ap.add_argument("--replot", action="store_true")
    args = ap.parse_args()

    work = Path(args.work)
    sources = sorted(Path(args.corpus).glob("*.jpg"))
    if args.images:
        sources = sources[: args.images]
    qualities = [int(q) for q in args.qualities.split(",")]
    sizes = args.sizes.split(",")
    env = dict(os.environ, PELIMON_INI=str(work / "unused.ini"), QT_QPA_PLATFORM="offscreen")
    encoders = {"pelimon": [], "pelimon-fast": ["--fast-jpeg"]}
    results = {}  # (size, encoder, image) -> list of (bytes, ssim, butteraugli)
    if args.replot:
        saved = json.loads((work / "rd.json").read_text())
        results = {tuple(k.split("|")): v for k, v in saved.items()}
        sizes = [size for size in sizes if any(k[0] == size for k in results)]
    else:
        for size in sizes:
            ref_dir = work / "ref" / size
            if ref_dir.exists():
                run(["rm", "-rf", str(ref_dir)])
            ref_dir.mkdir(parents=True)
            picked = work / "src"
            picked.mkdir(parents=True, exist_ok=True)
            for src in sources:
                link = picked / src.name
                if not link.exists():
                    link.symlink_to(src.resolve())
            run([args.pelimon, "--quiet", "-s", size, "-f", "png", "-o", str(ref_dir), str(picked)], env=env)
            refs = sorted(ref_dir.glob("*.png"))
            for ref in refs:
                Image.open(ref).convert("RGB").save(ref.with_suffix(".ppm"))
            jobs = []
            for q in qualities:
                for name, extra in encoders.items():
                    out = work / name / size / str(q)
                    run(["rm", "-rf", str(out)])
                    out.mkdir(parents=True)
                    run([args.pelimon, "--quiet", "-f", "jpeg", "-q", str(q), "-p", "100", *extra, "-o", str(out),
                         str(ref_dir)], env=env)
                out = work / "cjpeg" / size / str(q)
                run(["rm", "-rf", str(out)])
                out.mkdir(parents=True)
                for ref in refs:
                    run(["cjpeg", "-optimize", "-quality", str(q), "-outfile", str(out / (ref.stem + ".jpg")),
                         str(ref.with_suffix(".ppm"))])

            with_butteraugli = not args.no_butteraugli and size in args.butteraugli_sizes.split(",")

            def measure(ref):
                ref_luma = luma(ref)
                ref_rgb = np.asarray(Image.open(ref).convert("RGB"), dtype=np.float64)
                rows = {}
                for name in ["pelimon", "pelimon-fast", "cjpeg"]:
                    points = []
                    for q in qualities:
                        path = work / name / size / str(q) / (ref.stem + ".jpg")
                        b = butteraugli(ref, path) if with_butteraugli else None
                        points.append((path.stat().st_size, ssim(ref_luma, path), b, psnr(ref_rgb, path)))
                    rows[name] = points
                return ref.stem, rows

            with ThreadPoolExecutor(args.jobs) as pool:
                for stem, rows in pool.map(measure, refs):
                    for name, points in rows.items():
                        results[(size, name, stem)] = points
            print(f"measured {size}", file=sys.stderr)

    metrics = [("SSIM", 1)] + ([] if args.no_butteraugli else [("Butteraugli", 2)])
    lines = ["| size | encoder vs `cjpeg -optimize` | metric | mean BD-rate | worst image | images ≤ −3 % |",
             "|---|---|---|---:|---:|---:|"]
    summary = {}
    for size in sizes:
        stems = sorted({k[2] for k in results if k[0] == size})
        for name in ["pelimon", "pelimon-fast"]:
            for metric, column in metrics:
                if results[(size, "cjpeg", stems[0])][0][column] is None:
                    continue
                values = []
                for stem in stems:
                    a, b = results[(size, "cjpeg", stem)], results[(size, name, stem)]
                    values.append(bd_rate([p[0] for p in a], [p[column] for p in a], [p[0] for p in b],
                                          [p[column] for p in b]))
                values = [v for v in values if not math.isnan(v)]
                mean, worst = float(np.mean(values)), float(np.max(values))
                good = sum(1 for v in values if v <= -3.0)
                summary[(size, name, metric)] = (mean, worst, good, len(values))
                lines.append(f"| {size} | {name} | {metric} | {mean:+.1f} % | {worst:+.1f} % | {good} / {len(values)} |")
    # PSNR came later than the other metrics: measurements from an older rd.json have none.
    with_psnr = all(len(p) > 3 for v in results.values() for p in v)
    lines += ["", "| size | quality | encoder | mean bytes | mean SSIM (luma) |" +
              ("" if args.no_butteraugli else " mean Butteraugli |") + (" mean PSNR (RGB, dB) |" if with_psnr else ""),
              "|---|---:|---|---:|---:|" + ("" if args.no_butteraugli else "---:|") + ("---:|" if with_psnr else "")]
    curves = {}
    for size in sizes:
        for name in ["cjpeg", "pelimon-fast", "pelimon"]:
            rows = [v for k, v in results.items() if k[0] == size and k[1] == name]
            for i, q in enumerate(qualities):
                size_mean = float(np.mean([r[i][0] for r in rows]))
                ssim_mean = float(np.mean([r[i][1] for r in rows]))
                curves.setdefault((size, name), []).append((size_mean, ssim_mean))
                line = f"| {size} | {q} | {name} | {size_mean:,.0f} | {ssim_mean:.4f} |"
                if not args.no_butteraugli:
                    scores = [r[i][2] for r in rows if r[i][2] is not None]
                    line += f" {float(np.mean(scores)):.3f} |" if scores else " – |"
                if with_psnr:
                    line += f" {float(np.mean([r[i][3] for r in rows])):.2f} |"
                lines.append(line)
    text = "\n".join(lines) + "\n"
    print(text)
    if args.markdown:
        Path(args.markdown).write_text(text)
    if not args.replot:
        (work / "rd.json").write_text(json.dumps({"|".join(k): v for k, v in results.items()}))
    if args.plot:
        import matplotlib
        matplotlib.use("Agg")
        import matplotlib.pyplot as plt
        fig, axes = plt.subplots(1, len(sizes), figsize=(6 * len(sizes), 4.5))
        axes = np.atleast_1d(axes)
        labels = {"cjpeg": "cjpeg -optimize", "pelimon-fast": "pelimon --fast-jpeg", "pelimon": "pelimon"}
        for ax, size in zip(axes, sizes):
            for name in ["cjpeg", "pelimon-fast", "pelimon"]:
                pts = curves[(size, name)]
                ax.plot([p[0] / 1024 for p in pts], [p[1] for p in pts], marker="o", label=labels[name])
            ax.set_title(f"{size}, qualities {qualities[0]}..{qualities[-1]} (mean of {len(stems)} images)")
            ax.set_xlabel("mean file size (KiB)")
            ax.set_ylabel("mean SSIM on luma")
            ax.grid(True, alpha=0.3)
            ax.legend()
        fig.tight_layout()
        fig.savefig(args.plot, dpi=100)


if __name__ == "__main__":
    main()
