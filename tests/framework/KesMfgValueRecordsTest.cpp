// Reading value records back: well-formed vectors split into records, faults are named.
#include "framework/KesMfgValueRecords.h"

#include <gtest/gtest.h>

namespace {

TEST(KesMfgValueRecordsTest, SplitsRecordsOfEveryTypeInOrder) {
    KesMfgValueRecords records;
    records.names = {"Coolant", "Passes", "Depth", "Comment", "Feed", "Optional"};
    records.typeCodes = {0, 1, 2, 3, 2, 1};
    records.counts = {1, 2, 1, 1, -1, 0};
    records.ints = {1, 12, 7};
    records.reals = {2.5};
    records.texts = {"rough", "FEED_1"};
    std::vector<KesMfgValueRecords::Record> split;
    ASSERT_TRUE(records.Split(split));
    ASSERT_EQ(split.size(), 6u);
    EXPECT_EQ(split[1].ints, (std::vector<int>{12, 7}));
    EXPECT_EQ(split[4].texts[0], "FEED_1");
    EXPECT_EQ(records.FormatTable(), "Coolant | boolean | 1 | 1\n"
                                     "Passes | integer | 2 | 12 7\n"
                                     "Depth | real | 1 | 2.5\n"
                                     "Comment | text | 1 | \"rough\"\n"
                                     "Feed | real | -1 | \"FEED_1\"\n"
                                     "Optional | integer | 0 |\n");
}

TEST(KesMfgValueRecordsTest, NamesTheFirstFault) {
    KesMfgValueRecords records;
    records.names = {"A", "B"};
    records.typeCodes = {1, 1};
    records.counts = {1, 2};
    records.ints = {1, 2};
    std::string error;
    std::vector<KesMfgValueRecords::Record> split;
    EXPECT_FALSE(records.Split(split, &error));
    EXPECT_EQ(error, "record 2: fewer integers than counted");
    records.counts = {1, 0};
    EXPECT_FALSE(records.Split(split, &error));
    EXPECT_EQ(error, "record 3: values left over after the last record");
    records.typeCodes = {1, 7};
    EXPECT_FALSE(records.Split(split, &error));
    EXPECT_EQ(error, "record 2: type code 7 is not 0 to 3");
    records.typeCodes = {1};
    EXPECT_FALSE(records.Split(split, &error));
}

} // namespace
