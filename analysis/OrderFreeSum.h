// Double-precision sums of non-negative floats, added a vector of lanes at a
// time in any order. OrderFreeSum knows whether its total equals adding the
// values one by one, in order, from zero: the order the analysis defines its
// sums in.
//
// Why it can: every value is a multiple of P, the largest power of two not
// above q, the value of the lowest set bit of the value where that is
// smallest. So is every partial sum, in any order, and below 2^53 P each one
// fits in a double: no addition rounds and every order gives the exact total.
// Rounding is monotonic and 2^53 P is a double, so a total added in any order
// reaches 2^53 P exactly when the exact total does; `exact` compares with
// 2^52 q, which lies below it. A negative value, infinity or not-a-number
// makes it false. When it holds, any sum of some of the values, in any order,
// is exact as well, and so is the difference of two such sums.
#pragma once

#include "analysis/lanes.h"

namespace {

template <typename V> class LaneSum {
public:
    using L = Lane<V>;
    using Doubles = typename L::Doubles;

    void add(V values)
    {
        lower = lower + L::lowerHalf(values);
        upper = upper + L::upperHalf(values);
    }

    double total() const
    {
        double lanes[L::kCount];
        DoubleLane<Doubles>::store(lanes, lower);
        DoubleLane<Doubles>::store(lanes + L::kCount / 2, upper);
        double sum = 0.0;
        for (double lane : lanes)
            sum += lane;
        return sum;
    }

private:
    Doubles lower = {};
    Doubles upper = {};
};

template <typename V> class OrderFreeSum {
public:
    using L = Lane<V>;

    void add(V values)
    {
        sum.add(values);
        smallest = L::smaller(values, smallest);
        // Clearing the lowest set bit takes exactly that bit's value away;
        // zeros have no step and count as infinitely coarse.
        const typename L::Ints bits = L::bits(values);
        const V cleared = L::fromBits(L::both(bits, L::subtract(bits, L::splatInt(1))));
        const V step = L::select(L::equal(values, L::zero()), L::splat(kInfinity), values - cleared);
        smallestStep = L::smaller(step, smallestStep);
    }

    double total() const { return sum.total(); }

    bool exact() const { return smallestOf(smallest) >= 0.0f && total() < kFitsBelow * smallestOf(smallestStep); }

private:
    static constexpr float kInfinity = __builtin_inff();
    static constexpr double kFitsBelow = 0x1p52;

    static double smallestOf(V values)
    {
        float lanes[L::kCount];
        L::store(lanes, values);
        float least = lanes[0];
        for (float lane : lanes)
            least = lane < least ? lane : least;
        return least;
    }

    LaneSum<V> sum;
    V smallest = L::splat(kInfinity);
    V smallestStep = L::splat(kInfinity);
};

} // namespace
