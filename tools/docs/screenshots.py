#!/usr/bin/env python3
"""Makes the pictures of the editor that the README and docs/manual.md show.

    tools/docs/screenshots.py [--build FOLDER] [--out FOLDER] [--no-window]

From the built tarva-editor (build/tools/tarva-editor):
  screenshot.png      the panel on "wow tape", drawn offscreen (the README's picture)
  panel-clock.png     the panel on "8th fast tape", in clock mode, drawn offscreen
  panel-labelled.png  the panel twice the size, every control named
and, in a private Xvfb where xdotool clicks as a user would and xwd takes the screen
(Debian packages xvfb, xdotool and x11-apps):
  program-menu.png    the program menu popped up by the X11 back end
  about.png           the about screen with the version the editor prints
--no-window skips the last two. Needs Python 3 with Pillow (python3-pil).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, str(Path(__file__).resolve().parent))
from xwd import read_xwd  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
FONT = Path("/usr/share/fonts/truetype/liberation")
WIDTH, HEIGHT = 870, 101

# Every control of the panel: its name in the manual and its rectangle (left, top, right,
# bottom) in editor pixels. The first group is labelled above the picture, the strip below.
PANEL = [
    ("Level meter", (41, 21, 48, 64)),
    ("Dlyx2", (74, 45, 95, 65)),
    ("Input", (109, 25, 144, 60)),
    ("Output", (154, 25, 189, 60)),
    ("Fbck", (200, 25, 235, 60)),
    ("HiCut", (247, 44, 270, 70)),
    ("FbInv", (276, 44, 297, 70)),
    ("DlyInv", (306, 44, 327, 70)),
    ("Power lamp", (341, 59, 352, 70)),
    ("Mix", (352, 25, 387, 60)),
    ("RptInf", (399, 44, 421, 70)),
    ("Delay down", (431, 33, 457, 59)),
    ("Dly<>Clk", (457, 23, 472, 33)),
    ("Delay up", (470, 33, 496, 59)),
    ("Delay display", (505, 27, 577, 57)),
    ("Status lamps", (577, 26, 593, 58)),
    ("ManVCO", (616, 25, 651, 60)),
    ("Depth", (661, 25, 697, 61)),
    ("Waveform", (706, 25, 742, 61)),
    ("Rate", (752, 25, 788, 61)),
    ("LFO lamp", (786, 61, 796, 71)),
    ("About", (806, 15, 867, 39)),
    ("Power", (818, 45, 840, 65)),
]
STRIP = [
    ("Save bank", (34, 86, 51, 101)),
    ("Default bank", (51, 86, 83, 99)),
    ("Load bank", (85, 86, 102, 101)),
    ("Save preset", (114, 86, 131, 101)),
    ("Default preset", (132, 86, 176, 99)),
    ("Load preset", (177, 86, 194, 101)),
    ("Program name", (208, 86, 320, 101)),
    ("Program menu", (320, 87, 333, 99)),
    ("Previous / next", (340, 86, 370, 99)),
    ("Store A", (388, 86, 405, 101)),
    ("Recall A", (421, 86, 438, 101)),
    ("Store B", (452, 86, 469, 101)),
    ("Recall B", (486, 86, 503, 101)),
    ("Save MIDI", (610, 86, 627, 101)),
    ("Default MIDI", (628, 86, 656, 99)),
    ("Load MIDI", (658, 86, 675, 101)),
    ("Controller", (690, 87, 780, 99)),
    ("Learn", (788, 85, 812, 101)),
    ("Clear", (813, 85, 837, 101)),
]

SCALE = 2
ROW = 16  # height of one row of labels
LABEL_FONT = ImageFont.truetype(str(FONT / "LiberationSans-Regular.ttf"), 12)
INK = (30, 33, 38)
LEADER = (120, 128, 138)  # on the paper
POINTER = (90, 215, 255)  # on the panel: grey would vanish there, amber would look like a lamp
PAPER = (255, 255, 255)


def run(command, **kwargs):
    return subprocess.run(command, check=True, **kwargs)


def offscreen(editor, program, path):
    run([str(editor), "--program", program, "--screenshot", str(path)])


def rows_for(labels):
    """Puts each label in the first row where it does not touch the one before it, the
    labels taken from left to right at the centre of their control: row 0 lies next to
    the picture."""
    placed, row_ends = [], []
    for name, rect in labels:
        centre = (rect[0] + rect[2]) / 2 * SCALE
        width = LABEL_FONT.getlength(name)
        left = centre - width / 2
        row = next((r for r, end in enumerate(row_ends) if left > end + 8), len(row_ends))
        if row == len(row_ends):
            row_ends.append(0)
        row_ends[row] = left + width
        placed.append((name, rect, centre, row))
    return placed, len(row_ends)


def labelled(panel_png, out):
    panel = Image.open(panel_png).convert("RGB")
    big = panel.resize((WIDTH * SCALE, HEIGHT * SCALE), Image.NEAREST)
    above, above_rows = rows_for(PANEL)
    below, below_rows = rows_for(STRIP)
    margin = 6
    top = margin + above_rows * ROW + 10
    height = top + HEIGHT * SCALE + 10 + below_rows * ROW + margin
    image = Image.new("RGB", (WIDTH * SCALE, height), PAPER)
    image.paste(big, (0, top))
    d = ImageDraw.Draw(image)
    bottom = top + HEIGHT * SCALE

    def pointer(centre, paper_end, tip):
        """A leader from the label to the picture's edge, then on to the control."""
        edge = top if tip > paper_end else bottom
        d.line([(centre, paper_end), (centre, edge)], fill=LEADER)
        d.line([(centre, edge), (centre, tip)], fill=POINTER, width=2)
        head = 4 if tip > edge else -4  # an arrow head that stops at the control's edge
        d.polygon([(centre, tip), (centre - 3, tip - head), (centre + 3, tip - head)],
                  fill=POINTER)

    for name, rect, centre, row in above:
        baseline = top - 10 - row * ROW
        d.text((centre, baseline - 3), name, font=LABEL_FONT, fill=INK, anchor="ms")
        pointer(centre, baseline, top + rect[1] * SCALE - 1)
    for name, rect, centre, row in below:
        baseline = bottom + 10 + row * ROW + 12
        d.text((centre, baseline), name, font=LABEL_FONT, fill=INK, anchor="ms")
        pointer(centre, baseline - 12, top + (rect[3] - 3) * SCALE)  # keys reach the bottom
    save_small(image, out)


