#!/usr/bin/env python3
"""Contact sheet of the output modes: every mode rendered from the built-in
panorama, checked, and laid out in one labelled PNG.

    python3 tools/contact_sheet.py [--build DIR] [--out DIR] [--size WxH]

Runs gyrelle once for every output mode of the scripting table
(tests/frame/settings/data/output_mode_codes.txt) on resources/default_panorama.png
scaled to --size (512x256 by default; the output takes the input's size).
Modes that gyrelle refuses are listed, not drawn. Every rendered picture is
checked: it must read back at the input's size, must not be one colour or
transparent (at most 98% of it one colour), must not be noise (garbage from
memory that was never written) and must not hold colours the input never
had.

Which modes are expected to render comes from the route table in
render/output_modes.cpp (a row with a route renders unless gyrelle says its
solid is not built yet; polyhedral modes have no row and render when their
solid can be made); the names on the sheet come from there too. The script runs
every mode regardless of the table, so new routes and new refusals need no
change here.

Writes into --out (build/contact_sheet by default):
    contact_sheet.png   the sheet
    modes.txt           one line per mode: number, code, status, name, detail
    refused.txt         the refused modes with gyrelle's message
    modes/NNNN.png      the single renders

Exit status: 0 every mode with a route rendered a picture that passed the
checks (and no picture of any mode failed them); 1 otherwise; 2 the tools or
files it needs are missing.

Needs ImageMagick (convert, identify, montage, compare).
"""

import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CODES = os.path.join(REPO, "tests", "frame", "settings", "data", "output_mode_codes.txt")
ROUTE_TABLE = os.path.join(REPO, "render", "output_modes.cpp")
ROUTE_HEADER = os.path.join(REPO, "render", "output_modes.h")
PANORAMA = os.path.join(REPO, "resources", "default_panorama.png")

# One colour may cover at most this share of a rendered picture: the maps
# leave a backdrop around them, but every mode shows some of the sphere.
MAX_ONE_COLOUR_SHARE = 0.98
# Root-mean-square distance (0..1) of the picture from its nearest colours of
# the input's palette (plus white and black, the backdrop and the voids).
# Resampling blends neighbouring colours, which stay near the palette (the
# renders reach 0.05 at 512x256, 0.066 at 256x128, where the red and blue
# bands of modes 135 and 136 fade into black); colours from nowhere (swapped
# channels: 0.11, noise: 0.14) do not.
MAX_PALETTE_DISTANCE = 0.09
# The brick sphere is drawn in the bricks' own colours, shaded by its light:
# they stand near the input's palette only as the nearest brick does (0.099
# at 512x256), still well clear of noise.
BRICK_SPHERE_MODE = 45
MAX_BRICK_PALETTE_DISTANCE = 0.12
PALETTE_COLOURS = 64
# Noise: the share of pixels whose grey differs by more than NOISE_STEP from
# each of their four neighbours. Lines and rims always have a like neighbour
# along them; the renders stay below 0.0005, a picture of random bytes gives
# 0.019, and noise over 8% of a picture 0.0012.
NOISE_STEP = "35%"
MAX_NOISE_SHARE = 0.001
RUN_TIMEOUT_SECONDS = 300


def fail_setup(message):
    print("contact_sheet: " + message, file=sys.stderr)
    sys.exit(2)


def run(cmd, **kw):
    return subprocess.run(cmd, capture_output=True, text=True, **kw)


def read_codes():
    modes = []
    with open(CODES) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2 and parts[0].isdigit():
                modes.append((int(parts[0]), parts[1]))
    if not modes:
        fail_setup("no modes in " + CODES)
    return modes


def read_route_table():
    """{mode: (name, has_route)} from the rows of the route table."""
    enum = {}
    if os.path.exists(ROUTE_HEADER):
        with open(ROUTE_HEADER) as f:
            for name, value in re.findall(r"\b(OutputMode_\w+)\s*=\s*(\d+)", f.read()):
                enum[name] = int(value)
    table = {}
    if not os.path.exists(ROUTE_TABLE):
        print("contact_sheet: warning: no " + ROUTE_TABLE + "; every mode counts as refused", file=sys.stderr)
        return table
    with open(ROUTE_TABLE) as f:
        text = f.read()
    for mode, name, route in re.findall(r'OutputModeRow\{\s*(\w+)\s*,\s*"([^"]*)"\s*,\s*(\w+)', text):
        number = int(mode) if mode.isdigit() else enum.get(mode)
        if number is None:
            print("contact_sheet: warning: unknown mode constant " + mode, file=sys.stderr)
            continue
        table[number] = (name, route != "nullptr")
    if not table:
        print("contact_sheet: warning: no rows found in " + ROUTE_TABLE, file=sys.stderr)
    return table


def label_font():
    """A font ImageMagick knows (its default, Helvetica, is often missing)."""
    listed = re.findall(r"^\s*Font:\s*(\S+)", run(["convert", "-list", "font"]).stdout, re.M)
    for wanted in ("DejaVu-Sans", "Liberation-Sans", "Helvetica"):
        if wanted in listed:
            return wanted
    return listed[0] if listed else None


