#!/usr/bin/env python3
"""PNG-to-JPEG benchmark: quillpix beside the image library alone, a libpng-to-libjpeg floor and
the common command-line converters, all at quality 95 without chroma subsampling.

    python3 bench/run.py [--build DIR] [--reps N] [--quick] [--classes a,b] [--tools a,b]

Installs the Debian packages it needs, builds a corpus of PNG files once (cached in
DIR/bench-corpus), converts it class by class with every tool (one warm-up, then N timed
repetitions, interleaved across tools), checks each run's outputs and prints median seconds,
seconds per megapixel, peak memory and the ratio to the floor. Ratios are what to compare;
absolute times depend on the machine.
"""

import argparse
import json
import os
import platform
import re
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
PACKAGES = ["graphicsmagick", "libvips-tools", "imagemagick", "plasma-workspace-wallpapers", "time"]
WALLPAPERS = Path("/usr/share/wallpapers")
PNGSUITE = Path("/work/shared/corpus/pngsuite")
GNU_TIME = "/usr/bin/time"
# Debian's ImageMagick programs by their real paths: a plain "convert" on PATH may be another
# program.
IM_CONVERT = "/usr/bin/convert"
IM_MOGRIFY = "/usr/bin/mogrify"
QUALITY = 95
# Bumped whenever a recipe below changes, so that a cached corpus is rebuilt.
CORPUS_VERSION = "2"

# PNG colour types.
GREY, RGB, PALETTE, GREY_ALPHA, RGBA = 0, 2, 3, 4, 6


class Class:
    """One class of the corpus: how many files, their size and how ImageMagick writes them."""

    def __init__(self, name, count, quick_count, size, png_type, expect, make_options):
        self.name = name
        self.count = count
        self.quick_count = quick_count
        self.size = size  # (width, height), or None for copied files
        self.png_type = png_type  # ImageMagick's output prefix
        self.expect = expect  # (bit depth, colour type) every file must have
        self.make_options = make_options  # options between the resize and the output


SMALL, MEDIUM, LARGE = (1728, 1152), (3456, 2304), (6000, 4000)  # 2, 8 and 24 MP, all 3:2
# Every count is a multiple of 2 and 4, so that 2 or 4 workers can share a class evenly: with
# 3 files, 2 workers could at best be 1.5 times as fast as one.
CLASSES = [
    Class("photo-small", 8, 2, SMALL, "PNG24", (8, RGB), []),
    Class("photo-medium", 4, 2, MEDIUM, "PNG24", (8, RGB), []),
    Class("photo-large", 4, 1, LARGE, "PNG24", (8, RGB), []),
    # A radial alpha: opaque in the middle, transparent in the corners.
    Class("rgba", 4, 2, MEDIUM, "PNG32", (8, RGBA),
          ["(", "-size", "%dx%d" % MEDIUM, "radial-gradient:white-black", ")",
           "-alpha", "off", "-compose", "CopyOpacity", "-composite"]),
    # Resized in ImageMagick's 16-bit pipeline, so the low bytes carry real detail.
    Class("16bit", 4, 2, MEDIUM, "PNG48", (16, RGB), ["-depth", "16"]),
    Class("palette", 4, 2, MEDIUM, "PNG8", (8, PALETTE),
          ["-dither", "FloydSteinberg", "-colors", "256"]),
    Class("grey", 4, 2, MEDIUM, "PNG", (8, GREY),
          ["-colorspace", "Gray", "-type", "Grayscale", "-depth", "8"]),
    # The PNG test suite's valid files: tiny images in every colour type, depth and interlace,
    # where the cost per file rather than per pixel shows.
    Class("pngsuite", 0, 40, None, None, None, []),
]


def log(message):
    print(message, file=sys.stderr, flush=True)


# ---------------------------------------------------------------------------------------------
# Packages


def install_packages():
    """Installs the benchmark's Debian packages that are missing, as root or through sudo."""
    missing = []
    for package in PACKAGES:
        status = subprocess.run(["dpkg-query", "-W", "-f=${Status}", package],
                                capture_output=True, text=True).stdout
        if "install ok installed" not in status:
            missing.append(package)
    if not missing:
        return
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    if sudo and shutil.which("sudo") is None:
        sys.exit("bench: run as root or install sudo (missing: %s)" % " ".join(missing))
    log("bench: installing %s" % " ".join(missing))
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    subprocess.run(sudo + ["apt-get", "update", "-q"], check=True, env=env)
    subprocess.run(sudo + ["apt-get", "install", "-y", "-q", "--no-install-recommends"] + missing,
                   check=True, env=env)


