#!/usr/bin/env python3
"""Draws the editor's bitmaps into resources/artwork/<id>.png.

Every bitmap is a filmstrip of frames stacked vertically (frame k at y = k * frame height).
Shapes are drawn at four times the size and reduced with a box filter, so edges are
antialiased; printed labels are drawn at their final size with the hinted TrueType
renderer, which keeps 8 and 9 pixel text legible. Nothing here is random or depends on
the clock: the same Pillow gives the same bytes on every run.

    tools/artwork/make_artwork.py [--out FOLDER] [--preview FILE]
"""
import argparse
import math
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

# id: (width, total height, frames)
BITMAPS = {
    128: (870, 101, 1), 129: (870, 101, 1), 130: (21, 40, 2),
    131: (35, 3535, 101), 132: (35, 3535, 101), 133: (35, 3535, 101),
    136: (35, 3535, 101), 149: (35, 3535, 101),
    148: (36, 3636, 101), 150: (36, 3636, 101), 151: (36, 3636, 101),
    134: (21, 52, 2), 135: (21, 52, 2), 137: (22, 52, 2), 147: (23, 52, 2),
    152: (22, 40, 2), 138: (26, 52, 2), 139: (26, 52, 2),
    140: (14, 240, 12), 141: (14, 240, 12), 142: (15, 240, 12), 143: (14, 240, 12),
    144: (16, 256, 8), 145: (11, 22, 2), 146: (7, 903, 21), 153: (10, 1010, 101),
    154: (12, 25, 1), 155: (15, 20, 2),
    990: (17, 45, 3), 991: (17, 45, 3), 992: (32, 39, 3), 993: (44, 39, 3),
    994: (28, 39, 3), 995: (30, 65, 5), 998: (24, 48, 3), 999: (24, 48, 3),
}

FONTS = Path("/usr/share/fonts/truetype/liberation")
SS = 4  # supersampling factor for shapes

# Panel colours.
PANEL_TOP = (70, 77, 86)
PANEL_BOTTOM = (52, 58, 66)
STRIP = (36, 40, 46)
LABEL = (218, 223, 228)
LABEL_DIM = (150, 160, 170)
MARK = (184, 192, 201)  # values printed at a scale: lighter than a group label, smaller than a name
MARK_BASELINE = 63  # one row under the knobs, above the lamps' labels
ENGRAVE_DARK = (30, 34, 40)
ENGRAVE_LIGHT = (96, 104, 114)
WINDOW = (16, 12, 12)
FIELD = (189, 207, 218)
FIELD_TEXT = (36, 36, 32)

# Where the controls stand on the panel: left, top, right, bottom.
KNOBS = {
    "INPUT": (109, 25, 144, 60), "OUTPUT": (154, 25, 189, 60),
    "FEEDBACK": (200, 25, 235, 60), "MIX": (352, 25, 387, 60),
    "MANUAL": (616, 25, 651, 60), "DEPTH": (661, 25, 697, 61),
    "WAVE": (706, 25, 742, 61), "RATE": (752, 25, 788, 61),
}
BUTTONS = {
    "HI CUT": (247, 44, 270, 70), "FB INV": (276, 44, 297, 70),
    "DLY INV": (306, 44, 327, 70), "REPEAT": (399, 44, 421, 70),
    "DLY x2": (74, 45, 95, 65),
}
POWER_BUTTON = (818, 45, 840, 65)
POWER_LAMP = (341, 59, 352, 70)
OSC_LAMP = (786, 61, 796, 71)
STATUS_LAMPS = (577, 26, 593, 58)
DISPLAY_WINDOW = (503, 24, 596, 60)
SWITCH = (457, 23, 472, 33)
STEP_DOWN = (431, 33, 457, 59)
STEP_UP = (470, 33, 496, 59)
METER = (41, 21, 48, 64)
ABOUT_ZONE = (806, 15, 867, 39)
STRIP_TOP = 82
NAME_FIELD = (208, 86, 333, 101)  # the name field and the menu arrow beside it
MENU = (320, 87, 333, 99)
CONTROLLER_FIELD = (690, 87, 780, 99)
LEARN_KEY = (788, 85, 812, 101)
CLEAR_KEY = (813, 85, 837, 101)

# Lamp colours: lit and unlit.
RED = ((255, 64, 40), (70, 20, 16))
AMBER = ((255, 176, 40), (72, 48, 16))
GREEN = ((90, 240, 90), (20, 60, 24))