def save_small(image, path):
    """An adaptive palette keeps the pictures at a few tens of kilobytes."""
    image.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.NONE).save(
        path, optimize=True)


class Xvfb:
    """A private X server on a display number of its own choosing."""

    def __enter__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-br",
             "-nolisten", "tcp"], pass_fds=(write,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.process.terminate()
            sys.exit("screenshots: Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=f":{number}")
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()


def xdotool(env, *arguments):
    return run(["xdotool", *arguments], env=env, capture_output=True, text=True).stdout


def screen(env, folder):
    dump = Path(folder) / "screen.xwd"
    with open(dump, "wb") as f:
        run(["xwd", "-root", "-silent"], env=env, stdout=f)
    return read_xwd(dump)


def in_window(env, editor, program, folder, actions):
    """Runs tarva-editor in a private Xvfb, waits for its window at the screen's top-left
    corner, does the clicks of each action and takes the screen after each."""
    shots = []
    with Xvfb() as x:
        process = subprocess.Popen([str(editor), "--program", program], env=x.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = xdotool(x.env, "search", "--sync", "--name", "Morvane TARVA").split()[0]
            time.sleep(1.0)  # a few idle passes: the meter, the lamps and the digits move
            for clicks in actions:
                for cx, cy in clicks:
                    xdotool(x.env, "mousemove", "--window", window, str(cx), str(cy), "click", "1")
                time.sleep(0.8)
                shots.append(screen(x.env, folder))
        finally:
            process.terminate()
            process.wait()
    return shots


def window_pictures(editor, out):
    for tool in ("Xvfb", "xdotool", "xwd"):
        if shutil.which(tool) is None:
            sys.exit(f"screenshots: {tool} is missing (Debian: xvfb, xdotool, x11-apps)")
    with tempfile.TemporaryDirectory() as folder:
        menu_arrow, about_zone = (326, 93), (830, 20)
        menu, about = in_window(os.environ, editor, "wow tape", folder,
                                [[menu_arrow], [(20, 40), about_zone]])
    # The menu hangs below the window; the root around both is black.
    save_small(menu.crop(menu.getbbox()), out / "program-menu.png")
    save_small(about.crop((0, 0, WIDTH, HEIGHT)), out / "about.png")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=Path, default=ROOT / "build")
    parser.add_argument("--out", type=Path, default=ROOT / "docs")
    parser.add_argument("--no-window", action="store_true")
    args = parser.parse_args()
    editor = args.build / "tools" / "tarva-editor"
    if not editor.exists():
        sys.exit(f"screenshots: build {editor} first")
    args.out.mkdir(parents=True, exist_ok=True)
    offscreen(editor, "wow tape", args.out / "screenshot.png")
    offscreen(editor, "8th fast tape", args.out / "panel-clock.png")
    labelled(args.out / "screenshot.png", args.out / "panel-labelled.png")
    if not args.no_window:
        window_pictures(editor, args.out)


if __name__ == "__main__":
    main()