# ---------------------------------------------------------------------------------------------
# File headers


def png_header(path):
    """(width, height, bit depth, colour type) from a PNG's IHDR chunk."""
    with open(path, "rb") as f:
        head = f.read(29)
    if len(head) < 29 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise ValueError("not a PNG: %s" % path)
    width, height, depth, colour = struct.unpack(">IIBB", head[16:26])
    return width, height, depth, colour


def jpeg_header(path):
    """The frame of a JPEG as a dict (width, height, sampling: (h, v) per component, progressive,
    quant: the quantisation tables, huffman: the Huffman tables), or a text saying what is wrong
    with the file."""
    size = os.path.getsize(path)
    with open(path, "rb") as f:
        data = f.read(1 << 16)
        f.seek(max(0, size - 2))
        tail = f.read(2)
    if data[:2] != b"\xff\xd8":
        return "no start-of-image marker"
    if tail != b"\xff\xd9":
        return "truncated (no end-of-image marker)"
    pos, frame, quant, huffman = 2, None, b"", b""
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            return "bad marker"
        marker = data[pos + 1]
        if marker == 0xFF:
            pos += 1
            continue
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        body = data[pos + 4:pos + 2 + length]
        if marker == 0xDB:
            quant += body
        elif marker == 0xC4:
            huffman += body
        elif marker in (0xC0, 0xC1, 0xC2):
            height, width, count = struct.unpack(">HHB", body[1:6])
            frame = {"width": width, "height": height, "progressive": marker == 0xC2,
                     "sampling": [(body[7 + 3 * i] >> 4, body[7 + 3 * i] & 15)
                                  for i in range(count)]}
        elif marker == 0xDA:  # start of the first scan: the tables it uses are all known
            break
        pos += 2 + length
    if frame is None:
        return "no frame header in the first 64 KiB"
    frame.update(quant=quant, huffman=huffman)
    return frame


# ---------------------------------------------------------------------------------------------
# Corpus


def source_images():
    """The wallpaper package's photographs, largest first, one (the largest) per image folder."""
    best = {}
    for folder in sorted(WALLPAPERS.glob("*/contents/images*")):
        for path in sorted(folder.iterdir()):
            match = re.fullmatch(r"(\d+)x(\d+)\.(jpg|png)", path.name)
            if not match:
                continue
            width, height = int(match[1]), int(match[2])
            if width < height:
                continue  # portrait screens: cropping them to 3:2 leaves too little
            if folder not in best or width * height > best[folder][0] * best[folder][1]:
                best[folder] = (width, height, path)
    # Photographs (the JPEG files) before drawings (mostly the PNG files), then by size.
    ranked = sorted(best.values(), key=lambda s: (s[2].suffix != ".jpg", -s[0] * s[1], str(s[2])))
    return [(w, h, p) for w, h, p in ranked]


def make_class(cls, folder, sources, offset):
    """Writes the class's files into `folder` (emptied first) and checks their headers."""
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    if cls.size is None:
        valid = sorted(p for p in PNGSUITE.glob("*.png") if not p.name.startswith("x"))
        for path in valid:
            shutil.copy(path, folder / path.name)
        return
    width, height = cls.size
    # Upscaling by at most about 1.5 times: sources must be at least 70% of the target size.
    eligible = [s for s in sources if s[0] >= 0.7 * width and s[1] >= 0.7 * height] or sources
    for i in range(cls.count):
        source = eligible[(offset + i) % len(eligible)][2]
        out = folder / ("%s-%02d.png" % (cls.name, i + 1))
        command = ([IM_CONVERT, str(source), "-strip", "-resize", "%dx%d^" % (width, height),
                    "-gravity", "center", "-extent", "%dx%d" % (width, height)]
                   + cls.make_options + ["%s:%s" % (cls.png_type, out)])
        subprocess.run(command, check=True)
        w, h, depth, colour = png_header(out)
        if (w, h) != (width, height) or (depth, colour) != cls.expect:
            sys.exit("bench: %s came out %dx%d, depth %d, colour type %d; wanted %dx%d %s"
                     % (out, w, h, depth, colour, width, height, cls.expect))


def build_corpus(corpus, classes):
    """Makes every class that has no complete copy in the cache yet."""
    sources = source_images()
    if not sources:
        sys.exit("bench: no wallpapers under %s" % WALLPAPERS)
    for index, cls in enumerate(CLASSES):
        if cls not in classes:
            continue
        folder = corpus / cls.name
        stamp = folder / ".complete"
        if stamp.exists() and stamp.read_text() == CORPUS_VERSION:
            continue
        if cls.size is None and not PNGSUITE.is_dir():
            continue
        log("bench: making corpus class %s" % cls.name)
        started = time.monotonic()
        make_class(cls, folder, sources, 3 * index)
        stamp.write_text(CORPUS_VERSION)
        log("bench:   %.0f s" % (time.monotonic() - started))


