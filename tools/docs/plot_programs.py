#!/usr/bin/env python3
"""Plots what each factory program does to one hit, from renders of the built plug-in.

    tools/docs/plot_programs.py [--build FOLDER] [--out FOLDER] [--keep FOLDER]

For every program, tarva-render (build/tools/tarva-render) plays two inputs through the
plug-in at 44100 Hz and 120 BPM, and docs/programs/NN-name.png shows:
  one hit         a single click through the program as stored: the output's level in
                  dB (loudest sample of each millisecond) from the click on, so the
                  repeats, their spacing and their decay show;
  delay and pitch (programs whose Depth is above 0) a struck 1 kHz tone, falling by
                  1/e every 1.5 s, through the program with only its repeat heard
                  (Mix 1, Fbck 0, DlyInv off; the rest as stored): the delay the repeat
                  has at each moment, from the tone's phase, and its pitch against the
                  tone in semitones, from the phase's slope.
Needs Python 3 with numpy and matplotlib (Debian: python3-matplotlib) and Pillow.
--keep FOLDER keeps the input and output WAV files there.
"""
import argparse
import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from PIL import Image  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
RATE = 44100
HIT_AT = 0.1  # s of silence first: the plug-in starts every render from a cleared memory
HIT_SECONDS = 4.5
TONE_HZ = 1000.0
TONE_DECAY_S = 1.5
FLOOR_DB = -70.0


# --- WAV files: 32-bit float in, whatever float WAV the renderer writes out --------------

def write_wav(path, samples):
    data = np.asarray(samples, dtype="<f4").tobytes()
    fmt = struct.pack("<HHIIHH", 3, 1, RATE, RATE * 4, 4, 32)  # IEEE float, mono
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def read_wav(path):
    """The left channel of a 32-bit float WAV file."""
    raw = Path(path).read_bytes()
    position, channels, data = 12, 1, None
    while position + 8 <= len(raw):
        name, size = raw[position:position + 4], struct.unpack("<I", raw[position + 4:position + 8])[0]
        body = raw[position + 8:position + 8 + size]
        if name == b"fmt ":
            kind, channels, _, _, _, bits = struct.unpack("<HHIIHH", body[:16])
            if kind not in (3, 0xFFFE) or bits != 32:
                sys.exit(f"plot-programs: {path} is not 32-bit float")
        elif name == b"data":
            data = body
        position += 8 + size + (size & 1)
    return np.frombuffer(data, dtype="<f4").reshape(-1, channels)[:, 0].astype(np.float64)


# --- The plug-in, through its command-line host --------------------------------------------

class Renderer:
    def __init__(self, build, folder):
        self.tool = build / "tools" / "tarva-render"
        if not self.tool.exists():
            sys.exit(f"plot-programs: build {self.tool} first")
        self.folder = Path(folder)

    def programs(self):
        listing = self.run("--list-programs")
        return [(int(m.group(1)), m.group(2)) for m in re.finditer(r"^\s*(\d+)\s+(.+)$", listing, re.M)]

    def parameters(self, program):
        """name -> (value, display text) of the program's 18 controls."""
        lines = self.run("--program", str(program), "--list-parameters").splitlines()
        display, label = lines[0].index("display"), lines[0].index("label")  # fixed columns
        out = {}
        for line in lines[1:19]:
            fields = line[:display].split()
            out[fields[1]] = (float(fields[2]), line[display:label].strip())
        return out

    def render(self, program, name, samples, settings=()):
        source, result = self.folder / f"{name}-in.wav", self.folder / f"{name}-out.wav"
        write_wav(source, samples)
        options = [part for s in settings for part in ("--set", s)]
        self.run("--quiet", "--program", str(program), *options, str(source), str(result))
        return read_wav(result)

    def run(self, *arguments):
        return subprocess.run([str(self.tool), *arguments], check=True, capture_output=True,
                              text=True).stdout


# --- Measurements -------------------------------------------------------------------------