def font(name, size):
    return ImageFont.truetype(str(FONTS / f"Liberation{name}.ttf"), size)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def rgba(colour, alpha=255):
    return tuple(colour[:3]) + (alpha,)


class Canvas:
    """A supersampled drawing surface addressed in final pixels."""

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.image = Image.new("RGBA", (width * SS, height * SS), background)
        self.draw = ImageDraw.Draw(self.image)

    def box(self, x0, y0, x1, y1):
        return [round(x0 * SS), round(y0 * SS), round(x1 * SS) - 1, round(y1 * SS) - 1]

    def rect(self, x0, y0, x1, y1, fill, radius=0.0, outline=None, width=1.0):
        self.draw.rounded_rectangle(self.box(x0, y0, x1, y1), radius=round(radius * SS),
                                    fill=fill, outline=outline,
                                    width=round(width * SS) if outline else 0)

    def circle(self, cx, cy, r, fill, outline=None, width=1.0):
        self.draw.ellipse(self.box(cx - r, cy - r, cx + r, cy + r), fill=fill,
                          outline=outline, width=round(width * SS) if outline else 0)

    def line(self, points, fill, width):
        self.draw.line([(x * SS, y * SS) for x, y in points], fill=fill,
                       width=max(1, round(width * SS)))

    def polygon(self, points, fill):
        self.draw.polygon([(x * SS, y * SS) for x, y in points], fill=fill)

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom, radius=0.0):
        """A rounded rectangle filled with a top-to-bottom gradient."""
        w, h = round((x1 - x0) * SS), round((y1 - y0) * SS)
        gradient = Image.new("RGBA", (1, h))
        for y in range(h):
            gradient.putpixel((0, y), rgba(mix(top, bottom, y / max(1, h - 1))))
        gradient = gradient.resize((w, h), Image.NEAREST)
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=round(radius * SS),
                                               fill=255)
        self.image.paste(gradient, (round(x0 * SS), round(y0 * SS)), mask)

    def radial(self, cx, cy, r, inner, outer, light=(-0.35, -0.45)):
        """A disc shaded like a lit dome: inner colour near the light, outer at the rim."""
        size = round(2 * r * SS)
        disc = Image.new("RGBA", (size, size))
        pixels = disc.load()
        lx, ly = light[0] * r * SS, light[1] * r * SS
        for y in range(size):
            for x in range(size):
                dx, dy = x + 0.5 - size / 2, y + 0.5 - size / 2
                d = math.hypot(dx - lx, dy - ly) / (2 * r * SS)
                pixels[x, y] = rgba(mix(inner, outer, min(1.0, d * 1.4)))
        mask = Image.new("L", (size, size), 0)
        ImageDraw.Draw(mask).ellipse([0, 0, size - 1, size - 1], fill=255)
        self.image.paste(disc, (round((cx - r) * SS), round((cy - r) * SS)), mask)

    def reduced(self):
        return self.image.resize((self.width, self.height), Image.BOX)


def text(draw, xy, string, size=8, colour=LABEL, face="Sans-Regular", anchor="ms"):
    draw.text(xy, string, font=font(face, size), fill=colour, anchor=anchor)


def filmstrip(frames):
    width, height = frames[0].size
    strip = Image.new("RGBA", (width, height * len(frames)))
    for k, frame in enumerate(frames):
        strip.paste(frame, (0, k * height))
    return strip


# ---------------------------------------------------------------------------------------------
# Knobs


def knob_angle(frame):
    """Pointer angle in radians, clockwise from straight up: -135 to +135 degrees."""
    return math.radians(-135.0 + 270.0 * frame / 100.0)


def knob_frame(size, frame, accent):
    c = Canvas(size, size)
    centre = size / 2
    c.circle(centre, centre + 0.8, 13.2, (0, 0, 0, 110))  # shadow on the panel
    c.circle(centre, centre, 13.0, (18, 19, 22, 255))  # skirt
    c.radial(centre, centre, 12.2, (64, 67, 74), (26, 27, 31))
    c.circle(centre, centre, 9.2, (10, 10, 12, 255))
    c.radial(centre, centre, 8.8, (150, 154, 160), (62, 65, 71))
    a = knob_angle(frame)
    sx, sy = math.sin(a), -math.cos(a)
    c.line([(centre + sx * 3.5, centre + sy * 3.5), (centre + sx * 12.0, centre + sy * 12.0)],
           rgba(accent), 1.7)
    return c.reduced()


