"""A picture drawn in base-build pixels and stored at the display scale.

All coordinates are those of the base build (scale 1); the x2 build's pictures are drawn from the
same calls at twice the size, with text set in fonts of twice the size rather than enlarged, so
both stay sharp. Rectangles are (left, top, right, bottom) with right and bottom excluded.

Anti-aliased edges (text, rounded shapes) are drawn through a coverage mask whose levels can be
limited: an 8-bit picture needs a small number of blends per colour pair to fit its palette.
"""

from PIL import Image, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FONT_FILES = {"regular": "DejaVuSansCondensed.ttf", "bold": "DejaVuSansCondensed-Bold.ttf"}
SUPERSAMPLING = 4
FULL_COVERAGE = 255


class Canvas:
    def __init__(self, width, height, scale, coverage_levels):
        self.size = (width, height)
        self.scale = scale
        self.image = Image.new("RGB", (width * scale, height * scale))
        self.coverage_levels = coverage_levels
        self._fonts = {}

    def device(self, value):
        return round(value * self.scale)

    def device_rect(self, rect):
        return tuple(self.device(v) for v in rect)

    def fill(self, rect, colour):
        left, top, right, bottom = self.device_rect(rect)
        if right > left and bottom > top:
            self.image.paste(colour, (left, top, right, bottom))

    def bevel(self, rect, top_left, bottom_right):
        """A one-pixel edge just inside rect: top and left in one colour, with all their pixels,
        bottom and right in the other."""
        left, top, right, bottom = rect
        self.fill((left, top, right, top + 1), top_left)
        self.fill((left, top, left + 1, bottom), top_left)
        self.fill((left + 1, bottom - 1, right, bottom), bottom_right)
        self.fill((right - 1, top + 1, right, bottom), bottom_right)

    def rounded(self, rect, radius, colour):
        self._paint(colour, lambda draw, s: draw.rounded_rectangle(
            [v * s for v in rect[:2]] + [v * s - 1 for v in rect[2:]], radius * s, fill=FULL_COVERAGE))

    def ellipse(self, rect, colour):
        self._paint(colour, lambda draw, s: draw.ellipse(
            [v * s for v in rect[:2]] + [v * s - 1 for v in rect[2:]], fill=FULL_COVERAGE))

    def polygon(self, points, colour):
        self._paint(colour, lambda draw, s: draw.polygon([(x * s, y * s) for x, y in points],
                                                         fill=FULL_COVERAGE))

    def font(self, style, size):
        key = (style, size)
        if key not in self._fonts:
            self._fonts[key] = ImageFont.truetype(FONT_DIR + FONT_FILES[style], size * self.scale)
        return self._fonts[key]

    def text_width(self, runs):
        """Width in base pixels of runs of (text, style, size, colour) set one after another."""
        return sum(self.font(style, size).getlength(text) for text, style, size, _ in runs) / self.scale

    def cap_height(self, style, size):
        top = self.font(style, size).getbbox("H", anchor="ls")[1]
        return -top / self.scale

    def text(self, x, centre_y, runs, align="left"):
        """Sets the runs on one line whose capital letters are centred on centre_y; x is the line's
        left end, centre or right end as `align` says."""
        width = self.text_width(runs)
        start = {"left": x, "centre": x - width / 2, "right": x - width}[align]
        _, style, size, _ = runs[0]
        baseline = self.device(centre_y) + round(self.cap_height(style, size) * self.scale / 2)
        pen = self.device(start)
        for text, style, size, colour in runs:
            font = self.font(style, size)
            mask = Image.new("L", self.image.size, 0)
            ImageDraw.Draw(mask).text((pen, baseline), text, font=font, fill=FULL_COVERAGE, anchor="ls")
            self._composite(colour, mask)
            pen += font.getlength(text)

    def _paint(self, colour, shape):
        """Draws `shape` on a finer grid and averages it down, for smooth edges."""
        fine = SUPERSAMPLING * self.scale
        mask = Image.new("L", tuple(v * SUPERSAMPLING for v in self.image.size), 0)
        shape(ImageDraw.Draw(mask), fine)
        self._composite(colour, mask.reduce(SUPERSAMPLING))

    def _composite(self, colour, mask):
        steps = self.coverage_levels - 1
        if steps < FULL_COVERAGE:
            mask = mask.point(lambda a: round(round(a * steps / FULL_COVERAGE) * FULL_COVERAGE / steps))
        self.image.paste(colour, None, mask)
