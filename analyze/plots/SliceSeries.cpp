#include "analyze/plots/SliceSeries.h"

#include <algorithm>
#include <cmath>

SliceSeries::SliceSeries(std::int64_t firstSliceFrames, std::vector<Merge> mergeRules, std::size_t slices)
    : columns(std::move(mergeRules)), maxSlices(slices)
{
    data.sliceFrames = firstSliceFrames;
    data.width = columns.size();
}

void SliceSeries::add(std::int64_t frame, const float* values)
{
    auto index = static_cast<std::size_t>(frame / data.sliceFrames);
    while (index >= data.count()) {
        if (data.count() == maxSlices) {
            halve();
            index = static_cast<std::size_t>(frame / data.sliceFrames);
            continue;
        }
        appendEmptySlice();
    }
    merge(data.values.data() + index * data.width, values);
}

void SliceSeries::appendEmptySlice()
{
    for (const Merge rule : columns)
        data.values.push_back(rule == Merge::Maximum ? -HUGE_VALF : 0.0f);
}

// Slice 2i and 2i+1 become slice i, twice as long.
void SliceSeries::halve()
{
    const std::size_t pairs = data.count() / 2;
    for (std::size_t i = 0; i < pairs; ++i) {
        float* into = data.values.data() + i * data.width;
        const float* first = data.values.data() + 2 * i * data.width;
        if (i > 0)
            std::copy(first, first + data.width, into);
        merge(into, first + data.width);
    }
    data.values.resize(pairs * data.width);
    data.sliceFrames *= 2;
}

void SliceSeries::merge(float* into, const float* from) const
{
    for (std::size_t column = 0; column < columns.size(); ++column)
        into[column] = columns[column] == Merge::Maximum ? std::max(into[column], from[column])
                                                         : into[column] + from[column];
}