def knob(size, accent):
    return filmstrip([knob_frame(size, k, accent) for k in range(101)])


def knob_scale(canvas, rect):
    """The printed scale around a knob: eleven ticks from -135 to +135 degrees."""
    cx, cy = (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2
    for i in range(11):
        a = knob_angle(i * 10)
        sx, sy = math.sin(a), -math.cos(a)
        inner, outer = 14.0, 17.0 if i in (0, 5, 10) else 16.0
        canvas.line([(cx + sx * inner, cy + sy * inner), (cx + sx * outer, cy + sy * outer)],
                    rgba(LABEL_DIM), 0.9)


# ---------------------------------------------------------------------------------------------
# Buttons, switches and lamps


def led(canvas, cx, cy, r, colours, lit):
    bright, dim = colours
    canvas.circle(cx, cy, r + 0.8, (8, 8, 10, 255))
    if lit:
        canvas.radial(cx, cy, r, mix(bright, (255, 255, 255), 0.55), bright, light=(-0.2, -0.3))
    else:
        canvas.radial(cx, cy, r, mix(dim, (120, 120, 120), 0.25), dim, light=(-0.2, -0.3))


def push_button(width, height, colours=RED):
    """Two frames: released with its lamp off, pressed in with its lamp lit."""
    frames = []
    for on in (False, True):
        c = Canvas(width, height)
        c.rect(0, 0, width, height, (14, 15, 18, 255), radius=3)
        led_y = 4.5 if height > 22 else 4.0
        led(c, width / 2, led_y, 2.0, colours, on)
        top = 8.5 if height > 22 else 7.5
        shift = 0.8 if on else 0.0
        hi, lo = ((118, 124, 132), (70, 74, 82)) if not on else ((96, 101, 108), (62, 66, 72))
        c.vertical_gradient(1.5, top + shift, width - 1.5, height - 1.5 + shift * 0.5, hi, lo,
                            radius=2)
        c.rect(1.5, top + shift, width - 1.5, height - 1.5 + shift * 0.5, None, radius=2,
               outline=(20, 21, 24, 255), width=0.6)
        frames.append(c.reduced())
    return filmstrip(frames)


def step_button(up):
    """Delay down / up: frame 0 released, frame 1 pressed."""
    frames = []
    for pressed in (False, True):
        c = Canvas(26, 26)
        c.rect(0, 0, 26, 26, (14, 15, 18, 255), radius=4)
        s = 1.0 if pressed else 0.0
        hi, lo = ((124, 130, 138), (72, 76, 84)) if not pressed else ((92, 97, 104), (60, 64, 70))
        c.vertical_gradient(2 + s * 0.5, 2 + s, 24 - s * 0.5, 24, hi, lo, radius=3)
        cx, cy = 13, 13 + s
        arrow = (26, 28, 32, 255)
        if up:
            c.polygon([(cx - 5, cy + 3), (cx + 5, cy + 3), (cx, cy - 4)], arrow)
        else:
            c.polygon([(cx - 5, cy - 3), (cx + 5, cy - 3), (cx, cy + 4)], arrow)
        frames.append(c.reduced())
    return filmstrip(frames)


def slide_switch():
    """The two-position switch: frame 0 lever left, frame 1 lever right."""
    frames = []
    for right in (False, True):
        c = Canvas(15, 10)
        c.rect(0.5, 2.5, 14.5, 7.5, (8, 8, 10, 255), radius=2.5)
        x = 8.0 if right else 1.0
        c.vertical_gradient(x, 0.5, x + 6, 9.5, (200, 204, 210), (100, 104, 112), radius=1.5)
        c.line([(x + 3, 2.0), (x + 3, 8.0)], (60, 62, 68, 255), 0.8)
        frames.append(c.reduced())
    return filmstrip(frames)


def lamp(size, colours, frames_lit):
    """Round lamps: one frame per entry of frames_lit, each a brightness from 0 to 1."""
    frames = []
    bright, dim = colours
    r = size / 2 - 1.0
    for level in frames_lit:
        c = Canvas(size, size)
        c.circle(size / 2, size / 2, r + 0.9, (8, 8, 10, 255))
        core = mix(dim, bright, level)
        c.radial(size / 2, size / 2, r, mix(core, (255, 255, 255), 0.5 * level + 0.1), core,
                 light=(-0.2, -0.3))
        frames.append(c.reduced())
    return filmstrip(frames)


def status_lamps():
    """Frame k: HiCut lamp lit for bit 0, repeat lamp for bit 1, beat lamp for bit 2."""
    frames = []
    for k in range(8):
        c = Canvas(16, 32, rgba(WINDOW))
        for bit, (cy, colours) in enumerate(((5.5, AMBER), (16.0, GREEN), (26.5, RED))):
            led(c, 8.0, cy, 3.0, colours, k >> bit & 1)
        frames.append(c.reduced())
    return filmstrip(frames)


def level_meter():
    """Frame k lights the lowest k of twenty bars."""
    frames = []
    for k in range(21):
        c = Canvas(7, 43, (6, 6, 8, 255))
        for i in range(20):
            y = 41 - 2 * i
            colours = GREEN if i < 14 else AMBER if i < 18 else RED
            colour = colours[0] if i < k else colours[1]
            c.rect(1, y - 1, 6, y, rgba(colour))
        frames.append(c.reduced())
    return filmstrip(frames)


# Seven segments on a 14 x 20 cell: a top, b upper right, c lower right, d bottom,
# e lower left, f upper left, g middle.
SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abged", "3": "abgcd", "4": "fgbc",
    "5": "afgcd", "6": "afgedc", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}
