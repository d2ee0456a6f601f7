#include "analyze/plots/PlotCanvas.h"

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace {

constexpr const char* kFont = "Liberation Sans";
constexpr double kTitleSize = 17.0;
constexpr double kLabelSize = 14.0;
constexpr double kTickSize = 12.0;
constexpr double kTitleBaseline = 24.0;
constexpr double kLegendBaseline = 48.0;
constexpr double kLegendMarkWidth = 22.0;
constexpr double kLegendGap = 8.0;
constexpr double kLegendSpacing = 22.0;
constexpr double kTickLength = 5.0;
constexpr double kTickLabelGap = 4.0;
constexpr double kXLabelOffset = 44.0;
constexpr double kYLabelOffset = 60.0;
constexpr double kTitleFiguresGap = 20.0;
constexpr PlotColour kBackground = {1.0, 1.0, 1.0};
constexpr PlotColour kInk = {0.13, 0.13, 0.13};
constexpr PlotColour kGrid = {0.88, 0.88, 0.88};
constexpr double kHalfPixel = 0.5;
constexpr double kQuarterTurn = -1.5707963267948966;

cairo_status_t appendBytes(void* target, const unsigned char* data, unsigned int length)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(target);
    bytes->insert(bytes->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// Lines of one pixel fall on whole pixels.
double crisp(double position)
{
    return std::floor(position) + kHalfPixel;
}

} // namespace

std::vector<LegendEntry> channelLegend(int channels)
{
    std::vector<LegendEntry> entries;
    for (int channel = 0; channel < channels; ++channel)
        entries.push_back(
            {channelName(channel, channels), channelColour(channel), LegendEntry::Mark::ThickLine});
    return entries;
}

PlotCanvas::PlotCanvas(PlotAxis xAxis, PlotAxis yAxis, double rightMargin)
    : x(std::move(xAxis)), y(std::move(yAxis)),
      surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPlotWidth, kPlotHeight)),
      cairo(cairo_create(surface)), areaLeft(kAreaLeft), areaRight(kPlotWidth - rightMargin),
      areaTop(kAreaTop), areaBottom(kPlotHeight - kAreaBottomMargin)
{
    setColour(kBackground);
    cairo_paint(cairo);
    drawGrid();
}

PlotCanvas::~PlotCanvas()
{
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}

double PlotCanvas::xOf(double value) const
{
    return areaLeft + x.position(value) * (areaRight - areaLeft);
}

double PlotCanvas::yOf(double value) const
{
    return areaBottom - y.position(value) * (areaBottom - areaTop);
}

void PlotCanvas::setColour(const PlotColour& colour, double alpha)
{
    cairo_set_source_rgba(cairo, colour.red, colour.green, colour.blue, alpha);
}

double PlotCanvas::useFont(const std::string& line, double size, bool bold)
{
    cairo_select_font_face(cairo, kFont, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, line.c_str(), &extents);
    return extents.x_advance;
}

void PlotCanvas::text(const std::string& line, double px, double py, double align, double size, bool bold)
{
    const double width = useFont(line, size, bold);
    cairo_move_to(cairo, px - align * width, py);
    cairo_show_text(cairo, line.c_str());
}

void PlotCanvas::title(const std::string& line, const std::string& figures)
{
    setColour(kInk);
    text(line, areaLeft, kTitleBaseline, 0.0, kTitleSize, true);
    const double titleEnd = areaLeft + useFont(line, kTitleSize, true) + kTitleFiguresGap;
    // A long file name pushes the figures right rather than under itself.
    const double figuresEnd = std::max(areaRight, titleEnd + useFont(figures, kLabelSize, false));
    text(figures, figuresEnd, kTitleBaseline, 1.0, kLabelSize, false);
}

