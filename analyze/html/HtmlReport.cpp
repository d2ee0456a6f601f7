#include "analyze/html/HtmlReport.h"

#include "analyze/AtomicFile.h"
#include "analyze/html/reportPage.h"
#include "analyze/panelValue.h"
#include "analyze/plots/plotStyle.h"
#include "analyze/textReport.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

struct Column {
    const char* header;
    const char* unit;
    int decimals;
    // Without a value, the reason is among the file's notes.
    std::function<Reading(const FileReport&)> value;
};

Reading measure(const FileReport& report, float AnalyzerMeasures::*which)
{
    const std::optional<float> value = panelValue(report, which);
    return value && std::isfinite(*value) ? Reading::of(*value) : Reading{};
}

Reading loudness(const FileReport& report, const std::function<Reading(const Loudness&)>& which)
{
    return report.loudness ? which(*report.loudness) : Reading{};
}

// The figures' columns, after the file's name and before the notes.
const std::vector<Column>& figureColumns()
{
    static const std::vector<Column> columns = {
        {"duration", "s", 2,
         [](const FileReport& r) {
             if (!r.info || r.info->sampleRate <= 0)
                 return Reading{};
             return Reading::of(static_cast<double>(r.info->frames) / r.info->sampleRate);
         }},
        {"integrated", "LUFS", 1,
         [](const FileReport& r) {
             return loudness(r, [](const Loudness& l) { return l.figures.integrated; });
         }},
        {"loudness range", "LU", 1,
         [](const FileReport& r) { return loudness(r, [](const Loudness& l) { return l.figures.range; }); }},
        {"true peak", "dBTP", 1,
         [](const FileReport& r) { return loudness(r, [](const Loudness& l) { return l.truePeak; }); }},
        {"PLR", "LU", 1,
         [](const FileReport& r) { return loudness(r, [](const Loudness& l) { return l.plr(); }); }},
        {"peak", "dB", 2, [](const FileReport& r) { return measure(r, &AnalyzerMeasures::peakDb); }},
        {"RMS", "dB", 2, [](const FileReport& r) { return measure(r, &AnalyzerMeasures::rmsDb); }},
        {"RMS to mean", "dB", 2,
         [](const FileReport& r) { return measure(r, &AnalyzerMeasures::rmsToMeanDb); }},
        {"quiet (below -36 dB)", "%", 2,
         [](const FileReport& r) { return measure(r, &AnalyzerMeasures::quietPercent); }},
        {"near peak (within 3 dB)", "%", 2,
         [](const FileReport& r) { return measure(r, &AnalyzerMeasures::nearPeakPercent); }},
    };
    return columns;
}

constexpr const char* kPlotTitles[][2] = {
    {"level", "Level over time"},
    {"histogram", "Level histogram"},
    {"spectrum", "Spectrum"},
    {"spectrogram", "Spectrogram"},
};

std::string escaped(const std::string& text)
{
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '&':
            result += "&amp;";
            break;
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        case '"':
            result += "&quot;";
            break;
        case '\'':
            result += "&#39;";
            break;
        default:
            result += c;
        }
    }
    return result;
}

std::string base64(const std::vector<unsigned char>& bytes)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group = static_cast<std::uint32_t>(bytes[i]) << 16 |
                                    (left > 1 ? static_cast<std::uint32_t>(bytes[i + 1]) << 8 : 0u) |
                                    (left > 2 ? static_cast<std::uint32_t>(bytes[i + 2]) : 0u);
        text += kDigits[group >> 18 & 63];
        text += kDigits[group >> 12 & 63];
        text += left > 1 ? kDigits[group >> 6 & 63] : '=';
        text += left > 2 ? kDigits[group & 63] : '=';
    }
    return text;
}

std::string fixed(double value, int decimals)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// As the page's script reads numbers back; empty for none.
std::string sortValue(const std::optional<double>& value)
{
    if (!value)
        return "";
    char text[48];
    std::snprintf(text, sizeof text, "%.9g", *value);
    return text;
}

