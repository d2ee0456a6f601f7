// A figure of the report, or why there is none: silence, a file shorter
// than the figure's window, a sample rate or layout the meters cannot take.
// Reports show the value or "n/a" with the reason, never an infinity.
#pragma once

#include <optional>
#include <string>

struct Reading {
    std::optional<double> value;
    // Set when there is no value.
    std::string reason;

    static Reading of(double value) { return {value, {}}; }
    static Reading none(std::string why) { return {std::nullopt, std::move(why)}; }
};