DIGIT_LIT = (255, 70, 40)
DIGIT_UNLIT = (48, 22, 20)


def digit(width, lit):
    c = Canvas(width, 20, rgba(WINDOW))
    x0, x1 = (width - 10) / 2, (width + 10) / 2
    y0, y1, ym = 2.0, 18.0, 10.0
    t, g = 1.0, 0.4  # half thickness, gap at the joints
    horizontal = {"a": y0, "g": ym, "d": y1}
    vertical = {"f": (x0, y0, ym), "b": (x1, y0, ym), "e": (x0, ym, y1), "c": (x1, ym, y1)}
    for name in "abcdefg":
        colour = rgba(DIGIT_LIT if name in lit else DIGIT_UNLIT)
        if name in horizontal:
            y = horizontal[name]
            c.polygon([(x0 + g, y), (x0 + g + t, y - t), (x1 - g - t, y - t), (x1 - g, y),
                       (x1 - g - t, y + t), (x0 + g + t, y + t)], colour)
        else:
            x, ya, yb = vertical[name]
            c.polygon([(x, ya + g), (x + t, ya + g + t), (x + t, yb - g - t), (x, yb - g),
                       (x - t, yb - g - t), (x - t, ya + g + t)], colour)
    return c.reduced()


def digits(width):
    frames = [digit(width, SEGMENTS[str(k)]) for k in range(10)]
    frames.append(digit(width, ""))  # blank: a suppressed position
    frames.append(digit(width, "g"))  # minus; never shown by the editor
    return filmstrip(frames)


# ---------------------------------------------------------------------------------------------
# Preset strip keys

KEY_STATES = {
    "normal": ((128, 137, 148), (92, 99, 108), 0.0),
    "hover": ((160, 170, 180), (118, 126, 136), 0.0),
    "pressed": ((84, 90, 98), (104, 111, 120), 0.7),
}
ICON = (24, 26, 30, 255)


def key(width, height, state):
    c = Canvas(width, height)
    hi, lo, s = KEY_STATES[state]
    c.rect(0, 0, width, height, (12, 13, 16, 255), radius=2.5)
    c.vertical_gradient(1, 1 + s, width - 1, height - 1 + s * 0.3, hi, lo, radius=2)
    return c, s


def key_states(width, height, icon, states=("normal", "hover", "pressed")):
    frames = []
    for state in states:
        c, s = key(width, height, state)
        icon(c, s, state)
        frame = c.reduced()
        frames.append(frame)
    return filmstrip(frames)


def load_icon(c, s, state):
    """An open folder."""
    c.polygon([(4, 4.5 + s), (7, 4.5 + s), (8, 5.5 + s), (13, 5.5 + s), (13, 11 + s),
               (4, 11 + s)], ICON)
    c.polygon([(5, 7.5 + s), (14.5, 7.5 + s), (13, 11 + s), (4, 11 + s)], (200, 206, 212, 255))


def save_icon(c, s, state):
    """A floppy disk."""
    c.rect(4, 2.5 + s, 13, 11.5 + s, ICON, radius=0.6)
    c.rect(6, 2.5 + s, 11, 5.5 + s, (200, 206, 212, 255))
    c.rect(5.5, 8 + s, 11.5, 11.5 + s, (200, 206, 212, 255))


