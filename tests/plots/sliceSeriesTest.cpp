// A full series halves instead of growing, and loses nothing on the way:
// every value lands in the slice that holds its frame, sums add up and
// maxima stay, however many times the slices doubled.
#include "analyze/plots/SliceSeries.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr std::int64_t kFirstSliceFrames = 10;
constexpr std::size_t kMaxSlices = 4;

struct Case {
    int values;
    // Frames between two values.
    std::int64_t spacing;
    std::int64_t sliceFrames;
    std::size_t slices;
};

TEST(SliceSeries, HalvesWhenFullAndKeepsEveryValue)
{
    const Case kCases[] = {
        {3, 10, 10, 3},  // fits
        {4, 10, 10, 4},  // exactly full
        {5, 10, 20, 3},  // halved once
        {9, 10, 40, 3},  // twice
        {17, 10, 80, 3}, // three times
        {2, 75, 20, 4},  // slices between the two values stay empty
    };
    using Merge = SliceSeries::Merge;
    for (const Case& test : kCases) {
        SCOPED_TRACE(testing::Message() << test.values << " values " << test.spacing << " frames apart");
        SliceSeries series(kFirstSliceFrames, {Merge::Maximum, Merge::Sum}, kMaxSlices);
        for (int i = 0; i < test.values; ++i) {
            const float value[] = {static_cast<float>(i), 1.0f};
            series.add(i * test.spacing, value);
        }
        const TimeSlices& slices = series.slices();
        ASSERT_EQ(slices.sliceFrames, test.sliceFrames);
        ASSERT_EQ(slices.count(), test.slices);
        for (std::size_t s = 0; s < slices.count(); ++s) {
            float highest = -HUGE_VALF;
            float count = 0.0f;
            for (int i = 0; i < test.values; ++i)
                if (static_cast<std::size_t>(i * test.spacing / test.sliceFrames) == s) {
                    highest = static_cast<float>(i);
                    ++count;
                }
            EXPECT_EQ(slices.slice(s)[0], highest) << "slice " << s;
            EXPECT_EQ(slices.slice(s)[1], count) << "slice " << s;
        }
    }
}

} // namespace
