// The window and scroll arithmetic of the multi-value lists, from tables of cases.
#include "multi/KesMfgValueWindow.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Scroll = KesMfgValueWindow::Scroll;

TEST(KesMfgValueWindowTest, ScrollBarAndShownFieldsFollowTheNumberOfValues) {
    struct Case {
        int visible, count, position;
        Scroll settled;
        int shownFields;
    };
    const Case cases[] = {
        {5, 0, 0, {0, 0, 0}, 0},  // empty
        {5, 1, 0, {1, 1, 0}, 1},  // one value
        {5, 5, 3, {5, 5, 0}, 5},  // exactly a window: the box fills the range
        {5, 6, 1, {6, 5, 1}, 5},  // a window + 1, scrolled to the end
        {5, 6, 9, {6, 5, 1}, 5},  // a position beyond the range
        {5, 6, -4, {6, 5, 0}, 5}, // a negative position
        {0, 4, 3, {4, 0, 3}, 0},  // no field
        {-3, 4, 9, {4, 0, 4}, 0}, // a negative field count counts as none
        {5, -2, 1, {0, 0, 0}, 0}, // a negative count counts as empty
        {INT_MAX, INT_MAX, 7, {INT_MAX, INT_MAX, 0}, INT_MAX},
        {1, INT_MAX, INT_MAX, {INT_MAX, 1, INT_MAX - 1}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.visible << " fields, " << c.count << " values, at " << c.position);
        const KesMfgValueWindow window(c.visible);
        EXPECT_EQ(window.Settle(c.position, c.count), c.settled);
        EXPECT_EQ(window.BoxSize(c.count), c.shownFields);
        EXPECT_EQ(window.LastPosition(c.count), c.settled.rangeMaximum - c.settled.boxSize);
    }
}

TEST(KesMfgValueWindowTest, FieldsShowTheValuesUnderTheWindowOnly) {
    const KesMfgValueWindow window(5);
    struct Case {
        int position, field, count, index;
    };
    const Case cases[] = {
        {0, 1, 3, 1},
        {0, 3, 3, 3},
        {0, 4, 3, 0}, // beyond the values: hidden
        {4, 2, 9, 6},
        {4, 5, 9, 9},
        {5, 5, 9, 0}, // a position out of range shows nothing
        {0, 0, 9, 0},
        {0, 6, 9, 0},
        {-1, 1, 9, 0},
        {INT_MAX, 1, INT_MAX, 0},
        {INT_MAX - 1, 1, INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(window.ValueIndex(c.position, c.field, c.count), c.index)
            << c.position << " + " << c.field << " of " << c.count;
    }
}

} // namespace
