"""The editor's look: the left panel with its labels, the displays' field, the reset key and the
help overlay, drawn on a Canvas in base-build pixels (see canvas.py).

The geometry repeats the editor's layout, since every picture here is shown at a fixed place of
the editor: the panel under the nine displays and two buttons, the overlay over the whole window.
"""

from mock_graphs import GRID_STEPS, draw_histogram, draw_level_history, draw_spectrogram, draw_spectrum

EDITOR_WIDTH = 516
EDITOR_HEIGHT = 204
PANEL_WIDTH = 108
DISPLAY_SIZE = (64, 16)
RESET_KEY_SIZE = (30, 16)
DISPLAY_LEFT = 40
DISPLAY_PITCH = 20
LABEL_RIGHT = 36
RESET_KEY = (40, 184, 70, 200)
HELP_SIGN = (75, 185, 89, 199)
HELP_PILL = (74, 185, 106, 199)
PICTURES = {"histogram": (108, 4, 308, 100), "spectrum": (312, 4, 512, 100),
            "level history": (108, 104, 308, 200), "spectrogram": (312, 104, 512, 200)}
LABELS = ("time", "peak", "rms", "r/l", "rms/ave", "low", "high", "<500Hz", ">7kHz")
UNIT_HINTS = ("(s)", "dB", "dB", "dB", "dB", "<-36dB (%)", ">Peak-3dB (%)", "(%)", "(%)")

# The window's own face colour shows around the pictures; the overlay repeats it there.
WINDOW_FACE = (240, 240, 240)
PANEL = (204, 208, 214)
PANEL_HIGHLIGHT = (232, 235, 240)
PANEL_SHADOW = (150, 155, 164)
WELL_SHADOW = (138, 143, 152)
WELL_LIGHT = (232, 235, 240)
LABEL_INK = (34, 38, 46)
# Light enough for the black values drawn over it.
DISPLAY_FIELD = (222, 224, 227)
FIELD_SHADOW = (160, 164, 171)
FIELD_LIGHT = (244, 245, 247)
KEY_BORDER = (104, 109, 118)
KEY_FACE = (236, 238, 241)
KEY_HIGHLIGHT = (252, 252, 253)
KEY_SHADOW = (178, 182, 190)
KEY_PRESSED_FACE = (196, 200, 207)
KEY_PRESSED_SHADOW = (150, 155, 164)
KEY_INK = (28, 32, 40)
HELP_BLUE = (48, 98, 168)
WHITE = (255, 255, 255)
CARD = (16, 19, 26)
CARD_RULE = (52, 58, 72)
TITLE_INK = (255, 255, 255)
ACTION_INK = (150, 206, 255)
NOTE_INK = (196, 200, 208)
RED_INK = (255, 104, 96)
GREEN_INK = (104, 224, 104)
BLUE_INK = (120, 156, 255)
YELLOW_INK = (255, 226, 60)
GREY_INK = (196, 196, 196)
HINT_INK = (22, 78, 168)
BADGE = (30, 34, 44)
BADGE_EDGE = (104, 110, 126)
CLOSE_PILL = (196, 66, 44)

LABEL_SIZE = 9
KEY_TEXT_SIZE = 10
TEXT_SIZE = 9
TEXT_BAND = 27
NOTED_GRID_LINE = 8


def display_rect(k):
    bottom = DISPLAY_PITCH * (k + 1)
    return (DISPLAY_LEFT, bottom - DISPLAY_SIZE[1], DISPLAY_LEFT + DISPLAY_SIZE[0], bottom)


def centre_y(rect):
    return (rect[1] + rect[3]) / 2


def centre_x(rect):
    return (rect[0] + rect[2]) / 2


def grown(rect, by):
    return (rect[0] - by, rect[1] - by, rect[2] + by, rect[3] + by)


def displays_sunken(canvas):
    """The x2 build's display field has a sunken edge of its own; the base build's is plain and
    sits in a well of the panel instead."""
    return canvas.scale > 1


