// A labelled plot drawn with cairo into a picture of kPlotWidth x
// kPlotHeight pixels: a title line, a legend line, a plot area with its
// grid, ticks and axis labels, and the picture encoded as PNG. The plots
// draw their data into the area, clipped to it, through the cairo context.
#pragma once

#include "analyze/plots/PlotAxis.h"
#include "analyze/plots/plotStyle.h"

#include <cairo.h>

#include <string>
#include <vector>

struct LegendEntry {
    enum class Mark { Line, ThickLine, Box, None };
    std::string label;
    PlotColour colour;
    Mark mark;
    // Opacity of the mark: boxes are often shaded regions.
    double alpha = 1.0;
};

// A thick line in each channel's colour, named after the channel.
std::vector<LegendEntry> channelLegend(int channels);

class PlotCanvas {
public:
    // `rightMargin` leaves room beside the area, for a colour scale.
    PlotCanvas(PlotAxis x, PlotAxis y, double rightMargin = kDefaultRightMargin);
    ~PlotCanvas();
    PlotCanvas(const PlotCanvas&) = delete;
    PlotCanvas& operator=(const PlotCanvas&) = delete;

    cairo_t* context() const { return cairo; }
    double left() const { return areaLeft; }
    double right() const { return areaRight; }
    double top() const { return areaTop; }
    double bottom() const { return areaBottom; }
    // Pixel positions of axis values.
    double xOf(double value) const;
    double yOf(double value) const;
    const PlotAxis& xAxis() const { return x; }
    const PlotAxis& yAxis() const { return y; }

    // Title on the left, `figures` (may be empty) on the right of the top line.
    void title(const std::string& text, const std::string& figures);
    void legend(const std::vector<LegendEntry>& entries);
    // Until endData, drawing is clipped to the plot area.
    void beginData();
    void endData();
    // A line of text in the plot area, in the size of tick labels; `align` 0 left, 0.5 centred, 1 right.
    void note(const std::string& text, double px, double py, double align);
    // Ticks, their labels, the axis labels and the frame; the grid is drawn
    // first, under the data.
    void finishAxes();

    void setColour(const PlotColour& colour, double alpha = 1.0);
    std::vector<unsigned char> png() const;

    // Frees the font caches cairo and fontconfig keep for the process, so
    // that leak checkers see only leaks; once no plot is drawn any more.
    static void releaseFonts();

    static constexpr double kDefaultRightMargin = 24.0;
    static constexpr double kAreaLeft = 76.0;
    static constexpr double kAreaTop = 62.0;
    static constexpr double kAreaBottomMargin = 52.0;

private:
    // Sets the font of text of this size and weight; returns the width `line` takes in it.
    double useFont(const std::string& line, double size, bool bold);
    void text(const std::string& text, double px, double py, double align, double size, bool bold);
    void drawGrid();
    void drawXAxis();
    void drawYAxis();

    const PlotAxis x;
    const PlotAxis y;
    cairo_surface_t* surface;
    cairo_t* cairo;
    const double areaLeft;
    const double areaRight;
    const double areaTop;
    const double areaBottom;
};