// The notes of the text report, which says what is special about a file.
std::vector<std::string> notesOf(const FileReport& report)
{
    constexpr const char* kNote = "  note: ";
    std::vector<std::string> notes;
    const std::string text = textReport(report);
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        if (line.rfind(kNote, 0) == 0)
            notes.push_back(line.substr(std::string(kNote).size()));
        start = end + 1;
    }
    return notes;
}

std::string plotTitle(const std::string& kind)
{
    for (const auto& [name, title] : kPlotTitles)
        if (kind == name)
            return title;
    return kind;
}

} // namespace

void HtmlReport::add(const FileReport& report)
{
    Row row;
    row.file = report.path;
    for (const Column& column : figureColumns()) {
        const Reading reading = report.complete ? column.value(report) : Reading{};
        if (reading.value)
            row.figures.push_back({fixed(*reading.value, column.decimals), reading.value});
        else
            row.figures.push_back({report.complete ? "n/a" : "", std::nullopt});
    }
    row.notes = notesOf(report);
    row.error = report.error;
    for (const PlotImage& plot : report.plots)
        if (!plot.png.empty())
            row.plots.push_back({plot.kind, base64(plot.png)});
    rows.push_back(std::move(row));
}

std::string HtmlReport::write(const std::string& path) const
{
    AtomicFile file(path);
    if (!file.stream())
        return file.error();
    const std::string text = page();
    std::fwrite(text.data(), 1, text.size(), file.stream());
    return file.commit() ? "" : file.error();
}

std::string HtmlReport::page() const
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    html += "<title>orvane-analyze: " + std::to_string(rows.size()) +
            (rows.size() == 1 ? " file" : " files") + "</title>\n<style>\n" + kReportStyle +
            "</style>\n</head>\n<body>\n";
    html += "<h1>orvane-analyze: " + std::to_string(rows.size()) + (rows.size() == 1 ? " file" : " files") +
            "</h1>\n<p class=\"hint\">" + kReportIntroduction + "</p>\n";
    html += table();
    for (std::size_t i = 0; i < rows.size(); ++i)
        html += section(i);
    html += "<script>\n" + std::string(kReportScript) + "</script>\n</body>\n</html>\n";
    return html;
}

std::string HtmlReport::table() const
{
    std::string html = "<table id=\"files\">\n<thead>\n<tr><th data-type=\"text\" tabindex=\"0\">file</th>";
    for (const Column& column : figureColumns())
        html += std::string("<th data-type=\"number\" tabindex=\"0\">") + escaped(column.header) +
                "<span class=\"unit\">" + escaped(column.unit) + "</span></th>";
    html += "<th data-type=\"text\" tabindex=\"0\">notes and errors</th></tr>\n</thead>\n<tbody>\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const std::string name = std::filesystem::path(row.file).filename().string();
        html += "<tr><td><a href=\"#file-" + std::to_string(i + 1) + "\" title=\"" + escaped(row.file) +
                "\">" + escaped(name) + "</a></td>";
        for (const Cell& cell : row.figures)
            html += "<td data-value=\"" + sortValue(cell.value) + "\">" + escaped(cell.text) + "</td>";
        std::string remarks;
        if (!row.error.empty())
            remarks += "<span class=\"error\">" + escaped(row.error) + "</span>";
        for (const std::string& note : row.notes)
            remarks += (remarks.empty() ? "" : "<br>") + escaped(note);
        html += "<td class=\"notes\">" + remarks + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string HtmlReport::section(std::size_t index) const
{
    const Row& row = rows[index];
    std::string html =
        "<section id=\"file-" + std::to_string(index + 1) + "\">\n<h2>" + escaped(row.file) + "</h2>\n";
    if (!row.error.empty())
        html += "<p class=\"error\">" + escaped(row.error) + "</p>\n";
    for (const Plot& plot : row.plots)
        html += "<figure><img src=\"data:image/png;base64," + plot.base64 + "\" alt=\"" +
                escaped(plotTitle(plot.kind) + " of " + row.file) + "\" width=\"" +
                std::to_string(kPlotWidth) + "\" height=\"" + std::to_string(kPlotHeight) + "\"></figure>\n";
    return html + "</section>\n";
}
