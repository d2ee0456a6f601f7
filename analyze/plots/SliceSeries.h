// Values along a file, gathered into slices of equal length that double in
// length whenever the series is full: memory stays bounded however long the
// file is, and the whole file is always there, at a coarser grain the longer
// it gets. Each column of a slice merges by its own rule.
#pragma once

#include <cstdint>
#include <vector>

// One slice after another, `width` values each.
struct TimeSlices {
    std::int64_t sliceFrames = 1;
    std::size_t width = 0;
    std::vector<float> values;

    std::size_t count() const { return width == 0 ? 0 : values.size() / width; }
    const float* slice(std::size_t index) const { return values.data() + index * width; }
};

class SliceSeries {
public:
    enum class Merge { Maximum, Sum };

    // `maxSlices` is even, so that a full series halves into whole pairs.
    SliceSeries(std::int64_t firstSliceFrames, std::vector<Merge> columns, std::size_t maxSlices);

    // Merges `values` (one per column) into the slice that holds `frame`.
    // Frames come in order, or at least never before the last slice's start.
    void add(std::int64_t frame, const float* values);
    const TimeSlices& slices() const { return data; }

private:
    void appendEmptySlice();
    void halve();
    void merge(float* into, const float* from) const;

    const std::vector<Merge> columns;
    const std::size_t maxSlices;
    TimeSlices data;
};