void PlotCanvas::legend(const std::vector<LegendEntry>& entries)
{
    double px = areaLeft;
    const double middle = kLegendBaseline - kLabelSize / 3.0;
    for (const LegendEntry& entry : entries) {
        const double width = useFont(entry.label, kLabelSize, false);
        // What does not fit is cut, and the cut shown.
        if (px + kLegendMarkWidth + kLegendGap + width > kPlotWidth) {
            setColour(kInk);
            text("...", px, kLegendBaseline, 0.0, kLabelSize, false);
            return;
        }
        setColour(entry.colour, entry.alpha);
        if (entry.mark == LegendEntry::Mark::Box) {
            cairo_rectangle(cairo, px, middle - kLabelSize / 2.0, kLegendMarkWidth, kLabelSize);
            cairo_fill(cairo);
        } else if (entry.mark != LegendEntry::Mark::None) {
            cairo_set_line_width(cairo, entry.mark == LegendEntry::Mark::ThickLine ? 3.0 : 1.5);
            cairo_move_to(cairo, px, middle);
            cairo_line_to(cairo, px + kLegendMarkWidth, middle);
            cairo_stroke(cairo);
        }
        if (entry.mark != LegendEntry::Mark::None)
            px += kLegendMarkWidth + kLegendGap;
        setColour(kInk);
        text(entry.label, px, kLegendBaseline, 0.0, kLabelSize, false);
        px += width + kLegendSpacing;
    }
}

void PlotCanvas::beginData()
{
    cairo_save(cairo);
    cairo_rectangle(cairo, areaLeft, areaTop, areaRight - areaLeft, areaBottom - areaTop);
    cairo_clip(cairo);
}

void PlotCanvas::endData()
{
    cairo_restore(cairo);
}

void PlotCanvas::note(const std::string& line, double px, double py, double align)
{
    setColour(kInk);
    text(line, px, py, align, kTickSize, false);
}

void PlotCanvas::drawGrid()
{
    setColour(kGrid);
    cairo_set_line_width(cairo, 1.0);
    for (const AxisTick& tick : x.ticks) {
        cairo_move_to(cairo, crisp(xOf(tick.value)), areaTop);
        cairo_line_to(cairo, crisp(xOf(tick.value)), areaBottom);
    }
    for (const AxisTick& tick : y.ticks) {
        cairo_move_to(cairo, areaLeft, crisp(yOf(tick.value)));
        cairo_line_to(cairo, areaRight, crisp(yOf(tick.value)));
    }
    cairo_stroke(cairo);
}

void PlotCanvas::finishAxes()
{
    setColour(kInk);
    cairo_set_line_width(cairo, 1.0);
    cairo_rectangle(cairo, crisp(areaLeft), crisp(areaTop), std::floor(areaRight - areaLeft),
                    std::floor(areaBottom - areaTop));
    cairo_stroke(cairo);
    drawXAxis();
    drawYAxis();
}

void PlotCanvas::drawXAxis()
{
    for (const AxisTick& tick : x.ticks) {
        const double px = crisp(xOf(tick.value));
        cairo_move_to(cairo, px, areaBottom);
        cairo_line_to(cairo, px, areaBottom + kTickLength);
        cairo_stroke(cairo);
        text(tick.label, px, areaBottom + kTickLength + kTickLabelGap + kTickSize, 0.5, kTickSize, false);
    }
    text(x.label, (areaLeft + areaRight) / 2.0, areaBottom + kXLabelOffset, 0.5, kLabelSize, false);
}

void PlotCanvas::drawYAxis()
{
    for (const AxisTick& tick : y.ticks) {
        const double py = crisp(yOf(tick.value));
        cairo_move_to(cairo, areaLeft - kTickLength, py);
        cairo_line_to(cairo, areaLeft, py);
        cairo_stroke(cairo);
        text(tick.label, areaLeft - kTickLength - kTickLabelGap, py + kTickSize / 3.0, 1.0, kTickSize, false);
    }
    cairo_save(cairo);
    cairo_translate(cairo, areaLeft - kYLabelOffset, (areaTop + areaBottom) / 2.0);
    cairo_rotate(cairo, kQuarterTurn);
    text(y.label, 0.0, 0.0, 0.5, kLabelSize, false);
    cairo_restore(cairo);
}

std::vector<unsigned char> PlotCanvas::png() const
{
    cairo_surface_flush(surface);
    std::vector<unsigned char> bytes;
    if (cairo_surface_write_to_png_stream(surface, appendBytes, &bytes) != CAIRO_STATUS_SUCCESS)
        bytes.clear();
    return bytes;
}

void PlotCanvas::releaseFonts()
{
    cairo_debug_reset_static_data();
    FcFini();
}