def class_files(corpus, cls, quick):
    """The class's folder and files for this run: the whole class, or in quick runs a folder of
    links to its first few files."""
    folder = corpus / cls.name
    files = sorted(folder.glob("*.png"))
    if not files:
        return None, []
    if not quick:
        return folder, files
    count = cls.quick_count
    subset = corpus / "quick" / cls.name
    wanted = [f.name for f in files[:count]]
    if not subset.is_dir() or sorted(p.name for p in subset.glob("*.png")) != wanted:
        if subset.exists():
            shutil.rmtree(subset)
        subset.mkdir(parents=True)
        for f in files[:count]:
            try:
                os.link(f, subset / f.name)
            except OSError:
                shutil.copy(f, subset / f.name)
    return subset, sorted(subset.glob("*.png"))


# ---------------------------------------------------------------------------------------------
# Tools


def quillpix_tool(binary, threads):
    def command(folder, files, out):
        return [str(binary), "-q", "-i", str(folder), "-o", str(out),
                "--jpg-quality=%d" % QUALITY, "--jpg-chroma=none", "--threads=%d" % threads]
    return ("quillpix --threads=%d" % threads, command)


def list_tool(name, binary):
    def command(folder, files, out):
        return [str(binary), "-o", str(out)] + [str(f) for f in files]
    return (name, command)


# ImageMagick and GraphicsMagick optimise the Huffman tables unless told not to; the others, like
# quillpix's default, write the standard tables, so both are told not to, for the same work.
MAGICK_OPTIONS = ["-format", "jpg", "-quality", str(QUALITY), "-sampling-factor", "1x1",
                  "-define", "jpeg:optimize-coding=false"]


def imagemagick(folder, files, out):
    return [IM_MOGRIFY, "-path", str(out)] + MAGICK_OPTIONS + [str(f) for f in files]


def graphicsmagick(folder, files, out):
    # Relative names (the run's working folder is the class folder): gm writes each output under
    # the output folder by the input's path as given.
    return (["gm", "mogrify", "-output-directory", str(out)] + MAGICK_OPTIONS
            + [f.name for f in files])


def vips_tool(parallel):
    """libvips, one process a file (its command line takes one), `parallel` processes at once;
    each process also spreads its own work over the cores."""
    def command(folder, files, out):
        pairs = []
        for f in files:
            pairs += [str(f), "%s[Q=%d,subsample_mode=off]" % (out / (f.stem + ".jpg"), QUALITY)]
        script = 'printf "%s\\n" "$@" | xargs -d "\\n" -n 2 -P {} vips copy'.format(parallel)
        return ["sh", "-c", script, "sh"] + pairs
    return ("vips -P %d" % parallel if parallel > 1 else "vips", command)


def threads_recognised(binary, sample):
    """Whether quillpix knows --threads: its debug report then names it or changes with it."""
    reports = []
    for threads in (1, 3):
        with tempfile.TemporaryDirectory() as out:
            result = subprocess.run([str(binary), "-d", "-i", str(sample), "-o", out,
                                     "--threads=%d" % threads], capture_output=True, text=True)
        reports.append(result.stdout)
    return "thread" in reports[1].lower() or reports[0] != reports[1]


# ---------------------------------------------------------------------------------------------
# Running


def run_once(command, cwd, out):
    """Runs `command` under GNU time into a fresh `out`. Returns (seconds, peak KiB, error)."""
    if out.exists():
        shutil.rmtree(out)
    out.mkdir(parents=True)
    with tempfile.NamedTemporaryFile(mode="r", suffix=".time") as peak:
        wrapped = [GNU_TIME, "-f", "%M", "-o", peak.name, "--"] + command
        started = time.perf_counter()
        result = subprocess.run(wrapped, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                text=True, errors="replace")
        seconds = time.perf_counter() - started
        lines = [line for line in peak.read().split("\n") if line.strip()]
    kib = int(lines[-1]) if lines and lines[-1].strip().isdigit() else 0
    if result.returncode != 0:
        detail = result.stderr.strip().splitlines()
        return seconds, kib, "exit code %d%s" % (result.returncode,
                                                 (": " + detail[-1][:120]) if detail else "")
    return seconds, kib, None


