#include "analyze/jsonReport.h"

#include "editor/panelMeasures.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace {

// Insertion order kept; figures written as the shortest text that reads back
// as the same single-precision value, as the analysis computed them.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, std::int64_t,
                                  std::uint64_t, float>;

constexpr int kAnalysedChannels = 2;
constexpr int kIndent = 2;

Json figure(double value, const char* unit)
{
    return Json{{"value", static_cast<float>(value)}, {"unit", unit}};
}

Json wholeFigure(int value, const char* unit)
{
    return Json{{"value", value}, {"unit", unit}};
}

// A null value carries its reason.
Json reading(const Reading& reading, const char* unit)
{
    if (reading.value)
        return figure(*reading.value, unit);
    return Json{{"value", nullptr}, {"unit", unit}, {"reason", reading.reason}};
}

// A value the analysis could not make a number of (from samples that are
// not numbers) is null, with the reason.
Json measuresObject(const PanelValues& values)
{
    Json measures = Json::object();
    for (int i = 0; i < kPanelMeasureCount; ++i) {
        const double value = values[static_cast<std::size_t>(i)];
        measures[kPanelMeasures[i].name] =
            reading(std::isfinite(value) ? Reading::of(value) : Reading::none("not a finite number"),
                    kPanelMeasures[i].unit);
    }
    return measures;
}

Json loudnessObject(const Loudness& loudness)
{
    return Json{
        {"integrated", reading(loudness.figures.integrated, "LUFS")},
        {"loudnessRange", reading(loudness.figures.range, "LU")},
        {"truePeak", reading(loudness.truePeak, "dBTP")},
        {"maxMomentary", reading(loudness.figures.maxMomentary, "LUFS")},
        {"maxShortTerm", reading(loudness.figures.maxShortTerm, "LUFS")},
        {"plr", reading(loudness.plr(), "LU")},
    };
}

Json perChannelArray(const FileReport& report)
{
    Json channels = Json::array();
    for (std::size_t i = 0; i < report.channels.size(); ++i) {
        const std::string& position = report.info->channelNames[i];
        const ChannelFigures& figures = report.channels[i];
        channels.push_back(Json{{"channel", i + 1},
                                {"position", position.empty() ? Json() : Json(position)},
                                {"peak", reading(figures.peak, "dBFS")},
                                {"rms", reading(figures.rms, "dBFS")},
                                {"truePeak", reading(figures.truePeak, "dBTP")}});
    }
    return channels;
}

void addInfo(Json& object, const FileInfo& info)
{
    object["format"] = info.format;
    object["sampleRate"] = wholeFigure(info.sampleRate, "Hz");
    object["channels"] = info.channels;
    object["analysedChannels"] = std::min(info.channels, kAnalysedChannels);
    object["layout"] = info.layout;
    object["frames"] = info.frames;
    object["duration"] = figure(static_cast<double>(info.frames) / info.sampleRate, "s");
}

void addResults(Json& object, const FileReport& report)
{
    object["measures"] = report.measures ? measuresObject(*report.measures) : Json();
    object["unanalysedFrames"] = report.unanalysedFrames;
    object["loudness"] = report.loudness ? loudnessObject(*report.loudness) : Json();
    object["perChannel"] = perChannelArray(report);
    if (!report.notes.empty())
        object["notes"] = report.notes;
    if (!report.pictures.empty())
        object["pictures"] = report.pictures;
    for (const PlotImage& plot : report.plots)
        if (!plot.path.empty())
            object["plots"][plot.kind] = plot.path;
}

} // namespace

std::string jsonReport(const FileReport& report)
{
    Json object = {{"file", report.path}};
    if (report.info)
        addInfo(object, *report.info);
    if (report.complete)
        addResults(object, report);
    object["error"] = report.error.empty() ? Json() : Json(report.error);
    return object.dump(kIndent, ' ', false, Json::error_handler_t::replace);
}