def draw_panel(canvas):
    """Labels right-aligned beside the displays, a label for the reset key and the help sign
    where the overlay button lies."""
    canvas.fill((0, 0, PANEL_WIDTH, EDITOR_HEIGHT), PANEL)
    canvas.bevel((0, 0, PANEL_WIDTH, EDITOR_HEIGHT), PANEL_HIGHLIGHT, PANEL_SHADOW)
    for k, label in enumerate(LABELS):
        rect = display_rect(k)
        if not displays_sunken(canvas):
            canvas.bevel(grown(rect, 1), WELL_SHADOW, WELL_LIGHT)
        canvas.text(LABEL_RIGHT, centre_y(rect), [(label, "regular", LABEL_SIZE, LABEL_INK)], "right")
    canvas.text(LABEL_RIGHT, centre_y(RESET_KEY), [("reset", "regular", LABEL_SIZE, LABEL_INK)], "right")
    canvas.ellipse(HELP_SIGN, HELP_BLUE)
    canvas.text(centre_x(HELP_SIGN), centre_y(HELP_SIGN), [("?", "bold", KEY_TEXT_SIZE, WHITE)], "centre")


def draw_display(canvas, rect, sunken):
    canvas.fill(rect, DISPLAY_FIELD)
    if sunken:
        canvas.bevel(rect, FIELD_SHADOW, FIELD_LIGHT)


def draw_reset_key(canvas, rect, pressed):
    """A rounded "0" key on the panel: raised with a light top and a shadowed bottom edge, or
    pressed in, darker, with the shadow on top and the "0" moved down a pixel."""
    left, top, right, bottom = rect
    canvas.fill(rect, PANEL)
    canvas.rounded(rect, 3, KEY_BORDER)
    inner = (left + 1, top + 1, right - 1, bottom - 1)
    if pressed:
        canvas.rounded(inner, 2, KEY_PRESSED_SHADOW)
        canvas.rounded((left + 1, top + 2, right - 1, bottom - 1), 2, KEY_PRESSED_FACE)
    else:
        canvas.rounded(inner, 2, KEY_SHADOW)
        canvas.rounded((left + 1, top + 1, right - 1, bottom - 2), 2, KEY_FACE)
        canvas.fill((left + 3, top + 1, right - 3, top + 2), KEY_HIGHLIGHT)
    shift = 1 if pressed else 0
    canvas.text(centre_x(rect) + shift, centre_y(rect) - 0.5 + shift,
                [("0", "bold", KEY_TEXT_SIZE, KEY_INK)], "centre")


def draw_reset_key_states(canvas):
    """The key's two images stacked: raised above, pressed below."""
    width, height = RESET_KEY_SIZE
    draw_reset_key(canvas, (0, 0, width, height), pressed=False)
    draw_reset_key(canvas, (0, height, width, 2 * height), pressed=True)


def draw_help_overlay(canvas):
    """The editor as it looks, each part annotated: the displays show their units, the pictures
    what they show and what a click on them switches, with a legend of the channel colours
    between them and a reminder that a click closes the overlay."""
    canvas.fill((0, 0, *canvas.size), WINDOW_FACE)
    draw_panel(canvas)
    for k, hint in enumerate(UNIT_HINTS):
        rect = display_rect(k)
        draw_display(canvas, rect, displays_sunken(canvas))
        canvas.text(centre_x(rect), centre_y(rect), [(hint, "regular", TEXT_SIZE, HINT_INK)], "centre")
    draw_reset_key(canvas, RESET_KEY, pressed=False)
    canvas.rounded(HELP_PILL, 7, HELP_BLUE)
    canvas.text(centre_x(HELP_PILL), centre_y(HELP_PILL), [("help", "bold", TEXT_SIZE, WHITE)], "centre")
    annotate_histogram(canvas, PICTURES["histogram"])
    annotate_spectrum(canvas, PICTURES["spectrum"])
    annotate_level_history(canvas, PICTURES["level history"])
    annotate_spectrogram(canvas, PICTURES["spectrogram"])
    draw_legend(canvas)


def upper_card(canvas, rect, draw_graph):
    """A picture of the top row: its notes above, its graph below them."""
    left, top, right, bottom = rect
    canvas.fill(rect, CARD)
    draw_graph(canvas, (left, top + TEXT_BAND, right, bottom))
    canvas.fill((left + 4, top + TEXT_BAND - 1, right - 4, top + TEXT_BAND), CARD_RULE)
    return [top + 8, top + 19]


