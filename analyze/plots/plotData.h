// Helpers the plots share to read a timeline: decibels, and which slices
// of a series fall in one pixel column.
#pragma once

#include "analyze/plots/FileTimeline.h"

#include <cstddef>
#include <string>

// 20 log10 of an amplitude, 10 log10 of a power; minus infinity for
// nothing, silence or a non-number.
double amplitudeDecibels(double amplitude);
double powerDecibels(double power);

// Slices [first, last) of `slices`, at least one where the series has any,
// that lie in column `column` of `columns` spread over `frames` frames.
struct SliceRange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool empty() const { return first >= last; }
};
SliceRange slicesInColumn(const TimeSlices& slices, std::int64_t frames, int column, int columns);

// The file's length in seconds; one second for an empty timeline, so axes stay whole.
double durationOf(const FileTimeline& timeline);

// Bins [first, last) of a spectrum of `bins` bins, `binHz` apart, whose
// frequencies lie in [low, high) Hz; bin 0 (no frequency) is never in one.
struct BinRange {
    int first = 0;
    int last = 0;
    bool empty() const { return first >= last; }
};
BinRange binsInRange(double binHz, int bins, double low, double high);

// The top of a dB axis that spans kSpectrumRangeDb below it: the highest
// level rounded up to ten, with a little room; 0 dB when nothing is above.
double spectrumTopDb(double highestDb);
constexpr double kSpectrumRangeDb = 100.0;
// The lowest frequency the spectrum plots show, Hz.
constexpr double kLowestFrequency = 20.0;
// The highest frequency a spectrum plot shows: half the sample rate, and
// never below twice the lowest one, so the axis stays whole.
double highestFrequency(const FileTimeline& timeline);

// Said in the spectrum plots of a file too short for one spectrum.
std::string tooShortForSpectrum();
