#!/usr/bin/env python3
"""Draws the editor's ten bitmap resources and writes them as BMP files beside this script.

A developer tool: the build embeds the committed BMP files and needs nothing of this. It wants
Pillow and the DejaVu fonts; scripts/generate-resources.sh installs them and runs it. The output
depends only on this code and those fonts, so running it twice gives identical files.
"""

import os

from bmp_file import write_bmp
from canvas import FULL_COVERAGE, Canvas
from editor_look import (DISPLAY_SIZE, EDITOR_HEIGHT, EDITOR_WIDTH, PANEL_WIDTH, RESET_KEY_SIZE,
                         draw_display, draw_help_overlay, draw_panel, draw_reset_key_states,
                         displays_sunken)

HERE = os.path.dirname(os.path.abspath(__file__))
WHITE = (255, 255, 255)
LIGHT_GREY = (236, 236, 236)
# The 8-bit pictures get this many coverage levels per anti-aliased edge, so that every
# picture's colours fit its palette; 24-bit pictures keep all of them.
PALETTE_COVERAGE_LEVELS = 12

PANEL_SIZE = (PANEL_WIDTH, EDITOR_HEIGHT)
RESET_KEY_PICTURE_SIZE = (RESET_KEY_SIZE[0], 2 * RESET_KEY_SIZE[1])
# Drawn over the whole editor, and two pixels larger than it.
OVERLAY_SIZE = (EDITOR_WIDTH + 2, EDITOR_HEIGHT + 2)
PICTURE_BASE_SIZE = (200, 76)


def display_field(canvas):
    draw_display(canvas, (0, 0, *DISPLAY_SIZE), displays_sunken(canvas))


def white(canvas):
    canvas.fill((0, 0, *canvas.size), WHITE)


def light_grey(canvas):
    canvas.fill((0, 0, *canvas.size), LIGHT_GREY)


# (file, size in base-build pixels, drawing, display scale, bits per pixel, run-length encoded)
PICTURES = [
    ("frameBackground.bmp", PANEL_SIZE, draw_panel, 1, 24, False),
    ("display.bmp", DISPLAY_SIZE, display_field, 1, 24, False),
    ("resetKey.bmp", RESET_KEY_PICTURE_SIZE, draw_reset_key_states, 1, 24, False),
    ("helpOverlay.bmp", OVERLAY_SIZE, draw_help_overlay, 1, 24, False),
    ("pictureBase.bmp", PICTURE_BASE_SIZE, white, 1, 4, False),
    ("resetKey_x2.bmp", RESET_KEY_PICTURE_SIZE, draw_reset_key_states, 2, 8, False),
    ("display_x2.bmp", DISPLAY_SIZE, display_field, 2, 8, False),
    ("helpOverlay_x2.bmp", OVERLAY_SIZE, draw_help_overlay, 2, 8, False),
    ("pictureBase_x2.bmp", PICTURE_BASE_SIZE, light_grey, 2, 8, True),
    ("frameBackground_x2.bmp", PANEL_SIZE, draw_panel, 2, 8, False),
]


def main():
    for name, size, draw, scale, bits, rle8 in PICTURES:
        levels = FULL_COVERAGE + 1 if bits == 24 else PALETTE_COVERAGE_LEVELS
        canvas = Canvas(*size, scale, levels)
        draw(canvas)
        write_bmp(os.path.join(HERE, name), canvas.image, bits, rle8)
        print(f"{name}: {canvas.image.size[0]} x {canvas.image.size[1]}, {bits}-bit{' RLE8' if rle8 else ''}")


if __name__ == "__main__":
    main()