def word_key(width, word):
    frames = []
    for state in ("normal", "hover", "pressed"):
        c, s = key(width, 13, state)
        frame = c.reduced()
        draw = ImageDraw.Draw(frame)
        text(draw, (width / 2, 9.5 + round(s)), word, 8, FIELD_TEXT, "SansNarrow-Regular")
        frames.append(frame)
    return filmstrip(frames)


def rocker():
    """Normal, hover left, hover right, pressed left, pressed right."""
    looks = [("normal", "normal"), ("hover", "normal"), ("normal", "hover"),
             ("pressed", "normal"), ("normal", "pressed")]
    frames = []
    for left, right in looks:
        c = Canvas(30, 13)
        c.rect(0, 0, 30, 13, (12, 13, 16, 255), radius=2.5)
        for x0, x1, state, pointing in ((1, 14.5, left, -1), (15.5, 29, right, 1)):
            hi, lo, s = KEY_STATES[state]
            c.vertical_gradient(x0, 1 + s, x1, 12 + s * 0.3, hi, lo, radius=2)
            cx, cy = (x0 + x1) / 2, 6.5 + s
            c.polygon([(cx - 2.5 * pointing, cy - 3.5), (cx - 2.5 * pointing, cy + 3.5),
                       (cx + 3 * pointing, cy)], ICON)
        frames.append(c.reduced())
    return filmstrip(frames)


def lamp_key(colours):
    """Off, hover while off, on: a key with a lamp."""
    frames = []
    for state in ("normal", "hover", "on"):
        c, s = key(24, 16, "pressed" if state == "on" else state)
        led(c, 12, 8 + s, 2.6, colours, state == "on")
        frames.append(c.reduced())
    return filmstrip(frames)


# ---------------------------------------------------------------------------------------------
# The panel


def screw(c, cx, cy):
    c.circle(cx, cy + 0.4, 3.4, (20, 22, 26, 160))
    c.radial(cx, cy, 3.0, (180, 184, 190), (90, 94, 100))
    c.line([(cx - 2.0, cy + 1.0), (cx + 2.0, cy - 1.0)], (40, 42, 46, 255), 0.8)


def engraved_box(c, x0, y0, x1, y1, radius=3):
    c.rect(x0 + 0.5, y0 + 0.5, x1 + 0.5, y1 + 0.5, None, radius, rgba(ENGRAVE_LIGHT), 0.7)
    c.rect(x0, y0, x1, y1, None, radius, rgba(ENGRAVE_DARK), 0.7)


def light_field(c, x0, y0, x1, y1):
    c.rect(x0 - 1, y0 - 1, x1 + 1, y1 + 1, (20, 22, 26, 255), radius=1.5)
    c.rect(x0, y0, x1, y1, rgba(FIELD))


def panel_shapes():
    c = Canvas(870, 101)
    c.vertical_gradient(0, 0, 870, STRIP_TOP, PANEL_TOP, PANEL_BOTTOM)
    c.rect(0, 0, 870, 1, (112, 120, 130, 255))
    c.rect(0, STRIP_TOP, 870, 101, rgba(STRIP))
    c.rect(0, STRIP_TOP, 870, STRIP_TOP + 1, (22, 24, 28, 255))
    for x, y in ((7, 7), (863, 7), (7, 75), (863, 75)):
        screw(c, x, y)

    # One engraved frame around the controls: a divider between the display and the
    # modulation knobs would run through the MANUAL knob's scale.
    engraved_box(c, 28, 5, 800, 74)

    for rect in KNOBS.values():
        knob_scale(c, rect)

    # The display window behind the digits and the status lamps.
    x0, y0, x1, y1 = DISPLAY_WINDOW
    c.rect(x0 - 1.5, y0 - 1.5, x1 + 1.5, y1 + 1.5, (104, 112, 122, 255), radius=3)
    c.rect(x0 - 0.5, y0 - 0.5, x1 + 0.5, y1 + 0.5, (10, 10, 12, 255), radius=2.5)
    c.rect(x0, y0, x1, y1, rgba(WINDOW), radius=2)

    # Bezels around the meter and the lamps.
    mx0, my0, mx1, my1 = METER
    c.rect(mx0 - 1.5, my0 - 1.5, mx1 + 1.5, my1 + 1.5, (104, 112, 122, 255), radius=1.5)
    # The slot the delay slider area sits in, between the step buttons.
    c.rect(461.5, 36, 466.5, 57, (24, 26, 30, 255), radius=2)
    for y in range(39, 56, 3):
        c.line([(459.5, y), (468.5, y)], rgba(LABEL_DIM, 140), 0.5)

    # The preset strip's fields.
    light_field(c, *NAME_FIELD)
    light_field(c, *CONTROLLER_FIELD)
    mx = (MENU[0] + MENU[2]) / 2 + 0.5
    my = (MENU[1] + MENU[3]) / 2
    c.line([(MENU[0] + 0.5, MENU[1] + 1), (MENU[0] + 0.5, MENU[3] - 1)], (120, 132, 140, 255),
           0.6)
    c.polygon([(mx - 3.5, my - 1.5), (mx + 3.5, my - 1.5), (mx, my + 2.5)], rgba(FIELD_TEXT))
    return c.reduced()