def first_message(stderr):
    lines = [l.strip() for l in stderr.splitlines() if l.strip()]
    return " / ".join(lines[:2]) if lines else "(no message)"


def check_picture(path, width, height, palette, max_distance=MAX_PALETTE_DISTANCE):
    """None when the picture passes, else what is wrong with it."""
    info = run(["identify", "-format", "%w %h %A", path])
    if info.returncode != 0:
        return "unreadable: " + first_message(info.stderr)
    w, h, alpha = info.stdout.split()[:3]
    if (int(w), int(h)) != (width, height):
        return "size %sx%s, not %dx%d" % (w, h, width, height)
    if alpha.lower() not in ("undefined", "false"):
        opaque = run(["convert", path, "-alpha", "extract", "-format", "%[fx:maxima]", "info:"])
        if opaque.returncode == 0 and float(opaque.stdout) <= 0.0:
            return "empty: all transparent"
    hist = run(["convert", path, "-alpha", "off", "-format", "%c", "histogram:info:-"])
    if hist.returncode != 0:
        return "no histogram: " + first_message(hist.stderr)
    counts = [int(m) for m in re.findall(r"^\s*(\d+):", hist.stdout, re.M)]
    if not counts:
        return "no histogram"
    share = max(counts) / float(width * height)
    if len(counts) == 1:
        return "empty: one colour"
    if share > MAX_ONE_COLOUR_SHARE:
        return "empty: %.1f%% one colour" % (100.0 * share)
    neighbours = []
    for shift in ("+1+0", "-1+0", "+0+1", "+0-1"):
        neighbours += ["(", "mpr:grey", "(", "mpr:grey", "-roll", shift, ")", "-compose", "difference", "-composite", ")"]
    noise = run(["convert", path, "-alpha", "off", "-colorspace", "gray", "-write", "mpr:grey", "+delete"] + neighbours
                + ["-evaluate-sequence", "min", "-threshold", NOISE_STEP, "-format", "%[fx:mean]", "info:"])
    if noise.returncode != 0:
        return "no noise measure: " + first_message(noise.stderr)
    if float(noise.stdout) > MAX_NOISE_SHARE:
        return "garbage: %.4f of the pixels are noise (limit %.4f)" % (float(noise.stdout), MAX_NOISE_SHARE)
    remap = path + ".remap.png"
    try:
        run(["convert", path, "-alpha", "off", "+dither", "-remap", palette, remap])
        cmp = run(["compare", "-metric", "RMSE", path + "[0]", remap, "null:"])
        # compare prints "absolute (normalised)" on stderr.
        found = re.search(r"\(([0-9.eE+-]+)\)", cmp.stderr)
        if not found:
            return "no palette distance: " + first_message(cmp.stderr)
        distance = float(found.group(1))
        if distance > max_distance:
            return "garbage: colours %.3f away from the input's (limit %.3f)" % (distance, max_distance)
    finally:
        if os.path.exists(remap):
            os.remove(remap)
    return None


def render(mode, code, args, work, input_png, size, palette):
    out = os.path.join(args.out, "modes", "%04d.png" % mode)
    if os.path.exists(out):
        os.remove(out)
    # Each run keeps its last accepted settings in a folder of its own, so
    # runs neither see each other's nor touch the user's.
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config-%d" % mode))
    cmd = [args.gyrelle, "--quiet", "--threads", "1", "--plugin", args.plugin, "--set", "Foky=" + code, input_png, out]
    try:
        r = run(cmd, env=env, timeout=RUN_TIMEOUT_SECONDS)
    except subprocess.TimeoutExpired:
        return ("failed", "no result after %d s" % RUN_TIMEOUT_SECONDS)
    if r.returncode < 0:
        return ("failed", "gyrelle died of signal %d" % -r.returncode)
    if r.returncode != 0:
        return ("refused", "exit %d: %s" % (r.returncode, first_message(r.stderr)))
    if not os.path.exists(out):
        return ("failed", "exit 0 but no picture written")
    limit = MAX_BRICK_PALETTE_DISTANCE if mode == BRICK_SPHERE_MODE else MAX_PALETTE_DISTANCE
    problem = check_picture(out, size[0], size[1], palette, limit)
    return ("bad", problem) if problem else ("ok", "")


