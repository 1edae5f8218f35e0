#!/usr/bin/env python3
"""How close do pelimon's outputs come to exact area averaging of the full decode?

  bench/fidelity.py SHARED_BENCH CORPUS WORKDIR LABEL=DIR...

For every corpus JPEG with an output <stem>.png or <stem>.jpg in DIR, the reference is the
one of shared/bench/quality.py: Pillow resize(fit 640x480, BOX) of the full decode, kept in
WORKDIR/ref-all/ as PNG and made once. Prints one markdown row per label over all images, and
one over the five images quality.py picks (those of its peer table). Writes
"label subset n psnr_min psnr_avg size_mismatches" lines to WORKDIR/fidelity.summary, label with
"-" for blanks, subset "all" or "pick".
"""
import os
import sys


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    shared, corpus, work = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
    sys.dont_write_bytecode = True
    sys.path.insert(0, os.path.abspath(shared))
    from quality import BOX, PICK, compare  # noqa: E402  (also re-executes under Debian's python3)
    from pil_reduce import fit  # noqa: E402
    from PIL import Image

    jdir = os.path.join(corpus, "jpg")
    stems = sorted(f[:-4] for f in os.listdir(jdir) if f.endswith(".jpg"))
    refdir = os.path.join(work, "ref-all")
    os.makedirs(refdir, exist_ok=True)

    def reference(stem):
        path = os.path.join(refdir, stem + ".png")
        if not os.path.exists(path):
            im = Image.open(os.path.join(jdir, stem + ".jpg")).convert("RGB")
            im.resize(fit(*im.size, *BOX), Image.BOX).save(path)
        return Image.open(path)

    print("| output | images | PSNR min dB | PSNR avg dB | MAE | max | >2 % | worst image |")
    print("|---|---|---|---|---|---|---|---|")
    summary = []
    for arg in sys.argv[4:]:
        label, outdir = arg.split("=", 1)
        rows = {}
        for stem in stems:
            for ext in (".png", ".jpg"):
                path = os.path.join(outdir, stem + ext)
                if os.path.exists(path):
                    rows[stem] = compare(reference(stem), Image.open(path))
                    break
        bad = [s for s, r in rows.items() if r is None]
        if bad:
            print(f"{label}: size differs from the reference: {' '.join(bad)}", file=sys.stderr)
        subsets = (("all", label, rows), ("pick", label + ", quality.py's images", {p: rows.get(p) for p in PICK}))
        for subset, name, keep in subsets:
            ok = {s: r for s, r in keep.items() if r is not None}
            if not ok:
                print(f"| {name} | 0 | | | | | | |")
                continue
            worst = min(ok, key=lambda s: ok[s][0])
            n = len(ok)
            pmin, pavg = ok[worst][0], sum(r[0] for r in ok.values()) / n
            print(f"| {name} | {n} | {pmin:.2f} | {pavg:.2f} | {sum(r[1] for r in ok.values()) / n:.2f} "
                  f"| {max(r[2] for r in ok.values())} | {sum(r[3] for r in ok.values()) / n:.2f} | {worst} |")
            summary.append(f"{label.replace(' ', '-')} {subset} {n} {pmin:.2f} {pavg:.2f} {len(bad)}\n")
    with open(os.path.join(work, "fidelity.summary"), "w") as f:
        f.writelines(summary)


if __name__ == "__main__":
    main()