def check_outputs(files, out):
    """Checks that `out` holds one complete JPEG per input, of the input's size and with every
    component sampled 1x1. Returns ({stem: header}, error)."""
    written = sorted(out.glob("*.jpg"))
    stems = sorted(f.stem for f in files)
    if sorted(p.stem for p in written) != stems:
        return {}, "%d of %d outputs" % (len([p for p in written if p.stem in stems]), len(files))
    headers = {}
    for f in files:
        header = jpeg_header(out / (f.stem + ".jpg"))
        if isinstance(header, str):
            return {}, "%s.jpg: %s" % (f.stem, header)
        width, height = png_header(f)[:2]
        if (header["width"], header["height"]) != (width, height):
            return {}, "%s.jpg is %dx%d, not %dx%d" % (f.stem, header["width"], header["height"],
                                                         width, height)
        if any(s != (1, 1) for s in header["sampling"]):
            return {}, "%s.jpg has chroma subsampling %s" % (f.stem, header["sampling"])
        headers[f.stem] = header
    return headers, None


def differences(headers, floor_headers):
    """What sets a tool's outputs apart from the floor's, which would make it do other work:
    colour where the floor wrote grey (or the reverse), other quantisation tables (another
    quality), Huffman tables of its own (optimised coding), progressive scans."""
    counts = {}

    def note(text):
        counts[text] = counts.get(text, 0) + 1

    for stem, header in headers.items():
        floor = floor_headers.get(stem)
        if floor is None:
            continue
        if header["progressive"]:
            note("progressive")
        if len(header["sampling"]) != len(floor["sampling"]):
            # The tables differ anyway between grey and colour files.
            note("colour" if len(header["sampling"]) > len(floor["sampling"]) else "grey")
            continue
        if header["quant"] != floor["quant"]:
            note("other quality")
        if header["huffman"] != floor["huffman"] and not header["progressive"]:
            note("optimised Huffman")
    return ["%s (%d of %d)" % (text, count, len(headers)) for text, count in sorted(counts.items())]


def benchmark(tools, classes, corpus, out_root, reps, quick):
    rows = []
    for cls in classes:
        folder, files = class_files(corpus, cls, quick)
        if not files:
            log("bench: class %s has no files, skipped" % cls.name)
            continue
        megapixels = sum(w * h for w, h, _, _ in map(png_header, files)) / 1e6
        log("bench: %s: %d files, %.1f MP" % (cls.name, len(files), megapixels))
        results = {name: {"times": [], "peak": 0, "error": None, "headers": {}}
                   for name, _ in tools}

        def run(name, command_of):
            result = results[name]
            if result["error"]:
                return
            out = out_root / re.sub(r"[^a-z0-9]+", "-", name.lower()).strip("-") / cls.name
            seconds, kib, error = run_once(command_of(folder, files, out), folder, out)
            headers = {}
            if not error:
                headers, error = check_outputs(files, out)
            result["peak"] = max(result["peak"], kib)
            if error:
                result["error"] = error
                log("bench:   %s FAILED: %s" % (name, error))
                return
            result["headers"] = headers
            result["times"].append(seconds)

        for name, command_of in tools:  # warm-up, not timed
            run(name, command_of)
        for rep in range(reps):
            for name, command_of in tools:
                run(name, command_of)
        for name, _ in tools:
            result = results[name]
            result["times"] = result["times"][1:]  # the warm-up's
        floor = results.get("bench_floor")
        floor_median = (statistics.median(floor["times"])
                        if floor and not floor["error"] and floor["times"] else None)
        for name, _ in tools:
            result = results[name]
            row = {"tool": name, "class": cls.name, "files": len(files), "megapixels": megapixels,
                   "peak_mib": result["peak"] / 1024.0, "error": result["error"],
                   "times": result["times"]}
            if not result["error"] and result["times"]:
                median = statistics.median(result["times"])
                row["median"] = median
                row["per_megapixel"] = median / megapixels
                row["ratio"] = median / floor_median if floor_median else None
                row["notes"] = differences(result["headers"], floor["headers"] if floor else {})
            rows.append(row)
    return rows


def print_table(rows):
    header = ["tool", "class", "median s", "s/MP", "peak MiB", "x floor", "notes"]
    lines = []
    for row in rows:
        if row["error"]:
            lines.append([row["tool"], row["class"], "-", "-", "%.0f" % row["peak_mib"], "-",
                          "FAILED: " + row["error"]])
            continue
        ratio = "%.2f" % row["ratio"] if row.get("ratio") else "-"
        lines.append([row["tool"], row["class"], "%.3f" % row["median"],
                      "%.4f" % row["per_megapixel"], "%.0f" % row["peak_mib"], ratio,
                      ", ".join(row["notes"])])
    widths = [max(len(str(x[i])) for x in lines + [header]) for i in range(len(header))]
    right = {2, 3, 4, 5}

    def fmt(cells):
        return "  ".join(c.rjust(widths[i]) if i in right else c.ljust(widths[i])
                         for i, c in enumerate(cells)).rstrip()

    print(fmt(header))
    print(fmt(["-" * w for w in widths]))
    previous = None
    for row, line in zip(rows, lines):
        if previous is not None and row["class"] != previous:
            print()
        previous = row["class"]
        print(fmt(line))