def main():
    parser = argparse.ArgumentParser(
        description="Renders every output mode from the built-in panorama, checks each picture and lays them "
        "out in one labelled contact sheet.")
    parser.add_argument("--build", default=os.path.join(REPO, "build"), help="build folder with gyrelle and Gyrelle2.so")
    parser.add_argument("--gyrelle", help="the host program (default: BUILD/gyrelle)")
    parser.add_argument("--plugin", help="the plug-in (default: BUILD/Gyrelle2.so)")
    parser.add_argument("--out", help="output folder (default: BUILD/contact_sheet)")
    parser.add_argument("--size", default="512x256", help="render size WxH (default 512x256)")
    parser.add_argument("--tile", default="256x128", help="size of one picture on the sheet")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1, help="renders at once")
    args = parser.parse_args()
    args.gyrelle = args.gyrelle or os.path.join(args.build, "gyrelle")
    args.plugin = args.plugin or os.path.join(args.build, "Gyrelle2.so")
    args.out = os.path.abspath(args.out or os.path.join(args.build, "contact_sheet"))
    for tool in ("convert", "identify", "montage", "compare"):
        if not shutil.which(tool):
            fail_setup("ImageMagick's %s is not installed" % tool)
    for f in (args.gyrelle, args.plugin, PANORAMA):
        if not os.path.exists(f):
            fail_setup("missing " + f)
    m = re.fullmatch(r"(\d+)x(\d+)", args.size)
    if not m:
        fail_setup("--size wants WxH, e.g. 512x256")
    size = (int(m.group(1)), int(m.group(2)))

    modes = read_codes()
    table = read_route_table()
    os.makedirs(os.path.join(args.out, "modes"), exist_ok=True)
    work = tempfile.mkdtemp(prefix="gyrelle-sheet-")
    try:
        input_png = os.path.join(args.out, "input.png")
        palette = os.path.join(work, "palette.png")
        steps = [
            ["convert", PANORAMA, "-resize", args.size + "!", input_png],
            ["convert", input_png, "+dither", "-colors", str(PALETTE_COLOURS), "-unique-colors",
             "xc:white", "xc:black", "+append", palette],
        ]
        for step in steps:
            r = run(step)
            if r.returncode != 0:
                fail_setup(" ".join(step) + ": " + first_message(r.stderr))

        with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
            futures = {mode: pool.submit(render, mode, code, args, work, input_png, size, palette)
                       for mode, code in modes}
            results = {mode: f.result() for mode, f in futures.items()}
    finally:
        shutil.rmtree(work, ignore_errors=True)

    lines, refused, tiles, failures, surprises = [], [], [], [], []
    for mode, code in modes:
        status, detail = results[mode]
        name, has_route = table.get(mode, ("", False))
        # A mode whose route needs a solid (the multi-view sheets) is refused
        # as "not built yet" while that solid cannot be made.
        if status == "refused" and has_route and "not built yet" not in detail:
            status = "failed"
        if status == "ok" and not has_route:
            surprises.append(mode)
        if status in ("failed", "bad"):
            failures.append("%4d %s %s: %s" % (mode, code, name or "(no row)", detail))
        if status == "refused":
            refused.append("%4d %s %s: %s" % (mode, code, name or "(no row)", detail))
        if status in ("ok", "bad"):
            label = "%d %s" % (mode, name or code) + ("" if status == "ok" else " [" + detail.split(":")[0].upper() + "]")
            tiles.append((label.replace("%", "%%"), os.path.join(args.out, "modes", "%04d.png" % mode)))
        lines.append("%4d\t%s\t%s\t%s\t%s" % (mode, code, status, name or "-", detail))

    with open(os.path.join(args.out, "modes.txt"), "w") as f:
        f.write("mode\tcode\tstatus\tname\tdetail\n" + "\n".join(lines) + "\n")
    with open(os.path.join(args.out, "refused.txt"), "w") as f:
        f.write("\n".join(refused) + ("\n" if refused else ""))

    sheet = os.path.join(args.out, "contact_sheet.png")
    if os.path.exists(sheet):
        os.remove(sheet)
    if tiles:
        font = label_font()
        if not font:
            fail_setup("ImageMagick knows no font for the labels (install fonts-dejavu-core)")
        cmd = ["montage", "-font", font]
        for label, path in tiles:
            cmd += ["-label", label, path]
        cmd += ["-tile", "8x", "-geometry", args.tile + "+6+6", "-pointsize", "12", "-background", "#d8d8d8",
                "-title", "Gyrelle 2 output modes from default_panorama.png at %s" % args.size, sheet]
        r = run(cmd)
        if r.returncode != 0:
            failures.append("montage failed: " + first_message(r.stderr))

    with_route = sum(1 for mode, _ in modes if table.get(mode, ("", False))[1])
    rendered = sum(1 for mode, _ in modes if results[mode][0] == "ok")
    print("contact sheet: %s" % (sheet if os.path.exists(sheet) else "none (nothing rendered)"))
    print("%d modes: %d rendered and passed, %d refused (listed in %s), %d failed; %d have a route"
          % (len(modes), rendered, len(refused), os.path.join(args.out, "refused.txt"), len(failures), with_route))
    unreachable = sorted(m for m, (_, has_route) in table.items() if has_route and m not in results)
    if unreachable:
        print("routes with no scripting code, so not run: " + ", ".join(str(m) for m in unreachable))
    if surprises:
        print("rendered without a route row (polyhedral modes, drawn through their solid): "
              + ", ".join(str(s) for s in surprises))
    for line in failures:
        print("FAILED " + line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