def knob_end_marks(d, rect, left, right, top=None):
    """Values printed at the ends of a knob's scale, and at its top when given.

    The ends of the scale point down and out at 135 degrees, twelve pixels either side of
    the knob's centre; the marks sit just under them, centred, so each reads as the value
    of the tick above it. The top mark fits between the knob's name and its centre tick
    only as lower-case letters without ascenders.
    """
    cx, cy = (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2
    end = 12.0
    text(d, (cx - end, MARK_BASELINE), left, 8, MARK)
    text(d, (cx + end, MARK_BASELINE), right, 8, MARK)
    if top:
        text(d, (cx, 24), top, 8, MARK)


def status_legends(d):
    """The three status lamps stand in a column at the display's right edge, hard by the
    MANUAL knob's scale, where a legend would read as that knob's. Their legend is a row
    under the display instead: a dot in each lamp's colour, then its name, in the lamps'
    top-to-bottom order."""
    x = DISPLAY_WINDOW[2]
    baseline = 70
    entries = (("Beat", RED), ("Rpt", GREEN), ("HiCut", AMBER))
    f = font("SansNarrow-Regular", 8)
    for name, (bright, dim) in entries:  # right to left, so the row ends at the window's edge
        d.text((x, baseline), name, font=f, fill=LABEL, anchor="rs")
        x -= f.getlength(name) + 5
        d.ellipse([x - 1, baseline - 5, x + 3, baseline - 1], fill=bright)
        x -= 6


def panel():
    image = panel_shapes().convert("RGB")
    d = ImageDraw.Draw(image)
    bold = "Sans-Bold"
    narrow = "SansNarrow-Regular"
    narrow_bold = "SansNarrow-Bold"

    for name, (x0, y0, x1, y1) in KNOBS.items():
        text(d, ((x0 + x1) / 2, 17), name, 8, face=bold)
    text(d, ((KNOBS["RATE"][0] + KNOBS["RATE"][2]) / 2 + 14, 17), "Hz", 8, MARK,
         anchor="ls")
    knob_end_marks(d, KNOBS["MANUAL"], "\u00d70.5", "\u00d71.5")
    knob_end_marks(d, KNOBS["WAVE"], "sin", "sqr", top="env")
    knob_end_marks(d, KNOBS["RATE"], "0.1", "10")
    for name, (x0, y0, x1, y1) in BUTTONS.items():
        text(d, ((x0 + x1) / 2, 40), name, 8, face=narrow_bold)
    text(d, ((METER[0] + METER[2]) / 2, 17), "LEVEL", 8, face=bold)
    text(d, ((POWER_BUTTON[0] + POWER_BUTTON[2]) / 2, 73), "POWER", 8, face=bold)
    # The power button's own lamp says "on"; the lamp by the mix knob repeats the power
    # state far from the button, so it carries the button's name.
    text(d, (POWER_BUTTON[0] - 2, 52), "ON", 8, LABEL_DIM, narrow_bold, anchor="rs")
    text(d, (POWER_LAMP[2], POWER_LAMP[1] - 2), "POWER", 7, LABEL_DIM, narrow_bold,
         anchor="rs")
    # Beside its lamp, a row below the rate knob's values.
    text(d, (OSC_LAMP[0] - 2, 71), "LFO", 7, LABEL_DIM, narrow_bold, anchor="rs")

    # The delay time: display, switch and step buttons. The display shows milliseconds
    # with the switch at DLY, and the tempo's fraction (numerator, denominator) or, while
    # it is dragged, the tempo with the switch at CLK: each half of the switch carries the
    # unit of what the display then shows.
    text(d, ((DISPLAY_WINDOW[0] + DISPLAY_WINDOW[2]) / 2, 19), "DELAY", 8, face=bold)
    dly_x, clk_x = SWITCH[0] - 2, SWITCH[2] + 2
    text(d, (dly_x, 31), "DLY", 8, face=bold, anchor="rs")
    text(d, (clk_x, 31), "CLK", 8, face=bold, anchor="ls")
    f = font(bold, 8)
    text(d, (dly_x - f.getlength("DLY") / 2, 21), "ms", 8, MARK)
    text(d, (clk_x + f.getlength("CLK") / 2, 21), "n/d \u00b7 BPM", 8, MARK)
    text(d, ((STEP_DOWN[0] + STEP_UP[2]) / 2, 69), "TIME", 8, face=bold)
    status_legends(d)

    # The product name over the about hot zone.
    x0, y0, x1, y1 = ABOUT_ZONE
    text(d, ((x0 + x1) / 2, y0 + 13), "TARVA", 15, (236, 238, 240), bold)
    text(d, ((x0 + x1) / 2, y0 + 23), "Morvane", 9, LABEL_DIM, "Sans-Italic")

    # Group labels above the preset strip, and the memo letters between their buttons.
    for name, left, right in (("BANK", 34, 102), ("PRESET", 114, 194), ("PROGRAM", 208, 370),
                              ("MEMO", 388, 503), ("MIDI", 610, 675),
                              ("CONTROLLER", 690, 780)):
        text(d, ((left + right) / 2, 82), name, 8, LABEL_DIM, narrow_bold)
    # LEARN and CLEAR name two keys that touch: each word keeps to the outer part of its
    # key, and a tick between them keeps the two from reading as one label.
    text(d, (LEARN_KEY[2] - 2, 82), "LEARN", 8, LABEL_DIM, narrow_bold, anchor="rs")
    text(d, (CLEAR_KEY[0] + 2, 82), "CLEAR", 8, LABEL_DIM, narrow_bold, anchor="ls")
    d.line([(LEARN_KEY[2], 76), (LEARN_KEY[2], 81)], fill=LABEL_DIM)
    text(d, (413, 97), "A", 9, LABEL, bold)
    text(d, (477.5, 97), "B", 9, LABEL, bold)
    return image


# The editor prints the version in white at 11 pixels, left-aligned from this point of the
# about screen, on this baseline (its text box is 15 pixels high from y = 57).
VERSION_LEFT = 520
VERSION_BASELINE = 68


def about():
    """The about screen. Its text stands on a grid with the version the editor prints: the
    subtitle shares the version's baseline, the maker's line starts under the version, and
    one rule runs under both columns."""
    c = Canvas(870, 101)
    c.vertical_gradient(0, 0, 870, 101, (30, 36, 44), (12, 14, 18))
    # Repeats fading away: the delay's echo as a row of dots.
    for i in range(9):
        level = 0.85 ** i
        colour = mix((30, 36, 44), (255, 90, 50), level)
        c.circle(660 + i * 22, 50, 7.0 * (0.9 ** i), rgba(colour))
    c.line([(30, VERSION_BASELINE + 6), (VERSION_LEFT + 100, VERSION_BASELINE + 6)],
           (70, 78, 88, 255), 0.8)
    image = c.reduced().convert("RGB")
    d = ImageDraw.Draw(image)
    text(d, (30, 42), "Morvane TARVA", 30, (238, 240, 243), "Sans-Bold", anchor="ls")
    text(d, (32, VERSION_BASELINE), "stereo clocked delay", 13, (170, 180, 192), "Sans-Regular",
         anchor="ls")
    text(d, (VERSION_LEFT, VERSION_BASELINE + 20), "Morvane audio software", 11,
         (130, 140, 152), "Sans-Italic", anchor="ls")
    return image


def blank():
    c = Canvas(12, 25)
    screw(c, 6, 12.5)
    return c.reduced()


def all_bitmaps():
    steel, orange = (235, 238, 242), (255, 150, 60)
    out = {128: panel(), 129: about()}
    for ident in (131, 132, 133, 136):
        out[ident] = knob(35, steel)
    out[149] = knob(35, orange)
    for ident in (148, 150, 151):
        out[ident] = knob(36, orange)
    out[130] = push_button(21, 20)
    out[134] = push_button(21, 26)
    out[135] = push_button(21, 26)
    out[137] = push_button(22, 26, GREEN)
    out[147] = push_button(23, 26, AMBER)
    out[152] = push_button(22, 20)
    out[138] = step_button(False)
    out[139] = step_button(True)
    for ident in (140, 141, 143):
        out[ident] = digits(14)
    out[142] = digits(15)
    out[144] = status_lamps()
    out[145] = lamp(11, RED, (1.0, 0.0))
    out[146] = level_meter()
    out[153] = lamp(10, ((255, 150, 40), (40, 22, 10)), [k / 100 for k in range(101)])
    out[154] = blank()
    out[155] = slide_switch()
    out[990] = key_states(17, 15, load_icon)
    out[991] = key_states(17, 15, save_icon)
    # The three default keys say the same word: the narrow face fits it on the smallest.
    out[992] = word_key(32, "default")
    out[993] = word_key(44, "default")
    out[994] = word_key(28, "default")
    out[995] = rocker()
    out[998] = lamp_key(AMBER)
    out[999] = lamp_key(RED)
    return out


def check(ident, image):
    width, height, frames = BITMAPS[ident]
    if image.size != (width, height):
        sys.exit(f"{ident}: {image.size}, expected {(width, height)}")
    step = height // frames
    strips = [image.crop((0, k * step, width, (k + 1) * step)).tobytes() for k in range(frames)]
    for k in range(1, frames):
        if strips[k] == strips[k - 1]:
            sys.exit(f"{ident}: frames {k - 1} and {k} are identical")


def save(image, path):
    # A fully opaque image is stored without its alpha channel.
    if image.mode == "RGBA" and image.getextrema()[3][0] == 255:
        image = image.convert("RGB")
    image.save(path, format="PNG", optimize=True)


def main():
    root = Path(__file__).resolve().parents[2]
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=root / "resources" / "artwork")
    parser.add_argument("--preview", type=Path,
                        help="also write the panel with every control in a sample state")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    images = all_bitmaps()
    for ident in sorted(BITMAPS):
        check(ident, images[ident])
        save(images[ident], args.out / f"{ident}.png")
    if args.preview:
        preview(images).save(args.preview)