def one_hit(renderer, program, name):
    samples = np.zeros(int((HIT_AT + HIT_SECONDS) * RATE))
    samples[int(HIT_AT * RATE)] = 1.0
    out = renderer.render(program, f"{name}-hit", samples)[int(HIT_AT * RATE):]
    per_ms = RATE // 1000
    peaks = np.abs(out[:len(out) // per_ms * per_ms]).reshape(-1, per_ms).max(axis=1)
    level = 20 * np.log10(np.maximum(peaks, 10 ** (FLOOR_DB / 20)))
    loud = np.nonzero(level > -60)[0]
    last = (loud[-1] + 1) / 1000 if len(loud) else 0.05
    span = min(HIT_SECONDS, max(0.05, last * 1.15))
    times = np.arange(len(level)) / 1000
    keep = times <= span
    return times[keep], level[keep]


def modulation_span(parameters):
    """Three turns of the LFO when its wave has a share, within 1 to 10 s; 5 s for the
    envelope alone."""
    wave = parameters["Waveform"][0]
    rate_hz = float(parameters["Rate"][1])
    if abs(wave - 0.5) < 0.01:
        return 5.0
    return min(10.0, max(1.0, 3.0 / rate_hz))


def delay_and_pitch(renderer, program, name, span):
    """The repeat's delay (ms) and pitch (semitones) over time, from the phase of a struck
    tone heard through the repeat alone."""
    count = int((HIT_AT + span + 0.3) * RATE)
    t = np.arange(count) / RATE - HIT_AT
    tone = np.where(t >= 0, 0.5 * np.exp(-t / TONE_DECAY_S) * np.sin(2 * np.pi * TONE_HZ * t), 0)
    out = renderer.render(program, f"{name}-tone", tone, ("Mix=1", "Fbck=0", "DlyInv=0"))
    # The repeat begins where the output first stirs; its delay then is that time.
    onset = int(np.argmax(np.abs(out) > 1e-3 * np.abs(out).max()))
    start = onset + int(0.02 * RATE)  # past the tone's own onset and the smoothing below
    # The analytic signal, with as many zeros after the render as it is long, so that the
    # sudden start does not leak round to the quiet end.
    padded = len(out) * 2
    spectrum = np.fft.fft(out, padded)
    spectrum[padded // 2 + 1:] = 0
    spectrum[1:padded // 2] *= 2
    phase = np.unwrap(np.angle(np.fft.ifft(spectrum)[:len(out)]))
    # Output phase = the tone's phase at (now - delay): delay = now - phase / (2 pi f),
    # known up to whole periods of the tone; the onset picks the period.
    delay = t - phase / (2 * np.pi * TONE_HZ)
    onset_delay = t[onset]
    period = 1 / TONE_HZ
    delay += np.round((onset_delay - delay[start]) / period) * period
    slope = np.gradient(phase) * RATE / (2 * np.pi * TONE_HZ)
    width = int(0.002 * RATE)
    slope = np.convolve(slope, np.ones(width) / width, mode="same")
    pitch = 12 * np.log2(np.maximum(slope, 1e-6))
    end = len(out) - int(0.2 * RATE)  # clear of the analytic signal's wrap at the end
    step = max(1, (end - start) // 2000)
    keep = slice(start, end, step)
    return t[keep], delay[keep] * 1000, pitch[keep]


# --- Pictures -----------------------------------------------------------------------------

def summary(parameters):
    """The settings that shape the sound, as the host displays them."""
    p = {k: v[1] for k, v in parameters.items()}
    on = [k for k in ("Dlyx2", "HiCut", "FbInv", "DlyInv") if p[k] == "on"]
    if p["Dly<>Clk"] == "clk":
        delay = f"clock {p['Num']}/{p['Den']} at 120 BPM"
    else:
        delay = f"{p['DlyTime']} ms"
    text = f"delay {delay}, Fbck {p['Fbck']} dB, Mix {p['Mix']}, ManVCO \u00d7{float(p['ManVCO']):.2f}"
    if parameters["Depth"][0] > 0:
        text += f", Depth {p['Depth']} %, Waveform {p['Waveform']}, Rate {float(p['Rate']):.2f} Hz"
    if on:
        text += ", " + " ".join(on)
    return text


def plot(number, name, parameters, hit, modulation, path):
    panels = 2 if modulation else 1
    fig, axes = plt.subplots(1, panels, figsize=(8.8, 2.5), dpi=90, squeeze=False)
    fig.suptitle(f"{number}  {name}", x=0.01, ha="left", fontsize=10, fontweight="bold")
    fig.text(0.01, 0.87, summary(parameters), fontsize=7, color="#555555")
    ax = axes[0][0]
    times, level = hit
    scale, unit = (1000, "ms") if times[-1] < 0.5 else (1, "s")
    ax.plot(times * scale, level, color="#c04020", linewidth=0.8)
    ax.set_ylim(FLOOR_DB, 6)
    ax.set_xlim(-0.015 * times[-1] * scale, times[-1] * scale)  # the dry hit clear of the axis
    ax.set_xlabel(f"time after the hit ({unit})", fontsize=7)
    ax.set_ylabel("level (dB)", fontsize=7)
    ax.set_title("one hit", fontsize=8)
    ax.tick_params(labelsize=7)
    ax.grid(alpha=0.3)
    if modulation:
        ax = axes[0][1]
        times, delay, pitch = modulation
        ax.plot(times, delay, color="#2060a0", linewidth=1.0)
        ax.set_xlabel("time after the hit (s)", fontsize=7)
        ax.set_ylabel("delay of the repeat (ms)", fontsize=7, color="#2060a0")
        ax.set_title("delay and pitch of the repeat", fontsize=8)
        ax.tick_params(labelsize=7)
        ax.set_xlim(0, times[-1])
        ax.grid(alpha=0.3)
        twin = ax.twinx()
        twin.plot(times, pitch, color="#30a050", linewidth=0.8)
        twin.set_ylabel("pitch (semitones)", fontsize=7, color="#30a050")
        twin.tick_params(labelsize=7)
        low, high = pitch.min(), pitch.max()
        if high - low < 0.2:  # a steady pitch: show it as a flat line, not as noise
            twin.set_ylim(low - 1, high + 1)
    fig.tight_layout(rect=(0, 0, 1, 0.86))
    fig.savefig(path)
    plt.close(fig)
    image = Image.open(path).convert("RGB")
    image.quantize(colors=64, method=Image.MEDIANCUT, dither=Image.NONE).save(path, optimize=True)


def file_name(number, name):
    return f"{number:02d}-{re.sub(r'[^a-z0-9]+', '-', name.lower()).strip('-')}.png"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=Path, default=ROOT / "build")
    parser.add_argument("--out", type=Path, default=ROOT / "docs" / "programs")
    parser.add_argument("--keep", type=Path, help="keep the WAV files in this folder")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as temporary:
        folder = args.keep or Path(temporary)
        folder.mkdir(parents=True, exist_ok=True)
        renderer = Renderer(args.build, folder)
        for number, name in renderer.programs():
            parameters = renderer.parameters(number)
            hit = one_hit(renderer, number, f"{number:02d}")
            modulation = None
            if parameters["Depth"][0] > 0:
                span = modulation_span(parameters)
                modulation = delay_and_pitch(renderer, number, f"{number:02d}", span)
            path = args.out / file_name(number, name)
            plot(number, name, parameters, hit, modulation, path)
            print(path.relative_to(ROOT) if path.is_relative_to(ROOT) else path)


if __name__ == "__main__":
    main()
