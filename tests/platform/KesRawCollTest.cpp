// The 1-based value vectors: positions, refusals at their ends, whole-vector operations.
#include "platform/KesListValKesUnicodeString.h"
#include "platform/KesRawCollint.h"

#include <gtest/gtest.h>

namespace {

TEST(KesRawColl, PositionsStartAtOne) {
    KesRawCollint values{10, 20, 30};
    EXPECT_EQ(values.Size(), 3);
    EXPECT_EQ(values[1], 10);
    EXPECT_EQ(values[3], 30);
    EXPECT_EQ(values.Locate(20, 1), 2);
    EXPECT_EQ(values.Locate(20, 3), 0);
    EXPECT_EQ(values.Locate(99, 1), 0);
    EXPECT_EQ(values.Locate(10, -5), 1);
}

TEST(KesRawColl, InsertAndRemoveRefuseOutsideTheirRange) {
    KesRawCollint values{1, 2};
    EXPECT_FALSE(values.InsertAt(0, 9));
    EXPECT_FALSE(values.InsertAt(4, 9));
    EXPECT_TRUE(values.InsertAt(3, 3)); // just past the end appends
    EXPECT_TRUE(values.InsertAt(1, 0));
    EXPECT_EQ(values, (KesRawCollint{0, 1, 2, 3}));
    EXPECT_FALSE(values.RemovePosition(0));
    EXPECT_FALSE(values.RemovePosition(5));
    EXPECT_TRUE(values.RemovePosition(2));
    EXPECT_EQ(values, (KesRawCollint{0, 2, 3}));
}

TEST(KesRawColl, SizeTruncatesOrExtends) {
    KesRawCollint values{1, 2, 3};
    values.Size(1);
    EXPECT_EQ(values, (KesRawCollint{1}));
    values.Size(3, 7);
    EXPECT_EQ(values, (KesRawCollint{1, 7, 7}));
    values.Size(-1);
    EXPECT_EQ(values.Size(), 0);
}

TEST(KesRawColl, AppendingAVectorToItselfDoublesIt) {
    KesRawCollint values{1, 2};
    values.Append(values);
    EXPECT_EQ(values, (KesRawCollint{1, 2, 1, 2}));
}

TEST(KesRawColl, InequalityIsElementWise) {
    EXPECT_FALSE(KesRawCollint({1, 2}) != KesRawCollint({1, 2}));
    EXPECT_TRUE(KesRawCollint({1, 2}) != KesRawCollint({2, 1}));
    EXPECT_TRUE(KesRawCollint({1}) != KesRawCollint({1, 1}));
}

TEST(KesRawColl, TextListSizedFromAnArray) {
    const KesUnicodeString texts[] = {"a", "b"};
    KesListValKesUnicodeString list;
    list.Size(2, texts);
    EXPECT_EQ(list[2], "b");
    list.Size(2, nullptr);
    EXPECT_EQ(list[1], "");
}

TEST(KesRawCollDeathTest, ReadingOutsideThePositionsStopsTheProcess) {
    const KesRawCollint values{1};
    EXPECT_DEATH((void)values[2], "collection position out of range");
    EXPECT_DEATH((void)values[0], "collection position out of range");
}

} // namespace