def preview(images):
    """The panel with the controls drawn over it, two times larger, for looking at."""
    image = images[128].convert("RGBA")

    def put(ident, rect, frame):
        width, height, frames = BITMAPS[ident]
        step = height // frames
        tile = images[ident].convert("RGBA").crop((0, frame * step, width, (frame + 1) * step))
        image.alpha_composite(tile, (rect[0], rect[1]))

    knob_ids = dict(zip(KNOBS, (131, 132, 133, 136, 149, 148, 151, 150)))
    for k, (name, rect) in enumerate(KNOBS.items()):
        put(knob_ids[name], rect, (k * 23) % 101)
    for ident, rect, frame in ((147, BUTTONS["HI CUT"], 1), (134, BUTTONS["FB INV"], 0),
                               (135, BUTTONS["DLY INV"], 0), (137, BUTTONS["REPEAT"], 1),
                               (130, BUTTONS["DLY x2"], 0), (152, POWER_BUTTON, 1),
                               (145, POWER_LAMP, 0), (153, OSC_LAMP, 70),
                               (155, SWITCH, 0), (138, STEP_DOWN, 0), (139, STEP_UP, 1),
                               (146, METER, 13), (144, STATUS_LAMPS, 5),
                               (140, (511, 32), 10), (141, (528, 32), 3),
                               (142, (545, 32), 7), (143, (563, 32), 5),
                               (991, (34, 86), 0), (992, (51, 86), 1), (990, (85, 86), 0),
                               (991, (114, 86), 0), (993, (132, 86), 0), (990, (177, 86), 2),
                               (995, (340, 86), 2), (991, (388, 86), 0), (990, (421, 86), 0),
                               (991, (452, 86), 0), (990, (486, 86), 1),
                               (991, (610, 86), 0), (994, (628, 86), 0), (990, (658, 86), 0),
                               (998, (788, 85), 2), (999, (813, 85), 0)):
        put(ident, rect, frame)
    d = ImageDraw.Draw(image)
    d.text((212, 88), "Init", font=font("Sans-Regular", 12), fill=FIELD_TEXT)
    d.text((714, 88), "control 102", font=font("Sans-Regular", 10), fill=FIELD_TEXT)
    return image.resize((870 * 2, 101 * 2), Image.NEAREST)


if __name__ == "__main__":
    main()
