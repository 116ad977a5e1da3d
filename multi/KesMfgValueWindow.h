// KesMfgValueWindow: where the window of value fields of a multi-value attribute stands over its
// list of values, and how the scroll bar that moves the window is set. Pure arithmetic: it knows
// no widget, so the list mechanics ask it and then set the widgets.
//
// With n values (numbered from 1), V visible fields (numbered from 1) and the scroll position p:
//   - field i shows value p + i; it is shown when i <= n and hidden (carrying a filler) otherwise;
//   - the scroll bar runs over 0..n with a box of min(V, n), so p stays within 0..n - min(V, n):
//     with n <= V the box fills the range and p is 0, with n > V p runs from 0 to n - V.
// A visible field count below 0 counts as 0: no field, a box of 0. Counts and positions are ints
// as the toolkit keeps them; every sum is taken in a wider type, so no input overflows.
#pragma once

#include <algorithm>

class KesMfgValueWindow {
public:
    // What the scroll bar is set to: range 0..rangeMaximum, box size, position.
    struct Scroll {
        int rangeMaximum;
        int boxSize;
        int position;
        bool operator==(const Scroll&) const = default;
    };

    explicit KesMfgValueWindow(int visibleFieldCount = 5)
        : fieldCount_(std::max(visibleFieldCount, 0)) {}

    // V, never negative.
    int FieldCount() const { return fieldCount_; }

    // min(V, n): the scroll box, and the number of fields that show a value.
    int BoxSize(int valueCount) const { return std::clamp(valueCount, 0, fieldCount_); }

    // The largest position: n - min(V, n).
    int LastPosition(int valueCount) const { return std::max(valueCount, 0) - BoxSize(valueCount); }

    // A position brought into 0..LastPosition(n).
    int ClampPosition(int position, int valueCount) const {
        return std::clamp(position, 0, LastPosition(valueCount));
    }

    // The value (1..n) that field `field` shows at `position`, or 0 when it shows none (a field
    // outside 1..V, a hidden field, or a position outside the range).
    int ValueIndex(int position, int field, int valueCount) const {
        if (field < 1 || field > BoxSize(valueCount) || position < 0) {
            return 0;
        }
        const long long index = static_cast<long long>(position) + field;
        return index <= valueCount ? static_cast<int>(index) : 0;
    }

    // The scroll bar for n values, keeping `position` as far as the new range allows. Used after
    // every change of n:
    //   - a new list (Display, SetAttValue) passes 0: the window goes back to the first value;
    //   - an appended value keeps the position: the new value is reached by scrolling;
    //   - a dropped last value keeps the position too, except for a full window that showed the
    //     last value: it moves up by one so that it stays full.
    Scroll Settle(int position, int valueCount) const {
        const int count = std::max(valueCount, 0);
        return Scroll{count, BoxSize(count), ClampPosition(position, count)};
    }

private:
    int fieldCount_; // V
};