def lower_card(canvas, rect, draw_graph):
    """A picture of the bottom row: its graph above, its notes below it."""
    left, top, right, bottom = rect
    canvas.fill(rect, CARD)
    draw_graph(canvas, (left, top, right, bottom - TEXT_BAND))
    canvas.fill((left + 4, bottom - TEXT_BAND, right - 4, bottom - TEXT_BAND + 1), CARD_RULE)
    return [bottom - 19, bottom - 8]


def title(what, action):
    return [(what, "bold", TEXT_SIZE, TITLE_INK), (action, "regular", TEXT_SIZE, ACTION_INK)]


def note(text, colour=NOTE_INK):
    return [(text, "regular", TEXT_SIZE, colour)]


def boxed_note(canvas, x, y, runs, align):
    """A note over a graph, on a patch of the card's colour so that it stays legible."""
    width = canvas.text_width(runs)
    left = {"left": x, "right": x - width}[align]
    canvas.fill((int(left) - 2, y - 6, int(left + width) + 3, y + 6), CARD)
    canvas.text(x, y, runs, align)


def annotate_histogram(canvas, rect):
    lines = upper_card(canvas, rect, draw_histogram)
    left, top, right, bottom = rect
    canvas.text(left + 5, lines[0], title("Values distribution", " (click to abs<->relative)"))
    canvas.text(left + 5, lines[1], note("Use to observe compression/distro"))
    # The bar heights are logarithmic in the count: an arrow up the left edge says so.
    arrow_x, arrow_top = left + 6, bottom - 41
    canvas.fill((arrow_x, arrow_top + 5, arrow_x + 1, bottom - 4), NOTE_INK)
    head = [(arrow_x - 2.5, arrow_top + 6), (arrow_x + 0.5, arrow_top), (arrow_x + 3.5, arrow_top + 6)]
    canvas.polygon(head, NOTE_INK)
    boxed_note(canvas, arrow_x + 5, arrow_top + 5, note("log"), "left")
    # The red grid lines mark tenths of full scale; the note ends just left of one of them.
    grid_line_x = left + (right - left) * NOTED_GRID_LINE // GRID_STEPS
    boxed_note(canvas, grid_line_x - 3, top + TEXT_BAND + 9, note("Line : 1/10", RED_INK), "right")


def annotate_spectrum(canvas, rect):
    lines = upper_card(canvas, rect, draw_spectrum)
    left = rect[0]
    canvas.text(left + 5, lines[0], title("Frequency Distribution", " (Click to log<->dec)"))
    canvas.text(left + 5, lines[1], note("Line ") + note("Green 1000Hz ", GREEN_INK) +
                note("Red 100Hz/5000Hz", RED_INK))


def annotate_level_history(canvas, rect):
    lines = lower_card(canvas, rect, draw_level_history)
    left = rect[0]
    canvas.text(left + 5, lines[0], title("Volume evolution", " (Click to fast<->slow)"))
    canvas.text(left + 5, lines[1], note("Line : 10dB", RED_INK))


def annotate_spectrogram(canvas, rect):
    lines = lower_card(canvas, rect, draw_spectrogram)
    left, _, right, _ = rect
    canvas.text(left + 5, lines[0], title("Frequency evolution", " (Click to fast<->slow)"))
    runs = [("click to close", "bold", TEXT_SIZE, WHITE)]
    width = canvas.text_width(runs)
    pill = (right - 5 - width - 12, lines[1] - 6, right - 5, lines[1] + 7)
    canvas.rounded(pill, 6, CLOSE_PILL)
    canvas.text(centre_x(pill), lines[1], runs, "centre")


def draw_legend(canvas):
    """The channel colours, on a badge where the four pictures meet."""
    runs = (note("Gray : stereo ", GREY_INK) + note("Blue : left ", BLUE_INK) +
            note("Yellow : right", YELLOW_INK))
    width = canvas.text_width(runs)
    middle_x = (PICTURES["histogram"][2] + PICTURES["spectrum"][0]) / 2
    middle_y = (PICTURES["histogram"][3] + PICTURES["level history"][1]) / 2
    badge = (round(middle_x - width / 2 - 7), middle_y - 7, round(middle_x + width / 2 + 7), middle_y + 7)
    canvas.rounded(badge, 4, BADGE_EDGE)
    canvas.rounded(grown(badge, -1), 3, BADGE)
    canvas.text(middle_x, middle_y, runs, "centre")