def version_of(command):
    try:
        text = subprocess.run(command, capture_output=True, text=True).stdout
    except OSError:
        return "?"
    return text.strip().splitlines()[0] if text.strip() else "?"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=str(REPO / "build"),
                        help="build folder with quillpix and bench/ (default: build/)")
    parser.add_argument("--corpus", help="corpus cache folder (default: BUILD/bench-corpus)")
    parser.add_argument("--reps", type=int, default=5, help="timed repetitions (default 5)")
    parser.add_argument("--quick", action="store_true",
                        help="one repetition over fewer files of each class")
    parser.add_argument("--classes", help="comma-separated classes (default: all)")
    parser.add_argument("--tools", help="comma-separated tools, by the start of their names")
    parser.add_argument("--no-install", action="store_true", help="do not install packages")
    args = parser.parse_args()

    build = Path(args.build).resolve()
    corpus = Path(args.corpus).resolve() if args.corpus else build / "bench-corpus"
    out_root = build / "bench-out"
    reps = 1 if args.quick else args.reps
    if reps < 1:
        sys.exit("bench: --reps must be at least 1")
    quillpix = build / "quillpix"
    floor_binary = build / "bench" / "bench_floor"
    freeimage_binary = build / "bench" / "bench_freeimage"
    for binary in (quillpix, floor_binary, freeimage_binary):
        if not os.access(binary, os.X_OK):
            sys.exit("bench: %s is missing: build the project first (make build)" % binary)

    classes = CLASSES
    if args.classes:
        wanted = args.classes.split(",")
        unknown = set(wanted) - {c.name for c in CLASSES}
        if unknown:
            sys.exit("bench: unknown classes %s" % ", ".join(sorted(unknown)))
        classes = [c for c in CLASSES if c.name in wanted]

    if not args.no_install:
        install_packages()
    build_corpus(corpus, classes)

    cores = os.cpu_count() or 1
    tools = [quillpix_tool(quillpix, 1)]
    if cores > 1:
        tools.append(quillpix_tool(quillpix, cores))
    tools += [list_tool("bench_freeimage", freeimage_binary),
              list_tool("bench_floor", floor_binary),
              ("imagemagick", imagemagick), ("graphicsmagick", graphicsmagick), vips_tool(1)]
    if cores > 1:
        tools.append(vips_tool(cores))
    if args.tools:
        prefixes = args.tools.split(",") + ["bench_floor"]  # the floor is every ratio's base
        tools = [t for t in tools if any(t[0].startswith(p) for p in prefixes)]

    sample = next(iter(sorted((corpus / classes[0].name).glob("*.png"))), None)
    recognised = threads_recognised(quillpix, sample) if sample else False

    print("quillpix PNG-to-JPEG benchmark: quality %d, 4:4:4; %d cores, %s%s; %d repetition%s "
          "after one warm-up" % (QUALITY, cores, platform.machine(),
                                 ", quick" if args.quick else "", reps, "" if reps == 1 else "s"))
    print("  %s" % version_of([IM_CONVERT, "-version"]))
    print("  %s" % version_of(["gm", "version"]))
    print("  %s" % version_of(["vips", "--version"]))
    if args.quick:
        print("  quick run: one repetition over at most two files a class, so expect noise")
    if not recognised:
        print("  quillpix ignores --threads: both quillpix rows run its default")
    print()

    started = time.monotonic()
    rows = benchmark(tools, classes, corpus, out_root, reps, args.quick)
    print_table(rows)
    print()
    print("median s: median wall time of the class; s/MP: per megapixel of input; peak MiB: the")
    print("largest resident set of any process of the command; x floor: time over bench_floor's;")
    print("notes: how the outputs differ from the floor's: colour or grey where the floor's are")
    print("not, other quantisation tables (quality), optimised Huffman tables, progressive scans.")
    print("Benchmark took %.0f s." % (time.monotonic() - started))
    (out_root / "results.json").write_text(json.dumps(rows, indent=1))
    return 1 if any(row["error"] for row in rows) else 0


if __name__ == "__main__":
    sys.exit(main())
