"""Dimmed likenesses of the editor's four pictures, for the help overlay: they show what the
colours and lines of each picture look like, not real measurements. Drawn at the canvas's own
resolution from smooth made-up curves; a fixed seed keeps them the same on every run.
"""

import math
import random

from PIL import ImageDraw

BLUE = (36, 54, 136)
YELLOW = (122, 114, 30)
BOTH = (74, 76, 86)
RED = (128, 32, 32)
GREEN = (30, 104, 30)
# Black through blue and green to yellow and white, dimmed like the rest.
HEAT = [(0, 0, 0), (0, 0, 64), (0, 38, 70), (0, 72, 30), (50, 80, 0), (100, 88, 0), (116, 96, 44),
        (124, 118, 110)]
GRID_STEPS = 10
NYQUIST_KHZ = 22.05
KHZ_PER_RED_LINE = 5
LEVEL_RANGE_DB = 96
SEED = 2


def _device(canvas, rect):
    left, top, right, bottom = canvas.device_rect(rect)
    return ImageDraw.Draw(canvas.image), left, top, right - left, bottom - top


def _stack_column(draw, x, bottom, first, second):
    """Two bars from the same baseline, their common part in the mixed colour."""
    low, high = sorted((first, second))
    if low > 0:
        draw.line([(x, bottom - low), (x, bottom - 1)], fill=BOTH)
    if high > low:
        draw.line([(x, bottom - high), (x, bottom - low - 1)], fill=BLUE if first > second else YELLOW)


def _wobble(rng, count, amount, smoothness=0.8):
    """A random curve, smoother the closer `smoothness` is to 1: noise through a running mean."""
    values, level = [], 0.0
    for _ in range(count):
        level = smoothness * level + (1 - smoothness) * rng.uniform(-amount, amount)
        values.append(level)
    return values


def draw_histogram(canvas, rect):
    draw, x0, y0, width, height = _device(canvas, rect)
    bottom = y0 + height
    for step in range(1, GRID_STEPS):
        x = x0 + width * step // GRID_STEPS
        draw.line([(x, y0), (x, bottom - 1)], fill=RED)
    rng = random.Random(SEED)
    left_noise, right_noise = _wobble(rng, width, 0.5, 0.9), _wobble(rng, width, 0.5, 0.9)
    for c in range(width):
        u = c / width
        first = math.exp(-((u - 0.30) / 0.22) ** 2) * 0.9 + left_noise[c]
        second = math.exp(-((u - 0.36) / 0.2) ** 2) * 0.85 + right_noise[c]
        _stack_column(draw, x0 + c, bottom, _bar(first, height), _bar(second, height))


def _bar(fraction, height):
    return max(0, min(height, round(fraction * height)))


def draw_spectrum(canvas, rect):
    draw, x0, y0, width, height = _device(canvas, rect)
    bottom = y0 + height
    for khz in range(1, int(NYQUIST_KHZ)):
        x = x0 + round(width * khz / NYQUIST_KHZ)
        draw.line([(x, y0), (x, bottom - 1)], fill=RED if khz % KHZ_PER_RED_LINE == 0 else GREEN)
    rng = random.Random(SEED + 1)
    left_noise, right_noise = _wobble(rng, width, 0.4), _wobble(rng, width, 0.4)
    for c in range(width):
        u = c / width
        slope = 0.92 - 0.55 * math.sqrt(u)
        _stack_column(draw, x0 + c, bottom, _bar(slope + left_noise[c], height),
                      _bar(slope - 0.03 + right_noise[c], height))


def draw_level_history(canvas, rect):
    draw, x0, y0, width, height = _device(canvas, rect)
    rng = random.Random(SEED + 2)
    left_levels, right_levels = _wobble(rng, height, 0.3, 0.9), _wobble(rng, height, 0.3, 0.9)
    for row in range(height):
        y = y0 + row
        first = round(width * (0.72 + left_levels[row]))
        second = round(width * (0.69 + right_levels[row]))
        low, high = sorted((first, second))
        draw.line([(x0, y), (x0 + low - 1, y)], fill=BOTH)
        draw.line([(x0 + low, y), (x0 + high - 1, y)], fill=BLUE if first > second else YELLOW)
    for db in range(10, LEVEL_RANGE_DB, 10):
        x = x0 + round(width * (1 - db / LEVEL_RANGE_DB))
        draw.line([(x, y0), (x, y0 + height - 1)], fill=RED)


def draw_spectrogram(canvas, rect):
    draw, x0, y0, width, height = _device(canvas, rect)
    rng = random.Random(SEED + 3)
    loudness = _wobble(rng, height, 0.8, 0.9)
    for row in range(height):
        for c in range(width):
            value = 0.92 - 0.8 * (c / width) ** 0.7 + loudness[row] + rng.uniform(-0.1, 0.1)
            shade = max(0, min(len(HEAT) - 1, int(value * len(HEAT))))
            draw.point((x0 + c, y0 + row), fill=HEAT[shade])
